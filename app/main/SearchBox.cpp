#include "SearchBox.h"

#include <commctrl.h>

#include "FolderListKeys.h"
#include "FolderListQuery.h"
#include "MainControls.h"
#include "Pictures.h"
#include "ResText.h"
#include "app_res.h"

namespace pw {
namespace {

constexpr COLORREF kCueColour = RGB(180, 180, 180);

bool HasVisibleStyle(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace

bool cSearchBox::Create(HWND parent, Events& events, const Twips& twips, HFONT font, HFONT cueFont) {
    events_ = &events;
    twips_ = twips;
    font_ = font;
    cueFont_ = cueFont;
    if (!cWindow::Create(WindowClass{L"PfadwerkFindHost", 0, GetSysColorBrush(COLOR_WINDOW)}, L"",
                         WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                         ctl::picFindHost))
        return false;
    auto child = [&](const wchar_t* cls, DWORD style, UINT id, HFONT childFont = nullptr) {
        return CreateChildControl(Hwnd(), id, cls, style | WS_CLIPSIBLINGS, childFont);
    };
    txtFind_ = child(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE, ctl::txtFind, font_);
    imgFind_ = child(L"STATIC", SS_OWNERDRAW | WS_VISIBLE, ctl::imgFind);
    // A picture answers clicks only with SS_NOTIFY.
    imgFindCancel_ = child(L"STATIC", SS_OWNERDRAW | SS_NOTIFY, ctl::imgFindCancel);
    // Where the designer put them; the look at load moves some of them.
    twips_.Move(Hwnd(), 5030, 45, 1770, 300);
    twips_.Move(txtFind_, 60, 30, 1380, 240);
    twips_.Move(imgFind_, 1470, 15, 240, 240);
    twips_.Move(imgFindCancel_, 1470, 15, 240, 240);
    return txtFind_ && imgFind_ && imgFindCancel_ && SubclassControl(txtFind_, this);
}

void cSearchBox::ApplyLook(const DisplayLook& look) {
    const bool vistaThemed = look.vistaThemed, visualStyles = look.visualStyles, largeFonts = look.largeFonts;
    HWND host = Hwnd();
    if (vistaThemed) {
        twips_.Move(host, twips_.Place(host).left, 45, 1770, 300);
        // Italic until the box is first focused, as the cue is.
        SendMessageW(txtFind_, WM_SETFONT, reinterpret_cast<WPARAM>(cueFont_), FALSE);
        if (largeFonts)
            twips_.Move(txtFind_, 60, 15, 1380, 270);
    }
    LONG_PTR ex = GetWindowLongPtrW(host, GWL_EXSTYLE);
    if (visualStyles) {
        thinFrame_ = true;
        SetWindowLongPtrW(host, GWL_EXSTYLE, ex | WS_EX_STATICEDGE);
    } else {
        TwipRect r = twips_.Place(host);
        twips_.Move(host, r.left, 30, r.width, 315);
        SetWindowLongPtrW(host, GWL_EXSTYLE, ex | WS_EX_CLIENTEDGE);
    }
    SetWindowPos(host, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (!visualStyles) {
        twips_.Move(imgFind_, 1470, 30, 240, 240);
        twips_.Move(imgFindCancel_, 1470, 30, 240, 240);
        twips_.Move(txtFind_, 45, 30, 1380, 240);
    }
    if (largeFonts) {
        twips_.Move(imgFind_, 1510, 60, 240, 240);
        twips_.Move(imgFindCancel_, 1510, 60, 240, 240);
    }
}

std::wstring cSearchBox::Text() const {
    return cue_ ? std::wstring() : WindowText(txtFind_);
}

std::wstring cSearchBox::SearchText() const {
    std::wstring text = Text();
    return text == ResText(IDS_SEARCH_CUE) ? std::wstring() : text;
}

void cSearchBox::Clear() {
    SetWindowTextW(txtFind_, L"");
}

bool cSearchBox::HasSelection() const {
    DWORD start = 0, end = 0;
    SendMessageW(txtFind_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

void cSearchBox::ShowTip(const std::wstring& title, const std::wstring& text) const {
    EDITBALLOONTIP tip{};
    tip.cbStruct = sizeof tip;
    tip.pszTitle = title.c_str();
    tip.pszText = text.c_str();
    tip.ttiIcon = TTI_INFO;
    SendMessageW(txtFind_, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
}

LRESULT cSearchBox::OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    KeyPreview preview = IsKeyMessage(msg) ? events_->PreviewKey(control, msg, wParam, lParam) : KeyPreview::Free;
    if (preview == KeyPreview::Taken)
        return 0;
    if (preview == KeyPreview::Free) {
        switch (msg) {
            case WM_CHAR:
            case WM_SYSCHAR:
                // A one-line box beeps at Enter and Esc; both mean something else here.
                if (wParam == VK_RETURN || wParam == VK_ESCAPE)
                    return 0;
                break;
            case WM_KEYUP: {
                // The box takes the key first, so that the search reads the new text.
                LRESULT result = DefSubclassProc(control, msg, wParam, lParam);
                txtFind_KeyUp(static_cast<WORD>(wParam));
                return result;
            }
            default:
                break;
        }
    }
    return DefSubclassProc(control, msg, wParam, lParam);
}

void cSearchBox::txtFind_KeyUp(WORD keyCode) {
    switch (FindKeyReleased(keyCode, GetKeyState(VK_CONTROL) < 0)) {
        case FindKeyAction::None:
            return;
        case FindKeyAction::EnterList:
            if (keyCode == VK_RETURN) {
                events_->SearchSubmitted();
            } else {
                events_->SearchMovedDown();
            }
            return;
        case FindKeyAction::Refresh:
            events_->SearchChanged();
            return;
    }
}

void cSearchBox::imgFindCancel_Click() {
    Clear();
    events_->SearchCleared();
}

void cSearchBox::txtFind_GotFocus() {
    // The flag rather than the text: a user who typed the cue words keeps them.
    if (cue_)
        SetWindowTextW(txtFind_, L"");
    SetCue(false);
}

void cSearchBox::txtFind_LostFocus() {
    if (GetWindowTextLengthW(txtFind_) != 0)
        return;
    SetWindowTextW(txtFind_, ResText(IDS_SEARCH_CUE).c_str());
    SetCue(true);
}

void cSearchBox::SetCue(bool cue) {
    cue_ = cue;
    // The cue font is italic on Vista; the typed text is upright.
    SendMessageW(txtFind_, WM_SETFONT, reinterpret_cast<WPARAM>(cue ? cueFont_ : font_), TRUE);
    InvalidateRect(txtFind_, nullptr, TRUE);
}

void cSearchBox::UpdatePictures() {
    bool active = !SearchText().empty();
    HWND shown = active ? imgFindCancel_ : imgFind_;
    HWND hidden = active ? imgFind_ : imgFindCancel_;
    if (HasVisibleStyle(hidden)) {
        ShowWindow(hidden, SW_HIDE);
        ShowWindow(shown, SW_SHOW);
    }
}

void cSearchBox::PutCaretAtEnd() {
    int length = GetWindowTextLengthW(txtFind_);
    SendMessageW(txtFind_, EM_SETSEL, length, length);
}

void cSearchBox::DrawPicture(const DRAWITEMSTRUCT& item) const {
    const COLORREF back = GetSysColor(COLOR_WINDOW);
    FillSolid(item.hDC, item.rcItem, back);
    if (item.hwndItem == imgFind_) {
        DrawMagnifier(item.hDC, item.rcItem, Mix(GetSysColor(COLOR_GRAYTEXT), back, 1, 4));
    } else if (item.hwndItem == imgFindCancel_) {
        DrawFindCancel(item.hDC, item.rcItem, back);
    }
}

LRESULT cSearchBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            bool cue = reinterpret_cast<HWND>(lParam) == txtFind_ && cue_;
            SetTextColor(dc, cue ? kCueColour : GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        case WM_DRAWITEM:
            DrawPicture(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == txtFind_) {
                if (HIWORD(wParam) == EN_SETFOCUS)
                    txtFind_GotFocus();
                if (HIWORD(wParam) == EN_KILLFOCUS)
                    txtFind_LostFocus();
            } else if (reinterpret_cast<HWND>(lParam) == imgFindCancel_ && HIWORD(wParam) == STN_CLICKED) {
                imgFindCancel_Click();
            }
            return 0;
        case WM_NCPAINT:
            if (thinFrame_) {
                // The static edge alone draws only its upper and left half on
                // a light face; a whole thin frame reads as a search box.
                DefaultProc(msg, wParam, lParam);
                cWindowDC dc(Hwnd(), true);
                RECT r{};
                GetWindowRect(Hwnd(), &r);
                OffsetRect(&r, -r.left, -r.top);
                cBrush frame(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW)));
                FrameRect(dc.Get(), &r, frame.Get());
                return 0;
            }
            break;
        default:
            break;
    }
    return DefaultProc(msg, wParam, lParam);
}

}  // namespace pw
