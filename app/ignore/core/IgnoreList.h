// The ignore list: its entries in their three forms, the stored list
// ("IgnoreStrings") and the history filter made of it ("IgnoreStringSQL").
// This is the one place that spells the separator, the stored forms and the
// filter; everything else goes through these functions.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// Follows every entry of the stored list, the last one too.
inline constexpr std::wstring_view kIgnoreSeparator = L"|\\|";
// More entries would make every history query slower than the list may be.
inline constexpr int kIgnoreEntryLimit = 7;

enum class IgnoreForm {
    Folder,                // hides the folder itself
    FolderWithSubfolders,  // stored with "*" after the path
    PathPart,              // stored as "*text*"
};

// An entry as the user sees it: the text holds single quotes, not doubled.
struct IgnoreEntry {
    IgnoreForm form = IgnoreForm::Folder;
    std::wstring text;
    friend bool operator==(const IgnoreEntry&, const IgnoreEntry&) = default;
};

// The entry for a typed folder path: blanks cut at both ends, one trailing
// backslash cut unless the path is a drive root ("c:\" keeps it). The text is
// empty when nothing but blanks was typed.
IgnoreEntry FolderIgnoreEntry(std::wstring_view typedPath, bool includeSubfolders);
// The entry for a typed path part: blanks cut at both ends, every "*" removed.
IgnoreEntry PathPartIgnoreEntry(std::wstring_view typedText);

// The stored form: quotes doubled, "*" added as the form asks.
std::wstring StoredIgnoreEntry(const IgnoreEntry& entry);
// Whether the stored list can carry the entry: some text, and a stored form
// that reads back as the same entry in the same place. A folder path that
// begins with "*", or ends with it without the subfolders, would come back
// in another form, and a separator in the text would split the entry.
bool IsStorableIgnoreEntry(const IgnoreEntry& entry);
// Reads a stored entry by its first and last character; quotes come back
// single.
IgnoreEntry ParseIgnoreEntry(std::wstring_view stored);

// The texts the ignore manager lists; "%1" stands for the entry's text.
struct IgnoreDisplayPatterns {
    std::wstring folder;
    std::wstring folderWithSubfolders;
    std::wstring pathPart;
};
std::wstring IgnoreDisplayText(const IgnoreEntry& entry, const IgnoreDisplayPatterns& patterns);

// The stored entries of a stored list, in order; whatever follows the last
// separator is no entry. Empty pieces between separators are entries.
std::vector<std::wstring> SplitIgnoreStrings(std::wstring_view storedList);
// The stored list of these entries; "" for none.
std::wstring JoinIgnoreStrings(const std::vector<std::wstring>& storedEntries);
// The stored list with one more entry at its end (text after the last
// separator is dropped on the way).
std::wstring AppendIgnoreString(std::wstring_view storedList, std::wstring_view storedEntry);

// The entries the filter is made of: the first seven of the stored list
// that can name a folder (one with a control character names none). More
// than the limit only a hand-edited list holds, and the lists would slow
// down with every one.
std::vector<std::wstring> IgnoreFilterEntries(std::wstring_view storedList);
// The filter of a stored list: "(" + one condition per entry of
// IgnoreFilterEntries joined by " AND " + ")", or "" when there is none.
std::wstring BuildIgnoreFilter(std::wstring_view storedList);

// Whether the filter of this stored list hides the folder: the test each of
// its conditions makes in a history query, made here without one (for
// folders that are not in the history yet).
bool IgnoreListHides(std::wstring_view storedList, std::wstring_view folderPath);

// The number of conditions when the text has exactly the shape
// BuildIgnoreFilter gives (0 for ""), nullopt for anything else, also for a
// control character anywhere or more conditions than the limit: the filter
// is taken from the registry and becomes part of every history query, so
// nothing else may pass.
std::optional<int> IgnoreFilterConditions(std::wstring_view filter);
inline bool IsIgnoreFilter(std::wstring_view filter) {
    return IgnoreFilterConditions(filter).has_value();
}

}  // namespace pw
