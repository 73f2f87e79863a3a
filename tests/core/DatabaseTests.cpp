#include <gtest/gtest.h>

#include <vector>

#include "Database.h"
#include "TestHistory.h"
#include "Text.h"

using namespace pw;

namespace {

class HistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pwtest::CreateHistory(file_));
        ASSERT_TRUE(db_.Open(Path(), [this] { return now_; })) << db_.LastError();
    }
    std::wstring Path() const { return file_.wstring(); }
    void Visit(const std::wstring& path, const LocalTime& when, const std::wstring& name = L"x") {
        LocalTime saved = now_;
        now_ = when;
        ASSERT_TRUE(db_.AppendVisit(path, name)) << db_.LastError();
        now_ = saved;
    }
    long Count(const std::wstring& where = L"") {
        long n = -1;
        db_.Query(L"SELECT Count(*) FROM FoldersProtocol " + where, [&](const cRow& row) {
            n = row.Long(0);
            return true;
        });
        return n;
    }

    pwtest::ScratchDir dir_{"database"};
    std::filesystem::path file_ = dir_ / "Pfadwerk.dat";
    LocalTime now_{2026, 12, 7, 14, 30, 0};
    cDatabase db_;
};

}  // namespace

TEST_F(HistoryTest, AppendStoresPathNameAndTheClocksMomentToTheSecond) {
    Visit(L"C:\\Dokumente\\Übersicht", {2026, 12, 7, 9, 15, 42}, L"Übersicht");
    std::vector<std::wstring> seen;
    db_.Query(L"SELECT FolderPath, FolderName, DateUsed FROM FoldersProtocol", [&](const cRow& row) {
        seen = {row.Text(0), row.Text(1), row.Text(2)};
        EXPECT_EQ(row.Date(2), (LocalTime{2026, 12, 7, 9, 15, 42}));
        return true;
    });
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"C:\\Dokumente\\Übersicht", L"Übersicht", L"2026-12-07 09:15:42"}));
}

TEST_F(HistoryTest, ThreeVisitsAreThreeRows) {
    for (int s = 0; s < 3; ++s)
        Visit(L"C:\\Temp", {2026, 12, 7, 10, 0, s});
    EXPECT_EQ(Count(), 3);
}

TEST_F(HistoryTest, OpenNeverCreatesAMissingFile) {
    cDatabase other;
    EXPECT_FALSE(other.Open((dir_ / "missing.dat").wstring()));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.dat"));
    EXPECT_EQ(other.LastErrorCode(), cDatabase::kCannotOpen);
}

TEST_F(HistoryTest, TheSchemaRefusesAnEmptyOrOverlongPath) {
    EXPECT_FALSE(db_.AppendVisit(L"", L"x"));
    EXPECT_FALSE(db_.AppendVisit(std::wstring(32768, L'a'), L"x"));
    EXPECT_TRUE(db_.AppendVisit(std::wstring(32767, L'a'), L"x"));
}

TEST_F(HistoryTest, DeleteWithDateAddKeepsRowsExactlyAtTheCutOff) {
    // Cut-off for 42 days at 2026-12-07 14:30:00 is 2026-10-26 14:30:00.
    Visit(L"C:\\older", {2026, 10, 26, 14, 29, 59});
    Visit(L"C:\\exact", {2026, 10, 26, 14, 30, 0});
    Visit(L"C:\\newer", {2026, 10, 26, 14, 30, 1});
    long deleted = -1;
    ASSERT_TRUE(db_.Execute(L"DELETE * From FoldersProtocol WHERE ((FoldersProtocol.DateUsed)<DateAdd('d',-42,Now()))",
                            &deleted))
        << db_.LastError();
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(Count(L"WHERE FolderPath = 'C:\\older'"), 0);
    EXPECT_EQ(Count(), 2);
}

