// Where the main window goes, how its controls follow its size, the column
// widths, the icon sizes and the drop shadow.
#include <windows.h>

#include <shellapi.h>

#include <algorithm>

#include "Placement.h"
#include "Settings.h"
#include "frmMain.h"

namespace pw {

void frmMain::SetWindowSizeTw(int width, int height) {
    SetWindowPos(Hwnd(), nullptr, 0, 0, std::max(1, twips_.PxX(width)), std::max(1, twips_.PxY(height)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's designed width was made for an 8-point font at 96 dpi. In a
// larger face or on a finer screen the tabs and the box beside them need
// more; the window then starts as wide as its top row, so that neither
// covers the other.
bool frmMain::WidenForTopRow() {
    const int count = static_cast<int>(SendMessageW(tabOB_, TCM_GETITEMCOUNT, 0, 0));
    RECT last{};
    if (count < 1 || !SendMessageW(tabOB_, TCM_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last)))
        return false;
    const int tabsRight = twips_.Place(tabOB_).left + (last.right + 2) * twips_.perPixelX;
    int boxWidth = 0;
    for (HWND box : {searchBox_.Hwnd(), cmbMostUsedTimeframe_, favoritesLink_.Hwnd()})
        boxWidth = std::max(boxWidth, twips_.Place(box).width);
    const bool menuBar = bMenuBarShown_ || bMenuBarShownForAlt_;
    const int needed = tabsRight + 100 + boxWidth + 100 + (menuBar ? 0 : 600);
    RECT client{};
    GetClientRect(Hwnd(), &client);
    const int missing = needed - static_cast<int>(client.right) * twips_.perPixelX;
    if (missing <= 0)
        return false;
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    SetWindowPos(Hwnd(), nullptr, 0, 0,
                 window.right - window.left + (missing + twips_.perPixelX - 1) / twips_.perPixelX,
                 window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void frmMain::PositionWindow() {
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    PlacementInput in;
    in.mode = static_cast<int>(options_.windowPosition);
    in.width = (window.right - window.left) * twips_.perPixelX;
    in.height = (window.bottom - window.top) * twips_.perPixelY;
    in.twipsPerPixelX = twips_.perPixelX;
    in.twipsPerPixelY = twips_.perPixelY;
    in.screenWidthPx = GetSystemMetrics(SM_CXSCREEN);
    in.screenHeightPx = GetSystemMetrics(SM_CYSCREEN);
    in.virtualWidthPx = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    in.virtualLeftPx = GetSystemMetrics(SM_XVIRTUALSCREEN);
    in.virtualTopPx = GetSystemMetrics(SM_YVIRTUALSCREEN);
    POINT mouse{};
    if (GetCursorPos(&mouse)) {
        in.mouseXPx = mouse.x;
        in.mouseYPx = mouse.y;
    }
    APPBARDATA bar{};
    bar.cbSize = sizeof bar;
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) {
        in.taskbar = PixelRect{bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom};
    }
    RECT work{0, 0, in.screenWidthPx, in.screenHeightPx};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    in.workAreaBottomPx = work.bottom;
    in.vistaThemed = look_.vistaThemed;
    if (options_.windowPosition == WindowPositionMode::LastPosition) {
        in.storedLeft = ReadNumber(Setting::WindowLeft);
        in.storedTop = ReadNumber(Setting::WindowTop);
    }
    TwipPoint at = pw::PositionWindow(in);
    SetWindowPos(Hwnd(), nullptr, twips_.PxX(at.left), twips_.PxY(at.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::Form_Resize() {
    // Minimized by hand after a folder was opened: the watch has nothing
    // left to decide, and a minimized window holds no place on top.
    if (IsIconic(Hwnd()))
        EndFolderOpenedHold();
    if (!loaded_ || IsIconic(Hwnd()))
        return;
    RECT client{};
    GetClientRect(Hwnd(), &client);
    LayoutInput in;
    in.innerWidth = client.right * twips_.perPixelX;
    in.innerHeight = client.bottom * twips_.perPixelY;
    in.vistaThemed = look_.vistaThemed;
    in.framedList = framedList_;
    in.menuBarShown = bMenuBarShown_ || bMenuBarShownForAlt_;
    in.largeFonts = look_.largeFonts;
    in.findHostWidth = twips_.Place(searchBox_.Hwnd()).width;
    layout_ = ComputeMainLayout(in);

    const MainLayout& l = layout_;
    twips_.Move(picHost_.Hwnd(), l.picHost.left, l.picHost.top, l.picHost.width, l.picHost.height);
    twips_.Move(messagePane_.Hwnd(), l.picMessagePane.left, l.picMessagePane.top, l.picMessagePane.width,
                l.picMessagePane.height);
    list_.View().Move(twips_.Rect(l.lvwFolders.left, l.lvwFolders.top, l.lvwFolders.width, l.lvwFolders.height));
    twips_.MoveLeft(cmdShowMenu_, l.cmdShowMenuLeft);
    twips_.MoveLeft(searchBox_.Hwnd(), l.searchLeft);
    twips_.MoveLeft(cmbMostUsedTimeframe_, l.searchLeft);
    // A link wider than the search box keeps the same right edge.
    int linkExtra = std::max(0, twips_.Place(favoritesLink_.Hwnd()).width - in.findHostWidth);
    twips_.MoveLeft(favoritesLink_.Hwnd(), l.searchLeft - linkExtra);
    // The tab strip reaches under the list and past the right edge, so that
    // only its tabs and the line below them show.
    TwipRect tab = twips_.Place(tabOB_);
    twips_.Move(tabOB_, tab.left, tab.top, std::max(0, in.innerWidth - tab.left + 60), kListTop + 300 - tab.top);
    messagePane_.Layout(layout_);
    RecalcColumnsWidths();
}

void frmMain::RecalcColumnsWidths() {
    list_.RecalcColumnsWidths();
}

void frmMain::ReloadDetailsViewSettings(ListSize size) {
    options_.listSize = size;
    list_.UseDetailsView(size);
    tabOB_Click();  // reloads the list, as tmrTabs does
}

void frmMain::ChangeDropShadow(bool bRemove) {
    if (look_.vistaThemed || family_ == WindowsFamily::Windows2000 || !Hwnd())
        return;
    ULONG_PTR style = GetClassLongPtrW(Hwnd(), GCL_STYLE);
    style = bRemove ? style & ~static_cast<ULONG_PTR>(CS_DROPSHADOW) : style | CS_DROPSHADOW;
    SetClassLongPtrW(Hwnd(), GCL_STYLE, style);
}

void frmMain::OnGetMinMaxInfo(MINMAXINFO& info) const {
    PixelSize minimum = MinimumWindowSize(look_.vistaThemed, look_.largeFonts);
    info.ptMinTrackSize.x = minimum.width;
    info.ptMinTrackSize.y = minimum.height;
}

}  // namespace pw
