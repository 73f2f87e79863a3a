#include <gtest/gtest.h>

#include "FolderListSort.h"

using namespace pw;

namespace {
// The modes by the numbers they are stored as.
SortMode M(int stored) {
    return static_cast<SortMode>(stored);
}
}  // namespace

TEST(FolderListSort, ClickingOrdnerTogglesDescendingAndAscending) {
    for (FolderView view : {FolderView::LastUsed, FolderView::MostUsed}) {
        SortMode mode = M(5);
        mode = SortModeAfterColumnClick(view, mode, 0, false);
        EXPECT_EQ(mode, M(1));
        mode = SortModeAfterColumnClick(view, mode, 0, false);
        EXPECT_EQ(mode, M(2));
        mode = SortModeAfterColumnClick(view, mode, 0, false);
        EXPECT_EQ(mode, M(1));
        EXPECT_EQ(SortModeAfterColumnClick(view, M(4), 0, true), M(1));
    }
}

TEST(FolderListSort, ClickingPfadTogglesWhileTheColumnIsShown) {
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::LastUsed, M(1), 1, false), M(3));
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::LastUsed, M(3), 1, false), M(4));
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::MostUsed, M(4), 1, false), M(3));
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::MostUsed, M(6), 1, false), M(3));
}

TEST(FolderListSort, ClickingVerwendet) {
    // Last used: always back to the date groups.
    for (int mode = 1; mode <= 5; ++mode) {
        EXPECT_EQ(SortModeAfterColumnClick(FolderView::LastUsed, M(mode), 2, false), M(5));
        EXPECT_EQ(SortModeAfterColumnClick(FolderView::LastUsed, M(mode), 1, true), M(5));
    }
    // Most used: toggles 5 and 6, in column 2 or, without the path column, 1.
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::MostUsed, M(5), 2, false), M(6));
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::MostUsed, M(6), 2, false), M(5));
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::MostUsed, M(1), 2, false), M(5));
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::MostUsed, M(5), 1, true), M(6));
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::MostUsed, M(6), 1, true), M(5));
    // There is no third column without the path column.
    EXPECT_EQ(SortModeAfterColumnClick(FolderView::MostUsed, M(6), 2, true), M(6));
}

TEST(FolderListSort, StoredModesAreMadeUsable) {
    EXPECT_EQ(NormalizeSortMode(FolderView::LastUsed, 6, false), M(5));  // no ascending dates there
    EXPECT_EQ(NormalizeSortMode(FolderView::MostUsed, 6, false), M(6));
    EXPECT_EQ(NormalizeSortMode(FolderView::MostUsed, 0, false), M(5));
    EXPECT_EQ(NormalizeSortMode(FolderView::LastUsed, 99, false), M(5));
    for (FolderView view : {FolderView::LastUsed, FolderView::MostUsed}) {
        EXPECT_EQ(NormalizeSortMode(view, 3, true), M(5));
        EXPECT_EQ(NormalizeSortMode(view, 4, true), M(5));
        EXPECT_EQ(NormalizeSortMode(view, 3, false), M(3));
        EXPECT_EQ(NormalizeSortMode(view, 2, true), M(2));
    }
}

TEST(FolderListSort, ArrowsPerMode) {
    struct Case {
        int mode;
        bool hidePath;
        int column, state;
    } cases[] = {
        {1, false, 0, 2}, {2, false, 0, 1}, {3, false, 1, 2}, {4, false, 1, 1},
        {5, false, 2, 2}, {6, false, 2, 1}, {5, true, 1, 2},  {6, true, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SortArrow shown = ShowSortArrowFor(M(c.mode), c.hidePath);
        EXPECT_EQ(shown.column, c.column);
        EXPECT_EQ(shown.state, c.state);
        SortArrow cleared = ClearSortArrowFor(M(c.mode), c.hidePath);
        EXPECT_EQ(cleared.column, c.column);
        EXPECT_EQ(cleared.state, 0);
    }
    EXPECT_EQ(HeaderFormatForArrow(0), 0x5000);
    EXPECT_EQ(HeaderFormatForArrow(1), 0x5400);
    EXPECT_EQ(HeaderFormatForArrow(2), 0x5200);
}

TEST(FolderListSort, PlanAfterAFill) {
    SortPlan grouped = SortPlanFor(FolderView::LastUsed, M(5), false);
    EXPECT_TRUE(grouped.groups);
    EXPECT_FALSE(grouped.sort);
    EXPECT_EQ(grouped.column, -1);

    SortPlan byName = SortPlanFor(FolderView::LastUsed, M(1), false);
    EXPECT_FALSE(byName.groups);
    EXPECT_TRUE(byName.sort);
    EXPECT_EQ(byName.column, 0);
    EXPECT_EQ(byName.mark, 2);

    SortPlan byPath = SortPlanFor(FolderView::MostUsed, M(4), false);
    EXPECT_FALSE(byPath.groups);
    EXPECT_EQ(byPath.column, 1);
    EXPECT_EQ(byPath.mark, 1);
    EXPECT_EQ(byPath.sortType, 0);

    SortPlan byCount = SortPlanFor(FolderView::MostUsed, M(5), true);
    EXPECT_FALSE(byCount.groups);
    EXPECT_TRUE(byCount.sort);
    EXPECT_EQ(byCount.column, 1);
    EXPECT_EQ(byCount.mark, 2);
    EXPECT_EQ(byCount.sortType, 2);
    EXPECT_EQ(SortPlanFor(FolderView::MostUsed, M(6), false).column, 2);
    EXPECT_EQ(SortPlanFor(FolderView::MostUsed, M(6), false).mark, 1);

    // A path sort without the path column falls back to the default.
    EXPECT_TRUE(SortPlanFor(FolderView::LastUsed, M(3), true).groups);
    EXPECT_EQ(SortPlanFor(FolderView::MostUsed, M(3), true).column, 1);
    EXPECT_EQ(SortPlanFor(FolderView::MostUsed, M(3), true).sortType, 2);
}
