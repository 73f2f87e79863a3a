// The shipped worker as a process: single instance, requests by WM_COPYDATA,
// rows in the history.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string_view>
#include <vector>

#include "FolderVisitReporter.h"
#include "TestRunMain.h"
#include "WorkerHarness.h"

using namespace pwtest;

namespace {

class WorkerProcessTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetWorkerAndHistory(); }
    void TearDown() override { ResetWorkerAndHistory(); }

    // Starts the shipped worker and waits for its window.
    HWND Start(WorkerProcess& worker) {
        EXPECT_TRUE(worker.Started());
        HWND hwnd = worker.WaitForWindow();
        EXPECT_NE(hwnd, nullptr);
        return hwnd;
    }
    bool WaitForRows(long expected, const std::wstring& where = L"") {
        return WaitFor([&] { return HistoryRows(where) == expected; }, 20000);
    }
};

BOOL CALLBACK CountWorkerWindow(HWND hwnd, LPARAM param) {
    wchar_t caption[64] = {};
    GetWindowTextW(hwnd, caption, 64);
    if (caption == pw::WorkerCaption())
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}

int CountWorkerWindows() {
    int count = 0;
    EnumWindows(CountWorkerWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

struct WindowSearch {
    DWORD pid;
    const wchar_t* windowClass;
    HWND found = nullptr;
};

BOOL CALLBACK FindWindowOfProcess(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t windowClass[64] = {};
    GetClassNameW(hwnd, windowClass, 64);
    if (pid == search->pid && std::wstring_view(windowClass) == search->windowClass)
        search->found = hwnd;
    return search->found == nullptr;
}

HWND WindowOfProcess(DWORD pid, const wchar_t* windowClass) {
    WindowSearch search{pid, windowClass};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

TEST_F(WorkerProcessTest, ASecondStartEndsAtOnceAndTheFirstKeepsWindowAndHotKey) {
    WorkerProcess first;
    HWND hwnd = Start(first);
    WorkerProcess second;
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitForExit());
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(CountWorkerWindows(), 1);
    EXPECT_EQ(FindWorkerWindow(), hwnd);
    // The combination is taken: by the first worker.
    EXPECT_FALSE(RegisterHotKey(nullptr, 77, pw::WorkerHotKey().modifiers, pw::WorkerHotKey().virtualKey));
}

TEST_F(WorkerProcessTest, TheWindowStaysHiddenAndOutOfTheTaskBar) {
    WorkerProcess worker;
    HWND hwnd = Start(worker);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

TEST_F(WorkerProcessTest, AFirstReportCreatesFolderAndDatabaseAndStoresTheRow) {
    ASSERT_FALSE(std::filesystem::exists(HistoryFolder()));
    WorkerProcess worker;
    HWND hwnd = Start(worker);
    SendPayload(hwnd, L"Übersicht  |\\|C:\\Dokumente\\Übersicht   ");
    ASSERT_TRUE(WaitForRows(1));
    std::vector<std::wstring> row;
    pw::cDatabase db;
    ASSERT_TRUE(db.Open((HistoryFolder() / L"Pfadwerk.dat").wstring()));
    db.Query(L"SELECT FolderPath, FolderName FROM FoldersProtocol", [&](const pw::cRow& r) {
        row = {r.Text(0), r.Text(1)};
        return true;
    });
    // Blanks after the path go, blanks after the name stay.
    EXPECT_EQ(row, (std::vector<std::wstring>{L"C:\\Dokumente\\Übersicht", L"Übersicht  "}));
}

TEST_F(WorkerProcessTest, TheVisitSenderToolIsUnderstood) {
    WorkerProcess worker;
    Start(worker);
    WorkerProcess sender(DistFolder() / L"PfadwerkSend.exe", L"visit \"Neuer Ordner\" \"C:\\Temp\\Neuer Ordner\"");
    ASSERT_TRUE(sender.WaitForExit());
    EXPECT_TRUE(WaitForRows(1, L"WHERE FolderPath = 'C:\\Temp\\Neuer Ordner' AND FolderName = 'Neuer Ordner'"));
}

TEST_F(WorkerProcessTest, ABurstOfReportsIsStoredWhole) {
    WorkerProcess worker;
    HWND hwnd = Start(worker);
    for (int i = 0; i < 300; ++i)
        SendPayload(hwnd, L"f|\\|C:\\Burst\\" + std::to_wstring(i));
    EXPECT_TRUE(WaitForRows(300));
    EXPECT_EQ(HistoryRows(L"WHERE FolderPath = 'C:\\Burst\\299'"), 1);
}

TEST_F(WorkerProcessTest, MalformedPayloadsAreDroppedAndTheWorkerKeepsRunning) {
    WorkerProcess worker;
    HWND hwnd = Start(worker);
    // Each is refused, and the sender is told so.
    EXPECT_EQ(SendPayload(hwnd, L"no separator at all"), 0);
    EXPECT_EQ(SendBytes(hwnd, "abc", 3), 0);    // odd byte count
    EXPECT_EQ(SendBytes(hwnd, nullptr, 0), 0);  // nothing
    std::wstring withNul(L"a|\\|C:\\x\0y", 10);
    EXPECT_EQ(SendPayload(hwnd, withNul), 0);
    std::vector<wchar_t> huge(512 * 1024, L'x');  // 1 MiB
    EXPECT_EQ(SendBytes(hwnd, huge.data(), static_cast<DWORD>(huge.size() * sizeof(wchar_t))), 0);
    EXPECT_EQ(SendPayload(hwnd, L"long|\\|C:\\" + std::wstring(40000, L'a')), 0);
    EXPECT_EQ(SendPayload(hwnd, std::wstring(pw::kPropertiesPrefix) + L"notanumber|C:\\Windows"), 0);
    EXPECT_EQ(SendPayload(hwnd, L"ok|\\|C:\\Still\\Alive"), 1);
    ASSERT_TRUE(WaitForRows(1));
    EXPECT_EQ(HistoryRows(L"WHERE FolderPath = 'C:\\Still\\Alive'"), 1);
    EXPECT_TRUE(worker.Running());
    EXPECT_EQ(worker.Window(), hwnd);
}

TEST_F(WorkerProcessTest, ExitNowEndsTheWorkerAndFreesTheHotKey) {
    WorkerProcess worker;
    HWND hwnd = Start(worker);
    SendPayload(hwnd, pw::ExitRequestText());
    EXPECT_TRUE(worker.WaitForExit());
    EXPECT_EQ(FindWorkerWindow(), nullptr);
    EXPECT_TRUE(RegisterHotKey(nullptr, 78, pw::WorkerHotKey().modifiers, pw::WorkerHotKey().virtualKey));
    UnregisterHotKey(nullptr, 78);
}

TEST_F(WorkerProcessTest, AStartWhileTheWorkerEndsWaitsForItAndTakesOverItsVisits) {
    WorkerProcess first;
    HWND hwnd = Start(first);
    ASSERT_EQ(SendPayload(hwnd, pw::VisitReportText(L"Vorher", L"C:\\Vorher")), 1);
    ASSERT_TRUE(WaitForRows(1));
    // Held by another program, so that storing the last visits keeps the
    // ending worker busy while the next one starts.
    pw::cDatabase holder;
    ASSERT_TRUE(holder.Open((HistoryFolder() / L"Pfadwerk.dat").wstring()));
    ASSERT_EQ(sqlite3_exec(holder.Handle(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    for (int i = 0; i < 3; ++i)
        SendPayload(hwnd, pw::VisitReportText(L"Beim Ende", L"C:\\Ende" + std::to_wstring(i)));
    SendPayload(hwnd, pw::ExitRequestText());
    WorkerProcess second;
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(first.WaitForExit());
    ASSERT_EQ(sqlite3_exec(holder.Handle(), "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    holder.Close();
    EXPECT_NE(second.WaitForWindow(), nullptr);
    EXPECT_TRUE(second.Running());
    EXPECT_TRUE(WaitForRows(4)) << HistoryRows();
}

TEST_F(WorkerProcessTest, AFolderNamedLikeTheExitRequestIsLoggedAndTheWorkerLives) {
    WorkerProcess worker;
    HWND hwnd = Start(worker);
    EXPECT_EQ(SendPayload(hwnd, pw::VisitReportText(L"ExitNow-Sicherung", L"D:\\ExitNow-Sicherung")), 1);
    EXPECT_TRUE(WaitForRows(1, L"WHERE FolderName = 'ExitNow-Sicherung'"));
    EXPECT_TRUE(worker.Running());
    EXPECT_EQ(worker.Window(), hwnd);
}

TEST_F(WorkerProcessTest, WithoutTemplateTheHistoryIsMadeFromTheBuiltInSchema) {
    ScratchCopy copy;
    WorkerProcess worker(copy.Exe());
    HWND hwnd = Start(worker);
    SendPayload(hwnd, L"a|\\|C:\\Kept");
    SendPayload(hwnd, L"b|\\|C:\\Kept\\Too");
    // Requests run in arrival order: once the worker has taken the exit
    // request, both reports were handled, and it was still alive to take it.
    SendPayload(hwnd, pw::ExitRequestText());
    EXPECT_TRUE(worker.WaitForExit());
    EXPECT_EQ(HistoryRows(), 2);
}

TEST_F(WorkerProcessTest, APropertiesRequestNeverHoldsUpTheVisitsBehindIt) {
    WorkerProcess worker;
    HWND hwnd = Start(worker);
    SendPayload(hwnd, pw::PropertiesRequestText(0, L"C:\\windows"));
    SendPayload(hwnd, pw::PropertiesRequestText(0, L"C:\\No\\Such\\Folder"));
    SendPayload(hwnd, L"w|\\|C:\\After\\Properties");
    EXPECT_TRUE(WaitForRows(1, L"WHERE FolderPath = 'C:\\After\\Properties'"));
    // A properties request is never taken for a visit.
    EXPECT_EQ(HistoryRows(), 1);
}

TEST_F(WorkerProcessTest, TheHotKeyStartsTheMainProgramFromTheWorkersFolder) {
    WorkerProcess worker;
    HWND hwnd = Start(worker);
    ASSERT_EQ(FindWindowW(nullptr, L"Pfadwerk"), nullptr);
    PostMessageW(hwnd, WM_HOTKEY, pw::kHotKeyId,
                 MAKELPARAM(pw::WorkerHotKey().modifiers, pw::WorkerHotKey().virtualKey));
    HWND main = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (main = FindWindowW(nullptr, L"Pfadwerk")) != nullptr; }, 20000));
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    EXPECT_NE(pid, worker.Pid());
    pw::cHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process.Get(), 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(worker.Running());
}

TEST_F(WorkerProcessTest, AWorkerOfTheTestRunLeavesTheUsersDataAndWorkerAlone) {
    const std::wstring before = pwtest::SnapshotOfUserData();
    // The user's own worker, if one runs, answers to the real caption only.
    HWND usersWorker = FindWindowW(nullptr, pw::kWorkerCaption);
    {
        WorkerProcess worker;
        HWND hwnd = Start(worker);
        SendPayload(hwnd, pw::VisitReportText(L"Probe", L"C:\\Probe"));
        ASSERT_TRUE(WaitForRows(1));
        EXPECT_TRUE(std::filesystem::exists(HistoryFolder() / L"Pfadwerk.dat"));
        // Nor does it watch the user's Explorer windows: a visit there would
        // land in the run's history. The visit above has been worked off on
        // the worker's message loop, so a reporter would be there by now.
        wchar_t workerClass[64] = {};
        GetClassNameW(hwnd, workerClass, 64);
        EXPECT_EQ(WindowOfProcess(worker.Pid(), workerClass), hwnd);  // the search sees the worker's windows
        EXPECT_FALSE(WindowOfProcess(worker.Pid(), pw::worker::kReporterWindowClass));
    }
    ResetWorkerAndHistory();
    EXPECT_EQ(before, pwtest::SnapshotOfUserData());
    EXPECT_EQ(usersWorker, FindWindowW(nullptr, pw::kWorkerCaption));
}

// Both programs compact: the worker after its daily clean-up, the main
// program after a removal. Not one visit that the worker stored may be lost
// to the other's compaction.
TEST_F(WorkerProcessTest, CompactionOverAndOverWhileTheWorkerAppendsLosesNoVisit) {
    WorkerProcess worker;
    HWND hwnd = Start(worker);
    SendPayload(hwnd, pw::VisitReportText(L"first", L"C:\\Steady\\first"));
    ASSERT_TRUE(WaitForRows(1));
    // Each visit is compacted against while the worker appends it, as the
    // main program compacts after a removal.
    constexpr int kVisits = 400;
    int compactions = 0;
    for (int i = 1; i < kVisits; ++i) {
        SendPayload(hwnd, pw::VisitReportText(L"v", L"C:\\Steady\\" + std::to_wstring(i)));
        if (pw::CompactHistory(pw::DatabasePath()))
            ++compactions;
    }
    EXPECT_TRUE(WaitFor([&] { return HistoryRows() == kVisits; }, 60000))
        << HistoryRows() << " of " << kVisits << " visits stored";
    // Compaction waits for the worker's append instead of giving up while the
    // worker has the file open.
    EXPECT_GE(compactions, kVisits / 4) << compactions << " compactions";
    EXPECT_TRUE(worker.Running());
}
