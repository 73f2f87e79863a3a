// The Open or Save dialog of another program that waited in front when the
// hot key brought up the main window: a folder picked meanwhile takes that
// dialog there instead of opening Explorer. The dialog's name box gets the
// folder path, its OK button is pressed, and the name the user had typed is
// put back once the dialog shows the new folder; a watch on a timer of its
// own sees that happen, so the main window's thread never waits for it.
#pragma once
#include <windows.h>

#include <string>

#include "FileDialogShape.h"
#include "Window.h"

namespace pw {

// The controls of a dialog that PlanFileDialog found drivable.
struct FileDialogControls {
    HWND nameEdit = nullptr;
    HWND okButton = nullptr;
    HWND folderShown = nullptr;  // may be null
};
// False when dialog is no file dialog to drive.
bool FindFileDialogControls(HWND dialog, FileDialogControls& controls);

enum class DialogJumpResult {
    NoDialog,       // none waits (any more), or it is not one to drive: open Explorer
    Jumped,         // the dialog goes to the folder
    MissingFolder,  // the path names nothing (any more)
    NotAFolder,     // the path names a file
    Elevated,       // the dialog refuses a normal program's messages: the path is for the clipboard
};

class cDialogJump final : public cWindow {
  public:
    // What the jump raises.
    class Events {
      public:
        // The watch after a jump has ended, whatever it saw.
        virtual void DialogJumpWatchEnded() = 0;

      protected:
        ~Events() = default;
    };

    // events must outlive the jump.
    explicit cDialogJump(Events& events) : events_(events) {}
    ~cDialogJump() override;

    // The window that was in front; kept only when it is a dialog to drive.
    // Null forgets any.
    void Attach(HWND dialog);
    bool Waiting();
    // The waiting dialog's own caption ("Speichern unter").
    std::wstring DialogCaption() const;
    HWND Dialog() const { return dialog_; }

    DialogJumpResult Jump(const std::wstring& folder);
    // The watch after a jump still runs (the name is not back yet).
    bool Busy() const { return watching_; }

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool EnsureWindow();
    void tmrWatch_Timer();
    void EndWatch(bool folderChanged);

    Events& events_;
    HWND dialog_ = nullptr;
    // Of the jump being watched.
    bool watching_ = false;
    HWND nameEdit_ = nullptr;
    HWND folderShown_ = nullptr;
    std::wstring typedName_;    // what the user had typed, put back afterwards
    std::wstring jumpText_;     // what Pfadwerk typed
    std::wstring shownBefore_;  // the folder the dialog showed before
    ULONGLONG pickedAt_ = 0;    // milliseconds of the performance counter at the pick
};

}  // namespace pw
