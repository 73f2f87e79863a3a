// Decisions of the search box, the tabs and the keyboard around the folder
// list that need no window: which key does what, and whether a refresh runs
// now or waits for the fill in progress.
#pragma once
#include <string_view>

#include "FolderListQuery.h"
#include "FolderOpenPlan.h"

namespace pw {

// Key release in the search box (Windows key codes).
enum class FindKeyAction { None, EnterList, Refresh };
// ctrlHeld: GetKeyState(VK_CONTROL) < 0. The F of Ctrl+F does not refresh;
// a plain F does, like every other letter.
FindKeyAction FindKeyReleased(int keyCode, bool ctrlHeld);

// Enter (13) or Down (40) in the search box with entryCount entries listed.
enum class FindEnterAction { None, OpenSingleEntry, FocusFirstEntry };
FindEnterAction FindEnterPressed(int keyCode, int entryCount);

// Esc released.
enum class EscapeAction { None, ResetSearch, Minimize, Unload };
EscapeAction EscapeReleased(FolderView view,
                            bool focusInFind,
                            std::wstring_view findText,
                            bool focusOnShowMenu,
                            ExitBehavior exitBehavior);

// Del removes the selected entry from the history: history lists only, and
// only while the search box holds no search (there Del edits the text).
bool DeleteKeyRemovesEntry(FolderView view, std::wstring_view findText);

// Tabs are counted from 1; with the favorites tab first the order is
// "Ordnerfavoriten", "Zuletzt verwendet", "Häufig verwendet".
FolderView ViewForTabPosition(int position, bool favoritesFirst);
int TabPositionForView(FolderView view, bool favoritesFirst);

}  // namespace pw
