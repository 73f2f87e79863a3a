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

class frmIgnoreEntry : public cDialog {
  public:
    // What Show returns besides IDOK and IDCANCEL: the user clicked "Alle
    // ignorierten Ordner" and wants the ignore manager instead.
    static constexpr INT_PTR kGotoIgnoredFolders = 100;

    // Set before showing: the main window's "Immer ignorieren..." shows the
    // link to the ignore manager.
    bool bAddFromMainWindow = false;
    // The entry the dialog opens with (its form picks the option) and, when
    // not empty, the caption instead of "Ordner ignorieren".
    IgnoreEntry initialEntry;
    std::wstring caption;
    // The folder browser; tests put in their own.
    FolderPicker browseForFolder = &BrowseForFolder;

    // The results of OK: the entry in stored form and its display text.
    std::wstring sIgnoreSQLString;
    std::wstring sIgnorePlainText;

    // Modal, 300 twips right of and below the owner's top left corner.
    // IDOK, IDCANCEL or kGotoIgnoredFolders.
    INT_PTR Show(HWND owner);

    // The handlers, named after what they handle.
    void optIgnoreFolder_Click();
    void optIgnoreString_Click();
    void cmdBrowse_Click();
    void cmdOK_Click();
    void lblManageIgnoreList_Click();
    cLinkLabel& lblManageIgnoreList() { return lblManageIgnoreList_; }

  protected:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Form_Load();
    void LowerCaseText(HWND edit);
    void FocusAtEnd(HWND edit);

    cLinkLabel lblManageIgnoreList_;
    bool lowering_ = false;
};

// The texts the ignore manager lists, from the program's string table.
IgnoreDisplayPatterns IgnoreDisplayPatternsFromResources();

// Moves a dialog to its owner's top left corner plus 300 twips each way.
void PlaceBesideOwner(HWND dialog, HWND owner);

}  // namespace pw
