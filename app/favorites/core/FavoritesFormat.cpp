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

    // The registry matches key names in any case: deleting "projekte" after
    // "Projekte" was written would delete the new one.
    auto written = [&plan](std::wstring_view name) {
        return std::any_of(plan.writeSubKeys.begin(), plan.writeSubKeys.end(),
                           [name](const FavoritesSubKeyWrite& write) { return EqualsNoCase(write.subKey, name); });
    };
    // A new group without favorites has no sub-key either: one left behind
    // by an append that ended early must not lend it favorites.
    std::vector<std::wstring> old = SplitFavoritesList(oldGroupsValue);
    old.emplace_back(kUncategorized);
    for (const FavoriteGroup& group : data.groups) {
        if (group.favorites.empty())
            old.push_back(group.name);
    }
    for (std::wstring& name : old) {
        // An empty name would be the path of FolderFavorites itself.
        bool listed = std::any_of(plan.deleteSubKeys.begin(), plan.deleteSubKeys.end(),
                                  [&name](const std::wstring& other) { return EqualsNoCase(other, name); });
        if (!name.empty() && !written(name) && !listed)
            plan.deleteSubKeys.push_back(std::move(name));
    }
    return plan;
}

namespace {

void PutField(std::wstring& out, std::wstring_view field) {
    out += std::to_wstring(field.size());
    out += L':';
    out += field;
}

// The next field at pos, moving pos past it.
std::optional<std::wstring> TakeField(std::wstring_view text, size_t& pos) {
    size_t length = 0;
    size_t digits = 0;
    while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
        if (++digits > 9)
            return std::nullopt;
        length = length * 10 + static_cast<size_t>(text[pos] - L'0');
        ++pos;
    }
    if (digits == 0 || pos >= text.size() || text[pos] != L':' || text.size() - pos - 1 < length)
        return std::nullopt;
    ++pos;
    std::wstring field(text.substr(pos, length));
    pos += length;
    return field;
}

std::optional<size_t> TakeCount(std::wstring_view text, size_t& pos) {
    std::optional<std::wstring> field = TakeField(text, pos);
    if (!field || field->empty() || field->size() > 6 || field->find_first_not_of(L"0123456789") != std::wstring::npos)
        return std::nullopt;
    return static_cast<size_t>(std::stoul(*field));
}

}  // namespace

std::wstring FavoritesRewriteJournal(const FavoritesRewrite& plan) {
    std::wstring journal;
    PutField(journal, plan.groupsValue);
    PutField(journal, std::to_wstring(plan.writeSubKeys.size()));
    for (const FavoritesSubKeyWrite& write : plan.writeSubKeys) {
        PutField(journal, write.subKey);
        PutField(journal, write.values.names);
        PutField(journal, write.values.paths);
    }
    PutField(journal, std::to_wstring(plan.deleteSubKeys.size()));
    for (const std::wstring& subKey : plan.deleteSubKeys)
        PutField(journal, subKey);
    return journal;
}

std::optional<FavoritesRewrite> ParseFavoritesRewriteJournal(std::wstring_view journal) {
    FavoritesRewrite plan;
    size_t pos = 0;
    std::optional<std::wstring> groups = TakeField(journal, pos);
    std::optional<size_t> writes = groups ? TakeCount(journal, pos) : std::nullopt;
    if (!writes)
        return std::nullopt;
    plan.groupsValue = std::move(*groups);
    for (size_t i = 0; i < *writes; ++i) {
        std::optional<std::wstring> subKey = TakeField(journal, pos);
        std::optional<std::wstring> names = subKey ? TakeField(journal, pos) : std::nullopt;
        std::optional<std::wstring> paths = names ? TakeField(journal, pos) : std::nullopt;
        // An empty sub-key would name FolderFavorites itself.
        if (!paths || subKey->empty())
            return std::nullopt;
        plan.writeSubKeys.push_back({std::move(*subKey), {std::move(*names), std::move(*paths)}});
    }
    std::optional<size_t> deletes = TakeCount(journal, pos);
    if (!deletes)
        return std::nullopt;
    for (size_t i = 0; i < *deletes; ++i) {
        std::optional<std::wstring> subKey = TakeField(journal, pos);
        if (!subKey || subKey->empty())
            return std::nullopt;
        plan.deleteSubKeys.push_back(std::move(*subKey));
    }
    if (pos != journal.size())
        return std::nullopt;
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
    if (name.size() > kMaxGroupNameLength)
        return GroupNameProblem::TooLong;
    std::wstring clash = ClashingGroupName(name, others);
    if (clash.empty())
        return GroupNameProblem::None;
    return clash == name ? GroupNameProblem::Duplicate : GroupNameProblem::DuplicateButCase;
}

bool FavoriteNameFitsFormat(std::wstring_view name) {
    return name.find(kFavoritesSeparator) == std::wstring_view::npos;
}

}  // namespace pw
