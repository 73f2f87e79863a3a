// Where the main window goes when it starts, and how small it may get: pure
// arithmetic in twips, fed by the window code with what the shell, the screen
// and the mouse say. No Windows header, so the cases are tested natively.
#pragma once
#include <optional>

namespace pw {

// The start position modes of the options dialog.
enum class WindowPositionMode {
    TaskbarStart = 0,   // "Taskleiste, links (Standard)"
    TaskbarCenter = 1,  // "Taskleiste, Mitte"
    TaskbarMouse = 2,   // "Taskleiste, beim Mauszeiger"
    ScreenCenter = 3,   // "Bildschirmmitte"
    Mouse = 4,          // "Beim Mauszeiger"
    LastPosition = 5,   // "Letzte Position"
};

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct TwipPoint {
    int left = 0, top = 0;
    bool operator==(const TwipPoint&) const = default;
};

struct PlacementInput {
    int mode = 0;               // lOptions_WindowPosition; unknown values act as 0
    int width = 0, height = 0;  // the window, twips
    int twipsPerPixelX = 15, twipsPerPixelY = 15;
    int screenWidthPx = 0, screenHeightPx = 0;  // the primary screen
    int virtualWidthPx = 0;                     // SM_CXVIRTUALSCREEN
    int virtualLeftPx = 0, virtualTopPx = 0;    // origin of the whole desktop
    int mouseXPx = 0, mouseYPx = 0;
    // ABM_GETTASKBARPOS; empty when the shell has no taskbar to report.
    std::optional<PixelRect> taskbar;
    int workAreaBottomPx = 0;  // stands in for a missing taskbar
    bool vistaThemed = false;
    int storedLeft = 0, storedTop = 0;  // WindowLeft / WindowTop, twips (mode 5)
};

// The window's start position in twips.
TwipPoint PositionWindow(const PlacementInput& in);

struct PixelSize {
    int width = 0, height = 0;
    bool operator==(const PixelSize&) const = default;
};

// The smallest size the user can drag the window to, by the two display flags.
PixelSize MinimumWindowSize(bool vistaThemed, bool largeFonts);

// 1440 twips make an inch: 15 per pixel at 96 dpi, 12 at 120 dpi.
int TwipsPerPixel(int dotsPerInch);

}  // namespace pw
