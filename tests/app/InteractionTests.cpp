// What the user does in the main window, loaded in the test's process over a
// scratch history: typing a search, the tabs, the time frame, sorting by
// column, clicking and keying entries, the context menu, the pop-up
// behaviour and the watch that lets the window go after a folder was opened.
// Folders open through a fake window collection, so no Explorer window is
// touched.
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
#include "IgnoreList.h"
#include "MainWindowSupport.h"
#include "ModalScript.h"
#include "ignore_res.h"
#include "modTaskDialog.h"
#include "WorkerProtocol.h"
#include "WorkerWindow.h"

namespace pw::test {
namespace {

std::wstring TempFolder() {
    return ScratchFolder(L"PfadwerkInteractionTests");
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

class Interaction : public cMainWindowTest {
  protected:
    Interaction() : cMainWindowTest(TempFolder()) {}
    void SetUp() override {
        cMainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        // A user who has seen every one-time tip, and whose window stays when
        // another window takes the focus.
        Store(Setting::TipShown_CopyPath, 1);
        Store(Setting::TipShown_RemoveEntry, 1);
        Store(Setting::ExitBehavior, 3);
        quitte_ = MakeFolder(L"Quitte");
        birne_ = MakeFolder(L"Birne");
        Visit(birne_, L"Birne", 2);
        Visit(quitte_, L"Quitte", 1);
    }

    void Visit(const std::wstring& path, const std::wstring& name, long long hoursAgo) {
        VisitAt(path, name, FromSeconds(SecondsSinceEpoch(SystemLocalTime()) - hoursAgo * 3600));
    }

    int VisitsOf(const std::wstring& path) {
        cDatabase db;
        EXPECT_TRUE(db.Open(database_));
        int count = 0;
        db.Query(L"SELECT FoldersProtocol.FolderPath FROM FoldersProtocol WHERE FoldersProtocol.FolderPath = '" + path +
                     L"';",
                 [&](const auto&) {
                     ++count;
                     return true;
                 });
        return count;
    }

    frmMain& Load(bool show = true) {
        frmMainSetup setup = TestSetup(show, database_);
        setup.folderActionServices.makeShell = [this] { return std::make_unique<cFakeShell>(shell_, windows_); };
        setup.folderActionServices.presenter = presenter_;
        setup.folderActionServices.family = family_;
        return Start(setup);
    }

    HWND Find() const { return Control(*form_, ctl::txtFind); }
    const cListView& List() const { return form_->FolderList().View(); }
    HWND ListHwnd() const { return form_->FolderList().ListHwnd(); }

    // A key as the keyboard delivers it to the control with the focus.
    static void Key(HWND control, WORD key, wchar_t character = 0) {
        SendMessageW(control, WM_KEYDOWN, key, 1);
        if (character)
            SendMessageW(control, WM_CHAR, character, 1);
        SendMessageW(control, WM_KEYUP, key, 0xC0000001);
    }
    // Typing into the search box, and the refreshes that follow the keys.
    void Type(const std::wstring& text) {
        for (wchar_t c : text)
            Key(Find(), static_cast<WORD>(towupper(c)), c);
        Pump(50);
    }
    static void SetCtrl(bool down) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }

    void Notify(UINT code, int item, int subItem = 0) {
        NMITEMACTIVATE note{};
        note.hdr.hwndFrom = ListHwnd();
        note.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(note.hdr.hwndFrom));
        note.hdr.code = code;
        note.iItem = item;
        note.iSubItem = subItem;
        SendMessageW(form_->FolderList().Hwnd(), WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
    }
    void ClickEntry(int index) { Notify(NM_CLICK, index); }
    // A right click on an entry; its context menu closes again unchosen.
    void RightClickEntry(int index) {
        SetTimer(nullptr, 0, 300, &CloseMenu);
        Notify(NM_RCLICK, index);
    }
    void Command(UINT command) { SendMessageW(form_->Hwnd(), WM_COMMAND, command, 0); }

    int EntryIndex(const std::wstring& path) const {
        for (int i = 0; i < List().ItemCount(); ++i) {
            const FolderRow* row = form_->FolderList().RowOf(i);
            if (row && row->path == path)
                return i;
        }
        return -1;
    }
    // The middle of an entry, in screen pixels.
    POINT EntryPoint(int index) const {
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageW(ListHwnd(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(ListHwnd(), &p);
        return p;
    }
    void PointerInsideWindow() const {
        RECT r{};
        GetWindowRect(form_->Hwnd(), &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // A screen corner the window does not cover.
    void PointerOutsideWindow() const {
        RECT r{};
        GetWindowRect(form_->Hwnd(), &r);
        const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
        for (POINT p : {POINT{0, 0}, POINT{w, 0}, POINT{0, h}, POINT{w, h}}) {
            if (!PtInRect(&r, p)) {
                SetCursorPos(p.x, p.y);
                return;
            }
        }
    }
    bool Visible(UINT id) const { return (GetWindowLongPtrW(Control(*form_, id), GWL_STYLE) & WS_VISIBLE) != 0; }
    int SortFlags(int column) const {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(List().hWndHeader(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    }
    std::wstring PaneText() const { return TextOf(Control(*form_, ctl::lblMessage)); }

    std::wstring quitte_, birne_;
    cFakeShell::Log shell_;
    std::vector<ShellWindowInfo> windows_;
    cDialogPresenter* presenter_ = nullptr;
    std::optional<WindowsFamily> family_;
};

// ---- Search box ----

TEST_F(Interaction, EveryKeyRefreshesOnceItIsDoneAndABurstRefreshesWithTheLastText) {
    frmMain& form = Load();
    ASSERT_EQ(2, List().ItemCount());
    SetFocus(Find());
    Key(Find(), 'Q', L'q');
    EXPECT_EQ(2, List().ItemCount()) << "the refresh follows the key";
    Type(L"uit");
    ASSERT_EQ(1, List().ItemCount());
    EXPECT_EQ(L"Quitte", List().ItemText(0));
    EXPECT_EQ(Find(), GetFocus()) << "the user is still typing";

    // Keys that move the caret refresh nothing.
    SetWindowTextW(Find(), L"birn");
    Key(Find(), VK_LEFT);
    Key(Find(), VK_END);
    Pump(50);
    EXPECT_EQ(L"Quitte", List().ItemText(0));
    SetWindowTextW(Find(), L"quit");
    SendMessageW(Find(), EM_SETSEL, 4, 4);

    // Keys that come faster than the refreshes: the list ends with the text
    // as it stands after the last of them.
    for (wchar_t c : std::wstring(L"xy")) {
        PostMessageW(Find(), WM_CHAR, c, 1);
        PostMessageW(Find(), WM_KEYUP, towupper(c), 0xC0000001);
    }
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Control(form, ctl::picMessagePane)) != FALSE; }));
    Pump(50);
    EXPECT_NE(std::wstring::npos, PaneText().find(L"'quitxy'")) << PaneText();
    EXPECT_EQ(Find(), GetFocus());
}

TEST_F(Interaction, EscAndTheCancelPictureResetTheSearchAndEscOnAnEmptyBoxCloses) {
    frmMain& form = Load();
    SetFocus(Find());
    Type(L"birn");
    ASSERT_EQ(1, List().ItemCount());
    EXPECT_TRUE(Visible(ctl::imgFindCancel));
    EXPECT_FALSE(Visible(ctl::imgFind));

    SetFocus(Find());
    Key(Find(), VK_ESCAPE, 27);
    EXPECT_EQ(L"", TextOf(Find()));
    EXPECT_EQ(2, List().ItemCount());
    EXPECT_TRUE(Visible(ctl::imgFind));
    EXPECT_FALSE(Visible(ctl::imgFindCancel));
    Pump(100);
    ASSERT_NE(nullptr, form.Hwnd()) << "Esc in a search only resets it";

    Type(L"quit");
    ASSERT_EQ(1, List().ItemCount());
    HWND cancel = Control(form, ctl::imgFindCancel);
    SendMessageW(GetParent(cancel), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(cancel), STN_CLICKED),
                 reinterpret_cast<LPARAM>(cancel));
    EXPECT_EQ(L"", TextOf(Find()));
    EXPECT_EQ(2, List().ItemCount());

    // Nothing left to reset: Esc closes the window (ExitBehavior 3 unloads too).
    SetFocus(Find());
    Key(Find(), VK_ESCAPE, 27);
    EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() == nullptr; }));
}

