// Holds a window's drawing while its lists are refilled, so that the new
// entries show at once and not one by one. Only that window is held, not the
// whole desktop; it is drawn anew, children and all, when the hold ends.
#pragma once
#include <windows.h>

namespace pw {

class cRedrawHold {
  public:
    // A hidden window is left alone: ending the hold would give it the
    // visible style without showing it.
    explicit cRedrawHold(HWND window) : window_(window && IsWindowVisible(window) ? window : nullptr) {
        if (window_)
            SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    }
    ~cRedrawHold() {
        if (!window_ || !IsWindow(window_))
            return;
        SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
    }
    cRedrawHold(const cRedrawHold&) = delete;
    cRedrawHold& operator=(const cRedrawHold&) = delete;

  private:
    HWND window_;
};

}  // namespace pw
