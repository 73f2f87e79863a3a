#include "frmMain.h"

#include <cstdint>
#include <string_view>
#include <variant>

#include "ProgramNames.h"
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
// The end asked for, after requests sent meanwhile have been taken.
constexpr UINT kUnload = WM_APP + 3;
constexpr UINT_PTR tmrCleanUpOldRecords = 1;
constexpr UINT kCleanUpDelayMs = 10000;
// While visits wait for a history that could not take them (held, read-only)
// it is tried again soon and steadily: they are safe in the spool meanwhile,
// but the lists show only what reached the history.
constexpr UINT_PTR tmrRetryPendingVisits = 2;
constexpr UINT kRetryDelayMs = 2000;
// Only when neither the history nor the spool beside it can be written (the
// disk full) do visits wait in memory; this many at most.
constexpr size_t kMaxPendingVisits = 5000;
// One worker per user session: held by the worker that runs, from its start
// until what it took is stored.
constexpr wchar_t kInstanceMutex[] = L"Local\\PfadwerkHg.Instance";
// Asked of a worker's window by a worker that starts: 1 while it runs on, 0
// once it has been asked to end.
constexpr UINT kAskRunsOn = WM_APP + 4;
// How long a start waits for a worker that is ending to store what it took.
constexpr DWORD kEndingWorkerWaitMs = 30000;

// A worker that answers that it runs on; one that is ending, or too busy to
// answer, is waited for instead.
bool AnotherWorkerRunsOn() {
    HWND other = FindWorkerWindow();
    DWORD_PTR answer = 0;
    return other && SendMessageTimeoutW(other, kAskRunsOn, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer) && answer == 1;
}

}  // namespace

frmMain::frmMain(HistoryFiles files, Clock clock) : files_(std::move(files)), clock_(clock), cleanUp_(clock) {}

frmMain::~frmMain() {
    Unload();
}

bool frmMain::Load() {
    if (!ClaimInstance())
        return false;
    // A tool window that is never shown: no task bar button, no Alt+Tab entry.
    if (!Create(WindowClass{L"PfadwerkHgWindow"}, WorkerCaption().c_str(), WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0,
                nullptr)) {
        ReleaseInstance();
        return false;
    }
    HotKey hotKey = WorkerHotKey();
    hotKeyRegistered_ = RegisterHotKey(Hwnd(), kHotKeyId, hotKey.modifiers, hotKey.virtualKey) != FALSE;
    PostMessageW(Hwnd(), kFinishRepairs, 0, 0);
    // Visits an earlier run could not store (it was ended, or the history
    // was busy) go in first.
    if (SpoolWaiting(SpoolPathFor(files_.database))) {
        spoolWaiting_ = true;
        payloadPosted_ = PostMessageW(Hwnd(), kProcessPayload, 0, 0);
    }
    return true;
}

void frmMain::Unload() {
    Destroy();
}

// A worker that is ending (asked to, by the installer or by hand) still
// holds the claim while it stores what it took. A start in that moment
// waits for it instead of ending as a second worker would, or no worker
// would be left to log until the next log-on.
bool frmMain::ClaimInstance() {
    instance_.Reset(CreateMutexW(nullptr, FALSE, RunScopedName(kInstanceMutex).c_str()));
    if (!instance_)
        return false;
    DWORD claim = WaitForSingleObject(instance_.Get(), 0);
    if (claim == WAIT_TIMEOUT && !AnotherWorkerRunsOn())
        claim = WaitForSingleObject(instance_.Get(), kEndingWorkerWaitMs);
    // Abandoned: the worker before ended without letting go; it is over.
    if (claim != WAIT_OBJECT_0 && claim != WAIT_ABANDONED) {
        instance_.Reset();
        return false;
    }
    claimed_ = true;
    return true;
}

void frmMain::ReleaseInstance() {
    if (claimed_)
        ReleaseMutex(instance_.Get());
    claimed_ = false;
    instance_.Reset();
}

void frmMain::ReleaseHotKey() {
    if (Hwnd() && hotKeyRegistered_)
        UnregisterHotKey(Hwnd(), kHotKeyId);
    hotKeyRegistered_ = false;
}

void frmMain::OnDestroyed() {
    // However the window ends (the exit request, WM_CLOSE), what it took stays.
    TakeQueuedVisits();
    SpoolPendingVisits();
    sWorkerData_.clear();
    ReleaseInstance();
    if (onUnloaded)
        onUnloaded();
}

