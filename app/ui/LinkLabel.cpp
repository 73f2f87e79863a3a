#include "LinkLabel.h"

#include <commctrl.h>

#include <cstdlib>

#include "Window.h"

namespace pw {
namespace {

int Luma(COLORREF c) {
    return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
}

}  // namespace

COLORREF LinkColour() {
    COLORREF hot = GetSysColor(COLOR_HOTLIGHT);
    int contrast = Luma(GetSysColor(COLOR_BTNFACE)) - Luma(hot);
    return std::abs(contrast) >= 80 ? hot : RGB(0, 102, 204);
}

bool cLinkLabel::Attach(HWND label) {
    label_ = label;
    if (!label_)
        return false;
    plain_ = reinterpret_cast<HFONT>(SendMessageW(label_, WM_GETFONT, 0, 0));
    LOGFONTW font{};
    if (GetObjectW(plain_ ? static_cast<HGDIOBJ>(plain_) : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) {
        font.lfUnderline = TRUE;
        underlined_.Reset(CreateFontIndirectW(&font));
    }
    return SubclassControl(label_, this);
}

HBRUSH LinkLabelColours(HDC dc) {
    SetTextColor(dc, LinkColour());
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
}

HBRUSH cLinkLabel::OnCtlColor(HDC dc) const {
    return LinkLabelColours(dc);
}

void cLinkLabel::SetHover(bool hover) {
    if (!label_ || hover == hover_)
        return;
    hover_ = hover;
    SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(hover_ ? underlined_.Get() : plain_), TRUE);
}

LRESULT cLinkLabel::OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        case WM_MOUSEMOVE:
            if (!hover_) {
                // The pointer may leave the dialog straight from the label.
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
                TrackMouseEvent(&track);
                SetHover(true);
            }
            break;
        case WM_MOUSELEAVE:
            SetHover(false);
            break;
        default:
            break;
    }
    return DefSubclassProc(control, msg, wParam, lParam);
}

}  // namespace pw
