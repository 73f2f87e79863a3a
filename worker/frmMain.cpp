#include "frmMain.h"

#include <variant>

#include "ShellFolders.h"
#include "TestRun.h"
#include "WorkerWindow.h"

namespace pw::worker {
namespace {

// The payloads are worked off one per message, after the sender of
// WM_COPYDATA has had its answer.
constexpr UINT kProcessPayload = WM_APP + 1;
constexpr UINT_PTR tmrCleanUpOldRecords = 1;
constexpr UINT kCleanUpDelayMs = 10000;
// One worker per user session.
constexpr wchar_t kInstanceMutex[] = L"Local\\PfadwerkHg.Instance";

}  // namespace

frmMain::frmMain(HistoryFiles files, Clock clock) : files_(std::move(files)), cleanUp_(std::move(clock)) {}

frmMain::~frmMain() {
    Unload();
}

bool frmMain::Load() {
    instance_.Reset(CreateMutexW(nullptr, FALSE, RunScopedName(kInstanceMutex).c_str()));
    if (!instance_ || GetLastError() == ERROR_ALREADY_EXISTS) {
        instance_.Reset();
        return false;
    }
    // A tool window that is never shown: no task bar button, no Alt+Tab entry.
    if (!Create(WindowClass{L"PfadwerkHgWindow"}, WorkerCaption().c_str(), WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr)) {
        instance_.Reset();
        return false;
    }
    HotKey hotKey = WorkerHotKey();
    hotKeyRegistered_ = RegisterHotKey(Hwnd(), kHotKeyId, hotKey.modifiers, hotKey.virtualKey) != FALSE;
    return true;
}

void frmMain::Unload() {
    Destroy();
}

void frmMain::ReleaseHotKey() {
    if (Hwnd() && hotKeyRegistered_)
        UnregisterHotKey(Hwnd(), kHotKeyId);
    hotKeyRegistered_ = false;
}

void frmMain::OnDestroyed() {
    instance_.Reset();
    sWorkerData_.clear();
    if (onUnloaded)
        onUnloaded();
}

LRESULT frmMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COPYDATA:
            return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_HOTKEY:
            OnHotKey();
            return 0;
        case kProcessPayload:
            OnProcessPayload();
            return 0;
        case WM_TIMER:
            if (wParam == tmrCleanUpOldRecords)
                tmrCleanUpOldRecords_Timer();
            return 0;
        case WM_DESTROY:
            ReleaseHotKey();
            KillTimer(Hwnd(), tmrCleanUpOldRecords);
            return 0;
        default:
            return DefaultProc(msg, wParam, lParam);
    }
}

LRESULT frmMain::OnCopyData(const COPYDATASTRUCT* data) {
    // Answer at once; the work follows the answer, so the sender is free.
    if (data) {
        if (auto payload = PayloadFromBytes(data->lpData, data->cbData))
            sWorkerData_.push_back(std::move(*payload));
    }
    if (!sWorkerData_.empty() && !payloadPosted_)
        payloadPosted_ = PostMessageW(Hwnd(), kProcessPayload, 0, 0);
    return 1;
}

void frmMain::OnHotKey() {
    std::wstring program = ProgramFolder() + L"\\Pfadwerk.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

// One payload per message: requests that arrive meanwhile are answered
// between two visits, and each is worked off in the order it came.
void frmMain::OnProcessPayload() {
    payloadPosted_ = false;
    if (sWorkerData_.empty())
        return;
    std::wstring payload = std::move(sWorkerData_.front());
    sWorkerData_.pop_front();
    if (!ProcessPayload(payload))
        return;
    if (!sWorkerData_.empty())
        payloadPosted_ = PostMessageW(Hwnd(), kProcessPayload, 0, 0);
}

bool frmMain::ProcessPayload(const std::wstring& payload) {
    Request request = ParseRequest(payload);
    if (auto* properties = std::get_if<PropertiesRequest>(&request)) {
        ShowFolderProperties(*properties);
    } else if (std::holds_alternative<ExitRequest>(request)) {
        Unload();
        return false;
    } else if (auto* visit = std::get_if<VisitReport>(&request)) {
        if (LogVisit(files_, *visit) && cleanUp_.CleanUpCheck())
            SetTimer(Hwnd(), tmrCleanUpOldRecords, kCleanUpDelayMs, nullptr);
    }
    return true;
}

void frmMain::tmrCleanUpOldRecords_Timer() {
    KillTimer(Hwnd(), tmrCleanUpOldRecords);
    cleanUp_.CleanUpOldRecords(files_.database);
}

}  // namespace pw::worker
