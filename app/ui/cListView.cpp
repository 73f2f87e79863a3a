// The control window, entries, columns and sorting of cListView. Groups and
// appearance live in cListViewGroups.cpp, file drops in cListViewDrop.cpp.
#include "cListView.h"

#include <algorithm>
#include <cwctype>
#include <unordered_map>

#include "Handles.h"

namespace pw {
namespace {

constexpr wchar_t kControlClass[] = L"PfadwerkLvw";
constexpr UINT kInnerListId = 1;

HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

// Header notifications an owner may answer (refuse a drag, re-lay columns).
bool IsRelayedHeaderCode(UINT code) {
    switch (code) {
        case HDN_BEGINTRACKW:
        case HDN_BEGINTRACKA:
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
        case HDN_ITEMCHANGINGW:
        case HDN_ITEMCHANGINGA:
            return true;
    }
    return false;
}

int ScreenDpi() {
    cWindowDC screen(nullptr);
    int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
    return dpi > 0 ? dpi : 96;
}

int CALLBACK CompareByRank(LPARAM first, LPARAM second, LPARAM ranks) {
    const auto& rank = *reinterpret_cast<const std::unordered_map<std::uint32_t, int>*>(ranks);
    auto a = rank.find(static_cast<std::uint32_t>(first));
    auto b = rank.find(static_cast<std::uint32_t>(second));
    if (a == rank.end() || b == rank.end())
        return 0;
    return a->second - b->second;
}

}  // namespace

std::wstring MakeItemKey(long n) {
    return L"itmx" + std::to_wstring(n);
}

std::optional<double> LeadingNumber(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+'))
        negative = text[i++] == L'-';
    double value = 0;
    bool digits = false;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        value = value * 10 + (text[i++] - L'0');
        digits = true;
    }
    if (i + 1 < text.size() && (text[i] == L'.' || text[i] == L',') && text[i + 1] >= L'0' && text[i + 1] <= L'9') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, scale /= 10) {
            value += (text[i] - L'0') * scale;
        }
        digits = true;
    }
    if (!digits)
        return std::nullopt;
    return negative ? -value : value;
}

cListView::cListView() = default;

cListView::~cListView() {
    Destroy();
}

bool cListView::Create(HWND parent, UINT id, const RECT& bounds, DWORD listStyle, DWORD listExStyle) {
    Destroy();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    if (!cWindow::Create(WindowClass{kControlClass}, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                         bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent, id))
        return false;

    RECT client{};
    GetClientRect(Hwnd(), &client);
    DWORD style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | listStyle | LVS_EDITLABELS | LVS_SHAREIMAGELISTS;
    list_ = CreateWindowExW(listExStyle, WC_LISTVIEWW, L"", style, 0, 0, client.right, client.bottom, Hwnd(),
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kInnerListId)), ProgramInstance(), nullptr);
    if (!list_) {
        Destroy();
        return false;
    }
    view_ = (listStyle & LVS_TYPEMASK) == LVS_ICON ? ViewMode::LargeIcons : ViewMode::Details;
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, kDefaultExStyle, kDefaultExStyle);
    SendMessageW(list_, WM_SETFONT, static_cast<WPARAM>(SendMessageW(parent, WM_GETFONT, 0, 0)), FALSE);
    SubclassControl(list_, this);
    return true;
}

HWND cListView::hWndHeader() const {
    return list_ ? reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0)) : nullptr;
}

void cListView::Move(const RECT& bounds) {
    if (Hwnd()) {
        MoveWindow(Hwnd(), bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
    }
}

LRESULT cListView::OnControlMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (listHook_ && message != WM_NCDESTROY) {
        LRESULT result = 0;
        if (listHook_(list, message, wParam, lParam, result))
            return result;
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header && header->hwndFrom == hWndHeader() && IsRelayedHeaderCode(header->code)) {
            return RelayHeaderNotification(wParam, lParam);
        }
    }
    return DefSubclassProc(list, message, wParam, lParam);
}

// Some list versions pass these header notifications on to the control's
// window and some (Wine's) do not; the ones that did not arrive there are sent
// on from here, so an owner sees them either way.
LRESULT cListView::RelayHeaderNotification(WPARAM wParam, LPARAM lParam) {
    const auto* header = reinterpret_cast<NMHDR*>(lParam);
    UINT previousCode = relayCode_;
    bool previousSeen = relaySeen_;
    relayCode_ = header->code;
    relaySeen_ = false;
    LRESULT result = DefSubclassProc(list_, WM_NOTIFY, wParam, lParam);
    bool seen = relaySeen_;
    relayCode_ = previousCode;
    relaySeen_ = previousSeen;
    if (!seen && Hwnd()) {
        LRESULT answer = SendMessageW(Hwnd(), WM_NOTIFY, wParam, lParam);
        if (answer)
            result = answer;
    }
    return result;
}

