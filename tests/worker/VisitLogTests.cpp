// Appending with creation from the template, and compaction, on scratch files.
#include <gtest/gtest.h>

#include <fstream>

#include "HistoryFiles.h"
#include "TestHistory.h"
#include "VisitLog.h"
#include "WorkerHarness.h"

using namespace pw;

namespace {

class VisitLogTest : public ::testing::Test {
  protected:
    HistoryFiles Files() const {
        return {(dir_ / "data").wstring(), (dir_ / "data" / "Pfadwerk.dat").wstring(),
                (pwtest::DistFolder() / L"Template.dat").wstring()};
    }
    long Rows(const std::wstring& file) {
        cDatabase db;
        long n = -1;
        if (db.Open(file))
            db.Query(L"SELECT Count(*) FROM FoldersProtocol", [&](const cRow& row) {
                n = row.Long(0);
                return true;
            });
        return n;
    }
    pwtest::ScratchDir dir_{"visitlog"};
};

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST_F(VisitLogTest, MissingFolderAndDatabaseAreCreatedFromTheTemplate) {
    HistoryFiles files = Files();
    ASSERT_TRUE(LogVisit(files, {L"Temp", L"C:\\Temp"}));
    ASSERT_TRUE(LogVisit(files, {L"Temp", L"C:\\Temp"}));
    EXPECT_EQ(Rows(files.database), 2);
    // The template itself stays empty.
    EXPECT_EQ(Rows(files.templateFile), 0);
}

TEST_F(VisitLogTest, WithoutTemplateTheHistoryIsMadeFromTheBuiltInSchema) {
    HistoryFiles files = Files();
    files.templateFile = (dir_ / "NoTemplate.dat").wstring();
    EXPECT_TRUE(LogVisit(files, {L"Temp", L"C:\\Temp"}));
    EXPECT_EQ(Rows(files.database), 1);
}

TEST_F(VisitLogTest, ADamagedDatabaseIsKeptAsideUnchangedAndTheVisitGoesIntoANewOne) {
    HistoryFiles files = Files();
    std::filesystem::create_directories(files.dataFolder);
    { std::ofstream(std::filesystem::path(files.database), std::ios::binary) << "not a database, but the user's file"; }
    ASSERT_TRUE(LogVisit(files, {L"Temp", L"C:\\Temp"}, [] { return LocalTime{2026, 12, 7, 17, 5, 9}; }));
    EXPECT_EQ(Rows(files.database), 1);
    // Under a name that says what and when; a second repair in the same
    // second keeps the first file.
    auto kept = dir_ / "data" / L"Pfadwerk-beschädigt-2026-12-07-17-05-09.dat";
    EXPECT_EQ(FileText(kept), "not a database, but the user's file");
    EXPECT_EQ(TakeDamagedHistoryNotice(), kept.wstring());
    EXPECT_EQ(TakeDamagedHistoryNotice(), L"") << "taken once";

    { std::ofstream(std::filesystem::path(files.database), std::ios::binary) << "damaged again"; }
    ASSERT_TRUE(RepairDamagedHistory(files, {2026, 12, 7, 17, 5, 9}));
    EXPECT_EQ(FileText(kept), "not a database, but the user's file");
    EXPECT_EQ(FileText(dir_ / "data" / L"Pfadwerk-beschädigt-2026-12-07-17-05-09-2.dat"), "damaged again");
    // A sound history is no case for a repair.
    EXPECT_FALSE(RepairDamagedHistory(files));
}

TEST_F(VisitLogTest, CompactionKeepsEveryRowAndRemovesALeftoverOfEarlierBuilds) {
    HistoryFiles files = Files();
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(LogVisit(files, {L"n", L"C:\\F" + std::to_wstring(i)}));
    {
        cDatabase db;
        ASSERT_TRUE(db.Open(files.database));
        ASSERT_TRUE(db.Execute(L"DELETE * FROM FoldersProtocol WHERE FolderPath Like 'C:\\F1%'"));
    }
    auto leftover = dir_ / "data" / "PfadwerkC.dat";
    { std::ofstream(leftover) << "left over from an interrupted compaction"; }
    auto before = std::filesystem::file_size(files.database);
    ASSERT_TRUE(CompactHistory(files.database));
    EXPECT_FALSE(std::filesystem::exists(leftover));
    EXPECT_EQ(Rows(files.database), 200 - 111);
    EXPECT_LT(std::filesystem::file_size(files.database), before);
}

TEST_F(VisitLogTest, ACompactionThatMustWaitTooLongLeavesTheHistoryAsItWas) {
    HistoryFiles files = Files();
    ASSERT_TRUE(LogVisit(files, {L"n", L"C:\\Kept"}));
    {
        // The other program in the middle of a write.
        cDatabase writer;
        ASSERT_TRUE(writer.Open(files.database));
        ASSERT_TRUE(writer.Execute(L"BEGIN IMMEDIATE"));
        ASSERT_TRUE(writer.AppendVisit(L"C:\\Written", L"w"));
        EXPECT_FALSE(CompactHistory(files.database));
        ASSERT_TRUE(writer.Execute(L"COMMIT"));
    }
    EXPECT_EQ(Rows(files.database), 2);
    // A missing history is not conjured up by compaction.
    auto missing = dir_ / "none.dat";
    EXPECT_FALSE(CompactHistory(missing.wstring()));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(VisitLogTest, CompactionWhileTheOtherProgramReadsNeverLosesTheHistory) {
    HistoryFiles files = Files();
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(LogVisit(files, {L"n", L"C:\\F" + std::to_wstring(i)}));
    cDatabase reader;
    ASSERT_TRUE(reader.Open(files.database));
    CompactHistory(files.database);
    reader.Close();
    EXPECT_EQ(Rows(files.database), 20);
    ASSERT_TRUE(LogVisit(files, {L"n", L"C:\\After"}));
    EXPECT_EQ(Rows(files.database), 21);
}
