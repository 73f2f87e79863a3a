// The favorites in the main window: the favorites tab as the store says, the
// context menu's "Zu Ordnerfavoriten hinzufügen..." and the link that opens
// the manager. Against the registry of the scratch prefix and a scratch
// history; nothing of a real user is touched.
#include <windows.h>

#include <commctrl.h>

#include "Database.h"
#include "FavoritesTestSupport.h"
#include "MainControls.h"
#include "favorites_res.h"

namespace pw::test {
namespace {

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

class FavoritesTab : public cMainWindowTest {
  protected:
    FavoritesTab() : cMainWindowTest(ScratchFolder(L"PfadwerkFavoritesTabHistory")) {}
    void SetUp() override {
        cMainWindowTest::SetUp();
        Store(Setting::ExitBehavior, 3);
        angebote_ = folders_.Make(L"angebote");
        temp_ = folders_.Make(L"temp");
    }
    frmMain& Load(FolderView view) {
        Store(Setting::ListTypeActive, static_cast<DWORD>(view));
        return Start(TestSetup(true, database_));
    }
    const cListView& List() const { return form_->FolderList().View(); }
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        for (int i : List().DisplayOrder())
            names.push_back(List().ItemText(i));
        return names;
    }
    std::vector<std::wstring> Headers() const {
        std::vector<std::wstring> headers;
        for (const std::wstring& key : List().GroupKeys())
            headers.push_back(List().GroupHeader(key));
        return headers;
    }
    bool PaneShown() const { return IsWindowVisible(Control(*form_, ctl::picMessagePane)) != FALSE; }

    cScratchFolders folders_{L"PfadwerkFavoritesTabTests"};
    std::wstring angebote_, temp_;
};

TEST_F(FavoritesTab, ShowsTheGroupsInStoredOrderWithSonstigeLast) {
    StoreText(L"", L"Groups", L"Projekte|*#|Kunden|*#|");
    StoreText(L"Projekte", L"Favorites", L"Angebote|*#|Vorlagen|*#|");
    StoreText(L"Projekte", L"FavoritesPaths", angebote_ + L"|*#|" + folders_.Root() + L"\\vorlagen|*#|");
    StoreText(L"Uncategorized", L"Favorites", L"Temp|*#|Server|*#|");
    StoreText(L"Uncategorized", L"FavoritesPaths", temp_ + L"|*#|\\\\server\\share\\ordner|*#|");
    Load(FolderView::Favorites);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Angebote", L"Vorlagen", L"Temp", L"Server"}));
    EXPECT_EQ(Headers(), (std::vector<std::wstring>{L"Projekte", L"Kunden", L"Sonstige"}));
    EXPECT_TRUE(List().GroupsEnabled());
    EXPECT_EQ(List().ItemGroup(0), List().GroupKeys()[0]);
    EXPECT_EQ(List().ItemGroup(2), List().GroupKeys()[2]);
    EXPECT_EQ(List().ItemKey(0), L"itmx1");
    EXPECT_EQ(List().ItemKey(3), L"itmx4");
    EXPECT_EQ(List().SubItemText(1, 1), folders_.Root() + L"\\vorlagen");
    // A network folder gets the generic picture; a missing one is listed all the same.
    EXPECT_EQ(List().ItemIcon(3), 0);
    EXPECT_GT(List().ItemIcon(0), 0);
    EXPECT_EQ(List().ColumnCount(), 2);
    EXPECT_FALSE(PaneShown());
    EXPECT_EQ(form_->FolderList().RowOf(2)->path, temp_);
}

TEST_F(FavoritesTab, WithoutGroupsAFlatListAndWithoutFavoritesThePane) {
    StoreText(L"Uncategorized", L"Favorites", L"Temp|*#|");
    StoreText(L"Uncategorized", L"FavoritesPaths", temp_ + L"|*#|");
    Load(FolderView::Favorites);
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"Temp"});
    EXPECT_FALSE(List().GroupsEnabled());
    form_.reset();

    RegDeleteTreeW(HKEY_CURRENT_USER, FavoritesKey().c_str());
    Load(FolderView::Favorites);
    EXPECT_EQ(List().ItemCount(), 0);
    EXPECT_TRUE(PaneShown());
    EXPECT_EQ(TextOf(Control(*form_, ctl::lblMessageHeader)), L"Ordnerfavoriten festlegen");
}

