#include "FolderOpenPlan.h"

#include "Text.h"

namespace pw {

FolderWindowKind EffectiveWindowKind(bool defaultOpenInExplorer, bool invertOpenMode) {
    return defaultOpenInExplorer != invertOpenMode ? FolderWindowKind::Explorer : FolderWindowKind::Plain;
}

bool ShouldLookForExistingWindow(bool reuseFolderWindows, bool invertReuse) {
    return reuseFolderWindows != invertReuse;
}

OpenRequest PlainClickRequest() {
    return {false, false};
}

// Passing the option itself as the inversion cancels it out: the other kind
// always opens in a new window.
OpenRequest ExplorerMenuRequest(bool reuseFolderWindows) {
    return {true, reuseFolderWindows};
}

OpenRequest OpenExistingMenuRequest() {
    return {false, true};
}

bool IsShellNamespacePath(std::wstring_view path) {
    return path.substr(0, 3) == L"::{";
}

bool MayOpenAsFolder(std::wstring_view path, PathTarget target) {
    if (IsShellNamespacePath(path))
        return true;
    bool drive = path.size() >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
                 path[1] == L':' && path[2] == L'\\';
    bool network = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
    return (drive || network) && target != PathTarget::File;
}

bool IsFolderViewTypeName(std::wstring_view typeName) {
    constexpr std::wstring_view kFolderView = L"IShellFolderViewDual";
    return typeName.substr(0, kFolderView.size()) == kFolderView;
}

FolderWindowChoice ChooseFolderWindow(const std::vector<FolderWindowState>& windows) {
    FolderWindowChoice choice;
    for (size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].isFolderView && !windows[i].minimized) {
            choice.index = static_cast<std::ptrdiff_t>(i);
            return choice;
        }
    }
    for (size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].isFolderView) {
            choice.index = static_cast<std::ptrdiff_t>(i);
            choice.restore = windows[i].minimized;
            return choice;
        }
    }
    return choice;
}

bool HoldTopmostWhileOpening(ExitBehavior exitBehavior) {
    return exitBehavior == ExitBehavior::StayThenHide || exitBehavior == ExitBehavior::StayThenMinimize;
}

AfterOpenPlan PlanAfterOpen(ExitBehavior exitBehavior, bool reusedWindow) {
    AfterOpenPlan plan;
    if (reusedWindow) {
        plan.watchMouseLeave = true;
        return plan;
    }
    switch (exitBehavior) {
        case ExitBehavior::StayThenHide:
        case ExitBehavior::StayThenMinimize:
            plan.watchMouseLeave = true;
            break;
        case ExitBehavior::Minimize:
            plan.minimize = true;
            plan.clearFolderOpened = true;
            break;
        case ExitBehavior::Hide:
            plan.hideAndUnload = true;
            break;
        default:  // KeepOpen, and anything the registry should not hold
            break;
    }
    return plan;
}

MouseLeaveAction MouseLeaveActionFor(ExitBehavior exitBehavior) {
    return exitBehavior == ExitBehavior::StayThenHide ? MouseLeaveAction::Unload : MouseLeaveAction::Minimize;
}

AfterProperties PlanAfterProperties(ExitBehavior exitBehavior) {
    switch (exitBehavior) {
        case ExitBehavior::StayThenHide:
        case ExitBehavior::Hide:
            return AfterProperties::UnloadAfterMenu;
        case ExitBehavior::StayThenMinimize:
        case ExitBehavior::Minimize:
            return AfterProperties::Minimize;
        default:
            return AfterProperties::Stay;
    }
}

std::wstring NoticeMessageBoxText(const NoticeTexts& notice) {
    return notice.instruction + L"\r\n\r\n\r\n" + notice.content;
}

}  // namespace pw
