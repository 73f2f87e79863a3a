#include "Pictures.h"

#include <algorithm>
#include <iterator>

#include "ShapeIcon.h"

namespace pw {
namespace {

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

void DrawCross(HDC dc, int cx, int cy, int half, int width, COLORREF colour) {
    cPen pen(CreatePen(PS_SOLID, width, colour));
    cSelection selected(dc, pen.Get());
    MoveToEx(dc, cx - half, cy - half, nullptr);
    LineTo(dc, cx + half + 1, cy + half + 1);
    MoveToEx(dc, cx + half, cy - half, nullptr);
    LineTo(dc, cx - half - 1, cy + half + 1);
}

}  // namespace

COLORREF Mix(COLORREF a, COLORREF b, int weightOfB, int total) {
    auto channel = [&](int x, int y) { return x + (y - x) * weightOfB / total; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

bool FontInstalled(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(cWindowDC(nullptr).Get(), &lf, FontFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

HFONT MakeFont(const wchar_t* face, int points, bool bold, bool italic, bool underline) {
    int height = -MulDiv(points, GetDeviceCaps(cWindowDC(nullptr).Get(), LOGPIXELSY), 72);
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// A lens with a handle to the lower right, fitted into r.
void DrawMagnifier(HDC dc, const RECT& r, COLORREF colour) {
    int size = std::min(r.right - r.left, r.bottom - r.top);
    int x = r.left + (r.right - r.left - size) / 2, y = r.top + (r.bottom - r.top - size) / 2;
    int pen = std::max(1, size / 9);
    int lens = size * 5 / 8;
    cPen ring(CreatePen(PS_SOLID, pen, colour));
    cPen handle(CreatePen(PS_SOLID, std::max(2, size / 6), colour));
    cSelection hollow(dc, GetStockObject(NULL_BRUSH));
    {
        cSelection selected(dc, ring.Get());
        Ellipse(dc, x + pen, y + pen, x + lens, y + lens);
    }
    cSelection selected(dc, handle.Get());
    MoveToEx(dc, x + lens - pen, y + lens - pen, nullptr);
    LineTo(dc, x + size - pen - 1, y + size - pen - 1);
}

void DrawFindCancel(HDC dc, const RECT& r, COLORREF back) {
    int w = r.right - r.left, h = r.bottom - r.top;
    int size = std::min(w, h);
    int cx = r.left + w / 2, cy = r.top + h / 2;
    cBrush disc(CreateSolidBrush(Mix(GetSysColor(COLOR_GRAYTEXT), back, 1, 3)));
    {
        cSelection brush(dc, disc.Get());
        cSelection noPen(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, cx - size / 2, cy - size / 2, cx + size / 2 + 1, cy + size / 2 + 1);
    }
    DrawCross(dc, cx, cy, std::max(2, size / 5), std::max(1, size / 10), back);
}

void DrawFadingLine(HDC dc, const RECT& r, COLORREF back) {
    int w = r.right - r.left;
    for (int x = 0; x < w; ++x) {
        RECT column{r.left + x, r.top, r.left + x + 1, r.bottom};
        FillSolid(dc, column, Mix(Mix(kPictureBlue, back, 1, 2), back, x, std::max(1, w)));
    }
}

void DrawTipArrow(HDC dc, const RECT& r, COLORREF back) {
    int w = r.right - r.left, h = r.bottom - r.top;
    int cx = r.left + w / 2;
    int head = std::min(w, h) / 2;
    int shaft = std::max(2, w / 6);
    POINT arrow[] = {{cx, r.top + 1},
                     {cx + head - 1, r.top + head},
                     {cx + shaft, r.top + head},
                     {cx + shaft, r.bottom - 1},
                     {cx - shaft, r.bottom - 1},
                     {cx - shaft, r.top + head},
                     {cx - head + 1, r.top + head}};
    cBrush fill(CreateSolidBrush(Mix(kPictureBlue, back, 1, 3)));
    cSelection brush(dc, fill.Get());
    cSelection noPen(dc, GetStockObject(NULL_PEN));
    Polygon(dc, arrow, static_cast<int>(std::size(arrow)));
}

void DrawNothingFound(HDC dc, const RECT& r, COLORREF back) {
    int w = r.right - r.left, h = r.bottom - r.top;
    DrawMagnifier(dc, r, Mix(GetSysColor(COLOR_GRAYTEXT), back, 1, 3));
    int size = std::min(w, h);
    int lens = size * 5 / 8;
    int cx = r.left + (w - size) / 2 + lens / 2 + 1, cy = r.top + (h - size) / 2 + lens / 2 + 1;
    DrawCross(dc, cx, cy, lens / 5, std::max(2, size / 14), kPictureRed);
}

HICON MakeArrowIcon(int size, COLORREF colour) {
    int width = size / 2 | 1;  // odd, so the tip is one pixel
    int height = (width + 1) / 2;
    int left = (size - width) / 2, top = (size - height) / 2 + 1;
    return MakeShapeIcon(size, size, colour, [=](HDC dc, COLORREF ink) {
        for (int row = 0; row < height; ++row) {
            RECT line{left + row, top + row, left + width - row, top + row + 1};
            FillSolid(dc, line, ink);
        }
    });
}

}  // namespace pw
