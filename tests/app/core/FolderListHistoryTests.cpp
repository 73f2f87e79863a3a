// The history queries against a real history file made from the schema, read
// the way a list fill reads them.
#include <gtest/gtest.h>

#include <vector>

#include "Database.h"
#include "CoreTexts.h"
#include "FolderListDates.h"
#include "FolderListQuery.h"
#include "FolderListRead.h"
#include "FolderListRows.h"
#include "TestHistory.h"
#include "Text.h"

using namespace pw;

namespace {

std::wstring Numbered(const wchar_t* stem, int i) {
    return stem + std::to_wstring(i);
}

class FolderListHistory : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pwtest::CreateHistory(file_));
        ASSERT_TRUE(db_.Open(file_.wstring(), [this] { return now_; })) << db_.LastError();
    }

    void Visit(const std::wstring& path, const LocalTime& when, const std::wstring& name = L"") {
        LocalTime saved = now_;
        now_ = when;
        ASSERT_TRUE(db_.AppendVisit(path, name.empty() ? path.substr(path.rfind(L'\\') + 1) : name)) << db_.LastError();
        now_ = saved;
    }
    LocalTime Ago(long long seconds) const { return FromSeconds(SecondsSinceEpoch(now_) - seconds); }

    // A fill without the shell: every folder "has an icon" unless listed in
    // gone_.
    std::vector<FolderRow> Fill(FolderView view,
                                const std::wstring& find = L"",
                                int timeframe = 0,
                                const std::wstring& filter = L"") {
        FolderQuery query = BuildFolderQuery(view, find, timeframe, filter);
        cFolderListRows rows(query.limit);
        std::vector<FolderRow> entries;
        afterRows_ = 0;
        bool ok = ReadFolderRows(
            db_, view, query, rows,
            [&](const FolderRow& row) {
                for (const auto& gone : gone_)
                    if (gone == row.path)
                        return false;
                EXPECT_EQ(rows.NextKey(), L"itmx" + std::to_wstring(entries.size()));
                entries.push_back(row);
                return true;
            },
            [&] { ++afterRows_; });
        EXPECT_TRUE(ok) << db_.LastError();
        EXPECT_EQ(rows.Count(), static_cast<int>(entries.size()));
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(rows.DateUsed(static_cast<int>(i) + 1), entries[i].dateUsed);
            EXPECT_EQ(rows.UsageCount(static_cast<int>(i) + 1), entries[i].usageCount);
        }
        return entries;
    }

    pwtest::ScratchDir dir_{std::string("folderlist-") +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name()};
    std::filesystem::path file_ = dir_ / "Pfadwerk.dat";
    LocalTime now_{2026, 12, 10, 8, 0, 0};  // a Thursday
    cDatabase db_;
    std::vector<std::wstring> gone_;
    int afterRows_ = 0;  // rows after which the fill let messages run
};

}  // namespace

TEST_F(FolderListHistory, TwentyVisitsTodayAreOneEntryWithTheLatestTime) {
    for (int i = 0; i < 20; ++i)
        Visit(L"C:\\Projekte", {2026, 12, 10, 7, 10 + i, 0});
    Visit(L"D:\\Musik", {2026, 12, 9, 21, 0, 0});
    auto entries = Fill(FolderView::LastUsed);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, L"C:\\Projekte");
    ASSERT_TRUE(entries[0].dateUsed);
    LastUsedDate text =
        LastUsedDateText(*entries[0].dateUsed, now_, pwtest::GermanDateLocale(), pwtest::ListTextsOfTheProgram());
    EXPECT_EQ(text.group, DateGroup::Today);
    EXPECT_EQ(text.text, L"Heute, 07:29");
    EXPECT_EQ(entries[1].path, L"D:\\Musik");
}

TEST_F(FolderListHistory, PathsDifferingOnlyInCaseAreOneFolder) {
    Visit(L"C:\\Dokumente\\Übersicht", Ago(3600));
    Visit(L"c:\\dokumente\\übersicht", Ago(60));  // newest: this spelling wins
    Visit(L"C:\\DOKUMENTE\\ÜBERSICHT", Ago(7200));
    Visit(L"C:\\Temp", Ago(120));
    auto entries = Fill(FolderView::LastUsed);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].path, L"c:\\dokumente\\übersicht");
    EXPECT_EQ(entries[1].path, L"C:\\Temp");

    auto most = Fill(FolderView::MostUsed);
    ASSERT_EQ(most.size(), 2u);
    EXPECT_EQ(most[0].usageCount, 3);  // grouped without regard to case
    EXPECT_EQ(most[1].usageCount, 1);
}

