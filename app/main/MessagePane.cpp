#include "MessagePane.h"

#include <algorithm>

#include "MainControls.h"
#include "Pictures.h"

namespace pw {

bool cMessagePane::Create(HWND parent, const Twips& twips, const DisplayLook& look, HFONT font, HFONT headerFont) {
    twips_ = twips;
    look_ = look;
    headerFont_ = headerFont;
    if (!cWindow::Create(WindowClass{L"PfadwerkMessagePane", 0, GetSysColorBrush(COLOR_WINDOW)}, L"",
                         WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent, ctl::picMessagePane))
        return false;
    auto child = [&](DWORD style, UINT id, HFONT childFont) {
        return CreateChildControl(Hwnd(), id, L"STATIC", style | WS_CLIPSIBLINGS | WS_VISIBLE, childFont);
    };
    const DWORD label = SS_LEFT | SS_NOPREFIX;
    lblMessageHeader_ = child(label, ctl::lblMessageHeader, headerFont);
    lblMessage_ = child(label, ctl::lblMessage, font);
    lblMessageTip_ = child(label, ctl::lblMessageTip, font);
    imgMessageTip_ = child(SS_OWNERDRAW, ctl::imgMessageTip, nullptr);
    imgMessageLine_ = child(SS_OWNERDRAW, ctl::imgMessageLine, nullptr);
    imgMessageNothingFound_ = child(SS_OWNERDRAW, ctl::imgMessageNothingFound, nullptr);
    return true;
}

void cMessagePane::Show(const MessagePaneContent& content) {
    if (!shown_) {
        shown_ = true;
        ShowWindow(Hwnd(), SW_SHOW);
    }
    headerColour_ = RGB(content.headerColour.r, content.headerColour.g, content.headerColour.b);
    SetWindowTextW(lblMessageHeader_, content.header.c_str());
    SetWindowTextW(lblMessage_, content.message.c_str());
    SetWindowTextW(lblMessageTip_, content.hint.c_str());
    ShowWindow(lblMessageTip_, content.hint.empty() ? SW_HIDE : SW_SHOW);
    ShowWindow(imgMessageTip_, content.tipPicture ? SW_SHOW : SW_HIDE);
    ShowWindow(imgMessageLine_, content.line ? SW_SHOW : SW_HIDE);
    ShowWindow(imgMessageNothingFound_, content.nothingFound ? SW_SHOW : SW_HIDE);
    Layout(layout_);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void cMessagePane::Hide() {
    if (!shown_)
        return;
    shown_ = false;
    ShowWindow(Hwnd(), SW_HIDE);
}

void cMessagePane::Layout(const MainLayout& layout) {
    layout_ = layout;
    TwipRect pane = twips_.Place(Hwnd());
    const int margin = 300;
    bool rightSide =
        IsWindowVisible(lblMessageTip_) || IsWindowVisible(imgMessageTip_) || IsWindowVisible(imgMessageNothingFound_);
    int textRight = rightSide ? layout_.lblMessageTipLeft - 150 : pane.width - margin;
    int textWidth = std::max(1500, textRight - margin);

    // The header may wrap: measure it so that line and text follow it.
    RECT measure{0, 0, twips_.PxX(textWidth), 0};
    std::wstring header = WindowText(lblMessageHeader_);
    {
        cWindowDC dc(lblMessageHeader_);
        cSelection font(dc.Get(), headerFont_);
        DrawTextW(dc.Get(), header.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    int headerHeight = (measure.bottom - measure.top + 2) * twips_.perPixelY;

    int top = 300;
    twips_.Move(lblMessageHeader_, margin, top, textWidth, headerHeight);
    top += headerHeight + 90;
    int lineWidth = std::min(look_.largeFonts ? 3550 : 3000, textWidth);
    twips_.Move(imgMessageLine_, margin, top, lineWidth, 2 * twips_.perPixelY);
    top += 150;
    twips_.Move(lblMessage_, margin, top, textWidth, std::max(0, pane.height - top - 150));
    twips_.Move(imgMessageTip_, layout_.imgMessageTipLeft, 60, 480, 480);
    twips_.Move(lblMessageTip_, layout_.lblMessageTipLeft, 600,
                std::max(600, pane.width - layout_.lblMessageTipLeft - 150), std::max(0, pane.height - 700));
    twips_.Move(imgMessageNothingFound_, layout_.imgMessageNothingFoundLeft, 300, 720, 720);
}

void cMessagePane::DrawPicture(const DRAWITEMSTRUCT& item) const {
    const COLORREF back = GetSysColor(COLOR_WINDOW);
    FillSolid(item.hDC, item.rcItem, back);
    if (item.hwndItem == imgMessageLine_) {
        DrawFadingLine(item.hDC, item.rcItem, back);
    } else if (item.hwndItem == imgMessageTip_) {
        DrawTipArrow(item.hDC, item.rcItem, back);
    } else if (item.hwndItem == imgMessageNothingFound_) {
        DrawNothingFound(item.hDC, item.rcItem, back);
    }
}

LRESULT cMessagePane::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            bool header = reinterpret_cast<HWND>(lParam) == lblMessageHeader_;
            SetTextColor(dc, header ? headerColour_ : GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        case WM_DRAWITEM:
            DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        default:
            return DefaultProc(msg, wParam, lParam);
    }
}

}  // namespace pw
