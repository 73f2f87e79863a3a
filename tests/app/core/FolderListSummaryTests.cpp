// The history lists give exactly what the lists' original query texts give
// over every visit, and the summary they are read from stays true to the
// visits through appends, removals, the daily clean-up, clearing and an
// earlier build's file.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>
#include <string>
#include <vector>

#include "Database.h"
#include "FolderListQuery.h"
#include "FolderListRead.h"
#include "FolderListRows.h"
#include "HistoryQueries.h"
#include "TestHistory.h"
#include "Text.h"

using namespace pw;

namespace {

const LocalTime kNow{2026, 12, 10, 8, 0, 0};

// The reference: each list as one query over every visit, in the Jet text the
// lists were first written in.
std::wstring ReferenceSql(FolderView view, const std::wstring& find, int timeframe, const std::wstring& filter) {
    static const wchar_t* const starts[kTimeframeCount] = {L"",
                                                           L"DateAdd('h',-3,Now())",
                                                           L"DateAdd('d',-1,Now())",
                                                           L"DateAdd('d',-3,Now())",
                                                           L"DateAdd('d',-7,Now())",
                                                           L"DateAdd('d',-14,Now())",
                                                           L"DateAdd('d',-30,Now())"};
    std::wstring where;
    auto add = [&where](const std::wstring& condition) {
        where += (where.empty() ? L" WHERE " : L" AND ") + condition;
    };
    if (view == FolderView::MostUsed) {
        if (timeframe > 0)
            add(L"((FoldersProtocol.DateUsed)>" + std::wstring(starts[timeframe]) + L")");
        if (!filter.empty())
            add(filter);
        return L"SELECT TOP 15 FoldersProtocol.FolderPath, FoldersProtocol.FolderName, "
               L"Count(FoldersProtocol.FolderPath) AS UsageCount From FoldersProtocol" +
               where +
               L" GROUP BY FoldersProtocol.FolderPath, FoldersProtocol.FolderName "
               L"ORDER BY Count(FoldersProtocol.FolderPath) DESC;";
    }
    if (!find.empty()) {
        std::wstring term = QuoteSql(Trim(find));
        add(L"(FoldersProtocol.FolderPath Like '%" + term + L"%' OR FoldersProtocol.FolderName Like '%" + term +
            L"%')");
    }
    if (!filter.empty())
        add(filter);
    return L"SELECT FoldersProtocol.FolderPath, FoldersProtocol.FolderName, FoldersProtocol.DateUsed FROM "
           L"FoldersProtocol" +
           where + L" ORDER BY FoldersProtocol.DateUsed DESC;";
}

std::string Describe(const std::vector<FolderRow>& rows) {
    std::string out;
    for (const auto& r : rows)
        out += ToUtf8(r.path) + " | " + ToUtf8(r.name) + " | " + (r.dateUsed ? FormatDbDate(*r.dateUsed) : "-") +
               " | " + std::to_string(r.usageCount) + "\n";
    return out;
}

class FolderListSummary : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pwtest::CreateHistory(file_));
        ASSERT_TRUE(db_.Open(file_.wstring(), [this] { return now_; })) << db_.LastError();
    }

    void Visit(const std::wstring& path, const std::wstring& name, const LocalTime& when) {
        LocalTime saved = now_;
        now_ = when;
        ASSERT_TRUE(db_.AppendVisit(path, name)) << db_.LastError();
        now_ = saved;
    }

    // A history with what makes the lists tricky: one folder in several
    // spellings, a folder under two names, umlauts, quotes and wildcards in
    // paths, shell objects, many visits in the same second and equal counts.
    void VariedHistory(int visits) {
        std::vector<std::pair<std::wstring, std::wstring>> folders = {
            {L"C:\\Daten\\Übersicht", L"Übersicht"},
            {L"c:\\daten\\übersicht", L"übersicht"},
            {L"C:\\DATEN\\ÜBERSICHT", L"Übersicht"},
            {L"C:\\Daten\\Übersicht", L"Bericht"},
            {L"D:\\Kunden\\O'Neil", L"O'Neil"},
            {L"D:\\Kunden\\100%_sicher", L"100%_sicher"},
            {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"Arbeitsplatz"},
            {L"\\\\nas\\archiv\\Ärger", L"Ärger"},
            {L"C:\\Temp", L"Temp"},
            {L"c:\\temp", L"Temp"},
            {L"C:\\Gone", L"Gone"},
        };
        for (int i = 0; i < 40; ++i)
            folders.push_back({L"E:\\Projekt " + std::to_wstring(i % 23) + L"\\Teil" + std::to_wstring(i),
                               L"Teil" + std::to_wstring(i % 17)});
        std::mt19937 rng(20261210);
        std::uniform_int_distribution<int> second(0, 50 * 86400 / 600);  // in steps of ten minutes: many ties
        std::discrete_distribution<size_t> pick = [&] {
            std::vector<double> w;
            for (size_t i = 0; i < folders.size(); ++i)
                w.push_back(1.0 / static_cast<double>(1 + i % 9));
            return std::discrete_distribution<size_t>(w.begin(), w.end());
        }();
        ASSERT_TRUE(db_.Execute(L"BEGIN"));
        for (int v = 0; v < visits; ++v) {
            const auto& f = folders[pick(rng)];
            Visit(f.first, f.second, FromSeconds(SecondsSinceEpoch(kNow) - 600LL * second(rng)));
        }
        ASSERT_TRUE(db_.Execute(L"COMMIT"));
    }

    std::vector<FolderRow> Fill(bool summary,
                                FolderView view,
                                const std::wstring& find,
                                int timeframe,
                                const std::wstring& filter) {
        FolderQuery query = BuildFolderQuery(view, find, timeframe, filter);
        cFolderListRows rows(query.limit);
        std::vector<FolderRow> entries;
        auto add = [&](const FolderRow& row) {
            if (EqualsNoCase(row.path, L"C:\\Gone"))
                return false;  // no icon: the folder is gone
            entries.push_back(row);
            return true;
        };
        bool ok = true;
        if (summary) {
            ok = ReadFolderRows(db_, view, query, rows, add);
        } else {
            ok = db_.Query(ReferenceSql(view, find, timeframe, filter), [&](const cRow& r) {
                FolderRow row;
                row.path = r.Text(0);
                row.name = r.Text(1);
                if (view == FolderView::MostUsed)
                    row.usageCount = r.Long(2);
                else
                    row.dateUsed = r.Date(2);
                if (rows.Check(row.path) == RowVerdict::Take && add(row))
                    rows.Added(row.dateUsed, row.usageCount);
                return !rows.Full();
            });
        }
        EXPECT_TRUE(ok) << db_.LastError();
        return entries;
    }

    // Every list the window can ask for, read both ways.
    void ExpectEveryListAsTheQueryTextsGive() {
        const std::wstring filters[] = {
            L"", L"(FoldersProtocol.FolderPath <> 'c:\\temp' AND FoldersProtocol.FolderPath Not Like 'e:\\projekt 1%')",
            L"(FoldersProtocol.FolderPath Not Like '%übersicht%')"};
        const std::wstring searches[] = {L"", L"übersicht", L"DATEN", L"o'neil", L"%", L"_", L"teil1", L"zzz", L"  "};
        for (const auto& filter : filters) {
            for (const auto& find : searches) {
                auto viaSummary = Fill(true, FolderView::LastUsed, find, 0, filter);
                auto viaVisits = Fill(false, FolderView::LastUsed, find, 0, filter);
                EXPECT_EQ(Describe(viaSummary), Describe(viaVisits)) << ToUtf8(find) << " / " << ToUtf8(filter);
            }
            for (int timeframe = 0; timeframe < kTimeframeCount; ++timeframe) {
                auto viaSummary = Fill(true, FolderView::MostUsed, L"", timeframe, filter);
                auto viaVisits = Fill(false, FolderView::MostUsed, L"", timeframe, filter);
                EXPECT_EQ(Describe(viaSummary), Describe(viaVisits)) << timeframe << " / " << ToUtf8(filter);
            }
        }
    }

    // Rows of the summaries that differ from grouping the visits, and groups
    // missing from them; 0 when they are true to them.
    long SummaryMismatches() {
        long days = -1;
        db_.Query(
            L"SELECT (SELECT Count(*) FROM FolderDays d WHERE d.Visits <> (SELECT Count(*) FROM FoldersProtocol p "
            L"WHERE p.FolderPath = d.FolderPath AND p.FolderName = d.FolderName AND substr(p.DateUsed, 1, 10) = "
            L"d.Day)) + abs((SELECT Count(*) FROM FolderDays) - (SELECT Count(*) FROM (SELECT 1 FROM "
            L"FoldersProtocol GROUP BY FolderPath, FolderName, substr(DateUsed, 1, 10))))",
            [&](const cRow& row) {
                days = row.Long(0);
                return true;
            });
        EXPECT_EQ(days, 0) << "FolderDays";
        long n = -1;
        db_.Query(
            L"SELECT (SELECT Count(*) FROM FolderSummary s WHERE s.UsageCount <> (SELECT Count(*) FROM "
            L"FoldersProtocol p WHERE p.FolderPath = s.FolderPath AND p.FolderName = s.FolderName) OR "
            L"(s.LastUsed, s.LastRowid, s.LastPath, s.LastName) <> (SELECT p.DateUsed, p.rowid, p.FolderPath, "
            L"p.FolderName FROM FoldersProtocol p WHERE p.FolderPath = s.FolderPath AND p.FolderName = s.FolderName "
            L"ORDER BY p.DateUsed DESC, p.rowid DESC LIMIT 1)) + abs((SELECT Count(*) FROM FolderSummary) - (SELECT "
            L"Count(*) FROM (SELECT 1 FROM FoldersProtocol GROUP BY FolderPath, FolderName)))",
            [&](const cRow& row) {
                n = row.Long(0);
                return true;
            });
        return n;
    }

    pwtest::ScratchDir dir_{std::string("summary-") + ::testing::UnitTest::GetInstance()->current_test_info()->name()};
    std::filesystem::path file_ = dir_ / "Pfadwerk.dat";
    LocalTime now_ = kNow;
    cDatabase db_;
};

}  // namespace

