// Loading, closing and the messages of the main window, with its pop-up
// behaviour: gone when it loses the focus, forward again when a second start
// asks, never smaller than its minimum.
#include "frmMain.h"

#include <cstdint>

#include "FolderListKeys.h"
#include "Foreground.h"
#include "IgnoreStore.h"
#include "Instance.h"
#include "Placement.h"
#include "ProgramNames.h"
#include "ResText.h"
#include "Settings.h"
#include "ShellFolders.h"
#include "TestRun.h"
#include "WindowsVersion.h"
#include "app_res.h"

namespace pw {
namespace {

// The activation of a second start is announced to every top-level window,
// with the dialog that waited in front of the hot key (0: none), which the
// running window then serves.
void PassActivationOn(UINT activationMessage, HWND waitingDialog) {
    AllowSetForegroundWindow(ASFW_ANY);
    auto dialog = static_cast<WPARAM>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(waitingDialog)));
    SendNotifyMessageW(HWND_BROADCAST, activationMessage, dialog, 0);
}

}  // namespace

frmMain::frmMain(frmMainSetup setup) : setup_(std::move(setup)) {
    if (setup_.programFolder.empty())
        setup_.programFolder = ProgramFolder();
}

frmMain::~frmMain() {
    Unload();
    tooltips_.Destroy();
}

SortMode frmMain::SortModeOf(FolderView view) const {
    return view == FolderView::LastUsed ? lSortingLastUsed_ : lSortingMostUsed_;
}

bool frmMain::Load() {
    activationMessage_ = RegisterWindowMessageW(RunScopedName(kActivationMessageName).c_str());
    if (setup_.singleInstance && IsPreviousInstanceRunning()) {
        bSecondInstance_ = true;
        PassActivationOn(activationMessage_, setup_.waitingDialog);
        return false;
    }
    StartupPhaseDone("single instance");

    int dpiX = 96, dpiY = 96;
    if (cWindowDC screen(nullptr); screen) {
        dpiX = GetDeviceCaps(screen.Get(), LOGPIXELSX);
        dpiY = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }
    twips_.perPixelX = dpiX > 0 ? 1440 / dpiX : 15;
    twips_.perPixelY = dpiY > 0 ? 1440 / dpiY : 15;

    family_ = GetWindowsFamily();
    look_ = setup_.look ? *setup_.look : SystemDisplayLook(family_, dpiX);
    scrollBarAllowance_ = (GetSystemMetrics(SM_CXVSCROLL) + 2) * twips_.perPixelX;
    StartupPhaseDone("system look");

    if (!CreateMainWindow())
        return false;
    StartupPhaseDone("window create");
    LoadMenus();
    StartupPhaseDone("menus");
    LoadIcons();
    StartupPhaseDone("window icons");
    CreateFonts();
    StartupPhaseDone("fonts");
    CreateControls();
    FillTimeframes();
    StartupPhaseDone("controls");

    CreateAutostartShortcut();
    StartupPhaseDone("autostart shortcut");
    ReadSettings();
    StartupPhaseDone("settings read");
    // The caption names a waiting dialog from the first moment it is seen.
    AttachWaitingDialog(setup_.waitingDialog);
    FillTabs();
    if (options_.showMenuBar) {
        bMenuBarShown_ = true;
        ShowMenuBar();
    }
    PositionWindow();
    ApplyLoadAppearance();
    if (WidenForTopRow())
        PositionWindow();
    StartupPhaseDone("layout");
    list_.AddColumns(lFirstColumnWidth_, options_.hidePathColumn);
    CreateImageList();
    CheckViewMenus();
    StartupPhaseDone("list icons");
    ShowFirstList();
    StartupPhaseDone("list fill");
    // A window that is shown gets its tips once it has been seen.
    if (!setup_.show)
        AddTooltips();
    InitInteraction();
    popUpBehaviour_ = true;
    loaded_ = true;
    Form_Resize();
    StartupPhaseDone("interaction, resize");

    if (options_.showWatermark && !setup_.show)
        PostMessageW(Hwnd(), kLoadWatermark, 0, 0);
    if (setup_.show) {
        ShowWindow(Hwnd(), SW_SHOWNORMAL);
        SetForegroundWindow(Hwnd());
        if (lCurrentView_ == FolderView::LastUsed)
            searchBox_.Focus();
        StartupPhaseDone("show");
    }
    return true;
}

void frmMain::StartupPhaseDone(const char* phase) {
    if (setup_.onStartupPhase && !firstPaintDone_)
        setup_.onStartupPhase(phase);
}