LRESULT frmMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // An exception leaving a window procedure ends the process, and with the
    // hidden worker all logging until the next log-on: a failure within one
    // request (memory running out) costs that request and nothing more.
    try {
        return HandleMessage(msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT frmMain::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COPYDATA:
            return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_HOTKEY:
            OnHotKey();
            return 0;
        // Log-off and shut-down end the process soon after these, without
        // WM_DESTROY.
        case WM_QUERYENDSESSION:
            OnEndSession();
            return TRUE;
        case WM_ENDSESSION:
            if (wParam)
                OnEndSession();
            else if (spoolWaiting_ && !payloadPosted_)  // the session goes on: into the history with them
                payloadPosted_ = PostMessageW(Hwnd(), kProcessPayload, 0, 0);
            return 0;
        case kProcessPayload:
            OnProcessPayload();
            return 0;
        case kFinishRepairs:
            FinishInterruptedRepairs(files_);
            return 0;
        case kUnload:
            Unload();
            return 0;
        case kAskRunsOn:
            return ending_ ? 0 : 1;
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
    auto payload = data ? PayloadFromBytes(data->lpData, data->cbData) : std::nullopt;
    Request request = payload ? ParseRequest(*payload) : Request{};
    if (auto* visit = std::get_if<VisitReport>(&request)) {
        Queue(TimedVisit{std::move(visit->path), std::move(visit->name), Now()});
    } else if (auto* properties = std::get_if<PropertiesRequest>(&request)) {
        Queue(std::move(*properties));
    } else if (std::holds_alternative<ExitRequest>(request)) {
        ending_ = true;
        Queue(ExitRequest{});
    } else {
        return 0;  // the sender learns that nothing was taken
    }
    return 1;
}

bool frmMain::AcceptVisit(const std::wstring& name, const std::wstring& path) {
    auto visit = MakeVisit(name, path);
    if (!visit || !Hwnd())
        return false;
    Queue(TimedVisit{std::move(visit->path), std::move(visit->name), Now()});
    return true;
}

void frmMain::Queue(Work work) {
    sWorkerData_.push_back(std::move(work));
    if (!payloadPosted_)
        payloadPosted_ = PostMessageW(Hwnd(), kProcessPayload, 0, 0);
}

void frmMain::OnEndSession() {
    TakeQueuedVisits();
    SpoolPendingVisits();
}

void frmMain::OnHotKey() {
    // Only a dialog can be an Open or Save dialog; the main program decides
    // whether it is one. Anything else starts the main program as always.
    HWND front = GetForegroundWindow();
    wchar_t className[16] = {};
    if (front && GetClassNameW(front, className, 16) > 0 && std::wstring_view(className) == L"#32770") {
        StartMainProgram(WaitingDialogArguments(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(front))));
        return;
    }
    StartMainProgram();
}

void frmMain::StartMainProgram(const std::wstring& arguments) {
    std::wstring program = ProgramFolder() + L"\\" + kMainProgram;
    std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Nothing of the worker's (the history, the spool) goes with it.
    if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
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
    if (sWorkerData_.empty() || std::holds_alternative<TimedVisit>(sWorkerData_.front())) {
        while (!sWorkerData_.empty() && std::holds_alternative<TimedVisit>(sWorkerData_.front())) {
            pendingVisits_.push_back(std::move(std::get<TimedVisit>(sWorkerData_.front())));
            sWorkerData_.pop_front();
        }
        WritePendingVisits();
    } else {
        Work work = std::move(sWorkerData_.front());
        sWorkerData_.pop_front();
        if (auto* properties = std::get_if<PropertiesRequest>(&work)) {
            ShowFolderProperties(*properties);
        } else {
            // The visits taken before the exit request, and any taken after
            // it, still get their try. Visits sent while it ran are taken
            // before the window goes, and spooled with whatever the history
            // could not take.
            TakeQueuedVisits();
            WritePendingVisits();
            if (!PostMessageW(Hwnd(), kUnload, 0, 0))
                Unload();
            return;
        }
    }
    if (!sWorkerData_.empty() && !payloadPosted_)
        payloadPosted_ = PostMessageW(Hwnd(), kProcessPayload, 0, 0);
}

void frmMain::TakeQueuedVisits() {
    for (Work& work : sWorkerData_) {
        if (auto* visit = std::get_if<TimedVisit>(&work))
            pendingVisits_.push_back(std::move(*visit));
    }
    std::erase_if(sWorkerData_, [](const Work& work) { return std::holds_alternative<TimedVisit>(work); });
}

void frmMain::WritePendingVisits() {
    if (pendingVisits_.empty() && !spoolWaiting_)
        return;
    LogResult result = LogOrSpool(files_, pendingVisits_, spoolStoredAhead_, clock_);
    if (result != LogResult::Kept) {
        pendingVisits_.clear();
        pendingVisits_.shrink_to_fit();
    } else if (pendingVisits_.size() > kMaxPendingVisits) {
        pendingVisits_.erase(pendingVisits_.begin(), pendingVisits_.end() - kMaxPendingVisits);
    }
    if (result == LogResult::Stored) {
        spoolWaiting_ = SpoolWaiting(SpoolPathFor(files_.database), spoolStoredAhead_);
        // A spool of more than one piece: the next piece after the requests
        // that came meanwhile.
        if (spoolWaiting_ && !payloadPosted_)
            payloadPosted_ = PostMessageW(Hwnd(), kProcessPayload, 0, 0);
        if (cleanUp_.CleanUpCheck())
            SetTimer(Hwnd(), tmrCleanUpOldRecords, kCleanUpDelayMs, nullptr);
        return;
    }
    spoolWaiting_ = spoolWaiting_ || result == LogResult::Spooled;
    // Never an error box: the hidden worker would stop at it.
    SetTimer(Hwnd(), tmrRetryPendingVisits, kRetryDelayMs, nullptr);
}

void frmMain::SpoolPendingVisits() {
    if (!pendingVisits_.empty() && SpoolVisits(SpoolPathFor(files_.database), pendingVisits_)) {
        pendingVisits_.clear();
        spoolWaiting_ = true;
    }
}

void frmMain::tmrRetryPendingVisits_Timer() {
    KillTimer(Hwnd(), tmrRetryPendingVisits);
    WritePendingVisits();
}

void frmMain::tmrCleanUpOldRecords_Timer() {
    KillTimer(Hwnd(), tmrCleanUpOldRecords);
    // The clean-up and compaction may take long; an end meanwhile (the
    // installer ends a worker that does not answer) must not take the visits
    // waiting for their turn with it.
    TakeQueuedVisits();
    SpoolPendingVisits();
    cleanUp_.CleanUpOldRecords(files_.database);
    if (spoolWaiting_ && !payloadPosted_)
        payloadPosted_ = PostMessageW(Hwnd(), kProcessPayload, 0, 0);
}

}  // namespace pw::worker
