#include <gtest/gtest.h>

#include "Placement.h"

namespace pw {
namespace {

// A 1280 x 1024 screen at 96 dpi (19200 x 15360 twips) and the default
// window of 7605 x 6700 twips.
PlacementInput Screen(int mode, PixelRect taskbar) {
    PlacementInput in;
    in.mode = mode;
    in.width = 7605;
    in.height = 6700;
    in.screenWidthPx = 1280;
    in.screenHeightPx = 1024;
    in.virtualWidthPx = 1280;
    in.taskbar = taskbar;
    in.workAreaBottomPx = taskbar.top > 0 ? taskbar.top : 1024;
    return in;
}

constexpr PixelRect kBottomBar{0, 994, 1280, 1024};
constexpr PixelRect kLeftBar{0, 0, 60, 1024};
constexpr PixelRect kTopBar{0, 0, 1280, 30};
constexpr PixelRect kRightBar{1220, 0, 1280, 1024};

TEST(PositionWindow, BottomTaskbarByMode) {
    // Mode 0: 500 twips from the left, 48 twips above the taskbar (14910).
    EXPECT_EQ((TwipPoint{500, 14910 - 6700 - 48}), PositionWindow(Screen(0, kBottomBar)));
    // Centred along the bar, 100 twips to the left of the middle.
    EXPECT_EQ((TwipPoint{5697, 8162}), PositionWindow(Screen(1, kBottomBar)));
    // At the mouse: 50 twips right of the pointer.
    PlacementInput mouse = Screen(2, kBottomBar);
    mouse.mouseXPx = 100;
    EXPECT_EQ((TwipPoint{1550, 8162}), PositionWindow(mouse));
    // Pointer near the right edge: pulled back to 150 twips from it (+50).
    mouse.mouseXPx = 1270;
    EXPECT_EQ((TwipPoint{19200 - 7605 - 150 + 50, 8162}), PositionWindow(mouse));
}

TEST(PositionWindow, BottomTaskbarTouchesTheBarWhenVistaThemed) {
    PlacementInput in = Screen(0, kBottomBar);
    in.vistaThemed = true;
    in.width = 7730;
    EXPECT_EQ((TwipPoint{500, 14910 - 6700}), PositionWindow(in));
}

TEST(PositionWindow, LeftTaskbar) {
    EXPECT_EQ((TwipPoint{61 * 15, 500}), PositionWindow(Screen(0, kLeftBar)));
    EXPECT_EQ((TwipPoint{61 * 15, (15360 - 6700) / 2 + 200}), PositionWindow(Screen(1, kLeftBar)));
    // The mouse mode means nothing beside a vertical bar: like mode 0.
    PlacementInput mouse = Screen(2, kLeftBar);
    mouse.mouseXPx = 700;
    EXPECT_EQ((TwipPoint{915, 500}), PositionWindow(mouse));
}

TEST(PositionWindow, TopTaskbar) {
    EXPECT_EQ((TwipPoint{500, 31 * 15}), PositionWindow(Screen(0, kTopBar)));
    EXPECT_EQ((TwipPoint{5697, 465}), PositionWindow(Screen(1, kTopBar)));
    PlacementInput mouse = Screen(2, kTopBar);
    mouse.mouseXPx = 300;
    EXPECT_EQ((TwipPoint{4550, 465}), PositionWindow(mouse));
    // An auto-hidden bar reaches two pixels beyond the screen.
    EXPECT_EQ((TwipPoint{500, 31 * 15}), PositionWindow(Screen(0, {-2, -2, 1282, 30})));
}

TEST(PositionWindow, RightTaskbar) {
    EXPECT_EQ((TwipPoint{1219 * 15 - 7605, 500}), PositionWindow(Screen(0, kRightBar)));
    EXPECT_EQ((TwipPoint{1219 * 15 - 7605, 4530}), PositionWindow(Screen(1, kRightBar)));
    PlacementInput mouse = Screen(2, kRightBar);
    mouse.mouseXPx = 10;
    EXPECT_EQ((TwipPoint{10680, 500}), PositionWindow(mouse));
}

TEST(PositionWindow, UnknownModeActsLikeTaskbarStart) {
    EXPECT_EQ(PositionWindow(Screen(0, kBottomBar)), PositionWindow(Screen(9, kBottomBar)));
    EXPECT_EQ(PositionWindow(Screen(0, kRightBar)), PositionWindow(Screen(-1, kRightBar)));
}

TEST(PositionWindow, NoTaskbarSitsOnTheWorkAreaBottom) {
    PlacementInput in = Screen(0, kBottomBar);
    in.taskbar.reset();
    in.workAreaBottomPx = 1024;
    EXPECT_EQ((TwipPoint{500, 15360 - 6700 - 48}), PositionWindow(in));
}

TEST(PositionWindow, ScreenCentre) {
    EXPECT_EQ((TwipPoint{(19200 - 7605) / 2 - 100, (15360 - 6700) / 2}), PositionWindow(Screen(3, kLeftBar)));
}

TEST(PositionWindow, AtTheMouse) {
    PlacementInput in = Screen(4, kBottomBar);
    in.mouseXPx = 200;
    in.mouseYPx = 100;
    EXPECT_EQ((TwipPoint{3050, 1550}), PositionWindow(in));
    // Lower right corner: 150 twips from the right, 650 from the bottom.
    in.mouseXPx = 1200;
    in.mouseYPx = 1000;
    EXPECT_EQ((TwipPoint{19200 - 7605 - 150 + 50, 15360 - 6700 - 650 + 50}), PositionWindow(in));
    // On a second monitor to the right the whole desktop is the limit.
    in.virtualWidthPx = 2560;
    in.mouseXPx = 1500;
    in.mouseYPx = 100;
    EXPECT_EQ((TwipPoint{22550, 1550}), PositionWindow(in));
    in.mouseXPx = 2500;
    EXPECT_EQ((TwipPoint{38400 - 7605 - 150 + 50, 1550}), PositionWindow(in));
}

TEST(PositionWindow, LastPosition) {
    PlacementInput in = Screen(5, kBottomBar);
    in.storedLeft = 3000;
    in.storedTop = 2000;
    EXPECT_EQ((TwipPoint{3000, 2000}), PositionWindow(in));
    // Stored on a monitor that is gone: pulled back on the right and bottom.
    in.storedLeft = 40000;
    in.storedTop = 20000;
    EXPECT_EQ((TwipPoint{19200 - 7605 - 50, 15360 - 6700 - 600}), PositionWindow(in));
    // Still there on a wide desktop: kept.
    in.virtualWidthPx = 2560;
    in.storedLeft = 25000;
    in.storedTop = 2000;
    EXPECT_EQ((TwipPoint{25000, 2000}), PositionWindow(in));
    // A missing position reads as 0, the top left corner.
    in.storedLeft = 0;
    in.storedTop = 0;
    EXPECT_EQ((TwipPoint{0, 0}), PositionWindow(in));
}

TEST(PositionWindow, TitleBarStaysOnTheDesktop) {
    // Taller than the room above the taskbar: the top edge stays on screen.
    PlacementInput in = Screen(0, kBottomBar);
    in.height = 16000;
    EXPECT_EQ((TwipPoint{500, 0}), PositionWindow(in));
    // A monitor left of the primary one may hold the window.
    in = Screen(5, kBottomBar);
    in.virtualLeftPx = -1024;
    in.storedLeft = -9000;
    in.storedTop = -300;
    EXPECT_EQ((TwipPoint{-9000, 0}), PositionWindow(in));
}

TEST(PositionWindow, TwipsFollowTheDpi) {
    // 120 dpi: 12 twips per pixel, the same screen is 15360 x 12288 twips.
    PlacementInput in = Screen(0, kBottomBar);
    in.twipsPerPixelX = in.twipsPerPixelY = 12;
    EXPECT_EQ((TwipPoint{500, 994 * 12 - 6700 - 48}), PositionWindow(in));
    in = Screen(0, kRightBar);
    in.twipsPerPixelX = in.twipsPerPixelY = 12;
    EXPECT_EQ((TwipPoint{1219 * 12 - 7605, 500}), PositionWindow(in));
    EXPECT_EQ(15, TwipsPerPixel(96));
    EXPECT_EQ(12, TwipsPerPixel(120));
    EXPECT_EQ(10, TwipsPerPixel(144));
}

TEST(MinimumWindowSize, ByDisplayFlags) {
    EXPECT_EQ((PixelSize{479, 230}), MinimumWindowSize(false, false));
    EXPECT_EQ((PixelSize{515, 230}), MinimumWindowSize(true, false));
    EXPECT_EQ((PixelSize{587, 300}), MinimumWindowSize(false, true));
    EXPECT_EQ((PixelSize{634, 300}), MinimumWindowSize(true, true));
}

}  // namespace
}  // namespace pw
