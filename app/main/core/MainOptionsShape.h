// The options of the main window (registry key Options) as one value: what
// the window reads when it loads, and what the options dialog shows and
// gives back.
#pragma once
#include "FolderOpenPlan.h"
#include "Placement.h"

namespace pw {

// The icon size of the main window's details view (FolderListSize).
enum class ListSize { Small = 0, Medium = 1, Large = 2 };

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

}  // namespace pw
