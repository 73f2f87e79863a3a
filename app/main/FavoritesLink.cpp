#include "FavoritesLink.h"

#include <algorithm>
#include <string>

#include "LinkLabel.h"
#include "MainControls.h"
#include "Pictures.h"
#include "ResText.h"
#include "app_res.h"

namespace pw {

bool cFavoritesLink::Create(HWND parent, Events& events, const Twips& twips, HFONT font, HFONT hoverFont) {
    events_ = &events;
    font_ = font;
    hoverFont_ = hoverFont;
    if (!cWindow::Create(WindowClass{L"PfadwerkLinkHost", 0, GetSysColorBrush(COLOR_BTNFACE)}, L"",
                         WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                         ctl::picManageFavoritesHost))
        return false;
    lblManageFavorites_ = CreateChildControl(Hwnd(), ctl::lblManageFavorites, L"STATIC",
                                             SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_VISIBLE | WS_CLIPSIBLINGS, font_,
                                             ResText(IDS_MANAGE_FAVORITES).c_str());
    // The designed width was made for an 8-point font at 96 dpi; a larger
    // face or screen would cut the text off.
    int labelWidth = std::max(1740, (TextWidthPixels() + 2) * twips.perPixelX);
    twips.Move(Hwnd(), 5030, 45, 30 + labelWidth, 300);
    twips.Move(lblManageFavorites_, 30, 30, labelWidth, 240);
    return lblManageFavorites_ != nullptr;
}

int cFavoritesLink::TextWidthPixels() const {
    std::wstring text = ResText(IDS_MANAGE_FAVORITES);
    cWindowDC dc(lblManageFavorites_);
    if (!dc)
        return 0;
    int widest = 0;
    for (HFONT font : {font_, hoverFont_}) {
        cSelection selected(dc.Get(), font);
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    return widest;
}

// The label lets the mouse through to the host, so the host sees it for both.
void cFavoritesLink::lblManageFavorites_MouseMove() {
    if (!underlined_) {
        underlined_ = true;
        SendMessageW(lblManageFavorites_, WM_SETFONT, reinterpret_cast<WPARAM>(hoverFont_), TRUE);
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = Hwnd();
        TrackMouseEvent(&track);
    }
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

void cFavoritesLink::OnMouseLeave() {
    if (!underlined_)
        return;
    underlined_ = false;
    SendMessageW(lblManageFavorites_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

LRESULT cFavoritesLink::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, LinkColour());
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_MOUSEMOVE:
            lblManageFavorites_MouseMove();
            return 0;
        case WM_MOUSELEAVE:
            OnMouseLeave();
            return 0;
        case WM_LBUTTONUP:
            // A click on the label or its host: the label lets the mouse through.
            events_->ManageFavoritesClicked();
            return 0;
        case WM_SETCURSOR:
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        default:
            return DefaultProc(msg, wParam, lParam);
    }
}

}  // namespace pw
