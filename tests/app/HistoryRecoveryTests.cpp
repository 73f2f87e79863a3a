// The history survives what befalls files: damaged pages, a file that is no
// database, a read-only file, a worker killed in the middle of writing, and
// both programs working the file hard at once. The real worker runs beside
// the main window loaded in the test's process, on the test run's scratch
// data folder.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <set>
#include <thread>
#include <tuple>

#include "Database.h"
#include "MainWindowSupport.h"
#include "ModalScript.h"
#include "TestHistory.h"
#include "worker/WorkerHarness.h"

namespace pw::test {
namespace {

namespace fs = std::filesystem;
using Rows = std::map<std::wstring, long>;  // path|name|date, how often

fs::path History() {
    return fs::path(DataFolder()) / L"Pfadwerk.dat";
}

Rows ReadRows(const fs::path& file) {
    Rows rows;
    cDatabase db;
    if (db.Open(file.wstring()))
        db.Query(L"SELECT FolderPath, FolderName, DateUsed FROM FoldersProtocol", [&](const cRow& row) {
            ++rows[row.Text(0) + L"|" + row.Text(1) + L"|" + row.Text(2)];
            return true;
        });
    return rows;
}

// The damaged histories set aside in the data folder.
std::vector<fs::path> KeptAside() {
    std::vector<fs::path> kept;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(DataFolder(), ec)) {
        std::wstring name = entry.path().filename().wstring();
        if (name.rfind(kDamagedHistoryPrefix, 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == L".dat")
            kept.push_back(entry.path());
    }
    return kept;
}

class HistoryRecovery : public ::testing::Test {
  protected:
    void SetUp() override {
        pwtest::ResetWorkerAndHistory();
        ForgetUser();
        Store(Setting::SetupDone, 1);
        Store(Setting::TipShown_SearchFolder, 1);
        Store(Setting::ExitBehavior, 3);
        CreateDirectoryW(DataFolder().c_str(), nullptr);
        ASSERT_TRUE(CopyFileW((DistFolder() + L"\\Template.dat").c_str(), History().c_str(), FALSE));
        for (int i = 0; i < 20; ++i) {
            folders_.push_back(ScratchFolder(L"PfadwerkLast" + std::to_wstring(i)));
            CreateDirectoryW(folders_.back().c_str(), nullptr);
        }
    }
    void TearDown() override {
        form_.reset();
        for (const auto& folder : folders_)
            RemoveDirectoryW(folder.c_str());
        SetFileAttributesW(History().c_str(), FILE_ATTRIBUTE_NORMAL);
        pwtest::ResetWorkerAndHistory();
        ForgetUser();
    }

    // Visits of real folders (the list shows only folders that exist).
    void FillHistory(int count) {
        std::vector<TimedVisit> visits;
        LocalTime now = SystemLocalTime();
        for (int i = 0; i < count; ++i)
            visits.push_back({folders_[i % folders_.size()], L"Name " + std::to_wstring(i) + std::wstring(40, L'x'),
                              FromSeconds(SecondsSinceEpoch(now) - 60 * (count - i))});
        cDatabase db;
        ASSERT_TRUE(db.Open(History().wstring()));
        ASSERT_TRUE(db.AppendVisits(visits)) << db.LastError();
    }

    frmMain& LoadWindow() {
        frmMainSetup setup = TestSetup(false);
        setup.folderActionServices.presenter = &boxes_;
        form_ = std::make_unique<frmMain>(setup);
        EXPECT_TRUE(form_->Load());
        Pump(100);
        return *form_;
    }

