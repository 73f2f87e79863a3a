#include "Database.h"

#include <sqlite3.h>

#include <string>
#include <vector>

#include "JetSql.h"
#include "Text.h"

namespace pw {
namespace {

// Long enough to wait out the other program's append or a compaction.
constexpr int kBusyTimeoutMs = 2000;

LocalTime Now(Clock* clock) {
    return (clock && *clock) ? (*clock)() : SystemLocalTime();
}

void NowFunction(sqlite3_context* ctx, int, sqlite3_value**) {
    auto* clock = static_cast<Clock*>(sqlite3_user_data(ctx));
    std::string text = FormatDbDate(Now(clock));
    sqlite3_result_text(ctx, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void DateAddFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL ||
        sqlite3_value_type(argv[2]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto interval = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    auto number = sqlite3_value_int64(argv[1]);
    auto dateText = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]));
    auto date = ParseDbDate(dateText ? dateText : "");
    auto result = date ? DateAdd(interval ? interval : "", number, *date) : std::nullopt;
    if (!result) {
        sqlite3_result_error(ctx, "DateAdd: invalid argument", -1);
        return;
    }
    std::string text = FormatDbDate(*result);
    sqlite3_result_text(ctx, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

int NoCaseCollation(void*, int lenA, const void* a, int lenB, const void* b) {
    return CompareNoCase({static_cast<const char*>(a), static_cast<size_t>(lenA)},
                         {static_cast<const char*>(b), static_cast<size_t>(lenB)});
}

void DeleteFoldedPattern(void* p) {
    delete static_cast<std::u32string*>(p);
}

// X Like P arrives as like(P, X). The folded pattern is kept with the
// statement so that a search over many rows folds it once.
void LikeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto* pattern = static_cast<std::u32string*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        auto text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
        pattern = new std::u32string(FoldUtf8(text ? text : ""));
        sqlite3_set_auxdata(ctx, 0, pattern, DeleteFoldedPattern);
        pattern = static_cast<std::u32string*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            sqlite3_result_error_nomem(ctx);
            return;
        }
    }
    auto text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    int len = sqlite3_value_bytes(argv[1]);
    thread_local std::u32string folded;
    FoldUtf8({text ? text : "", static_cast<size_t>(len)}, folded);
    sqlite3_result_int(ctx, LikeFolded(*pattern, folded) ? 1 : 0);
}

constexpr char kNowParameter[] = ":pfadwerk_now";

