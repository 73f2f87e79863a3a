// "Ignorierte Ordner": every entry of the ignore list, to be added, changed
// and removed. The list lives in the window until OK writes it back to
// "IgnoreStrings"; Cancel leaves the stored list as it was.
#pragma once
#include <windows.h>

#include <string>

#include "FolderPicker.h"
#include "Handles.h"
#include "IgnoreList.h"
#include "Window.h"
#include "cListView.h"
#include "modTaskDialog.h"

namespace pw {

class frmIgnoreManager : public cDialog {
  public:
    frmIgnoreManager() = default;
    ~frmIgnoreManager() override;

    // The message boxes and the entry dialogs' folder browser; tests put in
    // their own.
    cDialogPresenter* presenter = &SystemDialogPresenter();
    FolderPicker browseForFolder = &BrowseForFolder;
    // Modal, over the middle of the owner. IDOK when OK wrote the list.
    INT_PTR Show(HWND owner);

    cListView lvwIgnoredFolders;

    // The handlers, named after what they handle.
    void cmdAdd_Click();
    void cmdModify_Click();
    void cmdRemove_Click();
    void cmdOK_Click();

  protected:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Form_Load();
    void Form_Paint();
    void CreateList();
    void EnableEntryButtons(bool on);
    void SelectOnly(int index);

    IgnoreDisplayPatterns patterns_;
    long nextKey_ = 0;
    cIcon headerIcon_, listIcon_;
    HIMAGELIST images_ = nullptr;
    int dpi_ = 96;
};

}  // namespace pw
