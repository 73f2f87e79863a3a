// The Open or Save dialog that waited in front when the hot key brought the
// window up: the caption names it, and opening a folder takes it there
// instead of opening Explorer. Without such a dialog nothing here changes
// what opening does.
#include <cstdint>

#include "FolderActions.h"
#include "Foreground.h"
#include "ResText.h"
#include "Text.h"
#include "app_res.h"
#include "frmMain.h"
#include "modTaskDialog.h"

namespace pw {

void frmMain::AttachWaitingDialog(HWND dialog) {
    dialogJump_.Attach(options_.switchFileDialogs ? dialog : nullptr);
    ShowWaitingDialogCaption();
}

void frmMain::DialogJumpWatchEnded() {
    if (unloadAfterJump_ && Hwnd())
        PostMessageW(Hwnd(), kUnloadSoon, 0, 0);
}

void frmMain::ShowWaitingDialogCaption() {
    std::wstring caption = ResText(IDS_CAPTION);
    if (options_.switchFileDialogs && dialogJump_.Waiting()) {
        std::wstring name = dialogJump_.DialogCaption();
        caption = name.empty() ? ResText(IDS_DIALOGJUMP_CAPTION_UNNAMED)
                               : FillPlaceholders(ResText(IDS_DIALOGJUMP_CAPTION), {name});
    }
    if (WindowText(Hwnd()) != caption)
        SetWindowTextW(Hwnd(), caption.c_str());
}

bool frmMain::JumpDialogTo(const std::wstring& path) {
    if (!options_.switchFileDialogs || !dialogJump_.Waiting()) {
        ShowWaitingDialogCaption();
        return false;
    }
    // The check every opening makes: never a file, never a bare name.
    if (!IsOpenableFolder(path)) {
        ShowNotAFolder(ActionHost(), path, ActionServices());
        return true;
    }
    switch (dialogJump_.Jump(path)) {
        case DialogJumpResult::NoDialog:
            // Closed meanwhile, or no longer one to drive: Explorer as always.
            ShowWaitingDialogCaption();
            return false;
        case DialogJumpResult::MissingFolder:
        case DialogJumpResult::NotAFolder:
            // The dialog would say "not found" or take it for a file name.
            ShowNotAFolder(ActionHost(), path, ActionServices());
            return true;
        case DialogJumpResult::Elevated:
            PutTextOnClipboard(Hwnd(), path);
            ShowJumpMessage(ResText(IDS_DIALOGJUMP_ELEVATED), MB_ICONINFORMATION);
            return true;
        case DialogJumpResult::Jumped:
            break;
    }
    // The window then behaves as after any folder it opened; the dialog is
    // where the user goes on.
    bFolderOpened_ = true;
    FolderActionHost host = ActionHost();
    if (HoldTopmostWhileOpening(options_.exitBehavior))
        host.makeTopmost();
    AllowSetForegroundWindow(ASFW_ANY);
    SetForegroundWindow(dialogJump_.Dialog());
    AfterOpenPlan plan = PlanAfterOpen(options_.exitBehavior, false);
    if (plan.watchMouseLeave)
        host.enableMouseLeaveWatch();
    if (plan.minimize)
        host.minimize();
    if (plan.clearFolderOpened)
        bFolderOpened_ = false;
    if (plan.hideAndUnload)
        host.hideAndUnload();
    return true;
}

void frmMain::ShowJumpMessage(const std::wstring& text, UINT icon) {
    RunInModalFrame(ModalFrame::ShellOrMessage,
                    [&] { Presenter().ShowMessageBox(Hwnd(), text, ResText(IDS_CAPTION), MB_OK | icon); });
}

void frmMain::UnloadAfterJump() {
    // The process ends with the window; the dialog must have the name the
    // user typed back first.
    if (dialogJump_.Busy()) {
        unloadAfterJump_ = true;
        ShowWindow(Hwnd(), SW_HIDE);
        return;
    }
    Unload();
}

// A second start brought the window up again, naming the dialog that waits.
void frmMain::OnActivationMessage(WPARAM waitingDialog) {
    // Handles carry 32 significant bits on every Windows.
    AttachWaitingDialog(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(waitingDialog))));
    if (IsIconic(Hwnd()))
        ShowWindow(Hwnd(), SW_RESTORE);
    ForceForeground(Hwnd(), true);
}

}  // namespace pw
