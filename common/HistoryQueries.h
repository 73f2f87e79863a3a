// Every read and write of the history apart from appending a visit: typed
// calls with bound parameters. This file and its .cpp are the only place
// outside the schema that names the history's tables or holds its SQL; the
// one piece of SQL text taken from outside, the stored ignore filter, is
// joined into the lists' queries here and nowhere else.
#pragma once
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Database.h"
#include "DateTime.h"

struct sqlite3_stmt;

namespace pw {

// One entry of a history list as the history gives it.
struct HistoryRow {
    std::wstring path;                  // FolderPath
    std::wstring name;                  // FolderName
    std::optional<LocalTime> dateUsed;  // last used: the folder's newest visit
    long usageCount = 0;                // most used: its visits within the time frame
};

// Gets each row in list order; returns false to stop reading.
using HistoryRowSink = std::function<bool(const HistoryRow& row)>;

// The entries of the time-frame box of the most-used list, index 0 to 6:
// "(Alle)", then the last 2 hours (which has always reached back three, so
// that a folder used just before the mark does not drop out), 24 hours, 3,
// 7, 14 and 30 days.
inline constexpr int kTimeframeCount = 7;
// An index outside 0..6 (a damaged MRUTimeframe) is read as 0, "(Alle)".
int NormalizeTimeframe(int index);

// The most-used list's length: the folders with the most visits.
inline constexpr int kMostUsedRows = 15;

// The ignore filter as the lists take it: a text the ignore list has checked
// for its exact shape (IsIgnoreFilter); empty for none.
struct IgnoreFilterText {
    std::wstring_view sql;
};

// Last used: one row per folder and name, newest visit first (visits of the
// same second in the order they were stored, later first), with the texts
// of that visit. A non-empty search text keeps the folders whose path or
// name contains it, blanks cut at both ends, letter case ignored, "%" and
// "_" acting as wildcards; a text of blanks alone keeps every folder.
bool ReadLastUsed(cDatabase& db, std::wstring_view searchText, IgnoreFilterText filter, const HistoryRowSink& onRow);

// Most used: the kMostUsedRows folders and names with the most visits within
// the time frame (counted up to the clock's present moment), by falling
// count, equal counts by path, then name; each with the texts of its oldest
// visit within the time frame.
bool ReadMostUsed(cDatabase& db, int timeframeIndex, IgnoreFilterText filter, const HistoryRowSink& onRow);

// Deletes every visit of the folder, the path compared as the history
// compares paths (letter case ignored). False when the delete failed.
bool RemoveFolder(cDatabase& db, std::wstring_view path);
// Deletes every visit.
bool ClearHistory(cDatabase& db);
// The visits older than `days` days before the clock's present moment, to
// the second (a visit exactly that old stays); -1 when the history cannot be
// read. A negative period counts as 0.
long CountOlderThan(cDatabase& db, long days);
// Deletes those visits: the number deleted, -1 on failure (nothing deleted).
long DeleteOlderThan(cDatabase& db, long days);

// For each path, whether the history holds a visit of it (compared as the
// history compares paths). All false when the history cannot be read.
std::vector<bool> FoldersInHistory(cDatabase& db, const std::vector<std::wstring>& paths);

// Visits taken over from elsewhere (the folders Windows remembers), one
// transaction that may be fed in parts so that a window can show its
// progress between them. A folder the history holds is never given a second
// visit: an import run twice adds nothing the second time.
class cVisitImport {
  public:
    explicit cVisitImport(cDatabase& db) : db_(db) {}
    // Rolls back whatever was not committed.
    ~cVisitImport();
    cVisitImport(const cVisitImport&) = delete;
    cVisitImport& operator=(const cVisitImport&) = delete;

    // Takes the history's write lock until Commit or Rollback.
    bool Begin();
    // Appends each visit whose folder the history does not hold yet.
    bool Add(std::span<const TimedVisit> visits);
    bool Commit();
    void Rollback();
    long Added() const { return added_; }

  private:
    void Finalize();
    void RestoreTempStore();

    cDatabase& db_;
    sqlite3_stmt* insert_ = nullptr;
    bool open_ = false;
    long added_ = 0;
};

}  // namespace pw
