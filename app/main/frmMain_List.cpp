// The two history lists of the main window: the fill from the history file,
// the sort marks, the pane instead of an empty list, and the list control's
// window procedure with its hover tips and column guards.
#include <shlobj.h>
#include <sqlite3.h>

#include <optional>

#include "AppFlags.h"
#include "DataFiles.h"
#include "Database.h"
#include "FolderIcons.h"
#include "FolderListQuery.h"
#include "FolderListRead.h"
#include "ProgramNames.h"
#include "FolderListRows.h"
#include "FolderListSort.h"
#include "FolderListTips.h"
#include "LocaleTexts.h"
#include "Settings.h"
#include "ShellFolders.h"
#include "Text.h"
#include "frmMain.h"

namespace pw {
namespace {

constexpr wchar_t kListOwnerProperty[] = L"PfadwerkListOwner";
constexpr wchar_t kUsedColumnText[] = L"Verwendet";
constexpr wchar_t kSearchTipTitle[] = L"Tip: Verwendeten Ordner suchen";
constexpr wchar_t kSearchTipText[] =
    L"Geben Sie hier zukünftig einfach ein paar Buchstaben eines früher verwendeten Ordners ein, um diesen schnell "
    L"zu öffnen.";
// Messages run at most this often while a long search reads the history:
// often enough for typing, rarely enough not to slow the reading down.
constexpr DWORD kEventsIntervalMs = 15;

// Posted to the control's window: the first column's new width is known only
// after its header notification has passed.
UINT RecalcColumnsMessage() {
    static const UINT message = RegisterWindowMessageW(L"PfadwerkRecalcColumns");
    return message;
}

std::wstring TextOfWindow(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The header arrow of a column (state 0 none, 1 up, 2 down), leaving the rest
// of the item's format as it is.
void SetHeaderArrow(HWND header, int column, int state) {
    if (!header || column < 0) return;
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item))) return;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    item.fmt |= HeaderFormatForArrow(state) & (HDF_SORTUP | HDF_SORTDOWN);
    SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
}

// The entry number (from 1) behind an entry: its key "itmx" + n - 1 stays
// with it when the list is sorted.
int EntryNumber(const cListView& list, int index) {
    std::wstring key = list.ItemKey(index);
    if (key.size() <= 4 || key.compare(0, 4, L"itmx") != 0) return 0;
    int n = 0;
    for (size_t i = 4; i < key.size(); ++i) {
        if (key[i] < L'0' || key[i] > L'9' || n > 1000000) return 0;
        n = n * 10 + (key[i] - L'0');
    }
    return n + 1;
}

