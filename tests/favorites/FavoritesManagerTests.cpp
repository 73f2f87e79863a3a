// The favorites manager over a scratch store: what it shows, what OK writes
// after the user's edits, that Cancel writes nothing, drops from Explorer
// through its real drop target, and the names and limits it refuses.
#include <windows.h>

#include <commctrl.h>

#include "FavoritesTestSupport.h"
#include "favorites_res.h"
#include "frmFavoritesManager.h"

namespace pw::test {
namespace {

class FavoritesManager : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetUser();
        ole_.emplace();
        angebote_ = folders_.Make(L"angebote");
        vorlagen_ = folders_.Make(L"vorlagen");
        temp_ = folders_.Make(L"temp");
    }
    void TearDown() override {
        manager_.reset();
        ForgetUser();
        ole_.reset();
    }
    // The example of a user with two groups, one of them empty.
    void StoreExample() {
        StoreText(L"", L"Groups", L"Projekte|*#|Kunden|*#|");
        StoreText(L"Projekte", L"Favorites", L"Angebote|*#|Vorlagen|*#|");
        StoreText(L"Projekte", L"FavoritesPaths", angebote_ + L"|*#|" + vorlagen_ + L"|*#|");
        StoreText(L"Uncategorized", L"Favorites", L"Temp|*#|");
        StoreText(L"Uncategorized", L"FavoritesPaths", temp_ + L"|*#|");
    }
    frmFavoritesManager& Open() {
        manager_ = std::make_unique<frmFavoritesManager>(&presenter_);
        EXPECT_TRUE(manager_->CreateModeless(nullptr, IDD_FAVORITES_MANAGER));
        ShowWindow(manager_->Hwnd(), SW_SHOW);
        Pump(50);
        return *manager_;
    }
    void Command(int id) {
        SendMessageW(manager_->Hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        Pump(30);
    }
    HWND List() const { return manager_->Favorites().hWndListView(); }
    // The list as shown: "name | path" per entry.
    std::vector<std::wstring> Shown() const {
        std::vector<std::wstring> shown;
        const cListView& list = manager_->Favorites();
        for (int i = 0; i < list.ItemCount(); ++i)
            shown.push_back(list.ItemText(i) + L" | " + list.SubItemText(i, 1));
        return shown;
    }
    int Row(const std::wstring& name) const {
        const cListView& list = manager_->Favorites();
        for (int i = 0; i < list.ItemCount(); ++i) {
            if (list.ItemText(i) == name)
                return i;
        }
        return -1;
    }
    RECT RowRect(int index) const {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageW(List(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void Select(HWND list, int index) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
    }
    // Drags an entry with the mouse to the height y of the list and lets it
    // go there; the line showed where it would go.
    void Drag(int from, int y, int markerY) {
        NMLISTVIEW note{};
        note.hdr.hwndFrom = List();
        note.hdr.code = LVN_BEGINDRAG;
        note.iItem = from;
        SendMessageW(manager_->Favorites().hWnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
        LPARAM at = MAKELPARAM(30, y);
        SendMessageW(List(), WM_MOUSEMOVE, MK_LBUTTON, at);
        EXPECT_EQ(manager_->MarkerY(), std::optional<int>(markerY));
        SendMessageW(List(), WM_LBUTTONUP, 0, at);
        Pump(30);
    }
    // An in-place edit of the list's selected entry, ended with Enter.
    void EditLabel(HWND list, const std::wstring& text) {
        HWND edit = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETEDITCONTROL, 0, 0));
        ASSERT_NE(edit, nullptr);
        SetWindowTextW(edit, text.c_str());
        SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
        Pump(30);
    }
    void RenameGroup(int index, const std::wstring& name) {
        Select(manager_->GroupList().hWndListView(), index);
        Command(IDC_FAVMAN_GROUP_MODIFY);
        EditLabel(manager_->GroupList().hWndListView(), name);
    }

    cScratchFolders folders_{L"PfadwerkFavoritesManagerTests"};
    cRecordingPresenter presenter_;
    std::optional<cOleInit> ole_;  // the dialog takes drops from Explorer
    std::unique_ptr<frmFavoritesManager> manager_;
    std::wstring angebote_, vorlagen_, temp_;
};

const wchar_t kPlaceholder[] = L"(Doppelklicken für neuen Ordnerfavoriten in dieser Gruppe)";

TEST_F(FavoritesManager, ShowsTheGroupsInOrderWithAPlaceholderForTheEmptyOneAndSonstigeLast) {
    StoreExample();
    frmFavoritesManager& manager = Open();
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"Angebote | " + angebote_, L"Vorlagen | " + vorlagen_,
                                                  L" | " + std::wstring(kPlaceholder), L"Temp | " + temp_}));
    const cListView& list = manager.Favorites();
    EXPECT_TRUE(list.GroupsEnabled());
    std::vector<std::wstring> headers;
    for (const std::wstring& key : list.GroupKeys())
        headers.push_back(list.GroupHeader(key));
    EXPECT_EQ(headers, (std::vector<std::wstring>{L"Projekte", L"Kunden", L"Sonstige"}));
    EXPECT_EQ(list.ItemGroup(2), list.GroupKeys()[1]);
    EXPECT_EQ(manager.GroupList().ItemText(1), L"Kunden");
    // Real folders have icons of their own; image 0 is kept for network paths.
    EXPECT_GT(list.ItemIcon(0), 1);
}

