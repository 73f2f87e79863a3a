// Whether another copy of the main program runs already for this user.
#pragma once

namespace pw {

// A second start announces itself to the running window with the message of
// this name (RegisterWindowMessageW).
constexpr wchar_t kActivationMessageName[] = L"ActivatePfadwerk";

// Worked out once per process, like a run-time's previous-instance test: the
// first call takes a mutex of the user's session and keeps it until the
// process ends, so a reloaded main window is never its own previous instance.
bool IsPreviousInstanceRunning();

}  // namespace pw
