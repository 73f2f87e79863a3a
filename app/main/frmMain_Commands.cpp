// The commands of the main window: the menu button's drop-down (mnuMenu),
// the menu bar (mnuView, mnuTools, mnuHelp) with the same commands, the
// pop-up behaviour and the modal frame that every command opening a window,
// a message or a web page goes through.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cwctype>
#include <iterator>

#include "HtmlHelp.h"
#include "MenuCommands.h"
#include "PfadwerkVendor.h"
#include "ResText.h"
#include "Settings.h"
#include "Text.h"
#include "VersionTexts.h"
#include "app_res.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmOptions.h"
#include "modTaskDialog.h"

namespace pw {
namespace {

bool IsTooltipClass(HWND hwnd) {
    wchar_t name[101] = {};
    if (!hwnd || GetClassNameW(hwnd, name, 101) == 0)
        return false;
    constexpr wchar_t kPrefix[] = L"tooltips_class";
    for (size_t i = 0; kPrefix[i]; ++i) {
        if (std::towlower(name[i]) != kPrefix[i])
            return false;
    }
    return true;
}

// Desktop composition (Aero) is asked of dwmapi.dll, which Windows XP lacks.
bool CompositionEnabled() {
    using Proc = HRESULT(WINAPI*)(BOOL*);
    static const Proc isEnabled = [] {
        HMODULE module = LoadLibraryW(L"dwmapi.dll");
        return module
                   ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, "DwmIsCompositionEnabled")))
                   : nullptr;
    }();
    BOOL enabled = FALSE;
    return isEnabled && SUCCEEDED(isEnabled(&enabled)) && enabled;
}

UINT FeedbackWindowsTextId(FeedbackWindows windows) {
    switch (windows) {
        case FeedbackWindows::Windows2000:
            return IDS_FEEDBACK_WINDOWS2000;
        case FeedbackWindows::XP:
            return IDS_FEEDBACK_WINDOWSXP;
        case FeedbackWindows::XPClassic:
            return IDS_FEEDBACK_WINDOWSXP_CLASSIC;
        case FeedbackWindows::VistaAero:
            return IDS_FEEDBACK_VISTA_AERO;
        case FeedbackWindows::VistaBasic:
            return IDS_FEEDBACK_VISTA_BASIC;
        case FeedbackWindows::VistaClassic:
            return IDS_FEEDBACK_VISTA_CLASSIC;
    }
    return IDS_FEEDBACK_VISTA_CLASSIC;
}

}  // namespace

// Every command of the menus, with its button-menu entry, its twin on the
// bar and its handler. A command without a handler is shown disabled.
const frmMain::MenuCommand* frmMain::FindMenuCommand(UINT id) {
    static const MenuCommand kCommands[] = {
        {IDM_MENU_DETAILS, IDM_VIEW_DETAILS, &frmMain::mnuMenuDetails_Click},
        {IDM_MENU_LARGEICONS, IDM_VIEW_LARGEICONS, &frmMain::mnuMenuLargeIcons_Click},
        {IDM_MENU_SHOWMENUBAR, 0, &frmMain::mnuMenuShowMenubar_Click},
        {0, IDM_VIEW_HIDEMENUBAR, &frmMain::mnuViewHideMenuBar_Click},
        {IDM_MENU_MANAGEFAVORITES, IDM_TOOLS_MANAGEFAVORITES, &frmMain::lblManageFavorites_Click},
        {IDM_MENU_IGNOREDFOLDERS, IDM_TOOLS_IGNOREDFOLDERS, &frmMain::mnuMenuIgnoredFolders_Click},
        {IDM_MENU_IMPORT, IDM_TOOLS_IMPORT, &frmMain::mnuMenuImport_Click},
        {IDM_MENU_OPTIONS, IDM_TOOLS_OPTIONS, &frmMain::mnuMenuOptions_Click},
        {IDM_MENU_HELPTOPICS, IDM_HELP_TOPICS, &frmMain::mnuMenuHelpTopics_Click},
        {IDM_MENU_FEEDBACK, IDM_HELP_FEEDBACK, &frmMain::mnuMenuFeedback_Click},
        {IDM_MENU_WEBSITE, IDM_HELP_WEBSITE, &frmMain::mnuMenuWebsite_Click},
        {IDM_MENU_CHECKFORUPDATES, IDM_HELP_CHECKFORUPDATES, &frmMain::mnuMenuCheckForUpdates_Click},
        {IDM_MENU_ABOUT, IDM_HELP_ABOUT, &frmMain::mnuMenuAbout_Click},
    };
    if (id == 0)
        return nullptr;
    for (const MenuCommand& command : kCommands) {
        if (command.buttonId == id || command.barId == id)
            return &command;
    }
    return nullptr;
}

