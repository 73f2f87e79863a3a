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
// Once at the start: what a repair of the history that ended half way left.
constexpr UINT kFinishRepairs = WM_APP + 2;
constexpr UINT_PTR tmrCleanUpOldRecords = 1;
constexpr UINT kCleanUpDelayMs = 10000;
// While visits wait for a history that could not take them, it is tried
// again this often.
constexpr UINT_PTR tmrRetryPendingVisits = 2;
constexpr UINT kRetryDelayMs = 2000;
// A history that stays unwritable for days still costs the worker no more
// than this much memory; beyond it the oldest visits give way.
constexpr size_t kMaxPendingVisits = 5000;
// One worker per user session.
constexpr wchar_t kInstanceMutex[] = L"Local\\PfadwerkHg.Instance";

}  // namespace

frmMain::frmMain(HistoryFiles files, Clock clock) : files_(std::move(files)), clock_(clock), cleanUp_(clock) {}

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
    if (!Create(WindowClass{L"PfadwerkHgWindow"}, WorkerCaption().c_str(), WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0,
                nullptr)) {
        instance_.Reset();
        return false;
    }
    HotKey hotKey = WorkerHotKey();
    hotKeyRegistered_ = RegisterHotKey(Hwnd(), kHotKeyId, hotKey.modifiers, hotKey.virtualKey) != FALSE;
    PostMessageW(Hwnd(), kFinishRepairs, 0, 0);
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
        case kFinishRepairs:
            FinishInterruptedRepairs(files_);
            return 0;
        case WM_TIMER:
            if (wParam == tmrCleanUpOldRecords)
                tmrCleanUpOldRecords_Timer();
            else if (wParam == tmrRetryPendingVisits)
                tmrRetryPendingVisits_Timer();
            return 0;
        case WM_DESTROY:
            ReleaseHotKey();
            KillTimer(Hwnd(), tmrCleanUpOldRecords);
            KillTimer(Hwnd(), tmrRetryPendingVisits);
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
    StartMainProgram();
}

void frmMain::StartMainProgram(const std::wstring& arguments) {
    std::wstring program = ProgramFolder() + L"\\Pfadwerk.exe";
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

// One request per message: requests that arrive meanwhile are answered
// between two, and each is worked off in the order it came. A run of visit
// reports is taken whole and written in one transaction, so that a burst
// costs one write instead of one each.
void frmMain::OnProcessPayload() {
    payloadPosted_ = false;
    bool visits = false;
    while (!sWorkerData_.empty()) {
        Request request = ParseRequest(sWorkerData_.front());
        auto* visit = std::get_if<VisitReport>(&request);
        if (!visit)
            break;
        if (pendingVisits_.size() >= kMaxPendingVisits)
            pendingVisits_.erase(pendingVisits_.begin());
        pendingVisits_.push_back({std::move(visit->path), std::move(visit->name), Now()});
        sWorkerData_.pop_front();
        visits = true;
    }
    if (visits) {
        WritePendingVisits();
    } else if (!sWorkerData_.empty()) {
        std::wstring payload = std::move(sWorkerData_.front());
        sWorkerData_.pop_front();
        if (!ProcessPayload(payload))
            return;
    }
    if (!sWorkerData_.empty())
        payloadPosted_ = PostMessageW(Hwnd(), kProcessPayload, 0, 0);
}

bool frmMain::ProcessPayload(const std::wstring& payload) {
    Request request = ParseRequest(payload);
    if (auto* properties = std::get_if<PropertiesRequest>(&request)) {
        ShowFolderProperties(*properties);
    } else if (std::holds_alternative<ExitRequest>(request)) {
        // The visits reported before the exit request still get their try.
        WritePendingVisits();
        Unload();
        return false;
    }
    return true;
}

void frmMain::WritePendingVisits() {
    if (pendingVisits_.empty())
        return;
    if (!LogVisits(files_, pendingVisits_, clock_)) {
        // Never an error box: the hidden worker would stop at it.
        SetTimer(Hwnd(), tmrRetryPendingVisits, kRetryDelayMs, nullptr);
        return;
    }
    pendingVisits_.clear();
    pendingVisits_.shrink_to_fit();
    KillTimer(Hwnd(), tmrRetryPendingVisits);
    if (cleanUp_.CleanUpCheck())
        SetTimer(Hwnd(), tmrCleanUpOldRecords, kCleanUpDelayMs, nullptr);
}

void frmMain::tmrRetryPendingVisits_Timer() {
    KillTimer(Hwnd(), tmrRetryPendingVisits);
    WritePendingVisits();
}

void frmMain::tmrCleanUpOldRecords_Timer() {
    KillTimer(Hwnd(), tmrCleanUpOldRecords);
    cleanUp_.CleanUpOldRecords(files_.database);
}

}  // namespace pw::worker