TEST_F(Interaction, EscMinimizesForExitBehaviorTwo) {
    Store(Setting::ExitBehavior, 2);
    frmMain& form = Load();
    SetFocus(ListHwnd());
    Key(ListHwnd(), VK_ESCAPE, 27);
    EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() && IsIconic(form.Hwnd()); }));
}

TEST_F(Interaction, CueTextComesAndGoesWithTheFocus) {
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();
    HWND timeframe = Control(form, ctl::cmbMostUsedTimeframe);
    auto look = [&](COLORREF& colour, bool& italic) {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(GetParent(Find()), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Find()));
        colour = GetTextColor(dc);
        DeleteDC(dc);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Find(), WM_GETFONT, 0, 0)), sizeof font, &font);
        italic = font.lfItalic != 0;
    };
    COLORREF colour = 0;
    bool italic = false;
    // Another list at start: the box shows its cue.
    EXPECT_EQ(L"Ordner suchen", TextOf(Find()));
    look(colour, italic);
    EXPECT_EQ(RGB(180, 180, 180), colour);
    EXPECT_EQ(form.Look().vistaThemed, italic);

    SetFocus(Find());
    EXPECT_EQ(L"", TextOf(Find()));
    look(colour, italic);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), colour);
    EXPECT_FALSE(italic);

    SetFocus(timeframe);
    EXPECT_EQ(L"Ordner suchen", TextOf(Find()));
    look(colour, italic);
    EXPECT_EQ(RGB(180, 180, 180), colour);

    // Typed text stays when the focus goes.
    SetFocus(Find());
    SetWindowTextW(Find(), L"abc");
    SetFocus(timeframe);
    EXPECT_EQ(L"abc", TextOf(Find()));
    look(colour, italic);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), colour);
}

