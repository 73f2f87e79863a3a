// The list's context menu and the folder actions behind it, with the main
// window plugged into them, and the frame around every window the main
// window opens while it is up.
#include "FolderActions.h"
#include "MainControls.h"
#include "ResText.h"
#include "app_res.h"
#include "favorites_res.h"
#include "ignore_res.h"
#include "frmMain.h"

namespace pw {

HMENU BuildPopUpFolderMenu(const PopUpFolderMenuState& state) {
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    auto add = [menu](UINT id, const std::wstring& caption) { AppendMenuW(menu, MF_STRING, id, caption.c_str()); };
    auto separator = [menu] { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); };
    // Vista and later have one kind of folder window only.
    if (state.family != WindowsFamily::VistaOrLater) {
        add(cmd::mnuPopUpFolderExplorer,
            ResText(state.defaultOpenInExplorer ? IDS_MENU_PLAIN_WINDOW : IDS_MENU_EXPLORER));
    }
    add(cmd::mnuPopUpFolderOpenExisting,
        ResText(state.reuseFolderWindows ? IDS_MENU_OPEN_NEW : IDS_MENU_OPEN_EXISTING));
    separator();  // mnuPopUpSeparatorTop
    add(cmd::mnuPopUpFolderCopyPath, ResText(IDS_MENU_COPYPATH));
    // A favorite is no entry of the history: it can be neither added again,
    // nor removed, nor ignored.
    if (state.view != FolderView::Favorites) {
        add(cmd::mnuPopUpFolderAddToFavorites, ResText(IDS_FAV_MENU_ADD));
        separator();  // mnuPopupFolderSeparator
        add(cmd::mnuPopUpFolderRemove, ResText(IDS_MENU_REMOVE));
        add(cmd::mnuPopUpFolderIgnore, ResText(IDS_MENU_IGNORE));
    }
    separator();  // mnuPopupSeparator2
    add(cmd::mnuPopupProperties, ResText(IDS_MENU_PROPERTIES));
    return menu;
}

FolderActionHost frmMain::ActionHost() {
    FolderActionHost host;
    host.window = Hwnd();
    host.options = {options_.defaultOpenInExplorer, options_.reuseFolderWindows, options_.exitBehavior};
    host.setFolderOpened = [this](bool on) { bFolderOpened_ = on; };
    host.makeTopmost = [this] {
        SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    host.enableMouseLeaveWatch = [this] { EnableMouseLeaveWatch(); };
    host.minimize = [this] { MinimizeAfterOpen(); };
    host.hideAndUnload = [this] {
        ShowWindow(Hwnd(), SW_HIDE);
        UnloadSoon();
    };
    // Posted: the window goes once the command that asked is done.
    host.unloadAfterMenu = [this] { UnloadSoon(); };
    host.reloadList = [this] { tabOB_Click(); };
    host.prepareModal = [this] { BeginModalFrame(); };
    host.restoreModal = [this] { EndModalFrame(); };
    return host;
}

FolderActionServices frmMain::ActionServices() const {
    FolderActionServices services = setup_.folderActionServices;
    if (services.databasePath.empty())
        services.databasePath = setup_.databasePath;
    if (services.programFolder.empty())
        services.programFolder = setup_.programFolder;
    return services;
}

void frmMain::OpenFolder(const std::wstring& path, bool bInvertOpenMode, bool bInvertReuse) {
    if (JumpDialogTo(path))
        return;
    pw::OpenFolder(ActionHost(), path, bInvertOpenMode, bInvertReuse, ActionServices());
}

void frmMain::lvwFolders_ItemRightClick(int index) {
    const FolderRow* row = list_.RowOf(index);
    if (!row || row->path.empty())
        return;
    sActionFolderPath_ = row->path;
    HMENU menu =
        BuildPopUpFolderMenu({family_, options_.defaultOpenInExplorer, options_.reuseFolderWindows, lCurrentView_});
    if (!menu)
        return;
    // The menu is a window of its own: the pointer on it has not left the
    // main window.
    bool watching = tmrMouseLeaveCheckerEnabled_;
    if (watching)
        DisableMouseLeaveWatch();
    POINT p{};
    GetCursorPos(&p);
    SetForegroundWindow(Hwnd());
    auto command = static_cast<UINT>(TrackPopupMenuEx(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, Hwnd(), nullptr));
    DestroyMenu(menu);
    if (!Hwnd())
        return;
    if (watching)
        EnableMouseLeaveWatch();
    if (command != 0)
        OnCommand(command);
}

// The menu's commands, on the entry of the last click or key (the context
// menu's own, and the menu bar's later on).
void frmMain::OnCommand(UINT command) {
    switch (command) {
        case cmd::mnuPopUpFolderExplorer:
            mnuPopUpFolderExplorer_Click();
            break;
        case cmd::mnuPopUpFolderOpenExisting:
            mnuPopUpFolderOpenExisting_Click();
            break;
        case cmd::mnuPopUpFolderCopyPath:
            mnuPopUpFolderCopyPath_Click();
            break;
        case cmd::mnuPopUpFolderAddToFavorites:
            mnuPopUpFolderAddToFavorites_Click();
            break;
        case cmd::mnuPopUpFolderRemove:
            mnuPopUpFolderRemove_Click();
            break;
        case cmd::mnuPopupProperties:
            mnuPopupProperties_Click();
            break;
        case cmd::mnuPopUpFolderIgnore:
            mnuPopUpFolderIgnore_Click();
            break;
        default:
            return;
    }
}

void frmMain::mnuPopUpFolderExplorer_Click() {
    if (sActionFolderPath_.empty())
        return;
    OpenRequest request = ExplorerMenuRequest(options_.reuseFolderWindows);
    OpenFolder(sActionFolderPath_, request.invertOpenMode, request.invertReuse);
}

void frmMain::mnuPopUpFolderOpenExisting_Click() {
    if (sActionFolderPath_.empty())
        return;
    OpenRequest request = OpenExistingMenuRequest();
    OpenFolder(sActionFolderPath_, request.invertOpenMode, request.invertReuse);
}

void frmMain::mnuPopUpFolderCopyPath_Click() {
    if (sActionFolderPath_.empty())
        return;
    // The notice names the folder as the list shows it: the selected entry
    // if it is this folder, else the first entry of it.
    const cListView& view = list_.View();
    int index = view.FirstSelected();
    const FolderRow* row = list_.RowOf(index);
    if (!row || row->path != sActionFolderPath_) {
        row = nullptr;
        for (int i = 0; i < list_.EntryCount() && !row; ++i) {
            const FolderRow* candidate = list_.RowOf(i);
            if (candidate && candidate->path == sActionFolderPath_)
                row = candidate;
        }
    }
    std::wstring name = row ? row->name : sActionFolderPath_;
    CopyFolderPath(ActionHost(), sActionFolderPath_, name, ActionServices());
}

void frmMain::mnuPopUpFolderRemove_Click() {
    if (sActionFolderPath_.empty())
        return;
    RemoveFolderFromHistory(ActionHost(), sActionFolderPath_, ActionServices());
}

void frmMain::mnuPopupProperties_Click() {
    if (sActionFolderPath_.empty())
        return;
    RequestFolderProperties(ActionHost(), sActionFolderPath_, ActionServices());
}

}  // namespace pw
