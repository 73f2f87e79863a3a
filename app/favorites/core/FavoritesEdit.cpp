#include "FavoritesEdit.h"

#include <algorithm>

namespace pw {

void cFavoritesEdit::Load(const FavoritesData& stored, const IconOf& iconOf) {
    groups_.clear();
    entries_.clear();
    auto add = [&](const Favorite& favorite, const std::wstring& group) {
        entries_.push_back({NextId(), favorite.name, favorite.path, group, iconOf ? iconOf(favorite.path) : -1});
    };
    for (const FavoriteGroup& group : stored.groups) {
        groups_.push_back(group.name);
        for (const Favorite& favorite : group.favorites)
            add(favorite, group.name);
    }
    for (const Favorite& favorite : stored.uncategorized)
        add(favorite, kUncategorized);
}

FavoritesData cFavoritesEdit::Result() const {
    FavoritesData data;
    for (const std::wstring& name : groups_) {
        FavoriteGroup group{name, {}};
        for (const Entry& entry : entries_) {
            if (entry.group == name)
                group.favorites.push_back({entry.name, entry.path});
        }
        data.groups.push_back(std::move(group));
    }
    for (const Entry& entry : entries_) {
        if (entry.group == kUncategorized)
            data.uncategorized.push_back({entry.name, entry.path});
    }
    return data;
}

const cFavoritesEdit::Entry* cFavoritesEdit::Find(long id) const {
    auto found = std::find_if(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; });
    return found == entries_.end() ? nullptr : &*found;
}

std::vector<cFavoritesEdit::Entry>::iterator cFavoritesEdit::FindEntry(long id) {
    return std::find_if(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; });
}

std::vector<cFavoritesEdit::Row> cFavoritesEdit::Rows() const {
    std::vector<Row> rows;
    auto addGroup = [&](const std::wstring& group, bool placeholder) {
        bool any = false;
        for (const Entry& entry : entries_) {
            if (entry.group != group)
                continue;
            rows.push_back({entry.id, group});
            any = true;
        }
        if (!any && placeholder)
            rows.push_back({0, group});
    };
    for (const std::wstring& group : groups_)
        addGroup(group, true);
    addGroup(kUncategorized, false);
    return rows;
}

GroupNameProblem cFavoritesEdit::CheckGroupName(std::wstring_view name, int renamedIndex) const {
    std::vector<std::wstring> others;
    for (size_t i = 0; i < groups_.size(); ++i) {
        if (static_cast<int>(i) != renamedIndex)
            others.push_back(groups_[i]);
    }
    return pw::CheckGroupName(name, others);
}

void cFavoritesEdit::AddGroup(const std::wstring& name) {
    groups_.push_back(name);
}

void cFavoritesEdit::RenameGroup(size_t index, const std::wstring& name) {
    if (index >= groups_.size())
        return;
    const std::wstring old = groups_[index];
    groups_[index] = name;
    for (Entry& entry : entries_) {
        if (entry.group == old)
            entry.group = name;
    }
}

void cFavoritesEdit::RemoveGroup(size_t index) {
    if (index >= groups_.size())
        return;
    const std::wstring old = groups_[index];
    groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(index));
    // A name still held by another group (two groups of one name, only from
    // a hand-edited store) keeps its favorites.
    if (std::find(groups_.begin(), groups_.end(), old) != groups_.end())
        return;
    for (Entry& entry : entries_) {
        if (entry.group == old)
            entry.group = kUncategorized;
    }
}

bool cFavoritesEdit::MoveGroup(size_t index, int delta) {
    size_t other = index + static_cast<size_t>(delta);
    if (index >= groups_.size() || other >= groups_.size() || other == index)
        return false;
    std::swap(groups_[index], groups_[other]);
    return true;
}

long cFavoritesEdit::Add(const std::wstring& name, const std::wstring& path, const std::wstring& group, int icon) {
    long id = NextId();
    entries_.push_back({id, name, path, group, icon});
    return id;
}

void cFavoritesEdit::Change(long id,
                            const std::wstring& name,
                            const std::wstring& path,
                            const std::wstring& group,
                            int icon) {
    auto entry = FindEntry(id);
    if (entry == entries_.end())
        return;
    entry->name = name;
    entry->path = path;
    entry->group = group;
    entry->icon = icon;
}

void cFavoritesEdit::Rename(long id, const std::wstring& name) {
    auto entry = FindEntry(id);
    if (entry != entries_.end())
        entry->name = name;
}

void cFavoritesEdit::Remove(long id) {
    auto entry = FindEntry(id);
    if (entry != entries_.end())
        entries_.erase(entry);
}

size_t cFavoritesEdit::InsertPosition(const Row& target, bool after) const {
    if (target.Placeholder())
        return entries_.size();  // alone in its group: anywhere will do
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].id == target.id)
            return after ? i + 1 : i;
    }
    return entries_.size();
}

long cFavoritesEdit::MoveTo(long id, const Row& target, bool after) {
    if (target.id == id)
        return 0;
    auto entry = FindEntry(id);
    if (entry == entries_.end())
        return 0;
    Entry moved = std::move(*entry);
    entries_.erase(entry);
    moved.group = target.group;
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(InsertPosition(target, after)), std::move(moved));
    return id;
}

long cFavoritesEdit::InsertAt(const std::wstring& name,
                              const std::wstring& path,
                              int icon,
                              const Row& target,
                              bool after) {
    long id = NextId();
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(InsertPosition(target, after)),
                    Entry{id, name, path, target.group, icon});
    return id;
}

}  // namespace pw
