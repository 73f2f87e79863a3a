#include "HistorySalvage.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "Database.h"
#include "DateTime.h"
#include "Text.h"

namespace pw {
namespace {

constexpr char kColumns[] = "SELECT rowid, FolderPath, FolderName, DateUsed FROM FoldersProtocol ";

class cStatement {
  public:
    cStatement(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
        }
    }
    ~cStatement() { sqlite3_finalize(stmt_); }
    cStatement(const cStatement&) = delete;
    cStatement& operator=(const cStatement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

class cCarrier {
  public:
    explicit cCarrier(sqlite3* target)
        : insert_(target,
                  "INSERT OR IGNORE INTO FoldersProtocol (rowid, FolderPath, FolderName, DateUsed) "
                  "VALUES (?1, ?2, ?3, ?4)"),
          target_(target) {}
    bool Ready() const { return static_cast<bool>(insert_); }
    bool Failed() const { return failed_; }
    long Carried() const { return carried_; }

    // One row of kColumns; false when the target refused to be written.
    bool Carry(sqlite3_stmt* row) {
        if (sqlite3_column_type(row, 1) != SQLITE_TEXT || sqlite3_column_type(row, 2) != SQLITE_TEXT ||
            sqlite3_column_type(row, 3) != SQLITE_TEXT)
            return true;
        auto date = reinterpret_cast<const char*>(sqlite3_column_text(row, 3));
        auto parsed = ParseDbDate(date ? std::string_view(date, sqlite3_column_bytes(row, 3)) : "");
        if (!parsed)
            return true;
        std::string when = FormatDbDate(*parsed);
        sqlite3_stmt* ins = insert_.get();
        sqlite3_bind_int64(ins, 1, sqlite3_column_int64(row, 0));
        sqlite3_bind_text(ins, 2, reinterpret_cast<const char*>(sqlite3_column_text(row, 1)),
                          sqlite3_column_bytes(row, 1), SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 3, reinterpret_cast<const char*>(sqlite3_column_text(row, 2)),
                          sqlite3_column_bytes(row, 2), SQLITE_TRANSIENT);
        sqlite3_bind_text(ins, 4, when.c_str(), static_cast<int>(when.size()), SQLITE_TRANSIENT);
        int rc = sqlite3_step(ins);
        sqlite3_reset(ins);
        // A row the present checks refuse is ignored by the insert itself;
        // anything else means the target cannot take rows.
        if (rc != SQLITE_DONE) {
            failed_ = true;
            return false;
        }
        carried_ += sqlite3_changes(target_);
        return true;
    }

  private:
    cStatement insert_;
    sqlite3* target_;
    long carried_ = 0;
    bool failed_ = false;
};

// Reads the rows of one query until its end or the first page that cannot
// be read. Returns the step's last result; *last gets the last rowid read.
int ReadRows(sqlite3_stmt* stmt, cCarrier& carrier, sqlite3_int64* last = nullptr) {
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (last)
            *last = sqlite3_column_int64(stmt, 0);
        if (!carrier.Carry(stmt))
            return SQLITE_ABORT;
    }
    return rc;
}

enum class Probe { Row, End, Unreadable };

// Whether the first row after `after` in rowid order can be read. The step
// decodes every column of the row, so that a damaged record counts as
// unreadable as a damaged page.
Probe ProbeAfter(sqlite3_stmt* probe, sqlite3_int64 after) {
    sqlite3_reset(probe);
    sqlite3_bind_int64(probe, 1, after);
    int rc = sqlite3_step(probe);
    return rc == SQLITE_ROW ? Probe::Row : rc == SQLITE_DONE ? Probe::End : Probe::Unreadable;
}

sqlite3_int64 AddSaturated(sqlite3_int64 a, sqlite3_int64 b) {
    return a > std::numeric_limits<sqlite3_int64>::max() - b ? std::numeric_limits<sqlite3_int64>::max() : a + b;
}

// The table in rowid order. Where a page cannot be read, the smallest rowid
// past it from which the table reads again is searched for (doubling the
// step, then halving the gap), and reading goes on from there.
void SalvageTable(sqlite3* damaged, cCarrier& carrier) {
    cStatement scan(damaged, (std::string(kColumns) + "WHERE rowid > ?1 ORDER BY rowid").c_str());
    cStatement probe(damaged, (std::string(kColumns) + "WHERE rowid > ?1 ORDER BY rowid LIMIT 1").c_str());
    if (!scan || !probe)
        return;
    // Each skip passes damage, and a file has no more damaged places than
    // pages: a tree whose pages point in circles ends all the same.
    sqlite3_int64 skipsLeft = 16;
    {
        cStatement pages(damaged, "PRAGMA page_count");
        if (pages && sqlite3_step(pages.get()) == SQLITE_ROW)
            skipsLeft += sqlite3_column_int64(pages.get(), 0);
    }
    sqlite3_int64 from = std::numeric_limits<sqlite3_int64>::min();
    for (; skipsLeft > 0; --skipsLeft) {
        sqlite3_reset(scan.get());
        sqlite3_bind_int64(scan.get(), 1, from);
        sqlite3_int64 last = from;
        int rc = ReadRows(scan.get(), carrier, &last);
        if (rc == SQLITE_DONE || rc == SQLITE_ABORT)
            return;
        // A damaged tree may hand out rowids out of order: the search never
        // goes back to where it was.
        from = std::max(from, last);
        // Each turn starts strictly past the last.
        sqlite3_int64 bad = from, step = 1;
        Probe found = Probe::Unreadable;
        while (found == Probe::Unreadable) {
            if (bad == std::numeric_limits<sqlite3_int64>::max())
                return;
            // Past the last unreadable place, so that each probe is a new one.
            sqlite3_int64 candidate = AddSaturated(bad, step);
            found = ProbeAfter(probe.get(), candidate);
            if (found == Probe::End)
                return;
            if (found == Probe::Unreadable) {
                bad = candidate;
                step = step > std::numeric_limits<sqlite3_int64>::max() / 2 ? std::numeric_limits<sqlite3_int64>::max()
                                                                            : step * 2;
            } else {
                // Narrow (bad, candidate] to the first position that reads.
                sqlite3_int64 good = candidate;
                while (good - bad > 1) {
                    sqlite3_int64 middle = bad + (good - bad) / 2;
                    Probe p = ProbeAfter(probe.get(), middle);
                    if (p == Probe::Unreadable)
                        bad = middle;
                    else
                        good = middle;
                }
                from = good;
            }
        }
    }
}

// The index over path, name and date holds every column with the rowid: the
// rows of a lost table page may still be read from it, from both of its ends
// up to the damage.
void SalvageIndex(sqlite3* damaged, cCarrier& carrier) {
    for (const char* order : {"ASC", "DESC"}) {
        std::string sql = std::string(kColumns) + "INDEXED BY FoldersProtocol_PathName ORDER BY FolderPath " + order +
                          ", FolderName " + order + ", DateUsed " + order;
        cStatement scan(damaged, sql.c_str());
        if (!scan)
            return;
        if (ReadRows(scan.get(), carrier) == SQLITE_ABORT)
            return;
    }
}

}  // namespace

long SalvageVisits(sqlite3* damaged, sqlite3* target) {
    // The damaged file's indexes compare with the programs' collation.
    RegisterJetFunctions(damaged, nullptr);
    cCarrier carrier(target);
    if (!carrier.Ready() || sqlite3_exec(target, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return -1;
    SalvageTable(damaged, carrier);
    if (!carrier.Failed())
        SalvageIndex(damaged, carrier);
    if (carrier.Failed() || sqlite3_exec(target, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_exec(target, "ROLLBACK", nullptr, nullptr, nullptr);
        return -1;
    }
    return carrier.Carried();
}

std::string SqliteFileUri(const std::wstring& path) {
    std::string utf8 = ToUtf8(path);
    std::string uri = "file://";
    // "C:\..." becomes "/C:/...": a drive path is an absolute path of the URI.
    if (utf8.size() >= 2 && utf8[1] == ':')
        uri += '/';
    static const char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : utf8) {
        if (c == '\\')
            c = '/';
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
                     c == ':' || c == '.' || c == '-' || c == '_' || c == '~';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri;
}

long SalvageHistoryFile(const std::wstring& damagedPath, sqlite3* target) {
    sqlite3* damaged = nullptr;
    std::string uri = SqliteFileUri(damagedPath) + "?immutable=1";
    long carried = 0;
    if (sqlite3_open_v2(uri.c_str(), &damaged, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) == SQLITE_OK)
        carried = SalvageVisits(damaged, target);
    sqlite3_close_v2(damaged);
    return carried;
}

}  // namespace pw
