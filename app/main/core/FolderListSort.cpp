#include "FolderListSort.h"

namespace pw {
namespace {

int UsedColumn(bool hidePathColumn) {
    return hidePathColumn ? 1 : 2;
}

SortArrow ArrowColumn(int mode, bool hidePathColumn, int state) {
    if (mode == 1 || mode == 2)
        return {0, state};
    if (mode == 3 || mode == 4)
        return {1, state};
    return {UsedColumn(hidePathColumn), state};
}

}  // namespace

int NormalizeSortMode(FolderView view, int mode, bool hidePathColumn) {
    const int highest = view == FolderView::MostUsed ? 6 : 5;
    if (mode < 1 || mode > highest)
        return kDefaultSortMode;
    if (hidePathColumn && (mode == 3 || mode == 4))
        return kDefaultSortMode;
    return mode;
}

int SortModeAfterColumnClick(FolderView view, int mode, int column, bool hidePathColumn) {
    if (column == 0)
        return mode == 1 ? 2 : 1;
    if (column == 1 && !hidePathColumn)
        return mode == 3 ? 4 : 3;
    if (column == UsedColumn(hidePathColumn)) {
        if (view == FolderView::MostUsed)
            return mode == 5 ? 6 : 5;
        return 5;
    }
    return mode;
}

SortArrow ShowSortArrowFor(int mode, bool hidePathColumn) {
    // Even modes ascend, odd modes descend.
    return ArrowColumn(mode, hidePathColumn, mode % 2 == 0 ? 1 : 2);
}

SortArrow ClearSortArrowFor(int mode, bool hidePathColumn) {
    return ArrowColumn(mode, hidePathColumn, 0);
}

int HeaderFormatForArrow(int state) {
    if (state == 1)
        return 0x5400;
    if (state == 2)
        return 0x5200;
    return 0x5000;
}

SortPlan SortPlanFor(FolderView view, int mode, bool hidePathColumn) {
    mode = NormalizeSortMode(view, mode, hidePathColumn);
    SortPlan plan;
    if (view == FolderView::LastUsed && mode == 5) {
        plan.groups = true;  // query order, newest first, inside the date groups
        return plan;
    }
    plan.sort = true;
    plan.mark = mode % 2 == 0 ? 1 : 2;
    if (mode <= 2) {
        plan.column = 0;
    } else if (mode <= 4) {
        plan.column = 1;
    } else {
        plan.column = UsedColumn(hidePathColumn);
        plan.sortType = 2;
    }
    return plan;
}

}  // namespace pw
