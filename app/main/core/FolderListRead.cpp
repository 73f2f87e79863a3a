#include "FolderListRead.h"

namespace pw {

bool ReadFolderRows(cDatabase& db,
                    FolderView view,
                    const FolderQuery& query,
                    cFolderListRows& rows,
                    const AddFolderEntry& addEntry,
                    const std::function<void()>& afterRow) {
    if (rows.Full())
        return true;
    auto take = [&](const HistoryRow& row) {
        if (rows.Check(row.path) == RowVerdict::Take && (!addEntry || addEntry(row)))
            rows.Added(row.dateUsed, row.usageCount);
        if (rows.Full())
            return false;
        if (afterRow)
            afterRow();
        return true;
    };
    const IgnoreFilterText filter{query.ignoreFilter};
    if (view == FolderView::MostUsed)
        return ReadMostUsed(db, query.timeframe, filter, take);
    return ReadLastUsed(db, query.searchText, filter, take);
}

}  // namespace pw
