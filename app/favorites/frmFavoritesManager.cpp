// Loading, layout, the two lists and their buttons, keys and in-place
// editing, and writing everything back on OK. Dragging and dropping lives in
// frmFavoritesManager_Drag.cpp.
#include "frmFavoritesManager.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include <algorithm>

#include "FavoritesStore.h"
#include "FavoritesTexts.h"
#include "LinkLabel.h"
#include "ResText.h"
#include "Settings.h"
#include "ShapeIcon.h"
#include "SystemIcons.h"
#include "Text.h"
#include "common_res.h"
#include "favorites_res.h"
#include "frmFavoritesAdd.h"

namespace pw {
namespace {

constexpr UINT kLabelEditEnded = WM_APP + 1;
constexpr UINT kFavoritesListId = 1;
constexpr UINT kGroupsListId = 2;
constexpr wchar_t kNewGroupKey[] = L"NewGroup";
constexpr COLORREF kVistaGroupColour = RGB(0, 51, 153);

// Two small chevrons, pointing down (more) or up (less), for the expand button.
HICON MakeChevronIcon(bool down) {
    return MakeShapeIcon(9, 8, GetSysColor(COLOR_BTNTEXT), [down](HDC dc, COLORREF ink) {
        for (int chevron = 0; chevron < 2; ++chevron) {
            for (int step = 0; step < 3; ++step) {
                int y = chevron * 4 + (down ? 2 - step : step);
                for (int x : {4 - step, 4 + step})
                    SetPixel(dc, x, y, ink);
                if (step > 0)
                    SetPixel(dc, 4 - step + 1, y, ink), SetPixel(dc, 4 + step - 1, y, ink);
            }
        }
    });
}

// The dialog font in bold, for the group list where there is no theme colour.
HFONT BoldFontOf(HWND window) {
    LOGFONTW font{};
    auto current = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (!current || !GetObjectW(current, sizeof font, &font))
        return nullptr;
    font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
}

long IdOfKey(const std::wstring& key) {
    if (key.size() <= 4 || key.compare(0, 4, L"itmx") != 0)
        return 0;
    return std::wcstol(key.c_str() + 4, nullptr, 10);
}

}  // namespace

frmFavoritesManager::frmFavoritesManager(cDialogPresenter* presenter) : presenter_(presenter) {}

frmFavoritesManager::~frmFavoritesManager() = default;

INT_PTR frmFavoritesManager::Show(HWND owner) {
    result_ = IDCANCEL;
    ShowModal(owner, IDD_FAVORITES_MANAGER);
    return result_;
}

int frmFavoritesManager::MessageBox(const std::wstring& text, UINT style) {
    return FavoritesMessage(presenter_, Hwnd(), text, style);
}

INT_PTR frmFavoritesManager::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            Form_Load();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == Item(IDC_FAVMAN_REORDER_TIP))
                return reinterpret_cast<INT_PTR>(LinkLabelColours(reinterpret_cast<HDC>(wParam)));
            return FALSE;
        case WM_MOUSEMOVE:
            // The pointer on the window's background: the tip goes.
            ShowReorderTip(false);
            return FALSE;
        case WM_TIMER:
            if (wParam == 1)
                tmrDragScroll_Timer();
            return TRUE;
        case kLabelEditEnded:
            ApplyLabelEdit();
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_FAVMAN_ADD:
                    cmdAdd_Click();
                    return TRUE;
                case IDC_FAVMAN_MODIFY:
                case IDM_FAVMAN_MODIFY:
                    cmdModify_Click();
                    return TRUE;
                case IDC_FAVMAN_REMOVE:
                case IDM_FAVMAN_REMOVE:
                    cmdRemove_Click();
                    return TRUE;
                case IDM_FAVMAN_RENAME:
                    RenameFavorite();
                    return TRUE;
                case IDC_FAVMAN_GROUP_ADD:
                    cmdGroupAdd_Click();
                    return TRUE;
                case IDC_FAVMAN_GROUP_MODIFY:
                    cmdGroupModify_Click();
                    return TRUE;
                case IDC_FAVMAN_GROUP_REMOVE:
                    cmdGroupRemove_Click();
                    return TRUE;
                case IDC_FAVMAN_GROUP_UP:
                    cmdGroupMove_Click(-1);
                    return TRUE;
                case IDC_FAVMAN_GROUP_DOWN:
                    cmdGroupMove_Click(+1);
                    return TRUE;
                case IDC_FAVMAN_EXPAND:
                    cmdExpandCollapseGroups_Click();
                    return TRUE;
                case IDOK:
                    // Enter in an in-place edit belongs to the edit.
                    if (lvwFavorites_.IsEditing() || lvwGroups_.IsEditing())
                        return TRUE;
                    OKButton_Click();
                    return TRUE;
                case IDCANCEL:
                    if (lvwFavorites_.IsEditing() || lvwGroups_.IsEditing())
                        return TRUE;
                    if (drag_.active) {
                        CancelDrag();
                        return TRUE;
                    }
                    result_ = IDCANCEL;
                    EndDialog(Hwnd(), IDCANCEL);
                    return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            Form_Unload();
            return FALSE;
    }
    return FALSE;
}

