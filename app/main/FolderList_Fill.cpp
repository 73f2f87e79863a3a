// The fills of the folder list: a history view from the history file, made
// from its template when it is missing and repaired once when it is damaged,
// with the shell's icons it may leave for later; the favorites view.
#include <windows.h>

#include <optional>

#include "FolderIcons.h"
#include "FolderList.h"
#include "FolderListRows.h"
#include "LocaleTexts.h"
#include "ResText.h"
#include "Text.h"
#include "app_res.h"

namespace pw {

bool cFolderList::OpenHistory(cDatabase& db, const HistoryFiles& files) {
    if (db.Open(files.database))
        return true;
    if (GetFileAttributesW(files.database.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    EnsureHistory(files);
    events_->HistoryCreated();
    return db.Open(files.database);
}

HistoryReadProblem cFolderList::FillFromHistoryFile(const HistoryFiles& files, const HistoryFill& fill) {
    HistoryReadProblem problem;
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool damaged = false;
        problem = {};
        {
            cDatabase db;
            bool open = OpenHistory(db, files);
            if (fill.historyOpened && attempt == 0)
                fill.historyOpened();
            if (!open) {
                problem.description = db.LastError();
                problem.number = db.Damaged() ? db.LastErrorCode() : cDatabase::kCannotOpen;
                damaged = db.Damaged();
            }
            if (!FillFromHistory(open ? &db : nullptr, fill) && open) {
                problem.description = db.LastError();
                problem.number = db.LastErrorCode();
                damaged = db.Damaged();
            }
        }
        if (!damaged || attempt > 0 || !RepairDamagedHistory(files))
            break;
        events_->HistoryRepaired();
    }
    return problem;
}

bool cFolderList::FillFromHistory(cDatabase* db, const HistoryFill& fill) {
    const FolderView view = fill.view;
    shownView_ = view;
    lvwFolders_.SetRedraw(false);
    cFolderIcons icons(imageList_.Get(), smallIcons_);
    pendingIcons_.clear();
    iconsPending_ = fill.iconsLater;
    shareIcon_ = !fill.iconsLater;
    if (fill.iconsLater)
        icons.Clear();
    else
        icons.Reset();
    lvwFolders_.ClearItems();
    rows_.clear();
    if (!usedColumnAdded_) {
        dateLocale_ = UserDateLocale();
        AddUsedCountColumn();
    }
    lvwFolders_.EnableGroups(false);
    if (fill.rebuildGroups && view == FolderView::LastUsed) {
        lvwFolders_.ClearGroups();
        for (DateGroup group : kDateGroupCreationOrder) {
            lvwFolders_.AddGroup(std::wstring(DateGroupKey(group)), DateGroupHeader(group, texts_));
        }
    }

    bool read = true;
    if (db) {
        FolderQuery query = BuildFolderQuery(view, fill.searchText, fill.timeframe, fill.ignoreFilter);
        rows_.reserve(static_cast<size_t>(query.limit));
        dateLocale_ = UserDateLocale();
        cFolderListRows rows(query.limit);
        const LocalTime now = SystemLocalTime();
        auto addEntry = [&](const FolderRow& row) {
            // A folder the file system knows gets its icon later; network
            // paths need no shell; whether any other is gone, the shell says
            // now, as it would without waiting.
            const bool later = fill.iconsLater && !IsNetworkFolderPath(row.path) && LocalPathExists(row.path);
            if (!later && !shareIcon_ && !IsNetworkFolderPath(row.path)) {
                icons.Reset();
                shareIcon_ = true;
            }
            int image = later ? -1 : icons.Add(row.path);
            if (image < 0 && !later)
                return false;  // the folder is gone
            std::vector<std::wstring> subItems;
            if (!hidePathColumn_)
                subItems.push_back(row.path);
            std::optional<DateGroup> group;
            if (view == FolderView::MostUsed) {
                subItems.push_back(FillPlaceholders(texts_.usageCount, {std::to_wstring(row.usageCount)}));
            } else if (row.dateUsed) {
                LastUsedDate date = LastUsedDateText(*row.dateUsed, now, dateLocale_, texts_);
                subItems.push_back(date.text);
                group = date.group;
            } else {
                subItems.emplace_back();
                group = DateGroup::Older;
            }
            int index = lvwFolders_.AddItem(rows.NextKey(), row.name, image, subItems);
            if (index < 0)
                return false;
            rows_.push_back(row);
            if (later)
                pendingIcons_.push_back(rows_.size() - 1);
            lvwFolders_.SetItemData(index, rows_.size() - 1);
            lvwFolders_.SetItemTag(index, row.path);
            if (group)
                lvwFolders_.SetItemGroup(index, std::wstring(DateGroupKey(*group)));
            return true;
        };
        read = ReadFolderRows(*db, view, query, rows, addEntry);
    }
    ApplySortMarks(view, fill.sortMode);
    lvwFolders_.SetRedraw(true);
    return read;
}

void cFolderList::LoadPendingIcons() {
    if (!iconsPending_)
        return;
    iconsPending_ = false;
    cFolderIcons icons(imageList_.Get(), smallIcons_);
    if (!shareIcon_) {
        icons.Reset();
        shareIcon_ = true;
    }
    // Sorting may have moved the entries since the fill; each knows its row.
    std::vector<int> entryOfRow(rows_.size(), -1);
    for (int i = 0; i < lvwFolders_.ItemCount(); ++i) {
        std::uintptr_t row = lvwFolders_.ItemData(i);
        if (row < rows_.size())
            entryOfRow[row] = i;
    }
    for (size_t row : pendingIcons_) {
        int image = icons.Add(rows_[row].path);
        if (image >= 0 && entryOfRow[row] >= 0)
            lvwFolders_.SetItemIcon(entryOfRow[row], image);
    }
    pendingIcons_.clear();
}

int cFolderList::FillFavorites(const FavoritesData& data) {
    shownView_ = FolderView::Favorites;
    pendingIcons_.clear();
    iconsPending_ = false;
    lvwFolders_.SetRedraw(false);
    cFolderIcons icons(imageList_.Get(), smallIcons_);
    icons.Reset();
    lvwFolders_.ClearItems();
    rows_.clear();
    lvwFolders_.ClearGroups();
    lvwFolders_.EnableGroups(false);
    // "Sonstige" first: each group added later goes before it.
    lvwFolders_.AddGroup(kOtherGroupName, kOtherGroupName);
    if (usedColumnAdded_) {
        usedColumnAdded_ = false;
        usedCountColumnWidth_ = 0;
        lvwFolders_.RemoveColumn(hidePathColumn_ ? 1 : 2);
        RecalcColumnsWidths();
    }
    // Favorites are in the user's order: the headers are no buttons here.
    if (HWND header = lvwFolders_.hWndHeader())
        SetWindowLongPtrW(header, GWL_STYLE, GetWindowLongPtrW(header, GWL_STYLE) & ~HDS_BUTTONS);
    for (size_t i = data.groups.size(); i-- > 0;)
        lvwFolders_.AddGroup(MakeItemKey(static_cast<long>(i + 1)), data.groups[i].name);

    long n = 0;
    auto add = [&](const Favorite& favorite, const std::wstring& groupKey) {
        // A name whose path was lost (a hand-edited store) leads nowhere.
        if (favorite.path.empty())
            return;
        std::vector<std::wstring> subItems;
        if (!hidePathColumn_)
            subItems.push_back(favorite.path);
        // The shell has no icon for a folder that is gone; it is listed all the same.
        int index = lvwFolders_.AddItem(MakeItemKey(++n), favorite.name, icons.Add(favorite.path), subItems);
        if (index < 0)
            return;
        rows_.push_back(FolderRow{favorite.path, favorite.name, std::nullopt, 0});
        lvwFolders_.SetItemData(index, rows_.size() - 1);
        lvwFolders_.SetItemTag(index, favorite.path);
        lvwFolders_.SetItemGroup(index, groupKey);
    };
    for (size_t i = 0; i < data.groups.size(); ++i) {
        for (const Favorite& favorite : data.groups[i].favorites)
            add(favorite, MakeItemKey(static_cast<long>(i + 1)));
    }
    for (const Favorite& favorite : data.uncategorized)
        add(favorite, kOtherGroupName);
    for (int column = 0; column < lvwFolders_.ColumnCount(); ++column)
        lvwFolders_.SetSortMark(column, cListView::kMarkNone);
    lvwFolders_.EnableGroups(!data.groups.empty());
    lvwFolders_.SetRedraw(true);
    return static_cast<int>(rows_.size());
}

}  // namespace pw
