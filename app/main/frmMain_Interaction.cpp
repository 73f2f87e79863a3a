// The lists and what the user does with them: the fill from the history,
// moving between the lists, the time frame of the most-used list, the
// search box, sorting by column, opening entries by mouse and keyboard, the
// keys of the whole window and the watch that lets the window go once the
// mouse leaves it after a folder was opened.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <utility>

#include "Database.h"
#include "FolderListKeys.h"
#include "FolderListPane.h"
#include "HistoryFiles.h"
#include "ProgramNames.h"
#include "ResText.h"
#include "Settings.h"
#include "ShellFolders.h"
#include "Text.h"
#include "app_res.h"
#include "frmMain.h"
#include "modTaskDialog.h"

namespace pw {
namespace {

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void frmMain::InitInteraction() {
    cListView& list = list_.View();
    list.OnClick = [this](const cListView::MouseEvent& event) { lvwFolders_Click(event); };
    list.OnColumnClick = [this](int column) { lvwFolders_ColumnClick(column); };
    searchBox_.imgFindCancel_Click = [this] { ResetSearch(); };
    // The window sees the keys before its controls do, whichever has the focus.
    for (HWND control : {searchBox_.Edit(), list_.ListHwnd(), tabOB_, cmbMostUsedTimeframe_, cmdShowMenu_}) {
        SubclassControl(control, this);
    }
    if (lCurrentView_ == FolderView::LastUsed)
        searchBox_.UpdatePictures();
}

// ---- The fill ----

void frmMain::FillFolderList(bool bRebuildGroups) {
    const FolderView view = lCurrentView_;
    if (!Hwnd() || (view != FolderView::LastUsed && view != FolderView::MostUsed))
        return;
    HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    LockWindowUpdate(Hwnd());

    HistoryFill fill;
    fill.view = view;
    fill.searchText = searchBox_.SearchText();
    fill.timeframe = SelectedTimeframe();
    fill.ignoreFilter = sIgnoreFilter_;
    fill.sortMode = SortModeOf(view);
    fill.rebuildGroups = bRebuildGroups;
    // The window is seen sooner with the shell's icons a moment after it.
    fill.iconsLater = setup_.show && !firstPaintDone_;
    std::string problem;
    int problemNumber = 0;
    // A damaged history is set aside and rebuilt with what can still be
    // read, and the list filled from the new one.
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool damaged = false;
        problem.clear();
        problemNumber = 0;
        {
            cDatabase db;
            bool open = OpenHistory(db);
            StartupPhaseDone("history open");
            if (!open) {
                problem = db.LastError();
                problemNumber = db.Damaged() ? db.LastErrorCode() : cDatabase::kCannotOpen;
                damaged = db.Damaged();
            }
            if (!list_.FillFromHistory(open ? &db : nullptr, fill) && open) {
                problem = db.LastError();
                problemNumber = db.LastErrorCode();
                damaged = db.Damaged();
            }
        }
        if (!damaged || attempt > 0 || !RepairDamagedHistory(HistoryFilesAt(HistoryPath(), setup_.programFolder)))
            break;
        PostMessageW(Hwnd(), kShowDamagedHistoryNotice, 0, 0);
    }
    LockWindowUpdate(nullptr);
    InvalidateRect(list_.ListHwnd(), nullptr, TRUE);
    if (problemNumber != 0)
        ShowReadProblem(problem, problemNumber);

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

bool frmMain::OpenHistory(cDatabase& db) {
    const std::wstring path = HistoryPath();
    if (db.Open(path))
        return true;
    if (FileExists(path))
        return false;
    EnsureHistory(HistoryFilesAt(path, setup_.programFolder));
    std::wstring roaming = GetShellFolderPath(CSIDL_APPDATA);
    if (!roaming.empty()) {
        std::wstring link = roaming + L"\\" + kQuickLaunchLink;
        if (!FileExists(link)) {
            CreateShortcut(link, setup_.programFolder + L"\\" + kMainProgram, setup_.programFolder, L"", L"", L"", 0,
                           SW_SHOWNORMAL);
        }
    }
    return db.Open(path);
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
    SetFocus(searchBox_.Edit());
    std::wstring title = ResText(IDS_SEARCH_TIP_TITLE), text = ResText(IDS_SEARCH_TIP_TEXT);
    EDITBALLOONTIP tip{};
    tip.cbStruct = sizeof tip;
    tip.pszTitle = title.c_str();
    tip.pszText = text.c_str();
    tip.ttiIcon = TTI_INFO;
    // Systems without the message (comctl32 before version 6) just go on.
    SendMessageW(searchBox_.Edit(), EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
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
                SetFocus(searchBox_.Edit());
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
        SetFocus(searchBox_.Edit());
}

void frmMain::ResetSearch() {
    searchBox_.Clear();
    RefillFolderList(false);
    if (Hwnd())
        SetFocus(searchBox_.Edit());
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
            RefreshList();
            return;
    }
}

void frmMain::txtFind_EnterOrDown(WORD keyCode) {
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

void frmMain::lvwFolders_ColumnClick(int column) {
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

void frmMain::lvwFolders_Click(const cListView::MouseEvent& event) {
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
    LRESULT result = 0;
    if (PreviewKey(control, msg, wParam, lParam, result))
        return result;
    return DefSubclassProc(control, msg, wParam, lParam);
}

bool frmMain::PreviewKey(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    const auto key = static_cast<WORD>(wParam);
    switch (msg) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // An open drop-down closes with Esc and must not take the window along.
            if (key == VK_ESCAPE && control == cmbMostUsedTimeframe_ &&
                SendMessageW(cmbMostUsedTimeframe_, CB_GETDROPPEDSTATE, 0, 0)) {
                escapeClosedDropDown_ = true;
                return false;
            }
            if (key == VK_ESCAPE)
                escapeDown_ = true;
            swallowChar_ = Form_KeyDown(key);
            return swallowChar_;
        case WM_CHAR:
        case WM_SYSCHAR:
            if (swallowChar_) {
                swallowChar_ = false;
                return true;
            }
            // A one-line box beeps at Enter and Esc; both mean something else here.
            return control == searchBox_.Edit() && (wParam == VK_RETURN || wParam == VK_ESCAPE);
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (key == VK_ESCAPE && escapeClosedDropDown_) {
                escapeClosedDropDown_ = false;
                return false;
            }
            // The release of an Esc that closed a dialog of the window comes
            // here once the dialog is gone; it must not close the window too.
            if (key == VK_ESCAPE && !std::exchange(escapeDown_, false))
                return false;
            if (Form_KeyUp(key))
                return true;
            if (control == searchBox_.Edit() && msg == WM_KEYUP) {
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
            if (!ctrl)
                return false;
            // At once, as a tick of tmrTabs would.
            if (lCurrentView_ != FolderView::LastUsed)
                SelectLastUsedTab();
            if (Hwnd())
                SetFocus(searchBox_.Edit());
            return true;
        case 'C': {
            if (!ctrl || !MouseOverList())
                return false;
            // The search box copies its own selected text.
            if (GetFocus() == searchBox_.Edit()) {
                DWORD start = 0, end = 0;
                SendMessageW(searchBox_.Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                             reinterpret_cast<LPARAM>(&end));
                if (start != end)
                    return false;
            }
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
        case VK_RETURN: {
            if (GetFocus() != list_.ListHwnd())
                return false;
            // The entries under a message pane are not the ones it speaks of.
            if (messagePane_.Shown())
                return true;
            int index = list_.View().FirstSelected();
            if (index < 0)
                return false;
            lLastMouseButton_ = 1;
            lvwFolders_ItemClick(index);
            UnloadSoon();
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
    switch (EscapeReleased(lCurrentView_, focus == searchBox_.Edit(), searchBox_.Text(), focus == cmdShowMenu_,
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
