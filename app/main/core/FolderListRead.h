// The reading loop of a list fill: runs the query, skips what may not become
// an entry and stops at the entry limit. The window code supplies the step
// that needs the shell (icon lookup, adding the list item).
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "Database.h"
#include "DateTime.h"
#include "FolderListQuery.h"
#include "FolderListRows.h"

namespace pw {

struct FolderRow {
    std::wstring path;                  // FolderPath
    std::wstring name;                  // FolderName
    std::optional<LocalTime> dateUsed;  // last-used list
    long usageCount = 0;                // most-used list
};

// Gets each row that may become entry number rows.Count() + 1 (key
// rows.NextKey()); returns true when it added the entry, false when the
// folder has no icon (gone) and the row is to be skipped.
using AddFolderEntry = std::function<bool(const FolderRow& row)>;

// Reads the list from the history's summary where it can (the same entries
// in the same order as the query texts give, far fewer rows to read), else
// by the query text. False when the query failed (db.LastError() tells why);
// the entries added until then stay. afterRow runs after every row read that does not end the
// fill, skipped rows included: the window lets pending messages run there,
// so that typing goes on during a long search.
bool ReadFolderRows(cDatabase& db,
                    FolderView view,
                    const FolderQuery& query,
                    cFolderListRows& rows,
                    const AddFolderEntry& addEntry,
                    const std::function<void()>& afterRow = {});

// The same by the query text alone, reading every visit it selects.
bool ReadFolderRowsByQueryText(cDatabase& db,
                               FolderView view,
                               const FolderQuery& query,
                               cFolderListRows& rows,
                               const AddFolderEntry& addEntry,
                               const std::function<void()>& afterRow = {});

}  // namespace pw
