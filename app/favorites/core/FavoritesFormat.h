// The stored form of the folder favorites under ...\Pfadwerk\FolderFavorites:
// the group names in "Groups", and per group a sub-key named like the group
// whose "Favorites" and "FavoritesPaths" hold display names and paths,
// element by element. Every list is a run of elements, each followed by
// "|*#|". The favorites without a group live in the sub-key "Uncategorized".
// This header is the one place that knows the format; readers and writers of
// the registry and the favorites windows all go through it.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

inline constexpr std::wstring_view kFavoritesSeparator = L"|*#|";
inline constexpr wchar_t kGroupsValueName[] = L"Groups";
inline constexpr wchar_t kFavoritesValueName[] = L"Favorites";
inline constexpr wchar_t kFavoritesPathsValueName[] = L"FavoritesPaths";
// The sub-key, and the tag in the manager's list, of the built-in group.
inline constexpr wchar_t kUncategorized[] = L"Uncategorized";
// What the built-in group is called on screen, and what the group choice
// offers for it while there are no user groups. Both mean the built-in group
// wherever a group is chosen, so neither can name a group of the user's.
inline constexpr wchar_t kOtherGroupName[] = L"Sonstige";
inline constexpr wchar_t kNoGroupName[] = L"(Keine)";
// The writers create no more user groups than this.
inline constexpr size_t kMaxFavoriteGroups = 7;

// The elements of a stored list: the text up to its last separator, split at
// every separator. Text after the last separator belongs to no element.
std::vector<std::wstring> SplitFavoritesList(std::wstring_view value);
// Each element followed by the separator; "" for no elements.
std::wstring JoinFavoritesList(const std::vector<std::wstring>& elements);

struct Favorite {
    std::wstring name;
    std::wstring path;
    friend bool operator==(const Favorite&, const Favorite&) = default;
};

// "Favorites" and "FavoritesPaths" of one sub-key.
struct FavoritesValues {
    std::wstring names;
    std::wstring paths;
    friend bool operator==(const FavoritesValues&, const FavoritesValues&) = default;
};

// The favorites of one sub-key. Their number is that of the names; a name
// without a path of its own (the paths run out first) gets an empty path, so
// that it can be seen, changed or removed rather than lost.
std::vector<Favorite> PairFavorites(const FavoritesValues& values);
FavoritesValues FavoritesListValues(const std::vector<Favorite>& favorites);

struct FavoriteGroup {
    std::wstring name;
    std::vector<Favorite> favorites;
    friend bool operator==(const FavoriteGroup&, const FavoriteGroup&) = default;
};

// Everything stored: the user groups in display order, then the built-in
// group's favorites.
struct FavoritesData {
    std::vector<FavoriteGroup> groups;
    std::vector<Favorite> uncategorized;
    friend bool operator==(const FavoritesData&, const FavoritesData&) = default;
};

// Reads the whole store from "Groups" and a reader of one sub-key's values
// (missing values read as empty). Every name of "Groups" is kept, however
// many there are; an empty one names no sub-key and is skipped.
using FavoritesSubKeyReader = std::function<FavoritesValues(const std::wstring& subKey)>;
FavoritesData ParseFavorites(std::wstring_view groupsValue, const FavoritesSubKeyReader& readSubKey);

// The sub-key a group choice stores into: the built-in group for "Sonstige"
// and "(Keine)", otherwise the group of that name.
std::wstring SubKeyOfGroupChoice(const std::wstring& group);

// The full rewrite (the favorites manager's OK): write the sub-keys that
// hold favorites, then "Groups" (also when empty), then delete the sub-keys
// of the old groups and of the built-in group that were not written (key
// names match in any letter case). The whole plan is stored first as one
// value, the journal, so that a rewrite ended half way is finished when the
// favorites are next read: old or new favorites, never a mix.
struct FavoritesSubKeyWrite {
    std::wstring subKey;
    FavoritesValues values;
    friend bool operator==(const FavoritesSubKeyWrite&, const FavoritesSubKeyWrite&) = default;
};
struct FavoritesRewrite {
    std::vector<std::wstring> deleteSubKeys;
    std::vector<FavoritesSubKeyWrite> writeSubKeys;
    std::wstring groupsValue;
    friend bool operator==(const FavoritesRewrite&, const FavoritesRewrite&) = default;
};
FavoritesRewrite PlanFavoritesRewrite(std::wstring_view oldGroupsValue, const FavoritesData& data);

// The journal's value beside "Groups", present only while a rewrite runs.
inline constexpr wchar_t kRewriteJournalValueName[] = L"RewriteInProgress";
// The plan as one text: every field as its length in decimal, ":" and the
// field itself, so that no text of a favorite can be taken for structure.
std::wstring FavoritesRewriteJournal(const FavoritesRewrite& plan);
// Nothing for a text that is not exactly such a journal.
std::optional<FavoritesRewrite> ParseFavoritesRewriteJournal(std::wstring_view journal);

// Appending one favorite (the add-favorite dialog from the main window): a
// new group's name goes to the end of "Groups", the favorite to the end of
// its sub-key. The sub-key's lists are written whole, with the paths brought
// to the number of the names first, so the new pair stays a pair even where
// a hand-edited value left them uneven.
struct FavoritesAppend {
    bool newGroup = false;
    std::wstring groupsValue;
    FavoritesSubKeyWrite write;
};
FavoritesAppend PlanFavoritesAppend(std::wstring_view groupsValue,
                                    const std::wstring& group,
                                    const FavoritesValues& current,
                                    const Favorite& added);

// Why a name cannot be a user group's: the sub-key, the tag and the stored
// lists would mix it up with another group or break apart.
enum class GroupNameProblem {
    None,
    Empty,             // blank
    Reserved,          // "Sonstige" or "(Keine)": the built-in group's names on screen
    StorageName,       // "Uncategorized" in any case: the built-in group's sub-key
    Duplicate,         // equal to another group's name
    DuplicateButCase,  // differs from another group's name only in letter case (one sub-key for both)
    Separator,         // holds "\" (a deeper sub-key) or "|*#|"
    TooLong,           // longer than a registry key's name can be
};
// The longest name of a registry key, and so of a group.
inline constexpr size_t kMaxGroupNameLength = 255;
// others: the names of the other user groups.
GroupNameProblem CheckGroupName(std::wstring_view name, const std::vector<std::wstring>& others);
// The other group that name clashes with (Duplicate, DuplicateButCase), or "".
std::wstring ClashingGroupName(std::wstring_view name, const std::vector<std::wstring>& others);

// A display name holding "|*#|" would split into two elements when read back.
bool FavoriteNameFitsFormat(std::wstring_view name);

}  // namespace pw
