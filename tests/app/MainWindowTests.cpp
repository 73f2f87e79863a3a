// The main window loaded in the test's own process: what a start reads and
// writes, what the window looks like after loading, what closing saves, and
// its pop-up behaviour.
#include "Handles.h"
#include "MainWindowSupport.h"

#include <shobjidl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "MainProgram.h"
#include "Placement.h"
#include "TestRun.h"

namespace pw::test {
namespace {

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override { ForgetUser(); }
    void TearDown() override { ForgetUser(); }
};

int ListColumnPixels(const frmMain& form, int column) {
    return form.FolderList().View().ColumnWidthPixels(column);
}

TEST_F(MainWindow, NewUserGetsEveryDefaultAndTheAutostartShortcut) {
    auto form = LoadMainWindow();
    ASSERT_NE(nullptr, form->Hwnd());
    const int tpp = form->ScreenTwips().perPixelX;

    // Written at the first start.
    EXPECT_EQ(1u, StoredNumber(Setting::StartupShortcutCreated));
    EXPECT_EQ(1u, StoredNumber(Setting::SetupDone));
    EXPECT_TRUE(form->FirstRunPending());
    // Nothing else until the window closes.
    EXPECT_FALSE(StoredNumber(Setting::WindowWidth).has_value());
    EXPECT_FALSE(StoredNumber(Setting::ListTypeActive).has_value());
    EXPECT_FALSE(StoredNumber(Setting::TipShown_SearchFolder).has_value());

    EXPECT_EQ(L"Pfadwerk", TextOf(form->Hwnd()));
    const MainOptions& options = form->Options();
    EXPECT_EQ(ExitBehavior::StayThenHide, options.exitBehavior);
    EXPECT_EQ(WindowPositionMode::TaskbarStart, options.windowPosition);
    EXPECT_EQ(form->Look().vistaThemed ? ListSize::Medium : ListSize::Small, options.listSize);
    EXPECT_EQ(SortMode::UsedDescending, form->SortModeOf(FolderView::LastUsed));
    EXPECT_EQ(SortMode::UsedDescending, form->SortModeOf(FolderView::MostUsed));
    EXPECT_EQ(FolderView::LastUsed, form->CurrentView());
    EXPECT_FALSE(options.hidePathColumn || options.defaultOpenInExplorer || options.reuseFolderWindows ||
                 options.showFavoritesTabFirst || options.showMenuBar);
    EXPECT_TRUE(options.showWindowTitleAndBorder && options.showWatermark);
    const cListView& list = form->FolderList().View();
    EXPECT_EQ(cListView::ViewMode::Details, list.GetViewMode());
    EXPECT_NE(std::wstring::npos, list.BackgroundPicture().find(L"\\watermark.png"));

    RECT window{};
    GetWindowRect(form->Hwnd(), &window);
    // The designed width, or more where the top row needs it in the font at
    // hand (checked on its own below).
    EXPECT_LE(std::lround((form->Look().vistaThemed ? 7730.0 : 7605.0) / tpp), window.right - window.left);
    EXPECT_EQ(std::lround(6700.0 / form->ScreenTwips().perPixelY), window.bottom - window.top);

    HWND tab = Control(*form, ctl::tabOB);
    ASSERT_EQ(3, TabCtrl_GetItemCount(tab));
    EXPECT_EQ(L"Zuletzt verwendet", TabText(tab, 0));
    EXPECT_EQ(L"Häufig verwendet", TabText(tab, 1));
    EXPECT_EQ(L"Ordnerfavoriten", TabText(tab, 2));
    EXPECT_EQ(0, TabCtrl_GetCurSel(tab));

    HWND timeframe = Control(*form, ctl::cmbMostUsedTimeframe);
    ASSERT_EQ(7, SendMessageW(timeframe, CB_GETCOUNT, 0, 0));
    const wchar_t* frames[] = {L"(Alle)",        L"Letzte 2 Stunden", L"Letzte 24 Stunden", L"Letzte 3 Tage",
                               L"Letzte 7 Tage", L"Letzte 14 Tage",   L"Letzte 30 Tage"};
    for (int i = 0; i < 7; ++i) {
        wchar_t text[64] = {};
        SendMessageW(timeframe, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(frames[i], text);
    }
    EXPECT_EQ(0, SendMessageW(timeframe, CB_GETCURSEL, 0, 0));

    ASSERT_EQ(3, list.ColumnCount());
    EXPECT_EQ(L"Ordner", list.ColumnText(0));
    EXPECT_EQ(L"Pfad", list.ColumnText(1));
    EXPECT_EQ(L"Verwendet", list.ColumnText(2));
    EXPECT_EQ(2100 / tpp, ListColumnPixels(*form, 0));

    // The last-used list starts with the search box and the welcome pane.
    EXPECT_TRUE(IsWindowVisible(Control(*form, ctl::picFindHost)));
    EXPECT_FALSE(IsWindowVisible(timeframe));
    EXPECT_FALSE(IsWindowVisible(Control(*form, ctl::picManageFavoritesHost)));
    EXPECT_TRUE(IsWindowVisible(Control(*form, ctl::picMessagePane)));
    EXPECT_EQ(L"Willkommen bei Pfadwerk!", TextOf(Control(*form, ctl::lblMessageHeader)));

    EXPECT_EQ(L"Verwendeten Ordner suchen (Strg+F)", ToolTipText(form->Hwnd(), Control(*form, ctl::txtFind)));
    EXPECT_EQ(L"Menü anzeigen", ToolTipText(form->Hwnd(), Control(*form, ctl::cmdShowMenu)));
    EXPECT_EQ(L"Nur die in diesem Zeitraum am häufigsten verwendeten Ordner anzeigen",
              ToolTipText(form->Hwnd(), timeframe));

    // The worker starts at log-on through the shortcut.
    cComInit com;
    cComPtr<IShellLinkW> link;
    ASSERT_TRUE(
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())));
    cComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
    ASSERT_TRUE(file && SUCCEEDED(file->Load(AutostartLink().c_str(), STGM_READ)));
    wchar_t text[MAX_PATH] = {};
    link->GetPath(text, MAX_PATH, nullptr, 0);
    std::wstring target = text;
    CharLowerW(target.data());
    EXPECT_NE(std::wstring::npos, target.find(L"\\pfadwerkhg.exe")) << target;
    link->GetDescription(text, MAX_PATH);
    EXPECT_STREQ(L"Startet die Pfadwerk-Ordnerprotokollierung beim Start von Windows.", text);
}

