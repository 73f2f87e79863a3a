// Decisions of the add-favorite dialog that need no window: what the typed
// group means, which entry the group box completes to, and which folder the
// folder picker starts in next time.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "FavoritesFormat.h"

namespace pw {

struct GroupChoice {
    enum class Kind {
        BuiltIn,   // "Sonstige", "(Keine)" or nothing typed
        Existing,  // a user group of the list
        New,       // a new user group, to be created
        Refused,   // a new group that cannot be: see problem, or the limit
    };
    Kind kind = Kind::BuiltIn;
    std::wstring group;  // the group as chosen (the box's text); kUncategorized for the built-in group
    GroupNameProblem problem = GroupNameProblem::None;
    bool limitReached = false;  // refused: there are kMaxFavoriteGroups groups already
};

// text: the group box's text; userGroups: the user groups the box lists.
GroupChoice DecideGroupChoice(const std::wstring& text, const std::vector<std::wstring>& userGroups);

// The entry the group box completes to when typed is the text left of the
// caret with the new character: the first entry that begins with exactly
// that text, letter case included; -1 for none.
int CompleteGroupChoice(const std::vector<std::wstring>& entries, std::wstring_view typed);

// What "AddFavoritePreviousSubfolderSelected" keeps after the user picked a
// folder: a drive root as it is, any other folder's parent, so that the next
// pick starts beside it.
std::wstring PreviousSubfolderAfterBrowse(std::wstring_view chosen);

}  // namespace pw
