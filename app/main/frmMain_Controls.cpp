// The controls of the main window: creation, fonts and colours, the look they
// get at load, the pictures drawn in code, and the message pane.
#include <windows.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstdlib>

#include "AppFlags.h"
#include "FolderListPane.h"
#include "ResText.h"
#include "Settings.h"
#include "app_res.h"
#include "frmMain.h"

namespace pw {
namespace {

enum ControlId : UINT {
    idTab = 100,
    idHost,
    idList,
    idFindHost,
    idFind,
    idImgFind,
    idImgFindCancel,
    idTimeframe,
    idFavoritesHost,
    idManageFavorites,
    idShowMenu,
    idMessagePane,
    idMessageHeader,
    idMessage,
    idMessageTip,
    idImgMessageTip,
    idImgMessageLine,
    idImgNothingFound,
};

constexpr COLORREF kCueColour = RGB(180, 180, 180);
constexpr COLORREF kPictureBlue = RGB(0, 51, 153);
constexpr COLORREF kPictureRed = RGB(170, 63, 60);

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontInstalled(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(dc, &lf, FontFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

HFONT MakeFont(const wchar_t* face, int points, bool bold, bool italic, bool underline) {
    HDC dc = GetDC(nullptr);
    int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

COLORREF Mix(COLORREF a, COLORREF b, int weightOfB, int total) {
    auto channel = [&](int x, int y) { return x + (y - x) * weightOfB / total; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

int Luma(COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; }

// The link colour: the system's hot-track colour, unless a colour scheme
// made it too pale to read on the window face.
COLORREF LinkColour() {
    COLORREF hot = GetSysColor(COLOR_HOTLIGHT);
    int contrast = Luma(GetSysColor(COLOR_BTNFACE)) - Luma(hot);
    return std::abs(contrast) >= 80 ? hot : RGB(0, 102, 204);
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
    HGDIOBJ oldPen = SelectObject(dc, ring.Get());
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, x + pen, y + pen, x + lens, y + lens);
    cPen handle(CreatePen(PS_SOLID, std::max(2, size / 6), colour));
    SelectObject(dc, handle.Get());
    MoveToEx(dc, x + lens - pen, y + lens - pen, nullptr);
    LineTo(dc, x + size - pen - 1, y + size - pen - 1);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

void DrawCross(HDC dc, int cx, int cy, int half, int width, COLORREF colour) {
    cPen pen(CreatePen(PS_SOLID, width, colour));
    HGDIOBJ old = SelectObject(dc, pen.Get());
    MoveToEx(dc, cx - half, cy - half, nullptr);
    LineTo(dc, cx + half + 1, cy + half + 1);
    MoveToEx(dc, cx + half, cy - half, nullptr);
    LineTo(dc, cx - half - 1, cy + half + 1);
    SelectObject(dc, old);
}

// The drop-down arrow of the menu button, drawn here so that it does not
// depend on a symbol font.
HICON MakeArrowIcon(int size, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    cBitmap image(CreateCompatibleBitmap(screen, size, size));
    cBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    ReleaseDC(nullptr, screen);
    int width = size / 2 | 1;  // odd, so the tip is one pixel
    int height = (width + 1) / 2;
    int left = (size - width) / 2, top = (size - height) / 2 + 1;
    RECT all{0, 0, size, size};
    HGDIOBJ old = SelectObject(dc, image.Get());
    FillSolid(dc, all, RGB(0, 0, 0));
    for (int row = 0; row < height; ++row) {
        RECT line{left + row, top + row, left + width - row, top + row + 1};
        FillSolid(dc, line, colour);
    }
    SelectObject(dc, mask.Get());
    FillSolid(dc, all, RGB(255, 255, 255));
    for (int row = 0; row < height; ++row) {
        RECT line{left + row, top + row, left + width - row, top + row + 1};
        FillSolid(dc, line, RGB(0, 0, 0));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.Get();
    info.hbmColor = image.Get();
    return CreateIconIndirect(&info);
}

}  // namespace

void frmMain::CreateFonts() {
    // The named faces where they exist; else the system's own dialog font.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const wchar_t* vistaFace = FontInstalled(L"Segoe UI") ? L"Segoe UI" : metrics.lfMessageFont.lfFaceName;
    const wchar_t* face = bVistaThemed ? vistaFace : L"Tahoma";
    int points = bVistaThemed ? 9 : 8;
    font_.Reset(MakeFont(face, points, false, false, false));
    fontFind_.Reset(MakeFont(face, points, false, false, false));
    fontFindCue_.Reset(MakeFont(face, points, false, bVistaThemed, false));
    fontHeader_.Reset(bVistaThemed ? MakeFont(face, 12, false, false, false) : MakeFont(face, 10, true, false, false));
    fontLink_.Reset(MakeFont(face, points, false, false, false));
    fontLinkHover_.Reset(MakeFont(face, points, false, false, true));
    HDC dc = GetDC(nullptr);
    int iconSize = MulDiv(16, GetDeviceCaps(dc, LOGPIXELSX), 96);
    ReleaseDC(nullptr, dc);
    menuIcon_.Reset(MakeArrowIcon(iconSize, GetSysColor(COLOR_BTNTEXT)));
    windowBrush_.Reset(CreateSolidBrush(GetSysColor(COLOR_WINDOW)));
    faceBrush_.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
}

void frmMain::CreateControls() {
    HINSTANCE module = GetModuleHandleW(nullptr);
    auto child = [&](DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, HWND parent, UINT id,
                     HFONT font) {
        HWND hwnd = CreateWindowExW(exStyle, cls, text, style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, this);
        if (font) SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return hwnd;
    };
    constexpr wchar_t kHost[] = L"PfadwerkPicture";
    const DWORD pictureStyle = SS_OWNERDRAW | WS_VISIBLE;
    const DWORD labelStyle = SS_LEFT | SS_NOPREFIX | WS_VISIBLE;

    // Created first, so they lie above the tab strip they cover.
    picFindHost = child(0, kHost, L"", WS_VISIBLE | WS_CLIPCHILDREN, hwnd_, idFindHost, nullptr);
    txtFind = child(0, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP | WS_VISIBLE, picFindHost, idFind, fontFind_.Get());
    imgFind = child(0, L"STATIC", L"", pictureStyle, picFindHost, idImgFind, nullptr);
    imgFindCancel = child(0, L"STATIC", L"", SS_OWNERDRAW, picFindHost, idImgFindCancel, nullptr);
    cmbMostUsedTimeframe = child(0, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, hwnd_,
                                 idTimeframe, font_.Get());
    picManageFavoritesHost = child(0, kHost, L"", WS_CLIPCHILDREN, hwnd_, idFavoritesHost, nullptr);
    lblManageFavorites = child(0, L"STATIC", ResText(IDS_MANAGE_FAVORITES).c_str(),
                               SS_LEFTNOWORDWRAP | SS_NOPREFIX | WS_VISIBLE,
                               picManageFavoritesHost, idManageFavorites, fontLink_.Get());
    cmdShowMenu = child(0, L"BUTTON", L"", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP | WS_VISIBLE, hwnd_, idShowMenu,
                        nullptr);
    SendMessageW(cmdShowMenu, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(menuIcon_.Get()));

    picHost = child(0, kHost, L"", WS_VISIBLE | WS_CLIPCHILDREN, hwnd_, idHost, nullptr);
    picMessagePane = child(0, kHost, L"", WS_CLIPCHILDREN, picHost, idMessagePane, nullptr);
    lblMessageHeader = child(0, L"STATIC", L"", labelStyle, picMessagePane, idMessageHeader, fontHeader_.Get());
    lblMessage = child(0, L"STATIC", L"", labelStyle, picMessagePane, idMessage, font_.Get());
    lblMessageTip = child(0, L"STATIC", L"", labelStyle, picMessagePane, idMessageTip, font_.Get());
    imgMessageTip = child(0, L"STATIC", L"", pictureStyle, picMessagePane, idImgMessageTip, nullptr);
    imgMessageLine = child(0, L"STATIC", L"", pictureStyle, picMessagePane, idImgMessageLine, nullptr);
    imgMessageNothingFound = child(0, L"STATIC", L"", pictureStyle, picMessagePane, idImgNothingFound, nullptr);
    RECT none{0, 0, 0, 0};
    lvwFolders.Create(picHost, idList, none, cListView::kDefaultStyle, WS_EX_CLIENTEDGE);
    lvwFolders.SetFont(font_.Get());
    // The message pane lies over the list: the list must not paint over it.
    SetWindowLongPtrW(lvwFolders.hWnd(), GWL_STYLE, GetWindowLongPtrW(lvwFolders.hWnd(), GWL_STYLE) | WS_CLIPSIBLINGS);
    // The pane covers the list.
    SetWindowPos(picMessagePane, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    tabOB = child(0, WC_TABCONTROLW, L"", WS_VISIBLE | WS_TABSTOP | TCS_FOCUSNEVER, hwnd_, idTab, font_.Get());
    SetWindowPos(tabOB, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // Where the designer put them; the look at load moves some of them.
    MoveTw(tabOB, 30, 30, 4800, kListTop);
    MoveTw(picFindHost, 5030, 45, 1770, 300);
    MoveTw(txtFind, 60, 30, 1380, 240);
    MoveTw(imgFind, 1470, 15, 240, 240);
    MoveTw(imgFindCancel, 1470, 15, 240, 240);
    MoveTw(cmbMostUsedTimeframe, 5030, 45, 1770, 3000);
    MoveTw(picManageFavoritesHost, 5030, 45, 1770, 300);
    MoveTw(lblManageFavorites, 30, 30, 1740, 240);
    MoveTw(cmdShowMenu, 6940, 30, 500, 340);
}

void frmMain::ApplyLoadAppearance() {
    if (bVistaThemed) {
        MoveTw(picManageFavoritesHost, ClientTw(picManageFavoritesHost).left, 45, 1770, 300);
        MoveTw(picFindHost, ClientTw(picFindHost).left, 45, 1770, 300);
        MoveTw(cmdShowMenu, ClientTw(cmdShowMenu).left, 30, 500, 340);
        SendMessageW(txtFind, WM_SETFONT, reinterpret_cast<WPARAM>(fontFindCue_.Get()), FALSE);
        if (bLargeFonts) MoveTw(txtFind, 60, 15, 1380, 270);
        lvwFolders.SetExplorerTheme();
        lvwFolders.SetExtendedStyle(LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT,
                                    LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT);
    } else {
        TwipRect label = ClientTw(lblManageFavorites);
        MoveTw(lblManageFavorites, label.left, 75, label.width, label.height);
        if (bOptions_ShowWindowTitleAndBorder) {
            TwipRect r = ClientTw(tabOB);
            MoveTw(tabOB, r.left, 15, r.width, r.height);
            r = ClientTw(picFindHost);
            MoveTw(picFindHost, r.left, 30, r.width, r.height);
            r = ClientTw(cmdShowMenu);
            MoveTw(cmdShowMenu, r.left, 15, r.width, r.height);
            r = ClientTw(cmbMostUsedTimeframe);
            MoveTw(cmbMostUsedTimeframe, r.left, 30, r.width, r.height);
        }
        ChangeDropShadow(false);
    }
    if (bVisualStyles) {
        LONG_PTR ex = GetWindowLongPtrW(picFindHost, GWL_EXSTYLE);
        SetWindowLongPtrW(picFindHost, GWL_EXSTYLE, ex | WS_EX_STATICEDGE);
        SetWindowPos(picFindHost, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else {
        for (HWND control : {cmbMostUsedTimeframe, picFindHost, cmdShowMenu}) {
            TwipRect r = ClientTw(control);
            MoveTw(control, r.left, 30, r.width, control == cmbMostUsedTimeframe ? r.height : 315);
        }
        LONG_PTR ex = GetWindowLongPtrW(picFindHost, GWL_EXSTYLE);
        SetWindowLongPtrW(picFindHost, GWL_EXSTYLE, ex | WS_EX_CLIENTEDGE);
        SetWindowPos(picFindHost, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        MoveTw(imgFind, 1470, 30, 240, 240);
        MoveTw(imgFindCancel, 1470, 30, 240, 240);
        MoveTw(txtFind, 45, 30, 1380, 240);
    }
    if (bLargeFonts) {
        MoveTw(imgFind, 1510, 60, 240, 240);
        MoveTw(imgFindCancel, 1510, 60, 240, 240);
    }
    // Tabs of a fixed size, as wide as the three fit beside the search box.
    LONG_PTR tabStyle = GetWindowLongPtrW(tabOB, GWL_STYLE);
    SetWindowLongPtrW(tabOB, GWL_STYLE, tabStyle | TCS_FIXEDWIDTH);
    int tabWidth = bVisualStyles ? 1599 : 1490;
    int tabHeight = bVistaThemed ? (bLargeFonts ? 350 : 330) : 0;
    SendMessageW(tabOB, TCM_SETITEMSIZE, 0, MAKELPARAM(PxX(tabWidth), tabHeight ? PxY(tabHeight) : 0));
}

void frmMain::CreateColumns() {
    lvwFolders.AddColumn(ResText(IDS_COLUMN_FOLDER), lFirstColumnWidth);
    if (!bOptions_HidePathColumn) {
        lvwFolders.AddColumn(ResText(IDS_COLUMN_PATH), 5000);
    } else {
        // Sorting by a column that is not there falls back to the usual order.
        if (lSortingLastUsed == 3 || lSortingLastUsed == 4) lSortingLastUsed = 5;
        if (lSortingMostUsed == 3 || lSortingMostUsed == 4) lSortingMostUsed = 5;
    }
}

void frmMain::CreateImageList() {
    bIconView = ReadFlag(Setting::IconView);
    if (imageList_) ImageList_Destroy(imageList_);
    if (bIconView) {
        smallIcons_ = false;
        imageList_ = ImageList_Create(32, 32, ILC_COLOR32, 15, 150);
        lvwFolders.SetViewMode(cListView::ViewMode::LargeIcons);
        lvwFolders.SetImageList(imageList_, LVSIL_NORMAL);
        return;
    }
    int size = lOptions_ListSize == 1 ? 24 : lOptions_ListSize == 2 ? 32 : 16;
    smallIcons_ = size == 16;
    imageList_ = ImageList_Create(size, size, ILC_COLOR32, 15, 150);
    lvwFolders.SetViewMode(cListView::ViewMode::Details);
    lvwFolders.SetImageList(imageList_, LVSIL_SMALL);
}

void frmMain::SetFindCue(bool cue) {
    findCue_ = cue;
    // Italic belongs to the cue on Vista; the typed text is upright.
    HFONT font = cue && bVistaThemed ? fontFindCue_.Get() : fontFind_.Get();
    SendMessageW(txtFind, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    InvalidateRect(txtFind, nullptr, TRUE);
}

LRESULT frmMain::OnCtlColor(HWND control, HDC dc) {
    if (control == lblManageFavorites) {
        SetTextColor(dc, LinkColour());
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(faceBrush_.Get());
    }
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    if (control == txtFind && findCue_) text = kCueColour;
    if (control == lblMessageHeader) text = headerColour_;
    SetTextColor(dc, text);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(windowBrush_.Get());
}

void frmMain::DrawPicture(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    const COLORREF back = GetSysColor(COLOR_WINDOW);
    FillSolid(dc, r, back);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (item.hwndItem == imgFind) {
        DrawMagnifier(dc, r, Mix(GetSysColor(COLOR_GRAYTEXT), back, 1, 4));
    } else if (item.hwndItem == imgFindCancel) {
        int size = std::min(w, h);
        int cx = r.left + w / 2, cy = r.top + h / 2;
        cBrush disc(CreateSolidBrush(Mix(GetSysColor(COLOR_GRAYTEXT), back, 1, 3)));
        HGDIOBJ oldBrush = SelectObject(dc, disc.Get());
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, cx - size / 2, cy - size / 2, cx + size / 2 + 1, cy + size / 2 + 1);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DrawCross(dc, cx, cy, std::max(2, size / 5), std::max(1, size / 10), back);
    } else if (item.hwndItem == imgMessageLine) {
        // Fades from the header's blue into the background.
        for (int x = 0; x < w; ++x) {
            RECT column{r.left + x, r.top, r.left + x + 1, r.bottom};
            FillSolid(dc, column, Mix(Mix(kPictureBlue, back, 1, 2), back, x, std::max(1, w)));
        }
    } else if (item.hwndItem == imgMessageTip) {
        // An arrow up to the control the hint speaks of.
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
        HGDIOBJ oldBrush = SelectObject(dc, fill.Get());
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Polygon(dc, arrow, static_cast<int>(std::size(arrow)));
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    } else if (item.hwndItem == imgMessageNothingFound) {
        DrawMagnifier(dc, r, Mix(GetSysColor(COLOR_GRAYTEXT), back, 1, 3));
        int size = std::min(w, h);
        int lens = size * 5 / 8;
        int cx = r.left + (w - size) / 2 + lens / 2 + 1, cy = r.top + (h - size) / 2 + lens / 2 + 1;
        DrawCross(dc, cx, cy, lens / 5, std::max(2, size / 14), kPictureRed);
    }
}

void frmMain::ShowMessagePane() {
    if (!bMessagePaneShown) {
        bMessagePaneShown = true;
        ShowWindow(picMessagePane, SW_SHOW);
    }
    std::wstring find(static_cast<size_t>(GetWindowTextLengthW(txtFind)) + 1, L'\0');
    find.resize(static_cast<size_t>(GetWindowTextW(txtFind, find.data(), static_cast<int>(find.size()))));
    if (findCue_) find.clear();
    int timeframe = static_cast<int>(SendMessageW(cmbMostUsedTimeframe, CB_GETCURSEL, 0, 0));
    MessagePaneContent pane = MessagePaneFor(static_cast<FolderView>(lCurrentView), find, timeframe);
    headerColour_ = RGB(pane.headerColour.r, pane.headerColour.g, pane.headerColour.b);
    SetWindowTextW(lblMessageHeader, pane.header.c_str());
    SetWindowTextW(lblMessage, pane.message.c_str());
    SetWindowTextW(lblMessageTip, pane.hint.c_str());
    ShowWindow(lblMessageTip, pane.hint.empty() ? SW_HIDE : SW_SHOW);
    ShowWindow(imgMessageTip, pane.tipPicture ? SW_SHOW : SW_HIDE);
    ShowWindow(imgMessageLine, pane.line ? SW_SHOW : SW_HIDE);
    ShowWindow(imgMessageNothingFound, pane.nothingFound ? SW_SHOW : SW_HIDE);
    LayoutMessagePane();
    InvalidateRect(picMessagePane, nullptr, TRUE);
}

void frmMain::LayoutMessagePane() {
    TwipRect pane = ClientTw(picMessagePane);
    const int margin = 300;
    bool rightSide = IsWindowVisible(lblMessageTip) || IsWindowVisible(imgMessageTip) ||
                     IsWindowVisible(imgMessageNothingFound);
    int textRight = rightSide ? layout_.lblMessageTipLeft - 150 : pane.width - margin;
    int textWidth = std::max(1500, textRight - margin);

    // The header may wrap: measure it so that line and text follow it.
    RECT measure{0, 0, PxX(textWidth), 0};
    std::wstring header(static_cast<size_t>(GetWindowTextLengthW(lblMessageHeader)) + 1, L'\0');
    header.resize(static_cast<size_t>(GetWindowTextW(lblMessageHeader, header.data(), static_cast<int>(header.size()))));
    HDC dc = GetDC(lblMessageHeader);
    HGDIOBJ old = SelectObject(dc, fontHeader_.Get());
    DrawTextW(dc, header.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(lblMessageHeader, dc);
    int headerHeight = (measure.bottom - measure.top + 2) * tppY_;

    int top = 300;
    MoveTw(lblMessageHeader, margin, top, textWidth, headerHeight);
    top += headerHeight + 90;
    int lineWidth = std::min(bLargeFonts ? 3550 : 3000, textWidth);
    MoveTw(imgMessageLine, margin, top, lineWidth, 2 * tppY_);
    top += 150;
    MoveTw(lblMessage, margin, top, textWidth, std::max(0, pane.height - top - 150));
    MoveTw(imgMessageTip, layout_.imgMessageTipLeft, 60, 480, 480);
    MoveTw(lblMessageTip, layout_.lblMessageTipLeft, 600, std::max(600, pane.width - layout_.lblMessageTipLeft - 150),
           std::max(0, pane.height - 700));
    MoveTw(imgMessageNothingFound, layout_.imgMessageNothingFoundLeft, 300, 720, 720);
}

}  // namespace pw