TEST_F(FolderListHistory, FourteenEntriesOrOneHundredFiftyWhileSearching) {
    for (int i = 0; i < 200; ++i)
        Visit(Numbered(L"E:\\Archiv\\Ordner ", i), Ago(200 - i));
    auto plain = Fill(FolderView::LastUsed);
    ASSERT_EQ(plain.size(), 14u);
    EXPECT_EQ(plain[0].path, L"E:\\Archiv\\Ordner 199");  // newest first
    EXPECT_EQ(plain[13].path, L"E:\\Archiv\\Ordner 186");

    EXPECT_EQ(Fill(FolderView::LastUsed, L"ordner").size(), 150u);
    EXPECT_EQ(Fill(FolderView::LastUsed, L"   ").size(), 150u);       // blanks: all match
    EXPECT_EQ(Fill(FolderView::LastUsed, L"Ordner 1").size(), 111u);  // 1, 10-19, 100-199
}

TEST_F(FolderListHistory, ThirtyFoldersShowFourteen) {
    for (int i = 0; i < 30; ++i)
        Visit(Numbered(L"C:\\F", i), Ago(1000 - i));
    EXPECT_EQ(Fill(FolderView::LastUsed).size(), 14u);
    EXPECT_EQ(Fill(FolderView::LastUsed, L"c:\\f").size(), 30u);
    EXPECT_EQ(Fill(FolderView::MostUsed).size(), 14u);
}

TEST_F(FolderListHistory, SearchWithQuotesAndUmlauts) {
    Visit(L"C:\\Kunden\\O'Neil & Söhne", Ago(60));
    Visit(L"C:\\Kunden\\ONeil", Ago(120));
    Visit(L"C:\\Kunden\\Müller", Ago(180), L"Familie MÜLLER");
    auto quoted = Fill(FolderView::LastUsed, L" o'neil ");
    ASSERT_EQ(quoted.size(), 1u);
    EXPECT_EQ(quoted[0].path, L"C:\\Kunden\\O'Neil & Söhne");
    EXPECT_EQ(Fill(FolderView::LastUsed, L"'").size(), 1u);
    EXPECT_EQ(Fill(FolderView::LastUsed, L"SÖHNE").size(), 1u);
    auto byName = Fill(FolderView::LastUsed, L"familie mül");  // matches the name, not the path
    ASSERT_EQ(byName.size(), 1u);
    EXPECT_EQ(byName[0].name, L"Familie MÜLLER");
    EXPECT_TRUE(Fill(FolderView::LastUsed, L"x' OR 'a'='a").empty());
    EXPECT_EQ(Fill(FolderView::LastUsed, L"n_il").size(), 2u);  // "_" stays a wildcard
}

TEST_F(FolderListHistory, MostUsedCountsAndOrder) {
    for (int i = 0; i < 5; ++i)
        Visit(L"C:\\Oft", Ago(100 + i));
    for (int i = 0; i < 3; ++i)
        Visit(L"C:\\Mittel", Ago(200 + i));
    Visit(L"C:\\Selten", Ago(300));
    // One path under two names: two groups, the list keeps the larger.
    for (int i = 0; i < 4; ++i)
        Visit(L"D:\\Bilder", Ago(400 + i), L"Bilder");
    for (int i = 0; i < 2; ++i)
        Visit(L"D:\\Bilder", Ago(500 + i), L"Pictures");
    auto most = Fill(FolderView::MostUsed);
    ASSERT_EQ(most.size(), 4u);
    EXPECT_EQ(most[0].path, L"C:\\Oft");
    EXPECT_EQ(most[0].usageCount, 5);
    EXPECT_EQ(most[1].path, L"D:\\Bilder");
    EXPECT_EQ(most[1].name, L"Bilder");
    EXPECT_EQ(most[1].usageCount, 4);
    EXPECT_EQ(most[2].usageCount, 3);
    EXPECT_EQ(most[3].usageCount, 1);
    EXPECT_FALSE(most[0].dateUsed);
}

TEST_F(FolderListHistory, TimeFramesCutAtTheInjectedClock) {
    const long long h = 3600, d = 86400;
    Visit(L"C:\\A", Ago(h));            // 1 h
    Visit(L"C:\\B", Ago(2 * h + 600));  // 2 h 10 min: still in "Letzte 2 Stunden"
    Visit(L"C:\\J", Ago(3 * h + 60));   // 3 h 1 min: no longer
    Visit(L"C:\\C", Ago(23 * h));
    Visit(L"C:\\D", Ago(d + 60));
    Visit(L"C:\\E", Ago(3 * d - 60));
    Visit(L"C:\\F", Ago(6 * d));
    Visit(L"C:\\G", Ago(13 * d));
    Visit(L"C:\\H", Ago(29 * d));
    Visit(L"C:\\I", Ago(31 * d));
    const size_t expected[] = {10, 2, 4, 6, 7, 8, 9};
    for (int index = 0; index <= 6; ++index)
        EXPECT_EQ(Fill(FolderView::MostUsed, L"", index).size(), expected[index]) << index;
    // The last-used list ignores the time frame.
    EXPECT_EQ(Fill(FolderView::LastUsed, L"", 1).size(), 10u);
    // The clock moves on: a day later the 24-hour frame holds nothing.
    now_ = FromSeconds(SecondsSinceEpoch(now_) + d);
    EXPECT_TRUE(Fill(FolderView::MostUsed, L"", 2).empty());
}

