// "Ordner ignorieren": one entry of the ignore list in one of its three
// forms, turned into its stored form and the text the ignore manager lists.
// Used by the ignore manager and by the main window's "Immer ignorieren...".
#pragma once
#include <windows.h>

#include <string>

#include "FolderPicker.h"
#include "IgnoreList.h"
#include "LinkLabel.h"
#include "Window.h"

namespace pw {

struct IgnoreEntryRequest {
    // The main window's "Immer ignorieren...": the link to the ignore
    // manager shows.
    bool fromMainWindow = false;
    // The entry the dialog opens with (its form picks the option) and, when
    // not empty, the caption instead of "Ordner ignorieren".
    IgnoreEntry entry;
    std::wstring caption;
    // The folder browser; tests put in their own.
    FolderPicker browseForFolder = &BrowseForFolder;
};

struct IgnoreEntryResult {
    // ManageIgnoreList: the user clicked "Alle ignorierten Ordner" and wants
    // the ignore manager instead.
    enum class Choice { Ok, Cancel, ManageIgnoreList } choice = Choice::Cancel;
    // With Ok: the entry in stored form and its display text.
    std::wstring storedForm;
    std::wstring displayText;
};

class frmIgnoreEntry : public cDialog {
  public:
    // Modal, 300 twips right of and below the owner's top left corner.
    IgnoreEntryResult Show(HWND owner, const IgnoreEntryRequest& request);

  protected:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    static constexpr INT_PTR kManageIgnoreList = 100;  // ends the dialog

    void optIgnoreFolder_Click();
    void optIgnoreString_Click();
    void cmdBrowse_Click();
    void cmdOK_Click();
    void lblManageIgnoreList_Click();
    void Form_Load();
    void LowerCaseText(HWND edit);
    void FocusAtEnd(HWND edit);

    IgnoreEntryRequest request_;
    IgnoreEntryResult result_;
    cLinkLabel lblManageIgnoreList_;
    bool lowering_ = false;
};

// The texts the ignore manager lists, from the program's string table.
IgnoreDisplayPatterns IgnoreDisplayPatternsFromResources();

// Moves a dialog to its owner's top left corner plus 300 twips each way.
void PlaceBesideOwner(HWND dialog, HWND owner);

}  // namespace pw
