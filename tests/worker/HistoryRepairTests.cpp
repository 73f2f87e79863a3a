// Repairs of the history that end, and end once: damage only the full check
// finds, an empty or table-less file, a damaged template, the other program
// repairing at the same time, and what a repair ended half way leaves.
#include <gtest/gtest.h>

#include <thread>

#include "HistoryFiles.h"
#include "TestHistory.h"
#include "TestRun.h"
#include "VisitLog.h"
#include "WorkerHarness.h"

using namespace pw;
namespace fs = std::filesystem;

namespace {

const LocalTime kFound{2026, 12, 7, 17, 5, 9};

class HistoryRepairTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(Data());
        TakeDamagedHistoryNotice();
    }
    fs::path Data() const { return dir_ / "data"; }
    fs::path History() const { return Data() / "Pfadwerk.dat"; }
    fs::path Kept() const { return Data() / L"Pfadwerk-beschädigt-2026-12-07-17-05-09.dat"; }
    fs::path Made() const { return Data() / L"PfadwerkR-2026-12-07-17-05-09.dat"; }
    HistoryFiles Files() const {
        return {Data().wstring(), History().wstring(), (pwtest::DistFolder() / L"Template.dat").wstring()};
    }
    static long Rows(const fs::path& file) {
        cDatabase db;
        long n = -1;
        if (db.Open(file.wstring()))
            db.Query(L"SELECT Count(*) FROM FoldersProtocol", [&](const cRow& row) {
                n = row.Long(0);
                return true;
            });
        return n;
    }
    // A history of `count` visits of ten folders, at `file`.
    static void Fill(const fs::path& file, int count) {
        ASSERT_TRUE(pwtest::CreateHistory(file));
        std::vector<TimedVisit> visits;
        for (int i = 0; i < count; ++i)
            visits.push_back({L"C:\\Ordner " + std::to_wstring(i % 10) + std::wstring(60, L'x'), L"Ordner",
                              LocalTime{2026, 11, 1 + i % 28, 10, i % 60, 0}});
        cDatabase db;
        ASSERT_TRUE(db.Open(file.wstring()));
        ASSERT_TRUE(db.AppendVisits(visits)) << db.LastError();
    }
    size_t KeptAside() const {
        size_t kept = 0;
        for (const auto& entry : fs::directory_iterator(Data()))
            kept += entry.path().filename().wstring().rfind(kDamagedHistoryPrefix, 0) == 0;
        return kept;
    }
    bool Log(const std::wstring& path = L"C:\\Ordner 1" + std::wstring(60, L'x')) {
        return LogVisit(Files(), {L"Ordner", path}, [] { return kFound; });
    }

    pwtest::ScratchDir dir_{"repair"};
};

}  // namespace

TEST_F(HistoryRepairTest, IndexesThatDisagreeWithTheirTableAreRebuiltInPlaceWithEveryVisit) {
    Fill(History(), 300);
    std::vector<TimedVisit> later;
    for (int i = 0; i < 10; ++i)
        later.push_back(
            {L"C:\\Ordner " + std::to_wstring(i) + std::wstring(60, L'x'), L"Ordner", {2026, 12, 1, 9, 0, i}});
    ASSERT_TRUE(pwtest::StaleSummaryDateIndex(History(), later));
    ASSERT_NE(pwtest::IntegrityCheck(History()), "ok");
    ASSERT_TRUE(Log());
    EXPECT_EQ(Rows(History()), 311);
    EXPECT_EQ(pwtest::IntegrityCheck(History()), "ok");
    EXPECT_EQ(KeptAside(), 0u);
    EXPECT_EQ(TakeDamagedHistoryNotice(), L"") << "nothing lost, nothing to tell";
}

