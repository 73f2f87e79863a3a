// The history lists of the main window filled from a real history file:
// entries, texts, groups, limits, the message pane, the most-used list, the
// ignore filter, the hover tips and the one-time search tip.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>

#include "Handles.h"
#include "Database.h"
#include "FolderListDates.h"
#include "LocaleTexts.h"
#include "MainWindowSupport.h"

namespace pw::test {
namespace {

LocalTime Now() {
    return SystemLocalTime();
}
LocalTime SecondsAgo(long long seconds) {
    return FromSeconds(SecondsSinceEpoch(Now()) - seconds);
}
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

std::wstring TempFolder() {
    return ScratchFolder(L"PfadwerkListTests");
}

// Image `index` of a list's images as drawn, pixel by pixel.
std::vector<DWORD> ImagePixels(HIMAGELIST images, int index) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    cMemoryDC dc(CreateCompatibleDC(nullptr));
    cBitmap bitmap(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    cSelection selected(dc.Get(), bitmap.Get());
    ImageList_Draw(images, index, dc.Get(), 0, 0, ILD_NORMAL);
    GdiFlush();
    return std::vector<DWORD>(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + cx * cy);
}

// The shell's icon for the share "\\Test\Test" asked with these
// attributes, in an image list like the given one.
std::vector<DWORD> ShareIconPixels(HIMAGELIST like, DWORD attributes) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(like, &cx, &cy);
    cImageList images(ImageList_Create(cx, cy, ILC_COLOR32, 1, 1));
    SHFILEINFOW info{};
    UINT flags = SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | (cx == 16 ? SHGFI_SMALLICON : SHGFI_LARGEICON);
    if (SHGetFileInfoW(L"\\\\Test\\Test", attributes, &info, sizeof info, flags) && info.hIcon) {
        ImageList_AddIcon(images.Get(), info.hIcon);
        DestroyIcon(info.hIcon);
    }
    return ImagePixels(images.Get(), 0);
}

class FolderListWindow : public cMainWindowTest {
  protected:
    FolderListWindow() : cMainWindowTest(TempFolder()) {}

    void Visit(const std::wstring& path, const std::wstring& name, const LocalTime& when) { VisitAt(path, name, when); }

    frmMain& Load() { return Start(TestSetup(false, database_)); }

    // The search box as the user leaves it after typing.
    void Type(const std::wstring& text) {
        HWND find = Control(*form_, ctl::txtFind);
        SetFocus(find);
        SetWindowTextW(find, text.c_str());
    }

