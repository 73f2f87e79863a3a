// The list's context menu and the folder actions behind it, with the main
// window plugged into them, and the frame around every window the main
// window opens while it is up.
#include "AppFlags.h"
#include "FolderActions.h"
#include "ResText.h"
#include "app_res.h"
#include "frmMain.h"

namespace pw {
namespace {

enum PopUpFolderCommand : UINT {
    mnuPopUpFolderExplorer = 1001,
    mnuPopUpFolderOpenExisting,
    mnuPopUpFolderCopyPath,
    mnuPopUpFolderRemove,
    mnuPopupProperties,
};

}  // namespace

FolderActionHost frmMain::ActionHost() {
    FolderActionHost host;
    host.window = hwnd_;
    host.options = {bOptions_DefaultOpenInExplorer, bOptions_ReuseFolderWindows, bOptions_ExitBehavior};
    host.setFolderOpened = [this](bool on) { bFolderOpened = on; };
    host.makeTopmost = [this] {
        SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    host.enableMouseLeaveWatch = [this] { EnableMouseLeaveWatch(); };
    host.minimize = [this] { MinimizeAfterOpen(); };
    host.hideAndUnload = [this] {
        ShowWindow(hwnd_, SW_HIDE);
        UnloadSoon();
    };
    host.unloadAfterMenu = [this] { Tag = L"UNLOAD_NOW"; };
    host.reloadList = [this] { tabOB_Click(); };
    host.prepareModal = [this] { BeginModalFrame(); };
    host.restoreModal = [this] { EndModalFrame(); };
    return host;
}

FolderActionServices frmMain::ActionServices() const {
    FolderActionServices services = folderActionServices;
    if (services.databasePath.empty()) services.databasePath = options_.databasePath;
    if (services.programFolder.empty()) services.programFolder = options_.programFolder;
    return services;
}

void frmMain::BeginModalFrame() {
    RemoveHook();
    if (tmrMouseLeaveCheckerEnabled_) {
        DisableMouseLeaveWatch();
        bFolderOpened = false;
        SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void frmMain::EndModalFrame() { InstallHook(); }

void frmMain::OpenFolder(const std::wstring& path, bool bInvertOpenMode, bool bInvertReuse) {
    pw::OpenFolder(ActionHost(), path, bInvertOpenMode, bInvertReuse, ActionServices());
}

HMENU frmMain::BuildPopUpFolderMenu(int versionClass) const {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    auto add = [menu](UINT id, const std::wstring& caption) { AppendMenuW(menu, MF_STRING, id, caption.c_str()); };
    auto separator = [menu] { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); };
    // Vista and later have one kind of folder window only.
    if (versionClass != 2) add(mnuPopUpFolderExplorer, ExplorerMenuCaption(bOptions_DefaultOpenInExplorer));
    add(mnuPopUpFolderOpenExisting, OpenExistingMenuCaption(bOptions_ReuseFolderWindows));
    separator();  // mnuPopUpSeparatorTop
    add(mnuPopUpFolderCopyPath, ResText(IDS_MENU_COPYPATH));
    // A favorite is no entry of the history: it can be neither removed nor ignored.
    if (lCurrentView != 3) {
        separator();  // mnuPopupFolderSeparator
        add(mnuPopUpFolderRemove, ResText(IDS_MENU_REMOVE));
    }
    separator();  // mnuPopupSeparator2
    add(mnuPopupProperties, ResText(IDS_MENU_PROPERTIES));
    return menu;
}

void frmMain::lvwFolders_ItemRightClick(int index) {
    sActionFolderPath = lvwFolders.ItemTag(index);
    if (sActionFolderPath.empty()) return;
    HMENU menu = BuildPopUpFolderMenu(versionClass_);
    if (!menu) return;
    // The menu is a window of its own: the pointer on it has not left the
    // main window.
    bool watching = tmrMouseLeaveCheckerEnabled_;
    if (watching) DisableMouseLeaveWatch();
    POINT p{};
    GetCursorPos(&p);
    SetForegroundWindow(hwnd_);
    auto command = static_cast<UINT>(
        TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, p.x, p.y, hwnd_, nullptr));
    DestroyMenu(menu);
    if (!hwnd_) return;
    if (watching) EnableMouseLeaveWatch();
    RunPopUpFolderCommand(command);
    if (hwnd_ && Tag == L"UNLOAD_NOW") {
        Tag.clear();
        UnloadSoon();
    }
}

void frmMain::RunPopUpFolderCommand(UINT command) {
    switch (command) {
        case mnuPopUpFolderExplorer:
            mnuPopUpFolderExplorer_Click();
            break;
        case mnuPopUpFolderOpenExisting:
            mnuPopUpFolderOpenExisting_Click();
            break;
        case mnuPopUpFolderCopyPath:
            mnuPopUpFolderCopyPath_Click();
            break;
        case mnuPopUpFolderRemove:
            mnuPopUpFolderRemove_Click();
            break;
        case mnuPopupProperties:
            mnuPopupProperties_Click();
            break;
        default:
            break;
    }
}

void frmMain::mnuPopUpFolderExplorer_Click() {
    OpenRequest request = ExplorerMenuRequest(bOptions_ReuseFolderWindows);
    OpenFolder(sActionFolderPath, request.invertOpenMode, request.invertReuse);
}

void frmMain::mnuPopUpFolderOpenExisting_Click() {
    OpenRequest request = OpenExistingMenuRequest();
    OpenFolder(sActionFolderPath, request.invertOpenMode, request.invertReuse);
}

void frmMain::mnuPopUpFolderCopyPath_Click() {
    // The notice names the folder as the list shows it.
    int index = lvwFolders.FirstSelected();
    if (index < 0 || lvwFolders.ItemTag(index) != sActionFolderPath) {
        index = -1;
        for (int i = 0; i < lvwFolders.ItemCount() && index < 0; ++i) {
            if (lvwFolders.ItemTag(i) == sActionFolderPath) index = i;
        }
    }
    std::wstring name = index >= 0 ? lvwFolders.ItemText(index) : sActionFolderPath;
    CopyFolderPath(ActionHost(), sActionFolderPath, name, ActionServices());
}

void frmMain::mnuPopUpFolderRemove_Click() { RemoveFolderFromHistory(ActionHost(), sActionFolderPath, ActionServices()); }

void frmMain::mnuPopupProperties_Click() { RequestFolderProperties(ActionHost(), sActionFolderPath, ActionServices()); }

}  // namespace pw
