// The history lists of the main window filled from a real history file:
// entries, texts, groups, limits, the message pane, the most-used list, the
// ignore filter, the hover tips and the one-time search tip.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>

#include "Database.h"
#include "FolderListDates.h"
#include "LocaleTexts.h"
#include "MainWindowSupport.h"

namespace pw::test {
namespace {

LocalTime Now() { return SystemLocalTime(); }
LocalTime SecondsAgo(long long seconds) { return FromSeconds(SecondsSinceEpoch(Now()) - seconds); }
LocalTime DaysAgo(int days, int hour, int minute) {
    LocalTime today = Now();
    LocalTime d = FromDays(DaysFromCivil(today.year, today.month, today.day) - days, hour * 3600 + minute * 60);
    return d;
}
// A moment of today that lies fraction/20 of the way from midnight to now.
LocalTime EarlierToday(int step, int steps) {
    LocalTime now = Now();
    long long sinceMidnight = now.hour * 3600 + now.minute * 60 + now.second;
    return FromDays(DaysFromCivil(now.year, now.month, now.day), sinceMidnight * step / steps);
}

// The short time as the system itself writes it, to check the locale the
// window read.
std::wstring SystemShortTime(const LocalTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    wchar_t text[64] = {};
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, text, 64);
    return text;
}

std::wstring TempFolder() { return ScratchFolder(L"PfadwerkListTests"); }

class FolderListWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetUser();
        database_ = FreshScratchHistory(TempFolder());
        ASSERT_FALSE(database_.empty());
        // A user past the first run who has seen the search tip.
        Store(Setting::SetupDone, 1);
        Store(Setting::TipShown_SearchFolder, 1);
    }
    void TearDown() override {
        form_.reset();
        ForgetUser();
        DeleteTree(TempFolder());
    }

    void Visit(const std::wstring& path, const std::wstring& name, const LocalTime& when) {
        cDatabase db;
        ASSERT_TRUE(db.Open(database_, [when] { return when; }));
        ASSERT_TRUE(db.AppendVisit(path, name));
    }

    std::wstring MakeFolder(const std::wstring& name) {
        std::wstring path = TempFolder() + L"\\" + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }

    frmMain& Load() {
        bMainWindowUnloaded = false;
        frmMainOptions options;
        options.programFolder = DistFolder();
        options.show = false;
        options.singleInstance = false;
        options.databasePath = database_;
        form_ = std::make_unique<frmMain>(options);
        EXPECT_TRUE(form_->Load());
        Pump(50);
        return *form_;
    }

    // The search box as the user leaves it after typing.
    void Type(const std::wstring& text) {
        SetFocus(form_->txtFind);
        SetWindowTextW(form_->txtFind, text.c_str());
    }

    std::wstring InfoTip(int item) {
        wchar_t buffer[INFOTIPSIZE] = L"unchanged";
        NMLVGETINFOTIPW tip{};
        tip.hdr.hwndFrom = form_->lvwFolders.hWndListView();
        tip.hdr.idFrom = GetDlgCtrlID(tip.hdr.hwndFrom);
        tip.hdr.code = LVN_GETINFOTIPW;
        tip.pszText = buffer;
        tip.cchTextMax = INFOTIPSIZE;
        tip.iItem = item;
        SendMessageW(form_->lvwFolders.hWnd(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
        return buffer;
    }

    std::wstring database_;
    std::unique_ptr<frmMain> form_;
};

TEST_F(FolderListWindow, OneEntryPerFolderWithItsLatestUseInTheRightGroup) {
    LocalTime latest = EarlierToday(20, 20);
    for (int i = 1; i <= 20; ++i) Visit(L"C:\\windows", L"windows", EarlierToday(i, 20));
    frmMain& form = Load();

    ASSERT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"itmx0", form.lvwFolders.ItemKey(0));
    EXPECT_EQ(L"windows", form.lvwFolders.ItemText(0));
    EXPECT_EQ(L"C:\\windows", form.lvwFolders.SubItemText(0, 1));
    EXPECT_EQ(L"C:\\windows", form.lvwFolders.ItemTag(0));
    EXPECT_EQ(L"Heute, " + SystemShortTime(latest), form.lvwFolders.SubItemText(0, 2));
    EXPECT_EQ(L"t", form.lvwFolders.ItemGroup(0));
    EXPECT_GE(form.lvwFolders.ItemIcon(0), 1);

    // Groups newest first, shown in the default mode.
    EXPECT_TRUE(form.lvwFolders.GroupsEnabled());
    std::vector<std::wstring> groups = {L"t", L"y", L"w", L"o"};
    EXPECT_EQ(groups, form.lvwFolders.GroupKeys());
    EXPECT_EQ(L"Heute", form.lvwFolders.GroupHeader(L"t"));
    EXPECT_EQ(L"Letzte Woche oder früher", form.lvwFolders.GroupHeader(L"o"));

    ASSERT_EQ(3, form.lvwFolders.ColumnCount());
    EXPECT_EQ(L"Verwendet", form.lvwFolders.ColumnText(2));
    EXPECT_TRUE(form.bUsedColumnAdded);
    EXPECT_TRUE(GetWindowLongPtrW(form.lvwFolders.hWndHeader(), GWL_STYLE) & HDS_BUTTONS);
    EXPECT_FALSE(form.bMessagePaneShown);
    EXPECT_FALSE(IsWindowVisible(form.picMessagePane));
    EXPECT_TRUE(form.bListFilled);
    EXPECT_NE(nullptr, form.lOriginalListViewWindowProcAddress);

    // A second fill puts its procedure back first and installs it once more.
    WNDPROC installed = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(form.lvwFolders.hWnd(), GWLP_WNDPROC));
    form.FillFolderList(false);
    EXPECT_EQ(installed, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(form.lvwFolders.hWnd(), GWLP_WNDPROC)));
    EXPECT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_EQ(3, form.lvwFolders.ColumnCount());
}

