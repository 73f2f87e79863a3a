// The search box of the last-used list: the grey cue text while it is empty
// and unfocused, the live refresh on every key release, and its reset.
#include "AppFlags.h"
#include "FolderListKeys.h"
#include "frmMain.h"

namespace pw {

std::wstring frmMain::FindText() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(txtFind)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(txtFind, text.data(), static_cast<int>(text.size()))));
    return text;
}

void frmMain::RefillFolderList(bool bRebuildGroups) {
    FillFolderList(bRebuildGroups);
    if (hwnd_ && lCurrentView == 1) UpdateFindPictures();
}

// The magnifier while there is no search, the reset cross while there is one.
void frmMain::UpdateFindPictures() {
    bool active = !findCue_ && IsSearchActive(FindText());
    HWND shown = active ? imgFindCancel : imgFind;
    HWND hidden = active ? imgFind : imgFindCancel;
    if (GetWindowLongPtrW(hidden, GWL_STYLE) & WS_VISIBLE) {
        ShowWindow(hidden, SW_HIDE);
        ShowWindow(shown, SW_SHOW);
    }
}

void frmMain::txtFind_GotFocus() {
    // The flag rather than the text: a user who typed the cue words keeps them.
    if (findCue_) SetWindowTextW(txtFind, L"");
    SetFindCue(false);
}

void frmMain::txtFind_LostFocus() {
    if (GetWindowTextLengthW(txtFind) != 0) return;
    SetWindowTextW(txtFind, std::wstring(kSearchCueText).c_str());
    SetFindCue(true);
}

void frmMain::txtFind_KeyUp(WORD keyCode) {
    bool ctrlHeld = GetKeyState(VK_CONTROL) < 0;
    switch (FindKeyReleased(keyCode, ctrlHeld)) {
        case FindKeyAction::None:
            return;
        case FindKeyAction::EnterList:
            txtFind_EnterOrDown(keyCode);
            return;
        case FindKeyAction::Refresh:
            break;
    }
    DoEvents();
    if (!hwnd_) return;
    RefreshSearch();
}

void frmMain::RefreshSearch() {
    switch (RequestRefresh(!bListFilled, tmrMustRefreshAfterNewFindEnabled_)) {
        case RefreshAction::FillNow:
            RefillFolderList(false);
            // The fill hands the focus to the list when it finds entries;
            // the user is still typing.
            if (hwnd_ && lCurrentView == 1) SetFocus(txtFind);
            break;
        case RefreshAction::ArmTimer:
            EnableRefreshTimer();
            break;
        case RefreshAction::AlreadyQueued:
            break;
    }
}

void frmMain::EnableRefreshTimer() {
    if (tmrMustRefreshAfterNewFindEnabled_) return;
    tmrMustRefreshAfterNewFindEnabled_ = SetTimer(hwnd_, tmrMustRefreshAfterNewFind, 10, nullptr) != 0;
}

void frmMain::tmrMustRefreshAfterNewFind_Timer() {
    if (!bListFilled) return;  // the running fill ends first; the refresh waits
    KillTimer(hwnd_, tmrMustRefreshAfterNewFind);
    tmrMustRefreshAfterNewFindEnabled_ = false;
    RefillFolderList(false);
    if (hwnd_ && lCurrentView == 1) SetFocus(txtFind);
}

void frmMain::ResetSearch() {
    SetWindowTextW(txtFind, L"");
    if (bListFilled) {
        RefillFolderList(false);
        if (hwnd_) SetFocus(txtFind);
    } else {
        EnableRefreshTimer();
    }
}

void frmMain::imgFindCancel_Click() { ResetSearch(); }

void frmMain::txtFind_EnterOrDown(WORD keyCode) {
    int count = bMessagePaneShown ? 0 : lvwFolders.ItemCount();
    switch (FindEnterPressed(keyCode, count)) {
        case FindEnterAction::None:
            return;
        case FindEnterAction::OpenSingleEntry:
            lLastMouseButton_ = 1;
            lvwFolders_ItemClick(0);
            UnloadSoon();
            return;
        case FindEnterAction::FocusFirstEntry: {
            std::vector<int> order = lvwFolders.DisplayOrder();
            int first = order.empty() ? 0 : order.front();
            SetFocus(lvwFolders.hWndListView());
            SetItemSelectedAndFocused(first);
            lvwFolders.EnsureVisible(first);
            return;
        }
    }
}

}  // namespace pw
