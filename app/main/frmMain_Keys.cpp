// The window's keys, whichever of its controls has the focus: its own
// controls (tabs, time frame, menu button) are subclassed here, its parts
// hand their key messages over (WindowKeys.h). Ctrl+F goes to the search,
// Ctrl+C and Del act on the entry under the pointer, Esc resets the search
// or lets the window go, F1 opens the help and Alt the menu bar.
#include <windows.h>

#include <commctrl.h>

#include <utility>

#include "FolderListKeys.h"
#include "frmMain.h"

namespace pw {

void frmMain::InitInteraction() {
    // The window sees the keys before its controls do, whichever has the focus.
    for (HWND control : {tabOB_, cmbMostUsedTimeframe_, cmdShowMenu_}) {
        SubclassControl(control, this);
    }
    if (lCurrentView_ == FolderView::LastUsed)
        searchBox_.UpdatePictures();
}

bool frmMain::MouseOverList() const {
    POINT p{};
    if (!GetCursorPos(&p))
        return false;
    HWND under = WindowFromPoint(p);
    HWND list = list_.Hwnd();
    return under && list && (under == list || IsChild(list, under));
}

int frmMain::KeyActionEntry() const {
    if (messagePane_.Shown() || list_.EntryCount() == 0)
        return -1;
    // The entry under the pointer is the one the keys mean; without one, the
    // selected entry.
    if (MouseOverList()) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(list_.ListHwnd(), &p);
        int index = list_.View().HitTest(p);
        if (index >= 0)
            return index;
    }
    return list_.View().FirstSelected();
}

// ---- Keys ----

LRESULT frmMain::OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The menu drops down as the button goes down, not when it is released.
    if (control == cmdShowMenu_ && (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)) {
        cmdShowMenu_MouseDown();
        return 0;
    }
    if (IsKeyMessage(msg) && PreviewKey(control, msg, wParam, lParam) == KeyPreview::Taken)
        return 0;
    return DefSubclassProc(control, msg, wParam, lParam);
}

KeyPreview frmMain::PreviewKey(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto key = static_cast<WORD>(wParam);
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // An open drop-down closes with Esc and must not take the window along.
            if (key == VK_ESCAPE && control == cmbMostUsedTimeframe_ &&
                SendMessageW(cmbMostUsedTimeframe_, CB_GETDROPPEDSTATE, 0, 0)) {
                escapeClosedDropDown_ = true;
                return KeyPreview::ControlOnly;
            }
            if (key == VK_ESCAPE)
                escapeDown_ = true;
            swallowChar_ = Form_KeyDown(key);
            return swallowChar_ ? KeyPreview::Taken : KeyPreview::Free;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (swallowChar_) {
                swallowChar_ = false;
                return KeyPreview::Taken;
            }
            return KeyPreview::Free;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (key == VK_ESCAPE && escapeClosedDropDown_) {
                escapeClosedDropDown_ = false;
                return KeyPreview::ControlOnly;
            }
            // The release of an Esc that closed a dialog of the window comes
            // here once the dialog is gone; it must not close the window too.
            if (key == VK_ESCAPE && !std::exchange(escapeDown_, false))
                return KeyPreview::ControlOnly;
            return Form_KeyUp(key) ? KeyPreview::Taken : KeyPreview::Free;
        default:
            return KeyPreview::Free;
    }
}

bool frmMain::Form_KeyDown(WORD key) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    switch (key) {
        case 'F':
        case 'E':
            if (!ctrl)
                return false;
            // At once, as a tick of tmrTabs would.
            if (lCurrentView_ != FolderView::LastUsed)
                SelectLastUsedTab();
            if (Hwnd())
                searchBox_.Focus();
            return true;
        case 'C': {
            if (!ctrl || !MouseOverList())
                return false;
            // The search box copies its own selected text.
            if (searchBox_.HasFocus() && searchBox_.HasSelection())
                return false;
            int index = KeyActionEntry();
            const FolderRow* row = list_.RowOf(index);
            if (!row)
                return true;
            SetItemSelectedAndFocused(index);
            sActionFolderPath_ = row->path;
            if (!sActionFolderPath_.empty())
                mnuPopUpFolderCopyPath_Click();
            return true;
        }
        case VK_DELETE: {
            if (!DeleteKeyRemovesEntry(lCurrentView_, searchBox_.SearchText()))
                return false;
            const FolderRow* row = list_.RowOf(KeyActionEntry());
            if (!row)
                return true;
            sActionFolderPath_ = row->path;
            if (!sActionFolderPath_.empty())
                mnuPopUpFolderRemove_Click();
            return true;
        }
        case VK_ESCAPE:
            return true;  // acted on when released; pressed, it only beeps
        case VK_F1:
            mnuMenuHelpTopics_Click();
            return true;
        case VK_MENU:
            // The bar comes for Alt and stays; Alt's release then opens it.
            if (!bMenuBarShown_ && !bMenuBarShownForAlt_) {
                bMenuBarShownForAlt_ = true;
                SetFocus(list_.ListHwnd());
                ShowMenuBar();
            }
            return false;
        default:
            return false;
    }
}

bool frmMain::Form_KeyUp(WORD key) {
    if (key != VK_ESCAPE)
        return false;
    HWND focus = GetFocus();
    switch (EscapeReleased(lCurrentView_, searchBox_.HasFocus(), searchBox_.Text(), focus == cmdShowMenu_,
                           options_.exitBehavior)) {
        case EscapeAction::ResetSearch:
            ResetSearch();
            return true;
        case EscapeAction::Minimize:
            ShowWindow(Hwnd(), SW_MINIMIZE);
            return true;
        case EscapeAction::Unload:
            popUpBehaviour_ = false;
            UnloadSoon();
            return true;
        case EscapeAction::None:
            return false;
    }
    return false;
}
}  // namespace pw
