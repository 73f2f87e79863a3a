// The controls of the main window: creation, fonts, the look they get at load,
// the tabs, the time frames and the tooltips.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "FolderListQuery.h"
#include "MainControls.h"
#include "Pictures.h"
#include "ResText.h"
#include "Settings.h"
#include "app_res.h"
#include "frmMain.h"

namespace pw {

bool frmMain::cPanel::Create(HWND parent, UINT id) {
    return cWindow::Create(WindowClass{L"PfadwerkPanel", 0, GetSysColorBrush(COLOR_WINDOW)}, L"",
                           WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent, id);
}

void frmMain::CreateFonts() {
    // The named faces where they exist; else the system's own dialog font.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    const wchar_t* vistaFace = FontInstalled(L"Segoe UI") ? L"Segoe UI" : metrics.lfMessageFont.lfFaceName;
    const wchar_t* face = look_.vistaThemed ? vistaFace : L"Tahoma";
    int points = look_.vistaThemed ? 9 : 8;
    font_.Reset(MakeFont(face, points, false, false, false));
    fontFind_.Reset(MakeFont(face, points, false, false, false));
    fontFindCue_.Reset(MakeFont(face, points, false, look_.vistaThemed, false));
    fontHeader_.Reset(look_.vistaThemed ? MakeFont(face, 12, false, false, false)
                                        : MakeFont(face, 10, true, false, false));
    fontLink_.Reset(MakeFont(face, points, false, false, false));
    fontLinkHover_.Reset(MakeFont(face, points, false, false, true));
    int iconSize = MulDiv(16, GetDeviceCaps(cWindowDC(nullptr).Get(), LOGPIXELSX), 96);
    menuIcon_.Reset(MakeArrowIcon(iconSize, GetSysColor(COLOR_BTNTEXT)));
}

void frmMain::CreateControls() {
    auto child = [&](const wchar_t* cls, DWORD style, UINT id, HFONT font) {
        return CreateChildControl(Hwnd(), id, cls, style | WS_CLIPSIBLINGS, font);
    };
    // Made first, so they lie above the tab strip they cover.
    searchBox_.Create(Hwnd(), *this, twips_, fontFind_.Get(), fontFindCue_.Get());
    cmbMostUsedTimeframe_ =
        child(WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, ctl::cmbMostUsedTimeframe, font_.Get());
    favoritesLink_.Create(Hwnd(), *this, twips_, fontLink_.Get(), fontLinkHover_.Get());
    cmdShowMenu_ = child(L"BUTTON", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP | WS_VISIBLE, ctl::cmdShowMenu, nullptr);
    SendMessageW(cmdShowMenu_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(menuIcon_.Get()));

    picHost_.Create(Hwnd(), ctl::picHost);
    messagePane_.Create(picHost_.Hwnd(), twips_, look_, font_.Get(), fontHeader_.Get());
    list_.Create(picHost_.Hwnd(), ctl::lvwFolders, *this, font_.Get(), twips_, look_, scrollBarAllowance_);
    // The message pane lies over the list: the list must not paint over it.
    HWND listWindow = list_.Hwnd();
    SetWindowLongPtrW(listWindow, GWL_STYLE, GetWindowLongPtrW(listWindow, GWL_STYLE) | WS_CLIPSIBLINGS);
    SetWindowPos(messagePane_.Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    tabOB_ = child(WC_TABCONTROLW, WS_VISIBLE | WS_TABSTOP | TCS_FOCUSNEVER, ctl::tabOB, font_.Get());
    SetWindowPos(tabOB_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // Where the designer put them; the look at load moves some of them. The
    // tab strip is as wide as the window from the start: narrower than its
    // tabs it would show its scroll arrows, and they may linger on the
    // screen after the strip has grown.
    RECT client{};
    GetClientRect(Hwnd(), &client);
    twips_.Move(tabOB_, 30, 30, std::max(4800, static_cast<int>(client.right) * twips_.perPixelX), kListTop);
    twips_.Move(cmbMostUsedTimeframe_, 5030, 45, 1770, 3000);
    twips_.Move(cmdShowMenu_, 6940, 30, 500, 340);
}

void frmMain::FillTimeframes() {
    for (UINT id = IDS_TIMEFRAME_ALL; id < IDS_TIMEFRAME_ALL + kTimeframeCount; ++id) {
        SendMessageW(cmbMostUsedTimeframe_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ResText(id).c_str()));
    }
}

void frmMain::FillTabs() {
    UINT order[3] = {IDS_TAB_LASTUSED, IDS_TAB_MOSTUSED, IDS_TAB_FAVORITES};
    if (options_.showFavoritesTabFirst) {
        order[0] = IDS_TAB_FAVORITES;
        order[1] = IDS_TAB_LASTUSED;
        order[2] = IDS_TAB_MOSTUSED;
    }
    SendMessageW(tabOB_, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < 3; ++i) {
        std::wstring text = ResText(order[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(tabOB_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

void frmMain::ApplyLoadAppearance() {
    HWND favoritesHost = favoritesLink_.Hwnd();
    HWND findHost = searchBox_.Hwnd();
    if (look_.vistaThemed) {
        TwipRect host = twips_.Place(favoritesHost);
        twips_.Move(favoritesHost, host.left, 45, std::max(1770, host.width), 300);
        twips_.Move(cmdShowMenu_, twips_.Place(cmdShowMenu_).left, 30, 500, 340);
        list_.View().SetExplorerTheme();
        list_.View().SetExtendedStyle(LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT,
                                      LVS_EX_DOUBLEBUFFER | LVS_EX_FULLROWSELECT);
    } else {
        HWND label = favoritesLink_.Label();
        TwipRect r = twips_.Place(label);
        twips_.Move(label, r.left, 75, r.width, r.height);
        if (options_.showWindowTitleAndBorder) {
            for (HWND control : {tabOB_, findHost, cmdShowMenu_, cmbMostUsedTimeframe_}) {
                r = twips_.Place(control);
                twips_.Move(control, r.left, control == tabOB_ || control == cmdShowMenu_ ? 15 : 30, r.width, r.height);
            }
        }
        ChangeDropShadow(false);
    }
    searchBox_.ApplyLook(look_);
    if (!look_.visualStyles) {
        for (HWND control : {cmbMostUsedTimeframe_, cmdShowMenu_}) {
            TwipRect r = twips_.Place(control);
            twips_.Move(control, r.left, 30, r.width, control == cmbMostUsedTimeframe_ ? r.height : 315);
        }
    }
    // Each tab as wide as designed, so that the three fit beside the search
    // box, and wider where its caption needs more in the current font: the
    // strip measures its captions itself.
    int tabWidth = look_.visualStyles ? 1599 : 1490;
    int tabHeight = look_.vistaThemed ? (look_.largeFonts ? 350 : 330) : 0;
    SendMessageW(tabOB_, TCM_SETMINTABWIDTH, 0, twips_.PxX(tabWidth));
    SendMessageW(tabOB_, TCM_SETITEMSIZE, 0, MAKELPARAM(0, tabHeight ? twips_.PxY(tabHeight) : 0));
}

void frmMain::CreateImageList() {
    if (bIconView_) {
        list_.UseLargeIconView();
    } else {
        list_.UseDetailsView(options_.listSize);
    }
}

void frmMain::ShowViewControls() {
    ShowWindow(searchBox_.Hwnd(), lCurrentView_ == FolderView::LastUsed ? SW_SHOW : SW_HIDE);
    ShowWindow(cmbMostUsedTimeframe_, lCurrentView_ == FolderView::MostUsed ? SW_SHOW : SW_HIDE);
    ShowWindow(favoritesLink_.Hwnd(), lCurrentView_ == FolderView::Favorites ? SW_SHOW : SW_HIDE);
}

void frmMain::AddTooltips() {
    tooltips_.Create(Hwnd(), TTS_ALWAYSTIP);
    tooltips_.AddTool(searchBox_.Edit(), TTF_ABSOLUTE, ResText(IDS_TIP_FIND));
    tooltips_.AddTool(cmdShowMenu_, TTF_ABSOLUTE, ResText(IDS_TIP_SHOWMENU));
    tooltips_.AddTool(cmbMostUsedTimeframe_, TTF_ABSOLUTE, ResText(IDS_TIP_TIMEFRAME));
}

}  // namespace pw
