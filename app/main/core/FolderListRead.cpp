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
    FolderRow row;
    auto takeRow = [&](const cRow& r) {
        row.path = r.Text(0);
        if (rows.Check(row.path) != RowVerdict::Take)
            return;
        row.name = r.Text(1);
        if (view == FolderView::MostUsed) {
            row.dateUsed.reset();
            row.usageCount = r.Long(2);
        } else {
            row.dateUsed = r.Date(2);
            row.usageCount = 0;
        }
        if (addEntry && !addEntry(row))
            return;
        rows.Added(row.dateUsed, row.usageCount);
    };
    return db.Query(query.sql, [&](const cRow& r) {
        takeRow(r);
        if (rows.Full())
            return false;
        if (afterRow)
            afterRow();
        return true;
    });
}

}  // namespace pw