TEST_F(FavoritesManager, OkWritesExactlyWhatTheEditsLeft) {
    StoreExample();
    frmFavoritesManager& manager = Open();
    // Temp dropped on the lower half of Vorlagen: into "Projekte", before it.
    RECT vorlagen = RowRect(Row(L"Vorlagen"));
    Drag(Row(L"Temp"), vorlagen.bottom - 3, vorlagen.top);
    ASSERT_EQ(Row(L"Temp"), Row(L"Vorlagen") - 1);
    // Vorlagen renamed in place.
    Select(List(), Row(L"Vorlagen"));
    SendMessageW(List(), WM_KEYDOWN, VK_F2, 1);
    EditLabel(List(), L"Muster");
    // Angebote removed with Del.
    Select(List(), Row(L"Angebote"));
    SendMessageW(List(), WM_KEYDOWN, VK_DELETE, 1);
    Pump(30);
    // "Kunden" renamed and moved up.
    Command(IDC_FAVMAN_EXPAND);
    RenameGroup(1, L"Kundschaft");
    Select(manager.GroupList().hWndListView(), 1);
    Command(IDC_FAVMAN_GROUP_UP);
    ASSERT_TRUE(presenter_.texts.empty());

    Command(IDOK);
    EXPECT_EQ(manager.Result(), IDOK);
    EXPECT_EQ(Stored(L"", L"Groups"), L"Kundschaft|*#|Projekte|*#|");
    EXPECT_EQ(Stored(L"Projekte", L"Favorites"), L"Temp|*#|Muster|*#|");
    EXPECT_EQ(Stored(L"Projekte", L"FavoritesPaths"), temp_ + L"|*#|" + vorlagen_ + L"|*#|");
    EXPECT_FALSE(KeyPresent(FavoritesKey() + L"\\Uncategorized"));
    EXPECT_FALSE(KeyPresent(FavoritesKey() + L"\\Kundschaft"));
}

TEST_F(FavoritesManager, CancelAfterManyEditsLeavesTheStoreAsItWas) {
    StoreExample();
    StoreText(L"Kunden", L"Notiz", L"bleibt");  // no favorites' value, kept all the same
    const StoreSnapshot before = Snapshot();
    ASSERT_FALSE(before.empty());
    frmFavoritesManager& manager = Open();
    // Below the last entry: after it.
    RECT temp = RowRect(Row(L"Temp"));
    Drag(Row(L"Angebote"), temp.bottom + 5, temp.bottom);
    ASSERT_EQ(Row(L"Angebote"), Row(L"Temp") + 1);
    Select(List(), Row(L"Vorlagen"));
    Command(IDC_FAVMAN_REMOVE);
    Command(IDC_FAVMAN_EXPAND);
    Select(manager.GroupList().hWndListView(), 0);
    Command(IDC_FAVMAN_GROUP_REMOVE);
    ASSERT_EQ(manager.Model().Groups(), std::vector<std::wstring>{L"Kunden"});
    Command(IDCANCEL);
    EXPECT_EQ(manager.Result(), IDCANCEL);
    EXPECT_EQ(Snapshot(), before);
    // Only the layout is remembered.
    EXPECT_EQ(StoredNumber(Setting::FavoritesManagementExpanded), std::optional<DWORD>(1));
}

