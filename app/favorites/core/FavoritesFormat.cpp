#include "FavoritesFormat.h"

#include <algorithm>

#include "Text.h"

namespace pw {

std::vector<std::wstring> SplitFavoritesList(std::wstring_view value) {
    std::vector<std::wstring> elements;
    size_t start = 0;
    for (;;) {
        size_t end = value.find(kFavoritesSeparator, start);
        if (end == std::wstring_view::npos)
            break;
        elements.emplace_back(value.substr(start, end - start));
        start = end + kFavoritesSeparator.size();
    }
    return elements;
}

std::wstring JoinFavoritesList(const std::vector<std::wstring>& elements) {
    std::wstring value;
    for (const std::wstring& element : elements) {
        value += element;
        value += kFavoritesSeparator;
    }
    return value;
}

std::vector<Favorite> PairFavorites(const FavoritesValues& values) {
    std::vector<std::wstring> names = SplitFavoritesList(values.names);
    std::vector<std::wstring> paths = SplitFavoritesList(values.paths);
    std::vector<Favorite> favorites;
    favorites.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        favorites.push_back({std::move(names[i]), i < paths.size() ? std::move(paths[i]) : std::wstring()});
    }
    return favorites;
}

FavoritesValues FavoritesListValues(const std::vector<Favorite>& favorites) {
    FavoritesValues values;
    for (const Favorite& favorite : favorites) {
        values.names += favorite.name;
        values.names += kFavoritesSeparator;
        values.paths += favorite.path;
        values.paths += kFavoritesSeparator;
    }
    return values;
}

FavoritesData ParseFavorites(std::wstring_view groupsValue, const FavoritesSubKeyReader& readSubKey) {
    FavoritesData data;
    for (std::wstring& name : SplitFavoritesList(groupsValue)) {
        if (name.empty())
            continue;
        FavoriteGroup group;
        group.favorites = PairFavorites(readSubKey(name));
        group.name = std::move(name);
        data.groups.push_back(std::move(group));
    }
    data.uncategorized = PairFavorites(readSubKey(kUncategorized));
    return data;
}

std::wstring SubKeyOfGroupChoice(const std::wstring& group) {
    return group == kOtherGroupName || group == kNoGroupName ? std::wstring(kUncategorized) : group;
}

FavoritesRewrite PlanFavoritesRewrite(std::wstring_view oldGroupsValue, const FavoritesData& data) {
    FavoritesRewrite plan;
    for (std::wstring& name : SplitFavoritesList(oldGroupsValue)) {
        // An empty name would be the path of FolderFavorites itself.
        if (!name.empty())
            plan.deleteSubKeys.push_back(std::move(name));
    }
    plan.deleteSubKeys.emplace_back(kUncategorized);
    if (!data.uncategorized.empty()) {
        plan.writeSubKeys.push_back({kUncategorized, FavoritesListValues(data.uncategorized)});
    }
    std::vector<std::wstring> names;
    for (const FavoriteGroup& group : data.groups) {
        names.push_back(group.name);
        if (!group.favorites.empty())
            plan.writeSubKeys.push_back({group.name, FavoritesListValues(group.favorites)});
    }
    plan.groupsValue = JoinFavoritesList(names);
    return plan;
}

FavoritesAppend PlanFavoritesAppend(std::wstring_view groupsValue,
                                    const std::wstring& group,
                                    const FavoritesValues& current,
                                    const Favorite& added) {
    FavoritesAppend plan;
    std::vector<std::wstring> groups = SplitFavoritesList(groupsValue);
    std::wstring subKey = SubKeyOfGroupChoice(group);
    plan.newGroup = subKey != kUncategorized && std::find(groups.begin(), groups.end(), group) == groups.end();
    if (plan.newGroup)
        groups.push_back(group);
    plan.groupsValue = JoinFavoritesList(groups);
    std::vector<Favorite> favorites = PairFavorites(current);
    favorites.push_back(added);
    plan.write = {std::move(subKey), FavoritesListValues(favorites)};
    return plan;
}

std::wstring ClashingGroupName(std::wstring_view name, const std::vector<std::wstring>& others) {
    for (const std::wstring& other : others) {
        if (other == name)
            return other;
    }
    for (const std::wstring& other : others) {
        if (EqualsNoCase(other, name))
            return other;
    }
    return {};
}

GroupNameProblem CheckGroupName(std::wstring_view name, const std::vector<std::wstring>& others) {
    if (Trim(name).empty())
        return GroupNameProblem::Empty;
    if (name == kOtherGroupName || name == kNoGroupName)
        return GroupNameProblem::Reserved;
    if (EqualsNoCase(name, kUncategorized))
        return GroupNameProblem::StorageName;
    if (name.find(L'\\') != std::wstring_view::npos || name.find(kFavoritesSeparator) != std::wstring_view::npos)
        return GroupNameProblem::Separator;
    std::wstring clash = ClashingGroupName(name, others);
    if (clash.empty())
        return GroupNameProblem::None;
    return clash == name ? GroupNameProblem::Duplicate : GroupNameProblem::DuplicateButCase;
}

bool FavoriteNameFitsFormat(std::wstring_view name) {
    return name.find(kFavoritesSeparator) == std::wstring_view::npos;
}

}  // namespace pw