TEST_F(FolderListWindow, SkipsDuplicatesShellObjectsAndGoneFoldersWithoutDisturbingNeighbours) {
    std::wstring gone = MakeFolder(L"Verschwunden");
    LocalTime newest = SecondsAgo(60);
    Visit(L"C:\\windows\\system32", L"system32", newest);
    Visit(L"C:\\WINDOWS\\SYSTEM32", L"SYSTEM32", SecondsAgo(120));
    Visit(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"Arbeitsplatz", SecondsAgo(180));
    Visit(gone, L"Verschwunden", SecondsAgo(240));
    Visit(L"\\\\Test\\Freigabe", L"Freigabe", SecondsAgo(300));
    LocalTime yesterday = DaysAgo(1, 23, 30);
    Visit(L"C:\\windows\\Fonts", L"Fonts", yesterday);
    RemoveDirectoryW(gone.c_str());

    frmMain& form = Load();
    ASSERT_EQ(3, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"system32", form.lvwFolders.ItemText(0));  // the first row in date order wins
    EXPECT_EQ(L"Heute, " + SystemShortTime(newest), form.lvwFolders.SubItemText(0, 2));
    // The share is listed with the generic icon, asking nobody.
    EXPECT_EQ(L"Freigabe", form.lvwFolders.ItemText(1));
    EXPECT_EQ(0, form.lvwFolders.ItemIcon(1));
    EXPECT_EQ(L"itmx1", form.lvwFolders.ItemKey(1));
    EXPECT_EQ(L"Fonts", form.lvwFolders.ItemText(2));
    EXPECT_EQ(L"Gestern, " + SystemShortTime(yesterday), form.lvwFolders.SubItemText(2, 2));
    EXPECT_EQ(L"y", form.lvwFolders.ItemGroup(2));
    EXPECT_EQ(L"itmx2", form.lvwFolders.ItemKey(2));
    // The row values follow the entries added, not the rows read.
    EXPECT_EQ(yesterday, form.GetInfoTipDateValue(3));
    // Each local entry has an image of its own.
    EXPECT_NE(form.lvwFolders.ItemIcon(0), form.lvwFolders.ItemIcon(2));
}

