// A visit the worker has taken outlives the worker: ended by request, at the
// end of the session or killed while the history could not take it, it is in
// the history after the next start.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <thread>

#include "TestHistory.h"
#include "TestRunMain.h"
#include "VisitLog.h"
#include "WorkerHarness.h"

using namespace pwtest;

namespace {

// The other program holding the history for as long as it lives: every
// write of the worker fails after its wait.
class HistoryHeld {
  public:
    HistoryHeld() {
        EXPECT_TRUE(db_.Open(pw::DatabasePath()));
        EXPECT_EQ(sqlite3_exec(db_.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~HistoryHeld() { sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr); }

  private:
    pw::cDatabase db_;
};

size_t SpooledCount() {
    auto read = pw::ReadSpool(pw::SpoolPathFor(pw::DatabasePath()));
    return read ? read->contents.visits.size() : 0;
}

class VisitSpoolTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetWorkerAndHistory(); }
    void TearDown() override { ResetWorkerAndHistory(); }

    // A running worker with a history of one visit.
    HWND StartWithHistory(WorkerProcess& worker) {
        HWND hwnd = worker.WaitForWindow();
        EXPECT_NE(hwnd, nullptr);
        Visit(hwnd, 0);
        EXPECT_TRUE(WaitFor([] { return HistoryRows() == 1; }));
        return hwnd;
    }
    static void Visit(HWND worker, int n) {
        EXPECT_EQ(SendPayload(worker, pw::VisitReportText(L"v", L"C:\\Besuch\\" + std::to_wstring(n))), 1);
    }
    // The next worker carries what the last one left into the history.
    static void ExpectAllAfterTheNextStart(long rows) {
        WorkerProcess next;
        EXPECT_NE(next.WaitForWindow(), nullptr);
        EXPECT_TRUE(WaitFor([&] { return HistoryRows() == rows; }, 20000)) << HistoryRows() << " of " << rows;
        EXPECT_EQ(SpooledCount(), 0u);
    }
};

}  // namespace

TEST_F(VisitSpoolTest, TheExitRequestLeavesNoVisitBehind) {
    {
        WorkerProcess worker;
        HWND hwnd = StartWithHistory(worker);
        HistoryHeld held;
        Visit(hwnd, 1);
        Visit(hwnd, 2);
        EXPECT_EQ(SendPayload(hwnd, pw::ExitRequestText()), 1);
        Visit(hwnd, 3);  // taken before the request was worked off
        EXPECT_TRUE(worker.WaitForExit(20000));
    }
    ExpectAllAfterTheNextStart(4);
}

TEST_F(VisitSpoolTest, TheEndOfTheSessionLeavesNoVisitBehind) {
    {
        WorkerProcess worker;
        HWND hwnd = StartWithHistory(worker);
        HistoryHeld held;
        Visit(hwnd, 1);  // the worker waits for the history now
        Sleep(300);
        // Taken while the worker waits; the session ends before its turn.
        std::thread second([&] { Visit(hwnd, 2); });
        Sleep(500);
        SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        second.join();
        // Windows ends the process once the message is answered.
        TerminateProcess(worker.Handle(), 0);
        worker.WaitForExit();
    }
    ExpectAllAfterTheNextStart(3);
}

TEST_F(VisitSpoolTest, AKilledWorkerLosesNoVisitItCouldNotStore) {
    {
        WorkerProcess worker;
        HWND hwnd = StartWithHistory(worker);
        HistoryHeld held;
        Visit(hwnd, 1);
        Visit(hwnd, 2);
        EXPECT_TRUE(WaitFor([] { return SpooledCount() == 2; }));
        TerminateProcess(worker.Handle(), 1);
        worker.WaitForExit();
    }
    ExpectAllAfterTheNextStart(3);
}

// Far more than the worker reads at once, after a line an end cut off: each
// visit once, the cut-off line none, the spool empty at the end.
TEST_F(VisitSpoolTest, ALargeSpoolGoesInPieceByPieceAndEachVisitOnce) {
    pw::HistoryFiles files = pw::HistoryFilesAt(pw::DatabasePath(), DistFolder().wstring());
    std::filesystem::create_directories(files.dataFolder);
    const std::wstring spool = pw::SpoolPathFor(files.database);
    { std::ofstream(std::filesystem::path(spool), std::ios::binary) << "2026-12-07 09:00:00\tC:\\Abgebr"; }
    std::vector<pw::TimedVisit> visits;
    for (int i = 0; i < 6000; ++i)
        visits.push_back({L"C:\\Viele\\" + std::to_wstring(i), std::wstring(1000, L'n'), {2026, 12, 7, 9, 0, 0}});
    ASSERT_TRUE(pw::SpoolVisits(spool, visits));
    ASSERT_GT(std::filesystem::file_size(spool), 5u << 20);

    long long storedAhead = 0;
    int writes = 0;
    do {
        ASSERT_EQ(pw::LogOrSpool(files, {}, storedAhead), pw::LogResult::Stored);
    } while (pw::SpoolWaiting(spool, storedAhead) && ++writes < 10);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(HistoryRows(), 6000);
    EXPECT_EQ(HistoryRows(L"WHERE FolderPath = 'C:\\Viele\\5999'"), 1);
    EXPECT_EQ(std::filesystem::file_size(spool), 0u);
}
