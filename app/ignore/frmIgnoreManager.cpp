#include "frmIgnoreManager.h"

#include <algorithm>

#include "ResText.h"
#include "Settings.h"
#include "WindowsVersion.h"
#include "frmIgnoreEntry.h"
#include "common_res.h"
#include "ignore_res.h"

namespace pw {
namespace {

constexpr int kListColumnWidth = 7100;  // twips

HICON LoadNamedIcon(const wchar_t* name, int size) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, 0));
}

}  // namespace

frmIgnoreManager::~frmIgnoreManager() {
    // The list shares its image list (LVS_SHAREIMAGELISTS) and goes first.
    lvwIgnoredFolders_.Destroy();
}

IgnoreManagerResult frmIgnoreManager::Show(HWND owner, const IgnoreManagerRequest& request) {
    request_ = request;
    return ShowModal(owner, IDD_IGNORE_MANAGER) == IDOK ? IgnoreManagerResult::Saved : IgnoreManagerResult::Cancelled;
}

INT_PTR frmIgnoreManager::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            Form_Load();
            return TRUE;
        case WM_PAINT:
            Form_Paint();
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_CMD_ADD:
                    cmdAdd_Click();
                    return TRUE;
                case IDC_CMD_MODIFY:
                    cmdModify_Click();
                    return TRUE;
                case IDC_CMD_REMOVE:
                    cmdRemove_Click();
                    return TRUE;
                case IDOK:
                    cmdOK_Click();
                    return TRUE;
                case IDCANCEL:  // also Esc and the close box
                    EndDialog(Hwnd(), IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

void frmIgnoreManager::Form_Load() {
    CentreOnOwner(Hwnd());
    dpi_ = GetDeviceCaps(cWindowDC(Hwnd()).Get(), LOGPIXELSX);
    bool vista = GetWindowsFamily() == WindowsFamily::VistaOrLater;
    headerIcon_.Reset(LoadNamedIcon(vista ? L"Ignored_Folders_32_Vista" : L"Ignored_Folders_32_XP", 32));
    listIcon_.Reset(LoadNamedIcon(vista ? L"Ignored_Folder_16_Vista" : L"Ignored_Folder_16_XP", 16));
    patterns_ = IgnoreDisplayPatternsFromResources();
    CreateList();
    if (vista)
        lvwIgnoredFolders_.SetExplorerTheme();

    std::vector<std::wstring> entries = SplitIgnoreStrings(ReadText(Setting::IgnoreStrings));
    for (const std::wstring& stored : entries) {
        lvwIgnoredFolders_.AddItem(MakeItemKey(nextKey_++), IgnoreDisplayText(ParseIgnoreEntry(stored), patterns_), 0);
        lvwIgnoredFolders_.SetItemTag(lvwIgnoredFolders_.ItemCount() - 1, stored);
    }
    EnableEntryButtons(!entries.empty());
    // The buttons act on the selected entry; one is selected from the start.
    if (!entries.empty())
        SelectOnly(0);
}

void frmIgnoreManager::CreateList() {
    // The list takes its placeholder's place, also in the tab order.
    HWND placeholder = Item(IDC_LVW_IGNORED_FOLDERS);
    RECT bounds{};
    GetWindowRect(placeholder, &bounds);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&bounds), 2);
    DestroyWindow(placeholder);
    lvwIgnoredFolders_.Create(Hwnd(), IDC_LVW_IGNORED_FOLDERS, bounds,
                              cListView::kDefaultStyle | LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER, WS_EX_CLIENTEDGE);
    SetWindowPos(lvwIgnoredFolders_.hWnd(), Item(IDC_LBL_LIST_HEADER), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    lvwIgnoredFolders_.AddColumn(L"", kListColumnWidth);
    images_.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1));
    if (images_ && listIcon_)
        ImageList_AddIcon(images_.Get(), listIcon_.Get());
    lvwIgnoredFolders_.SetImageList(images_.Get(), LVSIL_SMALL);
    lvwIgnoredFolders_.OnDblClick = [this](const cListView::MouseEvent&) { cmdModify_Click(); };
    lvwIgnoredFolders_.OnKeyDown = [this](WORD key) {
        if (key == VK_DELETE)
            cmdRemove_Click();
    };
}