TEST_F(FolderListSummary, EveryListIsExactlyWhatTheQueryTextsGive) {
    VariedHistory(4000);
    ExpectEveryListAsTheQueryTextsGive();
    // Also once folders were removed and the daily clean-up ran.
    ASSERT_TRUE(RemoveFolder(db_, L"c:\\daten\\ÜBERSICHT"));
    ASSERT_GT(DeleteOlderThan(db_, 20), 0);
    ExpectEveryListAsTheQueryTextsGive();
}

TEST_F(FolderListSummary, StaysTrueToTheVisitsThroughAppendsRemovalsCleanUpAndClearing) {
    VariedHistory(1500);
    EXPECT_EQ(SummaryMismatches(), 0);
    // The worker appends visits older than the newest (a clock set back).
    Visit(L"c:\\TEMP", L"temp", FromSeconds(SecondsSinceEpoch(kNow) - 86400 * 60));
    Visit(L"C:\\Neu", L"Neu", kNow);
    EXPECT_EQ(SummaryMismatches(), 0);
    // The main program removes a folder, and the newest visit of another.
    ASSERT_TRUE(RemoveFolder(db_, L"C:\\temp"));
    ASSERT_TRUE(
        db_.Execute(L"DELETE FROM FoldersProtocol WHERE rowid = (SELECT LastRowid FROM FolderSummary "
                    L"WHERE FolderPath = 'C:\\Daten\\Übersicht' AND FolderName = 'Bericht')"));
    EXPECT_EQ(SummaryMismatches(), 0);
    // The daily clean-up, then clearing the whole history.
    ASSERT_GT(DeleteOlderThan(db_, 30), 0);
    EXPECT_EQ(SummaryMismatches(), 0);
    ASSERT_TRUE(ClearHistory(db_));
    long left = -1;
    db_.Query(L"SELECT Count(*) FROM FolderSummary", [&](const cRow& row) {
        left = row.Long(0);
        return true;
    });
    EXPECT_EQ(left, 0);
    // Visits are never changed in place: that would leave the summary wrong.
    Visit(L"C:\\Neu", L"Neu", kNow);
    EXPECT_FALSE(db_.Execute(L"UPDATE FoldersProtocol SET FolderName = 'x'"));
    EXPECT_EQ(SummaryMismatches(), 0);
}

