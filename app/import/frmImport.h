// "Verlauf aus Windows übernehmen": the folders Windows remembers and Pfadwerk
// does not know yet, each with its source and date, to be ticked and taken
// over as one visit each. OK imports the ticked ones in one transaction;
// Cancel (also during the import) leaves the history as it was.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Database.h"
#include "FoundFolders.h"
#include "HistoryFiles.h"
#include "HistoryQueries.h"
#include "Window.h"
#include "modTaskDialog.h"

namespace pw {

struct ImportRequest {
    HWND owner = nullptr;  // none: the dialog stands alone, with a taskbar button
    HistoryFiles history = UserHistoryFiles();
    // Where the folders come from and what the system says of them; tests
    // put in their own.
    std::function<std::vector<FoundFolder>()> findFolders;    // default: ReadWindowsHistory
    std::function<bool(const std::wstring&)> isNetwork;       // default: a share or a network drive
    std::function<bool(const std::wstring&)> isFolder;        // default: there now, and a folder
    std::function<std::wstring(const std::wstring&)> nameOf;  // default: the shell's display name
    cDialogPresenter* presenter = &SystemDialogPresenter();
};

struct ImportResult {
    bool imported = false;  // OK took the ticked folders over
    long added = 0;         // visits written
};

class frmImport final : public cDialog {
  public:
    frmImport() = default;
    ImportResult Show(const ImportRequest& request);

  protected:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    struct Entry {
        ImportCandidate candidate;
        bool ticked = true;
    };
    enum : UINT { WM_FIND_FOLDERS = WM_APP + 1, WM_IMPORT_STEP };

    void Form_Load();
    void FindFolders();
    void chkNetwork_Click();
    void cmdAll_Click(bool ticked);
    void cmdOK_Click();
    void cmdCancel_Click();
    void ImportStep();
    void FinishImport();
    void FailImport();
    LRESULT OnNotify(NMHDR* header);
    void GetDisplayInfo(NMLVDISPINFOW* info);
    void Toggle(int index);
    void SortBy(int column, bool toggle);
    void ShowEntries();
    void ShowCounts();
    void EnableInput(bool on);
    HWND List() const;
    FolderChecks Checks() const;

    ImportRequest request_;
    ImportResult result_;
    std::vector<Entry> entries_;
    std::vector<ImportCandidate> network_;
    bool networkChecked_ = false;
    bool found_ = false;
    int sortColumn_ = 2;
    bool sortDescending_ = true;
    std::wstring sourceNames_[std::size(kAllFolderSources)];
    std::wstring cell_;  // the text handed to the list last

    // The import under way.
    std::unique_ptr<cDatabase> db_;
    std::unique_ptr<cVisitImport> import_;
    std::vector<TimedVisit> visits_;
    size_t nextVisit_ = 0;
    std::chrono::steady_clock::time_point importStart_;
};

// The dialog's default checks of the system.
bool IsNetworkFolder(const std::wstring& path);
// The same, asked once per drive.
std::function<bool(const std::wstring&)> NetworkFolderTest();
bool IsExistingFolder(const std::wstring& path);
std::wstring FolderDisplayName(const std::wstring& path);

}  // namespace pw
