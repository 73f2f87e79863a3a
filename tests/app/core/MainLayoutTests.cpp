#include <gtest/gtest.h>

#include "MainLayout.h"

namespace pw {
namespace {

LayoutInput Window(int width, int height) {
    LayoutInput in;
    in.innerWidth = width;
    in.innerHeight = height;
    return in;
}

TEST(MainLayout, ListFillsTheWindowBelowTheTabs) {
    LayoutInput in = Window(7500, 6000);
    in.vistaThemed = true;
    MainLayout out = ComputeMainLayout(in);
    EXPECT_EQ((TwipRect{0, 390, 7500, 5610}), out.picHost);
    EXPECT_EQ((TwipRect{0, 15, 7500, 5610}), out.picMessagePane);
    // Borders pushed out of sight on both sides.
    EXPECT_EQ((TwipRect{-15, 0, 7530, 5610}), out.lvwFolders);
    EXPECT_EQ(6900, out.cmdShowMenuLeft);
    EXPECT_EQ(5030, out.searchLeft);
    EXPECT_EQ(5030, out.lblMessageTipLeft);
    EXPECT_EQ(5530, out.imgMessageTipLeft);
    EXPECT_EQ(5340, out.imgMessageNothingFoundLeft);
}

TEST(MainLayout, FramedListKeepsItsLeftBorder) {
    LayoutInput in = Window(7500, 6000);
    in.framedList = true;
    MainLayout out = ComputeMainLayout(in);
    EXPECT_EQ((TwipRect{0, 0, 7515, 5610}), out.lvwFolders);
    EXPECT_EQ(0, out.picMessagePane.top);
}

TEST(MainLayout, MenuBarMovesTheSearchBoxRight) {
    LayoutInput in = Window(7500, 6000);
    in.menuBarShown = true;
    MainLayout out = ComputeMainLayout(in);
    EXPECT_EQ(5630, out.searchLeft);
    EXPECT_EQ(5330, out.lblMessageTipLeft);
    EXPECT_EQ(5830, out.imgMessageTipLeft);
    EXPECT_EQ(5640, out.imgMessageNothingFoundLeft);
    in.largeFonts = true;
    out = ComputeMainLayout(in);
    EXPECT_EQ(5930, out.imgMessageTipLeft);
    EXPECT_EQ(5760, out.imgMessageNothingFoundLeft);
}

TEST(MainLayout, WindowShorterThanTheTabsLeavesNoList) {
    MainLayout out = ComputeMainLayout(Window(7500, 300));
    EXPECT_EQ(0, out.picHost.height);
    EXPECT_EQ(0, out.lvwFolders.height);
}

TEST(ColumnWidths, FlexibleColumnTakesTheRest) {
    ColumnInput in;
    in.listWidth = 7530;
    in.firstColumnWidth = 2100;
    in.usedCountColumnWidth = 1300;
    in.scrollBarAllowance = (17 + 2) * 15;
    // "Pfad" gets what "Ordner" and "Verwendet" leave.
    EXPECT_EQ(7530 - 30 - 2100 - 1300 - 285, FlexibleColumnWidth(in));
    // Without the path column "Ordner" takes it all, whatever it was.
    in.hidePathColumn = true;
    EXPECT_EQ(7530 - 30 - 1300 - 285, FlexibleColumnWidth(in));
    in.listWidth = 500;
    EXPECT_EQ(0, FlexibleColumnWidth(in));
}

}  // namespace
}  // namespace pw