bool IsNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Jet takes Now() once per query. Each Now() of a statement, outside quotes,
// becomes one parameter bound to the moment of preparing it: the whole
// statement sees one moment, and SQLite may work out DateAdd(…, Now()) once
// instead of once per row, as Now() itself is not deterministic.
std::string PinNow(const std::string& sql) {
    std::string out;
    out.reserve(sql.size());
    char quote = 0;
    for (size_t i = 0; i < sql.size(); ++i) {
        char c = sql[i];
        if (quote) {
            if (c == quote)
                quote = 0;  // a doubled quote closes and reopens
            out += c;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            out += c;
            continue;
        }
        if ((c == 'n' || c == 'N') && (i == 0 || !IsNameChar(sql[i - 1])) && i + 3 <= sql.size() &&
            (sql.compare(i, 3, "now") == 0 || sql.compare(i, 3, "Now") == 0 || sql.compare(i, 3, "NOW") == 0)) {
            size_t j = i + 3;
            while (j < sql.size() && sql[j] == ' ')
                ++j;
            if (j < sql.size() && sql[j] == '(') {
                ++j;
                while (j < sql.size() && sql[j] == ' ')
                    ++j;
                if (j < sql.size() && sql[j] == ')') {
                    out += kNowParameter;
                    i = j;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

}  // namespace

bool RegisterJetFunctions(sqlite3* db, Clock* clock) {
    const int flags = SQLITE_UTF8;
    // Now() changes from call to call: SQLite must not fold it into an index
    // expression or take one call for another.
    return sqlite3_create_function_v2(db, "Now", 0, flags, clock, NowFunction, nullptr, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function_v2(db, "DateAdd", 3, flags | SQLITE_DETERMINISTIC, nullptr, DateAddFunction, nullptr,
                                      nullptr, nullptr) == SQLITE_OK &&
           sqlite3_create_function_v2(db, "like", 2, flags | SQLITE_DETERMINISTIC, nullptr, LikeFunction, nullptr,
                                      nullptr, nullptr) == SQLITE_OK &&
           sqlite3_create_collation_v2(db, kNoCaseCollation, SQLITE_UTF8, nullptr, NoCaseCollation, nullptr) ==
               SQLITE_OK;
}

std::wstring cRow::Text(int column) const {
    auto text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    int len = sqlite3_column_bytes(stmt_, column);
    return text ? FromUtf8({text, static_cast<size_t>(len)}) : std::wstring();
}

long cRow::Long(int column) const {
    return static_cast<long>(sqlite3_column_int64(stmt_, column));
}

std::optional<LocalTime> cRow::Date(int column) const {
    auto text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? ParseDbDate(text) : std::nullopt;
}

bool cRow::IsNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

LocalTime cDatabase::Now() const {
    return pw::Now(clock_.get());
}

cDatabase::~cDatabase() {
    Close();
}

bool cDatabase::Open(const std::wstring& path, Clock clock) {
    Close();
    clock_ = std::make_unique<Clock>(std::move(clock));
    std::string utf8 = ToUtf8(path);
    if (sqlite3_open_v2(utf8.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        Fail();
        Close();
        return false;
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // Reading the history through a mapping instead of a read call per page
    // makes a search over all rows several times faster where file reads
    // are dear. 128 MiB is far more than 42 days of history need and still
    // little of a 32-bit address space.
    sqlite3_exec(db_, "PRAGMA mmap_size=134217728", nullptr, nullptr, nullptr);
    if (!RegisterJetFunctions(db_, clock_.get())) {
        Fail();
        Close();
        return false;
    }
    if (!HasVisitsTable() || !UpgradeSchema()) {  // has told why
        Close();
        return false;
    }
    return true;
}

// A file without the visits table is no history, whatever else it holds: an
// empty file (a copy that never finished) or another program's database. It
// counts as damaged, so that it is replaced or set aside instead of failing
// every write with "no such table".
bool cDatabase::HasVisitsTable() {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'FoldersProtocol'", -1,
                           &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return Fail();
    }
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        Fail();
    sqlite3_finalize(stmt);
    if (rc == SQLITE_DONE) {
        errorCode_ = SQLITE_NOTADB;
        error_ = sqlite3_errstr(SQLITE_NOTADB);
    }
    return rc == SQLITE_ROW;
}

bool cDatabase::Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A history of an earlier build declares its text columns with SQLite's
// NOCASE, and its indexes may have been written by a tool that compared by
// SQLite's rule; or it lacks a table that the triggers now keep. It is
// rebuilt once, in one transaction: everything but the visits anew from the
// present schema, every row with its rowid (ties in DateUsed keep their
// order), which the triggers file into the summaries on the way.
bool cDatabase::UpgradeSchema() {
    auto version = [this] {
        int v = -1;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW)
            v = sqlite3_column_int(stmt, 0);
        sqlite3_finalize(stmt);
        return v;
    };
    int before = version();
    if (before < 0)
        return Fail();  // no database at all
    if (before >= kHistorySchemaVersion)
        return true;
    if (!Exec("BEGIN IMMEDIATE"))
        return Fail();
    bool ok = true;
    // The other program may have done it while this one waited for the lock.
    if (version() < kHistorySchemaVersion) {
        bool hasTable = false;
        // In the order they can be dropped: triggers before the tables they
        // write, an index with its table or before the visits are renamed.
        std::vector<std::string> drops;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_,
                               "SELECT type, name FROM sqlite_schema WHERE "
                               "(tbl_name = 'FoldersProtocol' AND (type = 'table' OR type = 'trigger' OR "
                               "(type = 'index' AND sql IS NOT NULL))) OR "
                               "(type = 'table' AND name <> 'FoldersProtocol' AND substr(name, 1, 7) <> 'sqlite_') "
                               "ORDER BY CASE type WHEN 'trigger' THEN 0 WHEN 'table' THEN 1 ELSE 2 END",
                               -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                std::string type = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                std::string name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
                if (name == "FoldersProtocol")
                    hasTable = true;
                else
                    drops.push_back("DROP " + type + " \"" + name + "\"");
            }
        }
        sqlite3_finalize(stmt);
        if (hasTable) {
            for (const auto& drop : drops)
                ok = ok && Exec(drop.c_str());
            ok = ok && Exec("ALTER TABLE FoldersProtocol RENAME TO FoldersProtocol_Earlier") &&
                 Exec(std::string(HistorySchemaSql()).c_str()) &&
                 // A row that breaks the present checks could not have been
                 // stored by either program; it is left behind.
                 Exec(
                     "INSERT OR IGNORE INTO FoldersProtocol (rowid, FolderPath, FolderName, DateUsed) "
                     "SELECT rowid, FolderPath, FolderName, DateUsed FROM FoldersProtocol_Earlier") &&
                 Exec("DROP TABLE FoldersProtocol_Earlier");
        }
    }
    if (!ok) {
        Fail();
        Exec("ROLLBACK");
        return false;
    }
    return Exec("COMMIT") || Fail();
}

void cDatabase::Close() {
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
    clock_.reset();
}

static_assert(cDatabase::kCannotOpen == SQLITE_CANTOPEN);

bool cDatabase::Fail() {
    error_ = db_ ? sqlite3_errmsg(db_) : "no connection";
    errorCode_ = db_ ? sqlite3_errcode(db_) : SQLITE_ERROR;
    return false;
}

sqlite3_stmt* cDatabase::Prepare(std::wstring_view jetSql) {
    if (!db_) {
        Fail();
        return nullptr;
    }
    std::string sql = PinNow(ToUtf8(TranslateJetSql(jetSql)));
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK) {
        Fail();
        sqlite3_finalize(stmt);
        return nullptr;
    }
    if (int index = sqlite3_bind_parameter_index(stmt, kNowParameter)) {
        std::string now = FormatDbDate(Now());
        sqlite3_bind_text(stmt, index, now.c_str(), static_cast<int>(now.size()), SQLITE_TRANSIENT);
    }
    return stmt;
}

int cDatabase::Step(sqlite3_stmt* stmt) {
    return sqlite3_step(stmt);
}

bool cDatabase::Finish(sqlite3_stmt* stmt, int rc) {
    if (rc != SQLITE_DONE)
        Fail();
    sqlite3_finalize(stmt);
    return rc == SQLITE_DONE;
}

bool cDatabase::Execute(std::wstring_view jetSql, long* affectedRows) {
    if (affectedRows)
        *affectedRows = 0;
    sqlite3_stmt* stmt = Prepare(jetSql);
    if (!stmt)
        return false;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    bool ok = Finish(stmt, rc);
    if (ok && affectedRows)
        *affectedRows = static_cast<long>(sqlite3_changes(db_));
    return ok;
}

bool cDatabase::AppendVisit(std::wstring_view folderPath, std::wstring_view folderName) {
    if (!db_)
        return Fail();
    static const char kInsert[] = "INSERT INTO FoldersProtocol (FolderPath, FolderName, DateUsed) VALUES (?1, ?2, ?3)";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, kInsert, -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return Fail();
    }
    std::string path = ToUtf8(folderPath), name = ToUtf8(folderName), date = FormatDbDate(Now());
    sqlite3_bind_text(stmt, 1, path.c_str(), static_cast<int>(path.size()), SQLITE_STATIC);
    sqlite3_bind_text(stmt, 2, name.c_str(), static_cast<int>(name.size()), SQLITE_STATIC);
    sqlite3_bind_text(stmt, 3, date.c_str(), static_cast<int>(date.size()), SQLITE_STATIC);
    return Finish(stmt, sqlite3_step(stmt));
}

bool cDatabase::AppendVisits(const std::vector<TimedVisit>& visits) {
    if (!db_)
        return Fail();
    if (visits.empty())
        return true;
    if (!Exec("BEGIN IMMEDIATE"))
        return Fail();
    static const char kInsert[] = "INSERT INTO FoldersProtocol (FolderPath, FolderName, DateUsed) VALUES (?1, ?2, ?3)";
    sqlite3_stmt* stmt = nullptr;
    bool ok = sqlite3_prepare_v2(db_, kInsert, -1, &stmt, nullptr) == SQLITE_OK;
    for (size_t i = 0; ok && i < visits.size(); ++i) {
        std::string path = ToUtf8(visits[i].path), name = ToUtf8(visits[i].name), date = FormatDbDate(visits[i].when);
        sqlite3_bind_text(stmt, 1, path.c_str(), static_cast<int>(path.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 3, date.c_str(), static_cast<int>(date.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(stmt) == SQLITE_DONE;
        sqlite3_reset(stmt);
    }
    if (!ok)
        Fail();  // before finalize and rollback overwrite the reason
    sqlite3_finalize(stmt);
    if (ok && Exec("COMMIT"))
        return true;
    if (ok)
        Fail();
    // Keeps the first failure's reason; the rollback only ends the transaction.
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    return false;
}

bool cDatabase::IsDamage(int errorCode) {
    int primary = errorCode & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool cDatabase::Compact() {
    if (!db_)
        return Fail();
    if (sqlite3_exec(db_, "VACUUM", nullptr, nullptr, nullptr) != SQLITE_OK)
        return Fail();
    return true;
}

}  // namespace pw
