// The ignore list's commands of the main window: "Immer ignorieren..." on an
// entry of the list, and "Ignorierte Ordner" of the menus. Both change the
// stored list, and the lists follow at once.
#include "IgnoreStore.h"
#include "frmIgnoreEntry.h"
#include "frmIgnoreManager.h"
#include "frmMain.h"
#include "modTaskDialog.h"

namespace pw {

void frmMain::mnuPopUpFolderIgnore_Click() {
    if (sActionFolderPath_.empty())
        return;
    if (IgnoreListFull(sIgnoreFilter_)) {
        RunInModalFrame(ModalFrame::ShellOrMessage, [this] { ShowIgnoreListFull(Hwnd(), Presenter()); });
        return;
    }
    IgnoreEntryRequest request;
    request.fromMainWindow = true;
    request.entry = {IgnoreForm::Folder, sActionFolderPath_};  // the box lower-cases it
    IgnoreEntryResult result;
    RunInModalFrame(ModalFrame::ProgramDialog, [&] { result = frmIgnoreEntry().Show(Hwnd(), request); });
    if (!Hwnd())
        return;
    if (result.choice == IgnoreEntryResult::Choice::Ok) {
        // The new entry goes at the end; the same folder twice does no harm.
        AppendIgnoreEntry(result.storedForm);
        sIgnoreFilter_ = BuildIgnoreStringSQL();
        RefillFolderList(false);
    } else if (result.choice == IgnoreEntryResult::Choice::ManageIgnoreList) {
        mnuMenuIgnoredFolders_Click();
    }
}

void frmMain::mnuMenuIgnoredFolders_Click() {
    IgnoreManagerRequest request;
    request.presenter = &Presenter();
    IgnoreManagerResult result = IgnoreManagerResult::Cancelled;
    RunInModalFrame(ModalFrame::ProgramDialog, [&] { result = frmIgnoreManager().Show(Hwnd(), request); });
    if (!Hwnd() || result != IgnoreManagerResult::Saved)
        return;
    sIgnoreFilter_ = BuildIgnoreStringSQL();
    // The favorites are never filtered.
    if (lCurrentView_ != FolderView::Favorites)
        RefillFolderList(false);
}

}  // namespace pw
