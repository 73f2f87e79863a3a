#include "ShapeIcon.h"

#include "Handles.h"

namespace pw {

HICON MakeShapeIcon(int width, int height, COLORREF colour, const std::function<void(HDC, COLORREF)>& draw) {
    cMemoryDC dc;
    cBitmap image, mask;
    {
        cWindowDC screen(nullptr);
        dc.Reset(CreateCompatibleDC(screen.Get()));
        image.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
        mask.Reset(CreateBitmap(width, height, 1, 1, nullptr));
    }
    // The same shape twice: in colour on black for the image, in black on
    // white for the mask, whose white is the transparent part. Each bitmap
    // is out of the DC again before the icon is made of it.
    auto paint = [&](HBITMAP target, COLORREF background, COLORREF ink) {
        cSelection selected(dc.Get(), target);
        RECT all{0, 0, width, height};
        SetBkColor(dc.Get(), background);
        ExtTextOutW(dc.Get(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        draw(dc.Get(), ink);
    };
    paint(image.Get(), RGB(0, 0, 0), colour);
    paint(mask.Get(), RGB(255, 255, 255), RGB(0, 0, 0));
    dc.Reset();
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.Get();
    info.hbmColor = image.Get();
    return CreateIconIndirect(&info);
}

}  // namespace pw
