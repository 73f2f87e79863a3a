#include "frmAbout.h"

#include "PfadwerkVendor.h"
#include "ResText.h"
#include "Text.h"
#include "VersionTexts.h"
#include "about_res.h"

namespace pw {
namespace {

// The site as the link shows it: without the scheme and the final slash.
std::wstring ShownAddress(std::wstring address) {
    size_t scheme = address.find(L"://");
    if (scheme != std::wstring::npos)
        address.erase(0, scheme + 3);
    if (!address.empty() && address.back() == L'/')
        address.pop_back();
    return address;
}

}  // namespace

frmAbout::frmAbout(std::function<void(HWND, const std::wstring&)> openAddress, const DisplayLook& look)
    : openAddress_(std::move(openAddress)), vistaThemed_(look.vistaThemed) {}

INT_PTR frmAbout::Show(HWND owner) {
    return ShowModal(owner, IDD_ABOUT);
}

INT_PTR frmAbout::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            Form_Load();
            return TRUE;
        case WM_KEYUP:
            // With no control to hold the focus the window gets the key itself.
            if (wParam == VK_ESCAPE)
                EndDialog(Hwnd(), IDCANCEL);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                case IDCANCEL:  // the close box
                    EndDialog(Hwnd(), LOWORD(wParam));
                    return TRUE;
                case IDC_ABOUT_LINK:
                    if (HIWORD(wParam) == STN_CLICKED)
                        lblLink_Click();
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_MOUSEMOVE:
            link_.SetHover(false);
            return FALSE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID != IDC_ABOUT_LOGO)
                return FALSE;
            DrawLogo(*item);
            return TRUE;
        }
        case WM_ERASEBKGND: {
            // The body in the window's colour, the footer band below it.
            HDC dc = reinterpret_cast<HDC>(wParam);
            RECT client{}, footer{};
            GetClientRect(Hwnd(), &client);
            GetWindowRect(GetDlgItem(Hwnd(), IDC_ABOUT_FOOTER), &footer);
            MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&footer), 2);
            footer.left = client.left;
            footer.right = client.right;
            footer.bottom = client.bottom;
            FillRect(dc, &client, body_.Get());
            FillRect(dc, &footer, footer_.Get());
            SetWindowLongPtrW(Hwnd(), DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        default:
            return FALSE;
    }
}

void frmAbout::Form_Load() {
    std::wstring version = FillPlaceholders(
        ResText(IDS_ABOUT_VERSION),
        {std::to_wstring(PFADWERK_VERSION_MAJOR), std::to_wstring(PFADWERK_VERSION_MINOR), RevisionVersionText()});
    SetDlgItemTextW(Hwnd(), IDC_ABOUT_VERSION, version.c_str());
    SetDlgItemTextW(Hwnd(), IDC_ABOUT_LINK, ShownAddress(PFADWERK_VENDOR_WEBSITE).c_str());
    link_.Attach(GetDlgItem(Hwnd(), IDC_ABOUT_LINK));
    SubclassControl(GetDlgItem(Hwnd(), IDOK), this);

    body_.Reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
    if (vistaThemed_) {
        // The footer of Vista's own dialogs, with a light line above it.
        footer_.Reset(CreateSolidBrush(RGB(240, 240, 240)));
        divider_.Reset(CreateSolidBrush(RGB(223, 223, 223)));
        ShowWindow(GetDlgItem(Hwnd(), IDC_ABOUT_DIVIDER2), SW_HIDE);
    } else {
        footer_.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        divider_.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
        divider2_.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNHIGHLIGHT)));
    }
    LayOutDividers();

    int dpi = GetDeviceCaps(cWindowDC(Hwnd()).Get(), LOGPIXELSY);
    logoFont_.Reset(CreateFontW(-MulDiv(18, dpi, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    int iconSize = MulDiv(32, dpi, 96);
    logoIcon_.Reset(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"AA", IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR)));
}

// Esc closes the window when the key comes up, not when it goes down. The
// dialog manager would close it on the press; it leaves the key alone for a
// control that says it wants it, and the button, which has the focus, says so.
LRESULT frmAbout::OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_GETDLGCODE: {
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            LRESULT code = DefSubclassProc(control, msg, wParam, lParam);
            if (key && key->wParam == VK_ESCAPE &&
                (key->message == WM_KEYDOWN || key->message == WM_KEYUP || key->message == WM_CHAR))
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
        case WM_CHAR:
            if (wParam == VK_ESCAPE)
                return 0;
            break;
        case WM_KEYUP:
            if (wParam == VK_ESCAPE) {
                EndDialog(Hwnd(), IDCANCEL);
                return 0;
            }
            break;
    }
    return DefSubclassProc(control, msg, wParam, lParam);
}

// The lines lie right above the footer band, one pixel each.
void frmAbout::LayOutDividers() {
    RECT footer{};
    HWND footerWindow = GetDlgItem(Hwnd(), IDC_ABOUT_FOOTER);
    GetWindowRect(footerWindow, &footer);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&footer), 2);
    const int width = footer.right - footer.left;
    HWND first = GetDlgItem(Hwnd(), IDC_ABOUT_DIVIDER), second = GetDlgItem(Hwnd(), IDC_ABOUT_DIVIDER2);
    const bool both = IsWindowVisible(second) || !vistaThemed_;
    SetWindowPos(first, nullptr, 0, footer.top - (both ? 2 : 1), width, 1, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(second, nullptr, 0, footer.top - 1, width, 1, SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmAbout::DrawLogo(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, body_.Get());
    const int height = item.rcItem.bottom - item.rcItem.top;
    int iconSize = 0;
    if (logoIcon_) {
        ICONINFO info{};
        BITMAP bitmap{};
        if (GetIconInfo(logoIcon_.Get(), &info)) {
            GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            iconSize = bitmap.bmWidth;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
        DrawIconEx(dc, item.rcItem.left, item.rcItem.top + (height - iconSize) / 2, logoIcon_.Get(), iconSize, iconSize,
                   0, nullptr, DI_NORMAL);
    }
    RECT text = item.rcItem;
    text.left += iconSize + iconSize / 3;
    cSelection font(dc, logoFont_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 51, 153));
    DrawTextW(dc, L"Pfadwerk", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

INT_PTR frmAbout::OnCtlColor(HDC dc, HWND control) {
    switch (GetDlgCtrlID(control)) {
        case IDC_ABOUT_LINK:
            link_.OnCtlColor(dc);
            return reinterpret_cast<INT_PTR>(body_.Get());
        case IDC_ABOUT_DIVIDER:
            return reinterpret_cast<INT_PTR>(divider_.Get());
        case IDC_ABOUT_DIVIDER2:
            return reinterpret_cast<INT_PTR>(divider2_.Get());
        case IDOK:
            SetBkColor(dc, vistaThemed_ ? RGB(240, 240, 240) : GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<INT_PTR>(footer_.Get());
        default:
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<INT_PTR>(body_.Get());
    }
}

void frmAbout::lblLink_Click() {
    // Drawn plain again before the browser takes the screen.
    link_.SetHover(false);
    UpdateWindow(link_.Hwnd());
    if (openAddress_)
        openAddress_(Hwnd(), PFADWERK_VENDOR_WEBSITE);
}

}  // namespace pw