void frmMain::LoadMenus() {
    HINSTANCE module = GetModuleHandleW(nullptr);
    menuBar_.Reset(LoadMenuW(module, MAKEINTRESOURCEW(IDM_MENUBAR)));
    buttonMenu_.Reset(LoadMenuW(module, MAKEINTRESOURCEW(IDM_BUTTONMENU)));
    for (UINT id = IDM_MENU_DETAILS; id <= IDM_HELP_ABOUT; ++id) {
        const MenuCommand* command = FindMenuCommand(id);
        if (command && !command->handler) {
            EnableMenuItem(menuBar_.Get(), id, MF_BYCOMMAND | MF_GRAYED);
            EnableMenuItem(buttonMenu_.Get(), id, MF_BYCOMMAND | MF_GRAYED);
        }
    }
}

// Exactly one of Details and Symbole is checked in both menus: the list's
// view.
void frmMain::CheckViewMenus() {
    const UINT details = bIconView_ ? MF_UNCHECKED : MF_CHECKED;
    const UINT icons = bIconView_ ? MF_CHECKED : MF_UNCHECKED;
    CheckMenuItem(buttonMenu_.Get(), IDM_MENU_DETAILS, MF_BYCOMMAND | details);
    CheckMenuItem(menuBar_.Get(), IDM_VIEW_DETAILS, MF_BYCOMMAND | details);
    CheckMenuItem(buttonMenu_.Get(), IDM_MENU_LARGEICONS, MF_BYCOMMAND | icons);
    CheckMenuItem(menuBar_.Get(), IDM_VIEW_LARGEICONS, MF_BYCOMMAND | icons);
}

// A bar entry runs the code of its button-menu twin. Options that need a
// fresh window have it loaded once the command is done.
bool frmMain::OnMenuCommand(UINT id) {
    const MenuCommand* command = FindMenuCommand(id);
    if (!command)
        return false;
    if (command->handler && Hwnd())
        (this->*command->handler)();
    if (bReloadMainWindow_ && Hwnd())
        UnloadSoon();
    return true;
}

// ---- The pop-up behaviour and the modal frame ----

// The window goes when the user clicks elsewhere; it is asked to go from
// inside its own activation, so the going follows by message.
LRESULT frmMain::Form_Activate(WPARAM, HWND other) {
    if (bMustIgnoreSearchBalloonTipClick_ && IsTooltipClass(other)) {
        // A click on the search tip balloon keeps the window once.
        bMustIgnoreSearchBalloonTipClick_ = false;
        return 0;
    }
    if (bFolderOpened_)
        return 0;  // the mouse-leave watch decides
    ExitBehavior exit = options_.exitBehavior;
    if (exit == ExitBehavior::Minimize || exit == ExitBehavior::StayThenMinimize) {
        PostMessageW(Hwnd(), kMinimizeSoon, 0, 0);
    } else if (exit != ExitBehavior::KeepOpen && !IsIconic(Hwnd())) {
        UnloadSoon();
    }
    return 0;
}

