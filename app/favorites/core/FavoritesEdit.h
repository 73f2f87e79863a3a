// The favorites manager's working copy: the user groups and every favorite,
// edited in memory and handed back whole for the rewrite on OK. The window
// shows it; everything the user does to the lists is an operation here.
//
// Entries keep the order in which they were added and moved ("entry order");
// within a group that is the order shown and stored. Rows are the lines of the
// list as shown: the user groups in order, each with its favorites or, when
// it has none, one placeholder row, then the built-in group "Sonstige".
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "FavoritesFormat.h"

namespace pw {

class cFavoritesEdit {
  public:
    struct Entry {
        long id = 0;  // from 1, never reused while the window is open
        std::wstring name;
        std::wstring path;
        std::wstring group;  // a user group's name, or kUncategorized
        int icon = -1;       // image index, the window's business
    };
    struct Row {
        long id = 0;         // the entry shown; 0 for a placeholder
        std::wstring group;  // the group the row lies in (kUncategorized for "Sonstige")
        bool Placeholder() const { return id == 0; }
        friend bool operator==(const Row&, const Row&) = default;
    };
    // Gives the image index of a path's icon.
    using IconOf = std::function<int(const std::wstring& path)>;

    void Load(const FavoritesData& stored, const IconOf& iconOf);
    FavoritesData Result() const;

    const std::vector<std::wstring>& Groups() const { return groups_; }
    const std::vector<Entry>& Entries() const { return entries_; }
    const Entry* Find(long id) const;
    std::vector<Row> Rows() const;
    // Headers are shown while there is a user group.
    bool GroupsShown() const { return !groups_.empty(); }
    // The group a row of the group choice means: kUncategorized for
    // "Sonstige" and "(Keine)".
    static std::wstring TagOfChoice(const std::wstring& choice) { return SubKeyOfGroupChoice(choice); }

    // ---- Groups ----
    bool CanAddGroup() const { return groups_.size() < kMaxFavoriteGroups; }
    // A name for a new group (renamedIndex -1) or for group renamedIndex.
    GroupNameProblem CheckGroupName(std::wstring_view name, int renamedIndex = -1) const;
    void AddGroup(const std::wstring& name);
    // Its favorites follow it under the new name.
    void RenameGroup(size_t index, const std::wstring& name);
    // Its favorites move to "Sonstige"; they stay in entry order.
    void RemoveGroup(size_t index);
    // Swaps the group with its neighbour above (delta -1) or below (+1).
    bool MoveGroup(size_t index, int delta);

    // ---- Favorites ----
    // At the end of the entry order, so last in its group; returns its id.
    long Add(const std::wstring& name, const std::wstring& path, const std::wstring& group, int icon);
    void Change(long id, const std::wstring& name, const std::wstring& path, const std::wstring& group, int icon);
    void Rename(long id, const std::wstring& name);
    void Remove(long id);
    // Drag and drop: the entry moves before (or after) the target row and
    // into the target's group; onto itself nothing happens. Returns the
    // entry's id, 0 when nothing moved.
    long MoveTo(long id, const Row& target, bool after);
    // A folder dropped before or after a row, into the row's group.
    long InsertAt(const std::wstring& name, const std::wstring& path, int icon, const Row& target, bool after);

  private:
    long NextId() { return ++lastId_; }
    std::vector<Entry>::iterator FindEntry(long id);
    // The place in entry order that goes with "before/after the target row".
    size_t InsertPosition(const Row& target, bool after) const;

    std::vector<std::wstring> groups_;
    std::vector<Entry> entries_;
    long lastId_ = 0;
};

}  // namespace pw
