// Loading, closing and the messages of the main window.
#include "frmMain.h"

#include <uxtheme.h>

#include "AppFlags.h"
#include "FolderListQuery.h"
#include "Instance.h"
#include "ProgramNames.h"
#include "ResText.h"
#include "Settings.h"
#include "ShellFolders.h"
#include "app_res.h"
#include "modTaskDialog.h"

namespace pw {
namespace {

constexpr wchar_t kHostClass[] = L"PfadwerkPicture";
// Decoding the picture takes longer than everything else of the start: it is
// laid behind the list once the window is up.
constexpr UINT kLoadWatermark = WM_APP + 1;
constexpr UINT kStartupShortcutCsidl = 7;  // the user's Startup folder

bool RegisterClasses(WNDPROC mainProc, WNDPROC hostProc) {
    static const bool registered = [&] {
        HINSTANCE module = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = mainProc;
        wc.hInstance = module;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kMainWindowClass;
        bool main = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        wc.lpszClassName = kHostClass;
        wc.lpfnWndProc = hostProc;
        wc.hbrBackground = nullptr;  // each host paints its own colour
        bool host = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        return main && host;
    }();
    return registered;
}

// The activation of a second start is announced to every top-level window.
void PassActivationOn() {
    AllowSetForegroundWindow(ASFW_ANY);
    SendNotifyMessageW(HWND_BROADCAST, lActivationMessage, 0, 0);
}

int ValidSortMode(int mode, int highest) { return mode >= 1 && mode <= highest ? mode : 5; }

}  // namespace

frmMain::frmMain(frmMainOptions options) : options_(std::move(options)) {
    if (options_.programFolder.empty()) options_.programFolder = ProgramFolder();
}

frmMain::~frmMain() {
    if (hwnd_) Unload();
    tooltips.Destroy();
    lvwFolders.Destroy();
    if (imageList_) ImageList_Destroy(imageList_);
}

bool frmMain::Load() {
    lActivationMessage = RegisterWindowMessageW(kActivationMessageName);
    if (options_.singleInstance && IsPreviousInstanceRunning()) {
        bSecondInstance = true;
        PassActivationOn();
        // The entry loop waits for this flag: a second start has to end too.
        bMainWindowUnloaded = true;
        return false;
    }

    HDC screen = GetDC(nullptr);
    int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    bLargeFonts = dpiX > 110;
    tppX_ = dpiX > 0 ? 1440 / dpiX : 15;
    tppY_ = dpiY > 0 ? 1440 / dpiY : 15;

    versionClass_ = GetWindowsVersionClass();
    bVisualStyles = versionClass_ >= 1 && IsThemeActive() && IsAppThemed();
    bVistaThemed = versionClass_ == 2 && bVisualStyles;

    if (!CreateMainWindow()) {
        bMainWindowUnloaded = true;
        return false;
    }
    LoadIcons();
    CreateFonts();
    CreateControls();

    for (std::wstring_view text : kTimeframeTexts) {
        SendMessageW(cmbMostUsedTimeframe, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::wstring(text).c_str()));
    }
    scrollBarAllowance_ = (GetSystemMetrics(SM_CXVSCROLL) + 2) * tppX_;

    CreateAutostartShortcut();
    ReadSettings();
    FillTabs();
    PositionWindow();
    ApplyLoadAppearance();
    CreateColumns();
    CreateImageList();
    ShowFirstList();
    AddTooltips();
    InitInteraction();
    InstallHook();
    loaded_ = true;
    Form_Resize();

    if (showWatermark_ && !options_.show) PostMessageW(hwnd_, kLoadWatermark, 0, 0);
    if (options_.show) {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd_);
        if (lCurrentView == 1) SetFocus(txtFind);
    }
    return true;
}

bool frmMain::CreateMainWindow() {
    if (!RegisterClasses(&frmMain::WindowProc, &frmMain::HostProc)) return false;
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    hwnd_ = CreateWindowExW(0, kMainWindowClass, ResText(IDS_CAPTION).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            PxX(7605), PxY(6700), nullptr, nullptr, GetModuleHandleW(nullptr), this);
    return hwnd_ != nullptr;
}

void frmMain::LoadIcons() {
    HINSTANCE module = GetModuleHandleW(nullptr);
    iconSmall_.Reset(static_cast<HICON>(LoadImageW(module, L"AA", IMAGE_ICON, 16, 16, 0)));
    iconBig_.Reset(static_cast<HICON>(LoadImageW(module, L"AA", IMAGE_ICON, 32, 32, 0)));
    // The taskbar may show the owner's icons rather than the window's.
    for (HWND target : {hwnd_, GetWindow(hwnd_, GW_OWNER)}) {
        if (!target) continue;
        SendMessageW(target, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconSmall_.Get()));
        SendMessageW(target, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(iconBig_.Get()));
    }
}

