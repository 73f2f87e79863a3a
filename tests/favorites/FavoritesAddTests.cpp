// The add-favorite dialog: from the main window it stores the favorite
// itself (append rule), it checks the folder through the shell, refuses an
// eighth group and names the store could not keep apart, completes groups
// only in their exact letter case, and remembers where the folder picker was.
#include <windows.h>

#include <commctrl.h>

#include "FavoritesTestSupport.h"
#include "favorites_res.h"
#include "frmFavoritesAdd.h"

namespace pw::test {
namespace {

class FavoritesAdd : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetUser();
        folder_ = folders_.Make(L"Angebote");
    }
    void TearDown() override {
        dialog_.reset();
        ForgetUser();
    }
    // As the main window's context menu opens it for a history entry.
    frmFavoritesAdd& FromMainWindow(const std::wstring& path, const std::wstring& name) {
        FavoriteEntryRequest request;
        request.purpose = FavoriteEntryPurpose::AddFromList;
        request.folderPath = path;
        request.folderName = name;
        return Create(std::move(request));
    }
    frmFavoritesAdd& Create(FavoriteEntryRequest request) {
        dialog_ = std::make_unique<frmFavoritesAdd>();
        request.presenter = &presenter_;
        EXPECT_TRUE(dialog_->CreateModeless(nullptr, request));
        ShowWindow(dialog_->Hwnd(), SW_SHOW);
        Pump(30);
        return *dialog_;
    }
    void SetText(int id, const std::wstring& text) { SetWindowTextW(dialog_->Item(id), text.c_str()); }
    std::wstring Text(int id) const { return TextOf(dialog_->Item(id)); }
    void Ok() {
        SendMessageW(dialog_->Hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        Pump(30);
    }
    std::vector<std::wstring> GroupEntries() const {
        std::vector<std::wstring> entries;
        HWND combo = dialog_->Item(IDC_FAVADD_GROUPS);
        for (int i = 0; i < static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)); ++i) {
            wchar_t text[256] = {};
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }

    cScratchFolders folders_{L"PfadwerkFavoritesAddTests"};
    cRecordingPresenter presenter_;
    std::unique_ptr<frmFavoritesAdd> dialog_;
    std::wstring folder_;
};

TEST_F(FavoritesAdd, WithoutGroupsOnlyKeineIsOfferedAndTheFavoriteGoesToUncategorized) {
    frmFavoritesAdd& dialog = FromMainWindow(folder_, L"Meine Angebote");
    EXPECT_EQ(TextOf(dialog.Hwnd()), L"Zu Ordnerfavoriten hinzufügen");
    EXPECT_EQ(GroupEntries(), std::vector<std::wstring>{L"(Keine)"});
    EXPECT_FALSE(IsWindowVisible(dialog.Item(IDC_FAVADD_TIP)));
    Ok();
    EXPECT_TRUE(dialog.Result().accepted);
    // The shell knows the folder under the same path: the name stays.
    EXPECT_EQ(Stored(L"Uncategorized", L"Favorites"), L"Meine Angebote|*#|");
    EXPECT_EQ(Stored(L"Uncategorized", L"FavoritesPaths"), folder_ + L"|*#|");
    EXPECT_EQ(Stored(L"", L"Groups"), L"<missing>");
}

TEST_F(FavoritesAdd, FromTheListItAppendsToTheGroupAndANewGroupToGroups) {
    StoreText(L"", L"Groups", L"Projekte|*#|Kunden|*#|");
    StoreText(L"Projekte", L"Favorites", L"Alt|*#|");
    StoreText(L"Projekte", L"FavoritesPaths", L"c:\\alt|*#|");
    FromMainWindow(folder_, L"Angebote");
    EXPECT_EQ(GroupEntries(), (std::vector<std::wstring>{L"Projekte", L"Kunden", L"Sonstige"}));
    EXPECT_EQ(Text(IDC_FAVADD_GROUPS), L"Sonstige");
    SetText(IDC_FAVADD_GROUPS, L"Projekte");
    Ok();
    EXPECT_EQ(Stored(L"Projekte", L"Favorites"), L"Alt|*#|Angebote|*#|");
    EXPECT_EQ(Stored(L"Projekte", L"FavoritesPaths"), L"c:\\alt|*#|" + folder_ + L"|*#|");

    FromMainWindow(folder_, L"Angebote");
    SetText(IDC_FAVADD_GROUPS, L"Archiv");
    Ok();
    EXPECT_EQ(Stored(L"", L"Groups"), L"Projekte|*#|Kunden|*#|Archiv|*#|");
    EXPECT_EQ(Stored(L"Archiv", L"Favorites"), L"Angebote|*#|");
    EXPECT_TRUE(presenter_.texts.empty());
}

