// Moving between the lists, the time frame of the most-used list, sorting by
// column, opening entries by mouse and keyboard, the keys of the whole window
// and the watch that lets the window go once the mouse leaves it after a
// folder was opened.
#include <windows.h>
#include <commctrl.h>

#include "AppFlags.h"
#include "FolderListKeys.h"
#include "FolderListSort.h"
#include "Settings.h"
#include "frmMain.h"

namespace pw {
namespace {

constexpr UINT_PTR kKeyPreviewId = 1;

}  // namespace

void frmMain::InitInteraction() {
    lvwFolders.OnClick = [this](const cListView::MouseEvent& event) { lvwFolders_Click(event); };
    lvwFolders.OnColumnClick = [this](int column) { lvwFolders_ColumnClick(column); };
    // The window sees the keys before its controls do, whichever has the focus.
    for (HWND control : {txtFind, lvwFolders.hWndListView(), tabOB, cmbMostUsedTimeframe, cmdShowMenu}) {
        if (control) {
            SetWindowSubclass(control, &frmMain::KeyPreviewProc, kKeyPreviewId, reinterpret_cast<DWORD_PTR>(this));
        }
    }
    // A picture answers clicks only with SS_NOTIFY.
    SetWindowLongPtrW(imgFindCancel, GWL_STYLE, GetWindowLongPtrW(imgFindCancel, GWL_STYLE) | SS_NOTIFY);
    if (lCurrentView == 1) UpdateFindPictures();
}

void frmMain::StopTimers() {
    KillTimer(hwnd_, tmrTabs);
    KillTimer(hwnd_, tmrMustRefreshAfterNewFind);
    tmrMustRefreshAfterNewFindEnabled_ = false;
    DisableMouseLeaveWatch();
}

void frmMain::OnTimer(UINT_PTR id) {
    switch (id) {
        case tmrTabs:
            tmrTabs_Timer();
            break;
        case tmrMustRefreshAfterNewFind:
            tmrMustRefreshAfterNewFind_Timer();
            break;
        case tmrMouseLeaveChecker:
            tmrMouseLeaveChecker_Timer();
            break;
        default:
            break;
    }
}

bool frmMain::OnInteractionMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == kUnloadSoonMessage) {
        Unload();
        result = 0;
        return true;
    }
    // Keys reach the window itself only when none of its controls has the focus.
    return OnControlKey(hwnd_, msg, wParam, lParam, result);
}

void frmMain::UnloadSoon() {
    // Posted: the caller may be a control's own procedure, which must not
    // see its window destroyed under it.
    if (hwnd_) PostMessageW(hwnd_, kUnloadSoonMessage, 0, 0);
}

// ---- Tabs ----

void frmMain::tabOB_Click() { SetTimer(hwnd_, tmrTabs, 3, nullptr); }

void frmMain::tmrTabs_Timer() {
    if (!bListFilled) return;  // a fill is running: the next tick tries again
    KillTimer(hwnd_, tmrTabs);
    DoEvents();
    if (!hwnd_) return;
    ClearSortArrow();
    int position = TabCtrl_GetCurSel(tabOB) + 1;
    lCurrentView = static_cast<long>(ViewForTabPosition(position, bOptions_bShowFavoritesTabFirst));
    ShowViewControls();
    switch (lCurrentView) {
        case 1: {
            ShowSortArrow();
            RefillFolderList(true);
            if (!hwnd_) return;
            std::wstring text = FindText();
            if (!findCue_ && IsSearchActive(text)) {
                SetFocus(txtFind);
                SendMessageW(txtFind, EM_SETSEL, text.size(), text.size());
            }
            break;
        }
        case 2:
            ShowSortArrow();
            RefillFolderList(true);
            break;
        default:
            // The favorites list fills its own; until it does, its pane stands in.
            ShowMessagePane();
            break;
    }
    if (!hwnd_) return;
    WriteNumber(Setting::ListTypeActive, lCurrentView);
}

// ---- Time frame ----

void frmMain::cmbMostUsedTimeframe_Click() {
    // The selection made while loading is no choice of the user's.
    if (!loaded_) return;
    RefreshList();
    if (!hwnd_) return;
    WriteNumber(Setting::MRUTimeframe, static_cast<int>(SendMessageW(cmbMostUsedTimeframe, CB_GETCURSEL, 0, 0)));
}

void frmMain::RefreshList() {
    if (bListFilled) {
        RefillFolderList(false);
    } else {
        EnableRefreshTimer();
    }
}

// ---- Sorting ----

