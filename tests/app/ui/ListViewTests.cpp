#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Handles.h"
#include "UiTestSupport.h"
#include "cListView.h"

namespace pw {
namespace {

using Keys = std::vector<std::wstring>;

struct ListViewTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(list.Create(host.hwnd(), 100, RECT{0, 0, 600, 400}));
        ASSERT_NE(nullptr, list.hWndListView());
        EXPECT_EQ(list.hWnd(), GetParent(list.hWndListView()));
    }
    Keys KeysInOrder() const {
        Keys keys;
        for (int i = 0; i < list.ItemCount(); ++i)
            keys.push_back(list.ItemKey(i));
        return keys;
    }
    Keys TextsInOrder(int subItem = 0) const {
        Keys texts;
        for (int i = 0; i < list.ItemCount(); ++i)
            texts.push_back(list.SubItemText(i, subItem));
        return texts;
    }
    Keys KeysOf(const std::vector<int>& indices) const {
        Keys keys;
        for (int i : indices)
            keys.push_back(list.ItemKey(i));
        return keys;
    }

    test::cHostWindow host;
    cListView list;
};

TEST(ListViewHelpers, ItemKeysAndLeadingNumbers) {
    EXPECT_EQ(L"itmx0", MakeItemKey(0));
    EXPECT_EQ(L"itmx149", MakeItemKey(149));
    EXPECT_EQ(12.0, LeadingNumber(L"12 mal"));
    EXPECT_EQ(1.5, LeadingNumber(L"1,5 mal"));
    EXPECT_EQ(-3.0, LeadingNumber(L" -3"));
    EXPECT_FALSE(LeadingNumber(L"mal 12").has_value());
    EXPECT_FALSE(LeadingNumber(L"").has_value());
}

TEST_F(ListViewTest, GroupsAddedWithoutPositionGoBeforeEarlierOnes) {
    // The date groups, created oldest first, show newest first.
    EXPECT_TRUE(list.AddGroup(L"o", L"Letzte Woche oder früher"));
    EXPECT_TRUE(list.AddGroup(L"w", L"Diese Woche"));
    EXPECT_TRUE(list.AddGroup(L"y", L"Gestern"));
    EXPECT_TRUE(list.AddGroup(L"t", L"Heute"));
    EXPECT_EQ((Keys{L"t", L"y", L"w", L"o"}), list.GroupKeys());
    EXPECT_EQ(L"Letzte Woche oder früher", list.GroupHeader(L"o"));

    EXPECT_FALSE(list.AddGroup(L"t", L"Noch einmal heute"));
    EXPECT_FALSE(list.AddGroup(L"", L"ohne Schlüssel"));
    EXPECT_EQ(4, list.GroupCount());
}

TEST_F(ListViewTest, GroupPositionsPlaceUserGroupsBeforeTheBuiltInOne) {
    // The favorites rebuild: "Sonstige" first, then the user groups from the
    // last to the first, all without position.
    list.AddGroup(L"Uncategorized", L"Sonstige");
    list.AddGroup(L"itmx2", L"Privat");
    list.AddGroup(L"itmx1", L"Arbeit");
    EXPECT_EQ((Keys{L"itmx1", L"itmx2", L"Uncategorized"}), list.GroupKeys());
    // A new third user group goes just before "Sonstige"; a position past the
    // end puts a group last.
    EXPECT_TRUE(list.AddGroup(L"itmx3", L"Projekte", 2));
    EXPECT_EQ((Keys{L"itmx1", L"itmx2", L"itmx3", L"Uncategorized"}), list.GroupKeys());
    EXPECT_TRUE(list.AddGroup(L"z", L"Ende", 99));
    EXPECT_EQ(L"z", list.GroupKeys().back());

    EXPECT_TRUE(list.SetGroupHeader(L"itmx2", L"Zuhause"));
    EXPECT_EQ(L"Zuhause", list.GroupHeader(L"itmx2"));
    EXPECT_TRUE(list.RemoveGroup(L"itmx2"));
    EXPECT_EQ((Keys{L"itmx1", L"itmx3", L"Uncategorized", L"z"}), list.GroupKeys());
}

