// What the user does in the main window, loaded in the test's process over a
// scratch history: typing a search, the tabs, the time frame, sorting by
// column, clicking and keying entries, the context menu and the watch that
// lets the window go after a folder was opened. Folders open through a fake
// window collection, so no Explorer window is touched.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Database.h"
#include "FakeFolderShell.h"
#include "FolderActions.h"
#include "MainWindowSupport.h"

namespace pw::test {
namespace {

std::wstring TempFolder() { return ScratchFolder(L"PfadwerkInteractionTests"); }

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

class Interaction : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetUser();
        database_ = FreshScratchHistory(TempFolder());
        ASSERT_FALSE(database_.empty());
        // A user past the first run who has seen every one-time tip, and whose
        // window stays when another window takes the focus.
        Store(Setting::SetupDone, 1);
        Store(Setting::TipShown_SearchFolder, 1);
        Store(Setting::TipShown_CopyPath, 1);
        Store(Setting::TipShown_RemoveEntry, 1);
        Store(Setting::ExitBehavior, 3);
        quitte_ = MakeFolder(L"Quitte");
        birne_ = MakeFolder(L"Birne");
        Visit(birne_, L"Birne", 2);
        Visit(quitte_, L"Quitte", 1);
    }
    void TearDown() override {
        form_.reset();
        ForgetUser();
        DeleteTree(TempFolder());
    }

