// The main window's own keys (Ctrl+F, Ctrl+C, Del, Esc, F1, Alt) work
// whichever of its controls has the focus: a part hands each key message of
// its controls to the window before acting on it itself.
#pragma once
#include <windows.h>

namespace pw {

enum class KeyPreview {
    Taken,        // the window acted on it; the control does not see it
    ControlOnly,  // the control sees it, but the part must not act on it
    Free,         // the control sees it, and the part may act on it
};

class cWindowKeys {
  public:
    // msg is one of WM_KEYFIRST..WM_KEYLAST, sent to control.
    virtual KeyPreview PreviewKey(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) = 0;

  protected:
    ~cWindowKeys() = default;
};

inline bool IsKeyMessage(UINT msg) {
    return msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
}

}  // namespace pw
