// Starts, feeds and stops the shipped worker program from a test. The test
// program runs in a test run of its own (TestRunMain.h): the worker it
// starts has the run's caption, history folder and registry, and never meets
// the user's own.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "Database.h"
#include "Handles.h"
#include "HistoryFiles.h"
#include "ShellFolders.h"
#include "WorkerProtocol.h"
#include "WorkerWindow.h"

namespace pwtest {

inline std::filesystem::path DistFolder() {
    return std::filesystem::path(pw::ProgramFolder()).parent_path() / L"dist";
}

inline std::filesystem::path HistoryFolder() {
    return pw::DataFolder();
}

using pw::FindWorkerWindow;

// The worker's answer: 1 when it took the request, 0 when it refused it.
inline LRESULT SendPayload(HWND worker, const std::wstring& text) {
    COPYDATASTRUCT data{0, static_cast<DWORD>(text.size() * sizeof(wchar_t)), const_cast<wchar_t*>(text.data())};
    return SendMessageW(worker, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

inline LRESULT SendBytes(HWND worker, const void* bytes, DWORD count) {
    COPYDATASTRUCT data{0, count, const_cast<void*>(bytes)};
    return SendMessageW(worker, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs = 10000) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

// Rows of the history, or -1 when it cannot be read.
inline long HistoryRows(const std::wstring& where = L"") {
    pw::cDatabase db;
    if (!db.Open((HistoryFolder() / L"Pfadwerk.dat").wstring()))
        return -1;
    long n = -1;
    db.Query(L"SELECT Count(*) FROM FoldersProtocol " + where, [&](const pw::cRow& row) {
        n = row.Long(0);
        return true;
    });
    return n;
}

class WorkerProcess {
  public:
    explicit WorkerProcess(const std::filesystem::path& exe = DistFolder() / L"PfadwerkHg.exe",
                           const std::wstring& arguments = L"") {
        std::wstring commandLine = L"\"" + exe.wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(exe.wstring().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
            process_.Reset(info.hProcess);
            CloseHandle(info.hThread);
            pid_ = info.dwProcessId;
        }
    }
    ~WorkerProcess() {
        if (process_ && Running())
            TerminateProcess(process_.Get(), 1);
    }
    bool Started() const { return static_cast<bool>(process_); }
    HANDLE Handle() const { return process_.Get(); }
    DWORD Pid() const { return pid_; }
    bool Running() const { return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }
    bool WaitForExit(DWORD ms = 10000) const { return WaitForSingleObject(process_.Get(), ms) == WAIT_OBJECT_0; }
    // The window of this very process.
    HWND Window() const {
        HWND hwnd = FindWorkerWindow();
        DWORD pid = 0;
        if (hwnd)
            GetWindowThreadProcessId(hwnd, &pid);
        return pid == pid_ ? hwnd : nullptr;
    }
    HWND WaitForWindow(DWORD ms = 15000) const {
        HWND hwnd = nullptr;
        WaitFor([&] { return (hwnd = Window()) != nullptr || !Running(); }, ms);
        return hwnd;
    }

  private:
    pw::cHandle process_;
    DWORD pid_ = 0;
};

// Ends a worker that an earlier test of this run left behind (only those
// answer to the run's caption) and removes the run's history.
inline void ResetWorkerAndHistory() {
    for (int i = 0; i < 5; ++i) {
        HWND worker = FindWorkerWindow();
        if (!worker)
            break;
        SendPayload(worker, pw::ExitRequestText());
        WaitFor([] { return FindWorkerWindow() == nullptr; }, 5000);
    }
    std::error_code ec;
    std::filesystem::remove_all(HistoryFolder(), ec);
}

// The worker program alone in a folder of its own, without Template.dat.
class ScratchCopy {
  public:
    ScratchCopy() : folder_(std::filesystem::temp_directory_path() / L"pfadwerk-worker-copy") {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
        std::filesystem::create_directories(folder_);
        std::filesystem::copy_file(DistFolder() / L"PfadwerkHg.exe", Exe());
    }
    ~ScratchCopy() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::filesystem::path Exe() const { return folder_ / L"PfadwerkHg.exe"; }

  private:
    std::filesystem::path folder_;
};

}  // namespace pwtest
