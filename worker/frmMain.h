// The worker's hidden window: found by its caption, takes requests by
// WM_COPYDATA and owns the hot key that starts the main program.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "CleanUp.h"
#include "Handles.h"
#include "VisitLog.h"
#include "Window.h"
#include "WorkerProtocol.h"

namespace pw::worker {

class frmMain final : public cWindow {
  public:
    explicit frmMain(HistoryFiles files, Clock clock = {});
    ~frmMain() override;

    // False when another worker runs already for this user: nothing is
    // created then.
    bool Load();
    void Unload();
    // The welcome window of a set-up run on Vista and later gives the hot
    // key back at once.
    void ReleaseHotKey();
    // Starts Pfadwerk.exe from this program's folder, with the arguments.
    void StartMainProgram(const std::wstring& arguments = {});
    // Called once the window has gone, whatever ended it.
    std::function<void()> onUnloaded;

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void OnHotKey();
    void OnProcessPayload();
    void tmrCleanUpOldRecords_Timer();
    void tmrRetryPendingVisits_Timer();
    bool ProcessPayload(const std::wstring& payload);  // false: the exit request
    // Writes every visit waiting, in one go; what cannot be written now
    // stays for the retry timer or the next visit.
    void WritePendingVisits();
    LocalTime Now() const { return clock_ ? clock_() : SystemLocalTime(); }

    HistoryFiles files_;
    Clock clock_;
    cCleanUp cleanUp_;
    cHandle instance_;
    // Payloads in arrival order; a burst of reports is kept whole.
    std::deque<std::wstring> sWorkerData_;
    // Visits not yet in the history, oldest first: a write that failed
    // (busy, read-only, disk full) loses none of them.
    std::vector<TimedVisit> pendingVisits_;
    bool payloadPosted_ = false;
    bool hotKeyRegistered_ = false;
};

}  // namespace pw::worker
