// The worker's hidden window: found by its caption, takes requests by
// WM_COPYDATA and owns the hot key that starts the main program.
#pragma once
#include <windows.h>

#include <deque>
#include <string>

#include "CleanUp.h"
#include "Handles.h"
#include "VisitLog.h"

namespace pw {

constexpr wchar_t kWorkerCaption[] = L"PFADWERK_WORKER_APP";
// Posted to the thread when a form of the worker has gone; the message loop
// then ends once no form is left.
constexpr UINT kFormClosedMessage = WM_APP + 1;

class frmMain {
public:
    explicit frmMain(HistoryFiles files, Clock clock = {});
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // False when another worker runs already for this user: nothing is
    // created then.
    bool Load();
    void Unload();
    HWND Hwnd() const { return hwnd_; }
    // The welcome window of a set-up run on Vista and later gives the hot
    // key back at once.
    void ReleaseHotKey();

    // Payloads in arrival order; a burst of reports is kept whole.
    std::deque<std::wstring> sWorkerData;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void OnHotKey();
    void tmrWorkerInstance_Timer();
    void tmrCleanUpOldRecords_Timer();
    bool ProcessPayload(const std::wstring& payload);  // false: ExitNow

    HistoryFiles files_;
    cCleanUp cleanUp_;
    cHandle instance_;
    HWND hwnd_ = nullptr;
    bool hotKeyRegistered_ = false;
    bool processing_ = false;
};

}  // namespace pw