// ---- Loading ----

void frmFavoritesManager::Form_Load() {
    ole_.emplace();
    DWORD style = IsBalloonTipsEnabled() ? TTS_BALLOON : TTS_ALWAYSTIP;
    tooltip_.Create(Hwnd(), style | TTS_NOPREFIX);
    tooltip_.Title(ResText(IDS_FAV_REORDER_TIP_TITLE));
    tooltip_.MaxTipWidth(200);
    tooltip_.AddTool(Item(IDC_FAVMAN_REORDER_TIP), (style & TTS_BALLOON) ? TTF_TRACK : TTF_TRACK | TTF_ABSOLUTE,
                     ResText(IDS_FAV_REORDER_TIP_TEXT));
    hoverTips_.Create(Hwnd(), TTS_ALWAYSTIP | TTS_NOPREFIX);
    hoverTips_.AddTool(Item(IDC_FAVMAN_GROUP_REMOVE), 0, ResText(IDS_FAV_GROUP_REMOVE_TIP));
    SubclassControl(Item(IDC_FAVMAN_REORDER_TIP), this);

    // The shell's picture of a favorites folder beside the header text.
    headerIcon_.Reset(SystemFileIcon(L"shell32.dll", 205));
    // Systems without that picture show the program's own.
    if (!headerIcon_)
        headerIcon_.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"AA", IMAGE_ICON, 32, 32, 0)));
    if (headerIcon_)
        SendDlgItemMessageW(Hwnd(), IDC_FAVMAN_ICON, STM_SETICON, reinterpret_cast<WPARAM>(headerIcon_.Get()), 0);

    CreateLists();
    if (GetWindowsFamily() >= WindowsFamily::Xp) {
        moreIcon_.Reset(MakeChevronIcon(true));
        lessIcon_.Reset(MakeChevronIcon(false));
    }
    SetLayout(ReadNumber(Setting::FavoritesManagementExpanded) != 0);

    model_.Load(ReadFavorites(), [this](const std::wstring& path) { return IconOf(path); });
    RefreshGroupList(-1);
    RebuildFavoriteGroups();
    lvwFavorites_.EnableFileDrop(true);
}

void frmFavoritesManager::Form_Unload() {
    KillTimer(Hwnd(), 1);
    lvwFavorites_.EnableFileDrop(false);
    lvwFavorites_.SetImageList(nullptr);
    tooltip_.Destroy();
    hoverTips_.Destroy();
    ole_.reset();
}