TEST_F(ListViewTest, EntriesKeepTheirGroupAndShowInGroupOrder) {
    list.AddColumn(L"Ordner", 2000);
    list.AddGroup(L"o", L"Letzte Woche oder früher");
    list.AddGroup(L"y", L"Gestern");
    list.AddGroup(L"t", L"Heute");
    const wchar_t* groupOf[] = {L"t", L"o", L"y", L"t", L"o"};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(i, list.AddItem(MakeItemKey(i), L"Ordner " + std::to_wstring(i)));
        EXPECT_TRUE(list.SetItemGroup(i, groupOf[i]));
    }
    EXPECT_FALSE(list.SetItemGroup(0, L"unbekannt"));
    EXPECT_EQ(L"t", list.ItemGroup(0));

    EXPECT_EQ((Keys{L"itmx0", L"itmx1", L"itmx2", L"itmx3", L"itmx4"}), KeysOf(list.DisplayOrder()));
    list.EnableGroups(true);
    EXPECT_TRUE(list.GroupsEnabled());
    EXPECT_EQ((Keys{L"itmx0", L"itmx3", L"itmx2", L"itmx1", L"itmx4"}), KeysOf(list.DisplayOrder()));

    // Membership follows the entry when others are inserted or removed.
    list.AddItem(L"itmx5", L"Neu", -1, {}, 0);
    list.SetItemGroup(0, L"y");
    EXPECT_TRUE(list.RemoveItem(list.FindItem(L"itmx3")));
    EXPECT_EQ((Keys{L"itmx0", L"itmx5", L"itmx2", L"itmx1", L"itmx4"}), KeysOf(list.DisplayOrder()));
    EXPECT_EQ(L"o", list.ItemGroup(list.FindItem(L"itmx4")));

    list.RemoveGroup(L"o");
    EXPECT_EQ(L"", list.ItemGroup(list.FindItem(L"itmx4")));
    EXPECT_EQ((Keys{L"itmx0", L"itmx5", L"itmx2"}), KeysOf(list.DisplayOrder()));
    list.ClearGroups();
    EXPECT_EQ(0, list.GroupCount());
    EXPECT_EQ(L"", list.ItemGroup(list.FindItem(L"itmx0")));
    EXPECT_EQ(5, list.ItemCount());
}

TEST_F(ListViewTest, KeysTagsAndTextsStayTogether) {
    list.AddColumn(L"Ordner", 2000);
    list.AddColumn(L"Pfad", 3000);
    ASSERT_EQ(0, list.AddItem(L"itmx0", L"Projekte", 3, {L"C:\\Daten\\Projekte"}));
    ASSERT_EQ(1, list.AddItem(L"itmx1", L"Übersicht", -1, {L"D:\\Übersicht"}));
    list.SetItemTag(0, L"C:\\Daten\\Projekte");
    list.SetItemTag(1, L"D:\\Übersicht");
    EXPECT_EQ(-1, list.AddItem(L"itmx1", L"doppelt"));  // keys are unique
    EXPECT_EQ(2, list.ItemCount());

    ASSERT_EQ(0, list.AddItem(L"NewGroup", L"Neue Gruppe", -1, {}, 0));
    EXPECT_EQ((Keys{L"NewGroup", L"itmx0", L"itmx1"}), KeysInOrder());
    EXPECT_EQ((Keys{L"Neue Gruppe", L"Projekte", L"Übersicht"}), TextsInOrder());
    EXPECT_EQ(L"D:\\Übersicht", list.ItemTag(2));
    EXPECT_EQ(L"D:\\Übersicht", list.SubItemText(2, 1));
    EXPECT_EQ(3, list.ItemIcon(1));
    EXPECT_EQ(-1, list.ItemIcon(2));
    EXPECT_EQ(1, list.FindItem(L"itmx0"));
    EXPECT_EQ(-1, list.FindItem(L"ITMX0"));

    EXPECT_FALSE(list.SetItemKey(0, L"itmx1"));
    EXPECT_TRUE(list.SetItemKey(0, L"Arbeit"));
    EXPECT_EQ(0, list.FindItem(L"Arbeit"));

    EXPECT_TRUE(list.RemoveItem(1));
    EXPECT_EQ((Keys{L"Arbeit", L"itmx1"}), KeysInOrder());
    EXPECT_EQ(L"D:\\Übersicht", list.ItemTag(1));
    EXPECT_EQ(L"Übersicht", list.ItemText(1));
    EXPECT_FALSE(list.RemoveItem(5));
    list.ClearItems();
    EXPECT_EQ(0, list.ItemCount());
    EXPECT_EQ(0, ListView_GetItemCount(list.hWndListView()));
}

