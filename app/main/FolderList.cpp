// The folder list's control: its columns, views, sort marks, hover tips and
// keys. Its fills are in FolderList_Fill.cpp.
#include "FolderList.h"

#include <algorithm>
#include <utility>

#include "FolderListTips.h"
#include "ResText.h"
#include "Text.h"
#include "app_res.h"

namespace pw {
namespace {

// Posted to the control's window: the first column's new width is known only
// after its header notification has passed.
UINT RecalcColumnsMessage() {
    static const UINT message = RegisterWindowMessageW(L"PfadwerkRecalcColumns");
    return message;
}

// Text widths as the list measures them, with its font, in one DC of its
// window for all the texts: the list takes a DC of its own for each text it
// is asked about, and the column's samples are many.
class cListTextWidths {
  public:
    explicit cListTextWidths(HWND list)
        : list_(list), dc_(list), font_(dc_.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0))) {}

    int Of(const std::wstring& text) const {
        // Without a font of its own the list measures in its default one.
        if (!font_)
            return static_cast<int>(
                SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
        SIZE size{};
        GetTextExtentPoint32W(dc_.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

  private:
    HWND list_;
    cWindowDC dc_;
    cSelection font_;
};

}  // namespace

// The list shares its image list (LVS_SHAREIMAGELISTS) and goes first.
cFolderList::~cFolderList() {
    lvwFolders_.Destroy();
}

bool cFolderList::Create(HWND parent,
                         UINT id,
                         Events& events,
                         HFONT font,
                         const Twips& twips,
                         const DisplayLook& look,
                         int scrollBarAllowance) {
    events_ = &events;
    twips_ = twips;
    look_ = look;
    scrollBarAllowance_ = scrollBarAllowance;
    texts_ = LoadListTexts([](unsigned id) { return ResText(id); });
    RECT none{0, 0, 0, 0};
    if (!lvwFolders_.Create(parent, id, none, cListView::kDefaultStyle, WS_EX_CLIENTEDGE))
        return false;
    lvwFolders_.SetFont(font);
    lvwFolders_.SetMessageHook([this](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return OnControlMessage(msg, wParam, lParam, result);
    });
    lvwFolders_.SetListMessageHook([this](HWND list, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return OnListMessage(list, msg, wParam, lParam, result);
    });
    lvwFolders_.OnClick = [this](const cListView::MouseEvent& event) { events_->FolderClicked(event); };
    lvwFolders_.OnColumnClick = [this](int column) { events_->FolderColumnClicked(column); };
    return true;
}

// The inner list's keys: the window's first, then Enter on an entry.
bool cFolderList::OnListMessage(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!IsKeyMessage(msg))
        return false;
    result = 0;
    switch (events_->PreviewKey(list, msg, wParam, lParam)) {
        case KeyPreview::Taken:
            return true;
        case KeyPreview::ControlOnly:
            return false;
        case KeyPreview::Free:
            break;
    }
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            swallowChar_ =
                wParam == VK_RETURN && GetFocus() == list && events_->FolderEntered(lvwFolders_.FirstSelected());
            return swallowChar_;
        case WM_CHAR:
        case WM_SYSCHAR:
            return std::exchange(swallowChar_, false);
        default:
            return false;
    }
}

void cFolderList::AddColumns(int firstColumnWidth, bool hidePathColumn) {
    hidePathColumn_ = hidePathColumn;
    lvwFolders_.AddColumn(ResText(IDS_COLUMN_FOLDER), firstColumnWidth);
    if (!hidePathColumn_)
        lvwFolders_.AddColumn(ResText(IDS_COLUMN_PATH), 5000);
}

