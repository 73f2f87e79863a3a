// The import of visits from elsewhere into a real history: what is known,
// what is added, and that nothing stays of an import that was not committed.
#include <gtest/gtest.h>

#include "Database.h"
#include "HistoryQueries.h"
#include "TestHistory.h"

using namespace pw;

namespace {

class HistoryImportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pwtest::CreateHistory(file_));
        ASSERT_TRUE(db_.Open(file_.wstring())) << db_.LastError();
        ASSERT_TRUE(db_.AppendVisit(L"C:\\Daten\\Übersicht", L"Übersicht"));
    }
    std::vector<std::wstring> Rows() {
        std::vector<std::wstring> rows;
        db_.Query(L"SELECT FolderPath, FolderName, DateUsed FROM FoldersProtocol ORDER BY rowid", [&](const cRow& r) {
            rows.push_back(r.Text(0) + L"|" + r.Text(1) + L"|" + FromUtf8(FormatDbDate(*r.Date(2))));
            return true;
        });
        return rows;
    }

    pwtest::ScratchDir dir_{"history-import"};
    std::filesystem::path file_ = dir_ / "Pfadwerk.dat";
    cDatabase db_;
    const std::vector<TimedVisit> visits_{{L"D:\\Fotos", L"Fotos", {2024, 5, 1, 9, 30, 0}},
                                          {L"c:\\daten\\ÜBERSICHT", L"Übersicht", {2024, 5, 2, 10, 0, 0}},
                                          {L"E:\\Musik", L"Musik", {2024, 5, 3, 11, 15, 5}}};
};

}  // namespace

TEST_F(HistoryImportTest, KnownFoldersAreFoundAsTheHistoryComparesPaths) {
    EXPECT_EQ((std::vector<bool>{true, false, true}),
              FoldersInHistory(db_, {L"c:\\DATEN\\übersicht", L"C:\\Daten", L"C:\\Daten\\Übersicht"}));
}

TEST_F(HistoryImportTest, AddsOneVisitPerUnknownFolderWithItsDateAndOnlyOnce) {
    {
        cVisitImport import(db_);
        ASSERT_TRUE(import.Begin());
        ASSERT_TRUE(import.Add(std::span(visits_).first(2)));
        ASSERT_TRUE(import.Add(std::span(visits_).subspan(2)));
        ASSERT_TRUE(import.Commit());
        EXPECT_EQ(2, import.Added());
    }
    std::vector<std::wstring> rows = Rows();
    ASSERT_EQ(3u, rows.size());
    EXPECT_EQ(L"D:\\Fotos|Fotos|2024-05-01 09:30:00", rows[1]);
    EXPECT_EQ(L"E:\\Musik|Musik|2024-05-03 11:15:05", rows[2]);

    cVisitImport again(db_);
    ASSERT_TRUE(again.Begin());
    ASSERT_TRUE(again.Add(visits_));
    ASSERT_TRUE(again.Commit());
    EXPECT_EQ(0, again.Added());
    EXPECT_EQ(3u, Rows().size());
}

TEST_F(HistoryImportTest, AnImportNotCommittedLeavesNothing) {
    {
        cVisitImport import(db_);
        ASSERT_TRUE(import.Begin());
        ASSERT_TRUE(import.Add(visits_));
    }  // dropped: rolled back
    {
        cVisitImport import(db_);
        ASSERT_TRUE(import.Begin());
        ASSERT_TRUE(import.Add(visits_));
        import.Rollback();
        EXPECT_FALSE(import.Commit());
    }
    EXPECT_EQ(1u, Rows().size());
    // The history is free again for the other program's writes.
    EXPECT_TRUE(db_.AppendVisit(L"F:\\Neu", L"Neu"));
}