TEST_F(ListViewTest, SelectionAndFocus) {
    list.AddColumn(L"Ordner", 2000);
    for (int i = 0; i < 4; ++i)
        list.AddItem(MakeItemKey(i), L"Eintrag");
    EXPECT_EQ(-1, list.FirstSelected());
    list.SetItemSelected(2, true);
    list.SetItemFocused(2, true);
    EXPECT_EQ(2, list.FirstSelected());
    EXPECT_TRUE(list.ItemSelected(2));
    EXPECT_TRUE(list.ItemFocused(2));
    list.SetItemSelected(2, false);
    EXPECT_EQ(-1, list.FirstSelected());
}

TEST_F(ListViewTest, CountColumnSortsByNumberTextColumnsByText) {
    list.AddColumn(L"Ordner", 2000);
    list.AddColumn(L"Verwendet", 1300);
    const wchar_t* counts[] = {L"9 mal", L"100 mal", L"12 mal", L"12 mal"};
    const wchar_t* names[] = {L"Zeug", L"apfel", L"Ärger", L"Bilder"};
    for (int i = 0; i < 4; ++i) {
        list.AddItem(MakeItemKey(i), names[i], -1, {counts[i]});
        list.SetItemTag(i, names[i]);
    }

    list.SetSortType(1, cListView::kSortNumeric);
    list.SetSortMark(1, cListView::kMarkDescending);
    list.Sort();
    EXPECT_EQ((Keys{L"100 mal", L"12 mal", L"12 mal", L"9 mal"}), TextsInOrder(1));
    // Equal counts keep their order; keys and tags travel with the entry.
    EXPECT_EQ((Keys{L"itmx1", L"itmx2", L"itmx3", L"itmx0"}), KeysInOrder());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list.ItemText(i), list.ItemTag(i));

    list.SetSortMark(1, cListView::kMarkAscending);
    list.Sort();
    EXPECT_EQ((Keys{L"9 mal", L"12 mal", L"12 mal", L"100 mal"}), TextsInOrder(1));

    // The same texts sorted as text: "9" comes after "1".
    list.SetSortType(1, cListView::kSortText);
    list.SetSortMark(1, cListView::kMarkDescending);
    list.Sort();
    EXPECT_EQ((Keys{L"9 mal", L"12 mal", L"12 mal", L"100 mal"}), TextsInOrder(1));

    // By name, ignoring case, umlauts with their base letter.
    list.SetSortMark(1, cListView::kMarkNone);
    list.SetSortMark(0, cListView::kMarkAscending);
    list.Sort();
    EXPECT_EQ((Keys{L"apfel", L"Ärger", L"Bilder", L"Zeug"}), TextsInOrder(0));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(list.ItemText(i), list.ItemTag(i));

    // No mark: nothing moves.
    list.SetSortMark(0, cListView::kMarkNone);
    list.AddItem(L"last", L"Aaa");
    list.Sort();
    EXPECT_EQ(L"last", list.ItemKey(4));
}

