// The history queries behind the two history lists, as pure text builders.
// The window code hands in what the user sees (the search box text, the time
// frame index, the ignore filter) and gets the Jet SQL and the entry limit.
#pragma once
#include <string>
#include <string_view>

namespace pw {

// The list shown: the same numbers as frmMain's lCurrentView.
enum class FolderView { LastUsed = 1, MostUsed = 2, Favorites = 3 };

inline constexpr int kFolderListLimit = 14;   // entries of a history list
inline constexpr int kSearchListLimit = 150;  // entries while searching

// A search is active when the box holds text (the search box leaves out its
// cue words); a text of blanks alone is active too (its empty term matches
// every folder).
bool IsSearchActive(std::wstring_view findText);

// The search box text made fit to stand between quotes in a Like pattern:
// blanks cut at both ends, every "'" doubled. "%" and "_" stay wildcards.
std::wstring SearchTerm(std::wstring_view findText);

// The entries of the time-frame box of the most-used list, index 0 to 6.
inline constexpr int kTimeframeCount = 7;
// An index outside 0..6 (a damaged MRUTimeframe) is read as 0, "(Alle)".
int NormalizeTimeframe(int index);

// The time-frame clause W of the most-used query, filter included.
std::wstring MostUsedWhereClause(int timeframeIndex, std::wstring_view ignoreFilter);

std::wstring LastUsedSql(std::wstring_view findText, std::wstring_view ignoreFilter);
std::wstring MostUsedSql(int timeframeIndex, std::wstring_view ignoreFilter);

// The same lists read from FolderSummary, one row per folder and name that
// the history's triggers keep, instead of from every visit. The search and
// the ignore filter stand as they are: there the table is named
// FoldersProtocol too, and its FolderPath and FolderName compare like the
// visits'. A filter that names another column makes the query fail; the
// fill then reads the visits (FolderListRead.cpp).
// Last used: LastPath, LastName, LastUsed of each folder and name, newest
// first, as the visits' query meets them first.
std::wstring LastUsedSummarySql(std::wstring_view findText, std::wstring_view ignoreFilter);
// Most used: FolderPath, FolderName, UsageCount and the visits within the
// time frame, in falling UsageCount (an upper bound of the visits within).
std::wstring MostUsedSummarySql(int timeframeIndex, std::wstring_view ignoreFilter);
// The visit whose texts the grouping of the visits' query shows for one
// folder and name: the oldest within the time frame.
std::wstring MostUsedTextsSql(int timeframeIndex, std::wstring_view folderPath, std::wstring_view folderName);

struct FolderQuery {
    std::wstring sql;
    int limit = kFolderListLimit;  // entries added, not rows read
    std::wstring summarySql;       // the same list from FolderSummary
    int timeframe = 0;             // most used
};

// The query of one fill. The search applies to the last-used list only, the
// time frame to the most-used list only, the ignore filter to both.
FolderQuery BuildFolderQuery(FolderView view,
                             std::wstring_view findText,
                             int timeframeIndex,
                             std::wstring_view ignoreFilter);

}  // namespace pw
