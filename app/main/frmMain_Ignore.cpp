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
    frmIgnoreEntry entry;
    entry.bAddFromMainWindow = true;
    entry.initialEntry = {IgnoreForm::Folder, sActionFolderPath_};  // the box lower-cases it
    INT_PTR result = IDCANCEL;
    RunInModalFrame(ModalFrame::ProgramDialog, [&] { result = entry.Show(Hwnd()); });
    if (!Hwnd())
        return;
    if (result == IDOK) {
        // The new entry goes at the end; the same folder twice does no harm.
        AppendIgnoreEntry(entry.sIgnoreSQLString);
        sIgnoreFilter_ = BuildIgnoreStringSQL();
        RefillFolderList(false);
    } else if (result == frmIgnoreEntry::kGotoIgnoredFolders) {
        mnuMenuIgnoredFolders_Click();
    }
}

void frmMain::mnuMenuIgnoredFolders_Click() {
    frmIgnoreManager manager;
    manager.presenter = &Presenter();
    INT_PTR result = IDCANCEL;
    RunInModalFrame(ModalFrame::ProgramDialog, [&] { result = manager.Show(Hwnd()); });
    if (!Hwnd() || result != IDOK)
        return;
    sIgnoreFilter_ = BuildIgnoreStringSQL();
    // The favorites are never filtered.
    if (lCurrentView_ != FolderView::Favorites)
        RefillFolderList(false);
}

}  // namespace pw
