// The main window loaded in the test's own process: what a start reads and
// writes, what the window looks like after loading, what closing saves, and
// its pop-up behaviour.
#include "MainWindowSupport.h"

#include <shobjidl.h>

#include <cmath>

#include "Placement.h"

namespace pw::test {
namespace {

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { ForgetUser(); }
    void TearDown() override { ForgetUser(); }
};

int ListColumnPixels(frmMain& form, int column) { return form.lvwFolders.ColumnWidthPixels(column); }

TEST_F(MainWindow, NewUserGetsEveryDefaultAndTheAutostartShortcut) {
    auto form = LoadMainWindow();
    ASSERT_NE(nullptr, form->hWnd());
    const int tpp = form->TwipsPerPixelX();

    // Written at the first start.
    EXPECT_EQ(1u, StoredNumber(Setting::StartupShortcutCreated));
    EXPECT_EQ(1u, StoredNumber(Setting::SetupDone));
    EXPECT_TRUE(form->bFirstRunPending);
    // Nothing else until the window closes.
    EXPECT_FALSE(StoredNumber(Setting::WindowWidth).has_value());
    EXPECT_FALSE(StoredNumber(Setting::ListTypeActive).has_value());

    EXPECT_EQ(L"Pfadwerk", TextOf(form->hWnd()));
    EXPECT_EQ(1, form->bOptions_ExitBehavior);
    EXPECT_EQ(0, form->lOptions_WindowPosition);
    EXPECT_EQ(bVistaThemed ? 1 : 0, form->lOptions_ListSize);
    EXPECT_EQ(5, form->lSortingLastUsed);
    EXPECT_EQ(5, form->lSortingMostUsed);
    EXPECT_EQ(1, form->lCurrentView);
    EXPECT_FALSE(form->bOptions_HidePathColumn || form->bOptions_DefaultOpenInExplorer ||
                 form->bOptions_ReuseFolderWindows || form->bOptions_bShowFavoritesTabFirst ||
                 form->bOptions_ShowMenuBar || form->bIconView || form->bSearchTipShown);
    EXPECT_TRUE(form->bOptions_ShowWindowTitleAndBorder);
    EXPECT_TRUE(form->sIgnoreFilter.empty());
    EXPECT_NE(std::wstring::npos, form->lvwFolders.BackgroundPicture().find(L"\\watermark.png"));

    RECT window{};
    GetWindowRect(form->hWnd(), &window);
    EXPECT_EQ(std::lround((bVistaThemed ? 7730.0 : 7605.0) / tpp), window.right - window.left);
    EXPECT_EQ(std::lround(6700.0 / form->TwipsPerPixelY()), window.bottom - window.top);

    ASSERT_EQ(3, TabCtrl_GetItemCount(form->tabOB));
    EXPECT_EQ(L"Zuletzt verwendet", TabText(form->tabOB, 0));
    EXPECT_EQ(L"Häufig verwendet", TabText(form->tabOB, 1));
    EXPECT_EQ(L"Ordnerfavoriten", TabText(form->tabOB, 2));
    EXPECT_EQ(0, TabCtrl_GetCurSel(form->tabOB));

    ASSERT_EQ(7, SendMessageW(form->cmbMostUsedTimeframe, CB_GETCOUNT, 0, 0));
    const wchar_t* frames[] = {L"(Alle)",        L"Letzte 2 Stunden", L"Letzte 24 Stunden", L"Letzte 3 Tage",
                               L"Letzte 7 Tage", L"Letzte 14 Tage",   L"Letzte 30 Tage"};
    for (int i = 0; i < 7; ++i) {
        wchar_t text[64] = {};
        SendMessageW(form->cmbMostUsedTimeframe, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(frames[i], text);
    }
    EXPECT_EQ(0, SendMessageW(form->cmbMostUsedTimeframe, CB_GETCURSEL, 0, 0));

    ASSERT_EQ(3, form->lvwFolders.ColumnCount());
    EXPECT_EQ(L"Ordner", form->lvwFolders.ColumnText(0));
    EXPECT_EQ(L"Pfad", form->lvwFolders.ColumnText(1));
    EXPECT_EQ(L"Verwendet", form->lvwFolders.ColumnText(2));
    EXPECT_EQ(2100 / tpp, ListColumnPixels(*form, 0));

    // The last-used list starts with the search box and the welcome pane.
    EXPECT_TRUE(IsWindowVisible(form->picFindHost));
    EXPECT_FALSE(IsWindowVisible(form->cmbMostUsedTimeframe));
    EXPECT_FALSE(IsWindowVisible(form->picManageFavoritesHost));
    EXPECT_TRUE(form->bMessagePaneShown);
    EXPECT_EQ(L"Willkommen bei Pfadwerk!", TextOf(form->lblMessageHeader));

    EXPECT_EQ(L"Verwendeten Ordner suchen (Strg+F)", form->tooltips.TipText(form->txtFind));
    EXPECT_EQ(L"Menü anzeigen", form->tooltips.TipText(form->cmdShowMenu));
    EXPECT_EQ(L"Nur die in diesem Zeitraum am häufigsten verwendeten Ordner anzeigen",
              form->tooltips.TipText(form->cmbMostUsedTimeframe));

    // The worker starts at log-on through the shortcut.
    cComInit com;
    cComPtr<IShellLinkW> link;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())));
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