TEST_F(FavoritesTab, AHistoryEntryIsAddedThroughTheContextMenu) {
    {
        cDatabase db;
        ASSERT_TRUE(db.Open(database_));
        ASSERT_TRUE(db.AppendVisit(angebote_, L"Angebote"));
    }
    StoreText(L"", L"Groups", L"Projekte|*#|");
    frmMain& form = Load(FolderView::LastUsed);
    ASSERT_EQ(List().ItemCount(), 1);
    // The right click makes the entry the one the menu acts on.
    SetTimer(nullptr, 0, 300, &CloseMenu);
    NMITEMACTIVATE note{};
    note.hdr.hwndFrom = form.FolderList().ListHwnd();
    note.hdr.code = NM_RCLICK;
    note.iItem = 0;
    SendMessageW(form.FolderList().Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
    {
        cModalScript script({[](HWND dialog) {
            if (TextOf(dialog) != L"Zu Ordnerfavoriten hinzufügen")
                return false;
            SetDlgItemTextW(dialog, IDC_FAVADD_GROUPS, L"Neu");
            Press(dialog, IDOK);
            return true;
        }});
        SendMessageW(form.Hwnd(), WM_COMMAND, cmd::mnuPopUpFolderAddToFavorites, 0);
    }
    EXPECT_EQ(Stored(L"", L"Groups"), L"Projekte|*#|Neu|*#|");
    EXPECT_EQ(Stored(L"Neu", L"Favorites"), L"Angebote|*#|");
    EXPECT_EQ(Stored(L"Neu", L"FavoritesPaths"), angebote_ + L"|*#|");
}

TEST_F(FavoritesTab, TheLinkOpensTheManagerAndTheTabShowsTheStoreAfterwards) {
    frmMain& form = Load(FolderView::Favorites);
    ASSERT_TRUE(PaneShown());
    {
        cModalScript script({[&](HWND dialog) {
            if (TextOf(dialog) != L"Ordnerfavoriten verwalten")
                return false;
            // Stored meanwhile by someone else; the manager closes without writing.
            StoreText(L"Uncategorized", L"Favorites", L"Temp|*#|");
            StoreText(L"Uncategorized", L"FavoritesPaths", temp_ + L"|*#|");
            Press(dialog, IDCANCEL);
            return true;
        }});
        SendMessageW(Control(form, ctl::picManageFavoritesHost), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"Temp"});
    EXPECT_FALSE(PaneShown());
}

TEST(FavoritesStore, TheExampleKeyIsReadAndWrittenBackByteForByte) {
    ForgetUser();
    StoreText(L"", L"Groups", L"Projekte|*#|Kunden|*#|");
    StoreText(L"Projekte", L"Favorites", L"Angebote|*#|Vorlagen|*#|");
    StoreText(L"Projekte", L"FavoritesPaths", L"d:\\daten\\angebote|*#|d:\\daten\\vorlagen|*#|");
    StoreText(L"Uncategorized", L"Favorites", L"Temp|*#|");
    StoreText(L"Uncategorized", L"FavoritesPaths", L"c:\\temp|*#|");
    const StoreSnapshot before = Snapshot();
    FavoritesData data = ReadFavorites();
    ASSERT_EQ(data.groups.size(), 2u);
    EXPECT_EQ(data.groups[0].favorites[1], (Favorite{L"Vorlagen", L"d:\\daten\\vorlagen"}));
    EXPECT_TRUE(data.groups[1].favorites.empty());
    RewriteFavorites(data);
    EXPECT_EQ(Snapshot(), before);
    ForgetUser();
}

}  // namespace
}  // namespace pw::test