    std::wstring MakeFolder(const std::wstring& name) {
        std::wstring path = TempFolder() + L"\\" + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

    void Visit(const std::wstring& path, const std::wstring& name, long long hoursAgo) {
        LocalTime when = FromSeconds(SecondsSinceEpoch(SystemLocalTime()) - hoursAgo * 3600);
        cDatabase db;
        ASSERT_TRUE(db.Open(database_, [when] { return when; }));
        ASSERT_TRUE(db.AppendVisit(path, name));
    }

    int VisitsOf(const std::wstring& path) {
        cDatabase db;
        EXPECT_TRUE(db.Open(database_));
        int count = 0;
        db.Query(L"SELECT FoldersProtocol.FolderPath FROM FoldersProtocol WHERE FoldersProtocol.FolderPath = '" +
                     path + L"';",
                 [&](const auto&) {
                     ++count;
                     return true;
                 });
        return count;
    }

    frmMain& Load(bool show = true) {
        bMainWindowUnloaded = false;
        frmMainOptions options;
        options.programFolder = DistFolder();
        options.show = show;
        options.singleInstance = false;
        options.databasePath = database_;
        form_ = std::make_unique<frmMain>(options);
        form_->folderActionServices.makeShell = [this] { return std::make_unique<cFakeShell>(shell_, windows_); };
        EXPECT_TRUE(form_->Load());
        Pump(50);
        return *form_;
    }

    // A key as the keyboard delivers it to the control with the focus.
    static void Key(HWND control, WORD key, wchar_t character = 0) {
        SendMessageW(control, WM_KEYDOWN, key, 1);
        if (character) SendMessageW(control, WM_CHAR, character, 1);
        SendMessageW(control, WM_KEYUP, key, 0xC0000001);
    }
    void Type(const std::wstring& text) {
        for (wchar_t c : text) Key(form_->txtFind, static_cast<WORD>(towupper(c)), c);
    }
    static void SetCtrl(bool down) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    void Notify(UINT code, int item, int subItem = 0) {
        NMITEMACTIVATE note{};
        note.hdr.hwndFrom = form_->lvwFolders.hWndListView();
        note.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(note.hdr.hwndFrom));
        note.hdr.code = code;
        note.iItem = item;
        note.iSubItem = subItem;
        SendMessageW(form_->lvwFolders.hWnd(), WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
    }
    void ClickEntry(int index) { Notify(NM_CLICK, index); }
    void ClickColumn(int column) {
        NMLISTVIEW note{};
        note.hdr.hwndFrom = form_->lvwFolders.hWndListView();
        note.hdr.code = LVN_COLUMNCLICK;
        note.iItem = -1;
        note.iSubItem = column;
        SendMessageW(form_->lvwFolders.hWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
    }
    void SelectTab(int index) {
        TabCtrl_SetCurSel(form_->tabOB, index);
        NMHDR note{form_->tabOB, static_cast<UINT_PTR>(GetDlgCtrlID(form_->tabOB)), TCN_SELCHANGE};
        SendMessageW(form_->hWnd(), WM_NOTIFY, note.idFrom, reinterpret_cast<LPARAM>(&note));
    }

    int EntryIndex(const std::wstring& path) const {
        for (int i = 0; i < form_->lvwFolders.ItemCount(); ++i) {
            if (form_->lvwFolders.ItemTag(i) == path) return i;
        }
        return -1;
    }
    // The middle of an entry, in screen pixels.
    POINT EntryPoint(int index) const {
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageW(form_->lvwFolders.hWndListView(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(form_->lvwFolders.hWndListView(), &p);
        return p;
    }
    void PointerInsideWindow() const {
        RECT r{};
        GetWindowRect(form_->hWnd(), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // A screen corner the window does not cover.
    void PointerOutsideWindow() const {
        RECT r{};
        GetWindowRect(form_->hWnd(), &r);
        const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
        for (POINT p : {POINT{0, 0}, POINT{w, 0}, POINT{0, h}, POINT{w, h}}) {
            if (!PtInRect(&r, p)) {
                SetCursorPos(p.x, p.y);
                return;
            }
        }
    }
    bool Visible(HWND hwnd) const { return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }
    int SortFlags(int column) const {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(form_->lvwFolders.hWndHeader(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    }

    std::wstring database_, quitte_, birne_;
    std::unique_ptr<frmMain> form_;
    cFakeShell::Log shell_;
    std::vector<ShellWindowInfo> windows_;
};

// ---- Search box ----

TEST_F(Interaction, EveryKeyRefreshesAndKeysDuringAFillWaitForItWithTheLastText) {
    frmMain& form = Load();
    ASSERT_EQ(2, form.lvwFolders.ItemCount());
    SetFocus(form.txtFind);
    Type(L"quit");
    EXPECT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"Quitte", form.lvwFolders.ItemText(0));
    EXPECT_EQ(form.txtFind, GetFocus()) << "the user is still typing";
    EXPECT_FALSE(form.RefreshQueued());

    // Keys that move the caret refresh nothing.
    form.bListFilled = false;
    Key(form.txtFind, VK_LEFT);
    Key(form.txtFind, VK_END);
    EXPECT_FALSE(form.RefreshQueued());

    // While a fill runs, a burst of keys queues one refresh that waits for it.
    Type(L"xy");
    EXPECT_TRUE(form.RefreshQueued());
    Pump(150);
    EXPECT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_FALSE(form.bMessagePaneShown);
    form.bListFilled = true;
    ASSERT_TRUE(PumpUntil([&] { return !form.RefreshQueued(); }));
    EXPECT_TRUE(form.bMessagePaneShown);
    EXPECT_NE(std::wstring::npos, TextOf(form.lblMessage).find(L"'quitxy'")) << TextOf(form.lblMessage);
    EXPECT_EQ(form.txtFind, GetFocus());
}

TEST_F(Interaction, EscAndTheCancelPictureResetTheSearchAndEscOnAnEmptyBoxCloses) {
    frmMain& form = Load();
    SetFocus(form.txtFind);
    Type(L"birn");
    ASSERT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_TRUE(Visible(form.imgFindCancel));
    EXPECT_FALSE(Visible(form.imgFind));

    SetFocus(form.txtFind);
    Key(form.txtFind, VK_ESCAPE, 27);
    EXPECT_EQ(L"", TextOf(form.txtFind));
    EXPECT_EQ(2, form.lvwFolders.ItemCount());
    EXPECT_TRUE(Visible(form.imgFind));
    EXPECT_FALSE(Visible(form.imgFindCancel));
    Pump(100);
    ASSERT_NE(nullptr, form.hWnd()) << "Esc in a search only resets it";

    Type(L"quit");
    ASSERT_EQ(1, form.lvwFolders.ItemCount());
    HWND host = GetParent(form.imgFindCancel);
    SendMessageW(host, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.imgFindCancel), STN_CLICKED),
                 reinterpret_cast<LPARAM>(form.imgFindCancel));
    EXPECT_EQ(L"", TextOf(form.txtFind));
    EXPECT_EQ(2, form.lvwFolders.ItemCount());

    // Nothing left to reset: Esc closes the window (ExitBehavior 3 unloads too).
    SetFocus(form.txtFind);
    Key(form.txtFind, VK_ESCAPE, 27);
    EXPECT_TRUE(PumpUntil([&] { return form.hWnd() == nullptr; }));
}

TEST_F(Interaction, EscMinimizesForExitBehaviorTwo) {
    Store(Setting::ExitBehavior, 2);
    frmMain& form = Load();
    SetFocus(form.lvwFolders.hWndListView());
    Key(form.lvwFolders.hWndListView(), VK_ESCAPE, 27);
    EXPECT_TRUE(PumpUntil([&] { return form.hWnd() && IsIconic(form.hWnd()); }));
}

TEST_F(Interaction, CueTextComesAndGoesWithTheFocus) {
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();
    auto look = [&](COLORREF& colour, bool& italic) {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(GetParent(form.txtFind), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(form.txtFind));
        colour = GetTextColor(dc);
        DeleteDC(dc);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(form.txtFind, WM_GETFONT, 0, 0)), sizeof font, &font);
        italic = font.lfItalic != 0;
    };
    COLORREF colour = 0;
    bool italic = false;
    // Another list at start: the box shows its cue.
    EXPECT_EQ(L"Ordner suchen", TextOf(form.txtFind));
    look(colour, italic);
    EXPECT_EQ(RGB(180, 180, 180), colour);
    EXPECT_EQ(bVistaThemed, italic);

    SetFocus(form.txtFind);
    EXPECT_EQ(L"", TextOf(form.txtFind));
    look(colour, italic);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), colour);
    EXPECT_FALSE(italic);

    SetFocus(form.cmbMostUsedTimeframe);
    EXPECT_EQ(L"Ordner suchen", TextOf(form.txtFind));
    look(colour, italic);
    EXPECT_EQ(RGB(180, 180, 180), colour);

    // Typed text stays when the focus goes.
    SetFocus(form.txtFind);
    SetWindowTextW(form.txtFind, L"abc");
    SetFocus(form.cmbMostUsedTimeframe);
    EXPECT_EQ(L"abc", TextOf(form.txtFind));
    look(colour, italic);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), colour);
}

