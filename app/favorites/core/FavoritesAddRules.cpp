#include "FavoritesAddRules.h"

#include <algorithm>

#include "Text.h"

namespace pw {

GroupChoice DecideGroupChoice(const std::wstring& text, const std::vector<std::wstring>& userGroups) {
    GroupChoice choice;
    if (Trim(text).empty() || text == kOtherGroupName || text == kNoGroupName) {
        choice.group = kUncategorized;
        return choice;
    }
    choice.group = text;
    if (std::find(userGroups.begin(), userGroups.end(), text) != userGroups.end()) {
        choice.kind = GroupChoice::Kind::Existing;
        return choice;
    }
    choice.problem = CheckGroupName(text, userGroups);
    choice.limitReached = choice.problem == GroupNameProblem::None && userGroups.size() >= kMaxFavoriteGroups;
    choice.kind = choice.problem == GroupNameProblem::None && !choice.limitReached ? GroupChoice::Kind::New
                                                                                   : GroupChoice::Kind::Refused;
    return choice;
}

int CompleteGroupChoice(const std::vector<std::wstring>& entries, std::wstring_view typed) {
    if (typed.empty())
        return -1;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (std::wstring_view(entries[i]).substr(0, typed.size()) == typed)
            return static_cast<int>(i);
    }
    return -1;
}

std::wstring PreviousSubfolderAfterBrowse(std::wstring_view chosen) {
    if (chosen.size() < 4)
        return std::wstring(chosen);
    size_t slash = chosen.find_last_of(L'\\');
    if (slash == std::wstring_view::npos)
        return std::wstring(chosen);
    // "c:\daten" lies in the root "c:\", not in "c:" (the drive's current folder).
    if (slash == 2 && chosen[1] == L':')
        return std::wstring(chosen.substr(0, 3));
    return std::wstring(chosen.substr(0, slash));
}

}  // namespace pw