TEST_F(Interaction, TheCueTextTypedByTheUserIsNoSearch) {
    Load();
    SetFocus(Find());
    Type(L"Ordner suchen");
    EXPECT_EQ(2, List().ItemCount());
    EXPECT_TRUE(Visible(ctl::imgFind));
}

TEST_F(Interaction, EnterWithOneHitOpensItAndClosesWithTwoHitsMovesToTheFirst) {
    Store(Setting::ExitBehavior, 5);
    frmMain& form = Load();
    SetFocus(Find());
    Type(L"e");  // both folder names hold an e
    ASSERT_EQ(2, List().ItemCount());
    SetFocus(Find());
    Key(Find(), VK_RETURN, L'\r');
    EXPECT_TRUE(shell_.calls.empty());
    EXPECT_EQ(ListHwnd(), GetFocus());
    int first = List().DisplayOrder().front();
    EXPECT_TRUE(List().ItemSelected(first));
    EXPECT_TRUE(List().ItemFocused(first));

    SetFocus(Find());
    Type(L"\b\bquit");
    ASSERT_EQ(1, List().ItemCount()) << TextOf(Find());
    SetFocus(Find());
    Key(Find(), VK_RETURN, L'\r');
    ASSERT_EQ(1u, shell_.calls.size());
    EXPECT_EQ(L"open plain " + quitte_, shell_.calls[0]);
    EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() == nullptr; }));
}

