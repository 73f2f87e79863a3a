#include "Instance.h"

#include <windows.h>

#include "Handles.h"
#include "TestRun.h"

namespace pw {

bool IsPreviousInstanceRunning() {
    static cHandle mutex;
    static const bool previous = [] {
        // Local\ is the session's namespace: another user logged on at the
        // same time runs his own copy.
        mutex.Reset(CreateMutexW(nullptr, FALSE, RunScopedName(L"Local\\Pfadwerk.MainInstance").c_str()));
        return mutex && GetLastError() == ERROR_ALREADY_EXISTS;
    }();
    return previous;
}

}  // namespace pw
