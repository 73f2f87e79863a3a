// An in-memory history with the programs' functions and a few visits, for
// the fuzzers that run statements. Statements may only read: whatever a
// fuzzer makes of a query, it cannot attach files or change the history,
// and a runaway one is stopped after a bounded amount of work.
#pragma once
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Database.h"
#include "Text.h"

namespace pwfuzz {

inline int ReadOnly(void*, int action, const char*, const char*, const char*, const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_FUNCTION:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        default:
            return SQLITE_DENY;
    }
}

inline int Enough(void* counter) {
    return ++*static_cast<int*>(counter) > 200;
}

inline pw::cDatabase& FuzzHistory() {
    static pw::cDatabase* db = [] {
        // The programs open only a file that already holds the visits table,
        // so the history is made first, as the template is, in a scratch file
        // of this process that goes again at exit.
        static const std::string path = "/tmp/pfadwerk-fuzz-history-" + std::to_string(getpid()) + ".dat";
        std::remove(path.c_str());
        sqlite3* raw = nullptr;
        bool made_file =
            sqlite3_open(path.c_str(), &raw) == SQLITE_OK && pw::RegisterJetFunctions(raw, nullptr) &&
            sqlite3_exec(raw, std::string(pw::HistorySchemaSql()).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(raw);
        if (!made_file)
            std::abort();
        std::atexit([] { std::remove(path.c_str()); });
        auto* made = new pw::cDatabase;
        if (!made->Open(pw::FromUtf8(path), [] { return pw::LocalTime{2026, 12, 7, 12, 0, 0}; }))
            std::abort();
        sqlite3* h = made->Handle();
        made->AppendVisits({{L"C:\\Dokumente\\Übersicht", L"Übersicht", {2026, 12, 7, 9, 0, 0}},
                            {L"c:\\dokumente\\übersicht", L"übersicht", {2026, 12, 1, 9, 0, 0}},
                            {L"\\\\Server\\Freigabe 50%", L"Freigabe_1", {2026, 10, 1, 9, 0, 0}}});
        sqlite3_set_authorizer(h, ReadOnly, nullptr);
        sqlite3_limit(h, SQLITE_LIMIT_ATTACHED, 0);
        return made;
    }();
    return *db;
}

// Runs a query of the Jet dialect to its end (or the work limit); true when
// it ran without error.
inline bool RunQuery(const std::wstring& jet) {
    pw::cDatabase& db = FuzzHistory();
    int work = 0;
    sqlite3_progress_handler(db.Handle(), 1000, Enough, &work);
    bool ok = db.Query(jet, [](const pw::cRow& row) {
        row.Text(0);
        row.Date(0);
        return true;
    });
    sqlite3_progress_handler(db.Handle(), 0, nullptr, nullptr);
    return ok;
}

}  // namespace pwfuzz
