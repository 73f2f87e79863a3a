// The lists and what the user does with them: the fill from the history,
// moving between the lists, the time frame of the most-used list, what the
// search box and the list raise, sorting by column, opening entries and the
// watch that lets the window go once the mouse leaves it after a folder was
// opened. The keys of the whole window are in frmMain_Keys.cpp.
#include <windows.h>

#include <commctrl.h>

#include "Database.h"
#include "FolderListKeys.h"
#include "FolderListPane.h"
#include "HistoryFiles.h"
#include "RedrawHold.h"
#include "ResText.h"
#include "Settings.h"
#include "Text.h"
#include "app_res.h"
#include "frmMain.h"
#include "modTaskDialog.h"

namespace pw {

// ---- The fill ----

void frmMain::FillFolderList(bool bRebuildGroups) {
    const FolderView view = lCurrentView_;
    if (!Hwnd() || (view != FolderView::LastUsed && view != FolderView::MostUsed))
        return;
    HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    HistoryFill fill;
    fill.view = view;
    fill.searchText = searchBox_.SearchText();
    fill.timeframe = SelectedTimeframe();
    fill.ignoreFilter = sIgnoreFilter_;
    fill.sortMode = SortModeOf(view);
    fill.rebuildGroups = bRebuildGroups;
    // The window is seen sooner with the shell's icons a moment after it.
    fill.iconsLater = setup_.show && !firstPaintDone_;
    fill.historyOpened = [this] { StartupPhaseDone("history open"); };
    HistoryReadProblem problem;
    {
        cRedrawHold hold(Hwnd());
        problem = list_.FillFromHistoryFile(HistoryFilesAt(HistoryPath(), setup_.programFolder), fill);
    }
    if (problem.number != 0)
        ShowReadProblem(problem.description, problem.number);

    if (list_.EntryCount() > 0 && !bFirstRunPending_) {
        messagePane_.Hide();
        SetFocus(list_.ListHwnd());
        if (view == FolderView::LastUsed && !bSearchTipShown_)
            ShowSearchTip();
    } else {
        ShowMessagePane();
    }
    SetCursor(previousCursor ? previousCursor : LoadCursorW(nullptr, IDC_ARROW));
}

// The history file, made from the template when it is missing.
std::wstring frmMain::HistoryPath() const {
    return setup_.databasePath.empty() ? DatabasePath() : setup_.databasePath;
}

void frmMain::CompressDatabase() {
    CompactHistory(HistoryPath());
}

void frmMain::HistoryRepaired() {
    PostMessageW(Hwnd(), kShowDamagedHistoryNotice, 0, 0);
}

void frmMain::ShowReadProblem(const std::string& description, int number) {
    std::wstring text = FillPlaceholders(ResText(IDS_READ_PROBLEM), {FromUtf8(description), std::to_wstring(number)});
    Presenter().ShowMessageBox(Hwnd(), text, ResText(IDS_CAPTION), MB_OK | MB_ICONERROR);
}

void frmMain::ShowDamagedHistoryNotice() {
    std::wstring keptAs = TakeDamagedHistoryNotice();
    if (keptAs.empty() || !Hwnd())
        return;
    std::wstring text = FillPlaceholders(ResText(IDS_HISTORY_REPAIRED), {keptAs});
    RunInModalFrame(ModalFrame::ShellOrMessage,
                    [&] { Presenter().ShowMessageBox(Hwnd(), text, ResText(IDS_CAPTION), MB_OK | MB_ICONWARNING); });
}

void frmMain::RefillFolderList(bool bRebuildGroups) {
    FillFolderList(bRebuildGroups);
    if (Hwnd() && lCurrentView_ == FolderView::LastUsed)
        searchBox_.UpdatePictures();
}

void frmMain::ShowMessagePane() {
    int timeframe = SelectedTimeframe();
    wchar_t timeframeText[64] = {};
    if (timeframe >= 0 && SendMessageW(cmbMostUsedTimeframe_, CB_GETLBTEXTLEN, timeframe, 0) < 64) {
        SendMessageW(cmbMostUsedTimeframe_, CB_GETLBTEXT, timeframe, reinterpret_cast<LPARAM>(timeframeText));
    }
    messagePane_.Show(MessagePaneFor(lCurrentView_, searchBox_.SearchText(), timeframe, timeframeText,
                                     [](unsigned id) { return ResText(id); }));
}

// Once per user, after the first fill with entries: where the search is.
void frmMain::ShowSearchTip() {
    WriteNumber(Setting::TipShown_SearchFolder, 1);
    bSearchTipShown_ = true;
    bMustIgnoreSearchBalloonTipClick_ = true;
    if (setup_.show) {
        ShowWindow(Hwnd(), SW_SHOW);
        SetForegroundWindow(Hwnd());
    }
    searchBox_.Focus();
    searchBox_.ShowTip(ResText(IDS_SEARCH_TIP_TITLE), ResText(IDS_SEARCH_TIP_TEXT));
}

// ---- Tabs ----

// The tab change follows the click, once the click itself is done.
void frmMain::tabOB_Click() {
    if (!tmrTabsPosted_)
        tmrTabsPosted_ = PostMessageW(Hwnd(), kTabsTick, 0, 0) != FALSE;
}

void frmMain::tmrTabs_Tick() {
    tmrTabsPosted_ = false;
    if (!loaded_)
        return;
    list_.ClearSortArrow(SortModeOf(lCurrentView_));
    int position = TabCtrl_GetCurSel(tabOB_) + 1;
    lCurrentView_ = ViewForTabPosition(position, options_.showFavoritesTabFirst);
    ShowViewControls();
    switch (lCurrentView_) {
        case FolderView::LastUsed:
            list_.ShowSortArrow(lSortingLastUsed_);
            RefillFolderList(true);
            if (!Hwnd())
                return;
            if (!searchBox_.SearchText().empty()) {
                searchBox_.Focus();
                searchBox_.PutCaretAtEnd();
            }
            break;
        case FolderView::MostUsed:
            list_.ShowSortArrow(lSortingMostUsed_);
            RefillFolderList(true);
            break;
        case FolderView::Favorites:
            // The fill switches the list's redrawing on again.
            FillFavoritesList();
            break;
    }
    if (!Hwnd())
        return;
    WriteNumber(Setting::ListTypeActive, static_cast<int>(lCurrentView_));
}

void frmMain::SelectLastUsedTab() {
    int position = TabPositionForView(FolderView::LastUsed, options_.showFavoritesTabFirst);
    TabCtrl_SetCurSel(tabOB_, position - 1);
    tmrTabs_Tick();
}

// ---- Time frame and search ----

int frmMain::SelectedTimeframe() const {
    return static_cast<int>(SendMessageW(cmbMostUsedTimeframe_, CB_GETCURSEL, 0, 0));
}

void frmMain::cmbMostUsedTimeframe_Click() {
    // The selection made while loading is no choice of the user's.
    if (!loaded_)
        return;
    RefillFolderList(false);
    if (!Hwnd())
        return;
    WriteNumber(Setting::MRUTimeframe, SelectedTimeframe());
}

// A search refresh follows the key that asked for it, after whatever else is
// waiting; keys that come meanwhile ride on the same refresh, which then
// reads the box as it is.
void frmMain::RefreshList() {
    if (!refreshPosted_)
        refreshPosted_ = PostMessageW(Hwnd(), kMustRefreshAfterNewFindTick, 0, 0) != FALSE;
}

void frmMain::tmrMustRefreshAfterNewFind_Tick() {
    refreshPosted_ = false;
    if (!loaded_)
        return;
    RefillFolderList(false);
    // The fill hands the focus to the list when it finds entries; the user
    // is still typing.
    if (Hwnd() && lCurrentView_ == FolderView::LastUsed)
        searchBox_.Focus();
}

void frmMain::ResetSearch() {
    searchBox_.Clear();
    SearchCleared();
}

void frmMain::SearchChanged() {
    RefreshList();
}

void frmMain::SearchSubmitted() {
    EnterListFromSearch(VK_RETURN);
}

void frmMain::SearchMovedDown() {
    EnterListFromSearch(VK_DOWN);
}

void frmMain::SearchCleared() {
    RefillFolderList(false);
    if (Hwnd())
        searchBox_.Focus();
}

void frmMain::EnterListFromSearch(WORD keyCode) {
    int count = messagePane_.Shown() ? 0 : list_.EntryCount();
    switch (FindEnterPressed(keyCode, count)) {
        case FindEnterAction::None:
            return;
        case FindEnterAction::OpenSingleEntry:
            lLastMouseButton_ = 1;
            lvwFolders_ItemClick(0);
            UnloadSoon();
            return;
        case FindEnterAction::FocusFirstEntry: {
            std::vector<int> order = list_.View().DisplayOrder();
            int first = order.empty() ? 0 : order.front();
            SetFocus(list_.ListHwnd());
            SetItemSelectedAndFocused(first);
            list_.View().EnsureVisible(first);
            return;
        }
    }
}

// ---- Sorting ----

void frmMain::FolderColumnClicked(int column) {
    // The favorites' header is no row of buttons.
    if (lCurrentView_ == FolderView::Favorites)
        return;
    list_.ClearSortArrow(SortModeOf(lCurrentView_));
    SortMode mode = SortModeAfterColumnClick(lCurrentView_, SortModeOf(lCurrentView_), column, options_.hidePathColumn);
    if (lCurrentView_ == FolderView::LastUsed) {
        lSortingLastUsed_ = mode;
        WriteNumber(Setting::SortingLastUsed, static_cast<int>(mode));
    } else {
        lSortingMostUsed_ = mode;
        WriteNumber(Setting::SortingMostUsed, static_cast<int>(mode));
    }
    list_.ShowSortArrow(mode);
    RefillFolderList(false);
}

// ---- Entries ----

void frmMain::FolderClicked(const cListView::MouseEvent& event) {
    lLastMouseButton_ = event.button;
    if (event.index < 0)
        return;
    if (event.button == 2) {
        lvwFolders_ItemRightClick(event.index);
    } else {
        lvwFolders_ItemClick(event.index);
    }
}

void frmMain::lvwFolders_ItemClick(int index) {
    if (lLastMouseButton_ == 2)
        return;
    const FolderRow* row = list_.RowOf(index);
    if (!row || row->path.empty())
        return;
    sActionFolderPath_ = row->path;
    OpenRequest request = PlainClickRequest();
    OpenFolder(row->path, request.invertOpenMode, request.invertReuse);
}

void frmMain::SetItemSelectedAndFocused(int index) {
    if (index < 0 || index >= list_.EntryCount())
        return;
    LVITEMW item{};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = 15;
    SendMessageW(list_.ListHwnd(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

bool frmMain::FolderEntered(int selected) {
    // The entries under a message pane are not the ones it speaks of.
    if (messagePane_.Shown())
        return true;
    if (selected < 0)
        return false;
    lLastMouseButton_ = 1;
    lvwFolders_ItemClick(selected);
    UnloadSoon();
    return true;
}

// ---- The mouse-leave watch ----

void frmMain::EnableMouseLeaveWatch() {
    if (Hwnd())
        tmrMouseLeaveCheckerEnabled_ = SetTimer(Hwnd(), tmrMouseLeaveChecker, 75, nullptr) != 0;
}

void frmMain::DisableMouseLeaveWatch() {
    if (Hwnd())
        KillTimer(Hwnd(), tmrMouseLeaveChecker);
    tmrMouseLeaveCheckerEnabled_ = false;
}

void frmMain::tmrMouseLeaveChecker_Timer() {
    POINT p{};
    if (!GetCursorPos(&p))
        return;
    HWND under = WindowFromPoint(p);
    HWND root = under ? GetAncestor(under, GA_ROOT) : nullptr;
    // The window's own tips are windows of their own but part of it.
    if (root == Hwnd() || (root && GetAncestor(root, GA_ROOTOWNER) == Hwnd()))
        return;
    DisableMouseLeaveWatch();
    if (MouseLeaveActionFor(options_.exitBehavior) == MouseLeaveAction::Unload) {
        UnloadAfterJump();
    } else {
        MinimizeAfterOpen();
    }
}

// After a folder was opened the window is held on top while the watch runs;
// whatever ends that before the watch does lets go of both.
void frmMain::EndFolderOpenedHold() {
    if (!tmrMouseLeaveCheckerEnabled_)
        return;
    DisableMouseLeaveWatch();
    bFolderOpened_ = false;
    SetWindowPos(Hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmMain::MinimizeAfterOpen() {
    // The topmost hold ends with the minimizing; restored, the window is an
    // ordinary one again.
    SetWindowPos(Hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(Hwnd(), SW_MINIMIZE);
    bFolderOpened_ = false;
}

}  // namespace pw