    // What the worker does with a damaged history once a visit comes, and
    // what the main window says about it afterwards.
    void ExpectRepairByTheWorker(const std::vector<char>& damagedBytes, const Rows& readable) {
        pwtest::WorkerProcess worker;
        HWND window = worker.WaitForWindow();
        ASSERT_NE(window, nullptr);
        pwtest::SendPayload(window, VisitReportText(L"Neu", folders_[0]));
        ASSERT_TRUE(pwtest::WaitFor([&] {
            return KeptAside().size() == 1 && pwtest::HistoryRows() == long(readable.size()) + 1;
        })) << KeptAside().size()
            << " " << pwtest::HistoryRows();

        fs::path kept = KeptAside()[0];
        EXPECT_EQ(pwtest::FileBytes(kept), damagedBytes) << "kept as it was";
        EXPECT_EQ(pwtest::IntegrityCheck(History()), "ok");
        Rows rows = ReadRows(History());
        EXPECT_EQ(pwtest::HistoryRows(L"WHERE FolderName = 'Neu'"), 1);
        for (const auto& [row, count] : readable)
            EXPECT_EQ(rows[row], count) << "lost: " << row;

        // Told once, by the next main window, with the place of the old file.
        LoadWindow();
        ASSERT_EQ(boxes_.boxes.size(), 1u);
        EXPECT_NE(boxes_.boxes[0].text.find(kept.wstring()), std::wstring::npos) << boxes_.boxes[0].text;
        EXPECT_NE(boxes_.boxes[0].text.find(L"beschädigt"), std::wstring::npos);
        EXPECT_GT(form_->FolderList().EntryCount(), 0);
        LoadWindow();
        EXPECT_EQ(boxes_.boxes.size(), 1u) << "told once only";
    }

