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

// Why the dialog opens: this sets its caption, whether it stores the
// favorite itself, and whether the tip about adding shows.
enum class FavoriteEntryPurpose {
    AddFromList,  // the main window's list: stores the favorite on OK
    Add,          // the favorites manager's "Hinzufügen"
    Change,       // the favorites manager's "Ändern": Browse remembers no start
};

struct FavoriteEntryRequest {
    // What the dialog needs of the favorites manager that opened it.
    struct ManagerLink {
        std::vector<std::wstring> groups;  // the manager's groups, in order
        std::wstring selectedGroup;        // group of the manager's selected entry ("" for none)
        std::function<void(const std::wstring& name)> CreateNewGroup;
    };

    FavoriteEntryPurpose purpose = FavoriteEntryPurpose::Add;
    std::wstring folderPath;
    std::wstring folderName;
    ManagerLink manager;
    // Seams for the tests; null means the system's.
    cDialogPresenter* presenter = nullptr;
    FolderPicker pickFolder;
};

struct FavoriteEntryResult {
    bool accepted = false;  // OK (and, from the main window, stored)
    std::wstring folderPath;
    std::wstring folderName;
    std::wstring groupText;  // as typed or chosen in the group box
};

class frmFavoritesAdd final : public cDialog {
  public:
    FavoriteEntryResult Show(HWND owner, const FavoriteEntryRequest& request);
    // The same dialog modeless, for the tests; Result() then tells how it ended.
    bool CreateModeless(HWND owner, const FavoriteEntryRequest& request);
    const FavoriteEntryResult& Result() const { return result_; }

    // The combo's edit box and the tip label are subclassed.
    LRESULT OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Begin(const FavoriteEntryRequest& request);
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
    // The path last accepted: a path check that finds another folder gives
    // the favorite that folder's name.
    std::wstring oldFolderPath_;
    FavoriteEntryRequest request_;
    FavoriteEntryResult result_;
};

}  // namespace pw