bool frmMain::CreateMainWindow() {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    WindowClass windowClass{kMainWindowClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
    return Create(windowClass, ResText(IDS_CAPTION).c_str(), style, 0, CW_USEDEFAULT, CW_USEDEFAULT, twips_.PxX(7605),
                  twips_.PxY(6700), nullptr);
}

void frmMain::LoadIcons() {
    HINSTANCE module = GetModuleHandleW(nullptr);
    iconSmall_.Reset(static_cast<HICON>(LoadImageW(module, L"AA", IMAGE_ICON, 16, 16, 0)));
    iconBig_.Reset(static_cast<HICON>(LoadImageW(module, L"AA", IMAGE_ICON, 32, 32, 0)));
    // The taskbar may show the owner's icons rather than the window's.
    for (HWND target : {Hwnd(), GetWindow(Hwnd(), GW_OWNER)}) {
        if (!target)
            continue;
        SendMessageW(target, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconSmall_.Get()));
        SendMessageW(target, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(iconBig_.Get()));
    }
}

void frmMain::ReadSettings() {
    SetWindowSizeTw(ReadNumber(Setting::WindowWidth, look_.vistaThemed),
                    ReadNumber(Setting::WindowHeight, look_.vistaThemed));
    lFirstColumnWidth_ = ReadNumber(Setting::FirstColumnWidth);
    SendMessageW(cmbMostUsedTimeframe_, CB_SETCURSEL, NormalizeTimeframe(ReadNumber(Setting::MRUTimeframe)), 0);
    bSearchTipShown_ = ReadFlag(Setting::TipShown_SearchFolder);
    if (ReadNumber(Setting::SetupDone) == 0) {
        bFirstRunPending_ = true;
        WriteNumber(Setting::SetupDone, 1);
    }
    options_ = ReadMainOptions(look_.vistaThemed);
    // Sorting by a column that is not there falls back to the usual order.
    lSortingLastUsed_ =
        NormalizeSortMode(FolderView::LastUsed, ReadNumber(Setting::SortingLastUsed), options_.hidePathColumn);
    lSortingMostUsed_ =
        NormalizeSortMode(FolderView::MostUsed, ReadNumber(Setting::SortingMostUsed), options_.hidePathColumn);
    sIgnoreFilter_ = LoadIgnoreFilter();

    if (!options_.showWindowTitleAndBorder) {
        // WS_DLGFRAME and WS_SYSMENU go; the thin sizing border stays.
        LONG_PTR style = GetWindowLongPtrW(Hwnd(), GWL_STYLE);
        SetWindowLongPtrW(Hwnd(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_DLGFRAME | WS_SYSMENU));
        SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    } else {
        framedList_ = !look_.vistaThemed;
    }
    int view = ReadNumber(Setting::ListTypeActive);
    lCurrentView_ = view >= 1 && view <= 3 ? static_cast<FolderView>(view) : FolderView::LastUsed;
    bIconView_ = ReadFlag(Setting::IconView);
}

void frmMain::ShowFirstList() {
    int tab = TabPositionForView(lCurrentView_, options_.showFavoritesTabFirst) - 1;
    SendMessageW(tabOB_, TCM_SETCURSEL, tab, 0);
    if (lCurrentView_ != FolderView::LastUsed)
        searchBox_.txtFind_LostFocus();
    ShowViewControls();
    if (lCurrentView_ == FolderView::Favorites) {
        if (HWND header = list_.View().hWndHeader()) {
            SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) ^ HDS_BUTTONS);
        }
        FillFavoritesList();
    } else {
        FillFolderList(true);
    }
    // The worker may have repaired the history since the window was last open.
    PostMessageW(Hwnd(), kShowDamagedHistoryNotice, 0, 0);
}

void frmMain::Unload() {
    if (!Hwnd())
        return;
    if (loaded_) {
        Form_QueryUnload();
        Form_Unload();
    }
    Destroy();
}

void frmMain::UnloadForReload() {
    bReloadMainWindow_ = true;
    Unload();
}

void frmMain::Form_QueryUnload() {
    if (!IsIconic(Hwnd())) {
        RECT r{};
        GetWindowRect(Hwnd(), &r);
        WriteNumber(Setting::WindowWidth, (r.right - r.left) * twips_.perPixelX);
        WriteNumber(Setting::WindowHeight, (r.bottom - r.top) * twips_.perPixelY);
        WriteNumber(Setting::WindowTop, r.top * twips_.perPixelY);
        WriteNumber(Setting::WindowLeft, r.left * twips_.perPixelX);
    }
    if (!options_.hidePathColumn) {
        WriteNumber(Setting::FirstColumnWidth, list_.FirstColumnWidthPixels() * twips_.perPixelX);
    }
    ChangeDropShadow(true);
}

void frmMain::Form_Unload() {
    loaded_ = false;
    popUpBehaviour_ = false;
    DisableMouseLeaveWatch();
    if (!bReloadMainWindow_ && !bWindowsShuttingDown_ && TakeWeeklyUpdateCheckDue(SystemLocalTime())) {
        // The closed window goes at once; the check waits for the server on
        // its own, and its notice stands on its own.
        ShowWindow(Hwnd(), SW_HIDE);
        CheckForUpdates(true);
    }
    tooltips_.Destroy();
}