TEST_F(HistoryRepairTest, AnEmptyHistoryIsReplacedAndOneWithoutTheVisitsTableSetAside) {
    pwtest::WriteBytes(History(), {});
    ASSERT_TRUE(Log());
    EXPECT_EQ(Rows(History()), 1);
    EXPECT_EQ(KeptAside(), 0u);

    fs::remove(History());
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(History().string().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "CREATE TABLE Notizen (Text)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
    std::vector<char> bytes = pwtest::FileBytes(History());
    ASSERT_TRUE(Log());
    EXPECT_EQ(Rows(History()), 1);
    EXPECT_EQ(pwtest::FileBytes(Kept()), bytes);
    EXPECT_EQ(TakeDamagedHistoryNotice(), Kept().wstring());
}

TEST_F(HistoryRepairTest, ADamagedTemplateGivesAHistoryOfTheBuiltInSchemaRepairedOnce) {
    HistoryFiles files = Files();
    files.templateFile = (dir_ / "Template.dat").wstring();
    pwtest::WriteBytes(files.templateFile, pwtest::RandomBytes(20 * 1024, 3));
    std::vector<char> users = pwtest::RandomBytes(64 * 1024, 4);
    pwtest::WriteBytes(History(), users);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(LogVisit(files, {L"Ordner", L"C:\\Ordner"}, [] { return kFound; })) << i;
    EXPECT_EQ(Rows(History()), 3);
    EXPECT_EQ(pwtest::IntegrityCheck(History()), "ok");
    EXPECT_EQ(KeptAside(), 1u) << "one repair for one damage";
    EXPECT_EQ(pwtest::FileBytes(Kept()), users);
    EXPECT_EQ(TakeDamagedHistoryNotice(), Kept().wstring()) << "the user's own file";
}

TEST_F(HistoryRepairTest, NoRepairWhileTheOtherProgramRepairs) {
    std::vector<char> damaged = pwtest::RandomBytes(64 * 1024, 5);
    pwtest::WriteBytes(History(), damaged);
    // Held on this thread, as the other program would hold it.
    cHandle other(CreateMutexW(nullptr, TRUE, RunScopedName(kHistoryRepairMutex).c_str()));
    bool repaired = true;
    std::thread([&] { repaired = RepairDamagedHistory(Files(), kFound) || Log(); }).join();
    EXPECT_FALSE(repaired);
    EXPECT_EQ(pwtest::FileBytes(History()), damaged);
    ReleaseMutex(other.Get());
    EXPECT_TRUE(Log());
    EXPECT_EQ(KeptAside(), 1u);
}

TEST_F(HistoryRepairTest, ARepairEndedHalfWayIsFinishedBeforeAnyNewHistory) {
    // Ended after the damaged history was set aside, before its visits were
    // carried: the new history made, still empty.
    Fill(History(), 2000);
    ASSERT_FALSE(pwtest::DamageMendably(History()).empty());
    fs::rename(History(), Kept());
    ASSERT_TRUE(pwtest::CreateHistory(Made()));
    ASSERT_TRUE(Log());
    EXPECT_EQ(Rows(History()), 2001);
    EXPECT_FALSE(fs::exists(Made()));

    // Ended after the visits were carried, before the new history took its
    // place: the next start finds it.
    fs::remove(History());
    Fill(Made(), 40);
    FinishInterruptedRepairs(Files());
    EXPECT_EQ(Rows(History()), 40);
    EXPECT_FALSE(fs::exists(Made()));
}

TEST_F(HistoryRepairTest, CarriedVisitsStayUntilTheyAreInTheHistory) {
    pwtest::WriteBytes(Kept(), pwtest::RandomBytes(64 * 1024, 6));
    Fill(Made(), 30);
    {
        // A virus scanner reading the new history: it cannot take its place,
        // and no empty history takes it instead.
        pw::cHandle scanner(
            CreateFileW(Made().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(scanner);
        EXPECT_FALSE(Log());
        EXPECT_FALSE(fs::exists(History()));
    }
    ASSERT_TRUE(Log());
    EXPECT_EQ(Rows(History()), 31);
    EXPECT_FALSE(fs::exists(Made()));

    // A history there meanwhile and busy: the carried visits join it once it
    // is free, and only once.
    Fill(Made(), 30);
    cDatabase holder;
    ASSERT_TRUE(holder.Open(History().wstring()));
    ASSERT_TRUE(holder.Execute(L"BEGIN EXCLUSIVE"));
    FinishInterruptedRepairs(Files());
    EXPECT_EQ(Rows(Made()), 30);
    ASSERT_TRUE(holder.Execute(L"COMMIT"));
    holder.Close();
    FinishInterruptedRepairs(Files());
    FinishInterruptedRepairs(Files());
    EXPECT_EQ(Rows(History()), 61);
    EXPECT_FALSE(fs::exists(Made()));
}
