// Column sorting of the two history lists: the modes a header click moves
// between, the header arrow of each mode and the sort marks after a fill.
//
// Columns are counted from 0 here, as the list and its header count them:
// 0 "Ordner", 1 "Pfad", 2 "Verwendet" (1 when the path column is hidden).
#pragma once
#include "FolderListQuery.h"

namespace pw {

// The sort modes, numbered as stored in SortingLastUsed and SortingMostUsed.
enum class SortMode {
    FolderDescending = 1,
    FolderAscending = 2,
    PathDescending = 3,
    PathAscending = 4,
    UsedDescending = 5,  // last-used list: grouped by date, newest first
    UsedAscending = 6,   // most-used list only
};

// A stored mode as the list can use it: outside the view's range (1..5 for
// the last-used list, 1..6 for the most-used list) it is UsedDescending, and
// sorting by path becomes UsedDescending when the path column is hidden.
SortMode NormalizeSortMode(FolderView view, int storedMode, bool hidePathColumn);

// The mode after a click on a column header; an unknown column keeps it.
SortMode SortModeAfterColumnClick(FolderView view, SortMode mode, int column, bool hidePathColumn);

// Header arrow: state 0 none, 1 ascending, 2 descending.
struct SortArrow {
    int column = 0;
    int state = 0;
};
SortArrow ShowSortArrowFor(SortMode mode, bool hidePathColumn);   // ShowSortArrow
SortArrow ClearSortArrowFor(SortMode mode, bool hidePathColumn);  // ClearSortArrow
// HDITEM format for an arrow state: string with bitmap on the right
// (0x5000), plus HDF_SORTUP (0x0400) or HDF_SORTDOWN (0x0200).
int HeaderFormatForArrow(int state);

// What a fill does after adding its entries.
struct SortPlan {
    bool groups = false;  // date groups shown (last-used mode 5)
    bool sort = false;    // sort the entries by the marked column
    int column = -1;      // the marked column, -1 none
    int mark = 0;         // 1 ascending, 2 descending (the control's marks)
    int sortType = 0;     // 2 for the count column: sort by number, not text
};
SortPlan SortPlanFor(FolderView view, SortMode mode, bool hidePathColumn);

}  // namespace pw