TEST_F(Interaction, EnterWithOneHitOpensItAndClosesWithTwoHitsMovesToTheFirst) {
    Store(Setting::ExitBehavior, 5);
    frmMain& form = Load();
    SetFocus(form.txtFind);
    Type(L"e");  // both folder names hold an e
    ASSERT_EQ(2, form.lvwFolders.ItemCount());
    SetFocus(form.txtFind);
    Key(form.txtFind, VK_RETURN, L'\r');
    EXPECT_TRUE(shell_.calls.empty());
    EXPECT_EQ(form.lvwFolders.hWndListView(), GetFocus());
    int first = form.lvwFolders.DisplayOrder().front();
    EXPECT_TRUE(form.lvwFolders.ItemSelected(first));
    EXPECT_TRUE(form.lvwFolders.ItemFocused(first));

    SetFocus(form.txtFind);
    Type(L"\b\bquit");
    ASSERT_EQ(1, form.lvwFolders.ItemCount()) << TextOf(form.txtFind);
    SetFocus(form.txtFind);
    Key(form.txtFind, VK_RETURN, L'\r');
    ASSERT_EQ(1u, shell_.calls.size());
    EXPECT_EQ(L"open plain " + quitte_, shell_.calls[0]);
    EXPECT_TRUE(PumpUntil([&] { return form.hWnd() == nullptr; }));
}