int TextPixels(HWND control, const std::wstring& text) {
    cWindowDC dc(control);
    cSelection font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The designed sizes were made for an 8-point font at 96 dpi; in the fonts
// the window really uses, every caption of the top row shows whole and the
// box beside the tabs covers none of them.
TEST_F(MainWindow, TheTopRowShowsItsCaptionsWhole) {
    for (FolderView view : {FolderView::LastUsed, FolderView::Favorites}) {
        Store(Setting::ListTypeActive, static_cast<DWORD>(view));
        auto form = LoadMainWindow();
        HWND tab = Control(*form, ctl::tabOB);
        RECT tabs{};
        GetWindowRect(tab, &tabs);
        for (int i = 0; i < TabCtrl_GetItemCount(tab); ++i) {
            RECT item{};
            ASSERT_TRUE(TabCtrl_GetItemRect(tab, i, &item));
            EXPECT_GE(item.right - item.left, TextPixels(tab, TabText(tab, i)) + 8) << i;  // and its margins
            if (i == TabCtrl_GetItemCount(tab) - 1)
                tabs.right = tabs.left + item.right;
        }
        HWND box = Control(*form, view == FolderView::Favorites ? ctl::picManageFavoritesHost : ctl::picFindHost);
        RECT boxRect{};
        GetWindowRect(box, &boxRect);
        EXPECT_GE(boxRect.left, tabs.right);
        if (view == FolderView::Favorites) {
            HWND link = Control(*form, ctl::lblManageFavorites);
            RECT label{};
            GetClientRect(link, &label);
            EXPECT_GE(label.right, TextPixels(link, TextOf(link)));
        }
        form->Unload();
    }
}

TEST_F(MainWindow, SecondStartNeitherCreatesTheShortcutNorShowsTheWelcomeAgain) {
    LoadMainWindow()->Unload();
    // The user deleted the shortcut: it stays deleted.
    ASSERT_TRUE(DeleteFileW(AutostartLink().c_str()));
    auto form = LoadMainWindow();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(AutostartLink().c_str()));
    EXPECT_FALSE(form->FirstRunPending());
}