TEST_F(FolderListWindow, FourteenEntriesAndUpToOneHundredFiftyDuringASearch) {
    for (int i = 0; i < 160; ++i) {
        std::wstring name = L"Ordner" + std::to_wstring(1000 + i);
        Visit(MakeFolder(name), name, SecondsAgo(600 + i));
    }
    frmMain& form = Load();
    ASSERT_EQ(14, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"Ordner1000", form.lvwFolders.ItemText(0));
    EXPECT_EQ(L"Ordner1013", form.lvwFolders.ItemText(13));

    Type(L"  ordner1  ");
    form.FillFolderList(false);
    EXPECT_EQ(150, form.lvwFolders.ItemCount());
    EXPECT_EQ(151u, form.dtRowDateUsed.size());

    Type(L"ordner11");
    form.FillFolderList(false);
    EXPECT_EQ(60, form.lvwFolders.ItemCount());  // Ordner1100 … Ordner1159
}

TEST_F(FolderListWindow, EmptyListsShowTheirPane) {
    frmMain& form = Load();
    EXPECT_EQ(0, form.lvwFolders.ItemCount());
    EXPECT_TRUE(form.bMessagePaneShown);
    EXPECT_EQ(L"Willkommen bei Pfadwerk!", TextOf(form.lblMessageHeader));
    // No entry, no search tip.
    EXPECT_TRUE(form.bListFilled);

    Visit(L"C:\\windows", L"windows", SecondsAgo(60));
    Type(L"zz'q");
    form.FillFolderList(false);
    EXPECT_EQ(0, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"Kein verwendeter Ordner gefunden!", TextOf(form.lblMessageHeader));
    EXPECT_NE(std::wstring::npos, TextOf(form.lblMessage).find(L"'zz'q'"));

    Type(L"win");
    form.FillFolderList(false);
    EXPECT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_FALSE(form.bMessagePaneShown);
    EXPECT_FALSE(IsWindowVisible(form.picMessagePane));
}

TEST_F(FolderListWindow, FirstRunShowsTheWelcomeWhateverTheHistoryHolds) {
    ForgetUser();
    Store(Setting::TipShown_SearchFolder, 1);
    Visit(L"C:\\windows", L"windows", SecondsAgo(60));
    frmMain& form = Load();
    EXPECT_TRUE(form.bFirstRunPending);
    EXPECT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_TRUE(form.bMessagePaneShown);
    EXPECT_EQ(L"Willkommen bei Pfadwerk!", TextOf(form.lblMessageHeader));
}

TEST_F(FolderListWindow, MostUsedListCountsWithinTheTimeFrame) {
    for (int i = 0; i < 5; ++i) Visit(L"C:\\windows", L"windows", SecondsAgo(100 + i));
    for (int i = 0; i < 3; ++i) Visit(L"C:\\windows\\system32", L"system32", SecondsAgo(200 + i));
    Visit(L"C:\\windows\\Fonts", L"Fonts", DaysAgo(40, 12, 0));
    Visit(L"C:\\windows\\Fonts", L"Fonts", DaysAgo(41, 12, 0));
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();

    ASSERT_EQ(3, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"windows", form.lvwFolders.ItemText(0));
    EXPECT_EQ(L"5 mal", form.lvwFolders.SubItemText(0, 2));
    EXPECT_EQ(L"3 mal", form.lvwFolders.SubItemText(1, 2));
    EXPECT_EQ(L"2 mal", form.lvwFolders.SubItemText(2, 2));
    EXPECT_FALSE(form.lvwFolders.GroupsEnabled());
    EXPECT_EQ(cListView::kMarkDescending, form.lvwFolders.SortMark(2));
    EXPECT_EQ(cListView::kSortNumeric, form.lvwFolders.SortType(2));
    EXPECT_EQ(5.0, form.GetInfoTipLongValue(1));

    // Ascending by count, then the last 30 days only.
    form.lSortingMostUsed = 6;
    form.FillFolderList(false);
    EXPECT_EQ(L"Fonts", form.lvwFolders.ItemText(0));
    EXPECT_EQ(cListView::kMarkAscending, form.lvwFolders.SortMark(2));
    form.lSortingMostUsed = 5;
    SendMessageW(form.cmbMostUsedTimeframe, CB_SETCURSEL, 6, 0);
    form.FillFolderList(false);
    ASSERT_EQ(2, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"system32", form.lvwFolders.ItemText(1));

    // Nothing in the last two hours' frame (three hours, as the query reads).
    cDatabase db;
    ASSERT_TRUE(db.Open(database_));
    ASSERT_TRUE(db.Execute(L"DELETE FROM FoldersProtocol WHERE FolderName <> 'Fonts'"));
    db.Close();
    SendMessageW(form.cmbMostUsedTimeframe, CB_SETCURSEL, 1, 0);
    form.FillFolderList(false);
    EXPECT_EQ(0, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"Keine verwendeten Ordner im ausgewählten Zeitraum", TextOf(form.lblMessageHeader));
}

