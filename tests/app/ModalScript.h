// Drives the modal dialogs that the code under test opens on this thread: a
// thread timer runs inside their message loops and hands each step the
// dialog that has the input (the enabled one on top). A step returns true
// when it is done; the next one waits for the next tick. Steps that make a
// dialog open another one or close post their command, so that no step
// waits inside another modal loop.
#pragma once
#include <commctrl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "modTaskDialog.h"

namespace pw::test {

class cModalScript {
  public:
    using Step = std::function<bool(HWND dialog)>;

    explicit cModalScript(std::vector<Step> steps)
        : steps_(std::move(steps)), end_(std::chrono::steady_clock::now() + std::chrono::seconds(30)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, &Tick);
    }
    // For code that must open no dialog: one that opens anyway is a failure
    // and is closed again.
    static cModalScript NoDialog() {
        return cModalScript({[](HWND dialog) {
                                ADD_FAILURE() << "a dialog opened: " << WindowTextUtf8(dialog);
                                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                                return false;
                            }},
                            false);
    }
    ~cModalScript() {
        KillTimer(nullptr, timer_);
        if (current_ == this)
            current_ = nullptr;
        if (mustFinish_) {
            EXPECT_TRUE(Done()) << "the script stopped at step " << next_ + 1 << " of " << steps_.size();
        }
    }
    cModalScript(const cModalScript&) = delete;
    cModalScript& operator=(const cModalScript&) = delete;

    bool Done() const { return next_ == steps_.size(); }

    // The dialog of this thread that takes input now, or null.
    static HWND ActiveDialog() {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindActiveDialog, reinterpret_cast<LPARAM>(&found));
        return found;
    }

  private:
    static BOOL CALLBACK FindActiveDialog(HWND w, LPARAM out) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (std::wstring(cls) == L"#32770" && IsWindowVisible(w) && IsWindowEnabled(w)) {
            *reinterpret_cast<HWND*>(out) = w;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        cModalScript* self = current_;
        if (!self || self->busy_)
            return;
        self->busy_ = true;
        HWND dialog = ActiveDialog();
        if (self->Done()) {
            // Whatever is still open has outstayed the script.
        } else if (std::chrono::steady_clock::now() > self->end_) {
            ADD_FAILURE() << "no progress at step " << self->next_ + 1;
            self->next_ = self->steps_.size();
            self->abandoned_ = true;
        } else if (dialog && self->steps_[self->next_](dialog)) {
            ++self->next_;
        }
        if (self->abandoned_ && dialog)
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        self->busy_ = false;
    }

    static inline cModalScript* current_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    std::chrono::steady_clock::time_point end_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    bool abandoned_ = false;
    bool mustFinish_ = true;

    cModalScript(std::vector<Step> steps, bool mustFinish) : cModalScript(std::move(steps)) {
        mustFinish_ = mustFinish;
    }
    static std::string WindowTextUtf8(HWND w) {
        char text[256] = {};
        GetWindowTextA(w, text, 256);
        return text;
    }
};

inline std::wstring WindowText(HWND w) {
    wchar_t text[1024] = {};
    GetWindowTextW(w, text, 1024);
    return text;
}

// Presses a dialog's button by posting its command.
inline void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Message boxes shown through it are recorded and answered with OK.
class cMessageBoxLog : public cDialogPresenter {
  public:
    int ShowTaskDialog(const TASKDIALOGCONFIG&, bool* checked) override {
        if (checked)
            *checked = false;
        return IDOK;
    }
    int ShowMessageBox(HWND, const std::wstring& text, const std::wstring& caption, UINT style) override {
        boxes.push_back({text, caption, style});
        return IDOK;
    }
    struct Box {
        std::wstring text, caption;
        UINT style = 0;
    };
    std::vector<Box> boxes;
};

}  // namespace pw::test
