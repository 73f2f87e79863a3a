// The list control of every list in the program: a small control window that
// hosts a native list view (comctl32 v6 through the program's manifest) and
// keeps its own record of what the program put in: entry keys, tags, groups
// and their order. The native list does the drawing; the record answers
// questions about groups even where the native list cannot draw them.
//
// Indices are 0-based throughout: entries, columns, sub-items and group
// positions. Sub-item 0 is the entry's text, sub-item 1 the second column.
//
// Windows: hWnd() is the control's window and the parent of the inner list
// hWndListView(); it receives the list's notifications (and the header
// notifications the list forwards) in their wide form (LVN_GETINFOTIPW,
// HDN_BEGINTRACKW, HDN_DIVIDERDBLCLICKW, HDN_ITEMCHANGINGW). The three header
// notifications reach it on every system (where the native list does not pass
// them on, the control does); an owner that stops one there instead of
// passing it on may see it a second time, so answer them the same each time.
// An owner sets a message hook to see them, or subclasses hWnd() the usual
// way.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Window.h"

namespace pw {

// "itmx" followed by n: the key of the program's list entries.
std::wstring MakeItemKey(long n);

// The numeric value a sort by number reads from a text: its leading number
// ("12 mal" → 12; "1.234" and "1,5" are read with either separator as a
// decimal point); nullopt when the text does not start with a number.
std::optional<double> LeadingNumber(const std::wstring& text);

class cListView final : public cWindow {
  public:
    enum class ViewMode { Details, LargeIcons };

    static constexpr int kNoPosition = -1;
    // Sort types of a column; anything else sorts as text.
    static constexpr int kSortText = 0;
    static constexpr int kSortNumeric = 2;
    // Sort marks of a column.
    static constexpr int kMarkNone = 0;
    static constexpr int kMarkAscending = 1;
    static constexpr int kMarkDescending = 2;

    static constexpr DWORD kDefaultStyle = LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
    static constexpr DWORD kDefaultExStyle = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER;

    struct MouseEvent {
        int index = -1;  // -1: no entry under the pointer
        int subItem = 0;
        int button = 1;  // 1 left, 2 right
        POINT point{};   // inner list's client pixels
    };

    // Sees every message of the control's (or inner list's) window before the
    // control does; return true with result set to stop it there.
    using MessageHook = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT& result)>;
    using FileDragHandler = std::function<DWORD(const std::vector<std::wstring>& files, POINT client, DWORD keyState)>;

    cListView();
    ~cListView() override;

    // listStyle: LVS_* bits of the inner list (LVS_EDITLABELS and
    // LVS_SHAREIMAGELISTS are always added: label edits are gated by
    // StartLabelEdit, image lists stay the owner's). listExStyle: WS_EX_* of the
    // inner list (WS_EX_CLIENTEDGE for a sunken border).
    bool Create(HWND parent, UINT id, const RECT& bounds, DWORD listStyle = kDefaultStyle, DWORD listExStyle = 0);
    HWND hWnd() const { return Hwnd(); }
    HWND hWndListView() const { return list_; }
    HWND hWndHeader() const;
    void Move(const RECT& bounds);

    // ---- Entries ----
    // Inserts at index (-1 or past the end: appends) and returns the entry's
    // index, or -1 when a non-empty key is already taken or the list refused.
    int AddItem(const std::wstring& key,
                const std::wstring& text,
                int icon = -1,
                const std::vector<std::wstring>& subItems = {},
                int index = -1);
    bool RemoveItem(int index);
    void ClearItems();
    int ItemCount() const { return static_cast<int>(entries_.size()); }
    int FindItem(const std::wstring& key) const;  // -1 when missing; keys compare exactly

    std::wstring ItemKey(int index) const;
    bool SetItemKey(int index, const std::wstring& key);  // false when taken by another entry
    std::wstring ItemText(int index) const;
    void SetItemText(int index, const std::wstring& text);
    std::wstring SubItemText(int index, int subItem) const;
    void SetSubItemText(int index, int subItem, const std::wstring& text);
    int ItemIcon(int index) const;
    void SetItemIcon(int index, int icon);
    std::wstring ItemTag(int index) const;
    void SetItemTag(int index, const std::wstring& tag);
    // A number the owner keeps with the entry (where its row lies); 0 at first.
    std::uintptr_t ItemData(int index) const;
    void SetItemData(int index, std::uintptr_t data);

    bool ItemSelected(int index) const;
    void SetItemSelected(int index, bool selected);
    bool ItemFocused(int index) const;
    void SetItemFocused(int index, bool focused);
    int FirstSelected() const;  // -1 when none
    void EnsureVisible(int index);

    // In-place edit of the entry's text. Only edits started here happen; the
    // user cannot start one by clicking. Returns the edit box.
    HWND StartLabelEdit(int index);
    bool IsEditing() const;

    // Entry under a point in the inner list's client pixels; -1 for none.
    int HitTest(POINT client) const;
    // Top of the entry in the inner list's client pixels.
    std::optional<int> ItemTop(int index) const;
    void ScrollBy(int dxPixels, int dyPixels);

