// What one fill of a history list asks of the history: the window code hands
// in what the user sees (the search box text, the time frame index, the
// ignore filter) and gets the question and the entry limit.
#pragma once
#include <string>
#include <string_view>

#include "HistoryQueries.h"

namespace pw {

// The list shown: the same numbers as frmMain's lCurrentView.
enum class FolderView { LastUsed = 1, MostUsed = 2, Favorites = 3 };

inline constexpr int kFolderListLimit = 14;   // entries of a history list
inline constexpr int kSearchListLimit = 150;  // entries while searching

// A search is active when the box holds text (the search box leaves out its
// cue words); a text of blanks alone is active too (its empty term matches
// every folder).
bool IsSearchActive(std::wstring_view findText);

struct FolderQuery {
    FolderView view = FolderView::LastUsed;
    std::wstring searchText;       // last used; empty: no search
    int timeframe = 0;             // most used, 0 to kTimeframeCount - 1
    std::wstring ignoreFilter;     // checked for its shape; empty: none
    int limit = kFolderListLimit;  // entries added, not rows read
};

// The question of one fill. The search applies to the last-used list only,
// the time frame to the most-used list only, the ignore filter to both. A
// filter that has not exactly the shape the ignore list builds (a
// hand-edited value, or "()" from a list without any separator) filters
// nothing here; the window rebuilds such a filter from the list when it
// loads.
FolderQuery BuildFolderQuery(FolderView view,
                             std::wstring_view findText,
                             int timeframeIndex,
                             std::wstring_view ignoreFilter);

}  // namespace pw