void frmIgnoreManager::Form_Paint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(Hwnd(), &paint);
    if (headerIcon_) {
        bool large = dpi_ > 110;
        DrawIconEx(dc, large ? 15 : 11, large ? 16 : 9, headerIcon_.Get(), 32, 32, 0, nullptr, DI_NORMAL);
    }
    EndPaint(Hwnd(), &paint);
}

void frmIgnoreManager::EnableEntryButtons(bool on) {
    EnableWindow(Item(IDC_CMD_MODIFY), on);
    EnableWindow(Item(IDC_CMD_REMOVE), on);
}

void frmIgnoreManager::SelectOnly(int index) {
    for (int i = 0; i < lvwIgnoredFolders_.ItemCount(); ++i)
        lvwIgnoredFolders_.SetItemSelected(i, i == index);
    lvwIgnoredFolders_.SetItemFocused(index, true);
    lvwIgnoredFolders_.EnsureVisible(index);
}

void frmIgnoreManager::cmdAdd_Click() {
    if (lvwIgnoredFolders_.ItemCount() >= kIgnoreEntryLimit) {
        request_.presenter->ShowMessageBox(Hwnd(), ResText(IDS_IGNORE_LIMIT_MANAGER), ResText(IDS_CAPTION),
                                           MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    IgnoreEntryRequest request;
    request.browseForFolder = request_.browseForFolder;
    IgnoreEntryResult entry = frmIgnoreEntry().Show(Hwnd(), request);
    if (entry.choice != IgnoreEntryResult::Choice::Ok)
        return;
    int index = lvwIgnoredFolders_.AddItem(MakeItemKey(nextKey_++), entry.displayText, 0);
    if (index < 0)
        return;
    lvwIgnoredFolders_.SetItemTag(index, entry.storedForm);
    EnableEntryButtons(true);
    SelectOnly(index);
}

void frmIgnoreManager::cmdModify_Click() {
    int index = lvwIgnoredFolders_.FirstSelected();
    if (index < 0)
        return;
    IgnoreEntryRequest request;
    request.browseForFolder = request_.browseForFolder;
    request.caption = ResText(IDS_IGNORE_CHANGE_CAPTION);
    request.entry = ParseIgnoreEntry(lvwIgnoredFolders_.ItemTag(index));
    IgnoreEntryResult entry = frmIgnoreEntry().Show(Hwnd(), request);
    if (entry.choice != IgnoreEntryResult::Choice::Ok)
        return;
    lvwIgnoredFolders_.SetItemText(index, entry.displayText);
    lvwIgnoredFolders_.SetItemTag(index, entry.storedForm);
}

void frmIgnoreManager::cmdRemove_Click() {
    int index = lvwIgnoredFolders_.FirstSelected();
    if (index < 0)
        return;
    lvwIgnoredFolders_.RemoveItem(index);
    int count = lvwIgnoredFolders_.ItemCount();
    if (count == 0) {
        EnableEntryButtons(false);
        SetFocus(Item(IDC_CMD_ADD));
        return;
    }
    SelectOnly(index < count ? index : count - 1);
}

void frmIgnoreManager::cmdOK_Click() {
    std::vector<std::wstring> entries;
    for (int i = 0; i < lvwIgnoredFolders_.ItemCount(); ++i)
        entries.push_back(lvwIgnoredFolders_.ItemTag(i));
    WriteText(Setting::IgnoreStrings, JoinIgnoreStrings(entries));
    EndDialog(Hwnd(), IDOK);
}

}  // namespace pw
