// The favorites in the main window: the favorites view filled from the
// store, "Zu Ordnerfavoriten hinzufügen..." on an entry of a history list,
// and the favorites manager behind the link and the menus.
#include "FavoritesStore.h"
#include "RedrawHold.h"
#include "frmFavoritesAdd.h"
#include "frmFavoritesManager.h"
#include "frmMain.h"

namespace pw {

void frmMain::FillFavoritesList() {
    if (!Hwnd() || lCurrentView_ != FolderView::Favorites)
        return;
    int added = 0;
    {
        cRedrawHold hold(Hwnd());
        added = list_.FillFavorites(ReadFavorites());
    }
    if (added > 0) {
        messagePane_.Hide();
        SetFocus(list_.ListHwnd());
    } else {
        ShowMessagePane();
    }
}

void frmMain::mnuPopUpFolderAddToFavorites_Click() {
    if (sActionFolderPath_.empty())
        return;
    // The folder as the list names it: the selected entry if it is this
    // folder, else the first entry of it.
    std::wstring name = sActionFolderPath_;
    const FolderRow* selected = list_.RowOf(list_.View().FirstSelected());
    if (selected && selected->path == sActionFolderPath_) {
        name = selected->name;
    } else {
        for (int i = 0; i < list_.EntryCount(); ++i) {
            const FolderRow* row = list_.RowOf(i);
            if (row && row->path == sActionFolderPath_) {
                name = row->name;
                break;
            }
        }
    }
    RunInModalFrame(ModalFrame::ProgramDialog, [&] {
        FavoriteEntryRequest request;
        request.purpose = FavoriteEntryPurpose::AddFromList;
        request.folderPath = sActionFolderPath_;
        request.folderName = name;
        request.presenter = &Presenter();
        frmFavoritesAdd().Show(Hwnd(), request);
    });
}

void frmMain::ManageFavoritesClicked() {
    lblManageFavorites_Click();
}

void frmMain::lblManageFavorites_Click() {
    RunInModalFrame(ModalFrame::ProgramDialog, [&] { frmFavoritesManager(&Presenter()).Show(Hwnd()); });
    // Whatever the manager ended with: the view shows what is stored.
    if (Hwnd() && lCurrentView_ == FolderView::Favorites)
        FillFavoritesList();
}

}  // namespace pw