void frmMain::CreateAutostartShortcut() {
    if (ReadNumber(Setting::StartupShortcutCreated) != 0) return;
    // Written first: a creation that fails is not tried again at every start.
    WriteNumber(Setting::StartupShortcutCreated, 1);
    std::wstring startup = GetShellFolderPath(kStartupShortcutCsidl);
    if (startup.empty()) return;
    std::wstring link = startup + L"\\" + kAutostartLinkName;
    if (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    const std::wstring& folder = options_.programFolder;
    CreateShortcut(link, folder + L"\\PfadwerkHg.exe", folder, L"", ResText(IDS_AUTOSTART_DESCRIPTION),
                   folder + L"\\Pfadwerk.exe", 0, SW_SHOWNORMAL);
}

void frmMain::ReadSettings() {
    SetWindowSizeTw(ReadNumber(Setting::WindowWidth, bVistaThemed), ReadNumber(Setting::WindowHeight, bVistaThemed));
    lFirstColumnWidth = ReadNumber(Setting::FirstColumnWidth);
    SendMessageW(cmbMostUsedTimeframe, CB_SETCURSEL, NormalizeTimeframe(ReadNumber(Setting::MRUTimeframe)), 0);
    bSearchTipShown = ReadFlag(Setting::TipShown_SearchFolder);
    if (ReadNumber(Setting::SetupDone) == 0) {
        bFirstRunPending = true;
        WriteNumber(Setting::SetupDone, 1);
    }
    lSortingLastUsed = ValidSortMode(ReadNumber(Setting::SortingLastUsed), 5);
    lSortingMostUsed = ValidSortMode(ReadNumber(Setting::SortingMostUsed), 6);
    sIgnoreFilter = ReadText(Setting::IgnoreStringSQL);

    if (ReadNumber(Setting::ShowWindowTitleAndBorder) == 0) {
        // WS_DLGFRAME and WS_SYSMENU go; the thin sizing border stays.
        LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
        SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_DLGFRAME | WS_SYSMENU));
        SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    } else {
        bOptions_ShowWindowTitleAndBorder = true;
        framedList_ = !bVistaThemed;
    }
    lOptions_ListSize = ReadNumber(Setting::FolderListSize, bVistaThemed);
    showWatermark_ = ReadFlag(Setting::ShowWatermark);
    bOptions_ExitBehavior = ReadNumber(Setting::ExitBehavior);
    bOptions_DefaultOpenInExplorer = ReadFlag(Setting::DefaultOpenInExplorer);
    bOptions_ReuseFolderWindows = ReadFlag(Setting::ReuseFolderWindows);
    bOptions_HidePathColumn = ReadFlag(Setting::HidePathColumn);
    lOptions_WindowPosition = ReadNumber(Setting::WindowPosition);
    bOptions_bShowFavoritesTabFirst = ReadFlag(Setting::ShowFavoritesTabFirst);
    // The menu bar itself belongs to the menus; until it is shown the menu
    // button stays where it is.
    bOptions_ShowMenuBar = ReadFlag(Setting::ShowMenuBar);
}

