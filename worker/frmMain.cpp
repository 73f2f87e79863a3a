#include "frmMain.h"

#include <variant>

#include "ShellFolders.h"

namespace pw {
namespace {

constexpr UINT_PTR tmrWorkerInstance = 1;
constexpr UINT_PTR tmrCleanUpOldRecords = 2;
constexpr int kHotKeyId = 1;
constexpr wchar_t kWindowClass[] = L"PfadwerkHgWindow";
// One worker per user session.
constexpr wchar_t kInstanceMutex[] = L"Local\\PfadwerkHg.Instance";

}  // namespace

frmMain::frmMain(HistoryFiles files, Clock clock) : files_(std::move(files)), cleanUp_(std::move(clock)) {}

frmMain::~frmMain() { Unload(); }

bool frmMain::Load() {
    instance_.Reset(CreateMutexW(nullptr, FALSE, kInstanceMutex));
    if (!instance_ || GetLastError() == ERROR_ALREADY_EXISTS) {
        instance_.Reset();
        return false;
    }
    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = module;
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
    // A tool window that is never shown: no task bar button, no Alt+Tab entry.
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, kWorkerCaption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            module, this);
    if (!hwnd_) {
        instance_.Reset();
        return false;
    }
    hotKeyRegistered_ = RegisterHotKey(hwnd_, kHotKeyId, MOD_CONTROL | MOD_WIN, VK_SPACE) != FALSE;
    return true;
}

void frmMain::Unload() {
    if (!hwnd_) return;
    ReleaseHotKey();
    KillTimer(hwnd_, tmrWorkerInstance);
    KillTimer(hwnd_, tmrCleanUpOldRecords);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    instance_.Reset();
}

void frmMain::ReleaseHotKey() {
    if (hwnd_ && hotKeyRegistered_) UnregisterHotKey(hwnd_, kHotKeyId);
    hotKeyRegistered_ = false;
}

LRESULT CALLBACK frmMain::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self) self->hwnd_ = nullptr;
        PostMessageW(nullptr, kFormClosedMessage, 0, 0);
    }
    if (self && self->hwnd_) return self->OnMessage(msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT frmMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COPYDATA:
            return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_HOTKEY:
            OnHotKey();
            return 0;
        case WM_TIMER:
            if (wParam == tmrWorkerInstance) tmrWorkerInstance_Timer();
            else if (wParam == tmrCleanUpOldRecords) tmrCleanUpOldRecords_Timer();
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

LRESULT frmMain::OnCopyData(const COPYDATASTRUCT* data) {
    // Answer at once; the work runs on the timer so the sender is free.
    if (data) {
        if (auto payload = PayloadFromBytes(data->lpData, data->cbData)) sWorkerData.push_back(std::move(*payload));
    }
    SetTimer(hwnd_, tmrWorkerInstance, 1, nullptr);
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

void frmMain::tmrWorkerInstance_Timer() {
    KillTimer(hwnd_, tmrWorkerInstance);
    // Messages let in below may re-arm the timer and call us again; the
    // outer run drains the queue, so the inner one just returns.
    if (processing_) return;
    processing_ = true;
    DoEvents();
    while (hwnd_ && !sWorkerData.empty()) {
        std::wstring payload = std::move(sWorkerData.front());
        sWorkerData.pop_front();
        if (!ProcessPayload(payload)) break;
        DoEvents();
    }
    processing_ = false;
}

bool frmMain::ProcessPayload(const std::wstring& payload) {
    Request request = ParseRequest(payload);
    if (auto* properties = std::get_if<PropertiesRequest>(&request)) {
        ShowFolderProperties(*properties);
    } else if (std::holds_alternative<ExitRequest>(request)) {
        Unload();
        return false;
    } else if (auto* visit = std::get_if<VisitReport>(&request)) {
        if (LogVisit(files_, *visit) && hwnd_ && cleanUp_.CleanUpCheck())
            SetTimer(hwnd_, tmrCleanUpOldRecords, 10000, nullptr);
    }
    return true;
}

void frmMain::tmrCleanUpOldRecords_Timer() {
    KillTimer(hwnd_, tmrCleanUpOldRecords);
    cleanUp_.CleanUpOldRecords(files_.database, files_.dataFolder + L"\\PfadwerkC.dat");
}

}  // namespace pw