TEST_F(ListViewTest, SortMarksShowOnTheHeader) {
    list.AddColumn(L"Ordner", 2000);
    list.AddColumn(L"Pfad", 3000);
    list.AddColumn(L"Verwendet", 1300);
    auto format = [&](int column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        SendMessageW(list.hWndHeader(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
    };
    list.SetSortMark(2, cListView::kMarkDescending);
    EXPECT_EQ(HDF_SORTDOWN, format(2));
    EXPECT_EQ(0, format(0));
    EXPECT_EQ(0, format(1));
    list.SetSortMark(2, cListView::kMarkAscending);
    EXPECT_EQ(HDF_SORTUP, format(2));
    EXPECT_EQ(cListView::kMarkAscending, list.SortMark(2));
    list.SetSortMark(2, cListView::kMarkNone);
    EXPECT_EQ(0, format(2));

    // Removing the count column and adding it again starts it without mark.
    list.SetSortMark(2, cListView::kMarkDescending);
    list.SetSortType(2, cListView::kSortNumeric);
    EXPECT_TRUE(list.RemoveColumn(2));
    EXPECT_EQ(2, list.ColumnCount());
    EXPECT_EQ(2, list.AddColumn(L"Verwendet", 1300));
    EXPECT_EQ(cListView::kMarkNone, list.SortMark(2));
    EXPECT_EQ(cListView::kSortText, list.SortType(2));
    EXPECT_EQ(L"Verwendet", list.ColumnText(2));
}

TEST_F(ListViewTest, ColumnWidthsInTwips) {
    list.AddColumn(L"Ordner", 2100);
    int dpi = 96;
    if (cWindowDC screen(nullptr); screen)
        dpi = GetDeviceCaps(screen.Get(), LOGPIXELSX);
    EXPECT_EQ(MulDiv(2100, dpi, 1440), list.ColumnWidthPixels(0));
    list.SetColumnWidth(0, 1440);
    EXPECT_EQ(dpi, list.ColumnWidthPixels(0));
    EXPECT_EQ(1440, list.ColumnWidth(0));
}

TEST_F(ListViewTest, HitTestItemTopAndScrolling) {
    list.AddColumn(L"Ordner", 3000);
    for (int i = 0; i < 60; ++i)
        list.AddItem(MakeItemKey(i), L"Ordner " + std::to_wstring(i));
    test::PumpMessages();

    auto top0 = list.ItemTop(0);
    auto top1 = list.ItemTop(1);
    ASSERT_TRUE(top0 && top1);
    int rowHeight = *top1 - *top0;
    EXPECT_GT(rowHeight, 0);
    EXPECT_GT(*top0, 0);  // below the column header
    EXPECT_EQ(1, list.HitTest(POINT{5, *top1 + rowHeight / 2}));
    EXPECT_EQ(0, list.HitTest(POINT{5, *top0 + 1}));
    EXPECT_EQ(-1, list.HitTest(POINT{5, 2}));  // on the header band
    EXPECT_FALSE(list.ItemTop(60).has_value());

    list.ScrollBy(0, rowHeight * 5);
    test::PumpMessages();
    auto scrolled = list.ItemTop(0);
    ASSERT_TRUE(scrolled);
    EXPECT_LT(*scrolled, *top0);
    EXPECT_EQ(5, list.HitTest(POINT{5, *top0 + 1}));
}

TEST_F(ListViewTest, OnlyTheProgramStartsLabelEdits) {
    list.AddColumn(L"Gruppe", 3000);
    list.AddItem(L"NewGroup", L"Neue Gruppe");
    list.AddItem(L"itmx1", L"Arbeit");

    // A direct request, as a click of the user makes, is refused.
    EXPECT_EQ(nullptr, reinterpret_cast<HWND>(SendMessageW(list.hWndListView(), LVM_EDITLABELW, 1, 0)));

    int endedIndex = -2;
    std::optional<std::wstring> endedText;
    bool accept = false;
    list.OnLabelEditEnd = [&](int index, const std::optional<std::wstring>& text) {
        endedIndex = index;
        endedText = text;
        return accept;
    };

    HWND edit = list.StartLabelEdit(0);
    ASSERT_NE(nullptr, edit);
    EXPECT_TRUE(list.IsEditing());
    SetWindowTextW(edit, L"Projekte");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    test::PumpMessages();
    EXPECT_EQ(0, endedIndex);
    ASSERT_TRUE(endedText.has_value());
    EXPECT_EQ(L"Projekte", *endedText);
    EXPECT_EQ(L"Neue Gruppe", list.ItemText(0));  // refused by the owner

    accept = true;
    edit = list.StartLabelEdit(1);
    ASSERT_NE(nullptr, edit);
    SetWindowTextW(edit, L"Büro");
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    test::PumpMessages();
    EXPECT_EQ(1, endedIndex);
    EXPECT_EQ(L"Büro", list.ItemText(1));
    EXPECT_FALSE(list.IsEditing());

    edit = list.StartLabelEdit(1);
    ASSERT_NE(nullptr, edit);
    SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    test::PumpMessages();
    EXPECT_FALSE(endedText.has_value());  // cancelled
    EXPECT_EQ(L"Büro", list.ItemText(1));
}

TEST_F(ListViewTest, ColumnClickReachesTheOwnerUnlessAHookTakesIt) {
    list.AddColumn(L"Ordner", 2000);
    list.AddColumn(L"Pfad", 3000);
    int clicked = -1;
    list.OnColumnClick = [&](int column) { clicked = column; };

    HWND header = list.hWndHeader();
    RECT second{};
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
    LPARAM at = MAKELPARAM(second.left + 10, (second.top + second.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
    test::PumpMessages();
    EXPECT_EQ(1, clicked);

    // The control's window sees the list's notifications first through the hook.
    int seenColumnClicks = 0;
    list.SetMessageHook([&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_COLUMNCLICK) {
            ++seenColumnClicks;
            result = 0;
            return true;
        }
        return false;
    });
    clicked = -1;
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
    test::PumpMessages();
    EXPECT_EQ(1, seenColumnClicks);
    EXPECT_EQ(-1, clicked);
    list.SetMessageHook(nullptr);
}

// The main window's header guard: header notifications reach the control's
// window, and refusing the begin-track keeps a column's width.
TEST_F(ListViewTest, HeaderNotificationsReachTheControlWindow) {
    list.AddColumn(L"Ordner", 2000);
    list.AddColumn(L"Pfad", 3000);
    HWND header = list.hWndHeader();
    std::vector<UINT> codes;
    list.SetMessageHook([&](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message != WM_NOTIFY)
            return false;
        const auto* nm = reinterpret_cast<NMHDR*>(lParam);
        if (nm->hwndFrom != header)
            return false;
        codes.push_back(nm->code);
        if (nm->code == HDN_BEGINTRACKW && reinterpret_cast<const NMHEADERW*>(nm)->iItem != 0) {
            result = 1;
            return true;
        }
        return false;
    });
    auto count = [&](UINT code) { return std::count(codes.begin(), codes.end(), code); };
    auto dragDivider = [&](int column, int by) {
        RECT item{};
        SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item));
        int x = item.right - 1, y = (item.top + item.bottom) / 2;
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + by, y));
        SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(x + by, y));
        test::PumpMessages();
    };

    int pathWidth = list.ColumnWidthPixels(1);
    dragDivider(1, 40);
    EXPECT_EQ(1, count(HDN_BEGINTRACKW));
    EXPECT_EQ(pathWidth, list.ColumnWidthPixels(1));  // refused

    int folderWidth = list.ColumnWidthPixels(0);
    dragDivider(0, 40);
    EXPECT_EQ(2, count(HDN_BEGINTRACKW));
    EXPECT_EQ(folderWidth + 40, list.ColumnWidthPixels(0));

    codes.clear();
    list.SetColumnWidthPixels(1, 150);
    EXPECT_GE(count(HDN_ITEMCHANGINGW), 1);
    list.SetMessageHook(nullptr);
}