// ---- Tabs, time frame, sorting ----

TEST_F(Interaction, TabChangeStoresTheViewAndShowsItsControls) {
    frmMain& form = Load();
    struct Case {
        int tab;
        long view;
    };
    for (Case c : {Case{1, 2}, Case{2, 3}, Case{0, 1}}) {
        SelectTab(c.tab);
        ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == DWORD(c.view); })) << c.tab;
        EXPECT_EQ(c.view, form.lCurrentView);
        EXPECT_EQ(c.view == 1, Visible(form.picFindHost)) << c.view;
        EXPECT_EQ(c.view == 2, Visible(form.cmbMostUsedTimeframe)) << c.view;
        EXPECT_EQ(c.view == 3, Visible(form.picManageFavoritesHost)) << c.view;
    }
    // Back on the last-used list a search is shown again, the caret at its end.
    SetFocus(form.txtFind);
    Type(L"quit");
    SelectTab(1);
    ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == 2u; }));
    EXPECT_EQ(2, form.lvwFolders.ItemCount());
    SelectTab(0);
    ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == 1u; }));
    EXPECT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_EQ(form.txtFind, GetFocus());
    DWORD start = 0, end = 0;
    SendMessageW(form.txtFind, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(4u, start);
    EXPECT_EQ(4u, end);
}

TEST_F(Interaction, TabChangeWaitsForARunningFill) {
    frmMain& form = Load();
    form.bListFilled = false;
    SelectTab(1);
    Pump(100);
    EXPECT_EQ(1, form.lCurrentView);
    form.bListFilled = true;
    EXPECT_TRUE(PumpUntil([&] { return form.lCurrentView == 2; }));
}

TEST_F(Interaction, FavoritesFirstMapsTheTabsToTheirViews) {
    Store(Setting::ShowFavoritesTabFirst, 1);
    frmMain& form = Load();
    SelectTab(0);
    ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == 3u; }));
    SelectTab(2);
    ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == 2u; }));
    // Ctrl+F brings the last-used list, whichever tab it sits on.
    SetCtrl(true);
    SendMessageW(form.cmbMostUsedTimeframe, WM_KEYDOWN, 'F', 1);
    SetCtrl(false);
    EXPECT_EQ(1, form.lCurrentView);
    EXPECT_EQ(1, TabCtrl_GetCurSel(form.tabOB));
    EXPECT_EQ(1u, StoredNumber(Setting::ListTypeActive));
    EXPECT_EQ(form.txtFind, GetFocus());
}

TEST_F(Interaction, TimeFrameRefreshesTheListAndIsStored) {
    Visit(MakeFolder(L"Alt"), L"Alt", 24 * 10);
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();
    ASSERT_EQ(3, form.lvwFolders.ItemCount());
    SendMessageW(form.cmbMostUsedTimeframe, CB_SETCURSEL, 4, 0);  // "Letzte 7 Tage"
    SendMessageW(form.hWnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.cmbMostUsedTimeframe), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.cmbMostUsedTimeframe));
    EXPECT_EQ(2, form.lvwFolders.ItemCount());
    EXPECT_EQ(4u, StoredNumber(Setting::MRUTimeframe));

    // During a fill the refresh waits; the choice is stored at once.
    form.bListFilled = false;
    SendMessageW(form.cmbMostUsedTimeframe, CB_SETCURSEL, 0, 0);
    SendMessageW(form.hWnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(form.cmbMostUsedTimeframe), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.cmbMostUsedTimeframe));
    EXPECT_EQ(0u, StoredNumber(Setting::MRUTimeframe));
    EXPECT_EQ(2, form.lvwFolders.ItemCount());
    form.bListFilled = true;
    EXPECT_TRUE(PumpUntil([&] { return form.lvwFolders.ItemCount() == 3; }));
}

