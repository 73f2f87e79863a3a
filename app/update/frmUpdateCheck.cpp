#include "frmUpdateCheck.h"

#include <algorithm>

#include "ResText.h"
#include "modUpdateCheck.h"
#include "update_res.h"

namespace pw {
namespace {

constexpr UINT kShownMessage = WM_APP + 1;

RECT WorkAreaNear(const RECT& place) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromRect(&place, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

int Dpi(HWND hwnd, int index) {
    cWindowDC dc(hwnd);
    int dpi = dc ? GetDeviceCaps(dc.Get(), index) : 96;
    return dpi > 0 ? dpi : 96;
}

}  // namespace

UpdateNoticeAnswer frmUpdateCheck::Show(HWND owner, const UpdateNotice& notice) {
    upToDate_ = false;
    update_ = notice;
    return ShowModal(owner, IDD_UPDATECHECK) == IDOK ? UpdateNoticeAnswer::Download : UpdateNoticeAnswer::Close;
}

void frmUpdateCheck::Show(HWND owner, const UpToDateNotice& notice) {
    upToDate_ = true;
    message_ = notice.message;
    ShowModal(owner, IDD_UPDATECHECK);
}

INT_PTR frmUpdateCheck::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            Form_Load();
            return TRUE;
        case WM_PAINT:
            Form_Paint();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK)
                cmdOK_Click();
            else if (LOWORD(wParam) == IDCANCEL)
                cmdClose_Click();
            return TRUE;
        case kShownMessage:
            if (onShown)
                onShown(Hwnd());
            return TRUE;
        default:
            return FALSE;
    }
}

void frmUpdateCheck::Form_Load() {
    HWND dialog = Hwnd();
    SetWindowTextW(dialog, ResText(IDS_UPDATE_CAPTION).c_str());

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW header{};
    if (font && GetObjectW(font, sizeof header, &header)) {
        header.lfWeight = FW_BOLD;
        headerFont_.Reset(CreateFontIndirectW(&header));
        SendDlgItemMessageW(dialog, IDC_UPDATE_HEADER, WM_SETFONT, reinterpret_cast<WPARAM>(headerFont_.Get()), 0);
    }

    if (upToDate_) {
        LayOutUpToDate();
    } else {
        int size = GetSystemMetrics(SM_CXICON);
        updateIcon_.Reset(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), kUpdateIconName, IMAGE_ICON, size, size, 0)));
        icon_ = updateIcon_.Get();
        SetDlgItemTextW(dialog, IDC_UPDATE_HEADER, ResText(IDS_UPDATE_AVAILABLE).c_str());
        SetDlgItemTextW(dialog, IDC_UPDATE_VERSIONDESC,
                        (ResText(IDS_UPDATE_INSTALLED) + L"\r\n" + ResText(IDS_UPDATE_OFFERED)).c_str());
        SetDlgItemTextW(dialog, IDC_UPDATE_VERSIONS,
                        (update_.installedVersion + L"\r\n" + update_.offeredVersion).c_str());
        SetDlgItemTextW(dialog, IDC_UPDATE_TIP, ResText(IDS_UPDATE_RECOMMENDED).c_str());
        SetDlgItemTextW(dialog, IDOK, ResText(IDS_UPDATE_DOWNLOAD).c_str());
        SetDlgItemTextW(dialog, IDCANCEL,
                        ResText(update_.automaticCheck ? IDS_UPDATE_IGNORE : IDS_UPDATE_CLOSE).c_str());
    }
    FitHeader();
    CenterOnOwner();
    PostMessageW(dialog, kShownMessage, 0, 0);
}

// The up-to-date notice is the same form, narrower, with one button and the
// system's information icon; its places are the form's own, in twips.
void frmUpdateCheck::LayOutUpToDate() {
    HWND dialog = Hwnd();
    icon_ = LoadIconW(nullptr, IDI_INFORMATION);
    iconAt_ = POINT{12, 20};

    RECT window{};
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, TwipsToPixelsX(5620), window.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    auto placeOf = [dialog](int id) {
        RECT r{};
        GetWindowRect(GetDlgItem(dialog, id), &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT close = placeOf(IDCANCEL);
    SetWindowPos(GetDlgItem(dialog, IDCANCEL), nullptr, TwipsToPixelsX(4100), close.top + TwipsToPixelsY(10), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    RECT header = placeOf(IDC_UPDATE_HEADER);
    SetWindowPos(GetDlgItem(dialog, IDC_UPDATE_HEADER), nullptr, header.left, TwipsToPixelsY(330), TwipsToPixelsX(4400),
                 header.bottom - header.top, SWP_NOZORDER);
    RECT tip = placeOf(IDC_UPDATE_TIP);
    SetWindowPos(GetDlgItem(dialog, IDC_UPDATE_TIP), nullptr, tip.left, TwipsToPixelsY(1350), TwipsToPixelsX(4400),
                 tip.bottom - tip.top, SWP_NOZORDER);

    ShowWindow(GetDlgItem(dialog, IDOK), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_UPDATE_VERSIONDESC), SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_UPDATE_VERSIONS), SW_HIDE);
    SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);
    SetDlgItemTextW(dialog, IDCANCEL, ResText(IDS_UPDATE_OK).c_str());
    SetDlgItemTextW(dialog, IDC_UPDATE_HEADER, ResText(IDS_UPDATE_UP_TO_DATE).c_str());
    SetDlgItemTextW(dialog, IDC_UPDATE_TIP, message_.c_str());
}

// A header that does not fit on one line in the user's font wraps instead of
// being cut off.
void frmUpdateCheck::FitHeader() {
    HWND header = GetDlgItem(Hwnd(), IDC_UPDATE_HEADER);
    RECT place{};
    GetWindowRect(header, &place);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&place), 2);
    std::wstring text = TextOf(header);
    RECT needed{0, 0, place.right - place.left, 0};
    {
        cWindowDC dc(header);
        cSelection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(header, WM_GETFONT, 0, 0)));
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_WORDBREAK);
    }
    if (needed.bottom > place.bottom - place.top) {
        SetWindowPos(header, nullptr, 0, 0, place.right - place.left, needed.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void frmUpdateCheck::CenterOnOwner() {
    HWND dialog = Hwnd();
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT area{};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &area);
    else
        area = WorkAreaNear(RECT{0, 0, 1, 1});
    RECT r{};
    GetWindowRect(dialog, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    // Whole on the screen, also next to a window at its edge.
    RECT work = WorkAreaNear(area);
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmUpdateCheck::Form_Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Hwnd(), &ps);
    if (icon_) {
        int size = GetSystemMetrics(SM_CXICON);
        DrawIconEx(dc, MulDiv(iconAt_.x, Dpi(Hwnd(), LOGPIXELSX), 96), MulDiv(iconAt_.y, Dpi(Hwnd(), LOGPIXELSY), 96),
                   icon_, size, size, 0, nullptr, DI_NORMAL);
    }
    EndPaint(Hwnd(), &ps);
}

void frmUpdateCheck::cmdOK_Click() {
    EndDialog(Hwnd(), IDOK);
}

void frmUpdateCheck::cmdClose_Click() {
    EndDialog(Hwnd(), IDCANCEL);
}

int frmUpdateCheck::TwipsToPixelsX(int twips) const {
    return MulDiv(twips, Dpi(Hwnd(), LOGPIXELSX), 1440);
}

int frmUpdateCheck::TwipsToPixelsY(int twips) const {
    return MulDiv(twips, Dpi(Hwnd(), LOGPIXELSY), 1440);
}

}  // namespace pw
