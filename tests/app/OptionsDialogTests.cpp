// The options dialog opened by the main window's menu over a scratch history
// and the test run's settings: the values it shows and writes, shortening and
// clearing the history, and which changes need a freshly loaded window. The
// dialog is driven from inside its own loop; its questions go to a presenter
// that answers as the test says.
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "Database.h"
#include "MainWindowSupport.h"
#include "ModalScript.h"
#include "app_res.h"
#include "modTaskDialog.h"
#include "options_res.h"

namespace pw::test {
namespace {

std::wstring TempFolder() {
    return ScratchFolder(L"PfadwerkOptionsTests");
}

class cAnsweringPresenter final : public cDialogPresenter {
  public:
    int ShowTaskDialog(const TASKDIALOGCONFIG& config, bool*) override {
        questions.push_back(config.pszMainInstruction ? config.pszMainInstruction : L"");
        return answer == IDOK ? 1 : IDCANCEL;  // 1: the dialog's own "Zurücksetzen"
    }
    int ShowMessageBox(HWND, const std::wstring& text, const std::wstring&, UINT) override {
        questions.push_back(text);
        return answer;
    }
    int answer = IDOK;
    std::vector<std::wstring> questions;
};

class OptionsDialog : public cMainWindowTest {
  protected:
    OptionsDialog() : cMainWindowTest(TempFolder()) {}
    void SetUp() override {
        cMainWindowTest::SetUp();
        Store(Setting::ExitBehavior, 3);
    }

    frmMain& Load() {
        frmMainSetup setup = TestSetup(true, database_);
        setup.folderActionServices.presenter = &presenter_;
        return Start(setup);
    }

    void Visit(const std::wstring& name, int daysAgo) {
        VisitAt(MakeFolder(name), name, FromSeconds(SecondsSinceEpoch(SystemLocalTime()) - daysAgo * 86400LL));
    }
    int Visits() const {
        cDatabase db;
        EXPECT_TRUE(db.Open(database_));
        long count = -1;
        db.Query(L"SELECT Count(FoldersProtocol.FolderPath) FROM FoldersProtocol", [&](const cRow& row) {
            count = row.Long(0);
            return false;
        });
        return static_cast<int>(count);
    }

