// One short-lived connection to the history file. Every operation opens its
// own and closes it in the same handler, so that the other program can read
// and compact the file in between.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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

class cDatabase {
public:
    cDatabase() = default;
    ~cDatabase();
    cDatabase(const cDatabase&) = delete;
    cDatabase& operator=(const cDatabase&) = delete;

    // Opens an existing history file for reading and writing; never creates
    // one (a missing file is the caller's cue to copy the template).
    bool Open(const std::wstring& path, Clock clock = {});
    void Close();
    bool IsOpen() const { return db_ != nullptr; }

    // Runs one statement written in the Jet dialect.
    bool Execute(std::wstring_view jetSql, long* affectedRows = nullptr);

    // Runs a query written in the Jet dialect; onRow returns false to stop.
    template <typename F>
    bool Query(std::wstring_view jetSql, F&& onRow) {
        sqlite3_stmt* stmt = Prepare(jetSql);
        if (!stmt) return false;
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

    // Writes a compacted copy of the open database to a new file.
    bool CompactInto(const std::wstring& targetPath);

    const std::string& LastError() const { return error_; }
    sqlite3* Handle() const { return db_; }

private:
    sqlite3_stmt* Prepare(std::wstring_view jetSql);
    int Step(sqlite3_stmt* stmt);
    bool Finish(sqlite3_stmt* stmt, int rc);
    bool Fail();

    sqlite3* db_ = nullptr;
    std::unique_ptr<Clock> clock_;  // the functions keep its address
    std::string error_;
};

// Registers Now(), DateAdd(), the case-insensitive NOCASE collation and Like
// on a connection. Exposed for the benchmark's raw reference connection.
bool RegisterJetFunctions(sqlite3* db, Clock* clock);

}  // namespace pw