void frmFavoritesManager::CreateLists() {
    RECT none{0, 0, 0, 0};
    const DWORD listStyle = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
    lvwFavorites_.Create(Hwnd(), kFavoritesListId, none, listStyle, WS_EX_CLIENTEDGE);
    lvwGroups_.Create(Hwnd(), kGroupsListId, none, listStyle | LVS_NOSORTHEADER, WS_EX_CLIENTEDGE);
    // Tab order: each list right after its frame.
    SetWindowPos(lvwFavorites_.hWnd(), Item(IDC_FAVMAN_FRAME_FAVORITES), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(lvwGroups_.hWnd(), Item(IDC_FAVMAN_FRAME_GROUPS), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (cListView* list : {&lvwFavorites_, &lvwGroups_}) {
        list->SetFont(reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0)));
        list->SetExplorerTheme();
        if (HWND header = list->hWndHeader()) {
            SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) & ~HDS_BUTTONS);
        }
    }
    icons_.Create();
    lvwFavorites_.SetImageList(icons_.Images());
    lvwFavorites_.AddColumn(ResText(IDS_FAV_COLUMN_NAME), 2000);
    lvwFavorites_.AddColumn(ResText(IDS_FAV_COLUMN_PATH), 5000);
    lvwGroups_.AddColumn(ResText(IDS_FAV_COLUMN_GROUP), 2000);
    if (GetWindowsFamily() >= WindowsFamily::VistaOrLater) {
        lvwGroups_.SetTextColor(kVistaGroupColour);
    } else {
        boldFont_.Reset(BoldFontOf(Hwnd()));
        if (boldFont_) {
            lvwGroups_.SetFont(boldFont_.Get());
            // Only the names are bold, not the column's header.
            if (HWND header = lvwGroups_.hWndHeader())
                SendMessageW(header, WM_SETFONT, SendMessageW(Hwnd(), WM_GETFONT, 0, 0), TRUE);
        }
    }

    lvwFavorites_.OnClick = [this](const cListView::MouseEvent& e) { lvwFavorites_Click(e); };
    lvwFavorites_.OnDblClick = [this](const cListView::MouseEvent& e) { lvwFavorites_DblClick(e); };
    lvwFavorites_.OnKeyDown = [this](WORD key) { lvwFavorites_KeyDown(key); };
    lvwFavorites_.OnItemDrag = [this](int index) { lvwFavorites_ItemDrag(index); };
    lvwFavorites_.OnLabelEditEnd = [this](int index, const std::optional<std::wstring>& text) {
        return OnLabelEditEnd(false, index, text);
    };
    lvwFavorites_.OnFileDragOver = [this](const std::vector<std::wstring>& files, POINT client, DWORD) {
        return OnFileDragOver(files, client);
    };
    lvwFavorites_.OnFileDrop = [this](const std::vector<std::wstring>& files, POINT client, DWORD) {
        return OnFileDrop(files, client);
    };
    lvwFavorites_.OnFileDragLeave = [this] { OnFileDragLeave(); };
    lvwGroups_.OnKeyDown = [this](WORD key) { lvwGroups_KeyDown(key); };
    lvwGroups_.OnLabelEditEnd = [this](int index, const std::optional<std::wstring>& text) {
        return OnLabelEditEnd(true, index, text);
    };
    SubclassControl(lvwFavorites_.hWndListView(), this);
}

int frmFavoritesManager::IconOf(const std::wstring& path) {
    return icons_.IconOf(path);
}

// ---- Layout ----

HWND frmFavoritesManager::MoveDluHwnd(HWND control, int left, int top, int width, int height) {
    RECT r{left, top, left + width, top + height};
    MapDialogRect(Hwnd(), &r);
    MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    return control;
}

void frmFavoritesManager::MoveDlu(int id, int left, int top, int width, int height) {
    MoveDluHwnd(Item(id), left, top, width, height);
}