TEST_F(FolderListSummary, AHistoryOfAnEarlierBuildGetsItsSummary) {
    db_.Close();
    auto earlier = dir_ / "Earlier.dat";
    sqlite3* raw = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(earlier.string().c_str(), &raw));
    ASSERT_EQ(SQLITE_OK,
              sqlite3_exec(raw,
                           "CREATE TABLE FoldersProtocol (FolderPath TEXT COLLATE NOCASE NOT NULL, FolderName TEXT "
                           "COLLATE NOCASE NOT NULL, DateUsed DATETIME NOT NULL);"
                           "INSERT INTO FoldersProtocol VALUES ('C:\\Temp', 'Temp', '2026-12-09 10:00:00');"
                           "INSERT INTO FoldersProtocol VALUES ('c:\\temp', 'temp', '2026-12-10 07:00:00');"
                           "INSERT INTO FoldersProtocol VALUES ('C:\\Übersicht', 'Ü', '2026-12-08 10:00:00');",
                           nullptr, nullptr, nullptr));
    sqlite3_close(raw);
    ASSERT_TRUE(db_.Open(earlier.wstring(), [this] { return now_; })) << db_.LastError();
    EXPECT_EQ(SummaryMismatches(), 0);
    auto last = Fill(true, FolderView::LastUsed, L"", 0, L"");
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[0].path, L"c:\\temp");
    auto most = Fill(true, FolderView::MostUsed, L"", 0, L"");
    ASSERT_EQ(most.size(), 2u);
    EXPECT_EQ(most[0].usageCount, 2);
}