void ShowReadProblem(HWND owner, const std::string& description, int number) {
    std::wstring text = L"Es ist folgendes Problem beim Lesen der Pfadwerk-Daten aufgetreten:\r" +
                        FromUtf8(description) + L" (Fehlernummer: " + std::to_wstring(number) + L")";
    MessageBoxW(owner, text.c_str(), L"Pfadwerk", MB_OK | MB_ICONERROR);
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

void frmMain::FillFolderList(bool bRebuildGroups) {
    if (!hwnd_ || (lCurrentView != 1 && lCurrentView != 2)) return;
    const unsigned generation = ++fillGeneration_;
    const FolderView view = static_cast<FolderView>(lCurrentView);
    bListFilled = false;
    HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    LockWindowUpdate(hwnd_);
    lvwFolders.SetRedraw(false);
    cFolderIcons icons(imageList_, smallIcons_);
    icons.Reset();
    RemoveListViewWindowProc();

    lvwFolders.ClearItems();
    if (!bUsedColumnAdded) AddUsedCountColumn();
    lvwFolders.EnableGroups(false);
    if (bRebuildGroups && view == FolderView::LastUsed) {
        lvwFolders.ClearGroups();
        for (DateGroup group : kDateGroupCreationOrder) {
            lvwFolders.AddGroup(std::wstring(DateGroupKey(group)), std::wstring(DateGroupHeader(group)));
        }
    }

    std::wstring findText = findCue_ ? std::wstring() : TextOfWindow(txtFind);
    int timeframe = static_cast<int>(SendMessageW(cmbMostUsedTimeframe, CB_GETCURSEL, 0, 0));
    FolderQuery query = BuildFolderQuery(view, findText, timeframe, sIgnoreFilter);
    dtRowDateUsed.assign(static_cast<size_t>(query.limit) + 1, LocalTime{});
    lRowUsageCount.assign(static_cast<size_t>(query.limit) + 1, 0);
    dateLocale_ = UserDateLocale();

    int added = 0;
    bool superseded = false;
    {
        cDatabase db;
        if (OpenHistory(db)) {
            cFolderListRows rows(query.limit);
            const LocalTime now = SystemLocalTime();
            const bool pathColumn = !bOptions_HidePathColumn;
            auto addEntry = [&](const FolderRow& row) {
                if (superseded) return false;
                int image = icons.Add(row.path);
                if (image < 0) return false;  // the folder is gone
                const int n = rows.Count() + 1;
                std::vector<std::wstring> subItems;
                if (pathColumn) subItems.push_back(row.path);
                std::optional<DateGroup> group;
                if (view == FolderView::MostUsed) {
                    lRowUsageCount[n] = row.usageCount;
                    subItems.push_back(UsageCountText(row.usageCount));
                } else if (row.dateUsed) {
                    dtRowDateUsed[n] = *row.dateUsed;
                    LastUsedDate date = LastUsedDateText(*row.dateUsed, now, dateLocale_);
                    subItems.push_back(date.text);
                    group = date.group;
                } else {
                    subItems.emplace_back();
                    group = DateGroup::Older;
                }
                int index = lvwFolders.AddItem(rows.NextKey(), row.name, image, subItems);
                if (index < 0) return false;
                lvwFolders.SetItemTag(index, row.path);
                if (group) lvwFolders.SetItemGroup(index, std::wstring(DateGroupKey(*group)));
                return true;
            };
            DWORD lastEvents = GetTickCount();
            auto afterRow = [&] {
                if (superseded || GetTickCount() - lastEvents < kEventsIntervalMs) return;
                DoEvents();
                lastEvents = GetTickCount();
                // The window closed, or a newer fill ran, while messages ran.
                if (!hwnd_ || generation != fillGeneration_) superseded = true;
            };
            bool read = ReadFolderRows(db, view, query, rows, addEntry, afterRow);
            added = rows.Count();
            if (!read && !superseded) {
                int number = db.Handle() ? sqlite3_errcode(db.Handle()) : SQLITE_ERROR;
                ShowReadProblem(hwnd_, db.LastError(), number);
            }
        }
    }
    // The window went while messages ran: nothing left to show.
    if (!hwnd_) {
        LockWindowUpdate(nullptr);
        bListFilled = true;
        return;
    }
    // A newer fill ran meanwhile and has done the rest.
    if (superseded) return;

    ApplySortMarks();
    InstallListViewWindowProc();
    lvwFolders.SetRedraw(true);
    LockWindowUpdate(nullptr);
    InvalidateRect(lvwFolders.hWndListView(), nullptr, TRUE);

    if (added > 0 && !bFirstRunPending) {
        if (bMessagePaneShown) {
            bMessagePaneShown = false;
            ShowWindow(picMessagePane, SW_HIDE);
        }
        SetFocus(lvwFolders.hWndListView());
        if (view == FolderView::LastUsed && !bSearchTipShown) ShowSearchTip();
    } else {
        ShowMessagePane();
    }
    SetCursor(previousCursor ? previousCursor : LoadCursorW(nullptr, IDC_ARROW));
    bListFilled = true;
}

// The history file, made from the template when it is missing. False after
// the one message a failure shows.
bool frmMain::OpenHistory(cDatabase& db) {
    const std::wstring path = options_.databasePath.empty() ? DatabasePath() : options_.databasePath;
    if (db.Open(path)) return true;
    if (!FileExists(path)) {
        std::wstring folder = FolderOf(path);
        if (!folder.empty() && !FileExists(folder)) SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
        // Never over a file that the worker has made in the meantime.
        CopyFileW((options_.programFolder + L"\\Template.dat").c_str(), path.c_str(), TRUE);
        std::wstring roaming = GetShellFolderPath(CSIDL_APPDATA);
        if (!roaming.empty()) {
            std::wstring link = roaming + L"\\" + kQuickLaunchLink;
            if (!FileExists(link)) {
                CreateShortcut(link, options_.programFolder + L"\\Pfadwerk.exe", options_.programFolder, L"", L"",
                               L"", 0, SW_SHOWNORMAL);
            }
        }
        if (db.Open(path)) return true;
    }
    ShowReadProblem(hwnd_, db.LastError(), SQLITE_CANTOPEN);
    return false;
}

void frmMain::AddUsedCountColumn() {
    bUsedColumnAdded = true;
    lUsedCountColumnWidth = bVistaThemed ? 1300 : 1410;
    lvwFolders.AddColumn(kUsedColumnText, lUsedCountColumnWidth);
    RecalcColumnsWidths();
    if (HWND header = lvwFolders.hWndHeader()) {
        SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) | HDS_BUTTONS);
    }
}