TEST_F(HistoryTest, TextComparisonIgnoresCaseIncludingUmlauts) {
    Visit(L"C:\\Dokumente\\Übersicht", {2026, 12, 7, 9, 0, 0}, L"Übersicht");
    Visit(L"c:\\dokumente\\übersicht", {2026, 12, 7, 9, 0, 1}, L"übersicht");
    Visit(L"C:\\Andere", {2026, 12, 7, 9, 0, 2});
    EXPECT_EQ(Count(L"WHERE FoldersProtocol.FolderPath = 'c:\\dokumente\\übersicht'"), 2);
    EXPECT_EQ(Count(L"WHERE FoldersProtocol.FolderPath <> 'C:\\DOKUMENTE\\ÜBERSICHT'"), 1);
    EXPECT_EQ(Count(L"WHERE FoldersProtocol.FolderPath Like '%ÜBERS%'"), 2);
    EXPECT_EQ(Count(L"WHERE FoldersProtocol.FolderPath Not Like 'c:\\dok%'"), 1);

    std::vector<long> groups;
    db_.Query(
        L"SELECT TOP 15 FoldersProtocol.FolderPath, FoldersProtocol.FolderName, Count(FoldersProtocol.FolderPath) "
        L"AS UsageCount From FoldersProtocol  GROUP BY FoldersProtocol.FolderPath, FoldersProtocol.FolderName "
        L"ORDER BY Count(FoldersProtocol.FolderPath) DESC;",
        [&](const cRow& row) {
            groups.push_back(row.Long(2));
            return true;
        });
    EXPECT_EQ(groups, (std::vector<long>{2, 1}));
}

