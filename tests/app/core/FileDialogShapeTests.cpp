// The control trees of the Open and Save dialogs as the systems build them
// (Wine's recorded from its running dialogs by the tests' FileDialogHost,
// Windows' as their templates and the item dialog's sinks are known to nest),
// and of dialogs that must be left alone.
#include <gtest/gtest.h>

#include "FileDialogShape.h"

namespace pw {
namespace {

DialogNode N(const wchar_t* className, int id = 0, std::vector<DialogNode> children = {}) {
    return {className, id, true, std::move(children)};
}
DialogNode Hidden(DialogNode node) {
    node.visible = false;
    return node;
}

// Classic Explorer-style dialog of Windows XP: the name box is a
// ComboBoxEx32 whose edit sits in its combo box.
DialogNode XpOpen() {
    return N(
        L"#32770", 0,
        {N(L"Static", 0x443), N(L"ComboBox", 0x471), N(L"ToolbarWindow32", 0x4A0), N(L"ToolbarWindow32", 0x440),
         Hidden(N(L"ListBox", 0x460)), N(L"SHELLDLL_DefView", 0x461, {N(L"SysListView32", 1, {N(L"SysHeader32")})}),
         N(L"Static", 0x442), N(L"ComboBoxEx32", 0x47C, {N(L"ComboBox", 0x47C, {N(L"Edit", 0x47C)})}),
         N(L"Static", 0x441), N(L"ComboBox", 0x470), Hidden(N(L"Button", 0x410)), N(L"Button", 1), N(L"Button", 2),
         Hidden(N(L"Button", 0x40E))});
}

// Windows 2000 and XP "Speichern unter" of programs with their own older
// template: a plain edit 0x480.
DialogNode XpSave() {
    return N(L"#32770", 0,
             {N(L"Static", 0x443), N(L"ComboBox", 0x471), N(L"ToolbarWindow32", 0x4A0), N(L"ToolbarWindow32", 0x440),
              N(L"SHELLDLL_DefView", 0x461, {N(L"SysListView32", 1)}), N(L"Static", 0x442), N(L"Edit", 0x480),
              N(L"Static", 0x441), N(L"ComboBox", 0x470), N(L"Button", 1), N(L"Button", 2)});
}

// The address band of Vista and later, above the view.
DialogNode AddressBand() {
    return N(L"WorkerW", 0,
             {N(L"ReBarWindow32", 0xA005,
                {N(L"Address Band Root", 0xA205,
                   {N(L"msctls_progress32", 0,
                      {N(L"Breadcrumb Parent", 0, {N(L"ToolbarWindow32", 0x3E9)}),
                       Hidden(N(L"ComboBoxEx32", 0xA205, {N(L"ComboBox", 0, {N(L"Edit")})}))}),
                    N(L"ToolbarWindow32", 0xA206)}),
                 N(L"UniversalSearchBand", 0, {N(L"Search Box", 0, {N(L"SearchEditBoxWrapperClass")})})})});
}

// Vista, 7, 10 and 11: the view, its sinks and the two boxes at the foot.
// nameCombo is 0x47C in the Open dialog; the Save dialog's box has its own id.
DialogNode ItemDialog(int nameCombo, bool typeBox) {
    std::vector<DialogNode> sinks = {
        N(L"CtrlNotifySink", 0, {N(L"NamespaceTreeControl", 0x64, {N(L"SysTreeView32", 0x64)})}),
        N(L"CtrlNotifySink", 0, {N(L"SHELLDLL_DefView", 0x461, {N(L"DirectUIHWND")})}),
        N(L"CtrlNotifySink", 0, {N(L"ScrollBar")}),
        N(L"FloatNotifySink", 0, {N(L"ComboBox", nameCombo, {N(L"Edit", 0x3E9)})}),
    };
    if (typeBox)
        sinks.push_back(N(L"FloatNotifySink", 0, {N(L"ComboBox", 0x470)}));
    return N(L"#32770", 0,
             {N(L"DUIViewWndClassName", 0, {N(L"DirectUIHWND", 0, std::move(sinks))}), AddressBand(), N(L"Button", 1),
              N(L"Button", 2), N(L"ScrollBar")});
}

// Wine's GetOpenFileName, as its dialog lists itself (the hook's child
// dialog last).
DialogNode WineOpen() {
    return N(L"#32770", 0,
             {N(L"Static", 1091), N(L"ComboBox", 1137),
              N(L"SHELLDLL_DefView", 1121, {N(L"SysListView32", 1, {N(L"SysHeader32")})}), N(L"Static", 1088),
              N(L"ToolbarWindow32", 1184), N(L"ListBox", 1120), N(L"Static", 1090),
              N(L"ComboBoxEx32", 1148, {N(L"ComboBox", 1148, {N(L"Edit", 1148)})}), N(L"Static", 1089),
              N(L"ComboBox", 1136), N(L"Button", 1040), N(L"Button", 1), N(L"Button", 2), N(L"Button", 1038),
              N(L"ToolbarWindow32", 1), N(L"ScrollBar", -1), N(L"#32770")});
}

// Wine's IFileSaveDialog: a dialog of its own making, with the old ids.
DialogNode WineSave() {
    return N(L"#32770", 0,
             {N(L"idlg_container_pane"), N(L"Static", 1090), N(L"Edit", 1152), N(L"Static", 1089), N(L"ComboBox", 1136),
              N(L"Button", 1), N(L"Button", 1024), N(L"Button", 2), N(L"Button", 1038),
              N(L"ExplorerBrowserControl", 0, {N(L"SHELLDLL_DefView", 0, {N(L"SysListView32", 1)})})});
}

std::wstring ClassAt(const DialogNode& dialog, const ControlPath& path) {
    const DialogNode* node = NodeAt(dialog, path);
    return node ? node->className : L"(none)";
}
int IdAt(const DialogNode& dialog, const ControlPath& path) {
    const DialogNode* node = NodeAt(dialog, path);
    return node ? node->id : -1;
}

TEST(FileDialogShape, ClassicDialogsTypeIntoTheirNameEdit) {
    DialogNode xpOpen = XpOpen();
    FileDialogPlan open = PlanFileDialog(xpOpen);
    EXPECT_EQ(FileDialogStyle::Classic, open.style);
    EXPECT_EQ(L"Edit", ClassAt(xpOpen, open.fileName));
    EXPECT_EQ(ControlPath({7, 0, 0}), open.fileName);
    EXPECT_EQ(1, IdAt(xpOpen, open.okButton));
    EXPECT_EQ(0x471, IdAt(xpOpen, open.folderShown));

    DialogNode xpSave = XpSave();
    FileDialogPlan save = PlanFileDialog(xpSave);
    EXPECT_EQ(FileDialogStyle::Classic, save.style);
    EXPECT_EQ(0x480, IdAt(xpSave, save.fileName));
    EXPECT_EQ(1, IdAt(xpSave, save.okButton));
}

TEST(FileDialogShape, WinesDialogsTypeIntoTheirNameEdit) {
    DialogNode open = WineOpen();
    FileDialogPlan openPlan = PlanFileDialog(open);
    EXPECT_EQ(FileDialogStyle::Classic, openPlan.style);
    EXPECT_EQ(ControlPath({7, 0, 0}), openPlan.fileName);
    EXPECT_EQ(ControlPath({11}), openPlan.okButton);
    DialogNode save = WineSave();
    FileDialogPlan savePlan = PlanFileDialog(save);
    EXPECT_EQ(FileDialogStyle::Classic, savePlan.style);
    EXPECT_EQ(ControlPath({2}), savePlan.fileName);
    EXPECT_EQ(ControlPath({5}), savePlan.okButton);
    EXPECT_TRUE(savePlan.folderShown.empty());
}

TEST(FileDialogShape, ItemDialogsOfVistaToElevenTypeIntoTheFloatingBox) {
    for (int nameCombo : {0x47C, 0x3E9}) {
        SCOPED_TRACE(nameCombo);
        DialogNode dialog = ItemDialog(nameCombo, true);
        FileDialogPlan plan = PlanFileDialog(dialog);
        EXPECT_EQ(FileDialogStyle::ItemDialog, plan.style);
        EXPECT_EQ(ControlPath({0, 0, 3, 0, 0}), plan.fileName);
        EXPECT_EQ(0x3E9, IdAt(dialog, plan.fileName));
        EXPECT_EQ(1, IdAt(dialog, plan.okButton));
        // The address band's edit, not the search box's.
        EXPECT_EQ(L"Edit", ClassAt(dialog, plan.folderShown));
        EXPECT_EQ(L"ComboBox", ClassAt(dialog, {plan.folderShown.begin(), plan.folderShown.end() - 1}));
    }
}

TEST(FileDialogShape, FolderPickersAreRefused) {
    // SHBrowseForFolder, which has an OK button and may have an edit box.
    DialogNode browse = N(L"#32770", 0,
                          {N(L"Static", 0x3742), N(L"Edit", 0x3744),
                           N(L"SHBrowseForFolder ShellNameSpace Control", 0x64, {N(L"SysTreeView32", 0x64)}),
                           N(L"Button", 0x3746), N(L"Button", 1), N(L"Button", 2)});
    EXPECT_FALSE(PlanFileDialog(browse).Drivable());
    // IFileOpenDialog picking folders: the name box without a type box.
    EXPECT_FALSE(PlanFileDialog(ItemDialog(0x47C, false)).Drivable());
    // The type box there, but hidden.
    DialogNode hiddenType = ItemDialog(0x47C, true);
    hiddenType.children[0].children[0].children[4].children[0].visible = false;
    EXPECT_FALSE(PlanFileDialog(hiddenType).Drivable());
    // Wine's picker: its item dialog with the type box hidden.
    DialogNode winePicker = WineSave();
    winePicker.children[4].visible = false;
    EXPECT_FALSE(PlanFileDialog(winePicker).Drivable());
}

TEST(FileDialogShape, UnknownDialogsAreRefused) {
    // A message box, and a program's own dialog whose edit happens to have
    // the id of the old name box.
    EXPECT_FALSE(PlanFileDialog(N(L"#32770", 0, {N(L"Static", 0xFFFF), N(L"Button", 1)})).Drivable());
    EXPECT_FALSE(PlanFileDialog(N(L"#32770", 0, {N(L"Edit", 0x480), N(L"Button", 1), N(L"Button", 2)})).Drivable());
    // A file dialog's shape in a window that is no dialog, and one without OK.
    DialogNode notADialog = XpOpen();
    notADialog.className = L"Notepad";
    EXPECT_FALSE(PlanFileDialog(notADialog).Drivable());
    DialogNode noOk = XpOpen();
    noOk.children.erase(noOk.children.begin() + 11);
    EXPECT_FALSE(PlanFileDialog(noOk).Drivable());
    EXPECT_EQ(nullptr, NodeAt(XpOpen(), {99}));
}

TEST(FileDialogShape, JumpTextEndsInOneBackslash) {
    EXPECT_EQ(L"C:\\Daten\\", FolderJumpText(L"C:\\Daten"));
    EXPECT_EQ(L"C:\\Daten\\", FolderJumpText(L"C:\\Daten\\\\"));
    EXPECT_EQ(L"C:\\", FolderJumpText(L"C:\\"));
    EXPECT_EQ(L"\\\\server\\freigabe\\", FolderJumpText(L"\\\\server\\freigabe"));
}

}  // namespace
}  // namespace pw
