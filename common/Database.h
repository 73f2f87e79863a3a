// One short-lived connection to the history file. Every operation opens its
// own and closes it in the same handler, so that the other program can read
// and compact the file in between.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DateTime.h"

struct sqlite3;
struct sqlite3_stmt;

namespace pw {

// A row of a running query; valid only inside the callback that received it.
class cRow {
  public:
    explicit cRow(sqlite3_stmt* stmt) : stmt_(stmt) {}
    std::wstring Text(int column) const;
    long Long(int column) const;
    std::optional<LocalTime> Date(int column) const;
    bool IsNull(int column) const;

  private:
    sqlite3_stmt* stmt_;
};

// A visit as the worker keeps it until it is stored: the moment it was
// reported, not the moment the write finally succeeds.
struct TimedVisit {
    std::wstring path;
    std::wstring name;
    LocalTime when;
};

class cDatabase {
  public:
    cDatabase() = default;
    ~cDatabase();
    cDatabase(const cDatabase&) = delete;
    cDatabase& operator=(const cDatabase&) = delete;

    // Opens an existing history file for reading and writing; never creates
    // one (a missing file is the caller's cue to copy the template). A
    // history of an earlier build is rebuilt to the present schema first; a
    // file without the visits table (an empty one too) is damaged.
    bool Open(const std::wstring& path, Clock clock = {});
    void Close();
    bool IsOpen() const { return db_ != nullptr; }

    // Runs one statement written in the Jet dialect.
    bool Execute(std::wstring_view jetSql, long* affectedRows = nullptr);

    // Runs a query written in the Jet dialect; onRow returns false to stop.
    template <typename F>
    bool Query(std::wstring_view jetSql, F&& onRow) {
        sqlite3_stmt* stmt = Prepare(jetSql);
        if (!stmt)
            return false;
        int rc;
        while ((rc = Step(stmt)) == 100 /* SQLITE_ROW */) {
            if (!onRow(cRow(stmt))) {
                rc = 101;
                break;
            }
        }
        return Finish(stmt, rc);
    }

    // Appends one visit with the clock's present moment.
    bool AppendVisit(std::wstring_view folderPath, std::wstring_view folderName);
    // Appends visits with their own moments in one transaction: all of them
    // or, on failure, none.
    bool AppendVisits(const std::vector<TimedVisit>& visits);

    // Rebuilds the file in place without its free pages. SQLite holds the
    // write lock from the first page read to the last page written, so a
    // write of the other program waits (its busy timeout) instead of going
    // into a copy that is then thrown away.
    bool Compact();

    // The clock's present moment: what the history's queries count back from.
    LocalTime Now() const;

    // Takes SQLite's last error on this connection as the reason of a
    // failure (for statements run on Handle()); always false.
    bool TakeError() { return Fail(); }

    const std::string& LastError() const { return error_; }
    // SQLite's number of the last failure (kCannotOpen for a file that
    // could not be opened).
    int LastErrorCode() const { return errorCode_; }
    static constexpr int kCannotOpen = 14;
    // The file is damaged or no database at all (SQLite's CORRUPT and
    // NOTADB): nothing but a rebuild helps. Busy, locked, read-only or full
    // are no damage; the same write may succeed later.
    static bool IsDamage(int errorCode);
    bool Damaged() const { return IsDamage(errorCode_); }
    sqlite3* Handle() const { return db_; }

  private:
    bool HasVisitsTable();
    bool UpgradeSchema();
    bool Exec(const char* sql);
    sqlite3_stmt* Prepare(std::wstring_view jetSql);
    int Step(sqlite3_stmt* stmt);
    bool Finish(sqlite3_stmt* stmt, int rc);
    bool Fail();

    sqlite3* db_ = nullptr;
    std::unique_ptr<Clock> clock_;  // the functions keep its address
    std::string error_;
    int errorCode_ = 0;
};

// The comparison of the history's text columns: letter case ignored, umlauts
// included, as Jet compared. Registered under a name of the programs' own:
// under SQLite's NOCASE, another tool writing the file would order the same
// indexes by its own rule.
constexpr char kNoCaseCollation[] = "PFADWERK_NOCASE";

// The schema of common/schema.sql, and the version it sets in user_version.
std::string_view HistorySchemaSql();
constexpr int kHistorySchemaVersion = 2;

// Registers Now(), DateAdd(), the case-insensitive collation and Like on a
// connection. Exposed for the benchmark's and the tests' raw connections.
bool RegisterJetFunctions(sqlite3* db, Clock* clock);

}  // namespace pw
