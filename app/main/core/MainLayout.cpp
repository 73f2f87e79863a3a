#include "MainLayout.h"

#include <algorithm>

namespace pw {

MainLayout ComputeMainLayout(const LayoutInput& in) {
    const int sw = in.innerWidth;
    // A window dragged shorter than the tab row leaves no room for the list:
    // it then shrinks to nothing rather than turning inside out.
    const int listHeight = std::max(0, in.innerHeight - kListTop);
    MainLayout out;
    out.innerWidth = in.innerWidth;
    out.innerHeight = in.innerHeight;
    out.picHost = {0, kListTop, sw, listHeight};
    out.picMessagePane = {0, in.vistaThemed ? 15 : 0, sw, listHeight};
    // Without the frame the list's side borders are pushed out of sight.
    out.lvwFolders = in.framedList ? TwipRect{0, 0, sw + 15, listHeight} : TwipRect{-15, 0, sw + 30, listHeight};
    out.cmdShowMenuLeft = sw - 600;
    int x = sw - 600 - (in.findHostWidth + 100);
    if (in.menuBarShown)
        x += 600;  // the menu button is hidden then
    out.searchLeft = x;
    if (in.menuBarShown)
        x -= 300;
    out.lblMessageTipLeft = x;
    out.imgMessageTipLeft = x + (in.largeFonts ? 600 : 500);
    out.imgMessageNothingFoundLeft = x + (in.largeFonts ? 430 : 310);
    return out;
}

int FlexibleColumnWidth(const ColumnInput& in) {
    int rest = in.listWidth - 30 - in.usedCountColumnWidth - in.scrollBarAllowance;
    if (!in.hidePathColumn)
        rest -= in.firstColumnWidth;
    return std::max(0, rest);
}

}  // namespace pw
