// Reaching the worker's window from any program, and what the worker
// registers: the Windows half of the worker protocol (WorkerProtocol.h).
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace pw {

// "PFADWERK_WORKER_APP"; within a test run the run's own (TestRun.h).
std::wstring WorkerCaption();
// The worker's window of this user, or nullptr.
HWND FindWorkerWindow();

// One request by WM_COPYDATA, answered synchronously. A worker that hangs
// does not hold the sender longer than timeoutMs.
bool SendToWorker(HWND worker, std::wstring_view payload, DWORD timeoutMs = 5000);

struct HotKey {
    UINT modifiers;
    UINT virtualKey;
};
// Windows logo key + Ctrl + Space. A test run takes a combination nobody
// presses, so that it neither steals the user's hot key nor fails for it.
HotKey WorkerHotKey();

}  // namespace pw