TEST_F(MainWindow, ExistingShortcutIsLeftAlone) {
    HANDLE file = CreateFileW(AutostartLink().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, "mine", 4, &written, nullptr);
    CloseHandle(file);
    auto form = LoadMainWindow(false);
    EXPECT_EQ(1u, StoredNumber(Setting::StartupShortcutCreated));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(AutostartLink().c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(4u, data.nFileSizeLow);
}

TEST_F(MainWindow, FavoritesFirstSelectsTheSecondTabForTheLastUsedList) {
    Store(Setting::ShowFavoritesTabFirst, 1);
    Store(Setting::ListTypeActive, 1);
    auto form = LoadMainWindow(false);
    HWND tab = Control(*form, ctl::tabOB);
    EXPECT_EQ(L"Ordnerfavoriten", TabText(tab, 0));
    EXPECT_EQ(L"Zuletzt verwendet", TabText(tab, 1));
    EXPECT_EQ(L"Häufig verwendet", TabText(tab, 2));
    EXPECT_EQ(1, TabCtrl_GetCurSel(tab));
    EXPECT_EQ(FolderView::LastUsed, form->CurrentView());
}

TEST_F(MainWindow, EachStoredListOpensOnItsTab) {
    Store(Setting::ShowFavoritesTabFirst, 1);
    Store(Setting::ListTypeActive, 3);
    auto form = LoadMainWindow(false);
    auto visible = [&](UINT id) { return (GetWindowLongPtrW(Control(*form, id), GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_EQ(0, TabCtrl_GetCurSel(Control(*form, ctl::tabOB)));
    EXPECT_TRUE(visible(ctl::picManageFavoritesHost));
    EXPECT_FALSE(visible(ctl::picFindHost));
    EXPECT_EQ(L"Ordnerfavoriten festlegen", TextOf(Control(*form, ctl::lblMessageHeader)));
    EXPECT_EQ(L"Ordner suchen", TextOf(Control(*form, ctl::txtFind)));
    form.reset();

    Store(Setting::ShowFavoritesTabFirst, 0);
    Store(Setting::ListTypeActive, 2);
    Store(Setting::MRUTimeframe, 4);
    form = LoadMainWindow(false);
    EXPECT_EQ(1, TabCtrl_GetCurSel(Control(*form, ctl::tabOB)));
    EXPECT_TRUE(visible(ctl::cmbMostUsedTimeframe));
    EXPECT_EQ(4, SendMessageW(Control(*form, ctl::cmbMostUsedTimeframe), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"Keine verwendeten Ordner im ausgewählten Zeitraum", TextOf(Control(*form, ctl::lblMessageHeader)));
    form.reset();

    // Damaged values fall back to the last-used list and "(Alle)".
    Store(Setting::ListTypeActive, 7);
    Store(Setting::MRUTimeframe, 12);
    form = LoadMainWindow(false);
    EXPECT_EQ(FolderView::LastUsed, form->CurrentView());
    EXPECT_EQ(0, TabCtrl_GetCurSel(Control(*form, ctl::tabOB)));
    EXPECT_EQ(0, SendMessageW(Control(*form, ctl::cmbMostUsedTimeframe), CB_GETCURSEL, 0, 0));
}

TEST_F(MainWindow, HiddenPathColumnTurnsPathSortingIntoTheUsualOrder) {
    Store(Setting::HidePathColumn, 1);
    Store(Setting::SortingMostUsed, 3);
    Store(Setting::SortingLastUsed, 4);
    auto form = LoadMainWindow(false);
    EXPECT_EQ(SortMode::UsedDescending, form->SortModeOf(FolderView::MostUsed));
    EXPECT_EQ(SortMode::UsedDescending, form->SortModeOf(FolderView::LastUsed));
    ASSERT_EQ(2, form->FolderList().View().ColumnCount());  // "Ordner", "Verwendet"
    EXPECT_EQ(L"Ordner", form->FolderList().View().ColumnText(0));
    form.reset();

    // With the path column they stay.
    Store(Setting::HidePathColumn, 0);
    form = LoadMainWindow(false);
    EXPECT_EQ(SortMode::PathDescending, form->SortModeOf(FolderView::MostUsed));
    EXPECT_EQ(SortMode::PathAscending, form->SortModeOf(FolderView::LastUsed));
    EXPECT_EQ(3, form->FolderList().View().ColumnCount());
}

TEST_F(MainWindow, StoredOptionsAreApplied) {
    Store(Setting::WindowWidth, 9000);
    Store(Setting::WindowHeight, 7500);
    Store(Setting::FirstColumnWidth, 3000);
    Store(Setting::ExitBehavior, 4);
    Store(Setting::DefaultOpenInExplorer, 1);
    Store(Setting::ReuseFolderWindows, 2);  // only exactly 1 is true
    Store(Setting::FolderListSize, 2);
    Store(Setting::TipShown_SearchFolder, 1);
    Store(Setting::SetupDone, 1);
    auto form = LoadMainWindow(false);
    RECT window{};
    GetWindowRect(form->Hwnd(), &window);
    EXPECT_EQ(9000 / form->ScreenTwips().perPixelX, window.right - window.left);
    EXPECT_EQ(7500 / form->ScreenTwips().perPixelY, window.bottom - window.top);
    EXPECT_EQ(3000 / form->ScreenTwips().perPixelX, ListColumnPixels(*form, 0));
    EXPECT_EQ(ExitBehavior::Minimize, form->Options().exitBehavior);
    EXPECT_TRUE(form->Options().defaultOpenInExplorer);
    EXPECT_FALSE(form->Options().reuseFolderWindows);
    EXPECT_EQ(ListSize::Large, form->Options().listSize);
    EXPECT_FALSE(form->FirstRunPending());
    EXPECT_EQ(cListView::ViewMode::Details, form->FolderList().View().GetViewMode());
}

TEST_F(MainWindow, LargeIconViewGetsItsOwnImageList) {
    Store(Setting::IconView, 1);
    auto form = LoadMainWindow(false);
    EXPECT_FALSE(form->FolderList().SmallIcons());
    EXPECT_EQ(cListView::ViewMode::LargeIcons, form->FolderList().View().GetViewMode());
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(form->FolderList().View().ImageList(LVSIL_NORMAL), &cx, &cy));
    EXPECT_EQ(32, cx);
}

TEST_F(MainWindow, DetailsViewIconSizeFollowsTheOption) {
    for (int size : {0, 1, 2}) {
        Store(Setting::FolderListSize, size);
        auto form = LoadMainWindow(false);
        const cListView& list = form->FolderList().View();
        int cx = 0, cy = 0;
        ASSERT_TRUE(ImageList_GetIconSize(list.ImageList(LVSIL_SMALL), &cx, &cy));
        EXPECT_EQ(size == 0 ? 16 : size == 1 ? 24 : 32, cx);
        EXPECT_EQ(size == 0, form->FolderList().SmallIcons());
        // A changed option builds a new list of the new size.
        int next = (size + 1) % 3;
        form->ReloadDetailsViewSettings(static_cast<ListSize>(next));
        ASSERT_TRUE(ImageList_GetIconSize(list.ImageList(LVSIL_SMALL), &cx, &cy));
        EXPECT_EQ(next == 0 ? 16 : next == 1 ? 24 : 32, cx);
    }
}

TEST_F(MainWindow, ClosingSavesSizePositionAndColumnInTwips) {
    bool unloaded = false;
    frmMainSetup setup = TestSetup();
    setup.onUnloaded = [&] { unloaded = true; };
    auto form = std::make_unique<frmMain>(setup);
    ASSERT_TRUE(form->Load());
    const int tx = form->ScreenTwips().perPixelX, ty = form->ScreenTwips().perPixelY;
    SetWindowPos(form->Hwnd(), nullptr, 100, 120, 560, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    ListView_SetColumnWidth(form->FolderList().ListHwnd(), 0, 150);
    Pump(20);
    PostMessageW(form->Hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return unloaded; }));
    EXPECT_EQ(nullptr, form->Hwnd());
    EXPECT_EQ(static_cast<DWORD>(560 * tx), StoredNumber(Setting::WindowWidth));
    EXPECT_EQ(static_cast<DWORD>(400 * ty), StoredNumber(Setting::WindowHeight));
    EXPECT_EQ(static_cast<DWORD>(100 * tx), StoredNumber(Setting::WindowLeft));
    EXPECT_EQ(static_cast<DWORD>(120 * ty), StoredNumber(Setting::WindowTop));
    EXPECT_EQ(static_cast<DWORD>(150 * tx), StoredNumber(Setting::FirstColumnWidth));

    // The next start comes back at that size, and at that place in mode 5.
    Store(Setting::WindowPosition, 5);
    form = LoadMainWindow();
    RECT window{};
    GetWindowRect(form->Hwnd(), &window);
    EXPECT_EQ((RECT{100, 120, 660, 520}), window);
}

TEST_F(MainWindow, ClosingWhileMinimizedKeepsTheLastSavedPlace) {
    Store(Setting::ExitBehavior, 3);
    Store(Setting::WindowWidth, 8000);
    auto form = LoadMainWindow();
    ShowWindow(form->Hwnd(), SW_MINIMIZE);
    Pump(50);
    ASSERT_TRUE(IsIconic(form->Hwnd()));
    form->Unload();
    EXPECT_EQ(8000u, StoredNumber(Setting::WindowWidth));
    EXPECT_FALSE(StoredNumber(Setting::WindowLeft).has_value());
    EXPECT_FALSE(StoredNumber(Setting::WindowTop).has_value());
}

TEST_F(MainWindow, HiddenPathColumnKeepsTheStoredFirstColumnWidth) {
    Store(Setting::HidePathColumn, 1);
    Store(Setting::FirstColumnWidth, 2400);
    auto form = LoadMainWindow();
    form->Unload();
    EXPECT_EQ(2400u, StoredNumber(Setting::FirstColumnWidth));
}

TEST_F(MainWindow, WithoutTitleBarTheThinBorderStays) {
    Store(Setting::ShowWindowTitleAndBorder, 0);
    auto form = LoadMainWindow(false);
    LONG_PTR style = GetWindowLongPtrW(form->Hwnd(), GWL_STYLE);
    EXPECT_EQ(0, style & (WS_DLGFRAME | WS_SYSMENU));
    EXPECT_EQ(WS_THICKFRAME, style & WS_THICKFRAME);
    EXPECT_FALSE(form->Options().showWindowTitleAndBorder);
    EXPECT_FALSE(form->FramedList());
    form.reset();

    Store(Setting::ShowWindowTitleAndBorder, 1);
    form = LoadMainWindow(false);
    EXPECT_EQ(WS_CAPTION, GetWindowLongPtrW(form->Hwnd(), GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(!form->Look().vistaThemed, form->FramedList());
}

TEST_F(MainWindow, ResizeLaysTheControlsOut) {
    Store(Setting::HidePathColumn, 1);
    auto form = LoadMainWindow();
    SetWindowPos(form->Hwnd(), nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    Pump(20);
    const int tx = form->ScreenTwips().perPixelX, ty = form->ScreenTwips().perPixelY;
    RECT client{};
    GetClientRect(form->Hwnd(), &client);
    auto inParent = [](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT host = inParent(Control(*form, ctl::picHost));
    EXPECT_EQ((RECT{0, 390 / ty, client.right, client.bottom}), host);
    RECT list = inParent(form->FolderList().Hwnd());
    EXPECT_EQ(form->FramedList() ? 0 : -1, list.left);
    EXPECT_EQ(client.right + 1, list.right);
    EXPECT_EQ(client.right - 600 / tx, inParent(Control(*form, ctl::cmdShowMenu)).left);
    RECT find = inParent(Control(*form, ctl::picFindHost));
    EXPECT_EQ(std::lround((client.right * tx - 600 - (find.right - find.left) * tx - 100) / double(tx)), find.left);
    EXPECT_EQ(find.left, inParent(Control(*form, ctl::cmbMostUsedTimeframe)).left);
    // The favorites link shares the right edge; it may be the wider one.
    RECT link = inParent(Control(*form, ctl::picManageFavoritesHost));
    const long extra = std::max(0L, (link.right - link.left) - (find.right - find.left));
    EXPECT_NEAR(find.left - extra, link.left, 1);
    // Without the path column the name column takes the rest of the width
    // beside the count column.
    int usedColumn = form->FolderList().View().ColumnWidth(1);
    int expected = ((list.right - list.left) * tx - 30 - form->ScrollBarAllowance() - usedColumn) / tx;
    EXPECT_NEAR(expected, form->FolderList().View().ColumnWidthPixels(0), 1);
}

// The start-up benchmark's breakdown: each phase named once, in the order
// they ran, the history's opening apart from the fill it precedes.
TEST_F(MainWindow, StartupPhasesAreEachNamedOnceInTheOrderTheyRan) {
    std::vector<std::string> phases;
    frmMainSetup setup = TestSetup();
    setup.onStartupPhase = [&](const char* phase) { phases.push_back(phase); };
    frmMain form(setup);
    ASSERT_TRUE(form.Load());
    Pump(50);
    auto at = [&](const char* phase) { return std::find(phases.begin(), phases.end(), phase) - phases.begin(); };
    ASSERT_LT(at("history open"), static_cast<std::ptrdiff_t>(phases.size()));
    EXPECT_EQ(at("history open") + 1, at("list fill"));
    EXPECT_LT(at("list icons"), at("history open"));
    EXPECT_EQ("show", phases.back());
    std::vector<std::string> sorted = phases;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted.end(), std::adjacent_find(sorted.begin(), sorted.end()));
}

TEST_F(MainWindow, StartsAtTheChosenPlace) {
    Store(Setting::WindowPosition, 3);
    auto form = LoadMainWindow(false);
    RECT window{};
    GetWindowRect(form->Hwnd(), &window);
    const int tx = form->ScreenTwips().perPixelX, ty = form->ScreenTwips().perPixelY;
    int w = (window.right - window.left) * tx, h = (window.bottom - window.top) * ty;
    int screenW = GetSystemMetrics(SM_CXSCREEN) * tx, screenH = GetSystemMetrics(SM_CYSCREEN) * ty;
    EXPECT_NEAR(((screenW - w) / 2 - 100) / tx, window.left, 1);
    EXPECT_NEAR(((screenH - h) / 2) / ty, window.top, 1);
}

TEST_F(MainWindow, TheEntryLoopLoadsAFreshWindowOnlyWhenTheGoingOneAsksForIt) {
    std::vector<HWND> loaded;
    RunMainProgram(TestSetup(false), [&](frmMain& form) {
        loaded.push_back(form.Hwnd());
        if (loaded.size() == 1) {
            form.UnloadForReload();  // as the options dialog will ask
        } else {
            PostMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
        }
    });
    ASSERT_EQ(2u, loaded.size());
    EXPECT_FALSE(IsWindow(loaded[0]));
    EXPECT_FALSE(IsWindow(loaded[1]));
}

// ---- The pop-up behaviour ----

struct ExitCase {
    int exitBehavior;
    enum { Closes, Minimizes, Stays } outcome;
};

class Deactivation : public MainWindow, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(Deactivation, FollowsExitBehavior) {
    Store(Setting::ExitBehavior, GetParam().exitBehavior);
    bool unloaded = false;
    frmMainSetup setup = TestSetup();
    setup.onUnloaded = [&] { unloaded = true; };
    frmMain form(setup);
    ASSERT_TRUE(form.Load());
    OtherWindow other;
    SetForegroundWindow(form.Hwnd());
    Pump(50);
    other.Activate();
    switch (GetParam().outcome) {
        case ExitCase::Closes:
            EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() == nullptr; }));
            EXPECT_TRUE(unloaded);
            // Closing this way saves like the close box.
            EXPECT_TRUE(StoredNumber(Setting::WindowWidth).has_value());
            break;
        case ExitCase::Minimizes:
            EXPECT_TRUE(PumpUntil([&] { return form.Hwnd() && IsIconic(form.Hwnd()); }));
            break;
        case ExitCase::Stays:
            Pump(300);
            ASSERT_NE(nullptr, form.Hwnd());
            EXPECT_FALSE(IsIconic(form.Hwnd()));
            EXPECT_TRUE(IsWindowVisible(form.Hwnd()));
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindow,
                         Deactivation,
                         ::testing::Values(ExitCase{1, ExitCase::Closes},
                                           ExitCase{2, ExitCase::Minimizes},
                                           ExitCase{3, ExitCase::Stays},
                                           ExitCase{4, ExitCase::Minimizes},
                                           ExitCase{5, ExitCase::Closes}));

TEST_F(MainWindow, ActivationMessageRestoresAndBringsForward) {
    Store(Setting::ExitBehavior, 3);
    auto form = LoadMainWindow();
    OtherWindow other;
    ShowWindow(form->Hwnd(), SW_MINIMIZE);
    other.Activate();
    Pump(50);
    ASSERT_TRUE(IsIconic(form->Hwnd()));
    // The message a second start broadcasts (with the test run's tag).
    PostMessageW(form->Hwnd(), RegisterWindowMessageW(RunScopedName(kActivationMessageName).c_str()), 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(form->Hwnd()) && GetForegroundWindow() == form->Hwnd(); }));
}

TEST_F(MainWindow, MinimumSizeByDisplayFlags) {
    for (int flags = 0; flags < 4; ++flags) {
        frmMainSetup setup = TestSetup(false);
        setup.look = DisplayLook{};
        setup.look->vistaThemed = flags & 1;
        setup.look->largeFonts = flags & 2;
        frmMain window(setup);
        ASSERT_TRUE(window.Load());
        MINMAXINFO info{};
        SendMessageW(window.Hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        PixelSize expected = MinimumWindowSize(setup.look->vistaThemed, setup.look->largeFonts);
        EXPECT_EQ(expected.width, info.ptMinTrackSize.x) << flags;
        EXPECT_EQ(expected.height, info.ptMinTrackSize.y) << flags;
    }
    auto form = LoadMainWindow();
    // Asked to shrink further, the window keeps the minimum.
    SetWindowPos(form->Hwnd(), nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    RECT window{};
    GetWindowRect(form->Hwnd(), &window);
    PixelSize minimum = MinimumWindowSize(form->Look().vistaThemed, form->Look().largeFonts);
    EXPECT_GE(window.right - window.left, minimum.width);
    EXPECT_GE(window.bottom - window.top, minimum.height);
}

}  // namespace
}  // namespace pw::test