    std::wstring InfoTip(int item) {
        wchar_t buffer[INFOTIPSIZE] = L"unchanged";
        NMLVGETINFOTIPW tip{};
        tip.hdr.hwndFrom = form_->FolderList().ListHwnd();
        tip.hdr.idFrom = GetDlgCtrlID(tip.hdr.hwndFrom);
        tip.hdr.code = LVN_GETINFOTIPW;
        tip.pszText = buffer;
        tip.cchTextMax = INFOTIPSIZE;
        tip.iItem = item;
        SendMessageW(form_->FolderList().Hwnd(), WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
        return buffer;
    }

    const cListView& List() const { return form_->FolderList().View(); }
    bool PaneShown() const {
        return (GetWindowLongPtrW(Control(*form_, ctl::picMessagePane), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    std::wstring PaneHeader() const { return TextOf(Control(*form_, ctl::lblMessageHeader)); }
};

TEST_F(FolderListWindow, OneEntryPerFolderWithItsLatestUseInTheRightGroup) {
    LocalTime latest = EarlierToday(20, 20);
    for (int i = 1; i <= 20; ++i)
        Visit(L"C:\\windows", L"windows", EarlierToday(i, 20));
    frmMain& form = Load();

    ASSERT_EQ(1, List().ItemCount());
    EXPECT_EQ(L"itmx0", List().ItemKey(0));
    EXPECT_EQ(L"windows", List().ItemText(0));
    EXPECT_EQ(L"C:\\windows", List().SubItemText(0, 1));
    EXPECT_EQ(L"C:\\windows", List().ItemTag(0));
    EXPECT_EQ(L"Heute, " + SystemShortTime(latest), List().SubItemText(0, 2));
    EXPECT_EQ(L"t", List().ItemGroup(0));
    EXPECT_GE(List().ItemIcon(0), 1);
    // The entry leads to its row.
    const FolderRow* row = form.FolderList().RowOf(0);
    ASSERT_NE(nullptr, row);
    EXPECT_EQ(L"C:\\windows", row->path);
    ASSERT_TRUE(row->dateUsed.has_value());
    EXPECT_EQ(SystemShortTime(latest), SystemShortTime(*row->dateUsed));

    // Groups newest first, shown in the default mode.
    EXPECT_TRUE(List().GroupsEnabled());
    std::vector<std::wstring> groups = {L"t", L"y", L"w", L"o"};
    EXPECT_EQ(groups, List().GroupKeys());
    EXPECT_EQ(L"Heute", List().GroupHeader(L"t"));
    EXPECT_EQ(L"Letzte Woche oder früher", List().GroupHeader(L"o"));

    ASSERT_EQ(3, List().ColumnCount());
    EXPECT_EQ(L"Verwendet", List().ColumnText(2));
    EXPECT_TRUE(GetWindowLongPtrW(List().hWndHeader(), GWL_STYLE) & HDS_BUTTONS);
    EXPECT_FALSE(PaneShown());

    // Fills leave the windows' procedures as they are; the columns stay.
    auto procedure = [](HWND hwnd) { return GetWindowLongPtrW(hwnd, GWLP_WNDPROC); };
    LONG_PTR control = procedure(form.FolderList().Hwnd()), inner = procedure(form.FolderList().ListHwnd());
    form.FillFolderList(false);
    form.FillFolderList(true);
    EXPECT_EQ(control, procedure(form.FolderList().Hwnd()));
    EXPECT_EQ(inner, procedure(form.FolderList().ListHwnd()));
    EXPECT_EQ(1, List().ItemCount());
    EXPECT_EQ(3, List().ColumnCount());
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
    ASSERT_EQ(3, List().ItemCount());
    EXPECT_EQ(L"system32", List().ItemText(0));  // the first row in date order wins
    EXPECT_EQ(L"Heute, " + SystemShortTime(newest), List().SubItemText(0, 2));
    // The share is listed with the shell's icon for a share asked by name
    // alone, asking nobody.
    EXPECT_EQ(L"Freigabe", List().ItemText(1));
    EXPECT_EQ(0, List().ItemIcon(1));
    HIMAGELIST images = List().ImageList(LVSIL_SMALL);
    ASSERT_NE(ShareIconPixels(images, 0), ShareIconPixels(images, FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(ShareIconPixels(images, 0), ImagePixels(images, 0));
    EXPECT_EQ(L"itmx1", List().ItemKey(1));
    EXPECT_EQ(L"Fonts", List().ItemText(2));
    EXPECT_EQ(L"Gestern, " + SystemShortTime(yesterday), List().SubItemText(2, 2));
    EXPECT_EQ(L"y", List().ItemGroup(2));
    EXPECT_EQ(L"itmx2", List().ItemKey(2));
    // Each entry keeps the row it came from, not the rows read before it.
    ASSERT_NE(nullptr, form.FolderList().RowOf(2));
    EXPECT_EQ(yesterday, form.FolderList().RowOf(2)->dateUsed);
    // Each local entry has an image of its own.
    EXPECT_NE(List().ItemIcon(0), List().ItemIcon(2));
}

TEST_F(FolderListWindow, FourteenEntriesAndUpToOneHundredFiftyDuringASearch) {
    for (int i = 0; i < 160; ++i) {
        std::wstring name = L"Ordner" + std::to_wstring(1000 + i);
        Visit(MakeFolder(name), name, SecondsAgo(600 + i));
    }
    frmMain& form = Load();
    ASSERT_EQ(14, List().ItemCount());
    EXPECT_EQ(L"Ordner1000", List().ItemText(0));
    EXPECT_EQ(L"Ordner1013", List().ItemText(13));

    Type(L"  ordner1  ");
    form.FillFolderList(false);
    EXPECT_EQ(150, List().ItemCount());
    ASSERT_NE(nullptr, form.FolderList().RowOf(149));
    EXPECT_EQ(nullptr, form.FolderList().RowOf(150));

    Type(L"ordner11");
    form.FillFolderList(false);
    EXPECT_EQ(60, List().ItemCount());  // Ordner1100 … Ordner1159
}

TEST_F(FolderListWindow, EmptyListsShowTheirPane) {
    frmMain& form = Load();
    EXPECT_EQ(0, List().ItemCount());
    EXPECT_TRUE(PaneShown());
    EXPECT_EQ(L"Willkommen bei Pfadwerk!", PaneHeader());

    Visit(L"C:\\windows", L"windows", SecondsAgo(60));
    Type(L"zz'q");
    form.FillFolderList(false);
    EXPECT_EQ(0, List().ItemCount());
    EXPECT_EQ(L"Kein verwendeter Ordner gefunden!", PaneHeader());
    EXPECT_NE(std::wstring::npos, TextOf(Control(form, ctl::lblMessage)).find(L"'zz'q'"));

    Type(L"win");
    form.FillFolderList(false);
    EXPECT_EQ(1, List().ItemCount());
    EXPECT_FALSE(PaneShown());
}

TEST_F(FolderListWindow, FirstRunShowsTheWelcomeWhateverTheHistoryHolds) {
    ForgetUser();
    Store(Setting::TipShown_SearchFolder, 1);
    Visit(L"C:\\windows", L"windows", SecondsAgo(60));
    frmMain& form = Load();
    EXPECT_TRUE(form.FirstRunPending());
    EXPECT_EQ(1, List().ItemCount());
    EXPECT_TRUE(PaneShown());
    EXPECT_EQ(L"Willkommen bei Pfadwerk!", PaneHeader());
}

TEST_F(FolderListWindow, MostUsedListCountsWithinTheTimeFrame) {
    for (int i = 0; i < 5; ++i)
        Visit(L"C:\\windows", L"windows", SecondsAgo(100 + i));
    for (int i = 0; i < 3; ++i)
        Visit(L"C:\\windows\\system32", L"system32", SecondsAgo(200 + i));
    Visit(L"C:\\windows\\Fonts", L"Fonts", DaysAgo(40, 12, 0));
    Visit(L"C:\\windows\\Fonts", L"Fonts", DaysAgo(41, 12, 0));
    Store(Setting::ListTypeActive, 2);
    frmMain& form = Load();

    ASSERT_EQ(3, List().ItemCount());
    EXPECT_EQ(L"windows", List().ItemText(0));
    EXPECT_EQ(L"5 mal", List().SubItemText(0, 2));
    EXPECT_EQ(L"3 mal", List().SubItemText(1, 2));
    EXPECT_EQ(L"2 mal", List().SubItemText(2, 2));
    EXPECT_FALSE(List().GroupsEnabled());
    EXPECT_EQ(cListView::kMarkDescending, List().SortMark(2));
    EXPECT_EQ(cListView::kSortNumeric, List().SortType(2));
    ASSERT_NE(nullptr, form.FolderList().RowOf(0));
    EXPECT_EQ(5, form.FolderList().RowOf(0)->usageCount);

    // Ascending by count (a second click on "Verwendet"), then the last 30
    // days only.
    ClickColumn(form, 2);
    EXPECT_EQ(L"Fonts", List().ItemText(0));
    EXPECT_EQ(cListView::kMarkAscending, List().SortMark(2));
    ClickColumn(form, 2);
    ChooseTimeframe(form, 6);
    ASSERT_EQ(2, List().ItemCount());
    EXPECT_EQ(L"system32", List().ItemText(1));

    // Nothing in the last two hours' frame (three hours, as the query reads).
    cDatabase db;
    ASSERT_TRUE(db.Open(database_));
    ASSERT_TRUE(db.Execute(L"DELETE FROM FoldersProtocol WHERE FolderName <> 'Fonts'"));
    db.Close();
    ChooseTimeframe(form, 1);
    EXPECT_EQ(0, List().ItemCount());
    EXPECT_EQ(L"Keine verwendeten Ordner im ausgewählten Zeitraum", PaneHeader());
}

TEST_F(FolderListWindow, IgnoreFilterHidesFoldersInBothLists) {
    Visit(L"C:\\windows", L"windows", SecondsAgo(60));
    Visit(L"C:\\windows\\system32", L"system32", SecondsAgo(120));
    Visit(L"C:\\windows\\Fonts", L"Fonts", SecondsAgo(180));
    WriteText(Setting::IgnoreStringSQL,
              L"(FoldersProtocol.FolderPath <> 'c:\\windows\\fonts' AND FoldersProtocol.FolderPath Not Like "
              L"'%system%')");
    frmMain& form = Load();
    ASSERT_EQ(1, List().ItemCount());
    EXPECT_EQ(L"windows", List().ItemText(0));

    SelectTab(form, 1);
    ASSERT_TRUE(PumpUntil([&] { return form.CurrentView() == FolderView::MostUsed; }));
    ASSERT_EQ(1, List().ItemCount());
    EXPECT_EQ(L"1 mal", List().SubItemText(0, 2));

    // A stored filter with SQL of its own is not run: the window builds the
    // filter anew from the list and keeps that.
    form_.reset();
    const std::wstring rebuilt = L"(FoldersProtocol.FolderPath <> 'c:\\windows\\fonts')";
    WriteText(Setting::IgnoreStrings, L"c:\\windows\\fonts|\\|");
    WriteText(Setting::IgnoreStringSQL, rebuilt + L" OR 1=1");
    Load();
    ASSERT_EQ(2, List().ItemCount());
    EXPECT_EQ(L"windows", List().ItemText(0));
    EXPECT_EQ(L"system32", List().ItemText(1));
    EXPECT_EQ(rebuilt, ReadText(Setting::IgnoreStringSQL));
}

TEST_F(FolderListWindow, SortModesTipsAndHeaderGuards) {
    LocalTime threeHoursAgo = SecondsAgo(3 * 3600);
    Visit(L"C:\\windows\\Fonts", L"Fonts", threeHoursAgo);
    Visit(L"C:\\windows", L"windows", SecondsAgo(20 * 60));
    Store(Setting::SortingLastUsed, 2);  // "Ordner" ascending
    frmMain& form = Load();

    ASSERT_EQ(2, List().ItemCount());
    EXPECT_FALSE(List().GroupsEnabled());
    EXPECT_EQ(cListView::kMarkAscending, List().SortMark(0));
    EXPECT_EQ(cListView::kMarkNone, List().SortMark(2));
    // Sorted: Fonts first though it was added second; its tip is its own.
    EXPECT_EQ(L"Fonts", List().ItemText(0));
    EXPECT_EQ(L"itmx1", List().ItemKey(0));
    std::wstring tip = InfoTip(0);
    EXPECT_EQ(0u, tip.find(L"Zuletzt verwendet: vor 3 Stunden (um " + SystemShortTime(threeHoursAgo) + L")"))
        << std::string(tip.begin(), tip.end());
    // "Zuletzt verwendet: vor 20 min" has 29 characters: one blank more.
    tip = InfoTip(1);
    EXPECT_TRUE(tip == L"Zuletzt verwendet: vor 20 min " || tip == L"Zuletzt verwendet: vor 21 min ")
        << std::string(tip.begin(), tip.end());

    // Only "Ordner" can be dragged wider.
    NMHEADERW track{};
    track.hdr.hwndFrom = List().hWndHeader();
    track.hdr.code = HDN_BEGINTRACKW;
    track.iItem = 1;
    EXPECT_EQ(1, SendMessageW(form.FolderList().Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track)));
    track.iItem = 0;
    EXPECT_EQ(0, SendMessageW(form.FolderList().Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track)));

    // A double click on a divider keeps the count column's present width:
    // the path column gives way to it.
    const int tx = form.ScreenTwips().perPixelX;
    auto pathWidth = [&] { return List().ColumnWidth(1); };
    int before = pathWidth();
    ListView_SetColumnWidth(form.FolderList().ListHwnd(), 2, List().ColumnWidthPixels(2) + 40);
    track.hdr.code = HDN_DIVIDERDBLCLICKW;
    track.iItem = 2;
    SendMessageW(form.FolderList().Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track));
    EXPECT_NEAR(before - 40 * tx, pathWidth(), 2 * tx);
    form.RecalcColumnsWidths();
    EXPECT_NEAR(before - 40 * tx, pathWidth(), 2 * tx) << "the width is kept for later layouts";

    // Back to the grouped list: no marks, query order inside the groups.
    ClickColumn(form, 2);
    EXPECT_TRUE(List().GroupsEnabled());
    EXPECT_EQ(L"windows", List().ItemText(0));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(cListView::kMarkNone, List().SortMark(c));
}

TEST_F(FolderListWindow, SearchTipOnceAfterTheFirstListWithEntries) {
    Store(Setting::TipShown_SearchFolder, 0);
    Load();
    // An empty list gives no tip.
    EXPECT_FALSE(StoredNumber(Setting::TipShown_SearchFolder).value_or(0) == 1);
    form_.reset();

    Visit(L"C:\\windows", L"windows", SecondsAgo(60));
    Load();
    EXPECT_EQ(1u, StoredNumber(Setting::TipShown_SearchFolder));
}

TEST_F(FolderListWindow, TabChangeFillsTheChosenList) {
    for (int i = 0; i < 3; ++i)
        Visit(L"C:\\windows", L"windows", SecondsAgo(100 + i));
    frmMain& form = Load();
    EXPECT_EQ(L"t", List().ItemGroup(0));

    SelectTab(form, 1);
    ASSERT_TRUE(PumpUntil([&] { return form.CurrentView() == FolderView::MostUsed; }));
    ASSERT_EQ(1, List().ItemCount());
    EXPECT_EQ(L"3 mal", List().SubItemText(0, 2));
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
    frmMain form(TestSetup(false, path));
    ASSERT_TRUE(form.Load());
    auto report = [&](const char* what) {
        double ms = FillMilliseconds(form, 3);
        printf("fill %-34s %9.1f ms  (%d entries)\n", what, ms, form.FolderList().EntryCount());
        fflush(stdout);
    };
    HWND find = Control(form, ctl::txtFind);
    report("last used");
    SetFocus(find);
    SetWindowTextW(find, L"f01");
    report("last used, search 'f01'");
    SetWindowTextW(find, L"zzzz");
    report("last used, search without hits");
    SetWindowTextW(find, L"");
    SelectTab(form, 1);
    PumpUntil([&] { return form.CurrentView() == FolderView::MostUsed; });
    report("most used, (Alle)");
    SendMessageW(Control(form, ctl::cmbMostUsedTimeframe), CB_SETCURSEL, 4, 0);
    report("most used, last 7 days");
    form.Unload();
    ForgetUser();
}

}  // namespace
}  // namespace pw::test

namespace pw::test {
namespace {

// A list without a window around it: nobody listens.
struct NoOwner final : cFolderList::Events {
    KeyPreview PreviewKey(HWND, UINT, WPARAM, LPARAM) override { return KeyPreview::Free; }
    void FolderClicked(const cListView::MouseEvent&) override {}
    void FolderColumnClicked(int) override {}
    bool FolderEntered(int) override { return false; }
    void HistoryCreated() override {}
    void HistoryRepaired() override {}
};

// The designed width of "Verwendet" was made for an 8-point font; in a wider
// one the column grows until its header and every date text fit.
TEST_F(FolderListWindow, TheVerwendetColumnFitsItsHeaderAndDatesInAWideFont) {
    Visit(MakeFolder(L"Gestern"), L"Gestern", DaysAgo(1, 23, 58));
    Visit(MakeFolder(L"Alt"), L"Alt", DaysAgo(40, 12, 0));
    OtherWindow parent;
    cFont wide(CreateFontW(-24, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    NoOwner owner;
    cFolderList list;
    ASSERT_TRUE(list.Create(parent.hwnd(), 1, owner, wide.Get(), Twips{}, DisplayLook{}, 0));
    list.View().Move(RECT{0, 0, 600, 300});
    list.AddColumns(2100, false);
    list.UseDetailsView(ListSize::Small);
    cDatabase db;
    ASSERT_TRUE(db.Open(database_));
    HistoryFill fill;
    fill.rebuildGroups = true;
    ASSERT_TRUE(list.FillFromHistory(&db, fill));
    ASSERT_EQ(2, list.EntryCount());

    const int column = list.View().ColumnWidthPixels(2);
    EXPECT_GE(column * 15, 1410) << "never below the designed width";
    auto width = [&](const std::wstring& text) {
        return static_cast<int>(
            SendMessageW(list.ListHwnd(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    };
    EXPECT_LT(width(L"Verwendet"), column);
    for (int i = 0; i < list.EntryCount(); ++i) {
        std::wstring date = list.View().SubItemText(i, 2);
        EXPECT_LT(width(date) + 8, column) << date;
    }
}

}  // namespace
}  // namespace pw::test
