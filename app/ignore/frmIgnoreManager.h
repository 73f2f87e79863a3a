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

// The message boxes and the entry dialogs' folder browser; tests put in
// their own.
struct IgnoreManagerRequest {
    cDialogPresenter* presenter = &SystemDialogPresenter();
    FolderPicker browseForFolder = &BrowseForFolder;
};

enum class IgnoreManagerResult { Saved, Cancelled };

class frmIgnoreManager : public cDialog {
  public:
    frmIgnoreManager() = default;
    ~frmIgnoreManager() override;

    // Modal, over the middle of the owner. Saved when OK wrote the list.
    IgnoreManagerResult Show(HWND owner, const IgnoreManagerRequest& request = {});

    // The list as it stands while the dialog is open.
    const cListView& List() const { return lvwIgnoredFolders_; }

  protected:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void cmdAdd_Click();
    void cmdModify_Click();
    void cmdRemove_Click();
    void cmdOK_Click();
    void Form_Load();
    void Form_Paint();
    void CreateList();
    void EnableEntryButtons(bool on);
    void SelectOnly(int index);

    IgnoreManagerRequest request_;
    cListView lvwIgnoredFolders_;
    IgnoreDisplayPatterns patterns_;
    long nextKey_ = 0;
    cIcon headerIcon_, listIcon_;
    cImageList images_;
    int dpi_ = 96;
};

}  // namespace pw
