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
    for (int s = 0; s < 3; ++s) Visit(L"C:\\Temp", {2026, 12, 7, 10, 0, s});
    EXPECT_EQ(Count(), 3);
}

TEST_F(HistoryTest, OpenNeverCreatesAMissingFile) {
    cDatabase other;
    EXPECT_FALSE(other.Open((dir_ / "missing.dat").wstring()));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.dat"));
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
    db_.Query(L"SELECT TOP 15 FoldersProtocol.FolderPath, FoldersProtocol.FolderName, Count(FoldersProtocol.FolderPath) "
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
    for (int s = 0; s < 5; ++s) Visit(L"C:\\p" + std::to_wstring(s), {2026, 12, 7, 10, 0, s});
    int rows = 0;
    EXPECT_TRUE(db_.Query(L"SELECT FolderPath FROM FoldersProtocol ORDER BY DateUsed DESC", [&](const cRow&) {
        return ++rows < 2;
    }));
    EXPECT_EQ(rows, 2);
    EXPECT_FALSE(db_.Execute(L"SELECT * FROM NoSuchTable"));
    EXPECT_FALSE(db_.LastError().empty());
}

TEST_F(HistoryTest, CompactIntoWritesAUsableCopy) {
    for (int s = 0; s < 50; ++s) Visit(L"C:\\p" + std::to_wstring(s), {2026, 12, 7, 10, 0, s % 60});
    ASSERT_TRUE(db_.Execute(L"DELETE * FROM FoldersProtocol WHERE FolderPath <> 'C:\\p1'"));
    auto target = dir_ / "PfadwerkC.dat";
    ASSERT_TRUE(db_.CompactInto(target.wstring())) << db_.LastError();
    cDatabase copy;
    ASSERT_TRUE(copy.Open(target.wstring()));
    long n = 0;
    copy.Query(L"SELECT Count(*) FROM FoldersProtocol WHERE FolderPath = 'c:\\P1'", [&](const cRow& row) {
        n = row.Long(0);
        return true;
    });
    EXPECT_EQ(n, 1);
    EXPECT_FALSE(db_.CompactInto(target.wstring()));  // never over an existing file
}
