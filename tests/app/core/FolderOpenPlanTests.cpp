#include <gtest/gtest.h>

#include "FolderOpenPlan.h"

namespace pw {
namespace {

// The option by the number it is stored as.
ExitBehavior E(int stored) {
    return static_cast<ExitBehavior>(stored);
}

// The three callers with every combination of the two options: which window
// kind opens and whether an open window is reused.
TEST(FolderOpenPlan, CallersByOptions) {
    for (bool explorerDefault : {false, true}) {
        for (bool reuse : {false, true}) {
            SCOPED_TRACE(testing::Message() << "explorer " << explorerDefault << " reuse " << reuse);
            const FolderWindowKind defaultKind = explorerDefault ? FolderWindowKind::Explorer : FolderWindowKind::Plain;
            const FolderWindowKind otherKind = explorerDefault ? FolderWindowKind::Plain : FolderWindowKind::Explorer;

            OpenRequest click = PlainClickRequest();
            EXPECT_EQ(EffectiveWindowKind(explorerDefault, click.invertOpenMode), defaultKind);
            EXPECT_EQ(ShouldLookForExistingWindow(reuse, click.invertReuse), reuse);

            // "Explorer (mit Ordnerleiste)" / its twin: the other kind, never reusing.
            OpenRequest explorer = ExplorerMenuRequest(reuse);
            EXPECT_EQ(EffectiveWindowKind(explorerDefault, explorer.invertOpenMode), otherKind);
            EXPECT_FALSE(ShouldLookForExistingWindow(reuse, explorer.invertReuse));

            OpenRequest existing = OpenExistingMenuRequest();
            EXPECT_EQ(EffectiveWindowKind(explorerDefault, existing.invertOpenMode), defaultKind);
            EXPECT_EQ(ShouldLookForExistingWindow(reuse, existing.invertReuse), !reuse);
        }
    }
}

TEST(FolderOpenPlan, KindAndReuseAreExclusiveOr) {
    EXPECT_EQ(EffectiveWindowKind(false, false), FolderWindowKind::Plain);
    EXPECT_EQ(EffectiveWindowKind(true, false), FolderWindowKind::Explorer);
    EXPECT_EQ(EffectiveWindowKind(false, true), FolderWindowKind::Explorer);
    EXPECT_EQ(EffectiveWindowKind(true, true), FolderWindowKind::Plain);
    EXPECT_FALSE(ShouldLookForExistingWindow(false, false));
    EXPECT_TRUE(ShouldLookForExistingWindow(true, false));
    EXPECT_TRUE(ShouldLookForExistingWindow(false, true));
    EXPECT_FALSE(ShouldLookForExistingWindow(true, true));
}

TEST(FolderOpenPlan, FolderViewTypeNames) {
    EXPECT_TRUE(IsFolderViewTypeName(L"IShellFolderViewDual"));
    EXPECT_TRUE(IsFolderViewTypeName(L"IShellFolderViewDual2"));
    EXPECT_TRUE(IsFolderViewTypeName(L"IShellFolderViewDual3"));
    EXPECT_FALSE(IsFolderViewTypeName(L"DispHTMLDocument"));
    EXPECT_FALSE(IsFolderViewTypeName(L"IShellFolderView"));
    EXPECT_FALSE(IsFolderViewTypeName(L"ishellfolderviewdual2"));
    EXPECT_FALSE(IsFolderViewTypeName(L"XIShellFolderViewDual2"));
    EXPECT_FALSE(IsFolderViewTypeName(L""));
}

constexpr FolderWindowState kFolder{true, false};
constexpr FolderWindowState kMinimizedFolder{true, true};
constexpr FolderWindowState kWebPage{false, false};
constexpr FolderWindowState kMinimizedWebPage{false, true};

TEST(ChooseFolderWindow, FirstNormalFolderWindowWins) {
    FolderWindowChoice choice = ChooseFolderWindow({kWebPage, kMinimizedFolder, kFolder, kFolder});
    EXPECT_EQ(choice.index, 2);
    EXPECT_FALSE(choice.restore);

    choice = ChooseFolderWindow({kFolder, kMinimizedFolder});
    EXPECT_EQ(choice.index, 0);
    EXPECT_FALSE(choice.restore);
}

TEST(ChooseFolderWindow, OnlyMinimizedFolderWindowsRestoreTheFirst) {
    FolderWindowChoice choice = ChooseFolderWindow({kWebPage, kMinimizedWebPage, kMinimizedFolder, kMinimizedFolder});
    EXPECT_EQ(choice.index, 2);
    EXPECT_TRUE(choice.restore);
}

TEST(ChooseFolderWindow, WebPagesAndNothingAtAllGiveNoChoice) {
    EXPECT_FALSE(ChooseFolderWindow({}).Found());
    FolderWindowChoice choice = ChooseFolderWindow({kWebPage, kMinimizedWebPage, kWebPage});
    EXPECT_FALSE(choice.Found());
    EXPECT_FALSE(choice.restore);
}

// ExitBehavior 1 to 5, for a new window and for a reused one.
TEST(FolderOpenPlan, AfterOpeningByExitBehavior) {
    struct Row {
        int exitBehavior;
        bool topmost, watch, minimize, hideAndUnload, clearOpened;
    };
    const Row rows[] = {
        {1, true, true, false, false, false},   {2, true, true, false, false, false},
        {3, false, false, false, false, false}, {4, false, false, true, false, true},
        {5, false, false, false, true, false},  {0, false, false, false, false, false},
        {6, false, false, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.exitBehavior);
        EXPECT_EQ(HoldTopmostWhileOpening(E(row.exitBehavior)), row.topmost);
        AfterOpenPlan plan = PlanAfterOpen(E(row.exitBehavior), false);
        EXPECT_EQ(plan.watchMouseLeave, row.watch);
        EXPECT_EQ(plan.minimize, row.minimize);
        EXPECT_EQ(plan.hideAndUnload, row.hideAndUnload);
        EXPECT_EQ(plan.clearFolderOpened, row.clearOpened);

        // A reused window: the watch, whatever the option, and nothing at once.
        AfterOpenPlan reused = PlanAfterOpen(E(row.exitBehavior), true);
        EXPECT_TRUE(reused.watchMouseLeave);
        EXPECT_FALSE(reused.minimize);
        EXPECT_FALSE(reused.hideAndUnload);
        EXPECT_FALSE(reused.clearFolderOpened);
    }
}

TEST(FolderOpenPlan, MouseLeaveUnloadsOnlyForOneAndPropertiesFollowTheOption) {
    EXPECT_EQ(MouseLeaveActionFor(E(1)), MouseLeaveAction::Unload);
    for (int value : {2, 3, 4, 5})
        EXPECT_EQ(MouseLeaveActionFor(E(value)), MouseLeaveAction::Minimize) << value;

    EXPECT_EQ(PlanAfterProperties(E(1)), AfterProperties::UnloadAfterMenu);
    EXPECT_EQ(PlanAfterProperties(E(2)), AfterProperties::Minimize);
    EXPECT_EQ(PlanAfterProperties(E(3)), AfterProperties::Stay);
    EXPECT_EQ(PlanAfterProperties(E(4)), AfterProperties::Minimize);
    EXPECT_EQ(PlanAfterProperties(E(5)), AfterProperties::UnloadAfterMenu);
    EXPECT_EQ(PlanAfterProperties(E(0)), AfterProperties::Stay);
}

}  // namespace
}  // namespace pw
