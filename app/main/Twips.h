// The main window lays itself out in twips, as its design was made; this is
// where twips and the screen's pixels meet.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cmath>

#include "MainLayout.h"

namespace pw {

struct Twips {
    int perPixelX = 15;  // 15 at 96 dpi, 12 at 120 dpi
    int perPixelY = 15;

    int PxX(int twips) const { return static_cast<int>(std::lround(static_cast<double>(twips) / perPixelX)); }
    int PxY(int twips) const { return static_cast<int>(std::lround(static_cast<double>(twips) / perPixelY)); }
    RECT Rect(int left, int top, int width, int height) const {
        int x = PxX(left), y = PxY(top);
        return RECT{x, y, x + PxX(width), y + PxY(height)};
    }
    void Move(HWND control, int left, int top, int width, int height) const {
        if (!control)
            return;
        SetWindowPos(control, nullptr, PxX(left), PxY(top), std::max(0, PxX(width)), std::max(0, PxY(height)),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void MoveLeft(HWND control, int left) const {
        TwipRect r = Place(control);
        if (r.left == left)
            return;
        SetWindowPos(control, nullptr, PxX(left), PxY(r.top), 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    }
    // A control's place in its parent's client area.
    TwipRect Place(HWND window) const {
        RECT r{};
        GetWindowRect(window, &r);
        if (HWND parent = GetParent(window))
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return {r.left * perPixelX, r.top * perPixelY, (r.right - r.left) * perPixelX, (r.bottom - r.top) * perPixelY};
    }
};

}  // namespace pw