void frmMain::UnloadSoon() {
    // Posted: the caller may be a control's own procedure, which must not
    // see its window destroyed under it.
    if (Hwnd())
        PostMessageW(Hwnd(), kUnloadSoon, 0, 0);
}

// Around every window the main window opens: without its pop-up behaviour it
// stays when the new window takes the focus.
void frmMain::BeginModalFrame() {
    ++modalFrames_;
    popUpBehaviour_ = false;
    EndFolderOpenedHold();
}

void frmMain::EndModalFrame() {
    if (modalFrames_ > 0)
        --modalFrames_;
    popUpBehaviour_ = loaded_ && modalFrames_ == 0;
}

void frmMain::RunInModalFrame(ModalFrame kind, const std::function<void()>& show) {
    BeginModalFrame();
    const bool dialog = kind == ModalFrame::ProgramDialog;
    if (dialog)
        ChangeDropShadow(true);
    if (show)
        show();
    if (!Hwnd())
        return;
    if (dialog)
        ChangeDropShadow(false);
    EndModalFrame();
}

cDialogPresenter& frmMain::Presenter() const {
    cDialogPresenter* presenter = setup_.folderActionServices.presenter;
    return presenter ? *presenter : SystemDialogPresenter();
}

void frmMain::OpenAddress(HWND owner, const std::wstring& address) const {
    if (setup_.openAddress) {
        setup_.openAddress(owner, address);
        return;
    }
    // The default browser or mail program; a failure is not reported.
    ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// ---- The menu button and the menu bar ----

void frmMain::cmdShowMenu_MouseDown() {
    EndFolderOpenedHold();
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    POINT clientOrigin{0, 0};
    ClientToScreen(Hwnd(), &clientOrigin);
    MenuDropInput in;
    in.themed = look_.visualStyles;
    in.screenWidth = GetSystemMetrics(SM_CXSCREEN) * twips_.perPixelX;
    in.windowLeft = window.left * twips_.perPixelX;
    in.button = twips_.Place(cmdShowMenu_);
    MenuDrop drop = ButtonMenuDrop(in);

    ReleaseCapture();
    SendMessageW(cmdShowMenu_, BM_SETSTATE, TRUE, 0);
    UINT flags = TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_TOPALIGN | (drop.rightAligned ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    auto command =
        static_cast<UINT>(TrackPopupMenuEx(GetSubMenu(buttonMenu_.Get(), 0), flags, clientOrigin.x + twips_.PxX(drop.x),
                                           clientOrigin.y + twips_.PxY(drop.y), Hwnd(), nullptr));
    if (!Hwnd())
        return;
    SendMessageW(cmdShowMenu_, BM_SETSTATE, FALSE, 0);
    if (command != 0)
        OnMenuCommand(command);
}

void frmMain::ShowMenuBar() {
    if (GetFocus() == cmdShowMenu_)
        SetFocus(list_.ListHwnd());
    ShowWindow(cmdShowMenu_, SW_HIDE);
    SetMenu(Hwnd(), menuBar_.Get());
    Form_Resize();
}

void frmMain::HideMenuBar() {
    SetMenu(Hwnd(), nullptr);
    ShowWindow(cmdShowMenu_, SW_SHOW);
    Form_Resize();
}

void frmMain::mnuMenuShowMenubar_Click() {
    bMenuBarShown_ = true;
    WriteNumber(Setting::ShowMenuBar, 1);
    ShowMenuBar();
}

void frmMain::mnuViewHideMenuBar_Click() {
    WriteNumber(Setting::ShowMenuBar, 0);
    bMenuBarShown_ = false;
    bMenuBarShownForAlt_ = false;
    HideMenuBar();
}

// ---- Views ----

void frmMain::mnuMenuDetails_Click() {
    bIconView_ = false;
    CheckViewMenus();
    list_.View().SetRedraw(false);
    ReloadDetailsViewSettings(options_.listSize);
    WriteNumber(Setting::IconView, 0);
}

void frmMain::mnuMenuLargeIcons_Click() {
    bIconView_ = true;
    CheckViewMenus();
    WriteNumber(Setting::IconView, 1);
    list_.View().SetRedraw(false);
    list_.UseLargeIconView();
    tabOB_Click();  // the reload, which switches the redrawing on again
}

// ---- Windows, help, web page and mail ----

void frmMain::mnuMenuOptions_Click() {
    OptionsHost host;
    host.options = options_;
    host.largeIconView = bIconView_;
    host.watermarkShown = !list_.View().BackgroundPicture().empty();
    host.favoritesShown = lCurrentView_ == FolderView::Favorites;
    host.databasePath = HistoryPath();
    host.family = family_;
    host.look = look_;
    host.presenter = setup_.folderActionServices.presenter;
    host.reloadDetailsView = [this](ListSize size) {
        list_.View().SetRedraw(false);
        ReloadDetailsViewSettings(size);
    };
    host.showWatermark = [this](bool show) {
        if (show) {
            list_.View().SetBackgroundPicture(setup_.programFolder + L"\\watermark.png", 103, 91);
        } else {
            list_.View().ClearBackgroundPicture();
        }
    };
    host.reloadList = [this] { tabOB_Click(); };
    host.compressDatabase = [this] { CompressDatabase(); };
    frmOptions::Result result;
    RunInModalFrame(ModalFrame::ProgramDialog, [&host, &result, this] {
        frmOptions options(std::move(host));
        result = options.Show(Hwnd());
    });
    if (!result.saved)
        return;
    // What the window applies at once; the rest shows in a fresh one.
    options_.exitBehavior = result.options.exitBehavior;
    options_.listSize = result.options.listSize;
    options_.defaultOpenInExplorer = result.options.defaultOpenInExplorer;
    options_.reuseFolderWindows = result.options.reuseFolderWindows;
    options_.switchFileDialogs = result.options.switchFileDialogs;
    if (result.reloadMainWindow)
        bReloadMainWindow_ = true;
}

void frmMain::mnuMenuAbout_Click() {
    RunInModalFrame(ModalFrame::ProgramDialog, [this] {
        frmAbout about([this](HWND owner, const std::wstring& address) { OpenAddress(owner, address); }, look_);
        about.Show(Hwnd());
    });
}

// The help stays beside the window: the frame is not closed again, so the
// window does not go when the user turns to the help (until it is loaded
// anew).
void frmMain::mnuMenuHelpTopics_Click() {
    BeginModalFrame();
    ShowHelpTopic(Hwnd(), setup_.programFolder);
}

// The check takes the window out of its pop-up behaviour itself, from
// before it waits for the server until its notice is closed.
void frmMain::mnuMenuCheckForUpdates_Click() {
    CheckForUpdates(false);
}

void frmMain::mnuMenuWebsite_Click() {
    RunInModalFrame(ModalFrame::ShellOrMessage, [this] { OpenAddress(Hwnd(), PFADWERK_PRODUCT_PAGE); });
}

void frmMain::mnuMenuFeedback_Click() {
    RunInModalFrame(ModalFrame::ShellOrMessage, [this] {
        FeedbackWindows windows = FeedbackWindowsOf(family_, look_.visualStyles, look_.vistaThemed,
                                                    family_ == WindowsFamily::VistaOrLater && CompositionEnabled());
        std::wstring subject = FillPlaceholders(ResText(IDS_FEEDBACK_SUBJECT),
                                                {RevisionVersionText(), ResText(FeedbackWindowsTextId(windows))});
        Presenter().ShowMessageBox(Hwnd(), ResText(IDS_FEEDBACK_TEXT), ResText(IDS_CAPTION), MB_OK);
        if (!Hwnd())
            return;
        OpenAddress(nullptr, MailtoWithSubject(PFADWERK_SUPPORT_EMAIL, subject));
    });
}

}  // namespace pw
