// Where the main window goes, how its controls follow its size, the column
// widths, the icon sizes and the drop shadow.
#include <windows.h>
#include <shellapi.h>

#include <cmath>

#include "AppFlags.h"
#include "Placement.h"
#include "Settings.h"
#include "frmMain.h"
#include "modTaskDialog.h"

namespace pw {
namespace {

constexpr UINT_PTR tmrTabs = 1;

int TwipsToPixels(int twips, int twipsPerPixel) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel));
}

}  // namespace

int frmMain::PxX(int twips) const { return TwipsToPixels(twips, tppX_); }
int frmMain::PxY(int twips) const { return TwipsToPixels(twips, tppY_); }

RECT frmMain::RectTw(int left, int top, int width, int height) const {
    int x = PxX(left), y = PxY(top);
    return RECT{x, y, x + PxX(width), y + PxY(height)};
}

void frmMain::MoveTw(HWND control, int left, int top, int width, int height) const {
    if (!control) return;
    SetWindowPos(control, nullptr, PxX(left), PxY(top), std::max(0, PxX(width)), std::max(0, PxY(height)),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::MoveLeftTw(HWND control, int left) const {
    TwipRect r = ClientTw(control);
    if (r.left == left) return;
    SetWindowPos(control, nullptr, PxX(left), PxY(r.top), 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

// A control's place in its parent's client area, in twips.
TwipRect frmMain::ClientTw(HWND window) const {
    RECT r{};
    GetWindowRect(window, &r);
    HWND parent = GetParent(window);
    if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left * tppX_, r.top * tppY_, (r.right - r.left) * tppX_, (r.bottom - r.top) * tppY_};
}

void frmMain::SetWindowSizeTw(int width, int height) {
    SetWindowPos(hwnd_, nullptr, 0, 0, std::max(1, PxX(width)), std::max(1, PxY(height)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::PositionWindow() {
    RECT window{};
    GetWindowRect(hwnd_, &window);
    PlacementInput in;
    in.mode = lOptions_WindowPosition;
    in.width = (window.right - window.left) * tppX_;
    in.height = (window.bottom - window.top) * tppY_;
    in.twipsPerPixelX = tppX_;
    in.twipsPerPixelY = tppY_;
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
    in.vistaThemed = bVistaThemed;
    if (in.mode == 5) {
        in.storedLeft = ReadNumber(Setting::WindowLeft);
        in.storedTop = ReadNumber(Setting::WindowTop);
    }
    TwipPoint at = pw::PositionWindow(in);
    SetWindowPos(hwnd_, nullptr, PxX(at.left), PxY(at.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void frmMain::Form_Resize() {
    if (!loaded_ || IsIconic(hwnd_)) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    LayoutInput in;
    in.innerWidth = client.right * tppX_;
    in.innerHeight = client.bottom * tppY_;
    in.vistaThemed = bVistaThemed;
    in.framedList = framedList_;
    in.menuBarShown = bMenuBarShown || bMenuBarShownForAlt;
    in.largeFonts = bLargeFonts;
    in.findHostWidth = ClientTw(picFindHost).width;
    layout_ = ComputeMainLayout(in);

    const MainLayout& l = layout_;
    MoveTw(picHost, l.picHost.left, l.picHost.top, l.picHost.width, l.picHost.height);
    MoveTw(picMessagePane, l.picMessagePane.left, l.picMessagePane.top, l.picMessagePane.width,
           l.picMessagePane.height);
    lvwFolders.Move(RectTw(l.lvwFolders.left, l.lvwFolders.top, l.lvwFolders.width, l.lvwFolders.height));
    MoveLeftTw(cmdShowMenu, l.cmdShowMenuLeft);
    MoveLeftTw(picFindHost, l.searchLeft);
    MoveLeftTw(cmbMostUsedTimeframe, l.searchLeft);
    MoveLeftTw(picManageFavoritesHost, l.searchLeft);
    // The tab strip reaches under the list and past the right edge, so that
    // only its tabs and the line below them show.
    TwipRect tab = ClientTw(tabOB);
    MoveTw(tabOB, tab.left, tab.top, std::max(0, in.innerWidth - tab.left + 60), kListTop + 300 - tab.top);
    LayoutMessagePane();
    RecalcColumnsWidths();
}

void frmMain::RecalcColumnsWidths() {
    if (lvwFolders.ColumnCount() == 0) return;
    ColumnInput in;
    in.listWidth = ClientTw(lvwFolders.hWnd()).width;
    in.hidePathColumn = bOptions_HidePathColumn;
    in.firstColumnWidth = lvwFolders.ColumnWidth(0);
    in.usedCountColumnWidth = lUsedCountColumnWidth;
    in.scrollBarAllowance = scrollBarAllowance_;
    int column = bOptions_HidePathColumn ? 0 : 1;
    if (column < lvwFolders.ColumnCount()) lvwFolders.SetColumnWidth(column, FlexibleColumnWidth(in));
}

void frmMain::ReloadDetailsViewSettings() {
    lvwFolders.SetImageList(nullptr, LVSIL_SMALL);
    if (imageList_) ImageList_Destroy(imageList_);
    int size = lOptions_ListSize == 1 ? 24 : lOptions_ListSize == 2 ? 32 : 16;
    smallIcons_ = size == 16;
    imageList_ = ImageList_Create(size, size, ILC_COLOR32, 15, 150);
    lvwFolders.SetImageList(imageList_, LVSIL_SMALL);
    SetTimer(hwnd_, tmrTabs, 3, nullptr);
}

void frmMain::ChangeDropShadow(bool bRemove) {
    if (bVistaThemed || versionClass_ == 0 || !hwnd_) return;
    ULONG_PTR style = GetClassLongPtrW(hwnd_, GCL_STYLE);
    style = bRemove ? style & ~static_cast<ULONG_PTR>(CS_DROPSHADOW) : style | CS_DROPSHADOW;
    SetClassLongPtrW(hwnd_, GCL_STYLE, style);
}

}  // namespace pw
