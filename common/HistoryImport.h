// Visits taken over from elsewhere (the folders Windows remembers): which
// folders the history knows already, and the import itself, one transaction
// that may be fed in parts so that a window can show its progress between
// them. A folder the history holds is never given a second visit: an import
// run twice adds nothing the second time.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "Database.h"

struct sqlite3_stmt;

namespace pw {

// For each path, whether the history holds a visit of it (compared as the
// history compares paths). All false when the history cannot be read.
std::vector<bool> FoldersInHistory(cDatabase& db, const std::vector<std::wstring>& paths);

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

    cDatabase& db_;
    sqlite3_stmt* insert_ = nullptr;
    bool open_ = false;
    long added_ = 0;
};

}  // namespace pw
