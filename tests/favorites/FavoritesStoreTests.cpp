// What the store keeps of the favorites' texts, and a rewrite ended at any
// moment: the favorites read afterwards are the old ones or the new ones.
#include "FavoritesTestSupport.h"
#include "FolderActions.h"

namespace pw::test {
namespace {

class FavoritesStoreWrites : public ::testing::Test {
  protected:
    void SetUp() override { ForgetUser(); }
    void TearDown() override { ForgetUser(); }
};

// A path naming a variable follows it; a display name or a group name with
// "%" in it is text and reads back as it was written.
TEST_F(FavoritesStoreWrites, APathFollowsItsVariableANameStaysAsWritten) {
    wchar_t profile[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH), 0u);
    AppendFavorite(L"%USERPROFILE%", {L"%USERPROFILE% zu 100%", L"%USERPROFILE%"});

    EXPECT_EQ(ReadRaw(FavoritesKey(), L"Groups").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadRaw(FavoritesKey() + L"\\%USERPROFILE%", L"Favorites").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadRaw(FavoritesKey() + L"\\%USERPROFILE%", L"FavoritesPaths").type, static_cast<DWORD>(REG_EXPAND_SZ));
    FavoritesData data = ReadFavorites();
    ASSERT_EQ(data.groups.size(), 1u);
    EXPECT_EQ(data.groups[0].name, L"%USERPROFILE%");
    ASSERT_EQ(data.groups[0].favorites.size(), 1u);
    EXPECT_EQ(data.groups[0].favorites[0], (Favorite{L"%USERPROFILE% zu 100%", profile}));
    // It opens the user's own folder.
    EXPECT_TRUE(IsOpenableFolder(data.groups[0].favorites[0].path));
    EXPECT_EQ(TargetOf(data.groups[0].favorites[0].path), PathTarget::Folder);
}

// The longest group name the writers take is one the registry holds.
TEST_F(FavoritesStoreWrites, AGroupNamedAsLongAsAKeyNameCanBeIsKept) {
    const std::wstring longest(kMaxGroupNameLength, L'g');
    AppendFavorite(longest, {L"Temp", L"c:\\temp"});
    EXPECT_EQ(ReadFavorites(), (FavoritesData{{{longest, {{L"Temp", L"c:\\temp"}}}}, {}}));
}

// The manager's OK ended by a crash or a log-off after its journal was
// stored: the next reading finishes it, whichever step was the last.
TEST_F(FavoritesStoreWrites, ARewriteEndedHalfWayIsFinishedByTheNextReading) {
    auto storeOld = [] {
        ForgetUser();
        StoreText(L"", L"Groups", L"Projekte|*#|Kunden|*#|");
        StoreText(L"Projekte", L"Favorites", L"Angebote|*#|Vorlagen|*#|");
        StoreText(L"Projekte", L"FavoritesPaths", L"d:\\angebote|*#|d:\\vorlagen|*#|");
        StoreText(L"Kunden", L"Favorites", L"Meier|*#|");
        StoreText(L"Kunden", L"FavoritesPaths", L"d:\\meier|*#|");
    };
    // Kunden's favorite moves to a new group, Projekte loses one.
    const FavoritesData wanted{{{L"Projekte", {{L"Vorlagen", L"d:\\vorlagen"}}}, {L"Neu", {{L"Meier", L"d:\\meier"}}}},
                               {}};
    storeOld();
    const FavoritesData old = ReadFavorites();
    RewriteFavorites(wanted);
    const StoreSnapshot finished = Snapshot();
    ASSERT_EQ(ReadFavorites(), wanted);

    const FavoritesRewrite plan = PlanFavoritesRewrite(L"Projekte|*#|Kunden|*#|", wanted);
    const std::wstring journal = FavoritesRewriteJournal(plan);
    // The moments after the journal: nothing else yet, one value of a
    // sub-key, every sub-key, and "Groups" with the old keys still there.
    for (int moment = 0; moment < 4; ++moment) {
        SCOPED_TRACE(moment);
        storeOld();
        StoreText(L"", kRewriteJournalValueName, journal);
        if (moment >= 1)
            StoreText(L"Neu", L"FavoritesPaths", L"d:\\meier|*#|");
        if (moment >= 2) {
            StoreText(L"Neu", L"Favorites", L"Meier|*#|");
            StoreText(L"Projekte", L"FavoritesPaths", L"d:\\vorlagen|*#|");
            StoreText(L"Projekte", L"Favorites", L"Vorlagen|*#|");
        }
        if (moment >= 3)
            StoreText(L"", L"Groups", plan.groupsValue);
        EXPECT_EQ(ReadFavorites(), wanted);
        EXPECT_EQ(Snapshot(), finished);
    }
    // Before the journal was complete nothing had changed; a journal that is
    // not one is dropped and the favorites stay as they are.
    storeOld();
    StoreText(L"", kRewriteJournalValueName, journal.substr(0, journal.size() - 3));
    EXPECT_EQ(ReadFavorites(), old);
    EXPECT_EQ(Stored(L"", kRewriteJournalValueName), L"<missing>");
}

}  // namespace
}  // namespace pw::test