TEST_F(FolderListSummary, AHistoryWithoutDayCountsGetsThemOnceAndTheListsStayTheSame) {
    VariedHistory(600);
    auto before = Fill(false, FolderView::MostUsed, L"", 4, L"");
    db_.Close();
    {
        // The previous build's file: the same visits and summary, no day
        // counts, triggers that know nothing of them.
        cDatabase old;
        ASSERT_TRUE(old.Open(file_.wstring()));
        ASSERT_TRUE(old.Execute(L"DROP TRIGGER FoldersProtocol_Insert"));
        ASSERT_TRUE(old.Execute(L"DROP TRIGGER FoldersProtocol_Delete"));
        ASSERT_TRUE(old.Execute(L"DROP TABLE FolderDays"));
        ASSERT_TRUE(old.Execute(L"PRAGMA user_version = 1"));
    }
    ASSERT_TRUE(db_.Open(file_.wstring(), [this] { return now_; })) << db_.LastError();
    EXPECT_EQ(SummaryMismatches(), 0);
    EXPECT_EQ(Describe(Fill(true, FolderView::MostUsed, L"", 4, L"")), Describe(before));
    Visit(L"C:\\Neu", L"Neu", kNow);
    ASSERT_TRUE(RemoveFolder(db_, L"c:\\temp"));
    EXPECT_EQ(SummaryMismatches(), 0);
}