// The column's designed width was made for one font; a wider font or a
// locale with longer names needs more to show the header and every date
// text whole.
int cFolderList::UsedCountColumnWidth() const {
    int designed = look_.vistaThemed ? 1300 : 1410;
    HWND list = lvwFolders_.hWndListView();
    if (!list)
        return designed;
    const cListTextWidths widths(list);
    auto textWidth = [&widths](const std::wstring& text) { return widths.Of(text); };
    cWindowDC screen(nullptr);
    int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
    // The cell's margins on both sides, and the sort arrow beside the header.
    const int margin = MulDiv(14, dpi, 96);
    const int arrow = MulDiv(18, dpi, 96);
    int pixels = textWidth(ResText(IDS_COLUMN_USED)) + margin + arrow;
    for (const std::wstring& text : LastUsedDateTextSamples(dateLocale_, texts_)) {
        pixels = std::max(pixels, textWidth(text) + margin);
    }
    pixels = std::max(pixels, textWidth(FillPlaceholders(texts_.usageCount, {L"99999"})) + margin);
    return std::max(designed, pixels * twips_.perPixelX);
}

void cFolderList::AddUsedCountColumn() {
    usedColumnAdded_ = true;
    usedCountColumnWidth_ = UsedCountColumnWidth();
    lvwFolders_.AddColumn(ResText(IDS_COLUMN_USED), usedCountColumnWidth_);
    RecalcColumnsWidths();
    if (HWND header = lvwFolders_.hWndHeader()) {
        SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) | HDS_BUTTONS);
    }
}

void cFolderList::RecalcColumnsWidths() {
    if (lvwFolders_.ColumnCount() == 0)
        return;
    ColumnInput in;
    in.listWidth = twips_.Place(lvwFolders_.hWnd()).width;
    in.hidePathColumn = hidePathColumn_;
    in.firstColumnWidth = lvwFolders_.ColumnWidth(0);
    in.usedCountColumnWidth = usedCountColumnWidth_;
    in.scrollBarAllowance = scrollBarAllowance_;
    int column = hidePathColumn_ ? 0 : 1;
    if (column < lvwFolders_.ColumnCount())
        lvwFolders_.SetColumnWidth(column, FlexibleColumnWidth(in));
}

void cFolderList::UseDetailsView(ListSize size) {
    iconsPending_ = false;
    pendingIcons_.clear();
    lvwFolders_.SetImageList(nullptr, LVSIL_SMALL);
    lvwFolders_.SetImageList(nullptr, LVSIL_NORMAL);
    int pixels = IconPixels(size);
    smallIcons_ = pixels == 16;
    imageList_.Reset(ImageList_Create(pixels, pixels, ILC_COLOR32, 15, 150));
    lvwFolders_.SetViewMode(cListView::ViewMode::Details);
    lvwFolders_.SetImageList(imageList_.Get(), LVSIL_SMALL);
}

void cFolderList::UseLargeIconView() {
    iconsPending_ = false;
    pendingIcons_.clear();
    lvwFolders_.SetImageList(nullptr, LVSIL_SMALL);
    lvwFolders_.SetImageList(nullptr, LVSIL_NORMAL);
    smallIcons_ = false;
    imageList_.Reset(ImageList_Create(32, 32, ILC_COLOR32, 15, 150));
    lvwFolders_.SetViewMode(cListView::ViewMode::LargeIcons);
    lvwFolders_.SetImageList(imageList_.Get(), LVSIL_NORMAL);
}

const FolderRow* cFolderList::RowOf(int index) const {
    if (index < 0 || index >= lvwFolders_.ItemCount())
        return nullptr;
    std::uintptr_t row = lvwFolders_.ItemData(index);
    return row < rows_.size() ? &rows_[row] : nullptr;
}

