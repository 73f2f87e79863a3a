#include "Foreground.h"

namespace pw {

void ForceForeground(HWND hwnd, bool attachInput) {
    if (!hwnd)
        return;
    HWND foreground = GetForegroundWindow();
    if (foreground == hwnd)
        return;
    DWORD foregroundThread = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    DWORD ownThread = GetWindowThreadProcessId(hwnd, nullptr);
    if (attachInput && foregroundThread != 0 && foregroundThread != ownThread &&
        AttachThreadInput(foregroundThread, ownThread, TRUE)) {
        BringWindowToTop(hwnd);
        SetForegroundWindow(hwnd);
        AttachThreadInput(foregroundThread, ownThread, FALSE);
    } else {
        BringWindowToTop(hwnd);
        SetForegroundWindow(hwnd);
    }
    SetActiveWindow(hwnd);
}

}  // namespace pw