// What an owner does: replace the control window's procedure and chain on.
WNDPROC g_originalProc = nullptr;
int g_notifications = 0;
LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY)
        ++g_notifications;
    return CallWindowProcW(g_originalProc, hwnd, message, wParam, lParam);
}

TEST_F(ListViewTest, OwnerCanSubclassTheControlWindow) {
    list.AddColumn(L"Ordner", 2000);
    list.AddItem(L"itmx0", L"Eintrag");
    g_notifications = 0;
    g_originalProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(list.hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc)));
    int clicked = -1;
    list.OnColumnClick = [&](int column) { clicked = column; };
    RECT first{};
    SendMessageW(list.hWndHeader(), HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    LPARAM at = MAKELPARAM(first.left + 10, (first.top + first.bottom) / 2);
    SendMessageW(list.hWndHeader(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list.hWndHeader(), WM_LBUTTONUP, 0, at);
    test::PumpMessages();
    EXPECT_GT(g_notifications, 0);
    EXPECT_EQ(0, clicked);
    SetWindowLongPtrW(list.hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_originalProc));
}

TEST_F(ListViewTest, ListHookSeesTheInnerListsMessages) {
    int mouseMoves = 0;
    list.SetListMessageHook([&](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_MOUSEMOVE)
            return false;
        ++mouseMoves;
        result = 0;
        return true;  // swallowed, as the favorites list does on Vista
    });
    SendMessageW(list.hWndListView(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(1, mouseMoves);
    list.SetListMessageHook(nullptr);
    SendMessageW(list.hWndListView(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(1, mouseMoves);
}

TEST_F(ListViewTest, ViewModeAndImageListsStayTheOwners) {
    cImageList images(ImageList_Create(32, 32, ILC_COLOR32, 15, 150));
    ImageList_AddIcon(images.Get(), LoadIconW(nullptr, IDI_APPLICATION));
    list.SetImageList(images.Get(), LVSIL_NORMAL);
    EXPECT_EQ(images.Get(), list.ImageList(LVSIL_NORMAL));

    list.SetViewMode(cListView::ViewMode::LargeIcons);
    EXPECT_EQ(LVS_ICON, GetWindowLongPtrW(list.hWndListView(), GWL_STYLE) & LVS_TYPEMASK);
    EXPECT_EQ(cListView::ViewMode::LargeIcons, list.GetViewMode());
    list.SetViewMode(cListView::ViewMode::Details);
    EXPECT_EQ(LVS_REPORT, GetWindowLongPtrW(list.hWndListView(), GWL_STYLE) & LVS_TYPEMASK);

    list.Destroy();
    EXPECT_EQ(nullptr, list.hWnd());
    EXPECT_EQ(0, list.ItemCount());
    EXPECT_EQ(1, ImageList_GetImageCount(images.Get()));  // not destroyed with the list
}

// Number of separate bands of rows of the client area holding a run of 4
// pixels of colour.
int CountColourBands(HWND hwnd, COLORREF colour) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    test::PumpMessages();
    RECT client{};
    GetClientRect(hwnd, &client);
    cWindowDC dc(hwnd);
    int rows = 0;
    bool inBlock = false;
    for (int y = 0; y < client.bottom; ++y) {
        bool hit = false;
        for (int x = 0; x + 3 < client.right && !hit; ++x) {
            if (GetPixel(dc.Get(), x, y) != colour)
                continue;
            hit = GetPixel(dc.Get(), x + 3, y) == colour;
        }
        if (hit && !inBlock)
            ++rows;
        inBlock = hit;
    }
    return rows;
}

TEST_F(ListViewTest, BackgroundPictureFromAFile) {
    // A 4 × 3 PNG with an alpha channel.
    const unsigned char png[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49,
                                 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x03, 0x08, 0x06,
                                 0x00, 0x00, 0x00, 0xB4, 0xF4, 0xAE, 0xC6, 0x00, 0x00, 0x00, 0x12, 0x49, 0x44,
                                 0x41, 0x54, 0x78, 0x9C, 0x63, 0x38, 0x21, 0x27, 0xF7, 0x1F, 0x19, 0x33, 0x10,
                                 0x14, 0x00, 0x00, 0x64, 0x09, 0x18, 0x25, 0xFA, 0x28, 0xA7, 0x0D, 0x00, 0x00,
                                 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    test::cTempFile picture(L"pfadwerk_watermark.png", png, sizeof(png));

    EXPECT_FALSE(list.SetBackgroundPicture(picture.Path() + L".fehlt", 103, 91));
    EXPECT_EQ(L"", list.BackgroundPicture());

    // Large icons: no column header that could cover the picture.
    list.SetViewMode(cListView::ViewMode::LargeIcons);
    ASSERT_TRUE(list.SetBackgroundPicture(picture.Path(), 103, 91));
    EXPECT_EQ(picture.Path(), list.BackgroundPicture());
    // Drawn once, not tiled. (Where: Windows honours the offsets, Wine draws
    // the picture at the top left.)
    EXPECT_EQ(1, CountColourBands(list.hWndListView(), RGB(200, 30, 30)));

    list.ClearBackgroundPicture();
    EXPECT_EQ(L"", list.BackgroundPicture());
    EXPECT_EQ(0, CountColourBands(list.hWndListView(), RGB(200, 30, 30)));
}

TEST_F(ListViewTest, DestroyingTheParentFirstIsSafe) {
    list.AddColumn(L"Ordner", 2000);
    list.AddItem(L"itmx0", L"Eintrag");
    DestroyWindow(host.hwnd());
    EXPECT_EQ(nullptr, list.hWnd());
    EXPECT_EQ(nullptr, list.hWndListView());
    EXPECT_EQ(-1, list.AddItem(L"itmx1", L"danach"));
    EXPECT_EQ(L"", list.ItemText(0));
}

}  // namespace
}  // namespace pw