TEST_F(Interaction, ColumnClicksCycleTheSortModesAndStoreThem) {
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();
    auto names = [&] {
        std::vector<std::wstring> order;
        for (int i : form.lvwFolders.DisplayOrder()) order.push_back(form.lvwFolders.ItemText(i));
        return order;
    };
    ClickColumn(0);
    EXPECT_EQ(1, form.lSortingMostUsed);
    EXPECT_EQ(1u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(HDF_SORTDOWN, SortFlags(0));
    EXPECT_EQ((std::vector<std::wstring>{L"Quitte", L"Birne"}), names());
    ClickColumn(0);
    EXPECT_EQ(2u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(HDF_SORTUP, SortFlags(0));
    EXPECT_EQ((std::vector<std::wstring>{L"Birne", L"Quitte"}), names());
    ClickColumn(1);
    EXPECT_EQ(3u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(0, SortFlags(0)) << "the old arrow goes";
    EXPECT_EQ(HDF_SORTDOWN, SortFlags(1));
    ClickColumn(1);
    EXPECT_EQ(4u, StoredNumber(Setting::SortingMostUsed));
    ClickColumn(2);
    EXPECT_EQ(5u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(0, SortFlags(1));
    EXPECT_EQ(HDF_SORTDOWN, SortFlags(2));
    ClickColumn(2);
    EXPECT_EQ(6u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(HDF_SORTUP, SortFlags(2));

    // The last-used list returns to its date groups however often "Verwendet" is clicked.
    SelectTab(0);
    ASSERT_TRUE(PumpUntil([&] { return form.lCurrentView == 1; }));
    ClickColumn(0);
    EXPECT_EQ(1u, StoredNumber(Setting::SortingLastUsed));
    for (int i = 0; i < 2; ++i) {
        ClickColumn(2);
        EXPECT_EQ(5u, StoredNumber(Setting::SortingLastUsed));
        EXPECT_TRUE(form.lvwFolders.GroupsEnabled());
    }
    EXPECT_EQ(6, form.lSortingMostUsed) << "each list keeps its own mode";
}

TEST_F(Interaction, WithoutThePathColumnTheSecondColumnIsVerwendet) {
    Store(Setting::HidePathColumn, 1);
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();
    ASSERT_EQ(5, form.lSortingMostUsed);
    ClickColumn(1);
    EXPECT_EQ(6u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(6, form.lSortingMostUsed);
    EXPECT_EQ(HDF_SORTUP, SortFlags(1));
    ClickColumn(1);
    EXPECT_EQ(5u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(HDF_SORTDOWN, SortFlags(1));
    ClickColumn(0);
    EXPECT_EQ(1u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(0, SortFlags(1));
}

// ---- Context menu ----

std::vector<std::wstring> Captions(HMENU menu) {
    std::vector<std::wstring> captions;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        if (GetMenuStringW(menu, i, text, 128, MF_BYPOSITION) == 0) {
            captions.push_back(L"-");
        } else {
            captions.push_back(text);
        }
    }
    return captions;
}

TEST_F(Interaction, ContextMenuCaptionsFollowTheOptions) {
    frmMain& form = Load(false);
    struct Case {
        bool explorer, reuse;
        const wchar_t* first;
        const wchar_t* second;
    };
    for (Case c : {Case{false, false, L"Explorer (mit Ordnerleiste)", L"In vorhandenem Fenster öffnen"},
                   Case{true, false, L"Gewöhnliches Ordnerfenster öffnen", L"In vorhandenem Fenster öffnen"},
                   Case{false, true, L"Explorer (mit Ordnerleiste)", L"In neuem Fenster öffnen"},
                   Case{true, true, L"Gewöhnliches Ordnerfenster öffnen", L"In neuem Fenster öffnen"}}) {
        form.bOptions_DefaultOpenInExplorer = c.explorer;
        form.bOptions_ReuseFolderWindows = c.reuse;
        for (int versionClass : {0, 1, 2}) {
            HMENU menu = form.BuildPopUpFolderMenu(versionClass);
            std::vector<std::wstring> expected{c.second, L"-", L"Pfad kopieren", L"-", L"Aus Liste entfernen", L"-",
                                               L"Eigenschaften"};
            if (versionClass != 2) expected.insert(expected.begin(), c.first);
            EXPECT_EQ(expected, Captions(menu)) << c.explorer << c.reuse << versionClass;
            DestroyMenu(menu);
        }
    }
    // A favorite cannot be removed from the history.
    form.lCurrentView = 3;
    HMENU menu = form.BuildPopUpFolderMenu(1);
    EXPECT_EQ((std::vector<std::wstring>{L"Gewöhnliches Ordnerfenster öffnen", L"In neuem Fenster öffnen", L"-",
                                         L"Pfad kopieren", L"-", L"Eigenschaften"}),
              Captions(menu));
    DestroyMenu(menu);
}

TEST_F(Interaction, EntryClickAndMenuEntriesOpenAsTheOptionsSay) {
    windows_ = {ShellWindowInfo{true, GetDesktopWindow(), false}};
    frmMain& form = Load();
    int quitte = EntryIndex(quitte_);
    ASSERT_GE(quitte, 0);
    ClickEntry(quitte);
    EXPECT_EQ(quitte_, form.sActionFolderPath);
    EXPECT_FALSE(shell_.listed) << "reuse is off";
    ASSERT_EQ((std::vector<std::wstring>{L"open plain " + quitte_}), shell_.calls);
    EXPECT_TRUE(form.bFolderOpened);
    EXPECT_FALSE(form.MouseLeaveWatchEnabled()) << "ExitBehavior 3 keeps the window as it is";

    // "In vorhandenem Fenster öffnen" reuses the open folder window.
    shell_.calls.clear();
    form.mnuPopUpFolderOpenExisting_Click();
    EXPECT_EQ((std::vector<std::wstring>{L"front 0", L"navigate 0 " + quitte_}), shell_.calls);
    EXPECT_TRUE(form.MouseLeaveWatchEnabled()) << "after a reused window the watch runs always";

    // The other kind never reuses, whatever the option says.
    form.bOptions_ReuseFolderWindows = true;
    shell_ = {};
    form.mnuPopUpFolderExplorer_Click();
    EXPECT_FALSE(shell_.listed);
    EXPECT_EQ((std::vector<std::wstring>{L"open explorer " + quitte_}), shell_.calls);

    // A right click shows the menu (closed again unchosen here) and opens nothing.
    shell_ = {};
    form.sActionFolderPath.clear();
    SetTimer(nullptr, 0, 300, &CloseMenu);
    Notify(NM_RCLICK, EntryIndex(birne_));
    EXPECT_TRUE(shell_.calls.empty());
    EXPECT_EQ(birne_, form.sActionFolderPath);
    Pump(100);
    ASSERT_NE(nullptr, form.hWnd());
    // An action that asked for it (Tag "UNLOAD_NOW") has the window unloaded
    // once the menu has returned.
    form.Tag = L"UNLOAD_NOW";
    SetTimer(nullptr, 0, 300, &CloseMenu);
    Notify(NM_RCLICK, quitte);
    EXPECT_TRUE(form.Tag.empty());
    EXPECT_TRUE(PumpUntil([&] { return form.hWnd() == nullptr; }));
}

// ---- Keys on the entry under the mouse ----

TEST_F(Interaction, DelRemovesTheEntryUnderTheMouseFromTheHistory) {
    frmMain& form = Load();
    HWND list = form.lvwFolders.hWndListView();
    int birne = EntryIndex(birne_);
    ASSERT_GE(birne, 0);
    POINT p = EntryPoint(birne);
    SetCursorPos(p.x, p.y);
    ASSERT_EQ(list, WindowFromPoint(p));

    // With a search in the box, Del belongs to the box.
    SetFocus(form.txtFind);
    SetWindowTextW(form.txtFind, L"x");
    SendMessageW(form.txtFind, WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(1, VisitsOf(birne_));
    SetWindowTextW(form.txtFind, L"");

    SetFocus(list);
    SendMessageW(list, WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(birne_, form.sActionFolderPath);
    EXPECT_EQ(0, VisitsOf(birne_));
    EXPECT_EQ(1, VisitsOf(quitte_));
    EXPECT_TRUE(PumpUntil([&] { return form.lvwFolders.ItemCount() == 1; }));
    EXPECT_EQ(quitte_, form.lvwFolders.ItemTag(0));
}

TEST_F(Interaction, CtrlCCopiesThePathOfTheEntryUnderTheMouseOnly) {
    frmMain& form = Load();
    HWND list = form.lvwFolders.hWndListView();
    ASSERT_TRUE(PutTextOnClipboard(form.hWnd(), L"vorher"));
    auto clipboard = [&] {
        std::wstring text;
        if (OpenClipboard(form.hWnd())) {
            if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                    text = chars;
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
        }
        return text;
    };
    SetFocus(list);
    PointerOutsideWindow();
    SetCtrl(true);
    SendMessageW(list, WM_KEYDOWN, 'C', 1);
    EXPECT_EQ(L"vorher", clipboard()) << "the pointer is not over the list";

    int birne = EntryIndex(birne_);
    POINT p = EntryPoint(birne);
    SetCursorPos(p.x, p.y);
    SendMessageW(list, WM_KEYDOWN, 'C', 1);
    SetCtrl(false);
    EXPECT_EQ(birne_, clipboard());
    EXPECT_TRUE(form.lvwFolders.ItemSelected(birne));
    EXPECT_TRUE(form.lvwFolders.ItemFocused(birne));
}

// ---- After a folder was opened ----

TEST_F(Interaction, MouseLeavingUnloadsForExitBehaviorOne) {
    Store(Setting::ExitBehavior, 1);
    frmMain& form = Load();
    PointerInsideWindow();
    ClickEntry(EntryIndex(quitte_));
    ASSERT_TRUE(form.MouseLeaveWatchEnabled());
    EXPECT_TRUE(form.bFolderOpened);
    Pump(300);
    ASSERT_NE(nullptr, form.hWnd()) << "the pointer is still inside";
    PointerOutsideWindow();
    EXPECT_TRUE(PumpUntil([&] { return form.hWnd() == nullptr; }));
}

TEST_F(Interaction, MouseLeavingMinimizesForExitBehaviorTwo) {
    Store(Setting::ExitBehavior, 2);
    frmMain& form = Load();
    PointerInsideWindow();
    ClickEntry(EntryIndex(quitte_));
    ASSERT_TRUE(form.MouseLeaveWatchEnabled());
    PointerOutsideWindow();
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(form.hWnd()) != FALSE; }));
    EXPECT_FALSE(form.MouseLeaveWatchEnabled());
    EXPECT_FALSE(form.bFolderOpened);
}

// A window that stands in for the worker and keeps what it was sent.
struct FakeWorker {
    static inline std::wstring received;
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            received.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
            return TRUE;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    FakeWorker() {
        received.clear();
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PfadwerkTestWorker";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, kWorkerCaption, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }
    ~FakeWorker() { DestroyWindow(hwnd); }
    HWND hwnd = nullptr;
};

TEST_F(Interaction, PropertiesGoToTheWorkerAndTheWindowFollowsExitBehavior) {
    FakeWorker worker;
    ASSERT_NE(nullptr, worker.hwnd);
    Store(Setting::ExitBehavior, 1);
    frmMain& form = Load();
    form.sActionFolderPath = quitte_;
    form.mnuPopupProperties_Click();
    auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(form.hWnd()));
    EXPECT_EQ(L"\\Properties!" + std::to_wstring(handle) + L"|" + quitte_,
              FakeWorker::received);
    EXPECT_EQ(L"UNLOAD_NOW", form.Tag);

    form.Tag.clear();
    form.bOptions_ExitBehavior = 2;
    form.mnuPopupProperties_Click();
    EXPECT_TRUE(form.Tag.empty());
    EXPECT_TRUE(IsIconic(form.hWnd()));
}

}  // namespace
}  // namespace pw::test
