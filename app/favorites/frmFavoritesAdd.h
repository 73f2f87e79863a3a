// frmFavoritesAdd: one favorite entered or changed (folder, display name,
// group). From the main window's list it stores the favorite itself; from
// the favorites manager it only checks the entry and leaves the rest to the
// manager.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "FolderPicker.h"
#include "Window.h"
#include "cTooltips.h"
#include "modTaskDialog.h"

namespace pw {

class frmFavoritesAdd final : public cDialog {
  public:
    // What the dialog needs of the favorites manager that opened it.
    struct ManagerLink {
        std::vector<std::wstring> groups;  // the manager's groups, in order
        std::wstring selectedGroup;        // group of the manager's selected entry ("" for none)
        std::function<void(const std::wstring& name)> CreateNewGroup;
    };

    // ---- Set by the caller before Show ----
    bool bAddFromMainWindow = false;
    std::wstring Caption;  // empty: "Ordnerfavoriten hinzufügen"
    std::wstring txtFolderPath;
    std::wstring txtFolderName;
    // The path last accepted: a path check that finds another folder gives
    // the favorite that folder's name.
    std::wstring sOldFolderPath;
    bool ShowAddTip = true;
    ManagerLink Manager;
    // Seams for the tests; null means the system's.
    cDialogPresenter* Presenter = nullptr;
    FolderPicker PickFolder;

    // IDOK when the favorite was accepted (and, from the main window,
    // stored); IDCANCEL otherwise.
    INT_PTR Show(HWND owner);
    // The same answer for a dialog made with CreateModeless (the tests).
    INT_PTR Result() const { return result_; }

    // ---- What OK leaves ----
    const std::wstring& FolderPath() const { return resultPath_; }
    const std::wstring& FolderName() const { return resultName_; }
    const std::wstring& GroupText() const { return resultGroup_; }

    // The combo's edit box and the tip label are subclassed.
    LRESULT OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Form_Load();
    void FillGroups();
    // The path check; false (after telling the user) when the text names no folder.
    bool txtFolderPath_Validate();
    void cmdBrowse_Click();
    bool cmbGroups_KeyPress(wchar_t key);
    void cmdOK_Click();
    void ShowAddTipNow(bool show);
    int MessageBox(const std::wstring& text, UINT style);
    std::vector<std::wstring> ComboEntries() const;
    std::vector<std::wstring> UserGroups() const;

    cTooltips tooltip_;
    bool tipShown_ = false;
    bool checking_ = false;
    std::wstring checkedText_;  // the path box text the last passed check left
    std::wstring resultPath_, resultName_, resultGroup_;
    INT_PTR result_ = IDCANCEL;
};

}  // namespace pw
