#include <gtest/gtest.h>

#include <map>

#include "FavoritesAddRules.h"
#include "FavoritesFormat.h"

using namespace pw;

namespace {

using Store = std::map<std::wstring, FavoritesValues>;

FavoritesSubKeyReader ReaderOf(const Store& store) {
    return [&store](const std::wstring& subKey) {
        auto found = store.find(subKey);
        return found == store.end() ? FavoritesValues{} : found->second;
    };
}

// The example of a user with two groups, one of them empty.
const wchar_t kExampleGroups[] = L"Projekte|*#|Kunden|*#|";
Store ExampleStore() {
    return {{L"Projekte", {L"Angebote|*#|Vorlagen|*#|", L"d:\\daten\\angebote|*#|d:\\daten\\vorlagen|*#|"}},
            {L"Uncategorized", {L"Temp|*#|", L"c:\\temp|*#|"}}};
}

}  // namespace

TEST(FavoritesFormat, ListsEndEveryElementWithTheSeparator) {
    EXPECT_EQ(SplitFavoritesList(L""), std::vector<std::wstring>{});
    EXPECT_EQ(SplitFavoritesList(L"a|*#||*#|b c|*#|"), (std::vector<std::wstring>{L"a", L"", L"b c"}));
    // Text after the last separator is no element; a lone bar or star is text.
    EXPECT_EQ(SplitFavoritesList(L"a|b*#|*#|rest"), (std::vector<std::wstring>{L"a|b*#"}));
    EXPECT_EQ(JoinFavoritesList({L"a|b", L"", L"c"}), L"a|b|*#||*#|c|*#|");
    EXPECT_EQ(JoinFavoritesList({}), L"");
}

TEST(FavoritesFormat, TheExampleStoreReadsAndIsWrittenBackAsItWas) {
    Store store = ExampleStore();
    FavoritesData data = ParseFavorites(kExampleGroups, ReaderOf(store));
    FavoritesData expected{
        {{L"Projekte", {{L"Angebote", L"d:\\daten\\angebote"}, {L"Vorlagen", L"d:\\daten\\vorlagen"}}},
         {L"Kunden", {}}},
        {{L"Temp", L"c:\\temp"}}};
    EXPECT_EQ(data, expected);

    FavoritesRewrite plan = PlanFavoritesRewrite(kExampleGroups, data);
    // Only the old keys not written again go, and they go last.
    EXPECT_EQ(plan.deleteSubKeys, (std::vector<std::wstring>{L"Kunden"}));
    // The built-in group first, a group without favorites gets no sub-key.
    ASSERT_EQ(plan.writeSubKeys.size(), 2u);
    EXPECT_EQ(plan.writeSubKeys[0], (FavoritesSubKeyWrite{L"Uncategorized", store[L"Uncategorized"]}));
    EXPECT_EQ(plan.writeSubKeys[1], (FavoritesSubKeyWrite{L"Projekte", store[L"Projekte"]}));
    EXPECT_EQ(plan.groupsValue, kExampleGroups);
}

TEST(FavoritesFormat, NothingStoredReadsAsNothingAndEmptiesTheStoreWhenWritten) {
    FavoritesData none = ParseFavorites(L"", ReaderOf({}));
    EXPECT_TRUE(none.groups.empty() && none.uncategorized.empty());
    FavoritesRewrite plan = PlanFavoritesRewrite(kExampleGroups, none);
    EXPECT_EQ(plan.deleteSubKeys.size(), 3u);
    EXPECT_TRUE(plan.writeSubKeys.empty());
    EXPECT_EQ(plan.groupsValue, L"");
}

// The rewrite is stored as one journal first; whatever a favorite's texts
// hold, it reads back as the same plan, and a cut-off journal as none.
TEST(FavoritesFormat, TheRewriteJournalReadsBackAsItsPlanAndACutOneAsNone) {
    FavoritesData data{{{L"Projekte", {{L"12:3:|*#|", L"d:\\100%\\x"}}}, {L"Leer", {}}}, {{L"Temp", L"c:\\temp"}}};
    // "projekte" in another case is the same key: written, so not deleted.
    FavoritesRewrite plan = PlanFavoritesRewrite(L"projekte|*#|Alt|*#|Leer|*#|", data);
    EXPECT_EQ(plan.deleteSubKeys, (std::vector<std::wstring>{L"Alt", L"Leer"}));
    std::wstring journal = FavoritesRewriteJournal(plan);
    EXPECT_EQ(ParseFavoritesRewriteJournal(journal), std::optional<FavoritesRewrite>(plan));
    for (size_t cut : {size_t{0}, size_t{1}, journal.size() / 2, journal.size() - 1})
        EXPECT_EQ(ParseFavoritesRewriteJournal(journal.substr(0, cut)), std::nullopt) << cut;
    EXPECT_EQ(ParseFavoritesRewriteJournal(journal + L"0:"), std::nullopt);
}