TEST_F(FavoritesManager, TheLastFavoriteOfAGroupLeavesItsPlaceholderAndADropFillsItAgain) {
    StoreExample();
    Open();
    Select(List(), Row(L"Angebote"));
    Command(IDC_FAVMAN_REMOVE);
    // The favorite that took its place is selected: Entfernen again removes it.
    EXPECT_TRUE(manager_->Favorites().ItemSelected(Row(L"Vorlagen")));
    Command(IDC_FAVMAN_REMOVE);
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L" | " + std::wstring(kPlaceholder),
                                                  L" | " + std::wstring(kPlaceholder), L"Temp | " + temp_}));
    RECT r = RowRect(0);
    EXPECT_EQ(DropFiles(List(), {vorlagen_}, POINT{30, r.top + 3}), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"vorlagen | " + vorlagen_, L" | " + std::wstring(kPlaceholder),
                                                  L"Temp | " + temp_}));
    EXPECT_EQ(manager_->Model().Result().groups[0].favorites, (std::vector<Favorite>{{L"vorlagen", vorlagen_}}));
}

TEST_F(FavoritesManager, DropsTakeFoldersAndShortcutsToFoldersButNoZipFiles) {
    Open();
    // An empty list takes a folder anywhere, into "Sonstige".
    EXPECT_EQ(DropFiles(List(), {angebote_}, POINT{30, 60}), static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(Shown(), std::vector<std::wstring>{L"angebote | " + angebote_});
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(manager_->Hwnd(), IDC_FAVMAN_MODIFY)));

    // A shortcut adds the folder it leads to, before the entry it is dropped on.
    std::wstring link = folders_.Shortcut(L"Zu den Vorlagen.lnk", vorlagen_);
    RECT r = RowRect(0);
    EXPECT_EQ(DropFiles(List(), {link}, POINT{30, r.top + 3}), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(Shown(), (std::vector<std::wstring>{L"vorlagen | " + vorlagen_, L"angebote | " + angebote_}));

    // A zip file, a plain file and a shortcut to nowhere are refused at once.
    for (const std::wstring& file : {folders_.File(L"archiv.zip"), folders_.File(L"notiz.txt"),
                                     folders_.Shortcut(L"weg.lnk", folders_.Root() + L"\\weg")}) {
        DWORD over = 0;
        EXPECT_EQ(DropFiles(List(), {file}, POINT{30, r.top + 3}, &over), static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_EQ(over, static_cast<DWORD>(DROPEFFECT_NONE)) << file;
    }
    EXPECT_EQ(Shown().size(), 2u);
    EXPECT_FALSE(manager_->MarkerY());
}

TEST_F(FavoritesManager, RefusesAnEighthGroupAndNamesTheStoreCouldNotKeepApart) {
    // One group more than the manager would make, as a hand-edited registry may hold.
    StoreText(L"", L"Groups", L"A|*#|B|*#|C|*#|D|*#|E|*#|F|*#|Projekte|*#|H|*#|");
    StoreText(L"H", L"Favorites", L"Temp|*#|");
    StoreText(L"H", L"FavoritesPaths", temp_ + L"|*#|");
    frmFavoritesManager& manager = Open();
    Command(IDC_FAVMAN_EXPAND);
    Command(IDC_FAVMAN_GROUP_ADD);
    EXPECT_EQ(presenter_.texts,
              std::vector<std::wstring>{L"Sie können nicht mehr als sieben Gruppen für Ordnerfavoriten anlegen."});
    EXPECT_EQ(manager.GroupList().ItemCount(), 8);

    presenter_.texts.clear();
    for (const wchar_t* name : {L"Sonstige", L"PROJEKTE", L"uncategorized", L"A\\B", L"A|*#|B", L"  "})
        RenameGroup(0, name);
    EXPECT_EQ(manager.Model().Groups()[0], L"A");
    EXPECT_EQ(presenter_.texts,
              (std::vector<std::wstring>{
                  L"Eine Gruppe mit Namen 'Sonstige' kann nicht angelegt werden, da Pfadwerk eine solche Gruppe "
                  L"automatisch anlegt für Ordnerfavoriten, denen keine Gruppe zugewiesen wurde.",
                  L"Es gibt bereits die Gruppe 'Projekte'. Gruppenbezeichnungen, die sich nur in der Groß- und "
                  L"Kleinschreibung unterscheiden, kann Pfadwerk nicht auseinanderhalten. Wählen Sie die vorhandene "
                  L"Gruppe oder eine andere Bezeichnung.",
                  L"Die Bezeichnung 'uncategorized' verwendet Pfadwerk selbst für die Gruppe 'Sonstige'. Bitte "
                  L"wählen Sie eine andere Bezeichnung.",
                  L"Eine Gruppenbezeichnung darf weder einen umgekehrten Schrägstrich (\\) noch die Zeichenfolge "
                  L"|*#| enthalten.",
                  L"Eine Gruppenbezeichnung darf weder einen umgekehrten Schrägstrich (\\) noch die Zeichenfolge "
                  L"|*#| enthalten."}));
    // Its own name in another case is fine.
    RenameGroup(0, L"a");
    EXPECT_EQ(manager.Model().Groups()[0], L"a");
    // The eighth group and its favorite survive the rewrite.
    Command(IDOK);
    EXPECT_EQ(Stored(L"", L"Groups"), L"a|*#|B|*#|C|*#|D|*#|E|*#|F|*#|Projekte|*#|H|*#|");
    EXPECT_EQ(Stored(L"H", L"FavoritesPaths"), temp_ + L"|*#|");
}

TEST_F(FavoritesManager, ANewGroupWithARefusedNameIsTakenAwayAgain) {
    frmFavoritesManager& manager = Open();
    Command(IDC_FAVMAN_EXPAND);
    HWND groups = manager.GroupList().hWndListView();
    Command(IDC_FAVMAN_GROUP_ADD);
    EditLabel(groups, L"Uncategorized");
    EXPECT_EQ(presenter_.texts.size(), 1u);
    EXPECT_EQ(manager.GroupList().ItemCount(), 0);
    EXPECT_TRUE(manager.Model().Groups().empty());

    Command(IDC_FAVMAN_GROUP_ADD);
    EditLabel(groups, L" Archiv ");
    EXPECT_EQ(manager.Model().Groups(), std::vector<std::wstring>{L"Archiv"});
    EXPECT_EQ(Shown(), std::vector<std::wstring>{L" | " + std::wstring(kPlaceholder)});
    EXPECT_TRUE(manager.Favorites().GroupsEnabled());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(manager.Hwnd(), IDC_FAVMAN_GROUP_REMOVE)));
    Command(IDOK);
    EXPECT_EQ(Stored(L"", L"Groups"), L"Archiv|*#|");
}

