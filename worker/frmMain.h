// The worker's hidden window: found by its caption, takes requests by
// WM_COPYDATA and owns the hot key that starts the main program.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <variant>
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
    // A visit of the worker's own reporter: taken like one that came by
    // WM_COPYDATA, without a text in between. False when it is no folder.
    bool AcceptVisit(const std::wstring& name, const std::wstring& path);
    // Called once the window has gone, whatever ended it.
    std::function<void()> onUnloaded;

  private:
    // A request taken and waiting for its turn; a visit has its moment.
    using Work = std::variant<TimedVisit, PropertiesRequest, ExitRequest>;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnDestroyed() override;
    LRESULT OnCopyData(const COPYDATASTRUCT* data);
    void OnEndSession();
    void OnHotKey();
    void Queue(Work work);
    void OnProcessPayload();
    void tmrCleanUpOldRecords_Timer();
    void tmrRetryPendingVisits_Timer();
    // Writes what waits (the spool, then the visits taken), in one go; what
    // the history cannot take now goes to the spool for the retry timer.
    void WritePendingVisits();
    // Every visit taken and not yet stored goes to the spool at once: the
    // worker is about to end.
    void SpoolPendingVisits();
    void TakeQueuedVisits();
    bool ClaimInstance();
    void ReleaseInstance();
    LocalTime Now() const { return clock_ ? clock_() : SystemLocalTime(); }

    HistoryFiles files_;
    Clock clock_;
    cCleanUp cleanUp_;
    cHandle instance_;
    bool claimed_ = false;
    // Asked to end: a worker that starts meanwhile waits for this one.
    bool ending_ = false;
    // Requests in arrival order; a burst of reports is kept whole.
    std::deque<Work> sWorkerData_;
    // Visits taken and neither in the history nor in the spool yet, oldest
    // first.
    std::vector<TimedVisit> pendingVisits_;
    bool spoolWaiting_ = false;
    long long spoolStoredAhead_ = 0;  // see LogOrSpool
    bool payloadPosted_ = false;
    bool hotKeyRegistered_ = false;
};

}  // namespace pw::worker