TEST(FavoritesFormat, MoreThanSevenStoredGroupsAreAllKept) {
    std::wstring groups;
    Store store;
    for (int i = 1; i <= 9; ++i) {
        std::wstring name = L"G" + std::to_wstring(i);
        groups += name + L"|*#|";
        store[name] = {name + L"a|*#|", L"c:\\" + name + L"|*#|"};
    }
    FavoritesData data = ParseFavorites(groups, ReaderOf(store));
    ASSERT_EQ(data.groups.size(), 9u);
    EXPECT_EQ(data.groups[8].favorites, (std::vector<Favorite>{{L"G9a", L"c:\\G9"}}));
    FavoritesRewrite plan = PlanFavoritesRewrite(groups, data);
    EXPECT_EQ(plan.groupsValue, groups);
    EXPECT_EQ(plan.writeSubKeys.size(), 9u);
}

TEST(FavoritesFormat, NamesWithoutTheirPathsAreKeptAndPairedAgainOnWriting) {
    Store store{{L"Uncategorized", {L"A|*#|B|*#|C|*#|", L"c:\\a|*#|"}}};
    FavoritesData data = ParseFavorites(L"", ReaderOf(store));
    EXPECT_EQ(data.uncategorized, (std::vector<Favorite>{{L"A", L"c:\\a"}, {L"B", L""}, {L"C", L""}}));
    FavoritesRewrite plan = PlanFavoritesRewrite(L"", data);
    ASSERT_EQ(plan.writeSubKeys.size(), 1u);
    EXPECT_EQ(plan.writeSubKeys[0].values, (FavoritesValues{L"A|*#|B|*#|C|*#|", L"c:\\a|*#||*#||*#|"}));

    // Appending to uneven lists: the new favorite keeps its own path.
    FavoritesAppend append = PlanFavoritesAppend(L"", L"(Keine)", store[L"Uncategorized"], {L"Neu", L"c:\\neu"});
    std::vector<Favorite> after = PairFavorites(append.write.values);
    ASSERT_EQ(after.size(), 4u);
    EXPECT_EQ(after[3], (Favorite{L"Neu", L"c:\\neu"}));
    // More paths than names: the spare ones belong to nobody.
    append = PlanFavoritesAppend(L"", L"Sonstige", {L"A|*#|", L"c:\\a|*#|c:\\x|*#|"}, {L"Neu", L"c:\\neu"});
    EXPECT_EQ(append.write.values, (FavoritesValues{L"A|*#|Neu|*#|", L"c:\\a|*#|c:\\neu|*#|"}));
}

TEST(FavoritesFormat, AppendingGoesToTheChosenSubKeyAndANewGroupToTheEndOfGroups) {
    FavoritesValues projekte = ExampleStore()[L"Projekte"];
    FavoritesAppend existing = PlanFavoritesAppend(kExampleGroups, L"Projekte", projekte, {L"Neu", L"e:\\neu"});
    EXPECT_FALSE(existing.newGroup);
    EXPECT_EQ(existing.groupsValue, kExampleGroups);
    EXPECT_EQ(existing.write.subKey, L"Projekte");
    EXPECT_EQ(existing.write.values.names, projekte.names + L"Neu|*#|");
    EXPECT_EQ(existing.write.values.paths, projekte.paths + L"e:\\neu|*#|");

    FavoritesAppend fresh = PlanFavoritesAppend(kExampleGroups, L"Archiv", {}, {L"Alt", L"e:\\alt"});
    EXPECT_TRUE(fresh.newGroup);
    EXPECT_EQ(fresh.groupsValue, L"Projekte|*#|Kunden|*#|Archiv|*#|");
    EXPECT_EQ(fresh.write, (FavoritesSubKeyWrite{L"Archiv", {L"Alt|*#|", L"e:\\alt|*#|"}}));

    for (const wchar_t* builtIn : {L"Sonstige", L"(Keine)"}) {
        FavoritesAppend other = PlanFavoritesAppend(L"", builtIn, {}, {L"T", L"c:\\t"});
        EXPECT_FALSE(other.newGroup);
        EXPECT_EQ(other.groupsValue, L"");
        EXPECT_EQ(other.write.subKey, L"Uncategorized");
    }
}