void frmMain::FillTabs() {
    UINT order[3] = {IDS_TAB_LASTUSED, IDS_TAB_MOSTUSED, IDS_TAB_FAVORITES};
    if (bOptions_bShowFavoritesTabFirst) {
        order[0] = IDS_TAB_FAVORITES;
        order[1] = IDS_TAB_LASTUSED;
        order[2] = IDS_TAB_MOSTUSED;
    }
    SendMessageW(tabOB, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < 3; ++i) {
        std::wstring text = ResText(order[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(tabOB, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

void frmMain::ShowFirstList() {
    lCurrentView = ReadNumber(Setting::ListTypeActive);
    if (lCurrentView < 1 || lCurrentView > 3) lCurrentView = 1;
    // The tab of a view: with favorites first the others move one along.
    int tab = bOptions_bShowFavoritesTabFirst ? static_cast<int>(lCurrentView % 3) : static_cast<int>(lCurrentView - 1);
    SendMessageW(tabOB, TCM_SETCURSEL, tab, 0);
    if (lCurrentView != 1) txtFind_LostFocus();
    ShowViewControls();
    if (lCurrentView == 3) {
        HWND header = lvwFolders.hWndHeader();
        if (header) {
            SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) ^ HDS_BUTTONS);
        }
    }
    if (lCurrentView == 3) {
        ShowMessagePane();
    } else {
        FillFolderList(true);
    }
}

void frmMain::ShowViewControls() {
    ShowWindow(picFindHost, lCurrentView == 1 ? SW_SHOW : SW_HIDE);
    ShowWindow(cmbMostUsedTimeframe, lCurrentView == 2 ? SW_SHOW : SW_HIDE);
    ShowWindow(picManageFavoritesHost, lCurrentView == 3 ? SW_SHOW : SW_HIDE);
}

void frmMain::AddTooltips() {
    tooltips.Create(hwnd_, TTS_ALWAYSTIP);
    tooltips.AddTool(txtFind, TTF_ABSOLUTE, ResText(IDS_TIP_FIND));
    tooltips.AddTool(cmdShowMenu, TTF_ABSOLUTE, ResText(IDS_TIP_SHOWMENU));
    tooltips.AddTool(cmbMostUsedTimeframe, TTF_ABSOLUTE, ResText(IDS_TIP_TIMEFRAME));
}

void frmMain::Unload() {
    if (!hwnd_ || unloading_) return;
    unloading_ = true;
    Form_QueryUnload();
    Form_Unload();
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    unloading_ = false;
    bMainWindowUnloaded = true;
}

void frmMain::Form_QueryUnload() {
    if (bSecondInstance || !loaded_) return;
    if (!IsIconic(hwnd_)) {
        RECT r{};
        GetWindowRect(hwnd_, &r);
        WriteNumber(Setting::WindowWidth, (r.right - r.left) * tppX_);
        WriteNumber(Setting::WindowHeight, (r.bottom - r.top) * tppY_);
        WriteNumber(Setting::WindowTop, r.top * tppY_);
        WriteNumber(Setting::WindowLeft, r.left * tppX_);
    }
    if (!bOptions_HidePathColumn) WriteNumber(Setting::FirstColumnWidth, lvwFolders.ColumnWidthPixels(0) * tppX_);
    ChangeDropShadow(true);
}

void frmMain::Form_Unload() {
    if (bSecondInstance || !loaded_) return;
    StopTimers();
    // Hook point of the weekly update check: it runs here unless the window
    // is reloaded or Windows is shutting down (bReloadMainWindow,
    // bWindowsShuttingDown).
    RemoveAllHooks();
    tooltips.Destroy();
    lvwFolders.SetImageList(nullptr, LVSIL_SMALL);
    lvwFolders.SetImageList(nullptr, LVSIL_NORMAL);
    if (imageList_) ImageList_Destroy(imageList_);
    imageList_ = nullptr;
    loaded_ = false;
}

LRESULT CALLBACK frmMain::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (!self->hwnd_) self->hwnd_ = hwnd;
    return self->OnMessage(msg, wParam, lParam);
}

LRESULT frmMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SIZE:
            Form_Resize();
            return 0;
        case WM_PAINT: {
            LRESULT result = DefWindowProcW(hwnd_, msg, wParam, lParam);
            if (!firstPaintDone_) {
                firstPaintDone_ = true;
                if (options_.onFirstPaint) options_.onFirstPaint();
                if (showWatermark_) PostMessageW(hwnd_, kLoadWatermark, 0, 0);
            }
            return result;
        }
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) {
                bWindowsShuttingDown = true;
                Unload();
            }
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case kLoadWatermark:
            lvwFolders.SetBackgroundPicture(options_.programFolder + L"\\watermark.png", 103, 91);
            return 0;
        case WM_NOTIFY:
        case WM_COMMAND:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return OnHostMessage(hwnd_, msg, wParam, lParam);
        default: {
            LRESULT result = 0;
            if (OnInteractionMessage(msg, wParam, lParam, result)) return result;
            return DefWindowProcW(hwnd_, msg, wParam, lParam);
        }
    }
}

// The picture boxes that hold controls pass their controls' notifications on
// here, as a form sees the events of all its controls.
LRESULT CALLBACK frmMain::HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->OnHostMessage(hwnd, msg, wParam, lParam);
}

LRESULT frmMain::OnHostMessage(HWND host, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: {
            if (host == hwnd_) break;
            RECT r{};
            GetClientRect(host, &r);
            bool face = host == picManageFavoritesHost;
            FillRect(reinterpret_cast<HDC>(wParam), &r, face ? faceBrush_.Get() : windowBrush_.Get());
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return OnCtlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
        case WM_DRAWITEM:
            DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tabOB && header->code == TCN_SELCHANGE) tabOB_Click();
            return 0;
        }
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == txtFind) {
                if (HIWORD(wParam) == EN_SETFOCUS) txtFind_GotFocus();
                else if (HIWORD(wParam) == EN_KILLFOCUS) txtFind_LostFocus();
            } else if (reinterpret_cast<HWND>(lParam) == imgFindCancel && HIWORD(wParam) == STN_CLICKED) {
                imgFindCancel_Click();
            } else if (reinterpret_cast<HWND>(lParam) == cmbMostUsedTimeframe && HIWORD(wParam) == CBN_SELCHANGE) {
                cmbMostUsedTimeframe_Click();
            }
            return 0;
        case WM_MOUSEMOVE:
            if (host == picManageFavoritesHost) lblManageFavorites_MouseMove();
            return 0;
        case WM_NCPAINT:
            if (host == picFindHost && bVisualStyles) {
                // The static edge alone draws only its upper and left half on
                // a light face; a whole thin frame reads as a search box.
                DefWindowProcW(host, msg, wParam, lParam);
                HDC dc = GetWindowDC(host);
                RECT r{};
                GetWindowRect(host, &r);
                OffsetRect(&r, -r.left, -r.top);
                cBrush frame(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
                FrameRect(dc, &r, frame.Get());
                ReleaseDC(host, dc);
                return 0;
            }
            break;
        case WM_SETCURSOR:
            if (host == picManageFavoritesHost) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(host, msg, wParam, lParam);
}

}  // namespace pw