TEST_F(FolderListWindow, IgnoreFilterHidesFoldersInBothLists) {
    Visit(L"C:\\windows", L"windows", SecondsAgo(60));
    Visit(L"C:\\windows\\system32", L"system32", SecondsAgo(120));
    Visit(L"C:\\windows\\Fonts", L"Fonts", SecondsAgo(180));
    WriteText(Setting::IgnoreStringSQL,
              L"(FoldersProtocol.FolderPath <> 'c:\\windows\\fonts' AND FoldersProtocol.FolderPath Not Like "
              L"'%system%')");
    frmMain& form = Load();
    ASSERT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"windows", form.lvwFolders.ItemText(0));

    form.lCurrentView = 2;
    form.FillFolderList(true);
    ASSERT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"1 mal", form.lvwFolders.SubItemText(0, 2));
}

TEST_F(FolderListWindow, SortModesTipsAndHeaderGuards) {
    LocalTime threeHoursAgo = SecondsAgo(3 * 3600);
    Visit(L"C:\\windows\\Fonts", L"Fonts", threeHoursAgo);
    Visit(L"C:\\windows", L"windows", SecondsAgo(20 * 60));
    Store(Setting::SortingLastUsed, 2);  // "Ordner" ascending
    frmMain& form = Load();

    ASSERT_EQ(2, form.lvwFolders.ItemCount());
    EXPECT_FALSE(form.lvwFolders.GroupsEnabled());
    EXPECT_EQ(cListView::kMarkAscending, form.lvwFolders.SortMark(0));
    EXPECT_EQ(cListView::kMarkNone, form.lvwFolders.SortMark(2));
    // Sorted: Fonts first though it was added second; its tip is its own.
    EXPECT_EQ(L"Fonts", form.lvwFolders.ItemText(0));
    EXPECT_EQ(L"itmx1", form.lvwFolders.ItemKey(0));
    std::wstring tip = InfoTip(0);
    EXPECT_EQ(0u, tip.find(L"Zuletzt verwendet: vor 3 Stunden (um " + SystemShortTime(threeHoursAgo) + L")"))
        << std::string(tip.begin(), tip.end());
    // "Zuletzt verwendet: vor 20 min" has 29 characters: one blank more.
    tip = InfoTip(1);
    EXPECT_TRUE(tip == L"Zuletzt verwendet: vor 20 min " || tip == L"Zuletzt verwendet: vor 21 min ")
        << std::string(tip.begin(), tip.end());

    // Only "Ordner" can be dragged wider.
    NMHEADERW track{};
    track.hdr.hwndFrom = form.lvwFolders.hWndHeader();
    track.hdr.code = HDN_BEGINTRACKW;
    track.iItem = 1;
    EXPECT_EQ(1, SendMessageW(form.lvwFolders.hWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track)));
    track.iItem = 0;
    EXPECT_EQ(0, SendMessageW(form.lvwFolders.hWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track)));

    // A double click on a divider keeps the count column's present width.
    form.lvwFolders.SetColumnWidth(2, 2000);
    track.hdr.code = HDN_DIVIDERDBLCLICKW;
    track.iItem = 2;
    SendMessageW(form.lvwFolders.hWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track));
    EXPECT_NEAR(2000, form.lUsedCountColumnWidth, form.TwipsPerPixelX());

    // Back to the grouped list: no marks, query order inside the groups.
    form.lSortingLastUsed = 5;
    form.FillFolderList(false);
    EXPECT_TRUE(form.lvwFolders.GroupsEnabled());
    EXPECT_EQ(L"windows", form.lvwFolders.ItemText(0));
    for (int c = 0; c < 3; ++c) EXPECT_EQ(cListView::kMarkNone, form.lvwFolders.SortMark(c));
}