// Sort marks and order after a fill; the header arrow shows the view's mode,
// also in the grouped last-used list, which keeps the query's order.
void cFolderList::ApplySortMarks(FolderView view, SortMode mode) {
    mode = NormalizeSortMode(view, static_cast<int>(mode), hidePathColumn_);
    SortPlan plan = SortPlanFor(view, mode, hidePathColumn_);
    for (int column = 0; column < lvwFolders_.ColumnCount(); ++column) {
        lvwFolders_.SetSortMark(column, cListView::kMarkNone);
        lvwFolders_.SetSortType(column, cListView::kSortText);
    }
    if (plan.sort && plan.column < lvwFolders_.ColumnCount()) {
        lvwFolders_.EnableGroups(false);
        lvwFolders_.SetSortType(plan.column, plan.sortType);
        lvwFolders_.SetSortMark(plan.column, plan.mark);
        lvwFolders_.Sort();
    } else {
        lvwFolders_.EnableGroups(plan.groups);
    }
    // The arrow alone changes here; the rest of the item's format stays.
    SortArrow arrow = ShowSortArrowFor(mode, hidePathColumn_);
    HWND header = lvwFolders_.hWndHeader();
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (header && arrow.column >= 0 &&
        SendMessageW(header, HDM_GETITEMW, arrow.column, reinterpret_cast<LPARAM>(&item))) {
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        item.fmt |= HeaderFormatForArrow(arrow.state) & (HDF_SORTUP | HDF_SORTDOWN);
        SendMessageW(header, HDM_SETITEMW, arrow.column, reinterpret_cast<LPARAM>(&item));
    }
}

void cFolderList::SetHeaderSortArrow(int column, int state) {
    HWND header = lvwFolders_.hWndHeader();
    if (!header || column < 0 || column >= static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)))
        return;
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    item.fmt = HeaderFormatForArrow(state);
    SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
}

void cFolderList::ShowSortArrow(SortMode mode) {
    SortArrow arrow = ShowSortArrowFor(mode, hidePathColumn_);
    SetHeaderSortArrow(arrow.column, arrow.state);
}

void cFolderList::ClearSortArrow(SortMode mode) {
    SortArrow arrow = ClearSortArrowFor(mode, hidePathColumn_);
    SetHeaderSortArrow(arrow.column, arrow.state);
}

std::wstring cFolderList::InfoTip(int index) const {
    const FolderRow* row = RowOf(index);
    if (!row)
        return {};
    InfoTipRequest request;
    request.view = shownView_;
    request.largeIcons = lvwFolders_.GetViewMode() == cListView::ViewMode::LargeIcons;
    request.hidePathColumn = hidePathColumn_;
    request.path = row->path;
    request.dateUsed = row->dateUsed;
    request.usageCount = row->usageCount;
    return FolderInfoTip(request, SystemLocalTime(), dateLocale_, texts_);
}

// The control's own window hears the list's and the header's notifications:
// only "Ordner" is sized by hand, the others follow it, and each entry has
// its hover tip.
bool cFolderList::OnControlMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg == RecalcColumnsMessage()) {
        RecalcColumnsWidths();
        result = 0;
        return true;
    }
    if (msg != WM_NOTIFY || !lParam)
        return false;
    const auto* notify = reinterpret_cast<const NMHDR*>(lParam);
    const int usedColumn = hidePathColumn_ ? 1 : 2;
    switch (notify->code) {
        case HDN_BEGINTRACKW:
        case HDN_BEGINTRACKA:
            if (reinterpret_cast<const NMHEADERW*>(lParam)->iItem == 0)
                return false;
            result = 1;
            return true;
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
            if (usedColumn < lvwFolders_.ColumnCount())
                usedCountColumnWidth_ = lvwFolders_.ColumnWidth(usedColumn);
            RecalcColumnsWidths();
            return false;
        case HDN_ITEMCHANGINGW:
        case HDN_ITEMCHANGINGA:
            if (!hidePathColumn_ && reinterpret_cast<const NMHEADERW*>(lParam)->iItem == 0) {
                PostMessageW(lvwFolders_.hWnd(), RecalcColumnsMessage(), 0, 0);
            }
            return false;
        case LVN_GETINFOTIPW: {
            auto* request = reinterpret_cast<NMLVGETINFOTIPW*>(lParam);
            std::wstring tip = InfoTip(request->iItem);
            if (!tip.empty() && request->pszText && request->cchTextMax > 0) {
                std::wstring fitted = FitInfoTip(tip, request->cchTextMax);
                wmemcpy(request->pszText, fitted.c_str(), fitted.size() + 1);
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace pw
