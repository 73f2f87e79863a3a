#include "HistoryQueries.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>

#include "Text.h"

namespace pw {
namespace {

// One prepared statement of a connection, finalized at its end. A failure
// to prepare or to run is taken as the connection's last error.
class cStatement {
  public:
    cStatement(cDatabase& db, std::string_view sql) : db_(db) {
        if (!db.IsOpen()) {
            db.TakeError();
            return;
        }
        if (sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
            db.TakeError();
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
        }
    }
    ~cStatement() { sqlite3_finalize(stmt_); }
    cStatement(const cStatement&) = delete;
    cStatement& operator=(const cStatement&) = delete;

    explicit operator bool() const { return stmt_ != nullptr; }

    void Bind(int index, const std::string& utf8) {
        sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    void Bind(int index, std::wstring_view text) { Bind(index, ToUtf8(text)); }

    // Steps through the rows; onRow returns false to stop. True when the
    // statement ran to its end or was stopped.
    template <typename F>
    bool Rows(F&& onRow) {
        if (!stmt_)
            return false;
        int rc;
        while ((rc = sqlite3_step(stmt_)) == SQLITE_ROW) {
            if (!onRow(cRow(stmt_))) {
                rc = SQLITE_DONE;
                break;
            }
        }
        sqlite3_reset(stmt_);
        return rc == SQLITE_DONE || db_.TakeError();
    }
    bool Run() {
        return Rows([](const cRow&) { return true; });
    }

  private:
    cDatabase& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

bool Exec(cDatabase& db, const char* sql) {
    return db.IsOpen() && sqlite3_exec(db.Handle(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

struct Timeframe {
    const char* interval;  // "" for the whole history
    int amount;
};
constexpr std::array<Timeframe, kTimeframeCount> kTimeframes = {{
    {"", 0},
    {"h", 3},
    {"d", 1},
    {"d", 3},
    {"d", 7},
    {"d", 14},
    {"d", 30},
}};

// FolderDays.Day: the first characters of DateUsed, its date.
constexpr size_t kDayLength = 10;

// The least text above every DateUsed of the day: the day with its last
// character raised ("2026-12-09" gives "2026-12-0:").
std::string DayAfter(std::string day) {
    if (!day.empty())
        ++day.back();
    return day;
}

// The deletes of whole sets of visits keep the summaries up to date
// set-wise, which costs a fraction of the delete trigger's upkeep row by row
// (a clean-up deletes tens of thousands of rows). The trigger is dropped
// for the work and created again from its own stored text, all in one
// transaction: no other connection ever sees the history without it.
template <typename F>
bool WithoutDeleteTrigger(cDatabase& db, F&& work) {
    if (!Exec(db, "BEGIN IMMEDIATE"))
        return db.TakeError();
    std::string trigger;
    {
        cStatement find(db, "SELECT sql FROM sqlite_schema WHERE type = 'trigger' AND name = 'FoldersProtocol_Delete'");
        find.Rows([&](const cRow& r) {
            trigger = ToUtf8(r.Text(0));
            return false;
        });
    }
    bool ok = !trigger.empty() && Exec(db, "DROP TRIGGER FoldersProtocol_Delete") && work() &&
              Exec(db, trigger.c_str()) && Exec(db, "COMMIT");
    if (!ok) {
        db.TakeError();
        sqlite3_exec(db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return ok;
}

// The moment `amount` units of `interval` before the clock's present moment,
// as DateUsed holds it.
std::string Before(cDatabase& db, const char* interval, long long amount) {
    auto moment = DateAdd(interval, -amount, db.Now());
    return FormatDbDate(moment ? *moment : db.Now());
}

// The lists' queries name the summary "FoldersProtocol", with the visits'
// FolderPath and FolderName (the same comparison), so that the stored ignore
// filter, which names FoldersProtocol.FolderPath, stands in them unchanged.
// This is where it is joined: after the other conditions, if there are any.
std::string Where(std::string conditions, IgnoreFilterText filter) {
    if (!filter.sql.empty()) {
        if (!conditions.empty())
            conditions += " AND ";
        conditions += ToUtf8(filter.sql);
    }
    return conditions.empty() ? std::string() : " WHERE " + conditions;
}

HistoryRow Row(std::wstring path, std::wstring name, std::optional<LocalTime> dateUsed, long usageCount) {
    HistoryRow row;
    row.path = std::move(path);
    row.name = std::move(name);
    row.dateUsed = dateUsed;
    row.usageCount = usageCount;
    return row;
}

}  // namespace

int NormalizeTimeframe(int index) {
    return index >= 0 && index < kTimeframeCount ? index : 0;
}

bool ReadLastUsed(cDatabase& db, std::wstring_view searchText, IgnoreFilterText filter, const HistoryRowSink& onRow) {
    std::string search;
    if (!searchText.empty())
        search = "(FoldersProtocol.FolderPath LIKE ?1 OR FoldersProtocol.FolderName LIKE ?1)";
    cStatement query(db, "SELECT LastPath, LastName, LastUsed FROM FolderSummary AS FoldersProtocol" +
                             Where(search, filter) + " ORDER BY LastUsed DESC, LastRowid DESC");
    if (!searchText.empty())
        query.Bind(1, L"%" + Trim(searchText) + L"%");
    HistoryRow row;
    return query.Rows([&](const cRow& r) {
        row.path = r.Text(0);
        row.name = r.Text(1);
        row.dateUsed = r.Date(2);
        return onRow(row);
    });
}

// A folder's visits within the time frame are at most all its visits, so
// once the summary, read by falling UsageCount, reaches a folder with fewer
// visits than the kMostUsedRows-th best found, no later folder can make the
// list any more. The visits within are its whole days after the one the
// time frame begins in, added up, and its visits on that day after the
// moment, counted.
bool ReadMostUsed(cDatabase& db, int timeframeIndex, IgnoreFilterText filter, const HistoryRowSink& onRow) {
    const Timeframe& frame = kTimeframes[NormalizeTimeframe(timeframeIndex)];
    const bool whole = frame.interval[0] == '\0';
    const std::string start = whole ? std::string() : Before(db, frame.interval, frame.amount);
    const std::string day = start.substr(0, kDayLength);

    cStatement groups(
        db, std::string("SELECT FolderPath, FolderName, UsageCount, ") +
                (whole ? "UsageCount"
                       : "(SELECT ifnull(sum(Visits), 0) FROM FolderDays WHERE FolderDays.FolderPath = "
                         "FoldersProtocol.FolderPath AND FolderDays.FolderName = FoldersProtocol.FolderName AND "
                         "FolderDays.Day > ?2) + "
                         "(SELECT Count(*) FROM FoldersProtocol AS Visit WHERE Visit.FolderPath = "
                         "FoldersProtocol.FolderPath AND Visit.FolderName = FoldersProtocol.FolderName AND "
                         "Visit.DateUsed > ?1 AND Visit.DateUsed < ?3)") +
                " FROM FolderSummary AS FoldersProtocol" + Where({}, filter) + " ORDER BY UsageCount DESC");
    if (!whole) {
        groups.Bind(1, start);
        groups.Bind(2, day);
        groups.Bind(3, DayAfter(day));
    }
    struct Group {
        std::wstring path, name;
        long count;
    };
    std::vector<Group> found;
    std::vector<long> best;  // the highest counts so far, at most kMostUsedRows, falling
    const size_t wanted = kMostUsedRows;
    if (!groups.Rows([&](const cRow& r) {
            long total = r.Long(2);
            if (best.size() == wanted && total < best.back())
                return false;
            long within = r.Long(3);
            if (within > 0) {
                found.push_back({r.Text(0), r.Text(1), within});
                best.insert(std::upper_bound(best.begin(), best.end(), within, std::greater<long>()), within);
                if (best.size() > wanted)
                    best.pop_back();
            }
            return true;
        }))
        return false;
    auto before = [](const Group& a, const Group& b) {
        if (a.count != b.count)
            return a.count > b.count;
        int byPath = CompareNoCase(ToUtf8(a.path), ToUtf8(b.path));
        if (byPath != 0)
            return byPath < 0;
        return CompareNoCase(ToUtf8(a.name), ToUtf8(b.name)) < 0;
    };
    size_t top = std::min(found.size(), wanted);
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(top), found.end(), before);

    // The group shows the texts of its oldest visit within the time frame,
    // as grouping the visits themselves would.
    cStatement texts(db, std::string("SELECT FolderPath, FolderName FROM FoldersProtocol WHERE FolderPath = ?1 AND "
                                     "FolderName = ?2") +
                             (whole ? "" : " AND DateUsed > ?3") + " ORDER BY DateUsed, rowid LIMIT 1");
    for (size_t i = 0; i < top; ++i) {
        HistoryRow row = Row(found[i].path, found[i].name, std::nullopt, found[i].count);
        texts.Bind(1, found[i].path);
        texts.Bind(2, found[i].name);
        if (!whole)
            texts.Bind(3, start);
        if (!texts.Rows([&](const cRow& r) {
                row.path = r.Text(0);
                row.name = r.Text(1);
                return false;
            }))
            return false;
        if (!onRow(row))
            break;
    }
    return true;
}

// A path names whole groups of the summaries: every name it was visited
// under goes with it.
bool RemoveFolder(cDatabase& db, std::wstring_view path) {
    return WithoutDeleteTrigger(db, [&] {
        for (const char* sql :
             {"DELETE FROM FolderSummary WHERE FolderPath = ?1", "DELETE FROM FolderDays WHERE FolderPath = ?1",
              "DELETE FROM FoldersProtocol WHERE FolderPath = ?1"}) {
            cStatement remove(db, sql);
            remove.Bind(1, path);
            if (!remove.Run())
                return false;
        }
        return true;
    });
}

bool ClearHistory(cDatabase& db) {
    return WithoutDeleteTrigger(db, [&] {
        return cStatement(db, "DELETE FROM FolderSummary").Run() && cStatement(db, "DELETE FROM FolderDays").Run() &&
               cStatement(db, "DELETE FROM FoldersProtocol").Run();
    });
}

long CountOlderThan(cDatabase& db, long days) {
    cStatement count(db, "SELECT Count(*) FROM FoldersProtocol WHERE DateUsed < ?1");
    count.Bind(1, Before(db, "d", std::max(days, 0L)));
    long older = -1;
    if (!count.Rows([&](const cRow& r) {
            older = r.Long(0);
            return false;
        }))
        return -1;
    return older;
}

long DeleteOlderThan(cDatabase& db, long days) {
    // A month's worth of rows touches many pages of both indexes; a larger
    // cache keeps the delete from spilling them to the journal twice.
    if (!Exec(db, "PRAGMA cache_size=-65536")) {
        db.TakeError();
        return -1;
    }
    const std::string cut = Before(db, "d", std::max(days, 0L));
    const std::string day = cut.substr(0, kDayLength);
    long deleted = -1;
    // Visits older than the cut are the whole days before its day and that
    // day's visits before the moment. A folder whose newest visit is older
    // goes as a whole; the others keep their newest visit and lose only
    // visits from their count. The counts are taken before the visits go.
    auto olderOnCutDay = std::string(
        "(SELECT Count(*) FROM FoldersProtocol AS Visit WHERE Visit.FolderPath = %1.FolderPath AND "
        "Visit.FolderName = %1.FolderName AND Visit.DateUsed >= ?2 AND Visit.DateUsed < ?1)");
    auto on = [&](const char* table) {
        std::string sql = olderOnCutDay;
        for (size_t at; (at = sql.find("%1")) != std::string::npos;)
            sql.replace(at, 2, table);
        return sql;
    };
    const std::string steps[] = {
        "UPDATE FolderSummary SET UsageCount = UsageCount - (SELECT ifnull(sum(Visits), 0) FROM FolderDays WHERE "
        "FolderDays.FolderPath = FolderSummary.FolderPath AND FolderDays.FolderName = FolderSummary.FolderName AND "
        "FolderDays.Day < ?2) - " +
            on("FolderSummary") +
            " WHERE LastUsed >= ?1 AND EXISTS (SELECT 1 FROM FolderDays WHERE FolderDays.FolderPath = "
            "FolderSummary.FolderPath AND FolderDays.FolderName = FolderSummary.FolderName AND FolderDays.Day <= ?2)",
        "DELETE FROM FolderSummary WHERE LastUsed < ?1",
        "UPDATE FolderDays SET Visits = Visits - " + on("FolderDays") + " WHERE Day = ?2",
        "DELETE FROM FolderDays WHERE Day < ?2 OR Visits <= 0",
        "DELETE FROM FoldersProtocol WHERE DateUsed < ?1",
    };
    bool ok = WithoutDeleteTrigger(db, [&] {
        for (const std::string& sql : steps) {
            cStatement step(db, sql);
            step.Bind(1, cut);
            if (sql.find("?2") != std::string::npos)
                step.Bind(2, day);
            if (!step.Run())
                return false;
            deleted = static_cast<long>(sqlite3_changes(db.Handle()));
        }
        return true;
    });
    return ok ? deleted : -1;
}

std::vector<bool> FoldersInHistory(cDatabase& db, const std::vector<std::wstring>& paths) {
    std::vector<bool> known(paths.size(), false);
    if (!db.IsOpen() || paths.empty())
        return known;
    cStatement find(db, "SELECT 1 FROM FoldersProtocol WHERE FolderPath = ?1 LIMIT 1");
    if (!find)
        return known;
    // All in one read transaction: on its own, each lookup takes the file's
    // lock, reads its header anew and gives the lock back, which under Wine
    // costs many times the lookup itself.
    const bool own = sqlite3_get_autocommit(db.Handle()) && Exec(db, "BEGIN");
    for (size_t i = 0; i < paths.size(); ++i) {
        find.Bind(1, paths[i]);
        bool found = false;
        find.Rows([&](const cRow&) {
            found = true;
            return false;
        });
        known[i] = found;
    }
    if (own)
        Exec(db, "COMMIT");
    return known;
}

cVisitImport::~cVisitImport() {
    Rollback();
}

bool cVisitImport::Begin() {
    if (open_ || !db_.IsOpen())
        return false;
    sqlite3* db = db_.Handle();
    // Each insert runs the triggers, so SQLite keeps a journal of the pages
    // it changes, to undo that one insert alone if it fails halfway. Past
    // 64 KiB that journal moves to a temporary file, and from then on every
    // insert writes each page it touches there: over a hundred thousand
    // writes for an import of thousands of folders, which under Wine take
    // seconds. Kept in memory it is all but free.
    if (sqlite3_exec(db, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        RestoreTempStore();
        return false;
    }
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
    auto bind = [this](int index, const std::string& text) {
        sqlite3_bind_text(insert_, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    };
    for (const TimedVisit& visit : visits) {
        bind(1, ToUtf8(visit.path));
        bind(2, ToUtf8(visit.name));
        bind(3, FormatDbDate(visit.when));
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
    RestoreTempStore();
    return true;
}

void cVisitImport::Rollback() {
    Finalize();
    if (open_ && db_.IsOpen()) {
        sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        RestoreTempStore();
    }
    if (open_)
        added_ = 0;
    open_ = false;
}

// The connection is the caller's: its other statements keep their
// temporary data where they had it.
void cVisitImport::RestoreTempStore() {
    sqlite3_exec(db_.Handle(), "PRAGMA temp_store = DEFAULT", nullptr, nullptr, nullptr);
}

void cVisitImport::Finalize() {
    sqlite3_finalize(insert_);
    insert_ = nullptr;
}

}  // namespace pw