    // ---- Columns ----
    // Widths are twips, as everywhere else in the program's layout.
    int AddColumn(const std::wstring& text, int widthTwips);
    bool RemoveColumn(int column);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    std::wstring ColumnText(int column) const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int widthTwips);
    int ColumnWidthPixels(int column) const;
    void SetColumnWidthPixels(int column, int pixels);

    int SortMark(int column) const;
    void SetSortMark(int column, int mark);  // shown on the header as the sort arrow
    int SortType(int column) const;
    void SetSortType(int column, int type);
    // Orders the entries by the first column with a mark; ties keep their
    // order. Text is compared by the user's locale without regard to case.
    void Sort();

    // ---- Groups ----
    // A group added without a position goes before all groups added earlier;
    // with a position it takes that 0-based place in the order (past the end:
    // last). False when the key is empty or taken.
    bool AddGroup(const std::wstring& key, const std::wstring& header, int position = kNoPosition);
    bool RemoveGroup(const std::wstring& key);  // its entries are left without a group
    void ClearGroups();
    bool HasGroup(const std::wstring& key) const;
    int GroupCount() const { return static_cast<int>(groups_.size()); }
    std::vector<std::wstring> GroupKeys() const;  // in display order
    std::wstring GroupHeader(const std::wstring& key) const;
    bool SetGroupHeader(const std::wstring& key, const std::wstring& header);
    // An empty key takes the entry out of its group.
    bool SetItemGroup(int index, const std::wstring& groupKey);
    std::wstring ItemGroup(int index) const;
    void EnableGroups(bool on);
    bool GroupsEnabled() const { return groupsEnabled_; }
    // Entry indices in the order the user sees them: by group (entries without
    // a group are not shown then) while groups are on, else by index.
    std::vector<int> DisplayOrder() const;

    // ---- Appearance ----
    void SetViewMode(ViewMode mode);
    ViewMode GetViewMode() const { return view_; }
    // The owner keeps the list and destroys it; which: LVSIL_SMALL / LVSIL_NORMAL.
    void SetImageList(HIMAGELIST images, int which = LVSIL_SMALL);
    HIMAGELIST ImageList(int which = LVSIL_SMALL) const;
    // A picture file shown once (not tiled) behind the entries. The offsets are
    // the picture's position in percent of the free space (100 = right or bottom
    // edge; larger values count as 100). Needs COM on the thread.
    bool SetBackgroundPicture(const std::wstring& path, int xOffset, int yOffset);
    void ClearBackgroundPicture();
    const std::wstring& BackgroundPicture() const { return picture_; }
    void SetRedraw(bool on);
    void SetExtendedStyle(DWORD mask, DWORD style);
    void SetTextColor(COLORREF colour);
    void SetFont(HFONT font);
    // The Explorer look of lists on Vista and later; does nothing elsewhere.
    void SetExplorerTheme();

    // ---- Interception ----
    void SetMessageHook(MessageHook hook) { hook_ = std::move(hook); }
    void SetListMessageHook(MessageHook hook);

    // The inner list's messages, by its subclass.
    LRESULT OnControlMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

    // ---- Events ----
    std::function<void(const MouseEvent&)> OnClick;
    std::function<void(const MouseEvent&)> OnDblClick;
    std::function<void(WORD virtualKey)> OnKeyDown;
    std::function<void(int column)> OnColumnClick;
    std::function<void(int index)> OnItemDrag;
    // When an edit started by StartLabelEdit ends: newText is nullopt when the
    // user cancelled. Return true to take the new text. Do not add or remove
    // entries from here: post a message or arm a timer for that.
    std::function<bool(int index, const std::optional<std::wstring>& newText)> OnLabelEditEnd;

    // Files dragged from Explorer (OLE drag and drop; needs OleInitialize on
    // the thread). The handlers return the drop effect (DROPEFFECT_*).
    bool EnableFileDrop(bool on);
    FileDragHandler OnFileDragOver;
    FileDragHandler OnFileDrop;
    std::function<void()> OnFileDragLeave;

  private:
    struct Entry {
        std::uint32_t id = 0;  // the native item's lParam
        std::wstring key;
        std::wstring tag;
        std::wstring group;
        std::uintptr_t data = 0;
    };
    struct Group {
        std::wstring key;
        std::wstring header;
        int id = 0;  // the native group id
    };
    struct Column {
        int mark = kMarkNone;
        int sortType = kSortText;
    };
    class cDropTarget;
    friend class cDropTarget;

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;
    LRESULT OnNotify(NMHDR* header);
    LRESULT RelayHeaderNotification(WPARAM wParam, LPARAM lParam);
    bool ValidIndex(int index) const { return index >= 0 && index < ItemCount(); }
    bool ValidColumn(int column) const { return column >= 0 && column < ColumnCount(); }
    const Group* FindGroup(const std::wstring& key) const;
    void ShowSortMark(int column);
    int TwipsToPixels(int twips) const;
    int PixelsToTwips(int pixels) const;

    HWND list_ = nullptr;
    std::vector<Entry> entries_;
    std::vector<Group> groups_;
    std::vector<Column> columns_;
    std::uint32_t nextEntryId_ = 1;
    int nextGroupId_ = 1;
    bool groupsEnabled_ = false;
    bool editRequested_ = false;
    UINT relayCode_ = 0;  // header notification being handled by the native list
    bool relaySeen_ = false;
    ViewMode view_ = ViewMode::Details;
    std::wstring picture_;
    MessageHook hook_;
    MessageHook listHook_;
    cDropTarget* dropTarget_ = nullptr;
};

}  // namespace pw