TEST(FavoritesFormat, GroupNamesThatWouldBreakTheStoreAreRefused) {
    const std::vector<std::wstring> others{L"Projekte", L"Kunden"};
    EXPECT_EQ(CheckGroupName(L"Archiv", others), GroupNameProblem::None);
    EXPECT_EQ(CheckGroupName(L"Projekte 2", others), GroupNameProblem::None);
    EXPECT_EQ(CheckGroupName(L"  ", others), GroupNameProblem::Empty);
    EXPECT_EQ(CheckGroupName(L"Sonstige", others), GroupNameProblem::Reserved);
    EXPECT_EQ(CheckGroupName(L"(Keine)", others), GroupNameProblem::Reserved);
    // Only the exact word is the built-in group's.
    EXPECT_EQ(CheckGroupName(L"sonstige", others), GroupNameProblem::None);
    EXPECT_EQ(CheckGroupName(L"Uncategorized", others), GroupNameProblem::StorageName);
    EXPECT_EQ(CheckGroupName(L"UNCATEGORIZED", others), GroupNameProblem::StorageName);
    EXPECT_EQ(CheckGroupName(L"Projekte", others), GroupNameProblem::Duplicate);
    EXPECT_EQ(CheckGroupName(L"KUNDEN", others), GroupNameProblem::DuplicateButCase);
    EXPECT_EQ(ClashingGroupName(L"KUNDEN", others), L"Kunden");
    EXPECT_EQ(CheckGroupName(L"Ä\\B", others), GroupNameProblem::Separator);
    EXPECT_EQ(CheckGroupName(L"A|*#|B", others), GroupNameProblem::Separator);
    EXPECT_EQ(CheckGroupName(L"A|*B#|", others), GroupNameProblem::None);
    EXPECT_EQ(CheckGroupName(std::wstring(kMaxGroupNameLength, L'g'), others), GroupNameProblem::None);
    EXPECT_EQ(CheckGroupName(std::wstring(kMaxGroupNameLength + 1, L'g'), others), GroupNameProblem::TooLong);
    EXPECT_EQ(CheckGroupName(L"Übersicht", {L"übersicht"}), GroupNameProblem::DuplicateButCase);

    EXPECT_TRUE(FavoriteNameFitsFormat(L"a|b*#"));
    EXPECT_FALSE(FavoriteNameFitsFormat(L"a|*#|b"));
}

TEST(FavoritesAddRules, TheTypedGroupIsTheBuiltInAnExistingOrANewOne) {
    const std::vector<std::wstring> groups{L"Projekte", L"Kunden"};
    for (const wchar_t* builtIn : {L"", L"   ", L"Sonstige", L"(Keine)"}) {
        GroupChoice choice = DecideGroupChoice(builtIn, groups);
        EXPECT_EQ(choice.kind, GroupChoice::Kind::BuiltIn) << builtIn;
        EXPECT_EQ(choice.group, L"Uncategorized");
    }
    EXPECT_EQ(DecideGroupChoice(L"Kunden", groups).kind, GroupChoice::Kind::Existing);
    GroupChoice fresh = DecideGroupChoice(L"Archiv", groups);
    EXPECT_EQ(fresh.kind, GroupChoice::Kind::New);
    EXPECT_EQ(fresh.group, L"Archiv");

    GroupChoice cased = DecideGroupChoice(L"kunden", groups);
    EXPECT_EQ(cased.kind, GroupChoice::Kind::Refused);
    EXPECT_EQ(cased.problem, GroupNameProblem::DuplicateButCase);
    EXPECT_FALSE(cased.limitReached);

    std::vector<std::wstring> seven{L"1", L"2", L"3", L"4", L"5", L"6", L"7"};
    GroupChoice eighth = DecideGroupChoice(L"Acht", seven);
    EXPECT_EQ(eighth.kind, GroupChoice::Kind::Refused);
    EXPECT_TRUE(eighth.limitReached);
    EXPECT_EQ(DecideGroupChoice(L"7", seven).kind, GroupChoice::Kind::Existing);
    seven.pop_back();
    EXPECT_EQ(DecideGroupChoice(L"Sieben", seven).kind, GroupChoice::Kind::New);
}

TEST(FavoritesAddRules, CompletionNeedsTheExactLetterCase) {
    const std::vector<std::wstring> entries{L"prozesse", L"Projekte", L"Sonstige"};
    EXPECT_EQ(CompleteGroupChoice(entries, L"Pro"), 1);
    EXPECT_EQ(CompleteGroupChoice(entries, L"pro"), 0);
    EXPECT_EQ(CompleteGroupChoice(entries, L"proj"), -1);
    EXPECT_EQ(CompleteGroupChoice(entries, L"S"), 2);
    EXPECT_EQ(CompleteGroupChoice(entries, L"Sonstigen"), -1);
    EXPECT_EQ(CompleteGroupChoice(entries, L""), -1);
}

TEST(FavoritesAddRules, ThePickerStartsNextToTheLastPickedFolder) {
    EXPECT_EQ(PreviousSubfolderAfterBrowse(L"c:\\"), L"c:\\");
    EXPECT_EQ(PreviousSubfolderAfterBrowse(L"c:\\daten\\alt"), L"c:\\daten");
    EXPECT_EQ(PreviousSubfolderAfterBrowse(L"c:\\daten"), L"c:\\");
    EXPECT_EQ(PreviousSubfolderAfterBrowse(L"\\\\server\\share\\x"), L"\\\\server\\share");
}