// Both states keep the window's size: without the groups the favorites take
// their room.
void frmFavoritesManager::SetLayout(bool expanded) {
    expanded_ = expanded;
    const int frameBottom = expanded ? 206 : 318;
    const int buttonTop = frameBottom - 22;
    MoveDlu(IDC_FAVMAN_FRAME_FAVORITES, 7, 36, 326, frameBottom - 36);
    MoveDluHwnd(lvwFavorites_.hWnd(), 14, 48, 312, buttonTop - 54);
    // The path takes the rest of the list's width, so the placeholder's text fits.
    RECT list{};
    GetClientRect(lvwFavorites_.hWndListView(), &list);
    int pathWidth = list.right - lvwFavorites_.ColumnWidthPixels(0) - GetSystemMetrics(SM_CXVSCROLL);
    if (pathWidth > 0)
        lvwFavorites_.SetColumnWidthPixels(1, pathWidth);
    MoveDlu(IDC_FAVMAN_ADD, 160, buttonTop, 54, 15);
    MoveDlu(IDC_FAVMAN_MODIFY, 218, buttonTop, 54, 15);
    MoveDlu(IDC_FAVMAN_REMOVE, 276, buttonTop, 50, 15);
    MoveDlu(IDC_FAVMAN_REORDER_TIP, 14, buttonTop + 3, 140, 9);
    const int show = expanded ? SW_SHOW : SW_HIDE;
    for (int id : {IDC_FAVMAN_FRAME_GROUPS, IDC_FAVMAN_GROUP_ADD, IDC_FAVMAN_GROUP_MODIFY, IDC_FAVMAN_GROUP_REMOVE,
                   IDC_FAVMAN_GROUP_UP, IDC_FAVMAN_GROUP_DOWN}) {
        ShowWindow(Item(id), show);
    }
    ShowWindow(lvwGroups_.hWnd(), show);
    if (expanded) {
        MoveDlu(IDC_FAVMAN_FRAME_GROUPS, 7, 212, 326, 106);
        MoveDluHwnd(lvwGroups_.hWnd(), 14, 224, 242, 87);
        int top = 224;
        for (int id : {IDC_FAVMAN_GROUP_ADD, IDC_FAVMAN_GROUP_MODIFY, IDC_FAVMAN_GROUP_REMOVE, IDC_FAVMAN_GROUP_UP,
                       IDC_FAVMAN_GROUP_DOWN}) {
            MoveDlu(id, 264, top, 62, 15);
            top += 18;
        }
        RECT client{};
        GetClientRect(lvwGroups_.hWndListView(), &client);
        lvwGroups_.SetColumnWidthPixels(0, client.right - client.left);
    }
    // Where a picture can go on the button, the chevrons alone say which way
    // it opens; elsewhere its text does.
    HWND button = Item(IDC_FAVMAN_EXPAND);
    if (moreIcon_ && lessIcon_) {
        expandImages_ = SetButtonImage(button, expanded ? lessIcon_.Get() : moreIcon_.Get(), 12, 2,
                                       BUTTON_IMAGELIST_ALIGN_CENTER, 9, 8);
    }
    SetWindowTextW(button, expandImages_ ? L"" : ResText(expanded ? IDS_FAV_GROUPS_LESS : IDS_FAV_GROUPS_MORE).c_str());
    // The children too: the lists changed size under the dialog's background.
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void frmFavoritesManager::cmdExpandCollapseGroups_Click() {
    SetLayout(!expanded_);
    WriteNumber(Setting::FavoritesManagementExpanded, expanded_ ? 1 : 0);
}

// ---- Showing the model ----

void frmFavoritesManager::RebuildFavoriteGroups(long selectId) {
    // Where the list was scrolled to, so that an edit does not jump away.
    std::optional<int> oldTop = lvwFavorites_.ItemTop(0);
    lvwFavorites_.SetRedraw(false);
    lvwFavorites_.ClearItems();
    lvwFavorites_.ClearGroups();
    rows_ = model_.Rows();
    const std::vector<std::wstring>& groups = model_.Groups();
    // Added without a position, each group goes before those added earlier.
    lvwFavorites_.AddGroup(kUncategorized, kOtherGroupName);
    for (size_t i = groups.size(); i-- > 0;)
        lvwFavorites_.AddGroup(MakeItemKey(static_cast<long>(i + 1)), groups[i]);
    auto groupKey = [&](const std::wstring& group) {
        auto found = std::find(groups.begin(), groups.end(), group);
        return found == groups.end() ? std::wstring(kUncategorized)
                                     : MakeItemKey(static_cast<long>(found - groups.begin() + 1));
    };
    const std::wstring placeholder = ResText(IDS_FAV_PLACEHOLDER);
    int select = -1;
    for (const cFavoritesEdit::Row& row : rows_) {
        int index = -1;
        if (row.Placeholder()) {
            index = lvwFavorites_.AddItem(L"", L"", -1, {placeholder});
        } else {
            const cFavoritesEdit::Entry* entry = model_.Find(row.id);
            index = lvwFavorites_.AddItem(MakeItemKey(row.id), entry->name, entry->icon, {entry->path});
            if (row.id == selectId)
                select = index;
        }
        lvwFavorites_.SetItemTag(index, row.group);
        lvwFavorites_.SetItemGroup(index, groupKey(row.group));
    }
    lvwFavorites_.EnableGroups(model_.GroupsShown());
    std::optional<int> newTop = lvwFavorites_.ItemTop(0);
    if (oldTop && newTop && *oldTop < *newTop)
        lvwFavorites_.ScrollBy(0, *newTop - *oldTop);
    if (select >= 0) {
        lvwFavorites_.SetItemSelected(select, true);
        lvwFavorites_.SetItemFocused(select, true);
        lvwFavorites_.EnsureVisible(select);
    }
    lvwFavorites_.SetRedraw(true);
    UpdateButtons();
}

void frmFavoritesManager::RefreshGroupList(int selectGroup) {
    lvwGroups_.ClearItems();
    const std::vector<std::wstring>& groups = model_.Groups();
    for (size_t i = 0; i < groups.size(); ++i)
        lvwGroups_.AddItem(MakeItemKey(static_cast<long>(i + 1)), groups[i]);
    if (selectGroup >= 0 && selectGroup < lvwGroups_.ItemCount()) {
        lvwGroups_.SetItemSelected(selectGroup, true);
        lvwGroups_.SetItemFocused(selectGroup, true);
        lvwGroups_.EnsureVisible(selectGroup);
    }
    UpdateButtons();
}

void frmFavoritesManager::UpdateButtons() {
    const size_t groups = model_.Groups().size();
    EnableWindow(Item(IDC_FAVMAN_GROUP_MODIFY), groups > 0);
    EnableWindow(Item(IDC_FAVMAN_GROUP_REMOVE), groups > 0);
    EnableWindow(Item(IDC_FAVMAN_GROUP_UP), groups > 1);
    EnableWindow(Item(IDC_FAVMAN_GROUP_DOWN), groups > 1);
    const size_t favorites = model_.Entries().size();
    EnableWindow(Item(IDC_FAVMAN_MODIFY), favorites > 0);
    EnableWindow(Item(IDC_FAVMAN_REMOVE), favorites > 0);
    ShowWindow(Item(IDC_FAVMAN_REORDER_TIP), favorites > 1 ? SW_SHOW : SW_HIDE);
    if (favorites <= 1)
        ShowReorderTip(false);
}

std::optional<size_t> frmFavoritesManager::SelectedRow() const {
    int index = lvwFavorites_.FirstSelected();
    if (index < 0 || static_cast<size_t>(index) >= rows_.size())
        return std::nullopt;
    return static_cast<size_t>(index);
}

long frmFavoritesManager::SelectedId() const {
    std::optional<size_t> row = SelectedRow();
    return row ? rows_[*row].id : 0;
}

int frmFavoritesManager::SelectedGroup() const {
    return lvwGroups_.FirstSelected();
}

// ---- Favorites ----

FavoriteEntryResult frmFavoritesManager::ShowFavoriteDialog(FavoriteEntryRequest request) {
    request.presenter = presenter_;
    request.manager.groups = model_.Groups();
    std::optional<size_t> row = SelectedRow();
    request.manager.selectedGroup = row ? rows_[*row].group : std::wstring();
    request.manager.CreateNewGroup = [this](const std::wstring& name) { CreateNewGroup(name); };
    ShowReorderTip(false);
    return frmFavoritesAdd().Show(Hwnd(), request);
}

void frmFavoritesManager::cmdAdd_Click() {
    FavoriteEntryResult result = ShowFavoriteDialog({});
    if (result.accepted)
        ApplyFavoriteDialog(result, 0);
}

void frmFavoritesManager::cmdModify_Click() {
    long id = SelectedId();
    const cFavoritesEdit::Entry* entry = id ? model_.Find(id) : nullptr;
    if (!entry)
        return;
    FavoriteEntryRequest request;
    request.purpose = FavoriteEntryPurpose::Change;
    request.folderPath = entry->path;
    request.folderName = entry->name;
    FavoriteEntryResult result = ShowFavoriteDialog(std::move(request));
    if (result.accepted)
        ApplyFavoriteDialog(result, id);
}

void frmFavoritesManager::ApplyFavoriteDialog(const FavoriteEntryResult& result, long changedId) {
    std::wstring group = cFavoritesEdit::TagOfChoice(result.groupText);
    const std::vector<std::wstring>& groups = model_.Groups();
    if (group != kUncategorized && std::find(groups.begin(), groups.end(), group) == groups.end())
        return;
    int icon = IconOf(result.folderPath);
    long id = changedId;
    if (changedId) {
        model_.Change(changedId, result.folderName, result.folderPath, group, icon);
    } else {
        id = model_.Add(result.folderName, result.folderPath, group, icon);
    }
    RebuildFavoriteGroups(id);
    SetFocus(lvwFavorites_.hWndListView());
}

void frmFavoritesManager::cmdRemove_Click() {
    long id = SelectedId();
    if (!id)
        return;
    const size_t row = *SelectedRow();
    model_.Remove(id);
    // The favorite that took its place is the next to remove with Del.
    std::vector<cFavoritesEdit::Row> rows = model_.Rows();
    long next = row < rows.size() ? rows[row].id : 0;  // 0 for a placeholder
    if (!next && row > 0 && row - 1 < rows.size())
        next = rows[row - 1].id;
    RebuildFavoriteGroups(next);
}

void frmFavoritesManager::RenameFavorite() {
    int index = lvwFavorites_.FirstSelected();
    if (index < 0)
        index = 0;
    if (static_cast<size_t>(index) >= rows_.size() || rows_[index].Placeholder())
        return;
    lvwFavorites_.StartLabelEdit(index);
}

void frmFavoritesManager::lvwFavorites_Click(const cListView::MouseEvent& event) {
    if (event.button != 2 || event.index < 0 || static_cast<size_t>(event.index) >= rows_.size())
        return;
    if (rows_[event.index].Placeholder())
        return;
    ShowPopupMenu();
}

void frmFavoritesManager::ShowPopupMenu() {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_FAVMAN_POPUP));
    if (!menu)
        return;
    POINT p{};
    GetCursorPos(&p);
    UINT command = static_cast<UINT>(
        TrackPopupMenuEx(GetSubMenu(menu, 0), TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, Hwnd(), nullptr));
    DestroyMenu(menu);
    if (command)
        SendMessageW(Hwnd(), WM_COMMAND, command, 0);
}