    // Opens the options by the menu and runs script in them.
    void WithOptions(const std::function<void(HWND)>& script) {
        {
            cModalScript run({[&](HWND dialog) {
                script(dialog);
                return true;
            }});
            SendMessageW(form_->Hwnd(), WM_COMMAND, IDM_MENU_OPTIONS, 0);
        }
        Pump(50);
    }
    static bool Checked(HWND dialog, UINT id) {
        return SendMessageW(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static int Selected(HWND dialog, UINT id) {
        return static_cast<int>(SendMessageW(Control(dialog, id), CB_GETCURSEL, 0, 0));
    }
    static void Click(HWND dialog, UINT id) { SendMessageW(Control(dialog, id), BM_CLICK, 0, 0); }
    static void Choose(HWND dialog, UINT id, int item) { SendMessageW(Control(dialog, id), CB_SETCURSEL, item, 0); }
    // Whether the page holding a control is the one shown.
    static bool PageShown(HWND dialog, UINT id) {
        return (GetWindowLongW(GetParent(Control(dialog, id)), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    static void Press(HWND dialog, UINT button) { SendMessageW(dialog, WM_COMMAND, button, 0); }

    // Every value under Options as stored.
    static std::map<std::wstring, DWORD> StoredOptions() {
        std::map<std::wstring, DWORD> values;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionKeyOf(SettingsKey::Options), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return values;
        for (DWORD i = 0;; ++i) {
            wchar_t name[128];
            DWORD nameLength = 128, value = 0, size = sizeof value, type = 0;
            if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
                ERROR_SUCCESS)
                break;
            values[name] = value;
        }
        RegCloseKey(key);
        return values;
    }

    cAnsweringPresenter presenter_;
};

TEST_F(OptionsDialog, ShowsTheStoredValuesAndWritesThemBack) {
    Store(Setting::KeepProtocolDays, 56);
    Store(Setting::ReuseFolderWindows, 1);
    Store(Setting::HidePathColumn, 1);
    Store(Setting::WindowPosition, 3);
    Store(Setting::OptionsLastOpenedTab, 2);
    frmMain& form = Load();
    const auto before = StoredOptions();

    WithOptions([&](HWND dialog) {
        EXPECT_EQ(L"Pfadwerk-Optionen", TextOf(dialog));
        EXPECT_EQ(1, TabCtrl_GetCurSel(Control(dialog, IDC_OPT_TABS))) << "the tab shown last";
        EXPECT_TRUE(PageShown(dialog, IDC_OPT_KEEPOPEN));
        EXPECT_FALSE(PageShown(dialog, IDC_CHK_CHECKFORUPDATES));
        EXPECT_EQ(4, Selected(dialog, IDC_CMB_DATAWEEKS));
        EXPECT_TRUE(Checked(dialog, IDC_CHK_CHECKFORUPDATES));
        EXPECT_TRUE(Checked(dialog, IDC_CHK_SWITCHFILEDIALOGS)) << "on by default";
        EXPECT_TRUE(Checked(dialog, IDC_OPT_KEEPOPEN));
        EXPECT_FALSE(Checked(dialog, IDC_OPT_STAYTHENHIDE));
        EXPECT_TRUE(Checked(dialog, IDC_CHK_REUSEFOLDERWINDOWS));
        EXPECT_FALSE(Checked(dialog, IDC_CHK_SHOWPATHCOLUMN));
        EXPECT_TRUE(Checked(dialog, IDC_CHK_SHOWWATERMARK));
        EXPECT_EQ(3, Selected(dialog, IDC_CMB_WINDOWPOSITION));
        EXPECT_EQ(L"Bildschirmmitte", TextOf(Control(dialog, IDC_CMB_WINDOWPOSITION)));

        Click(dialog, IDC_OPT_MINIMIZE);
        Click(dialog, IDC_CHK_CHECKFORUPDATES);
        Click(dialog, IDC_CHK_SWITCHFILEDIALOGS);
        Click(dialog, IDC_CHK_SHOWWATERMARK);
        Choose(dialog, IDC_CMB_DATAWEEKS, 5);
        TabCtrl_SetCurSel(Control(dialog, IDC_OPT_TABS), 2);
        Press(dialog, IDOK);
    });
    auto expected = before;
    expected[L"ExitBehavior"] = 4;
    expected[L"CheckForUpdates"] = 0;
    expected[L"SwitchFileDialogs"] = 0;
    expected[L"ShowWatermark"] = 0;
    expected[L"KeepProtocolDays"] = 84;
    // The untouched ones are written as shown, the unchanged position is not.
    expected[L"FolderListSize"] = static_cast<DWORD>(form.Options().listSize);
    expected[L"DefaultOpenInExplorer"] = 0;
    expected[L"ShowWindowTitleAndBorder"] = 1;
    expected[L"ShowFavoritesTabFirst"] = 0;
    EXPECT_EQ(expected, StoredOptions());
    EXPECT_EQ(3u, StoredNumber(Setting::OptionsLastOpenedTab));
    EXPECT_TRUE(form.FolderList().View().BackgroundPicture().empty()) << "the picture goes at once";
    EXPECT_EQ(ExitBehavior::Minimize, form.Options().exitBehavior);
    EXPECT_FALSE(form.Options().switchFileDialogs) << "from the next pick on";
    EXPECT_FALSE(form.ReloadRequested());

    // Cancel writes none of the settings.
    WithOptions([&](HWND dialog) {
        Click(dialog, IDC_OPT_HIDE);
        Click(dialog, IDC_CHK_SHOWPATHCOLUMN);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(expected, StoredOptions());
    EXPECT_NE(nullptr, form.Hwnd());
}

TEST_F(OptionsDialog, OkStoresEveryValueMissingBeforeButAnUnchangedWindowPosition) {
    frmMain& form = Load();
    ASSERT_EQ(0u, StoredOptions().count(L"CheckForUpdates"));
    WithOptions([&](HWND dialog) { Press(dialog, IDOK); });
    auto stored = StoredOptions();
    for (const wchar_t* name : {L"KeepProtocolDays", L"ExitBehavior", L"CheckForUpdates", L"FolderListSize",
                                L"DefaultOpenInExplorer", L"ReuseFolderWindows", L"ShowWatermark", L"HidePathColumn",
                                L"ShowWindowTitleAndBorder", L"ShowFavoritesTabFirst"}) {
        EXPECT_EQ(1u, stored.count(name)) << name;
    }
    EXPECT_EQ(42u, stored[L"KeepProtocolDays"]);
    EXPECT_EQ(1u, stored[L"CheckForUpdates"]);
    EXPECT_EQ(0u, stored.count(L"WindowPosition"));
    EXPECT_FALSE(form.ReloadRequested());
}

TEST_F(OptionsDialog, AKeptPeriodOfNoneOfTheChoicesStaysAsStored) {
    Store(Setting::KeepProtocolDays, 30);
    Visit(L"Alt", 20);
    Load();
    WithOptions([&](HWND dialog) {
        EXPECT_EQ(-1, Selected(dialog, IDC_CMB_DATAWEEKS));
        Press(dialog, IDOK);
    });
    EXPECT_EQ(30u, StoredNumber(Setting::KeepProtocolDays));
    EXPECT_EQ(1, Visits());
}

TEST_F(OptionsDialog, ShorteningAsksOnlyWhenOlderVisitsExistAndCancelSavesNothing) {
    Visit(L"Alt", 20);
    Visit(L"Neu", 1);
    Load();
    // 42 → 28 days: nothing is older, nothing to ask.
    WithOptions([&](HWND dialog) {
        Choose(dialog, IDC_CMB_DATAWEEKS, 2);
        Press(dialog, IDOK);
    });
    EXPECT_TRUE(presenter_.questions.empty());
    EXPECT_EQ(28u, StoredNumber(Setting::KeepProtocolDays));
    EXPECT_EQ(2, Visits());

    // 28 → 14 days: the visit of 20 days ago is older. Cancel keeps the
    // dialog open and saves nothing.
    presenter_.answer = IDCANCEL;
    bool stayedOpen = false;
    WithOptions([&](HWND dialog) {
        Choose(dialog, IDC_CMB_DATAWEEKS, 0);
        Click(dialog, IDC_OPT_HIDE);
        Press(dialog, IDOK);
        stayedOpen = !IsWindowEnabled(form_->Hwnd());  // EndDialog gives the owner back
        Press(dialog, IDCANCEL);
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(1u, presenter_.questions.size());
    EXPECT_EQ(L"Hiermit werden alle Aufzeichnungen der verwendeten Ordner gelöscht, die älter als 2 Wochen sind.",
              presenter_.questions[0]);
    EXPECT_EQ(28u, StoredNumber(Setting::KeepProtocolDays));
    EXPECT_EQ(3u, StoredNumber(Setting::ExitBehavior));
    EXPECT_EQ(2, Visits());

    presenter_.answer = IDOK;
    WithOptions([&](HWND dialog) {
        Choose(dialog, IDC_CMB_DATAWEEKS, 0);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(14u, StoredNumber(Setting::KeepProtocolDays));
    EXPECT_EQ(1, Visits()) << "the older visit is gone";
}

TEST_F(OptionsDialog, ClearingEmptiesTheHistoryAtOnceAndLeavesTheFavorites) {
    Visit(L"Quitte", 1);
    const wchar_t groups[] = L"Arbeit|*#|";
    WriteRaw(SectionKeyOf(SettingsKey::FolderFavorites), L"Groups", REG_SZ, groups, sizeof groups);
    frmMain& form = Load();
    ASSERT_EQ(1, form.FolderList().EntryCount());

    presenter_.answer = IDCANCEL;
    WithOptions([&](HWND dialog) {
        Click(dialog, IDC_CMD_CLEARHISTORY);
        EXPECT_TRUE(IsWindowEnabled(Control(dialog, IDC_CMD_CLEARHISTORY)));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(1, Visits()) << "not without the user's yes";

    presenter_.answer = IDOK;
    WithOptions([&](HWND dialog) {
        Click(dialog, IDC_CMD_CLEARHISTORY);
        EXPECT_FALSE(IsWindowEnabled(Control(dialog, IDC_CMD_CLEARHISTORY)));
        Press(dialog, IDCANCEL);
    });
    ASSERT_EQ(2u, presenter_.questions.size());
    EXPECT_EQ(L"Hiermit wird die Liste der verwendeten Ordner in Pfadwerk zurückgesetzt.", presenter_.questions[1]);
    EXPECT_EQ(0, Visits()) << "Cancel afterwards does not bring the history back";
    EXPECT_EQ(0, form.FolderList().EntryCount());
    RawValue kept = ReadRaw(SectionKeyOf(SettingsKey::FolderFavorites), L"Groups");
    ASSERT_TRUE(kept.found);
    EXPECT_EQ(0, memcmp(kept.data.data(), groups, sizeof groups));
}

struct ReloadCase {
    UINT control;
    int item;  // for a list: the item chosen; -1: a click
    bool reloads;
};

class OptionsReload : public OptionsDialog, public ::testing::WithParamInterface<ReloadCase> {};

TEST_P(OptionsReload, OnlyTheOptionsOfTheWindowsMakeLoadAFreshOne) {
    frmMain& form = Load();
    WithOptions([&](HWND dialog) {
        if (GetParam().item < 0) {
            Click(dialog, GetParam().control);
        } else {
            Choose(dialog, GetParam().control, GetParam().item);
        }
        Press(dialog, IDOK);
    });
    EXPECT_EQ(GetParam().reloads, form.ReloadRequested());
    EXPECT_EQ(GetParam().reloads, form.Hwnd() == nullptr);
}

INSTANTIATE_TEST_SUITE_P(Options,
                         OptionsReload,
                         ::testing::Values(ReloadCase{IDC_CHK_SHOWPATHCOLUMN, -1, true},
                                           ReloadCase{IDC_CMB_WINDOWPOSITION, 4, true},
                                           ReloadCase{IDC_CHK_SHOWWINDOWTITLEANDBORDER, -1, true},
                                           ReloadCase{IDC_CHK_SHOWFAVORITESTABFIRST, -1, true},
                                           ReloadCase{IDC_CHK_SHOWWATERMARK, -1, false},
                                           ReloadCase{IDC_CMB_SIZE, 2, false},
                                           ReloadCase{IDC_OPT_HIDE, -1, false},
                                           ReloadCase{IDC_CHK_REUSEFOLDERWINDOWS, -1, false}));

}  // namespace
}  // namespace pw::test
