// Control ids of the main window and its parts, each unique in the window's
// tree, named as the design names the controls.
#pragma once
#include <windows.h>

namespace pw::ctl {

enum : UINT {
    tabOB = 100,
    picHost,
    lvwFolders,
    picFindHost,
    txtFind,
    imgFind,
    imgFindCancel,
    cmbMostUsedTimeframe,
    picManageFavoritesHost,
    lblManageFavorites,
    cmdShowMenu,
    picMessagePane,
    lblMessageHeader,
    lblMessage,
    lblMessageTip,
    imgMessageTip,
    imgMessageLine,
    imgMessageNothingFound,
};

}  // namespace pw::ctl

namespace pw::cmd {

// Commands of the list's context menu mnuPopUpFolder.
enum : UINT {
    mnuPopUpFolderExplorer = 1001,
    mnuPopUpFolderOpenExisting,
    mnuPopUpFolderCopyPath,
    mnuPopUpFolderRemove,
    mnuPopupProperties,
    mnuPopUpFolderIgnore,
    mnuPopUpFolderAddToFavorites,
};

}  // namespace pw::cmd