void frmFavoritesManager::lvwFavorites_DblClick(const cListView::MouseEvent& event) {
    if (event.button != 1 || event.index < 0 || static_cast<size_t>(event.index) >= rows_.size())
        return;
    if (rows_[event.index].Placeholder()) {
        cmdAdd_Click();
    } else {
        cmdModify_Click();
    }
}

void frmFavoritesManager::lvwFavorites_KeyDown(WORD key) {
    if (key == VK_DELETE) {
        cmdRemove_Click();
    } else if (key == VK_F2 && IsWindowEnabled(Item(IDC_FAVMAN_MODIFY))) {
        RenameFavorite();
    }
}

// ---- Groups ----

void frmFavoritesManager::CreateNewGroup(const std::wstring& name) {
    model_.AddGroup(name);
    RefreshGroupList(static_cast<int>(model_.Groups().size()) - 1);
    RebuildFavoriteGroups(SelectedId());
}

void frmFavoritesManager::cmdGroupAdd_Click() {
    if (!model_.CanAddGroup()) {
        MessageBox(ResText(IDS_FAV_GROUP_LIMIT), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SetFocus(lvwGroups_.hWndListView());
    for (int i = 0; i < lvwGroups_.ItemCount(); ++i)
        lvwGroups_.SetItemSelected(i, false);
    int index = lvwGroups_.AddItem(kNewGroupKey, ResText(IDS_FAV_NEW_GROUP));
    if (index < 0)
        return;
    lvwGroups_.SetItemSelected(index, true);
    lvwGroups_.SetItemFocused(index, true);
    lvwGroups_.EnsureVisible(index);
    lvwGroups_.StartLabelEdit(index);
}

void frmFavoritesManager::cmdGroupModify_Click() {
    if (model_.Groups().empty())
        return;
    int index = SelectedGroup();
    lvwGroups_.StartLabelEdit(index < 0 ? 0 : index);
}

void frmFavoritesManager::cmdGroupRemove_Click() {
    if (model_.Groups().empty())
        return;
    int index = SelectedGroup();
    if (index < 0)
        index = 0;
    model_.RemoveGroup(static_cast<size_t>(index));
    RefreshGroupList(std::min(index, static_cast<int>(model_.Groups().size()) - 1));
    RebuildFavoriteGroups(SelectedId());
}

void frmFavoritesManager::cmdGroupMove_Click(int delta) {
    int index = SelectedGroup();
    if (index < 0 || !model_.MoveGroup(static_cast<size_t>(index), delta))
        return;
    RefreshGroupList(index + delta);
    RebuildFavoriteGroups(SelectedId());
    SetFocus(lvwGroups_.hWndListView());
}

void frmFavoritesManager::lvwGroups_KeyDown(WORD key) {
    if (key == VK_F2 && IsWindowEnabled(Item(IDC_FAVMAN_GROUP_MODIFY)))
        cmdGroupModify_Click();
}

// ---- In-place editing ----

bool frmFavoritesManager::OnLabelEditEnd(bool groups, int index, const std::optional<std::wstring>& text) {
    const cListView& list = groups ? lvwGroups_ : lvwFavorites_;
    pendingEdit_ = PendingEdit{groups, list.ItemKey(index), text};
    PostMessageW(Hwnd(), kLabelEditEnded, 0, 0);
    // The list keeps its old text; the model decides and the list follows it.
    return false;
}

void frmFavoritesManager::ApplyLabelEdit() {
    if (!pendingEdit_)
        return;
    PendingEdit edit = std::move(*pendingEdit_);
    pendingEdit_.reset();
    if (!edit.groups) {
        long id = IdOfKey(edit.key);
        if (!id || !edit.text || Trim(*edit.text).empty())
            return;
        if (!FavoriteNameFitsFormat(*edit.text)) {
            MessageBox(ResText(IDS_FAV_NAME_SEPARATOR), MB_OK | MB_ICONERROR);
            return;
        }
        model_.Rename(id, *edit.text);
        RebuildFavoriteGroups(id);
        return;
    }
    const bool isNew = edit.key == kNewGroupKey;
    const int index = isNew ? -1 : static_cast<int>(IdOfKey(edit.key)) - 1;
    std::wstring name = edit.text ? Trim(*edit.text) : std::wstring();
    GroupNameProblem problem = edit.text ? model_.CheckGroupName(name, index) : GroupNameProblem::Empty;
    if (problem != GroupNameProblem::None) {
        if (problem != GroupNameProblem::Empty) {
            std::vector<std::wstring> others = model_.Groups();
            if (index >= 0)
                others.erase(others.begin() + index);
            MessageBox(GroupNameRefusal(problem, name, ClashingGroupName(name, others)), MB_OK | MB_ICONERROR);
        }
        RefreshGroupList(isNew ? static_cast<int>(model_.Groups().size()) - 1 : index);
        return;
    }
    if (isNew) {
        model_.AddGroup(name);
        RefreshGroupList(static_cast<int>(model_.Groups().size()) - 1);
    } else {
        model_.RenameGroup(static_cast<size_t>(index), name);
        RefreshGroupList(index);
    }
    RebuildFavoriteGroups(SelectedId());
}

// ---- OK ----

void frmFavoritesManager::OKButton_Click() {
    if (drag_.active)
        CancelDrag();
    ApplyLabelEdit();
    RewriteFavorites(model_.Result());
    result_ = IDOK;
    EndDialog(Hwnd(), IDOK);
}

// ---- The reorder tip ----

void frmFavoritesManager::ShowReorderTip(bool show) {
    HWND label = Item(IDC_FAVMAN_REORDER_TIP);
    if (show == tipShown_ || !tooltip_.hwnd())
        return;
    if (show) {
        if (!IsWindowVisible(label))
            return;
        RECT r{};
        GetWindowRect(label, &r);
        tooltip_.SetTrackPosition(label, r.left + 30, r.bottom);
    }
    tooltip_.SetTracking(label, show);
    tipShown_ = show;
}

LRESULT frmFavoritesManager::OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (control == lvwFavorites_.hWndListView()) {
        LRESULT result = 0;
        if (OnListMessage(msg, wParam, lParam, result))
            return result;
        return DefSubclassProc(control, msg, wParam, lParam);
    }
    if (msg == WM_MOUSEMOVE && !tipShown_) {
        ShowReorderTip(true);
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
        TrackMouseEvent(&track);
    } else if (msg == WM_MOUSELEAVE) {
        ShowReorderTip(false);
    }
    return DefSubclassProc(control, msg, wParam, lParam);
}

}  // namespace pw
