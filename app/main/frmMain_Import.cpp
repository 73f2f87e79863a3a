// "Verlauf aus Windows übernehmen..." of the menus: the folders Windows
// remembers, taken over into the history the lists read, which follow at once.
#include "HistoryFiles.h"
#include "frmImport.h"
#include "frmMain.h"

namespace pw {

void frmMain::mnuMenuImport_Click() {
    ImportRequest request;
    request.owner = Hwnd();
    request.history = HistoryFilesAt(HistoryPath(), setup_.programFolder);
    request.presenter = &Presenter();
    ImportResult result;
    RunInModalFrame(ModalFrame::ProgramDialog, [&] { result = frmImport().Show(request); });
    if (Hwnd() && result.added > 0 && lCurrentView_ != FolderView::Favorites)
        RefillFolderList(false);
}

}  // namespace pw