TEST_F(HistoryTest, TimeFramesCompareAgainstLocalNow) {
    Visit(L"C:\\a", {2026, 12, 7, 11, 29, 0});  // 3 h 1 min ago
    Visit(L"C:\\b", {2026, 12, 7, 11, 31, 0});
    Visit(L"C:\\c", {2026, 12, 6, 14, 31, 0});
    EXPECT_EQ(Count(L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('h',-3,Now()))"), 1);
    EXPECT_EQ(Count(L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-1,Now()))"), 3);
}

TEST_F(HistoryTest, QueryCanStopEarlyAndReportsErrors) {
    for (int s = 0; s < 5; ++s)
        Visit(L"C:\\p" + std::to_wstring(s), {2026, 12, 7, 10, 0, s});
    int rows = 0;
    EXPECT_TRUE(db_.Query(L"SELECT FolderPath FROM FoldersProtocol ORDER BY DateUsed DESC",
                          [&](const cRow&) { return ++rows < 2; }));
    EXPECT_EQ(rows, 2);
    EXPECT_FALSE(db_.Execute(L"SELECT * FROM NoSuchTable"));
    EXPECT_FALSE(db_.LastError().empty());
}

TEST_F(HistoryTest, CompactionShrinksTheFileInPlaceAndKeepsEveryRow) {
    for (int s = 0; s < 2000; ++s)
        Visit(L"C:\\p" + std::to_wstring(s), {2026, 12, 7, 10, s / 60 % 60, s % 60});
    ASSERT_TRUE(db_.Execute(L"DELETE * FROM FoldersProtocol WHERE FolderPath <> 'C:\\p1'"));
    auto before = std::filesystem::file_size(file_);
    ASSERT_TRUE(db_.Compact()) << db_.LastError();
    EXPECT_LT(std::filesystem::file_size(file_), before);
    EXPECT_EQ(Count(L"WHERE FolderPath = 'c:\\P1'"), 1);
    EXPECT_EQ(Count(L""), 1);
}

namespace {

std::string IntegrityCheck(cDatabase& db) {
    std::string result;
    db.Query(L"PRAGMA integrity_check", [&](const cRow& row) {
        result += ToUtf8(row.Text(0)) + ";";
        return true;
    });
    return result;
}

// Runs SQL on a plain connection that knows none of the programs' functions
// or comparisons, as the sqlite3 shell or a database browser would.
bool ExecRaw(const std::filesystem::path& file, const char* sql) {
    sqlite3* raw = nullptr;
    bool ok = sqlite3_open(file.string().c_str(), &raw) == SQLITE_OK &&
              sqlite3_exec(raw, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(raw);
    return ok;
}

}  // namespace

TEST_F(HistoryTest, IndexesStayConsistentAfterVisitsRemovalsAndACleanUpWithUmlautPaths) {
    const std::wstring paths[] = {L"C:\\Übersicht", L"c:\\übersicht", L"C:\\Ärger", L"C:\\ärger\\Öl",
                                  L"C:\\Straße",    L"C:\\STRASSE",   L"C:\\Zebra", L"C:\\äpfel"};
    for (int i = 0; i < 400; ++i)
        Visit(paths[i % 8], {2026, 10 + i / 200, 1 + i % 28, 10, i % 60, 0}, L"Ö" + std::to_wstring(i % 3));
    ASSERT_TRUE(db_.Execute(L"DELETE * From FoldersProtocol WHERE FolderPath = 'c:\\ärger'"));
    ASSERT_TRUE(
        db_.Execute(L"DELETE * From FoldersProtocol WHERE ((FoldersProtocol.DateUsed)<DateAdd('d',-42,Now()))"));
    EXPECT_EQ(IntegrityCheck(db_), "ok;");
    EXPECT_EQ(Count(L"WHERE FolderPath = 'C:\\ÄRGER'"), 0);
    EXPECT_GT(Count(L"WHERE FolderPath = 'C:\\ÜBERSICHT'"), 0);
}

TEST_F(HistoryTest, AToolWithoutTheProgramsComparisonCannotWriteTheHistory) {
    Visit(L"C:\\Übersicht", {2026, 12, 7, 9, 0, 0});
    db_.Close();
    EXPECT_FALSE(ExecRaw(file_, "INSERT INTO FoldersProtocol VALUES ('C:\\Ärger', 'x', '2026-12-07 10:00:00')"));
    // Reading by date still works for it.
    EXPECT_TRUE(ExecRaw(file_, "SELECT * FROM FoldersProtocol ORDER BY DateUsed"));
}

TEST(HistoryUpgrade, AHistoryOfAnEarlierBuildIsRebuiltOnceWithEveryRowAndSoundIndexes) {
    pwtest::ScratchDir dir("upgrade");
    auto file = dir / "Pfadwerk.dat";
    // The earlier build's schema, and rows written by a tool that ordered the
    // indexes by SQLite's own NOCASE, which leaves umlauts unfolded.
    ASSERT_TRUE(ExecRaw(file,
                        "CREATE TABLE FoldersProtocol ("
                        " FolderPath TEXT COLLATE NOCASE NOT NULL CHECK (length(FolderPath) BETWEEN 1 AND 32767),"
                        " FolderName TEXT COLLATE NOCASE NOT NULL CHECK (length(FolderName) <= 32767),"
                        " DateUsed DATETIME NOT NULL);"
                        "CREATE INDEX FoldersProtocol_DateUsed ON FoldersProtocol (DateUsed);"
                        "CREATE INDEX FoldersProtocol_PathName ON FoldersProtocol (FolderPath, FolderName, DateUsed);"
                        "INSERT INTO FoldersProtocol VALUES ('C:\\Übersicht', 'Ü', '2026-12-01 10:00:00');"
                        "INSERT INTO FoldersProtocol VALUES ('c:\\übersicht', 'ü', '2026-12-01 10:00:00');"
                        "INSERT INTO FoldersProtocol VALUES ('C:\\Ärger', 'Ä', '2026-12-02 10:00:00');"
                        "INSERT INTO FoldersProtocol VALUES ('C:\\Zebra', 'Z', '2026-12-01 10:00:00');"));
    {
        cDatabase db;
        ASSERT_TRUE(db.Open(file.wstring())) << db.LastError();
        EXPECT_EQ(IntegrityCheck(db), "ok;");
        std::vector<std::wstring> newestFirst;
        db.Query(L"SELECT FolderPath, rowid FROM FoldersProtocol ORDER BY DateUsed DESC", [&](const cRow& row) {
            newestFirst.push_back(row.Text(0) + L"#" + std::to_wstring(row.Long(1)));
            return true;
        });
        // Every row with its rowid: ties in DateUsed keep their order.
        EXPECT_EQ(newestFirst,
                  (std::vector<std::wstring>{L"C:\\Ärger#3", L"C:\\Zebra#4", L"c:\\übersicht#2", L"C:\\Übersicht#1"}));
        long folded = 0;
        db.Query(L"SELECT Count(*) FROM FoldersProtocol WHERE FolderPath = 'C:\\ÜBERSICHT'", [&](const cRow& row) {
            folded = row.Long(0);
            return true;
        });
        EXPECT_EQ(folded, 2);
        db.Query(L"PRAGMA user_version", [&](const cRow& row) {
            EXPECT_EQ(row.Long(0), kHistorySchemaVersion);
            return true;
        });
    }
    // From now on the file has the present schema and is opened as it is.
    auto rebuilt = std::filesystem::last_write_time(file);
    cDatabase again;
    ASSERT_TRUE(again.Open(file.wstring()));
    EXPECT_EQ(std::filesystem::last_write_time(file), rebuilt);
    EXPECT_FALSE(ExecRaw(file, "INSERT INTO FoldersProtocol VALUES ('C:\\x', 'x', '2026-12-07 10:00:00')"));
}

TEST_F(HistoryTest, NowIsOneMomentPerStatementAsInJetAndNeverTakenForDeterministic) {
    int ticks = 0;
    cDatabase ticking;
    ASSERT_TRUE(ticking.Open(Path(), [&] { return LocalTime{2026, 12, 7, 14, 30, ticks++}; }));
    std::vector<std::wstring> seen;
    auto read = [&] {
        ASSERT_TRUE(ticking.Query(L"SELECT Now(), now ( ), 'Now()', DateAdd('d',-1,Now())", [&](const cRow& row) {
            seen = {row.Text(0), row.Text(1), row.Text(2), row.Text(3)};
            return true;
        })) << ticking.LastError();
    };
    read();
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"2026-12-07 14:30:00", L"2026-12-07 14:30:00", L"Now()",
                                               L"2026-12-06 14:30:00"}));
    read();
    EXPECT_EQ(seen[0], L"2026-12-07 14:30:01");
    // SQLite knows Now() changes: no index may be built on it.
    ticking.Close();
    sqlite3* raw = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(file_.string().c_str(), &raw));
    ASSERT_TRUE(RegisterJetFunctions(raw, nullptr));
    EXPECT_NE(SQLITE_OK, sqlite3_exec(raw, "CREATE INDEX Frozen ON FoldersProtocol (DateAdd('d', 1, Now()))", nullptr,
                                      nullptr, nullptr));
    sqlite3_close(raw);
}