TEST_F(FavoritesAdd, AnEighthGroupAndNamesTheStoreCouldNotKeepApartAreRefused) {
    const std::wstring seven = L"A|*#|B|*#|C|*#|D|*#|E|*#|F|*#|Projekte|*#|";
    StoreText(L"", L"Groups", seven);
    frmFavoritesAdd& dialog = FromMainWindow(folder_, L"Angebote");
    const std::wstring tooLong(kMaxGroupNameLength + 1, L'g');
    for (const std::wstring& group : {std::wstring(L"Acht"), std::wstring(L"projekte"), std::wstring(L"Uncategorized"),
                                      std::wstring(L"A\\B"), std::wstring(L"A|*#|B"), tooLong}) {
        SetText(IDC_FAVADD_GROUPS, group);
        Ok();
        EXPECT_FALSE(dialog.Result().accepted) << group.size();
        EXPECT_TRUE(IsWindowVisible(dialog.Hwnd())) << group.size();
    }
    ASSERT_EQ(presenter_.texts.size(), 6u);
    EXPECT_EQ(presenter_.texts[0],
              L"Sie haben die neue Gruppe 'Acht' für den Ordnerfavoriten festgelegt. Allerdings sind bereits 7 "
              L"Gruppen definiert, und es können nicht mehr als 7 Gruppen definiert werden. Wählen Sie daher eine "
              L"bereits vorhandene Gruppe aus.");
    EXPECT_NE(presenter_.texts[1].find(L"'Projekte'"), std::wstring::npos);
    EXPECT_NE(presenter_.texts[2].find(L"'Uncategorized' verwendet Pfadwerk selbst"), std::wstring::npos);
    EXPECT_NE(presenter_.texts[3].find(L"umgekehrten Schrägstrich"), std::wstring::npos);
    EXPECT_EQ(presenter_.texts[4], presenter_.texts[3]);
    // A sub-key is named like its group, and a key's name has a limit.
    EXPECT_EQ(presenter_.texts[5],
              L"Eine Gruppenbezeichnung darf höchstens 255 Zeichen lang sein. Bitte wählen Sie eine "
              L"kürzere Bezeichnung.");
    EXPECT_EQ(Stored(L"", L"Groups"), seven);
    EXPECT_EQ(Stored(L"Uncategorized", L"Favorites"), L"<missing>");
    EXPECT_FALSE(KeyPresent(FavoritesKey() + L"\\Acht"));
}

TEST_F(FavoritesAdd, ThePathIsCheckedThroughTheShellAndANewFolderBringsItsName) {
    frmFavoritesAdd& dialog = FromMainWindow(folder_, L"Meine Angebote");
    SetText(IDC_FAVADD_PATH, folders_.Root() + L"\\gibt es nicht");
    Ok();
    EXPECT_FALSE(dialog.Result().accepted);
    EXPECT_EQ(presenter_.texts, std::vector<std::wstring>{L"Bitte geben Sie einen gültigen Ordnerpfad an."});
    EXPECT_EQ(GetFocus(), dialog.Item(IDC_FAVADD_PATH));

    std::wstring other = folders_.Make(L"Vorlagen");
    SetText(IDC_FAVADD_PATH, other + L"\\");
    Ok();
    EXPECT_TRUE(dialog.Result().accepted);
    EXPECT_EQ(dialog.Result().folderPath, other);
    EXPECT_EQ(dialog.Result().folderName, L"Vorlagen");
}

TEST_F(FavoritesAdd, BrowsingStartsWhereTheLastPickWasAndRemembersItsParentExceptWhenChanging) {
    std::wstring sub = folders_.Make(L"Angebote\\2024");
    std::wstring started;
    auto picker = [&](const std::wstring& chosen) {
        return [&, chosen](HWND, const std::wstring&, const std::wstring& start) -> std::optional<std::wstring> {
            started = start;
            return chosen;
        };
    };
    FavoriteEntryRequest request;
    request.pickFolder = picker(sub);
    Create(request);
    SendMessageW(dialog_->Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_FAVADD_BROWSE, BN_CLICKED), 0);
    EXPECT_EQ(started, L"");
    EXPECT_EQ(Text(IDC_FAVADD_PATH), sub);
    EXPECT_EQ(Text(IDC_FAVADD_NAME), L"2024");
    EXPECT_EQ(GetFocus(), dialog_->Item(IDC_FAVADD_NAME));
    EXPECT_EQ(ReadText(Setting::AddFavoritePreviousSubfolderSelected), folder_);

    // The next dialog starts there, even with another folder in its box; a
    // drive root is kept as it is.
    request.folderPath = sub;
    request.pickFolder = picker(L"C:\\");
    Create(request);
    SendMessageW(dialog_->Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_FAVADD_BROWSE, BN_CLICKED), 0);
    EXPECT_EQ(started, folder_);
    EXPECT_EQ(ReadText(Setting::AddFavoritePreviousSubfolderSelected), L"C:\\");

    // Changing a favorite starts there too and remembers nothing.
    request.purpose = FavoriteEntryPurpose::Change;
    request.folderPath = folder_;
    request.pickFolder = picker(sub);
    Create(request);
    SendMessageW(dialog_->Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_FAVADD_BROWSE, BN_CLICKED), 0);
    EXPECT_EQ(started, L"C:\\");
    EXPECT_EQ(ReadText(Setting::AddFavoritePreviousSubfolderSelected), L"C:\\");
}

TEST_F(FavoritesAdd, TheGroupCompletesOnlyInItsExactLetterCase) {
    FavoriteEntryRequest request;
    request.manager.groups = {L"Projekte", L"Kunden"};
    request.manager.selectedGroup = L"Kunden";
    frmFavoritesAdd& dialog = Create(request);
    EXPECT_EQ(Text(IDC_FAVADD_GROUPS), L"Kunden");
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(dialog.Item(IDC_FAVADD_GROUPS), &info));
    auto type = [&](const std::wstring& text) {
        SetWindowTextW(info.hwndItem, L"");
        for (wchar_t c : text)
            SendMessageW(info.hwndItem, WM_CHAR, c, 1);
    };
    type(L"p");
    EXPECT_EQ(Text(IDC_FAVADD_GROUPS), L"p");
    type(L"Pr");
    EXPECT_EQ(Text(IDC_FAVADD_GROUPS), L"Projekte");
    DWORD start = 0, end = 0;
    SendMessageW(info.hwndItem, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 8u);
}

}  // namespace
}  // namespace pw::test
