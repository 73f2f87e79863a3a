#include "ShapeIcon.h"

#include "Handles.h"

namespace pw {

HICON MakeShapeIcon(int width, int height, COLORREF colour, const std::function<void(HDC, COLORREF)>& draw) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    cBitmap image(CreateCompatibleBitmap(screen, width, height));
    cBitmap mask(CreateBitmap(width, height, 1, 1, nullptr));
    ReleaseDC(nullptr, screen);
    // The same shape twice: in colour on black for the image, in black on
    // white for the mask, whose white is the transparent part.
    auto paint = [&](HBITMAP target, COLORREF background, COLORREF ink) {
        HGDIOBJ old = SelectObject(dc, target);
        RECT all{0, 0, width, height};
        SetBkColor(dc, background);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        draw(dc, ink);
        SelectObject(dc, old);
    };
    paint(image.Get(), RGB(0, 0, 0), colour);
    paint(mask.Get(), RGB(255, 255, 255), RGB(0, 0, 0));
    DeleteDC(dc);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.Get();
    info.hbmColor = image.Get();
    return CreateIconIndirect(&info);
}

}  // namespace pw
