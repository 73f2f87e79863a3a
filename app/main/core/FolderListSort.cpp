#include "FolderListSort.h"

namespace pw {
namespace {

int UsedColumn(bool hidePathColumn) {
    return hidePathColumn ? 1 : 2;
}

SortArrow ArrowColumn(SortMode mode, bool hidePathColumn, int state) {
    if (mode == SortMode::FolderDescending || mode == SortMode::FolderAscending)
        return {0, state};
    if (mode == SortMode::PathDescending || mode == SortMode::PathAscending)
        return {1, state};
    return {UsedColumn(hidePathColumn), state};
}

bool Ascending(SortMode mode) {
    return mode == SortMode::FolderAscending || mode == SortMode::PathAscending || mode == SortMode::UsedAscending;
}

}  // namespace

SortMode NormalizeSortMode(FolderView view, int storedMode, bool hidePathColumn) {
    const int highest = view == FolderView::MostUsed ? 6 : 5;
    if (storedMode < 1 || storedMode > highest)
        return SortMode::UsedDescending;
    auto mode = static_cast<SortMode>(storedMode);
    if (hidePathColumn && (mode == SortMode::PathDescending || mode == SortMode::PathAscending))
        return SortMode::UsedDescending;
    return mode;
}

SortMode SortModeAfterColumnClick(FolderView view, SortMode mode, int column, bool hidePathColumn) {
    if (column == 0)
        return mode == SortMode::FolderDescending ? SortMode::FolderAscending : SortMode::FolderDescending;
    if (column == 1 && !hidePathColumn)
        return mode == SortMode::PathDescending ? SortMode::PathAscending : SortMode::PathDescending;
    if (column == UsedColumn(hidePathColumn)) {
        if (view == FolderView::MostUsed)
            return mode == SortMode::UsedDescending ? SortMode::UsedAscending : SortMode::UsedDescending;
        return SortMode::UsedDescending;
    }
    return mode;
}

SortArrow ShowSortArrowFor(SortMode mode, bool hidePathColumn) {
    return ArrowColumn(mode, hidePathColumn, Ascending(mode) ? 1 : 2);
}

SortArrow ClearSortArrowFor(SortMode mode, bool hidePathColumn) {
    return ArrowColumn(mode, hidePathColumn, 0);
}

int HeaderFormatForArrow(int state) {
    if (state == 1)
        return 0x5400;
    if (state == 2)
        return 0x5200;
    return 0x5000;
}

SortPlan SortPlanFor(FolderView view, SortMode mode, bool hidePathColumn) {
    mode = NormalizeSortMode(view, static_cast<int>(mode), hidePathColumn);
    SortPlan plan;
    if (view == FolderView::LastUsed && mode == SortMode::UsedDescending) {
        plan.groups = true;  // query order, newest first, inside the date groups
        return plan;
    }
    plan.sort = true;
    plan.mark = Ascending(mode) ? 1 : 2;
    if (mode == SortMode::FolderDescending || mode == SortMode::FolderAscending) {
        plan.column = 0;
    } else if (mode == SortMode::PathDescending || mode == SortMode::PathAscending) {
        plan.column = 1;
    } else {
        plan.column = UsedColumn(hidePathColumn);
        plan.sortType = 2;
    }
    return plan;
}

}  // namespace pw
