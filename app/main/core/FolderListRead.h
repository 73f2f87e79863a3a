// The reading loop of a list fill: asks the history, skips what may not
// become an entry and stops at the entry limit. The window code supplies the
// step that needs the shell (icon lookup, adding the list item).
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "Database.h"
#include "FolderListQuery.h"
#include "FolderListRows.h"
#include "HistoryQueries.h"

namespace pw {

using FolderRow = HistoryRow;

// Gets each row that may become entry number rows.Count() + 1 (key
// rows.NextKey()); returns true when it added the entry, false when the
// folder has no icon (gone) and the row is to be skipped.
using AddFolderEntry = std::function<bool(const FolderRow& row)>;

// False when the history could not be read (db.LastError() tells why); the
// entries added until then stay. afterRow runs after every row read that
// does not end the fill, skipped rows included: a window may let pending
// messages run there, so that typing goes on during a long search.
bool ReadFolderRows(cDatabase& db,
                    FolderView view,
                    const FolderQuery& query,
                    cFolderListRows& rows,
                    const AddFolderEntry& addEntry,
                    const std::function<void()>& afterRow = {});

}  // namespace pw