TEST_F(HistoryTest, VisitsKeptForALaterWriteKeepTheirMomentsAndGoInWholeOrNotAtAll) {
    std::vector<TimedVisit> visits = {{L"C:\\A", L"A", {2026, 12, 7, 9, 0, 1}},
                                      {L"C:\\B", L"B", {2026, 12, 7, 9, 0, 2}}};
    ASSERT_TRUE(db_.AppendVisits(visits)) << db_.LastError();
    std::vector<std::wstring> dates;
    db_.Query(L"SELECT DateUsed FROM FoldersProtocol ORDER BY DateUsed", [&](const cRow& row) {
        dates.push_back(row.Text(0));
        return true;
    });
    EXPECT_EQ(dates, (std::vector<std::wstring>{L"2026-12-07 09:00:01", L"2026-12-07 09:00:02"}));

    // A visit the table refuses takes the others of its batch back with it.
    visits.push_back({L"", L"leer", {2026, 12, 7, 9, 0, 3}});
    EXPECT_FALSE(db_.AppendVisits(visits));
    EXPECT_FALSE(db_.Damaged());
    EXPECT_EQ(Count(), 2);
    EXPECT_TRUE(db_.AppendVisits({{L"C:\\C", L"C", {2026, 12, 7, 9, 0, 4}}})) << "no transaction left open";
}
