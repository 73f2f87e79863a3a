#include "FolderListKeys.h"

namespace pw {

FindKeyAction FindKeyReleased(int keyCode, bool ctrlHeld) {
    switch (keyCode) {
        case 16:  // Shift
        case 17:  // Ctrl
        case 91:  // left Windows key
        case 35:  // End
        case 36:  // Home
        case 37:  // Left
        case 39:  // Right
            return FindKeyAction::None;
        case 13:  // Enter
        case 40:  // Down
            return FindKeyAction::EnterList;
        case 70:  // F
            return ctrlHeld ? FindKeyAction::None : FindKeyAction::Refresh;
        default:
            return FindKeyAction::Refresh;
    }
}

FindEnterAction FindEnterPressed(int keyCode, int entryCount) {
    if (keyCode != 13 && keyCode != 40)
        return FindEnterAction::None;
    if (keyCode == 13 && entryCount == 1)
        return FindEnterAction::OpenSingleEntry;
    return entryCount >= 1 ? FindEnterAction::FocusFirstEntry : FindEnterAction::None;
}

EscapeAction EscapeReleased(FolderView view,
                            bool focusInFind,
                            std::wstring_view findText,
                            bool focusOnShowMenu,
                            ExitBehavior exitBehavior) {
    if (view == FolderView::LastUsed && focusInFind && !findText.empty())
        return EscapeAction::ResetSearch;
    if (focusOnShowMenu)
        return EscapeAction::None;
    return (exitBehavior == ExitBehavior::StayThenMinimize || exitBehavior == ExitBehavior::Minimize)
               ? EscapeAction::Minimize
               : EscapeAction::Unload;
}

bool DeleteKeyRemovesEntry(FolderView view, std::wstring_view findText) {
    return view != FolderView::Favorites && !IsSearchActive(findText);
}

FolderView ViewForTabPosition(int position, bool favoritesFirst) {
    static constexpr FolderView kNormal[] = {FolderView::LastUsed, FolderView::MostUsed, FolderView::Favorites};
    static constexpr FolderView kFavoritesFirst[] = {FolderView::Favorites, FolderView::LastUsed, FolderView::MostUsed};
    if (position < 1 || position > 3)
        position = 1;
    return (favoritesFirst ? kFavoritesFirst : kNormal)[position - 1];
}

int TabPositionForView(FolderView view, bool favoritesFirst) {
    for (int position = 1; position <= 3; ++position)
        if (ViewForTabPosition(position, favoritesFirst) == view)
            return position;
    return 1;
}

}  // namespace pw
