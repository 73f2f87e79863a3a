#include "frmWelcome.h"

#include <uxtheme.h>

#include <algorithm>

#include "Foreground.h"
#include "ProgramNames.h"
#include "ResText.h"
#include "Settings.h"
#include "WindowsVersion.h"
#include "frmMain.h"
#include "worker_res.h"

namespace pw::worker {
namespace {

constexpr COLORREF kHeadingColour = RGB(0, 51, 153);
constexpr COLORREF kVistaFooterColour = RGB(240, 240, 240);
constexpr COLORREF kVistaDividerColour = RGB(223, 223, 223);

// The layout in twips, as on the designer's 96 dpi screen; everything scales
// with the real dpi. The first paragraph and the Quick Launch line of the
// how-to text fit on one line each; the three empty lines between them hold
// the second header in the middle one.
constexpr int kMargin = 360;
constexpr int kTextWidth = 7800;
constexpr int kFormWidth = kTextWidth + 2 * kMargin;
constexpr int kWelcomeTop = 600;
constexpr int kIntroductionTop = 1440;
constexpr int kAppHeaderTop = 2535;
constexpr int kHowToTop = 2805;
constexpr int kAppStartHeaderTop = kHowToTop + 375;
constexpr int kHowToHeight = 1740;
// Beside the Quick Launch line; large fonts push that line down.
constexpr int kStartIconTop = 3450;
constexpr int kStartIconTopLargeFonts = 3560;
constexpr int kDividerTop = kHowToTop + kHowToHeight + 180;
constexpr int kFooterHeight = 600;
constexpr int kButtonWidth = 1125;
constexpr int kButtonHeight = 345;

constexpr int kStartPictureWidth = 17;

cFont MakeFont(const wchar_t* face, int hundredthsOfPoint, int dpi, bool bold = false) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(hundredthsOfPoint, dpi, 7200);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return cFont(CreateFontIndirectW(&font));
}

int TextWidth(HDC dc, std::wstring_view text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// Width of the last line when the text wraps at word gaps within `width`,
// the way a static control breaks it.
int LastLineWidth(HDC dc, std::wstring_view text, int width) {
    std::wstring line;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(L' ', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        std::wstring_view word = text.substr(start, end - start);
        std::wstring trial = line.empty() ? std::wstring(word) : line + L' ' + std::wstring(word);
        line = (line.empty() || TextWidth(dc, trial) <= width) ? trial : std::wstring(word);
        start = end + 1;
    }
    return TextWidth(dc, line);
}

}  // namespace

std::wstring HowToStartText(WindowsFamily family) {
    std::wstring text =
        ResText(IDS_HOWTO_INTRO) + L"\r\r\r\r" + ResText(IDS_HOWTO_QUICKLAUNCH) + L"\r" + ResText(IDS_HOWTO_HOTKEY);
    if (family == WindowsFamily::VistaOrLater)
        text += L"\r" + ResText(IDS_HOWTO_NOTE);
    return text;
}

std::wstring LineBreaksForDisplay(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            out += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

WelcomeSystem CurrentWelcomeSystem() {
    WelcomeSystem system;
    system.family = GetWindowsFamily();
    system.visualStyles = IsAppThemed() != FALSE;
    if (cWindowDC screen(nullptr); screen) {
        system.dpiX = GetDeviceCaps(screen.Get(), LOGPIXELSX);
        system.dpiY = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }
    return system;
}

frmWelcome::~frmWelcome() {
    Unload();
}

int frmWelcome::Px(int twips) const {
    return MulDiv(twips, system_.dpiX, 1440);
}
int frmWelcome::Py(int twips) const {
    return MulDiv(twips, system_.dpiY, 1440);
}

bool frmWelcome::Load() {
    if (Hwnd())
        return true;
    system_ = forcedSystem_ ? *forcedSystem_ : CurrentWelcomeSystem();
    vistaLook_ = system_.family == WindowsFamily::VistaOrLater && system_.visualStyles;
    // A set-up run on Vista and later only shows this window; the hot key
    // belongs to the worker that runs from log-on.
    if (system_.family == WindowsFamily::VistaOrLater)
        worker_.ReleaseHotKey();

    HINSTANCE module = GetModuleHandleW(nullptr);
    bigIcon_.Reset(static_cast<HICON>(LoadImageW(module, L"AA", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                 GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR)));
    smallIcon_.Reset(static_cast<HICON>(LoadImageW(module, L"AA", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));

    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame{0, 0, Px(kFormWidth), Py(kDividerTop) + 2 + Py(kFooterHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = work.left + (work.right - work.left - width) / 2;
    int top = work.top + (work.bottom - work.top - height) / 2;
    WindowClass windowClass{kWelcomeWindowClass, 0, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))};
    if (!Create(windowClass, ResText(IDS_CAPTION).c_str(), style, 0, left, top, width, height, nullptr))
        return false;
    if (bigIcon_)
        SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    if (smallIcon_)
        SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
    CreateControls();

    SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowWindow(Hwnd(), SW_SHOW);
    UpdateWindow(Hwnd());
    ForceForeground(Hwnd(), true);
    SetFocus(GetDlgItem(Hwnd(), IDOK));
    return true;
}

void frmWelcome::CreateControls() {
    HINSTANCE module = GetModuleHandleW(nullptr);
    headingFont_ = vistaLook_ ? MakeFont(L"Segoe UI", 1300, system_.dpiY) : MakeFont(L"Verdana", 1200, system_.dpiY);
    textFont_ = MakeFont(L"Tahoma", 825, system_.dpiY);
    boldFont_ = MakeFont(L"Tahoma", 825, system_.dpiY, true);
    footerBrush_.Reset(CreateSolidBrush(vistaLook_ ? kVistaFooterColour : GetSysColor(COLOR_3DFACE)));
    dividerBrush_.Reset(CreateSolidBrush(vistaLook_ ? kVistaDividerColour : GetSysColor(COLOR_3DSHADOW)));
    divider2Brush_.Reset(CreateSolidBrush(GetSysColor(COLOR_3DHILIGHT)));

    auto add = [&](int id, const wchar_t* cls, const std::wstring& text, DWORD style, int x, int y, int cx, int cy,
                   HFONT font) {
        return CreateChildControl(Hwnd(), id, cls, WS_VISIBLE | style, font, text.c_str(), x, y, cx, cy);
    };
    constexpr DWORD label = SS_LEFT | SS_NOPREFIX;
    int textLeft = Px(kMargin);
    int textWidth = Px(kTextWidth);
    int clientWidth = Px(kFormWidth);

    add(lblWelcome, L"STATIC", ResText(IDS_WELCOME), label, textLeft, Py(kWelcomeTop), textWidth, Py(420),
        headingFont_.Get());
    add(lblIntroduction, L"STATIC", ResText(IDS_INTRODUCTION), label, textLeft, Py(kIntroductionTop), textWidth,
        Py(660), textFont_.Get());
    add(lblAppHeader, L"STATIC", ResText(IDS_APP_HEADER), label, textLeft, Py(kAppHeaderTop), textWidth, Py(240),
        boldFont_.Get());
    add(lblAppStartHeader, L"STATIC", ResText(IDS_APP_START_HEADER), label, textLeft, Py(kAppStartHeaderTop), textWidth,
        Py(240), boldFont_.Get());
    add(lblHowToStart, L"STATIC", LineBreaksForDisplay(HowToStartText(system_.family)), label | WS_CLIPSIBLINGS,
        textLeft, Py(kHowToTop), textWidth, Py(kHowToHeight), textFont_.Get());
    // The header covers an empty line of the how-to text and the picture
    // stands on it: the text must paint around both.
    SetWindowPos(GetDlgItem(Hwnd(), lblAppStartHeader), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    startPicture_.Reset(
        static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(IDB_START), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    if (HWND picture = add(imgStartIcon, L"STATIC", L"", SS_BITMAP, 0, 0, 0, 0, nullptr))
        SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(startPicture_.Get()));
    PlaceStartIcon();

    int dividerY = Py(kDividerTop);
    add(linDivider, L"STATIC", L"", SS_LEFT, 0, dividerY, clientWidth, 1, nullptr);
    HWND divider2 = add(linDivider2, L"STATIC", L"", SS_LEFT, 0, dividerY + 1, clientWidth, 1, nullptr);
    if (vistaLook_)
        ShowWindow(divider2, SW_HIDE);
    int footerY = dividerY + 2;
    int footerHeight = Py(kFooterHeight);
    add(picFooter, L"STATIC", L"", SS_LEFT | WS_CLIPSIBLINGS, 0, footerY, clientWidth, footerHeight, nullptr);
    int buttonWidth = Px(kButtonWidth);
    int buttonHeight = Py(kButtonHeight);
    HWND ok = add(IDOK, L"BUTTON", ResText(IDS_OK), BS_DEFPUSHBUTTON | WS_TABSTOP, clientWidth - textLeft - buttonWidth,
                  footerY + (footerHeight - buttonHeight) / 2, buttonWidth, buttonHeight, textFont_.Get());
    // The button lies on the footer strip and must stay in front of it.
    SetWindowPos(ok, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // A history from the first minute: the folders Windows remembers, once
    // offered, ticked from the start.
    if (!ReadFlag(Setting::WindowsHistoryOffered)) {
        int boxHeight = Py(kButtonHeight) * 2 / 3;
        HWND box = add(chkImport, L"BUTTON", ResText(IDS_IMPORT_OFFER), BS_AUTOCHECKBOX | WS_TABSTOP, textLeft,
                       footerY + (footerHeight - boxHeight) / 2, clientWidth - 3 * textLeft - buttonWidth, boxHeight,
                       textFont_.Get());
        SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
        SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

// The picture shows what to click and stands right after the Quick Launch
// line, wherever that line wraps.
void frmWelcome::PlaceStartIcon() {
    HWND picture = GetDlgItem(Hwnd(), imgStartIcon);
    if (!picture)
        return;
    int x = Px(kMargin);
    if (cWindowDC dc(Hwnd()); dc) {
        cSelection font(dc.Get(), textFont_.Get());
        x += LastLineWidth(dc.Get(), ResText(IDS_HOWTO_QUICKLAUNCH), Px(kTextWidth)) + MulDiv(4, system_.dpiX, 96);
    }
    x = std::min(x, Px(kFormWidth) - kStartPictureWidth - 2);
    bool largeFonts = system_.dpiX > 110;
    int y = Py(largeFonts ? kStartIconTopLargeFonts : kStartIconTop);
    SetWindowPos(picture, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

void frmWelcome::Unload() {
    Destroy();
}

bool frmWelcome::PreTranslateMessage(MSG& msg) {
    if (!Hwnd() || (msg.hwnd != Hwnd() && !IsChild(Hwnd(), msg.hwnd)))
        return false;
    return IsDialogMessageW(Hwnd(), &msg) != FALSE;
}

LRESULT frmWelcome::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            // Enter and Esc arrive as IDOK and IDCANCEL through the dialog
            // keyboard handling.
            if (LOWORD(wParam) == IDOK) {
                cmdOK_Click();
            } else if (LOWORD(wParam) == IDCANCEL) {
                AnswerImportOffer(false);
                Unload();
            }
            return 0;
        case DM_GETDEFID:
            return MAKELRESULT(IDOK, DC_HASDEFID);
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE)
                SetFocus(GetDlgItem(Hwnd(), IDOK));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CLOSE:
            AnswerImportOffer(false);
            Unload();
            return 0;
        default:
            return DefaultProc(msg, wParam, lParam);
    }
}

LRESULT frmWelcome::OnCtlColor(HDC dc, HWND control) {
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    switch (GetDlgCtrlID(control)) {
        case lblWelcome:
        case lblAppHeader:
        case lblAppStartHeader:
            SetTextColor(dc, kHeadingColour);
            break;
        case linDivider:
            brush = dividerBrush_.Get();
            break;
        case linDivider2:
            brush = divider2Brush_.Get();
            break;
        case picFooter:
        case chkImport:
        case IDOK:
            brush = footerBrush_.Get();
            break;
        default:
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            break;
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(brush);
}

void frmWelcome::cmdOK_Click() {
    AnswerImportOffer(true);
    Unload();
}

// Esc and the close box leave the offer unanswered but made: it is not
// shown again either way.
void frmWelcome::AnswerImportOffer(bool ok) {
    HWND box = GetDlgItem(Hwnd(), chkImport);
    if (!box)
        return;
    bool ticked = ok && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    WriteNumber(Setting::WindowsHistoryOffered, 1);
    if (ticked && onImportChosen)
        onImportChosen();
}

// On Vista and later the set-up run has done its part once the user has read
// the window: the worker started from log-on does the logging.
void frmWelcome::Form_Unload() {
    if (system_.family == WindowsFamily::VistaOrLater)
        worker_.Unload();
}

void frmWelcome::OnDestroyed() {
    Form_Unload();
    if (onUnloaded)
        onUnloaded();
}

}  // namespace pw::worker
