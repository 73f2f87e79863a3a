#include "MainOptions.h"

#include "Settings.h"

namespace pw {

int IconPixels(ListSize size) {
    switch (size) {
        case ListSize::Medium:
            return 24;
        case ListSize::Large:
            return 32;
        default:
            return 16;
    }
}

MainOptions ReadMainOptions(bool vistaThemed) {
    MainOptions options;
    // A flag is on only when stored as exactly 1; the title bar goes only at 0.
    options.showWindowTitleAndBorder = ReadNumber(Setting::ShowWindowTitleAndBorder) != 0;
    options.listSize = static_cast<ListSize>(ReadNumber(Setting::FolderListSize, vistaThemed));
    options.showWatermark = ReadFlag(Setting::ShowWatermark);
    options.exitBehavior = static_cast<ExitBehavior>(ReadNumber(Setting::ExitBehavior));
    options.defaultOpenInExplorer = ReadFlag(Setting::DefaultOpenInExplorer);
    options.reuseFolderWindows = ReadFlag(Setting::ReuseFolderWindows);
    options.hidePathColumn = ReadFlag(Setting::HidePathColumn);
    options.windowPosition = static_cast<WindowPositionMode>(ReadNumber(Setting::WindowPosition));
    options.showFavoritesTabFirst = ReadFlag(Setting::ShowFavoritesTabFirst);
    options.showMenuBar = ReadFlag(Setting::ShowMenuBar);
    options.switchFileDialogs = ReadFlag(Setting::SwitchFileDialogs);
    return options;
}

}  // namespace pw