TEST_F(FavoritesManager, ANewGroupTypedInTheAddDialogJoinsTheManager) {
    StoreExample();
    std::wstring archiv = folders_.Make(L"archiv");
    frmFavoritesManager& manager = Open();
    {
        cModalScript script({[&](HWND dialog) {
            if (TextOf(dialog) != L"Ordnerfavoriten hinzufügen")
                return false;
            // No name typed: the folder brings its own.
            SetDlgItemTextW(dialog, IDC_FAVADD_PATH, archiv.c_str());
            SetDlgItemTextW(dialog, IDC_FAVADD_GROUPS, L"Archiv");
            Press(dialog, IDOK);
            return true;
        }});
        Command(IDC_FAVMAN_ADD);
    }
    EXPECT_EQ(manager.Model().Groups(), (std::vector<std::wstring>{L"Projekte", L"Kunden", L"Archiv"}));
    int row = Row(L"archiv");
    ASSERT_GE(row, 0);
    EXPECT_EQ(manager.Favorites().SubItemText(row, 1), archiv);
    EXPECT_EQ(manager.ShownRows()[row].group, L"Archiv");
    EXPECT_TRUE(manager.Favorites().ItemSelected(row));
}

TEST_F(FavoritesManager, TheLayoutIsKeptForTheNextOpening) {
    Open();
    EXPECT_FALSE(manager_->Expanded());
    EXPECT_FALSE(IsWindowVisible(manager_->GroupList().hWnd()));
    Command(IDC_FAVMAN_EXPAND);
    EXPECT_TRUE(IsWindowVisible(manager_->GroupList().hWnd()));
    EXPECT_EQ(StoredNumber(Setting::FavoritesManagementExpanded), std::optional<DWORD>(1));
    Command(IDCANCEL);
    EXPECT_TRUE(Open().Expanded());
}

}  // namespace
}  // namespace pw::test
