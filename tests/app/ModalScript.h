// Drives the modal dialogs that the code under test opens on this thread: a
// thread timer runs inside their message loops and hands each step the
// dialog that takes input (the enabled one on top). A step returns true when
// it is done. Steps that make a dialog open another or close post their
// command, so that no step waits inside another modal loop.
#pragma once
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

    // mustFinish false: every step may be left undone (a script that only
    // catches dialogs that should not open).
    explicit cModalScript(std::vector<Step> steps, bool mustFinish = true)
        : steps_(std::move(steps)),
          end_(std::chrono::steady_clock::now() + std::chrono::seconds(30)),
          mustFinish_(mustFinish) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, &Tick);
    }
    ~cModalScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
        if (mustFinish_) {
            EXPECT_EQ(steps_.size(), next_) << "the script stopped before its end";
        }
    }
    cModalScript(const cModalScript&) = delete;
    cModalScript& operator=(const cModalScript&) = delete;

    static HWND ActiveDialog() {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), &FindActiveDialog, reinterpret_cast<LPARAM>(&found));
        return found;
    }

  private:
    static BOOL CALLBACK FindActiveDialog(HWND w, LPARAM out) {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (std::wstring(cls) != L"#32770" || !IsWindowVisible(w) || !IsWindowEnabled(w))
            return TRUE;
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        cModalScript* self = current_;
        if (!self || self->busy_)
            return;
        self->busy_ = true;
        HWND dialog = ActiveDialog();
        bool waiting = dialog || (self->mustFinish_ && self->next_ < self->steps_.size());
        if (waiting && std::chrono::steady_clock::now() > self->end_ && !self->abandoned_) {
            // A step that never comes true, or a dialog that stays open after
            // the last one, would hold the test up for good.
            ADD_FAILURE() << "no progress at step " << self->next_ + 1;
            self->next_ = self->steps_.size();
            self->abandoned_ = true;
        } else if (dialog && self->next_ < self->steps_.size() && self->steps_[self->next_](dialog)) {
            ++self->next_;
            self->end_ = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        }
        if (self->abandoned_ && dialog)
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        self->busy_ = false;
    }

    static inline cModalScript* current_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    std::chrono::steady_clock::time_point end_;
    bool mustFinish_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    bool abandoned_ = false;
};

// Presses a dialog's button by posting its command.
inline void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Message boxes shown through it are recorded and answered with OK.
class cMessageBoxLog : public cDialogPresenter {
  public:
    struct Box {
        std::wstring text, caption;
        UINT style = 0;
    };
    std::vector<Box> boxes;
    int ShowTaskDialog(const TASKDIALOGCONFIG&, bool*) override { return IDOK; }
    int ShowMessageBox(HWND, const std::wstring& text, const std::wstring& caption, UINT style) override {
        boxes.push_back({text, caption, style});
        return IDOK;
    }
};

}  // namespace pw::test