TEST_F(MainWindow, SecondStartNeitherCreatesTheShortcutNorShowsTheWelcomeAgain) {
    LoadMainWindow()->Unload();
    // The user deleted the shortcut: it stays deleted.
    ASSERT_TRUE(DeleteFileW(AutostartLink().c_str()));
    auto form = LoadMainWindow();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(AutostartLink().c_str()));
    EXPECT_FALSE(form->bFirstRunPending);
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
    EXPECT_EQ(L"Ordnerfavoriten", TabText(form->tabOB, 0));
    EXPECT_EQ(L"Zuletzt verwendet", TabText(form->tabOB, 1));
    EXPECT_EQ(L"Häufig verwendet", TabText(form->tabOB, 2));
    EXPECT_EQ(1, TabCtrl_GetCurSel(form->tabOB));
    EXPECT_EQ(1, form->lCurrentView);
}

TEST_F(MainWindow, EachStoredListOpensOnItsTab) {
    Store(Setting::ShowFavoritesTabFirst, 1);
    Store(Setting::ListTypeActive, 3);
    auto form = LoadMainWindow(false);
    EXPECT_EQ(0, TabCtrl_GetCurSel(form->tabOB));
    EXPECT_EQ(WS_VISIBLE, GetWindowLongPtrW(form->picManageFavoritesHost, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(0, GetWindowLongPtrW(form->picFindHost, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(L"Ordnerfavoriten festlegen", TextOf(form->lblMessageHeader));
    EXPECT_EQ(L"Ordner suchen", TextOf(form->txtFind));
    form.reset();

    Store(Setting::ShowFavoritesTabFirst, 0);
    Store(Setting::ListTypeActive, 2);
    Store(Setting::MRUTimeframe, 4);
    form = LoadMainWindow(false);
    EXPECT_EQ(1, TabCtrl_GetCurSel(form->tabOB));
    EXPECT_EQ(WS_VISIBLE, GetWindowLongPtrW(form->cmbMostUsedTimeframe, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(4, SendMessageW(form->cmbMostUsedTimeframe, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"Keine verwendeten Ordner im ausgewählten Zeitraum", TextOf(form->lblMessageHeader));
    form.reset();

    // Damaged values fall back to the last-used list and "(Alle)".
    Store(Setting::ListTypeActive, 7);
    Store(Setting::MRUTimeframe, 12);
    form = LoadMainWindow(false);
    EXPECT_EQ(1, form->lCurrentView);
    EXPECT_EQ(0, TabCtrl_GetCurSel(form->tabOB));
    EXPECT_EQ(0, SendMessageW(form->cmbMostUsedTimeframe, CB_GETCURSEL, 0, 0));
}

TEST_F(MainWindow, HiddenPathColumnTurnsPathSortingIntoTheUsualOrder) {
    Store(Setting::HidePathColumn, 1);
    Store(Setting::SortingMostUsed, 3);
    Store(Setting::SortingLastUsed, 4);
    auto form = LoadMainWindow(false);
    EXPECT_EQ(5, form->lSortingMostUsed);
    EXPECT_EQ(5, form->lSortingLastUsed);
    ASSERT_EQ(2, form->lvwFolders.ColumnCount());  // "Ordner", "Verwendet"
    EXPECT_EQ(L"Ordner", form->lvwFolders.ColumnText(0));
    form.reset();

    // With the path column they stay.
    Store(Setting::HidePathColumn, 0);
    form = LoadMainWindow(false);
    EXPECT_EQ(3, form->lSortingMostUsed);
    EXPECT_EQ(4, form->lSortingLastUsed);
    EXPECT_EQ(3, form->lvwFolders.ColumnCount());
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
    std::wstring filter = L"(FoldersProtocol.FolderPath Not Like '%Temp%')";
    WriteRaw(SectionKeyOf(SettingsKey::CurrentSettings), L"IgnoreStringSQL", REG_SZ, filter.c_str(),
             static_cast<DWORD>((filter.size() + 1) * sizeof(wchar_t)));
    auto form = LoadMainWindow(false);
    RECT window{};
    GetWindowRect(form->hWnd(), &window);
    EXPECT_EQ(9000 / form->TwipsPerPixelX(), window.right - window.left);
    EXPECT_EQ(7500 / form->TwipsPerPixelY(), window.bottom - window.top);
    EXPECT_EQ(3000 / form->TwipsPerPixelX(), ListColumnPixels(*form, 0));
    EXPECT_EQ(4, form->bOptions_ExitBehavior);
    EXPECT_TRUE(form->bOptions_DefaultOpenInExplorer);
    EXPECT_FALSE(form->bOptions_ReuseFolderWindows);
    EXPECT_EQ(2, form->lOptions_ListSize);
    EXPECT_TRUE(form->bSearchTipShown);
    EXPECT_FALSE(form->bFirstRunPending);
    EXPECT_EQ(filter, form->sIgnoreFilter);
    EXPECT_FALSE(form->bIconView);
}

TEST_F(MainWindow, LargeIconViewGetsItsOwnImageList) {
    Store(Setting::IconView, 1);
    auto form = LoadMainWindow(false);
    EXPECT_TRUE(form->bIconView);
    EXPECT_FALSE(form->SmallIcons());
    EXPECT_EQ(cListView::ViewMode::LargeIcons, form->lvwFolders.GetViewMode());
    int cx = 0, cy = 0;
    ASSERT_TRUE(ImageList_GetIconSize(form->lvwFolders.ImageList(LVSIL_NORMAL), &cx, &cy));
    EXPECT_EQ(32, cx);
}

TEST_F(MainWindow, DetailsViewIconSizeFollowsTheOption) {
    for (int size : {0, 1, 2}) {
        Store(Setting::FolderListSize, size);
        auto form = LoadMainWindow(false);
        int cx = 0, cy = 0;
        ASSERT_TRUE(ImageList_GetIconSize(form->lvwFolders.ImageList(LVSIL_SMALL), &cx, &cy));
        EXPECT_EQ(size == 0 ? 16 : size == 1 ? 24 : 32, cx);
        EXPECT_EQ(size == 0, form->SmallIcons());
        // A changed option builds a new list of the new size.
        form->lOptions_ListSize = (size + 1) % 3;
        form->ReloadDetailsViewSettings();
        ASSERT_TRUE(ImageList_GetIconSize(form->lvwFolders.ImageList(LVSIL_SMALL), &cx, &cy));
        EXPECT_EQ(form->lOptions_ListSize == 0 ? 16 : form->lOptions_ListSize == 1 ? 24 : 32, cx);
    }
}

TEST_F(MainWindow, ClosingSavesSizePositionAndColumnInTwips) {
    auto form = LoadMainWindow();
    const int tx = form->TwipsPerPixelX(), ty = form->TwipsPerPixelY();
    SetWindowPos(form->hWnd(), nullptr, 100, 120, 560, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    form->lvwFolders.SetColumnWidthPixels(0, 150);
    Pump(20);
    form->Unload();
    EXPECT_EQ(nullptr, form->hWnd());
    EXPECT_TRUE(bMainWindowUnloaded);
    EXPECT_EQ(static_cast<DWORD>(560 * tx), StoredNumber(Setting::WindowWidth));
    EXPECT_EQ(static_cast<DWORD>(400 * ty), StoredNumber(Setting::WindowHeight));
    EXPECT_EQ(static_cast<DWORD>(100 * tx), StoredNumber(Setting::WindowLeft));
    EXPECT_EQ(static_cast<DWORD>(120 * ty), StoredNumber(Setting::WindowTop));
    EXPECT_EQ(static_cast<DWORD>(150 * tx), StoredNumber(Setting::FirstColumnWidth));

    // The next start comes back at that size, and at that place in mode 5.
    Store(Setting::WindowPosition, 5);
    form = LoadMainWindow();
    RECT window{};
    GetWindowRect(form->hWnd(), &window);
    EXPECT_EQ((RECT{100, 120, 660, 520}), window);
}

TEST_F(MainWindow, ClosingWhileMinimizedKeepsTheLastSavedPlace) {
    Store(Setting::ExitBehavior, 3);
    Store(Setting::WindowWidth, 8000);
    auto form = LoadMainWindow();
    ShowWindow(form->hWnd(), SW_MINIMIZE);
    Pump(50);
    ASSERT_TRUE(IsIconic(form->hWnd()));
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
    LONG_PTR style = GetWindowLongPtrW(form->hWnd(), GWL_STYLE);
    EXPECT_EQ(0, style & (WS_DLGFRAME | WS_SYSMENU));
    EXPECT_EQ(WS_THICKFRAME, style & WS_THICKFRAME);
    EXPECT_FALSE(form->bOptions_ShowWindowTitleAndBorder);
    EXPECT_FALSE(form->FramedList());
    form.reset();

    Store(Setting::ShowWindowTitleAndBorder, 1);
    form = LoadMainWindow(false);
    EXPECT_EQ(WS_CAPTION, GetWindowLongPtrW(form->hWnd(), GWL_STYLE) & WS_CAPTION);
    EXPECT_EQ(!bVistaThemed, form->FramedList());
}

TEST_F(MainWindow, ResizeLaysTheControlsOut) {
    Store(Setting::HidePathColumn, 1);
    auto form = LoadMainWindow();
    SetWindowPos(form->hWnd(), nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    Pump(20);
    const int tx = form->TwipsPerPixelX(), ty = form->TwipsPerPixelY();
    RECT client{};
    GetClientRect(form->hWnd(), &client);
    auto inParent = [](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT host = inParent(form->picHost);
    EXPECT_EQ((RECT{0, 390 / ty, client.right, client.bottom}), host);
    RECT list = inParent(form->lvwFolders.hWnd());
    EXPECT_EQ(form->FramedList() ? 0 : -1, list.left);
    EXPECT_EQ(client.right + 1, list.right);
    EXPECT_EQ(client.right - 600 / tx, inParent(form->cmdShowMenu).left);
    RECT find = inParent(form->picFindHost);
    EXPECT_EQ(std::lround((client.right * tx - 600 - (find.right - find.left) * tx - 100) / double(tx)), find.left);
    EXPECT_EQ(find.left, inParent(form->cmbMostUsedTimeframe).left);
    EXPECT_EQ(find.left, inParent(form->picManageFavoritesHost).left);
    // Without the path column the name column takes the rest of the width
    // beside the count column.
    int expected =
        ((list.right - list.left) * tx - 30 - form->ScrollBarAllowance() - form->lUsedCountColumnWidth) / tx;
    EXPECT_NEAR(expected, form->lvwFolders.ColumnWidthPixels(0), 1);
}

TEST_F(MainWindow, StartsAtTheChosenPlace) {
    Store(Setting::WindowPosition, 3);
    auto form = LoadMainWindow(false);
    RECT window{};
    GetWindowRect(form->hWnd(), &window);
    const int tx = form->TwipsPerPixelX(), ty = form->TwipsPerPixelY();
    int w = (window.right - window.left) * tx, h = (window.bottom - window.top) * ty;
    int screenW = GetSystemMetrics(SM_CXSCREEN) * tx, screenH = GetSystemMetrics(SM_CYSCREEN) * ty;
    EXPECT_NEAR(((screenW - w) / 2 - 100) / tx, window.left, 1);
    EXPECT_NEAR(((screenH - h) / 2) / ty, window.top, 1);
}

// ---- The pop-up behaviour ----

struct ExitCase {
    int exitBehavior;
    enum { Closes, Minimizes, Stays } outcome;
};

class Deactivation : public MainWindow, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(Deactivation, FollowsExitBehavior) {
    Store(Setting::ExitBehavior, GetParam().exitBehavior);
    auto form = LoadMainWindow();
    OtherWindow other;
    SetForegroundWindow(form->hWnd());
    Pump(50);
    other.Activate();
    switch (GetParam().outcome) {
        case ExitCase::Closes:
            EXPECT_TRUE(PumpUntil([&] { return form->hWnd() == nullptr; }));
            EXPECT_TRUE(bMainWindowUnloaded);
            // Closing this way saves like the close box.
            EXPECT_TRUE(StoredNumber(Setting::WindowWidth).has_value());
            break;
        case ExitCase::Minimizes:
            EXPECT_TRUE(PumpUntil([&] { return form->hWnd() && IsIconic(form->hWnd()); }));
            break;
        case ExitCase::Stays:
            Pump(300);
            ASSERT_NE(nullptr, form->hWnd());
            EXPECT_FALSE(IsIconic(form->hWnd()));
            EXPECT_TRUE(IsWindowVisible(form->hWnd()));
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Deactivation,
                         ::testing::Values(ExitCase{1, ExitCase::Closes}, ExitCase{2, ExitCase::Minimizes},
                                           ExitCase{3, ExitCase::Stays}, ExitCase{4, ExitCase::Minimizes},
                                           ExitCase{5, ExitCase::Closes}));

TEST_F(MainWindow, OpenedFolderKeepsTheWindowOnDeactivation) {
    auto form = LoadMainWindow();
    form->bFolderOpened = true;
    OtherWindow other;
    other.Activate();
    Pump(300);
    ASSERT_NE(nullptr, form->hWnd());
    EXPECT_FALSE(IsIconic(form->hWnd()));
}

TEST_F(MainWindow, SearchBalloonClickKeepsTheWindowOnce) {
    auto form = LoadMainWindow();
    HWND balloon = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", WS_POPUP | TTS_BALLOON, 0, 0, 10, 10,
                                   form->hWnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, balloon);
    form->bMustIgnoreSearchBalloonTipClick = true;
    SendMessageW(form->hWnd(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(balloon));
    Pump(200);
    ASSERT_NE(nullptr, form->hWnd());
    EXPECT_FALSE(form->bMustIgnoreSearchBalloonTipClick);
    // The next deactivation closes as usual.
    SendMessageW(form->hWnd(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(balloon));
    EXPECT_TRUE(PumpUntil([&] { return form->hWnd() == nullptr; }));
    DestroyWindow(balloon);
}

TEST_F(MainWindow, OtherWindowIsNoBalloon) {
    auto form = LoadMainWindow();
    OtherWindow other;
    form->bMustIgnoreSearchBalloonTipClick = true;
    SendMessageW(form->hWnd(), WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other.hwnd()));
    EXPECT_TRUE(PumpUntil([&] { return form->hWnd() == nullptr; }));
}

TEST_F(MainWindow, ActivationMessageRestoresAndBringsForward) {
    Store(Setting::ExitBehavior, 3);
    auto form = LoadMainWindow();
    OtherWindow other;
    ShowWindow(form->hWnd(), SW_MINIMIZE);
    other.Activate();
    Pump(50);
    ASSERT_TRUE(IsIconic(form->hWnd()));
    PostMessageW(form->hWnd(), RegisterWindowMessageW(L"ActivatePfadwerk"), 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsIconic(form->hWnd()) && GetForegroundWindow() == form->hWnd(); }));
}

TEST_F(MainWindow, MinimumSizeByDisplayFlags) {
    auto form = LoadMainWindow();
    const bool vista = bVistaThemed, large = bLargeFonts;
    for (int flags = 0; flags < 4; ++flags) {
        bVistaThemed = flags & 1;
        bLargeFonts = flags & 2;
        MINMAXINFO info{};
        SendMessageW(form->hWnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        PixelSize expected = MinimumWindowSize(bVistaThemed, bLargeFonts);
        EXPECT_EQ(expected.width, info.ptMinTrackSize.x) << flags;
        EXPECT_EQ(expected.height, info.ptMinTrackSize.y) << flags;
    }
    bVistaThemed = vista;
    bLargeFonts = large;
    // Asked to shrink further, the window keeps the minimum.
    SetWindowPos(form->hWnd(), nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    RECT window{};
    GetWindowRect(form->hWnd(), &window);
    PixelSize minimum = MinimumWindowSize(bVistaThemed, bLargeFonts);
    EXPECT_GE(window.right - window.left, minimum.width);
    EXPECT_GE(window.bottom - window.top, minimum.height);
}

TEST_F(MainWindow, UnloadGivesTheWindowProcedureBack) {
    auto form = LoadMainWindow();
    HWND hwnd = form->hWnd();
    ASSERT_NE(nullptr, form->lOriginalWindowProcAddress);
    form->RemoveHook();
    EXPECT_EQ(nullptr, form->lOriginalWindowProcAddress);
    // Without the hook, losing the focus does nothing.
    OtherWindow other;
    other.Activate();
    Pump(200);
    EXPECT_TRUE(IsWindow(hwnd));
    form->InstallHook();
    form->Unload();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, form->lOriginalWindowProcAddress);
}

}  // namespace
}  // namespace pw::test