TEST_F(Interaction, EnterOnTheListDoesNothingWhileAPaneCoversIt) {
    frmMain& form = Load();
    ASSERT_EQ(2, List().ItemCount());
    SelectTab(form, 2);  // the favorites' pane over the history's entries
    Pump(50);
    ASSERT_TRUE(IsWindowVisible(Control(form, ctl::picMessagePane)));
    LVITEMW selected{};
    selected.state = selected.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(ListHwnd(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
    SetFocus(ListHwnd());
    Key(ListHwnd(), VK_RETURN, L'\r');
    Pump(100);
    EXPECT_TRUE(shell_.calls.empty());
    EXPECT_NE(nullptr, form.Hwnd());
}

// ---- Tabs, time frame, sorting ----

TEST_F(Interaction, TabChangeStoresTheViewAndShowsItsControls) {
    frmMain& form = Load();
    struct Case {
        int tab;
        FolderView view;
    };
    for (Case c : {Case{1, FolderView::MostUsed}, Case{2, FolderView::Favorites}, Case{0, FolderView::LastUsed}}) {
        SelectTab(form, c.tab);
        const DWORD stored = static_cast<DWORD>(c.view);
        ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == stored; })) << c.tab;
        EXPECT_EQ(c.view, form.CurrentView());
        EXPECT_EQ(c.view == FolderView::LastUsed, Visible(ctl::picFindHost)) << c.tab;
        EXPECT_EQ(c.view == FolderView::MostUsed, Visible(ctl::cmbMostUsedTimeframe)) << c.tab;
        EXPECT_EQ(c.view == FolderView::Favorites, Visible(ctl::picManageFavoritesHost)) << c.tab;
    }
    // Back on the last-used list a search is shown again, the caret at its end.
    SetFocus(Find());
    Type(L"quit");
    SelectTab(form, 1);
    ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == 2u; }));
    EXPECT_EQ(2, List().ItemCount());
    SelectTab(form, 0);
    ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == 1u; }));
    EXPECT_EQ(1, List().ItemCount());
    EXPECT_EQ(Find(), GetFocus());
    DWORD start = 0, end = 0;
    SendMessageW(Find(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(4u, start);
    EXPECT_EQ(4u, end);
}

TEST_F(Interaction, TabChangeFollowsTheClickAndClicksInARowEndOnTheLastTab) {
    frmMain& form = Load();
    SelectTab(form, 1);
    EXPECT_EQ(FolderView::LastUsed, form.CurrentView()) << "the click's own message is not done yet";
    SelectTab(form, 2);
    ASSERT_TRUE(PumpUntil([&] { return form.CurrentView() == FolderView::Favorites; }));
    Pump(50);
    EXPECT_EQ(FolderView::Favorites, form.CurrentView());
    EXPECT_EQ(3u, StoredNumber(Setting::ListTypeActive));
}

TEST_F(Interaction, FavoritesFirstMapsTheTabsToTheirViews) {
    Store(Setting::ShowFavoritesTabFirst, 1);
    frmMain& form = Load();
    SelectTab(form, 0);
    ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == 3u; }));
    SelectTab(form, 2);
    ASSERT_TRUE(PumpUntil([&] { return StoredNumber(Setting::ListTypeActive) == 2u; }));
    // Ctrl+F brings the last-used list at once, whichever tab it sits on.
    SetCtrl(true);
    SendMessageW(Control(form, ctl::cmbMostUsedTimeframe), WM_KEYDOWN, 'F', 1);
    SetCtrl(false);
    EXPECT_EQ(FolderView::LastUsed, form.CurrentView());
    EXPECT_EQ(1, TabCtrl_GetCurSel(Control(form, ctl::tabOB)));
    EXPECT_EQ(1u, StoredNumber(Setting::ListTypeActive));
    EXPECT_EQ(Find(), GetFocus());
}

TEST_F(Interaction, TimeFrameRefreshesTheListAndIsStored) {
    Visit(MakeFolder(L"Alt"), L"Alt", 24 * 10);
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();
    ASSERT_EQ(3, List().ItemCount());
    ChooseTimeframe(form, 4);  // "Letzte 7 Tage"
    EXPECT_EQ(2, List().ItemCount());
    EXPECT_EQ(4u, StoredNumber(Setting::MRUTimeframe));
    ChooseTimeframe(form, 0);
    EXPECT_EQ(3, List().ItemCount());
    EXPECT_EQ(0u, StoredNumber(Setting::MRUTimeframe));
}