int frmMain::CurrentSortMode() const { return lCurrentView == 1 ? lSortingLastUsed : lSortingMostUsed; }

void frmMain::SetHeaderSortArrow(int column, int state) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(lvwFolders.hWndListView(), LVM_GETHEADER, 0, 0));
    if (!header || column < 0 || column >= static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0))) return;
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    item.fmt = HeaderFormatForArrow(state);
    SendMessageW(header, HDM_SETITEMW, column, reinterpret_cast<LPARAM>(&item));
}

void frmMain::ShowSortArrow() {
    SortArrow arrow = ShowSortArrowFor(CurrentSortMode(), bOptions_HidePathColumn);
    SetHeaderSortArrow(arrow.column, arrow.state);
}

void frmMain::ClearSortArrow() {
    SortArrow arrow = ClearSortArrowFor(CurrentSortMode(), bOptions_HidePathColumn);
    SetHeaderSortArrow(arrow.column, arrow.state);
}

void frmMain::lvwFolders_ColumnClick(int column) {
    // The favorites' header is no row of buttons.
    if (lCurrentView != 1 && lCurrentView != 2) return;
    ClearSortArrow();
    auto view = static_cast<FolderView>(lCurrentView);
    int mode = SortModeAfterColumnClick(view, CurrentSortMode(), column, bOptions_HidePathColumn);
    if (lCurrentView == 1) {
        lSortingLastUsed = mode;
        WriteNumber(Setting::SortingLastUsed, mode);
    } else {
        lSortingMostUsed = mode;
        WriteNumber(Setting::SortingMostUsed, mode);
    }
    ShowSortArrow();
    RefreshList();
}

// ---- Entries ----

void frmMain::lvwFolders_Click(const cListView::MouseEvent& event) {
    lLastMouseButton_ = event.button;
    if (event.index < 0) return;
    if (event.button == 2) {
        lvwFolders_ItemRightClick(event.index);
    } else {
        lvwFolders_ItemClick(event.index);
    }
}

void frmMain::lvwFolders_ItemClick(int index) {
    if (lLastMouseButton_ == 2) return;
    std::wstring path = lvwFolders.ItemTag(index);
    if (path.empty()) return;
    sActionFolderPath = path;
    OpenRequest request = PlainClickRequest();
    OpenFolder(path, request.invertOpenMode, request.invertReuse);
}

