#include "HistoryImport.h"

#include <sqlite3.h>

#include "Text.h"

namespace pw {
namespace {

void BindText(sqlite3_stmt* stmt, int index, const std::string& text) {
    sqlite3_bind_text(stmt, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

}  // namespace

std::vector<bool> FoldersInHistory(cDatabase& db, const std::vector<std::wstring>& paths) {
    std::vector<bool> known(paths.size(), false);
    if (!db.IsOpen() || paths.empty())
        return known;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.Handle(), "SELECT 1 FROM FoldersProtocol WHERE FolderPath = ?1 LIMIT 1", -1, &stmt,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return known;
    }
    for (size_t i = 0; i < paths.size(); ++i) {
        BindText(stmt, 1, ToUtf8(paths[i]));
        known[i] = sqlite3_step(stmt) == SQLITE_ROW;
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    return known;
}

cVisitImport::~cVisitImport() {
    Rollback();
}

bool cVisitImport::Begin() {
    if (open_ || !db_.IsOpen())
        return false;
    sqlite3* db = db_.Handle();
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    open_ = true;
    added_ = 0;
    // The test for a visit of the folder stands in the insert itself: the
    // other program may store one while this import is being put together.
    if (sqlite3_prepare_v2(db,
                           "INSERT INTO FoldersProtocol (FolderPath, FolderName, DateUsed) SELECT ?1, ?2, ?3 "
                           "WHERE NOT EXISTS (SELECT 1 FROM FoldersProtocol WHERE FolderPath = ?1)",
                           -1, &insert_, nullptr) != SQLITE_OK) {
        Rollback();
        return false;
    }
    return true;
}

bool cVisitImport::Add(std::span<const TimedVisit> visits) {
    if (!open_)
        return false;
    for (const TimedVisit& visit : visits) {
        BindText(insert_, 1, ToUtf8(visit.path));
        BindText(insert_, 2, ToUtf8(visit.name));
        BindText(insert_, 3, FormatDbDate(visit.when));
        bool ok = sqlite3_step(insert_) == SQLITE_DONE;
        sqlite3_reset(insert_);
        if (!ok)
            return false;
        added_ += sqlite3_changes(db_.Handle()) > 0 ? 1 : 0;
    }
    return true;
}

bool cVisitImport::Commit() {
    if (!open_)
        return false;
    Finalize();
    if (sqlite3_exec(db_.Handle(), "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Rollback();
        return false;
    }
    open_ = false;
    return true;
}

void cVisitImport::Rollback() {
    Finalize();
    if (open_ && db_.IsOpen())
        sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    if (open_)
        added_ = 0;
    open_ = false;
}

void cVisitImport::Finalize() {
    sqlite3_finalize(insert_);
    insert_ = nullptr;
}

}  // namespace pw