TEST_F(Interaction, ColumnClicksCycleTheSortModesAndStoreThem) {
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();
    auto names = [&] {
        std::vector<std::wstring> order;
        for (int i : List().DisplayOrder())
            order.push_back(List().ItemText(i));
        return order;
    };
    ClickColumn(form, 0);
    EXPECT_EQ(SortMode::FolderDescending, form.SortModeOf(FolderView::MostUsed));
    EXPECT_EQ(1u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(HDF_SORTDOWN, SortFlags(0));
    EXPECT_EQ((std::vector<std::wstring>{L"Quitte", L"Birne"}), names());
    ClickColumn(form, 0);
    EXPECT_EQ(2u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(HDF_SORTUP, SortFlags(0));
    EXPECT_EQ((std::vector<std::wstring>{L"Birne", L"Quitte"}), names());
    ClickColumn(form, 1);
    EXPECT_EQ(3u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(0, SortFlags(0)) << "the old arrow goes";
    EXPECT_EQ(HDF_SORTDOWN, SortFlags(1));
    ClickColumn(form, 1);
    EXPECT_EQ(4u, StoredNumber(Setting::SortingMostUsed));
    ClickColumn(form, 2);
    EXPECT_EQ(5u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(0, SortFlags(1));
    EXPECT_EQ(HDF_SORTDOWN, SortFlags(2));
    ClickColumn(form, 2);
    EXPECT_EQ(6u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(HDF_SORTUP, SortFlags(2));

    // The last-used list returns to its date groups however often "Verwendet" is clicked.
    SelectTab(form, 0);
    ASSERT_TRUE(PumpUntil([&] { return form.CurrentView() == FolderView::LastUsed; }));
    ClickColumn(form, 0);
    EXPECT_EQ(1u, StoredNumber(Setting::SortingLastUsed));
    for (int i = 0; i < 2; ++i) {
        ClickColumn(form, 2);
        EXPECT_EQ(5u, StoredNumber(Setting::SortingLastUsed));
        EXPECT_TRUE(List().GroupsEnabled());
    }
    EXPECT_EQ(SortMode::UsedAscending, form.SortModeOf(FolderView::MostUsed)) << "each list keeps its own mode";
}

TEST_F(Interaction, WithoutThePathColumnTheSecondColumnIsVerwendet) {
    Store(Setting::HidePathColumn, 1);
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();
    ASSERT_EQ(SortMode::UsedDescending, form.SortModeOf(FolderView::MostUsed));
    ClickColumn(form, 1);
    EXPECT_EQ(6u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(SortMode::UsedAscending, form.SortModeOf(FolderView::MostUsed));
    EXPECT_EQ(HDF_SORTUP, SortFlags(1));
    ClickColumn(form, 1);
    EXPECT_EQ(5u, StoredNumber(Setting::SortingMostUsed));
    EXPECT_EQ(HDF_SORTDOWN, SortFlags(1));
    ClickColumn(form, 0);
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

TEST(ContextMenu, CaptionsFollowTheOptions) {
    struct Case {
        bool explorer, reuse;
        const wchar_t* first;
        const wchar_t* second;
    };
    for (Case c : {Case{false, false, L"Explorer (mit Ordnerleiste)", L"In vorhandenem Fenster öffnen"},
                   Case{true, false, L"Gewöhnliches Ordnerfenster öffnen", L"In vorhandenem Fenster öffnen"},
                   Case{false, true, L"Explorer (mit Ordnerleiste)", L"In neuem Fenster öffnen"},
                   Case{true, true, L"Gewöhnliches Ordnerfenster öffnen", L"In neuem Fenster öffnen"}}) {
        for (WindowsFamily family : {WindowsFamily::Windows2000, WindowsFamily::Xp, WindowsFamily::VistaOrLater}) {
            HMENU menu = BuildPopUpFolderMenu({family, c.explorer, c.reuse, FolderView::LastUsed});
            std::vector<std::wstring> expected{c.second,
                                               L"-",
                                               L"Pfad kopieren",
                                               L"Zu Ordnerfavoriten hinzufügen...",
                                               L"-",
                                               L"Aus Liste entfernen",
                                               L"Immer ignorieren...",
                                               L"-",
                                               L"Eigenschaften"};
            if (family != WindowsFamily::VistaOrLater)
                expected.insert(expected.begin(), c.first);
            EXPECT_EQ(expected, Captions(menu)) << c.explorer << c.reuse << static_cast<int>(family);
            DestroyMenu(menu);
        }
    }
    // A favorite can be neither added again, nor removed from the history, nor ignored.
    HMENU menu = BuildPopUpFolderMenu({WindowsFamily::Xp, true, true, FolderView::Favorites});
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
    EXPECT_FALSE(shell_.listed) << "reuse is off";
    ASSERT_EQ((std::vector<std::wstring>{L"open plain " + quitte_}), shell_.calls);
    EXPECT_TRUE(form.FolderOpened());
    EXPECT_FALSE(form.MouseLeaveWatchEnabled()) << "ExitBehavior 3 keeps the window as it is";

    // "In vorhandenem Fenster öffnen" reuses the open folder window, for the
    // entry last clicked.
    shell_.calls.clear();
    Command(cmd::mnuPopUpFolderOpenExisting);
    EXPECT_EQ((std::vector<std::wstring>{L"front 0", L"navigate 0 " + quitte_}), shell_.calls);
    EXPECT_TRUE(form.MouseLeaveWatchEnabled()) << "after a reused window the watch runs always";

    // A right click shows the menu (closed again unchosen here), opens
    // nothing and makes its entry the one the menu acts on.
    shell_ = {};
    RightClickEntry(EntryIndex(birne_));
    EXPECT_TRUE(shell_.calls.empty());
    Pump(100);
    ASSERT_NE(nullptr, form.Hwnd());
    Command(cmd::mnuPopUpFolderExplorer);
    EXPECT_EQ((std::vector<std::wstring>{L"open explorer " + birne_}), shell_.calls);
}

TEST_F(Interaction, TheOtherWindowKindNeverReusesAWindow) {
    Store(Setting::ReuseFolderWindows, 1);
    windows_ = {ShellWindowInfo{true, GetDesktopWindow(), false}};
    Load();
    RightClickEntry(EntryIndex(quitte_));
    Command(cmd::mnuPopUpFolderExplorer);
    EXPECT_FALSE(shell_.listed);
    EXPECT_EQ((std::vector<std::wstring>{L"open explorer " + quitte_}), shell_.calls);
}

// ---- Keys on the entry under the mouse ----

TEST_F(Interaction, DelRemovesTheEntryUnderTheMouseFromTheHistory) {
    Load();
    HWND list = ListHwnd();
    int birne = EntryIndex(birne_);
    ASSERT_GE(birne, 0);
    POINT p = EntryPoint(birne);
    SetCursorPos(p.x, p.y);
    ASSERT_EQ(list, WindowFromPoint(p));

    // With a search in the box, Del belongs to the box.
    SetFocus(Find());
    SetWindowTextW(Find(), L"x");
    SendMessageW(Find(), WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(1, VisitsOf(birne_));
    SetWindowTextW(Find(), L"");

    SetFocus(list);
    SendMessageW(list, WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(0, VisitsOf(birne_));
    EXPECT_EQ(1, VisitsOf(quitte_));
    EXPECT_TRUE(PumpUntil([&] { return List().ItemCount() == 1; }));
    EXPECT_EQ(quitte_, form_->FolderList().RowOf(0)->path);
}

TEST_F(Interaction, CtrlCCopiesThePathOfTheEntryUnderTheMouseOnly) {
    frmMain& form = Load();
    HWND list = ListHwnd();
    ASSERT_TRUE(PutTextOnClipboard(form.Hwnd(), L"vorher"));
    auto clipboard = [&] {
        std::wstring text;
        if (OpenClipboard(form.Hwnd())) {
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
    EXPECT_TRUE(List().ItemSelected(birne));
    EXPECT_TRUE(List().ItemFocused(birne));
}

// ---- The pop-up behaviour ----

TEST_F(Interaction, AnOpenedFolderKeepsTheWindowWhenAnotherTakesTheFocus) {
    Store(Setting::ExitBehavior, 1);
    frmMain& form = Load();
    // Without a folder opened the window would go (the deactivation tests of
    // the main window); after one, the mouse-leave watch decides.
    PointerInsideWindow();
    ClickEntry(EntryIndex(quitte_));
    ASSERT_TRUE(form.FolderOpened());
    OtherWindow other;
    other.Activate();
    Pump(300);
    ASSERT_NE(nullptr, form.Hwnd());
    EXPECT_FALSE(IsIconic(form.Hwnd()));
}

TEST_F(Interaction, AClickOnTheSearchTipBalloonKeepsTheWindowOnce) {
    Store(Setting::TipShown_SearchFolder, 0);
    Store(Setting::ExitBehavior, 1);
    frmMain& form = Load();
    ASSERT_EQ(1u, StoredNumber(Setting::TipShown_SearchFolder)) << "the first list with entries shows the tip";
    HWND balloon = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_BALLOON, 0, 0, 10, 10,
                                   form.Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, balloon);
    SendMessageW(form.Hwnd(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(balloon));
    Pump(200);
    ASSERT_NE(nullptr, form.Hwnd());
    // The next deactivation closes as usual.
    SendMessageW(form.Hwnd(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(balloon));
    EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() == nullptr; }));
    DestroyWindow(balloon);
}

TEST_F(Interaction, WithTheSearchTipUpAnotherWindowIsNoBalloon) {
    Store(Setting::TipShown_SearchFolder, 0);
    Store(Setting::ExitBehavior, 1);
    frmMain& form = Load();
    OtherWindow other;
    SendMessageW(form.Hwnd(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other.hwnd()));
    EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() == nullptr; }));
}

// A notice that, while it is up, gives the focus to another window.
class cFocusTakingPresenter final : public cDialogPresenter {
  public:
    int ShowTaskDialog(const TASKDIALOGCONFIG&, bool*) override { return Show(); }
    int ShowMessageBox(HWND, const std::wstring&, const std::wstring&, UINT) override { return Show(); }
    const frmMain* form = nullptr;
    int shown = 0;
    bool windowStayed = false;

  private:
    int Show() {
        ++shown;
        OtherWindow other;
        other.Activate();
        SendMessageW(form->Hwnd(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other.hwnd()));
        Pump(200);
        windowStayed = form->Hwnd() != nullptr;
        return IDOK;
    }
};

TEST_F(Interaction, WhileANoticeIsUpTheWindowStaysAndAfterwardsItGoesAgain) {
    Store(Setting::ExitBehavior, 1);
    Store(Setting::TipShown_CopyPath, 0);
    cFocusTakingPresenter presenter;
    presenter_ = &presenter;
    family_ = WindowsFamily::Xp;  // the message box of older systems
    frmMain& form = Load();
    presenter.form = &form;
    RightClickEntry(EntryIndex(quitte_));
    Command(cmd::mnuPopUpFolderCopyPath);
    ASSERT_EQ(1, presenter.shown);
    EXPECT_TRUE(presenter.windowStayed) << "no pop-up behaviour during the notice";
    ASSERT_NE(nullptr, form.Hwnd());
    OtherWindow other;
    SendMessageW(form.Hwnd(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other.hwnd()));
    EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() == nullptr; })) << "the pop-up behaviour is back";
}

// ---- Ignoring folders ----

TEST_F(Interaction, ImmerIgnorierenHidesTheFolderAtOnceAndTheEighthIsRefused) {
    std::wstring overview = MakeFolder(L"Übersicht");
    Visit(overview, L"Übersicht", 3);
    cMessageBoxLog boxes;
    presenter_ = &boxes;
    frmMain& form = Load();
    ASSERT_EQ(3, List().ItemCount());
    RightClickEntry(EntryIndex(overview));
    std::wstring stored;
    {
        cModalScript script({[&](HWND d) {
            // The folder in lower case, umlauts too; the way to the manager.
            stored = TextOf(GetDlgItem(d, IDC_TXT_FOLDER_PATH));
            EXPECT_NE(std::wstring::npos, stored.find(L"\\übersicht"));
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(d, IDC_LBL_MANAGE_IGNORE_LIST)));
            EXPECT_FALSE(form.MouseLeaveWatchEnabled());
            Press(d, IDOK);
            return true;
        }});
        Command(cmd::mnuPopUpFolderIgnore);
    }
    EXPECT_EQ(stored + L"|\\|", ReadText(Setting::IgnoreStrings));
    EXPECT_EQ(L"(FoldersProtocol.FolderPath <> '" + stored + L"')", ReadText(Setting::IgnoreStringSQL));
    EXPECT_EQ(2, List().ItemCount());
    EXPECT_EQ(-1, EntryIndex(overview)) << "gone from the list at once";

    // Esc closes the dialog and nothing else: its release, which reaches the
    // window afterwards, does not close the window too.
    RightClickEntry(EntryIndex(birne_));
    {
        cModalScript script({[](HWND) {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
            return true;
        }});
        Command(cmd::mnuPopUpFolderIgnore);
    }
    SendMessageW(ListHwnd(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
    Pump(100);
    ASSERT_NE(nullptr, form.Hwnd());
    EXPECT_EQ(stored + L"|\\|", ReadText(Setting::IgnoreStrings));

    // "Alle ignorierten Ordner" leads to the manager; its OK rebuilds the
    // filter and the list.
    RightClickEntry(EntryIndex(birne_));
    {
        cModalScript script({
            [](HWND d) {
                PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_LBL_MANAGE_IGNORE_LIST, STN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_LBL_MANAGE_IGNORE_LIST)));
                return true;
            },
            [](HWND d) {
                if (TextOf(d) != L"Ignorierte Ordner")
                    return false;
                HWND list = FindWindowExW(GetDlgItem(d, IDC_LVW_IGNORED_FOLDERS), nullptr, WC_LISTVIEWW, nullptr);
                EXPECT_EQ(1, ListView_GetItemCount(list));
                ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
                SendMessageW(list, WM_KEYDOWN, VK_DELETE, 1);
                Press(d, IDOK);
                return true;
            },
        });
        Command(cmd::mnuPopUpFolderIgnore);
    }
    EXPECT_EQ(L"", ReadText(Setting::IgnoreStrings));
    EXPECT_EQ(L"", ReadText(Setting::IgnoreStringSQL));
    EXPECT_EQ(3, List().ItemCount());

    // Seven entries in the filter: the eighth is refused before any dialog.
    std::wstring seven;
    for (int i = 1; i <= kIgnoreEntryLimit; ++i)
        seven += L"c:\\" + std::to_wstring(i) + L"|\\|";
    WriteText(Setting::IgnoreStrings, seven);
    WriteText(Setting::IgnoreStringSQL, BuildIgnoreFilter(seven));
    form_.reset();
    Load();
    RightClickEntry(EntryIndex(quitte_));
    {
        cModalScript noDialog({[](HWND d) {
                                  ADD_FAILURE() << "no dialog may open";
                                  PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                                  return false;
                              }},
                              false);
        Command(cmd::mnuPopUpFolderIgnore);
    }
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(0u, boxes.boxes[0].text.find(L"Der Ordner kann nicht ignoriert werden, weil bereits 7 Einträge"));
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes.boxes[0].style);
    EXPECT_EQ(seven, ReadText(Setting::IgnoreStrings));
}

