#include "FolderListRead.h"

namespace pw {

bool ReadFolderRows(cDatabase& db,
                    FolderView view,
                    const FolderQuery& query,
                    cFolderListRows& rows,
                    const AddFolderEntry& addEntry) {
    if (rows.Full())
        return true;
    FolderRow row;
    return db.Query(query.sql, [&](const cRow& r) {
        row.path = r.Text(0);
        if (rows.Check(row.path) != RowVerdict::Take)
            return true;
        row.name = r.Text(1);
        if (view == FolderView::MostUsed) {
            row.dateUsed.reset();
            row.usageCount = r.Long(2);
        } else {
            row.dateUsed = r.Date(2);
            row.usageCount = 0;
        }
        if (addEntry && !addEntry(row))
            return true;
        rows.Added(row.dateUsed, row.usageCount);
        return !rows.Full();
    });
}

}  // namespace pw
