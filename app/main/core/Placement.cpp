#include "Placement.h"

#include <algorithm>

namespace pw {
namespace {

// Where a window along a top or bottom taskbar starts horizontally.
int LeftAlongTaskbar(int mode, int screenWidth, int width, int mouseCandidate) {
    if (mode == 1)
        return (screenWidth - width) / 2 - 100;
    if (mode == 2)
        return mouseCandidate;
    return 500;
}

// Where a window beside a left or right taskbar starts vertically; the mouse
// mode has no meaning there and acts like mode 0.
int TopBesideTaskbar(int mode, int screenHeight, int height) {
    if (mode == 1)
        return (screenHeight - height) / 2 + 200;
    return 500;
}

TwipPoint TaskbarPosition(const PlacementInput& in, int screenWidth, int screenHeight) {
    const int w = in.width, h = in.height;
    int candidate = 0;
    if (in.mode == 2) {
        int x = in.mouseXPx * in.twipsPerPixelX;
        if (x + w + 150 > screenWidth)
            x = screenWidth - w - 150;
        candidate = x + 50;
    }
    // Without a taskbar the window sits on the bottom of the work area, as it
    // would on a taskbar there.
    PixelRect bar = in.taskbar.value_or(PixelRect{0, in.workAreaBottomPx, in.screenWidthPx, in.screenHeightPx});
    const int t = bar.top * in.twipsPerPixelY;
    if (t >= 1) {  // bottom
        return {LeftAlongTaskbar(in.mode, screenWidth, w, candidate), in.vistaThemed ? t - h : t - h - 48};
    }
    if (bar.right < in.screenWidthPx) {  // left
        return {(bar.right + 1) * in.twipsPerPixelX, TopBesideTaskbar(in.mode, screenHeight, h)};
    }
    if (bar.left < 1) {  // top
        return {LeftAlongTaskbar(in.mode, screenWidth, w, candidate), (bar.bottom + 1) * in.twipsPerPixelY};
    }
    // right
    return {(bar.left - 1) * in.twipsPerPixelX - w, TopBesideTaskbar(in.mode, screenHeight, h)};
}

}  // namespace

TwipPoint PositionWindow(const PlacementInput& in) {
    const int screenWidth = in.screenWidthPx * in.twipsPerPixelX;
    const int screenHeight = in.screenHeightPx * in.twipsPerPixelY;
    const int virtualWidth = in.virtualWidthPx * in.twipsPerPixelX;
    const int w = in.width, h = in.height;
    TwipPoint at;
    switch (in.mode) {
        case 3:
            at = {(screenWidth - w) / 2 - 100, (screenHeight - h) / 2};
            break;
        case 4: {
            int x = in.mouseXPx * in.twipsPerPixelX;
            int y = in.mouseYPx * in.twipsPerPixelY;
            int rightLimit = x <= screenWidth ? screenWidth : virtualWidth;
            if (x + w + 150 > rightLimit)
                x = rightLimit - w - 150;
            if (y + h + 650 > screenHeight)
                y = screenHeight - h - 650;
            at = {x + 50, y + 50};
            break;
        }
        case 5:
            at = {in.storedLeft, in.storedTop};
            if (w + at.left > virtualWidth)
                at.left = virtualWidth - w - 50;
            if (at.top + h > screenHeight)
                at.top = screenHeight - h - 600;
            break;
        default:
            at = TaskbarPosition(in, screenWidth, screenHeight);
            break;
    }
    // A window taller or wider than the room left for it would start with its
    // title bar off the desktop, out of reach of the mouse: keep that on it.
    at.left = std::max(at.left, in.virtualLeftPx * in.twipsPerPixelX);
    at.top = std::max(at.top, in.virtualTopPx * in.twipsPerPixelY);
    return at;
}

PixelSize MinimumWindowSize(bool vistaThemed, bool largeFonts) {
    if (largeFonts)
        return vistaThemed ? PixelSize{634, 300} : PixelSize{587, 300};
    return vistaThemed ? PixelSize{515, 230} : PixelSize{479, 230};
}

int TwipsPerPixel(int dotsPerInch) {
    return dotsPerInch > 0 ? 1440 / dotsPerInch : 15;
}

}  // namespace pw
