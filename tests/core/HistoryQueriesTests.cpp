// The history's typed calls against a real history: the rows they leave and
// give, with paths that hold quotes, umlauts and letter case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Database.h"
#include "HistoryQueries.h"
#include "TestHistory.h"

using namespace pw;

namespace {

class HistoryQueriesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pwtest::CreateHistory(file_));
        ASSERT_TRUE(db_.Open(file_.wstring(), [this] { return now_; })) << db_.LastError();
    }
    void Visit(const std::wstring& path, const LocalTime& when) {
        LocalTime saved = now_;
        now_ = when;
        ASSERT_TRUE(db_.AppendVisit(path, L"n")) << db_.LastError();
        now_ = saved;
    }
    // The last-used list's paths, newest first.
    std::vector<std::wstring> Paths() {
        std::vector<std::wstring> paths;
        EXPECT_TRUE(ReadLastUsed(db_, L"", {}, [&](const HistoryRow& row) {
            paths.push_back(row.path);
            return true;
        })) << db_.LastError();
        return paths;
    }
    long MostUsedVisits() {
        long visits = 0;
        ReadMostUsed(db_, 0, {}, [&](const HistoryRow& row) {
            visits += row.usageCount;
            return true;
        });
        return visits;
    }

    pwtest::ScratchDir dir_{"history-queries"};
    std::filesystem::path file_ = dir_ / "Pfadwerk.dat";
    LocalTime now_{2026, 12, 7, 14, 30, 0};
    cDatabase db_;
};

}  // namespace

TEST_F(HistoryQueriesTest, RemovingAFolderTakesEveryVisitOfItInAnySpellingAndNothingElse) {
    Visit(L"C:\\Rock 'n' Roll\\'", {2026, 12, 7, 10, 0, 0});
    Visit(L"c:\\ROCK 'N' ROLL\\'", {2026, 12, 7, 11, 0, 0});
    Visit(L"C:\\Rock 'n' Roll", {2026, 12, 7, 12, 0, 0});
    Visit(L"C:\\Übersicht", {2026, 12, 7, 13, 0, 0});
    ASSERT_TRUE(RemoveFolder(db_, L"C:\\rock 'n' roll\\'"));
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"C:\\Übersicht", L"C:\\Rock 'n' Roll"}));
    ASSERT_TRUE(RemoveFolder(db_, L"c:\\ÜBERSICHT"));
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"C:\\Rock 'n' Roll"}));
    EXPECT_TRUE(RemoveFolder(db_, L"C:\\never visited"));
    EXPECT_EQ(MostUsedVisits(), 1);
}

TEST_F(HistoryQueriesTest, OlderThanCountsAndDeletesTheSameVisitsToTheSecond) {
    Visit(L"C:\\a", {2026, 11, 25, 14, 29, 59});  // 12 days and a second
    Visit(L"C:\\b", {2026, 11, 25, 14, 30, 0});   // exactly 12 days: stays
    Visit(L"C:\\c", {2026, 12, 7, 14, 0, 0});
    EXPECT_EQ(CountOlderThan(db_, 12), 1);
    EXPECT_EQ(CountOlderThan(db_, 0), 3);
    EXPECT_EQ(CountOlderThan(db_, -3), 3);  // no period reaches into the future
    EXPECT_EQ(DeleteOlderThan(db_, 12), 1);
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"C:\\c", L"C:\\b"}));
    EXPECT_EQ(DeleteOlderThan(db_, 12), 0);
    EXPECT_EQ(MostUsedVisits(), 2);
}

TEST_F(HistoryQueriesTest, ClearingLeavesNoVisitAndNoListEntry) {
    Visit(L"C:\\a", {2026, 12, 1, 9, 0, 0});
    Visit(L"C:\\a", {2026, 12, 2, 9, 0, 0});
    Visit(L"D:\\b", {2026, 12, 3, 9, 0, 0});
    ASSERT_TRUE(ClearHistory(db_));
    EXPECT_TRUE(Paths().empty());
    EXPECT_EQ(MostUsedVisits(), 0);
    EXPECT_EQ(CountOlderThan(db_, 0), 0);
    Visit(L"C:\\a", {2026, 12, 7, 9, 0, 0});
    EXPECT_EQ(MostUsedVisits(), 1);
}

TEST_F(HistoryQueriesTest, AClosedOrForeignFileFailsAndSaysWhy) {
    db_.Close();
    EXPECT_FALSE(RemoveFolder(db_, L"C:\\a"));
    EXPECT_EQ(CountOlderThan(db_, 1), -1);
    EXPECT_EQ(DeleteOlderThan(db_, 1), -1);
    EXPECT_FALSE(ReadLastUsed(db_, L"", {}, [](const HistoryRow&) { return true; }));

    auto other = dir_ / "Other.dat";
    ASSERT_TRUE(pwtest::CreateHistory(other));
    ASSERT_TRUE(db_.Open(other.wstring()));
    ASSERT_TRUE(db_.Execute(L"DROP TABLE FolderSummary"));
    EXPECT_FALSE(ReadMostUsed(db_, 4, {}, [](const HistoryRow&) { return true; }));
    EXPECT_NE(db_.LastError().find("FolderSummary"), std::string::npos) << db_.LastError();
}