void frmMain::SetItemSelectedAndFocused(int index) {
    if (index < 0 || index >= lvwFolders.ItemCount()) return;
    LVITEMW item{};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = 15;
    SendMessageW(lvwFolders.hWndListView(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

bool frmMain::MouseOverList() const {
    POINT p{};
    if (!GetCursorPos(&p)) return false;
    HWND under = WindowFromPoint(p);
    HWND list = lvwFolders.hWnd();
    return under && list && (under == list || IsChild(list, under));
}

int frmMain::KeyActionEntry() const {
    if (bMessagePaneShown || lvwFolders.ItemCount() == 0) return -1;
    // The entry under the pointer is the one the keys mean; without one, the
    // selected entry.
    if (MouseOverList()) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(lvwFolders.hWndListView(), &p);
        int index = lvwFolders.HitTest(p);
        if (index >= 0) return index;
    }
    return lvwFolders.FirstSelected();
}

// ---- Keys ----

LRESULT CALLBACK frmMain::KeyPreviewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data) {
    auto* self = reinterpret_cast<frmMain*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &frmMain::KeyPreviewProc, id);
        return DefSubclassProc(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    if (self && self->hwnd_ && self->OnControlKey(hwnd, msg, wParam, lParam, result)) return result;
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool frmMain::OnControlKey(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    const auto key = static_cast<WORD>(wParam);
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // An open drop-down closes with Esc and must not take the window along.
            if (key == VK_ESCAPE && control == cmbMostUsedTimeframe &&
                SendMessageW(cmbMostUsedTimeframe, CB_GETDROPPEDSTATE, 0, 0)) {
                escapeClosedDropDown_ = true;
                return false;
            }
            swallowChar_ = Form_KeyDown(key);
            return swallowChar_;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (swallowChar_) {
                swallowChar_ = false;
                return true;
            }
            // A one-line box beeps at Enter and Esc; both mean something else here.
            return control == txtFind && (wParam == VK_RETURN || wParam == VK_ESCAPE);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (key == VK_ESCAPE && escapeClosedDropDown_) {
                escapeClosedDropDown_ = false;
                return false;
            }
            if (Form_KeyUp(key)) return true;
            if (control == txtFind && msg == WM_KEYUP) {
                result = DefSubclassProc(control, msg, wParam, lParam);
                txtFind_KeyUp(key);
                return true;
            }
            return false;
        default:
            return false;
    }
}

bool frmMain::Form_KeyDown(WORD key) {
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    switch (key) {
        case 'F':
        case 'E':
            if (!ctrl) return false;
            if (lCurrentView != 1) {
                int position = TabPositionForView(FolderView::LastUsed, bOptions_bShowFavoritesTabFirst);
                TabCtrl_SetCurSel(tabOB, position - 1);
                // At once, as a tick would; a fill in progress leaves it to the timer.
                tabOB_Click();
                tmrTabs_Timer();
                if (!hwnd_) return true;
            }
            SetFocus(txtFind);
            return true;
        case 'C': {
            if (!ctrl || !MouseOverList()) return false;
            // The search box copies its own selected text.
            if (GetFocus() == txtFind) {
                DWORD start = 0, end = 0;
                SendMessageW(txtFind, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
                if (start != end) return false;
            }
            int index = KeyActionEntry();
            if (index < 0) return true;
            SetItemSelectedAndFocused(index);
            sActionFolderPath = lvwFolders.ItemTag(index);
            if (!sActionFolderPath.empty()) mnuPopUpFolderCopyPath_Click();
            return true;
        }
        case VK_DELETE: {
            if (lCurrentView == 3) return false;
            if (!DeleteKeyRemovesEntry(static_cast<FolderView>(lCurrentView), findCue_ ? std::wstring() : FindText()))
                return false;
            int index = KeyActionEntry();
            if (index < 0) return true;
            sActionFolderPath = lvwFolders.ItemTag(index);
            if (!sActionFolderPath.empty()) mnuPopUpFolderRemove_Click();
            return true;
        }
        case VK_RETURN: {
            if (GetFocus() != lvwFolders.hWndListView()) return false;
            int index = lvwFolders.FirstSelected();
            if (index < 0) return false;
            lLastMouseButton_ = 1;
            lvwFolders_ItemClick(index);
            UnloadSoon();
            return true;
        }
        case VK_ESCAPE:
            return true;  // acted on when released; pressed, it only beeps
        case VK_MENU:
            if (!bMenuBarShown && !bMenuBarShownForAlt) SetFocus(lvwFolders.hWndListView());
            return false;
        default:
            return false;
    }
}

bool frmMain::Form_KeyUp(WORD key) {
    if (key != VK_ESCAPE) return false;
    HWND focus = GetFocus();
    std::wstring text = findCue_ ? std::wstring() : FindText();
    switch (EscapeReleased(static_cast<FolderView>(lCurrentView), focus == txtFind, text, focus == cmdShowMenu,
                           bOptions_ExitBehavior)) {
        case EscapeAction::ResetSearch:
            ResetSearch();
            return true;
        case EscapeAction::Minimize:
            ShowWindow(hwnd_, SW_MINIMIZE);
            return true;
        case EscapeAction::Unload:
            RemoveAllHooks();
            UnloadSoon();
            return true;
        case EscapeAction::None:
            return false;
    }
    return false;
}

// ---- The mouse-leave watch ----

void frmMain::EnableMouseLeaveWatch() {
    if (hwnd_) tmrMouseLeaveCheckerEnabled_ = SetTimer(hwnd_, tmrMouseLeaveChecker, 75, nullptr) != 0;
}

void frmMain::DisableMouseLeaveWatch() {
    if (hwnd_) KillTimer(hwnd_, tmrMouseLeaveChecker);
    tmrMouseLeaveCheckerEnabled_ = false;
}

void frmMain::tmrMouseLeaveChecker_Timer() {
    POINT p{};
    if (!GetCursorPos(&p)) return;
    HWND under = WindowFromPoint(p);
    HWND root = under ? GetAncestor(under, GA_ROOT) : nullptr;
    // The window's own tips are windows of their own but part of it.
    if (root == hwnd_ || (root && GetAncestor(root, GA_ROOTOWNER) == hwnd_)) return;
    DisableMouseLeaveWatch();
    if (MouseLeaveActionFor(bOptions_ExitBehavior) == MouseLeaveAction::Unload) {
        Unload();
    } else {
        MinimizeAfterOpen();
    }
}

void frmMain::MinimizeAfterOpen() {
    // The topmost hold ends with the minimizing; restored, the window is an
    // ordinary one again.
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_MINIMIZE);
    bFolderOpened = false;
}

}  // namespace pw