TEST_F(FolderListHistory, IgnoreFilterAppliesToBothListsAndWithSearchOrTimeFrame) {
    const std::wstring filter =
        L"(FoldersProtocol.FolderPath <> 'c:\\temp' AND FoldersProtocol.FolderPath Not Like 'd:\\archiv%')";
    Visit(L"C:\\Temp", Ago(10));
    Visit(L"D:\\Archiv\\2025", Ago(20));
    Visit(L"D:\\Archiv2", Ago(30));
    Visit(L"D:\\Arbeit", Ago(40));
    Visit(L"C:\\Temp\\Neu", Ago(50));
    auto last = Fill(FolderView::LastUsed, L"", 0, filter);
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[0].path, L"D:\\Arbeit");
    EXPECT_EQ(last[1].path, L"C:\\Temp\\Neu");
    EXPECT_EQ(Fill(FolderView::LastUsed, L"d:\\", 0, filter).size(), 1u);
    EXPECT_EQ(Fill(FolderView::MostUsed, L"", 0, filter).size(), 2u);
    EXPECT_EQ(Fill(FolderView::MostUsed, L"", 1, filter).size(), 2u);
    EXPECT_EQ(Fill(FolderView::MostUsed, L"", 0, L"()").size(), 5u);
}

TEST_F(FolderListHistory, SearchTextIsSoughtNotRunAndAFilterOfAnotherShapeHidesNothing) {
    Visit(L"C:\\x' OR 1=1 OR FolderPath Like '", Ago(10), L"x");
    Visit(L"C:\\Temp", Ago(20));
    auto hit = Fill(FolderView::LastUsed, L"x' OR 1=1 OR FolderPath Like '");
    ASSERT_EQ(hit.size(), 1u);
    EXPECT_EQ(hit[0].name, L"x");
    for (const wchar_t* filter :
         {L"()", L"(FoldersProtocol.FolderPath <> 'c:\\temp') OR 1=1", L"(1=1); DELETE FROM FoldersProtocol"}) {
        EXPECT_EQ(Fill(FolderView::LastUsed, L"", 0, filter).size(), 2u) << ToUtf8(filter);
        EXPECT_EQ(Fill(FolderView::MostUsed, L"", 3, filter).size(), 2u) << ToUtf8(filter);
    }
    EXPECT_EQ(Fill(FolderView::MostUsed, L"", 7).size(), 2u);  // a damaged time frame: the whole history
}

TEST_F(FolderListHistory, SkippedRowsDoNotCountAgainstTheLimit) {
    for (int i = 0; i < 20; ++i)
        Visit(Numbered(L"C:\\F", i), Ago(1000 - i));
    Visit(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", Ago(1));  // newest: a shell object
    Visit(L"C:\\Gone", Ago(2));
    Visit(L"c:\\gone", Ago(3));
    gone_ = {L"C:\\Gone"};
    auto entries = Fill(FolderView::LastUsed);
    ASSERT_EQ(entries.size(), 14u);
    EXPECT_EQ(entries[0].path, L"C:\\F19");  // neither the shell object nor either spelling of the gone folder
    EXPECT_EQ(entries[13].path, L"C:\\F6");
    // After skipped rows too, not after the row that filled the list: the
    // shell object, the gone folder (both spellings, one folder) and 13
    // entries.
    EXPECT_EQ(afterRows_, 15);
    EXPECT_EQ(Fill(FolderView::LastUsed, L"zzz").size(), 0u);
    EXPECT_EQ(afterRows_, 0);
}

TEST(FolderListRows, VerdictsKeysAndValues) {
    cFolderListRows rows(2);
    EXPECT_EQ(rows.Check(L"::{645FF040-5081-101B-9F08-00AA002F954E}"), RowVerdict::SkipShellNamespace);
    EXPECT_EQ(rows.Check(L"::{645FF040-5081-101B-9F08-00AA002F954E}"), RowVerdict::SkipShellNamespace);
    EXPECT_EQ(rows.Check(L":\\x"), RowVerdict::Take);
    EXPECT_EQ(rows.Check(L"C:\\Übersicht"), RowVerdict::Take);
    EXPECT_EQ(rows.Check(L"c:\\übersicht"), RowVerdict::SkipDuplicate);
    EXPECT_EQ(rows.Check(L"C:\\Ubersicht"), RowVerdict::Take);
    EXPECT_EQ(rows.NextKey(), L"itmx0");
    EXPECT_EQ(rows.Added(LocalTime{2026, 1, 2, 3, 4, 5}, 7), 1);
    EXPECT_EQ(rows.NextKey(), L"itmx1");
    EXPECT_FALSE(rows.Full());
    EXPECT_EQ(rows.Added(std::nullopt, 9), 2);
    EXPECT_TRUE(rows.Full());
    EXPECT_EQ(rows.DateUsed(1), (LocalTime{2026, 1, 2, 3, 4, 5}));
    EXPECT_EQ(rows.UsageCount(2), 9);
    EXPECT_FALSE(rows.DateUsed(0));
    EXPECT_FALSE(rows.DateUsed(3));
    EXPECT_EQ(rows.UsageCount(3), 0);
}