void frmMain::CheckForUpdates(bool bAutomaticCheck) {
    // The notices and the download page go the way of the window's other
    // messages and web pages.
    UpdateCheckServices services = setup_.updateCheckServices;
    if (!services.presenter)
        services.presenter = setup_.folderActionServices.presenter;
    // The weekly check outlives the window that closed: nothing of it is
    // called back, only a copy of what it was given.
    if (!services.openAddress && setup_.openAddress)
        services.openAddress = [open = setup_.openAddress](const std::wstring& address) { open(nullptr, address); };
    UpdateCheckHost host;
    host.owner = Hwnd();
    host.prepareModal = [this] {
        BeginModalFrame();
        ChangeDropShadow(true);
    };
    host.restoreModal = [this] {
        if (!Hwnd())
            return;
        ChangeDropShadow(false);
        EndModalFrame();
    };
    pw::CheckForUpdates(host, bAutomaticCheck, services);
}

void frmMain::OnDestroyed() {
    if (setup_.onUnloaded)
        setup_.onUnloaded();
}

LRESULT frmMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == activationMessage_ && activationMessage_ != 0) {
        if (popUpBehaviour_)
            OnActivationMessage(wParam);
        return 0;
    }
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE && popUpBehaviour_)
                return Form_Activate(wParam, reinterpret_cast<HWND>(lParam));
            break;
        case WM_GETMINMAXINFO:
            if (popUpBehaviour_)
                OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            break;
        case WM_SIZE:
            // Shown for the first time, the window hears again of the size it
            // was laid out for: its controls stand where they belong.
            if (wParam == SIZE_MINIMIZED || !loaded_ || LOWORD(lParam) * twips_.perPixelX != layout_.innerWidth ||
                HIWORD(lParam) * twips_.perPixelY != layout_.innerHeight)
                Form_Resize();
            return 0;
        case WM_PAINT: {
            LRESULT result = DefaultProc(msg, wParam, lParam);
            if (!firstPaintDone_) {
                firstPaintDone_ = true;
                if (setup_.onFirstPaint)
                    setup_.onFirstPaint();
                if (options_.showWatermark)
                    PostMessageW(Hwnd(), kLoadWatermark, 0, 0);
                // A timer's message comes when nothing is left to paint.
                SetTimer(Hwnd(), tmrAfterFirstPaint, USER_TIMER_MINIMUM, nullptr);
            }
            return result;
        }
        case WM_CLOSE:
            Unload();
            return 0;
        case WM_DESTROY:
            // The menu bar is the window's to keep, not the system's to destroy.
            SetMenu(Hwnd(), nullptr);
            break;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) {
                bWindowsShuttingDown_ = true;
                Unload();
            }
            return 0;
        case WM_TIMER:
            if (wParam == tmrMouseLeaveChecker) {
                tmrMouseLeaveChecker_Timer();
            } else if (wParam == tmrAfterFirstPaint) {
                KillTimer(Hwnd(), tmrAfterFirstPaint);
                list_.LoadPendingIcons();
                AddTooltips();
            }
            return 0;
        case WM_COMMAND:
            if (lParam == 0) {
                if (!OnMenuCommand(LOWORD(wParam)))
                    OnCommand(LOWORD(wParam));
            } else if (reinterpret_cast<HWND>(lParam) == cmdShowMenu_ && HIWORD(wParam) == BN_CLICKED) {
                // The button pressed by the keyboard; the mouse drops the
                // menu as it goes down.
                cmdShowMenu_MouseDown();
            } else if (reinterpret_cast<HWND>(lParam) == cmbMostUsedTimeframe_ && HIWORD(wParam) == CBN_SELCHANGE) {
                cmbMostUsedTimeframe_Click();
            }
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == tabOB_ && header->code == TCN_SELCHANGE)
                tabOB_Click();
            return 0;
        }
        case kLoadWatermark:
            list_.View().SetBackgroundPicture(setup_.programFolder + L"\\watermark.png", 103, 91);
            return 0;
        case kUnloadSoon:
            UnloadAfterJump();
            return 0;
        case kMinimizeSoon:
            if (!IsIconic(Hwnd()))
                ShowWindow(Hwnd(), SW_MINIMIZE);
            return 0;
        case kTabsTick:
            tmrTabs_Tick();
            return 0;
        case kMustRefreshAfterNewFindTick:
            tmrMustRefreshAfterNewFind_Tick();
            return 0;
        case kShowDamagedHistoryNotice:
            ShowDamagedHistoryNotice();
            return 0;
        default:
            // Keys reach the window itself only when none of its controls has
            // the focus.
            if (IsKeyMessage(msg) && PreviewKey(Hwnd(), msg, wParam, lParam) == KeyPreview::Taken)
                return 0;
            break;
    }
    return DefaultProc(msg, wParam, lParam);
}

}  // namespace pw