    std::vector<std::wstring> folders_;  // real folders: the lists show only those
    cMessageBoxLog boxes_;
    std::unique_ptr<frmMain> form_;
};

}  // namespace

TEST_F(HistoryRecovery, OverwrittenPagesAreSetAsideAndEveryReadableVisitCarriedWithTheNewOne) {
    FillHistory(2000);
    Rows before = ReadRows(History());
    std::vector<char> damaged = pwtest::DamageMendably(History());
    ASSERT_FALSE(damaged.empty());
    ExpectRepairByTheWorker(damaged, before);
}

TEST_F(HistoryRecovery, AFileOfRandomBytesIsSetAsideAndTheVisitStoredInANewHistory) {
    std::vector<char> noise = pwtest::RandomBytes(96 * 1024, 5);
    pwtest::WriteBytes(History(), noise);
    ExpectRepairByTheWorker(noise, {});
}

TEST_F(HistoryRecovery, TheMainWindowRepairsWhatItFindsDamagedAndShowsNoReadProblem) {
    FillHistory(500);
    Rows before = ReadRows(History());
    ASSERT_FALSE(pwtest::DamageMendably(History()).empty());
    // The damage shows where the list reads: the summary is rebuilt from the
    // carried visits, so the lost date index is no matter to the list.
    long summaryRoot = pwtest::RootPage(History(), "FolderSummary_LastUsed");
    std::vector<char> bytes = pwtest::FileBytes(History());
    pwtest::OverwritePage(bytes, summaryRoot);
    pwtest::WriteBytes(History(), bytes);

    LoadWindow();
    ASSERT_EQ(KeptAside().size(), 1u);
    ASSERT_EQ(boxes_.boxes.size(), 1u) << "the notice, and no read problem";
    EXPECT_EQ(boxes_.boxes[0].style & MB_ICONMASK, UINT(MB_ICONWARNING)) << boxes_.boxes[0].text;
    EXPECT_EQ(ReadRows(History()), before);
    EXPECT_GT(form_->FolderList().EntryCount(), 0);
}

TEST_F(HistoryRecovery, TheMainWindowSetsAFileOfRandomBytesAsideAndShowsAnEmptyList) {
    pwtest::WriteBytes(History(), pwtest::RandomBytes(96 * 1024, 9));
    LoadWindow();
    ASSERT_EQ(KeptAside().size(), 1u);
    ASSERT_EQ(boxes_.boxes.size(), 1u) << boxes_.boxes[0].text;
    EXPECT_EQ(boxes_.boxes[0].style & MB_ICONMASK, UINT(MB_ICONWARNING)) << boxes_.boxes[0].text;
    EXPECT_EQ(pwtest::IntegrityCheck(History()), "ok");
}

// Whatever moment of a repair the worker is ended at, the next one finishes
// it: every visit that could be read carried once, the damaged history kept
// once, nothing of the repair's own left.
TEST_F(HistoryRecovery, ARepairEndedAtAnyMomentIsFinishedByTheNextWorker) {
    for (DWORD delay : {0, 300, 1200}) {
        SCOPED_TRACE(delay);
        pwtest::ResetWorkerAndHistory();
        CreateDirectoryW(DataFolder().c_str(), nullptr);
        ASSERT_TRUE(CopyFileW((DistFolder() + L"\\Template.dat").c_str(), History().c_str(), FALSE));
        FillHistory(2000);
        Rows before = ReadRows(History());
        ASSERT_FALSE(pwtest::DamageMendably(History()).empty());
        {
            pwtest::WorkerProcess worker;
            HWND window = worker.WaitForWindow();
            ASSERT_NE(window, nullptr);
            pwtest::SendPayload(window, VisitReportText(L"Neu", folders_[0]));
            Sleep(delay);
            TerminateProcess(worker.Handle(), 9);
            ASSERT_TRUE(worker.WaitForExit());
        }
        pwtest::WorkerProcess next;
        HWND window = next.WaitForWindow();
        ASSERT_NE(window, nullptr);
        pwtest::SendPayload(window, VisitReportText(L"Danach", folders_[1]));
        ASSERT_TRUE(pwtest::WaitFor([] { return pwtest::HistoryRows(L"WHERE FolderName = 'Danach'") == 1; }));
        Rows after = ReadRows(History());
        for (const auto& [row, count] : before)
            ASSERT_EQ(after[row], count) << row;
        EXPECT_EQ(KeptAside().size(), 1u);
        EXPECT_EQ(pwtest::IntegrityCheck(History()), "ok");
        for (const auto& entry : fs::directory_iterator(DataFolder()))
            EXPECT_NE(entry.path().filename().wstring().rfind(kRepairFilePrefix, 0), 0u) << entry.path();
    }
}

TEST_F(HistoryRecovery, AHistoryThatCannotBeWrittenKeepsTheVisitsQueuedUntilItCanBeWrittenAgain) {
    // Held by another program far beyond the busy time-out, and read-only
    // (the attribute alone stops no process that runs as root under Wine).
    cDatabase holder;
    ASSERT_TRUE(holder.Open(History().wstring()));
    ASSERT_EQ(sqlite3_exec(holder.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_TRUE(SetFileAttributesW(History().c_str(), FILE_ATTRIBUTE_READONLY));
    pwtest::WorkerProcess worker;
    HWND window = worker.WaitForWindow();
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 5; ++i) {
        pwtest::SendPayload(window,
                            VisitReportText(L"Ordner " + std::to_wstring(i), L"C:\\Ordner" + std::to_wstring(i)));
        Sleep(1100);  // each visit a second of its own
    }
    Sleep(2500);  // a retry has come and gone
    long held = -1;
    holder.Query(L"SELECT Count(*) FROM FoldersProtocol", [&](const cRow& row) {
        held = row.Long(0);
        return false;
    });
    EXPECT_EQ(held, 0);
    EXPECT_TRUE(KeptAside().empty()) << "unwritable is no damage";
    ASSERT_TRUE(SetFileAttributesW(History().c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_EQ(sqlite3_exec(holder.Handle(), "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    holder.Close();
    ASSERT_TRUE(pwtest::WaitFor([] { return pwtest::HistoryRows() == 5; })) << pwtest::HistoryRows();
    // In the order they came, each with the moment it was reported.
    std::vector<std::wstring> order, dates;
    cDatabase db;
    ASSERT_TRUE(db.Open(History().wstring()));
    db.Query(L"SELECT FolderName, DateUsed FROM FoldersProtocol ORDER BY DateUsed", [&](const cRow& row) {
        order.push_back(row.Text(0));
        dates.push_back(row.Text(1));
        return true;
    });
    EXPECT_EQ(order, (std::vector<std::wstring>{L"Ordner 0", L"Ordner 1", L"Ordner 2", L"Ordner 3", L"Ordner 4"}));
    EXPECT_EQ(std::set<std::wstring>(dates.begin(), dates.end()).size(), 5u);
}

TEST_F(HistoryRecovery, AWorkerKilledDuringABurstLeavesASoundHistoryWithEveryVisitWritten) {
    long before = 0;
    for (int round = 0; round < 3; ++round) {
        pwtest::WorkerProcess worker;
        HWND window = worker.WaitForWindow();
        ASSERT_NE(window, nullptr);
        std::thread reporter([&] {
            for (int i = 0; i < 1500; ++i)
                pwtest::SendPayload(window,
                                    VisitReportText(L"Stoß", L"C:\\Stoß\\" + std::to_wstring(round * 10000 + i)));
        });
        // Killed while the visits still come in, at whatever point of a write.
        bool midway = pwtest::WaitFor([&] { return pwtest::HistoryRows() > before + 200 * (round + 1); }, 20000);
        long written = pwtest::HistoryRows();
        TerminateProcess(worker.Handle(), 9);
        reporter.join();
        ASSERT_TRUE(midway);
        ASSERT_TRUE(worker.WaitForExit());
        EXPECT_EQ(pwtest::IntegrityCheck(History()), "ok") << "round " << round;
        long after = pwtest::HistoryRows();
        EXPECT_GE(after, written) << "round " << round;
        EXPECT_LE(after, before + 1500);
        before = after;
    }
}

// The main program fills its lists over and over while the worker stores a
// hundred visits a second, for half a minute (longer only brushes the
// test's time limit on a busy host, it finds nothing more): every visit
// stored, every fill done, no message.
TEST_F(HistoryRecovery, UnderLoadNoVisitIsLostAndNoFillFails) {
    const auto& folders = folders_;
    pwtest::WorkerProcess worker;
    HWND window = worker.WaitForWindow();
    ASSERT_NE(window, nullptr);
    pwtest::SendPayload(window, VisitReportText(L"Erster", folders[0]));
    ASSERT_TRUE(pwtest::WaitFor([] { return pwtest::HistoryRows() == 1; }));
    frmMain& form = LoadWindow();

    constexpr int kSeconds = 30, kPerSecond = 100;
    std::atomic<bool> sent{false};
    std::thread reporter([&] {
        DWORD start = GetTickCount();
        for (int i = 0; i < kSeconds * kPerSecond; ++i) {
            // Paced by the clock, so that slow moments are caught up.
            while (GetTickCount() - start < DWORD(i) * 1000 / kPerSecond)
                Sleep(1);
            pwtest::SendPayload(window, VisitReportText(L"Last", folders[i % folders.size()]));
        }
        sent = true;
    });
    int fills = 0, emptyFills = 0;
    HWND find = Control(form, ctl::txtFind);
    while (!sent) {
        SelectTab(form, fills % 2);
        Pump(20);
        if (fills % 3 == 0) {
            SelectTab(form, 0);
            SetWindowTextW(find, fills % 2 ? L"Last" : L"");
            form.FillFolderList(false);
        }
        if (form.FolderList().EntryCount() == 0)
            ++emptyFills;
        ++fills;
    }
    reporter.join();
    ASSERT_TRUE(pwtest::WaitFor([] { return pwtest::HistoryRows() == 1 + kSeconds * kPerSecond; }, 30000))
        << pwtest::HistoryRows();
    EXPECT_TRUE(boxes_.boxes.empty()) << boxes_.boxes[0].text;
    EXPECT_EQ(emptyFills, 0);
    EXPECT_GT(fills, 100);
    EXPECT_EQ(pwtest::IntegrityCheck(History()), "ok");
}

}  // namespace pw::test