TEST_F(FolderListWindow, SearchTipOnceAfterTheFirstListWithEntries) {
    Store(Setting::TipShown_SearchFolder, 0);
    frmMain* form = &Load();
    EXPECT_FALSE(form->bSearchTipShown);  // an empty list gives no tip
    EXPECT_FALSE(StoredNumber(Setting::TipShown_SearchFolder).value_or(0) == 1);
    form_.reset();

    Visit(L"C:\\windows", L"windows", SecondsAgo(60));
    form = &Load();
    EXPECT_TRUE(form->bSearchTipShown);
    EXPECT_TRUE(form->bMustIgnoreSearchBalloonTipClick);
    EXPECT_EQ(1u, StoredNumber(Setting::TipShown_SearchFolder));
}

TEST_F(FolderListWindow, TabChangeFillsTheChosenList) {
    for (int i = 0; i < 3; ++i) Visit(L"C:\\windows", L"windows", SecondsAgo(100 + i));
    frmMain& form = Load();
    EXPECT_EQ(L"t", form.lvwFolders.ItemGroup(0));

    TabCtrl_SetCurSel(form.tabOB, 1);
    NMHDR change{form.tabOB, static_cast<UINT_PTR>(GetDlgCtrlID(form.tabOB)), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(form.hWnd(), WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    ASSERT_TRUE(PumpUntil([&] { return form.lCurrentView == 2 && form.bListFilled; }));
    ASSERT_EQ(1, form.lvwFolders.ItemCount());
    EXPECT_EQ(L"3 mal", form.lvwFolders.SubItemText(0, 2));
    EXPECT_EQ(2u, StoredNumber(Setting::ListTypeActive));
}

TEST(LocaleTexts, ShortTimeDropsTheSecondsWithTheirSeparator) {
    EXPECT_EQ(L"HH:mm", ShortTimePictureOf(L"HH:mm:ss"));
    EXPECT_EQ(L"h:mm tt", ShortTimePictureOf(L"h:mm:ss tt"));
    EXPECT_EQ(L"H.mm' Uhr'", ShortTimePictureOf(L"H.mm.ss' Uhr'"));
    EXPECT_EQ(L"tt h:mm", ShortTimePictureOf(L"tt h:mm:ss"));
}

}  // namespace
}  // namespace pw::test

// Not a test: the fill benchmark, run by tools/list-fill-bench.sh with
// --gtest_also_run_disabled_tests on a history it built
// (PFADWERK_FILL_BENCH_DB). Prints one line per kind of fill.
namespace pw::test {
namespace {

double FillMilliseconds(frmMain& form, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER f, a, b;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&a);
        form.FillFolderList(true);
        QueryPerformanceCounter(&b);
        times.push_back(1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

TEST(FolderListBench, DISABLED_WholeFills) {
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(0u, GetEnvironmentVariableW(L"PFADWERK_FILL_BENCH_DB", path, MAX_PATH));
    ForgetUser();
    Store(Setting::SetupDone, 1);
    Store(Setting::TipShown_SearchFolder, 1);
    bMainWindowUnloaded = false;
    frmMainOptions options;
    options.programFolder = DistFolder();
    options.show = false;
    options.singleInstance = false;
    options.databasePath = path;
    frmMain form(options);
    ASSERT_TRUE(form.Load());
    auto report = [&](const char* what) {
        double ms = FillMilliseconds(form, 3);
        printf("fill %-34s %9.1f ms  (%d entries)\n", what, ms, form.lvwFolders.ItemCount());
        fflush(stdout);
    };
    report("last used");
    SetFocus(form.txtFind);
    SetWindowTextW(form.txtFind, L"f01");
    report("last used, search 'f01'");
    SetWindowTextW(form.txtFind, L"zzzz");
    report("last used, search without hits");
    SetWindowTextW(form.txtFind, L"");
    form.lCurrentView = 2;
    report("most used, (Alle)");
    SendMessageW(form.cmbMostUsedTimeframe, CB_SETCURSEL, 4, 0);
    report("most used, last 7 days");
    form.Unload();
    ForgetUser();
}

}  // namespace
}  // namespace pw::test
