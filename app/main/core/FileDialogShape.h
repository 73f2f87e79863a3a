// Whether a window that waited in front when the hot key was pressed is an
// Open or Save dialog Pfadwerk can take to a folder, and which of its
// controls to use: read from the window's control tree (class names and
// control ids) alone, so every dialog shape is written down and tested
// natively.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// One window of a dialog's control tree, children in z order as the system
// lists them.
struct DialogNode {
    std::wstring className;
    int id = 0;  // the control id (GWLP_ID)
    bool visible = true;
    std::vector<DialogNode> children;
};

// Where a control sits below the dialog: a child index per level, from the
// dialog down. Empty: the dialog itself.
using ControlPath = std::vector<size_t>;

enum class FileDialogStyle {
    None,        // no file dialog Pfadwerk drives: the pick opens Explorer
    Classic,     // the common dialog of GetOpenFileName / GetSaveFileName
    ItemDialog,  // the IFileDialog of Vista and later
};

struct FileDialogPlan {
    FileDialogStyle style = FileDialogStyle::None;
    ControlPath fileName;  // the edit box the typed name lives in
    ControlPath okButton;  // the button with id 1
    // A control whose text names the folder shown (the address band's edit,
    // the "Suchen in" box), so that a folder change shows even where the
    // dialog leaves the typed text in place; empty when the dialog has none.
    ControlPath folderShown;

    bool Drivable() const { return style != FileDialogStyle::None; }
};

// Control ids the common dialogs have kept since Windows 95.
constexpr int kOkButtonId = 1;           // IDOK
constexpr int kFileNameComboId = 0x47C;  // cmb13
constexpr int kFileNameEditId = 0x480;   // edt1, older templates and Wine
constexpr int kComboEditId = 0x3E9;      // the edit inside a combo box
constexpr int kFileTypeComboId = 0x470;  // cmb1
constexpr int kLookInComboId = 0x471;    // cmb2

FileDialogPlan PlanFileDialog(const DialogNode& dialog);

// The node at path, or null when the tree has no such place.
const DialogNode* NodeAt(const DialogNode& root, const ControlPath& path);

// What goes into the file-name box to take the dialog to folder: the path
// with exactly one backslash at its end, which every file dialog reads as
// "go there" rather than as a file name to open or to save as.
std::wstring FolderJumpText(std::wstring_view folder);

}  // namespace pw