// Sort marks and order after a fill; the header arrow shows the view's mode,
// also in the grouped last-used list, which keeps the query's order.
void frmMain::ApplySortMarks() {
    const FolderView view = static_cast<FolderView>(lCurrentView);
    const int mode = NormalizeSortMode(view, view == FolderView::LastUsed ? lSortingLastUsed : lSortingMostUsed,
                                       bOptions_HidePathColumn);
    SortPlan plan = SortPlanFor(view, mode, bOptions_HidePathColumn);
    for (int column = 0; column < lvwFolders.ColumnCount(); ++column) {
        lvwFolders.SetSortMark(column, cListView::kMarkNone);
        lvwFolders.SetSortType(column, cListView::kSortText);
    }
    if (plan.sort && plan.column < lvwFolders.ColumnCount()) {
        lvwFolders.EnableGroups(false);
        lvwFolders.SetSortType(plan.column, plan.sortType);
        lvwFolders.SetSortMark(plan.column, plan.mark);
        lvwFolders.Sort();
    } else {
        lvwFolders.EnableGroups(plan.groups);
    }
    SortArrow arrow = ShowSortArrowFor(mode, bOptions_HidePathColumn);
    SetHeaderArrow(lvwFolders.hWndHeader(), arrow.column, arrow.state);
}