void cListView::SetListMessageHook(MessageHook hook) {
    listHook_ = std::move(hook);
}

LRESULT cListView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = Hwnd();
    if (message == WM_NOTIFY && relayCode_ != 0 && reinterpret_cast<NMHDR*>(lParam)->code == relayCode_) {
        relaySeen_ = true;
    }
    if (hook_ && message != WM_NCDESTROY) {
        LRESULT result = 0;
        if (hook_(hwnd, message, wParam, lParam, result))
            return result;
    }
    switch (message) {
        case WM_SIZE:
            if (list_)
                MoveWindow(list_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_SETFOCUS:
            if (list_)
                SetFocus(list_);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the list covers the whole window
        case WM_NOTIFYFORMAT:
            return NFR_UNICODE;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_DESTROY:
            EnableFileDrop(false);
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void cListView::OnDestroyed() {
    list_ = nullptr;
    entries_.clear();
    groups_.clear();
    columns_.clear();
    groupsEnabled_ = false;
    picture_.clear();
}

LRESULT cListView::OnNotify(NMHDR* header) {
    if (!header || header->hwndFrom != list_)
        return 0;
    switch (header->code) {
        case LVN_BEGINLABELEDITW:
            return editRequested_ ? FALSE : TRUE;  // TRUE refuses an edit the user started
        case LVN_ENDLABELEDITW: {
            const auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
            std::optional<std::wstring> text;
            if (info->item.pszText)
                text = std::wstring(info->item.pszText);
            if (OnLabelEditEnd)
                return OnLabelEditEnd(info->item.iItem, text) ? TRUE : FALSE;
            return text ? TRUE : FALSE;
        }
        case LVN_COLUMNCLICK:
            if (OnColumnClick)
                OnColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
            return 0;
        case LVN_KEYDOWN:
            if (OnKeyDown)
                OnKeyDown(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
            return 0;
        case LVN_BEGINDRAG:
            if (OnItemDrag)
                OnItemDrag(reinterpret_cast<NMLISTVIEW*>(header)->iItem);
            return 0;
        case NM_CLICK:
        case NM_RCLICK:
        case NM_DBLCLK:
        case NM_RDBLCLK: {
            const auto* activate = reinterpret_cast<NMITEMACTIVATE*>(header);
            MouseEvent event;
            event.index = activate->iItem;
            event.subItem = activate->iSubItem;
            event.button = (header->code == NM_RCLICK || header->code == NM_RDBLCLK) ? 2 : 1;
            event.point = activate->ptAction;
            bool dbl = header->code == NM_DBLCLK || header->code == NM_RDBLCLK;
            if (dbl && OnDblClick)
                OnDblClick(event);
            if (!dbl && OnClick)
                OnClick(event);
            return 0;
        }
    }
    return 0;
}

// ---- Entries ----

int cListView::AddItem(const std::wstring& key,
                       const std::wstring& text,
                       int icon,
                       const std::vector<std::wstring>& subItems,
                       int index) {
    if (!list_)
        return -1;
    if (!key.empty() && FindItem(key) >= 0)
        return -1;
    int position = (index < 0 || index > ItemCount()) ? ItemCount() : index;
    Entry entry;
    entry.id = nextEntryId_++;
    entry.key = key;

    std::wstring label = text;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = position;
    item.pszText = label.data();
    item.iImage = icon >= 0 ? icon : I_IMAGENONE;
    item.lParam = static_cast<LPARAM>(entry.id);
    int inserted = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (inserted < 0)
        return -1;
    entries_.insert(entries_.begin() + inserted, std::move(entry));
    for (size_t i = 0; i < subItems.size(); ++i)
        SetSubItemText(inserted, static_cast<int>(i) + 1, subItems[i]);
    return inserted;
}

bool cListView::RemoveItem(int index) {
    if (!ValidIndex(index))
        return false;
    if (!SendMessageW(list_, LVM_DELETEITEM, index, 0))
        return false;
    entries_.erase(entries_.begin() + index);
    return true;
}

void cListView::ClearItems() {
    if (list_)
        SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    entries_.clear();
}

int cListView::FindItem(const std::wstring& key) const {
    for (int i = 0; i < ItemCount(); ++i) {
        if (entries_[i].key == key)
            return i;
    }
    return -1;
}

std::wstring cListView::ItemKey(int index) const {
    return ValidIndex(index) ? entries_[index].key : L"";
}

bool cListView::SetItemKey(int index, const std::wstring& key) {
    if (!ValidIndex(index))
        return false;
    int holder = key.empty() ? -1 : FindItem(key);
    if (holder >= 0 && holder != index)
        return false;
    entries_[index].key = key;
    return true;
}

std::wstring cListView::ItemText(int index) const {
    return SubItemText(index, 0);
}

void cListView::SetItemText(int index, const std::wstring& text) {
    SetSubItemText(index, 0, text);
}

std::wstring cListView::SubItemText(int index, int subItem) const {
    if (!ValidIndex(index) || subItem < 0)
        return L"";
    std::vector<wchar_t> buffer(256);
    for (;;) {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        auto length =
            static_cast<size_t>(SendMessageW(list_, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < buffer.size())
            return std::wstring(item.pszText, length);
        buffer.resize(buffer.size() * 4);
    }
}

void cListView::SetSubItemText(int index, int subItem, const std::wstring& text) {
    if (!ValidIndex(index) || subItem < 0)
        return;
    std::wstring copy = text;
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = copy.data();
    SendMessageW(list_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
}

int cListView::ItemIcon(int index) const {
    if (!ValidIndex(index))
        return -1;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage >= 0 ? item.iImage : -1;
}

void cListView::SetItemIcon(int index, int icon) {
    if (!ValidIndex(index))
        return;
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = icon >= 0 ? icon : I_IMAGENONE;
    SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

std::wstring cListView::ItemTag(int index) const {
    return ValidIndex(index) ? entries_[index].tag : L"";
}

void cListView::SetItemTag(int index, const std::wstring& tag) {
    if (ValidIndex(index))
        entries_[index].tag = tag;
}

std::uintptr_t cListView::ItemData(int index) const {
    return ValidIndex(index) ? entries_[index].data : 0;
}

void cListView::SetItemData(int index, std::uintptr_t data) {
    if (ValidIndex(index))
        entries_[index].data = data;
}

bool cListView::ItemSelected(int index) const {
    return ValidIndex(index) && (SendMessageW(list_, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED);
}

void cListView::SetItemSelected(int index, bool selected) {
    if (!ValidIndex(index))
        return;
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(list_, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

bool cListView::ItemFocused(int index) const {
    return ValidIndex(index) && (SendMessageW(list_, LVM_GETITEMSTATE, index, LVIS_FOCUSED) & LVIS_FOCUSED);
}

void cListView::SetItemFocused(int index, bool focused) {
    if (!ValidIndex(index))
        return;
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED;
    item.state = focused ? LVIS_FOCUSED : 0;
    SendMessageW(list_, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

int cListView::FirstSelected() const {
    for (int i = 0; i < ItemCount(); ++i) {
        if (ItemSelected(i))
            return i;
    }
    return -1;
}

void cListView::EnsureVisible(int index) {
    if (ValidIndex(index))
        SendMessageW(list_, LVM_ENSUREVISIBLE, index, FALSE);
}

HWND cListView::StartLabelEdit(int index) {
    if (!ValidIndex(index))
        return nullptr;
    SetFocus(list_);
    editRequested_ = true;
    auto edit = reinterpret_cast<HWND>(SendMessageW(list_, LVM_EDITLABELW, index, 0));
    editRequested_ = false;
    return edit;
}

bool cListView::IsEditing() const {
    return list_ && SendMessageW(list_, LVM_GETEDITCONTROL, 0, 0) != 0;
}

int cListView::HitTest(POINT client) const {
    if (!list_)
        return -1;
    LVHITTESTINFO hit{};
    hit.pt = client;
    int index = static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (index >= 0 && (hit.flags & LVHT_ONITEM))
        return index;
    if (view_ == ViewMode::Details) {
        // Right of the item label but still on the row: another column.
        hit = LVHITTESTINFO{};
        hit.pt = client;
        index = static_cast<int>(SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (index >= 0 && (hit.flags & LVHT_ONITEM))
            return index;
    }
    return -1;
}

std::optional<int> cListView::ItemTop(int index) const {
    if (!ValidIndex(index))
        return std::nullopt;
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    if (!SendMessageW(list_, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)))
        return std::nullopt;
    return rect.top;
}

void cListView::ScrollBy(int dxPixels, int dyPixels) {
    if (list_)
        SendMessageW(list_, LVM_SCROLL, dxPixels, dyPixels);
}

// ---- Columns ----

int cListView::TwipsToPixels(int twips) const {
    return MulDiv(twips, ScreenDpi(), 1440);
}

int cListView::PixelsToTwips(int pixels) const {
    return MulDiv(pixels, 1440, ScreenDpi());
}

int cListView::AddColumn(const std::wstring& text, int widthTwips) {
    if (!list_)
        return -1;
    std::wstring label = text;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = TwipsToPixels(widthTwips);
    column.pszText = label.data();
    column.iSubItem = ColumnCount();
    int inserted =
        static_cast<int>(SendMessageW(list_, LVM_INSERTCOLUMNW, ColumnCount(), reinterpret_cast<LPARAM>(&column)));
    if (inserted < 0)
        return -1;
    columns_.insert(columns_.begin() + inserted, Column{});
    return inserted;
}

bool cListView::RemoveColumn(int column) {
    if (!ValidColumn(column))
        return false;
    if (!SendMessageW(list_, LVM_DELETECOLUMN, column, 0))
        return false;
    columns_.erase(columns_.begin() + column);
    return true;
}

std::wstring cListView::ColumnText(int column) const {
    if (!ValidColumn(column))
        return L"";
    wchar_t buffer[260] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = buffer;
    info.cchTextMax = static_cast<int>(std::size(buffer));
    SendMessageW(list_, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&info));
    return info.pszText ? std::wstring(info.pszText) : std::wstring();
}

int cListView::ColumnWidthPixels(int column) const {
    return ValidColumn(column) ? static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0)) : 0;
}

void cListView::SetColumnWidthPixels(int column, int pixels) {
    if (ValidColumn(column))
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(pixels, 0));
}

int cListView::ColumnWidth(int column) const {
    return PixelsToTwips(ColumnWidthPixels(column));
}

void cListView::SetColumnWidth(int column, int widthTwips) {
    SetColumnWidthPixels(column, TwipsToPixels(widthTwips));
}

int cListView::SortMark(int column) const {
    return ValidColumn(column) ? columns_[column].mark : kMarkNone;
}

void cListView::SetSortMark(int column, int mark) {
    if (!ValidColumn(column))
        return;
    columns_[column].mark = (mark == kMarkAscending || mark == kMarkDescending) ? mark : kMarkNone;
    ShowSortMark(column);
}

void cListView::ShowSortMark(int column) {
    HWND header = hWndHeader();
    if (!header)
        return;
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item)))
        return;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (columns_[column].mark == kMarkAscending)
        item.fmt |= HDF_SORTUP;
    if (columns_[column].mark == kMarkDescending)
        item.fmt |= HDF_SORTDOWN;
    SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
}

int cListView::SortType(int column) const {
    return ValidColumn(column) ? columns_[column].sortType : kSortText;
}

void cListView::SetSortType(int column, int type) {
    if (ValidColumn(column))
        columns_[column].sortType = type;
}

void cListView::Sort() {
    auto marked = std::find_if(columns_.begin(), columns_.end(), [](const Column& c) { return c.mark != kMarkNone; });
    if (marked == columns_.end() || entries_.empty())
        return;
    const int column = static_cast<int>(marked - columns_.begin());
    const bool numeric = marked->sortType == kSortNumeric;
    const bool descending = marked->mark == kMarkDescending;

    std::vector<std::wstring> texts(entries_.size());
    std::vector<std::optional<double>> numbers(entries_.size());
    for (int i = 0; i < ItemCount(); ++i) {
        texts[i] = SubItemText(i, column);
        if (numeric)
            numbers[i] = LeadingNumber(texts[i]);
    }
    // Negative: a before b. Text without a number goes before every number.
    auto compare = [&](int a, int b) {
        if (numeric && (numbers[a] || numbers[b])) {
            if (!numbers[a])
                return -1;
            if (!numbers[b])
                return 1;
            return *numbers[a] < *numbers[b] ? -1 : (*numbers[b] < *numbers[a] ? 1 : 0);
        }
        int result =
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, texts[a].c_str(), static_cast<int>(texts[a].size()),
                           texts[b].c_str(), static_cast<int>(texts[b].size()));
        return result == CSTR_LESS_THAN ? -1 : (result == CSTR_GREATER_THAN ? 1 : 0);
    };
    std::vector<int> order(entries_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return descending ? compare(b, a) < 0 : compare(a, b) < 0; });

    std::vector<Entry> sorted;
    std::unordered_map<std::uint32_t, int> rank;
    sorted.reserve(entries_.size());
    for (int index : order) {
        rank[entries_[index].id] = static_cast<int>(sorted.size());
        sorted.push_back(std::move(entries_[index]));
    }
    entries_ = std::move(sorted);
    // The native list follows the same total order, so both agree entry by entry.
    SendMessageW(list_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&rank), reinterpret_cast<LPARAM>(&CompareByRank));
}

}  // namespace pw
