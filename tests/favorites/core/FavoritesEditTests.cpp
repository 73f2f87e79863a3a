#include <gtest/gtest.h>

#include "FavoritesEdit.h"

using namespace pw;
using Row = cFavoritesEdit::Row;

namespace {

FavoritesData Example() {
    return {{{L"Projekte", {{L"Angebote", L"d:\\angebote"}, {L"Vorlagen", L"d:\\vorlagen"}}}, {L"Kunden", {}}},
            {{L"Temp", L"c:\\temp"}}};
}

// The rows as "group:name" texts, "group:-" for a placeholder.
std::vector<std::wstring> Shown(const cFavoritesEdit& edit) {
    std::vector<std::wstring> shown;
    for (const Row& row : edit.Rows()) {
        shown.push_back(row.group + L":" + (row.Placeholder() ? std::wstring(L"-") : edit.Find(row.id)->name));
    }
    return shown;
}

long IdOf(const cFavoritesEdit& edit, const std::wstring& name) {
    for (const auto& entry : edit.Entries()) {
        if (entry.name == name)
            return entry.id;
    }
    return 0;
}

Row RowOf(const cFavoritesEdit& edit, const std::wstring& name) {
    long id = IdOf(edit, name);
    return {id, edit.Find(id)->group};
}

}  // namespace

TEST(FavoritesEdit, RowsShowGroupsInOrderWithPlaceholdersAndSonstigeLast) {
    cFavoritesEdit edit;
    int icons = 0;
    edit.Load(Example(), [&](const std::wstring&) { return ++icons; });
    EXPECT_EQ(Shown(edit), (std::vector<std::wstring>{L"Projekte:Angebote", L"Projekte:Vorlagen", L"Kunden:-",
                                                      L"Uncategorized:Temp"}));
    EXPECT_EQ(edit.Find(IdOf(edit, L"Temp"))->icon, 3);
    EXPECT_TRUE(edit.GroupsShown());
    EXPECT_EQ(edit.Result(), Example());
}

TEST(FavoritesEdit, TheLastFavoriteOfAGroupLeavesItsPlaceholderAndANewOneTakesItsPlace) {
    cFavoritesEdit edit;
    edit.Load(Example(), nullptr);
    edit.Remove(IdOf(edit, L"Angebote"));
    edit.Remove(IdOf(edit, L"Vorlagen"));
    EXPECT_EQ(Shown(edit), (std::vector<std::wstring>{L"Projekte:-", L"Kunden:-", L"Uncategorized:Temp"}));
    edit.Add(L"Neu", L"e:\\neu", L"Kunden", 5);
    EXPECT_EQ(Shown(edit), (std::vector<std::wstring>{L"Projekte:-", L"Kunden:Neu", L"Uncategorized:Temp"}));
    // A favorite dropped on the placeholder fills that group.
    edit.InsertAt(L"Drop", L"e:\\drop", 1, Row{0, L"Projekte"}, false);
    EXPECT_EQ(Shown(edit), (std::vector<std::wstring>{L"Projekte:Drop", L"Kunden:Neu", L"Uncategorized:Temp"}));
}

TEST(FavoritesEdit, RemovingAGroupMovesItsFavoritesToSonstige) {
    cFavoritesEdit edit;
    edit.Load(Example(), nullptr);
    edit.RemoveGroup(0);
    EXPECT_EQ(edit.Groups(), std::vector<std::wstring>{L"Kunden"});
    // They were added before Temp and stay before it.
    EXPECT_EQ(Shown(edit), (std::vector<std::wstring>{L"Kunden:-", L"Uncategorized:Angebote", L"Uncategorized:Vorlagen",
                                                      L"Uncategorized:Temp"}));
    edit.RemoveGroup(0);
    EXPECT_FALSE(edit.GroupsShown());
    EXPECT_EQ(edit.Rows().size(), 3u);
}

TEST(FavoritesEdit, DraggingMovesBeforeOrAfterTheTargetAndIntoItsGroup) {
    cFavoritesEdit edit;
    edit.Load(Example(), nullptr);
    long temp = IdOf(edit, L"Temp");
    EXPECT_EQ(edit.MoveTo(temp, RowOf(edit, L"Angebote"), true), temp);
    EXPECT_EQ(Shown(edit),
              (std::vector<std::wstring>{L"Projekte:Angebote", L"Projekte:Temp", L"Projekte:Vorlagen", L"Kunden:-"}));
    // Onto itself: nothing.
    EXPECT_EQ(edit.MoveTo(temp, RowOf(edit, L"Temp"), false), 0);
    // Onto the placeholder of an empty group.
    edit.MoveTo(IdOf(edit, L"Angebote"), Row{0, L"Kunden"}, false);
    EXPECT_EQ(Shown(edit), (std::vector<std::wstring>{L"Projekte:Temp", L"Projekte:Vorlagen", L"Kunden:Angebote"}));
    edit.MoveTo(IdOf(edit, L"Vorlagen"), RowOf(edit, L"Temp"), false);
    EXPECT_EQ(Shown(edit), (std::vector<std::wstring>{L"Projekte:Vorlagen", L"Projekte:Temp", L"Kunden:Angebote"}));
    // A moved favorite keeps what it was.
    EXPECT_EQ(edit.Find(temp)->path, L"c:\\temp");
}

TEST(FavoritesEdit, TheRewriteFollowsReorderRenameRemoveAndMove) {
    cFavoritesEdit edit;
    edit.Load(Example(), nullptr);
    edit.AddGroup(L"Archiv");
    EXPECT_TRUE(edit.MoveGroup(2, -1));
    EXPECT_FALSE(edit.MoveGroup(0, -1));
    EXPECT_FALSE(edit.MoveGroup(2, +1));
    edit.RenameGroup(0, L"Aufträge");
    edit.Rename(IdOf(edit, L"Vorlagen"), L"Muster");
    edit.Change(IdOf(edit, L"Temp"), L"Temp", L"c:\\tmp", L"Archiv", 2);
    edit.Remove(IdOf(edit, L"Angebote"));
    edit.InsertAt(L"Neu", L"e:\\neu", 1, RowOf(edit, L"Muster"), false);
    FavoritesData expected{{{L"Aufträge", {{L"Neu", L"e:\\neu"}, {L"Muster", L"d:\\vorlagen"}}},
                            {L"Archiv", {{L"Temp", L"c:\\tmp"}}},
                            {L"Kunden", {}}},
                           {}};
    EXPECT_EQ(edit.Result(), expected);
}

TEST(FavoritesEdit, GroupNamesAreCheckedAgainstTheOtherGroups) {
    cFavoritesEdit edit;
    edit.Load(Example(), nullptr);
    EXPECT_EQ(edit.CheckGroupName(L"Kunden"), GroupNameProblem::Duplicate);
    EXPECT_EQ(edit.CheckGroupName(L"Kunden", 1), GroupNameProblem::None);  // its own name again
    EXPECT_EQ(edit.CheckGroupName(L"kunden", 1), GroupNameProblem::None);  // only its case changes
    EXPECT_EQ(edit.CheckGroupName(L"kunden", 0), GroupNameProblem::DuplicateButCase);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(edit.CanAddGroup());
        edit.AddGroup(L"G" + std::to_wstring(i));
    }
    EXPECT_FALSE(edit.CanAddGroup());
}