// Once per user, after the first fill with entries: where the search is.
void frmMain::ShowSearchTip() {
    WriteNumber(Setting::TipShown_SearchFolder, 1);
    bSearchTipShown = true;
    bMustIgnoreSearchBalloonTipClick = true;
    if (options_.show) {
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
    }
    SetFocus(txtFind);
    EDITBALLOONTIP tip{};
    tip.cbStruct = sizeof tip;
    tip.pszTitle = kSearchTipTitle;
    tip.pszText = kSearchTipText;
    tip.ttiIcon = TTI_INFO;
    // Systems without the message (comctl32 before version 6) just go on.
    SendMessageW(txtFind, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
}

LocalTime frmMain::GetInfoTipDateValue(long lItemIndex) const {
    if (lItemIndex < 0 || static_cast<size_t>(lItemIndex) >= dtRowDateUsed.size()) return LocalTime{};
    return dtRowDateUsed[static_cast<size_t>(lItemIndex)];
}

double frmMain::GetInfoTipLongValue(long lItemIndex) const {
    if (lItemIndex < 0 || static_cast<size_t>(lItemIndex) >= lRowUsageCount.size()) return 0;
    return static_cast<double>(lRowUsageCount[static_cast<size_t>(lItemIndex)]);
}

std::wstring frmMain::ListInfoTip(int itemIndex) const {
    if (itemIndex < 0 || itemIndex >= lvwFolders.ItemCount()) return {};
    const std::wstring path = lvwFolders.ItemTag(itemIndex);
    InfoTipRequest request;
    request.view = static_cast<FolderView>(lCurrentView);
    request.largeIcons = lvwFolders.GetViewMode() == cListView::ViewMode::LargeIcons;
    request.hidePathColumn = bOptions_HidePathColumn;
    request.path = path;
    const int n = EntryNumber(lvwFolders, itemIndex);
    if (request.view == FolderView::LastUsed) {
        if (n < 1 || static_cast<size_t>(n) >= dtRowDateUsed.size()) return {};
        request.dateUsed = GetInfoTipDateValue(n);
    } else if (request.view == FolderView::MostUsed) {
        request.usageCount = static_cast<long>(GetInfoTipLongValue(n));
    }
    return FolderInfoTip(request, SystemLocalTime(), dateLocale_);
}

void frmMain::InstallListViewWindowProc() {
    HWND control = lvwFolders.hWnd();
    if (!control || lOriginalListViewWindowProcAddress) return;
    SetPropW(control, kListOwnerProperty, this);
    lOriginalListViewWindowProcAddress = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frmMain::ListViewWindowProc)));
}

void frmMain::RemoveListViewWindowProc() {
    HWND control = lvwFolders.hWnd();
    if (!lOriginalListViewWindowProcAddress) return;
    if (control) {
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lOriginalListViewWindowProcAddress));
        RemovePropW(control, kListOwnerProperty);
    }
    lOriginalListViewWindowProcAddress = nullptr;
}

LRESULT CALLBACK frmMain::ListViewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<frmMain*>(GetPropW(hwnd, kListOwnerProperty));
    if (!self || !self->lOriginalListViewWindowProcAddress) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->OnListViewMessage(hwnd, msg, wParam, lParam);
}

LRESULT frmMain::OnListViewMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = lOriginalListViewWindowProcAddress;
    if (msg == RecalcColumnsMessage()) {
        RecalcColumnsWidths();
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        RemoveListViewWindowProc();
        return CallWindowProcW(original, hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NOTIFY && lParam) {
        const auto* notify = reinterpret_cast<const NMHDR*>(lParam);
        const int usedColumn = bOptions_HidePathColumn ? 1 : 2;
        switch (notify->code) {
            case HDN_BEGINTRACKW:
            case HDN_BEGINTRACKA:
                // Only "Ordner" is sized by hand; the others follow it.
                if (reinterpret_cast<const NMHEADERW*>(lParam)->iItem != 0) return 1;
                break;
            case HDN_DIVIDERDBLCLICKW:
            case HDN_DIVIDERDBLCLICKA:
                if (usedColumn < lvwFolders.ColumnCount()) lUsedCountColumnWidth = lvwFolders.ColumnWidth(usedColumn);
                RecalcColumnsWidths();
                break;
            case HDN_ITEMCHANGINGW:
            case HDN_ITEMCHANGINGA:
                if (!bOptions_HidePathColumn && reinterpret_cast<const NMHEADERW*>(lParam)->iItem == 0) {
                    PostMessageW(hwnd, RecalcColumnsMessage(), 0, 0);
                }
                break;
            case LVN_GETINFOTIPW: {
                auto* request = reinterpret_cast<NMLVGETINFOTIPW*>(lParam);
                std::wstring tip = ListInfoTip(request->iItem);
                if (!tip.empty() && request->pszText && request->cchTextMax > 0) {
                    std::wstring fitted = FitInfoTip(tip, request->cchTextMax);
                    wmemcpy(request->pszText, fitted.c_str(), fitted.size() + 1);
                }
                break;
            }
            default:
                break;
        }
    }
    return CallWindowProcW(original, hwnd, msg, wParam, lParam);
}

}  // namespace pw
