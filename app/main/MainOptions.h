// The options of the main window (registry key Options), read once when the
// window loads, into one structure.
#pragma once
#include "FolderOpenPlan.h"
#include "ListSize.h"
#include "Placement.h"

namespace pw {

// 16, 24 or 32 pixels; an unknown size counts as small.
int IconPixels(ListSize size);

struct MainOptions {
    bool showWindowTitleAndBorder = true;
    ListSize listSize = ListSize::Small;
    bool showWatermark = true;
    ExitBehavior exitBehavior = ExitBehavior::StayThenHide;
    bool defaultOpenInExplorer = false;
    bool reuseFolderWindows = false;
    bool hidePathColumn = false;
    WindowPositionMode windowPosition = WindowPositionMode::TaskbarStart;
    bool showFavoritesTabFirst = false;
    bool showMenuBar = false;
    bool switchFileDialogs = true;  // a waiting Open or Save dialog goes to the picked folder
};

// The stored options; vistaThemed picks the defaults of a themed Vista.
MainOptions ReadMainOptions(bool vistaThemed);

}  // namespace pw
