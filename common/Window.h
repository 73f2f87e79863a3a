// What every window of both programs stands on: the object rides in its
// window, and one static procedure hands each message to the object's
// OnMessage. Windows keep it in GWLP_USERDATA (from CREATESTRUCT's
// lpCreateParams), dialogs in DWLP_USER (from DialogBoxParamW's lParam), and
// controls the program did not make carry it as their subclass data.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace pw {

// The caption of a window, the text of a control.
std::wstring WindowText(HWND window);

// Moves a dialog over the middle of its owner (of the screen's work area
// when it has none), inside the owner's screen.
void CentreOnOwner(HWND dialog);

// A control of the system's classes inside parent under the control id: the
// style gets WS_CHILD, and the font is set when one is given (before the
// control is first drawn, so without a redraw). Both programs' windows make
// their controls through it.
HWND CreateChildControl(HWND parent,
                        UINT id,
                        const wchar_t* className,
                        DWORD style,
                        HFONT font = nullptr,
                        const wchar_t* text = L"",
                        int x = 0,
                        int y = 0,
                        int width = 0,
                        int height = 0);

// Window class fields a window cares about; the procedure and the module are
// the base's. A class is registered at the first Create that names it.
struct WindowClass {
    const wchar_t* name = nullptr;
    UINT style = 0;
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr;  // null: the arrow
};

class cWindow {
  public:
    cWindow() = default;
    virtual ~cWindow();
    cWindow(const cWindow&) = delete;
    cWindow& operator=(const cWindow&) = delete;

    HWND Hwnd() const { return hwnd_; }
    // Destroys the window if it is still there; the object stays.
    void Destroy();

  protected:
    // A child window gets id as its control id; a top-level window none.
    bool Create(const WindowClass& windowClass,
                const wchar_t* caption,
                DWORD style,
                DWORD exStyle,
                int x,
                int y,
                int width,
                int height,
                HWND parent,
                UINT id = 0);

    // Every message of the window from WM_NCCREATE to WM_NCDESTROY; what a
    // window does not answer goes to DefaultProc.
    virtual LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY: the window is gone, Hwnd() is null again.
    virtual void OnDestroyed() {}

  private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// A dialog from a template of the program's resources.
class cDialog {
  public:
    cDialog() = default;
    virtual ~cDialog();
    cDialog(const cDialog&) = delete;
    cDialog& operator=(const cDialog&) = delete;

    HWND Hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    std::wstring ItemText(int id) const { return WindowText(Item(id)); }
    // The value the dialog ended with (EndDialog), or -1 when it could not
    // be shown.
    INT_PTR ShowModal(HWND owner, UINT templateId);
    bool CreateModeless(HWND owner, UINT templateId);

  protected:
    // A dialog procedure's answer: TRUE for a message it handled (a result
    // goes through DWLP_MSGRESULT), FALSE for the dialog manager's default.
    virtual INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// A control the program did not make (an edit box, the system's list view) is
// subclassed once for its whole life: Owner::OnControlMessage(control, msg,
// wParam, lParam) sees each of its messages first and passes on what it
// leaves with DefSubclassProc. One owner may subclass several controls.
template <typename Owner>
LRESULT CALLBACK
ControlSubclassProcedure(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR owner) {
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(control, &ControlSubclassProcedure<Owner>, id);
    return reinterpret_cast<Owner*>(owner)->OnControlMessage(control, msg, wParam, lParam);
}

template <typename Owner>
bool SubclassControl(HWND control, Owner* owner) {
    return control &&
           SetWindowSubclass(control, &ControlSubclassProcedure<Owner>, 1, reinterpret_cast<DWORD_PTR>(owner)) != FALSE;
}

}  // namespace pw