// ---- After a folder was opened ----

TEST_F(Interaction, MouseLeavingUnloadsForExitBehaviorOne) {
    Store(Setting::ExitBehavior, 1);
    frmMain& form = Load();
    PointerInsideWindow();
    ClickEntry(EntryIndex(quitte_));
    ASSERT_TRUE(form.MouseLeaveWatchEnabled());
    EXPECT_TRUE(form.FolderOpened());
    Pump(300);
    ASSERT_NE(nullptr, form.Hwnd()) << "the pointer is still inside";
    PointerOutsideWindow();
    EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() == nullptr; }));
}

TEST_F(Interaction, MouseLeavingMinimizesForExitBehaviorTwo) {
    Store(Setting::ExitBehavior, 2);
    frmMain& form = Load();
    PointerInsideWindow();
    ClickEntry(EntryIndex(quitte_));
    ASSERT_TRUE(form.MouseLeaveWatchEnabled());
    PointerOutsideWindow();
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(form.Hwnd()) != FALSE; }));
    EXPECT_FALSE(form.MouseLeaveWatchEnabled());
    EXPECT_FALSE(form.FolderOpened());
}

TEST_F(Interaction, MinimizedByHandAfterAnOpenTheWindowStaysMinimized) {
    Store(Setting::ExitBehavior, 1);
    frmMain& form = Load();
    PointerInsideWindow();
    ClickEntry(EntryIndex(quitte_));
    ASSERT_TRUE(form.MouseLeaveWatchEnabled());
    ShowWindow(form.Hwnd(), SW_MINIMIZE);
    EXPECT_FALSE(form.MouseLeaveWatchEnabled());
    EXPECT_FALSE(form.FolderOpened());
    PointerOutsideWindow();
    Pump(300);
    ASSERT_NE(nullptr, form.Hwnd()) << "the watch no longer decides";
    EXPECT_TRUE(IsIconic(form.Hwnd()));
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
        hwnd = CreateWindowExW(0, wc.lpszClassName, WorkerCaption().c_str(), WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }
    ~FakeWorker() { DestroyWindow(hwnd); }
    HWND hwnd = nullptr;
};

TEST_F(Interaction, PropertiesGoToTheWorkerAndTheWindowGoesOnceTheMenuIsDone) {
    FakeWorker worker;
    ASSERT_NE(nullptr, worker.hwnd);
    Store(Setting::ExitBehavior, 1);
    frmMain& form = Load();
    RightClickEntry(EntryIndex(quitte_));
    Command(cmd::mnuPopupProperties);
    auto handle = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(form.Hwnd()));
    EXPECT_EQ(PropertiesRequestText(handle, quitte_), FakeWorker::received);
    EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() == nullptr; }));
}

TEST_F(Interaction, PropertiesMinimizeTheWindowForExitBehaviorTwo) {
    FakeWorker worker;
    Store(Setting::ExitBehavior, 2);
    frmMain& form = Load();
    RightClickEntry(EntryIndex(birne_));
    Command(cmd::mnuPopupProperties);
    EXPECT_NE(std::wstring::npos, FakeWorker::received.find(L"|" + birne_));
    EXPECT_TRUE(IsIconic(form.Hwnd()));
    Pump(100);
    EXPECT_NE(nullptr, form.Hwnd());
}

}  // namespace
}  // namespace pw::test
