// Bringing a window to the front from a process the user did not just click.
#pragma once
#include <windows.h>

namespace pw {

// Windows refuses SetForegroundWindow to a thread that does not own the
// foreground unless the input of the two threads is joined for the moment.
void ForceForeground(HWND hwnd, bool attachInput);

}  // namespace pw
