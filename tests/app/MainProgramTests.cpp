// The shipped Pfadwerk.exe started as real processes: the first start of a new
// user, a second start that hands over to the running window, and the weekly
// update check when the window closes.
#include "LoopbackHttpServer.h"
#include "MainWindowSupport.h"

namespace pw::test {
namespace {

class cProcess {
  public:
    explicit cProcess(const std::wstring& program) {
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info)) {
            CloseHandle(info.hThread);
            process_.Reset(info.hProcess);
            id_ = info.dwProcessId;
        }
    }
    ~cProcess() {
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.Get(), 1);
    }
    cProcess(const cProcess&) = delete;
    cProcess& operator=(const cProcess&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    bool WaitForExit(DWORD milliseconds) const { return WaitForSingleObject(process_.Get(), milliseconds) == 0; }
    DWORD Id() const { return id_; }

    // The process's visible main window, once it is there.
    HWND WaitForWindow(DWORD milliseconds) const {
        HWND found = nullptr;
        PumpUntil(
            [&] {
                found = nullptr;
                for (HWND w = FindWindowW(L"PfadwerkMain", nullptr); w && !found;
                     w = FindWindowExW(nullptr, w, L"PfadwerkMain", nullptr)) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(w, &owner);
                    if (owner == id_ && IsWindowVisible(w))
                        found = w;
                }
                return found != nullptr;
            },
            static_cast<int>(milliseconds));
        return found;
    }

  private:
    cHandle process_;
    DWORD id_ = 0;
};

std::wstring ProgramFile() {
    return DistFolder() + L"\\Pfadwerk.exe";
}

class MainProgram : public ::testing::Test {
  protected:
    void SetUp() override { ForgetUser(); }
    void TearDown() override { ForgetUser(); }
};

TEST_F(MainProgram, FirstStartOfANewUser) {
    cProcess first(ProgramFile());
    ASSERT_TRUE(first.Started());
    HWND window = first.WaitForWindow(20000);
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(L"Pfadwerk", TextOf(window));
    EXPECT_EQ(1u, StoredNumber(Setting::StartupShortcutCreated));
    EXPECT_EQ(1u, StoredNumber(Setting::SetupDone));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(AutostartLink().c_str()));

    // Closing ends the program and keeps the window's place.
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit(10000));
    EXPECT_TRUE(StoredNumber(Setting::WindowWidth).has_value());
    EXPECT_TRUE(StoredNumber(Setting::WindowTop).has_value());
    EXPECT_TRUE(StoredNumber(Setting::FirstColumnWidth).has_value());
}

TEST_F(MainProgram, SecondStartBringsTheMinimizedFirstWindowForward) {
    cProcess first(ProgramFile());
    HWND window = first.WaitForWindow(20000);
    ASSERT_NE(nullptr, window);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(window) != FALSE; }));
    // Minimized, losing the focus does not close it.
    Pump(300);
    ASSERT_TRUE(IsWindow(window));

    cProcess second(ProgramFile());
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitForExit(10000));
    EXPECT_EQ(nullptr, second.WaitForWindow(0));
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(window) && GetForegroundWindow() == window; }, 5000));
    EXPECT_TRUE(IsWindowVisible(window));

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(first.WaitForExit(10000));
}

TEST_F(MainProgram, ClosingRunsTheWeeklyUpdateCheckAgainstTheVersionFile) {
    cLoopbackHttpServer server;
    ASSERT_TRUE(server.Running());
    // The published build is no newer: the automatic check stays silent and
    // the program ends.
    server.Answer(200, "<pfadwerk><version_info><build>0</build></version_info></pfadwerk>");
    WriteText(Setting::UpdateCheckUrl, server.Url());

    for (int run = 0; run < 2; ++run) {
        cProcess program(ProgramFile());
        HWND window = program.WaitForWindow(20000);
        ASSERT_NE(nullptr, window);
        PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(program.WaitForExit(15000));
    }
    EXPECT_EQ((std::vector<std::string>{"GET /download/version_check_pw.xml HTTP/1.1"}), server.Requests());
    EXPECT_TRUE(StoredNumber(Setting::LastUpdateCheck).has_value());
}

}  // namespace
}  // namespace pw::test
