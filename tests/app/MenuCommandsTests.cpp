// The main window's menus and their commands, loaded in the test's process
// over a scratch history: each bar entry and its button-menu twin, the menu
// bar for Alt and by choice, the views, the help, the web page and the
// feedback mail (what would be opened is noted, not opened), and the frame
// that keeps the window up while a command's window is open.
#include <windows.h>

#include <commctrl.h>
#include <htmlhelp.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Database.h"
#include "FakeFolderShell.h"
#include "FolderActions.h"
#include "HtmlHelp.h"
#include "LoopbackHttpServer.h"
#include "MainWindowSupport.h"
#include "ModalScript.h"
#include "PfadwerkVersion.h"
#include "about_res.h"
#include "app_res.h"
#include "modTaskDialog.h"

namespace pw::test {
namespace {

std::wstring TempFolder() {
    return ScratchFolder(L"PfadwerkMenuTests");
}

// Answers every message box with OK and notes what it showed, and whether
// the main window had its pop-up behaviour meanwhile.
class cNotingPresenter final : public cDialogPresenter {
  public:
    int ShowTaskDialog(const TASKDIALOGCONFIG&, bool*) override { return IDOK; }
    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) override {
        boxes.push_back(text);
        this->owner = owner;
        this->caption = caption;
        this->style = style;
        if (duringBox)
            duringBox();
        return IDOK;
    }
    std::vector<std::wstring> boxes;
    HWND owner = nullptr;
    std::wstring caption;
    UINT style = 0;
    std::function<void()> duringBox;
};

class Menus : public cMainWindowTest {
  protected:
    Menus() : cMainWindowTest(TempFolder()) {}
    void SetUp() override {
        cMainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        Store(Setting::ExitBehavior, 3);
        cDatabase db;
        ASSERT_TRUE(db.Open(database_));
        ASSERT_TRUE(db.AppendVisit(MakeFolder(L"Quitte"), L"Quitte"));
    }

    frmMain& Load() {
        frmMainSetup setup = TestSetup(true, database_);
        setup.folderActionServices.presenter = &presenter_;
        // The update check asks a server that is not there.
        setup.updateCheckServices.versionFileUrl = cLoopbackHttpServer::DeadUrl();
        setup.openAddress = [this](HWND owner, const std::wstring& address) {
            opened_.push_back(address);
            openedOwners_.push_back(owner);
        };
        return Start(setup);
    }

    void Command(UINT id) {
        SendMessageW(form_->Hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        Pump(50);
    }
    // The caption of the window a command opens, which is then cancelled.
    std::wstring DialogOf(UINT id) {
        std::wstring caption;
        cModalScript script({[&](HWND shown) {
            caption = TextOf(shown);
            PostMessageW(shown, WM_COMMAND, IDCANCEL, 0);
            return true;
        }});
        Command(id);
        return caption;
    }
    static bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    static bool Grayed(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
    DWORD ListView() const {
        return static_cast<DWORD>(SendMessageW(form_->FolderList().ListHwnd(), LVM_GETVIEW, 0, 0));
    }
    // Both menus show view as the checked one of Details and Symbole.
    void ExpectViewChecked(bool icons) const {
        EXPECT_EQ(!icons, Checked(form_->ButtonMenu(), IDM_MENU_DETAILS));
        EXPECT_EQ(!icons, Checked(form_->MenuBar(), IDM_VIEW_DETAILS));
        EXPECT_EQ(icons, Checked(form_->ButtonMenu(), IDM_MENU_LARGEICONS));
        EXPECT_EQ(icons, Checked(form_->MenuBar(), IDM_VIEW_LARGEICONS));
    }
    int SearchLeft() const { return form_->ScreenTwips().Place(Control(*form_, ctl::picFindHost)).left; }

    cNotingPresenter presenter_;
    std::vector<std::wstring> opened_;
    std::vector<HWND> openedOwners_;
};

TEST_F(Menus, EveryBarEntryRunsTheCommandOfItsButtonMenuTwin) {
    frmMain& form = Load();
    ASSERT_EQ(static_cast<DWORD>(LV_VIEW_DETAILS), ListView());
    ExpectViewChecked(false);

    for (auto [icons, details] :
         {std::pair{IDM_MENU_LARGEICONS, IDM_MENU_DETAILS}, std::pair{IDM_VIEW_LARGEICONS, IDM_VIEW_DETAILS}}) {
        SCOPED_TRACE(icons);
        Command(icons);
        EXPECT_EQ(static_cast<DWORD>(LV_VIEW_ICON), ListView());
        EXPECT_EQ(1u, StoredNumber(Setting::IconView));
        ExpectViewChecked(true);
        EXPECT_EQ(1, form.FolderList().EntryCount()) << "the list is filled again";
        Command(details);
        EXPECT_EQ(static_cast<DWORD>(LV_VIEW_DETAILS), ListView());
        EXPECT_EQ(0u, StoredNumber(Setting::IconView));
        ExpectViewChecked(false);
        EXPECT_EQ(1, form.FolderList().EntryCount());
    }

    for (UINT website : {IDM_MENU_WEBSITE, IDM_HELP_WEBSITE}) {
        opened_.clear();
        Command(website);
        EXPECT_EQ(std::vector<std::wstring>{L"https://www.example.com/de/produkte/pfadwerk/"}, opened_);
        EXPECT_EQ(std::vector<HWND>{form.Hwnd()}, openedOwners_);
        openedOwners_.clear();
    }

    const std::wstring subject = L"mailto:support@example.com?subject=Pfadwerk%20%28Version%201.00." +
                                 std::to_wstring(PFADWERK_VERSION_BUILD) + L"%20-%20Windows%20";
    for (UINT feedback : {IDM_MENU_FEEDBACK, IDM_HELP_FEEDBACK}) {
        opened_.clear();
        presenter_.boxes.clear();
        Command(feedback);
        ASSERT_EQ(1u, presenter_.boxes.size());
        EXPECT_EQ(
            L"Bitte teilen Sie uns Ihre positiven wie negativen Erfahrungen, Anregungen, Kritik und "
            L"Problemberichte zu Pfadwerk mit - so können wir das Programm in Ihrem Sinne verbessern.\n"
            L"Herzlichen Dank!\nDas Pfadwerk-Team",
            presenter_.boxes[0]);
        EXPECT_EQ(L"Pfadwerk", presenter_.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), presenter_.style);
        ASSERT_EQ(1u, opened_.size());
        EXPECT_EQ(subject, opened_[0].substr(0, subject.size())) << opened_[0];
        EXPECT_EQ(L"%29", opened_[0].substr(opened_[0].size() - 3)) << opened_[0];  // the closing ")"
        EXPECT_EQ(L"%29", opened_[0].substr(opened_[0].size() - 3)) << opened_[0];
        EXPECT_EQ(nullptr, openedOwners_.back()) << "the mail program belongs to no window";
    }

    for (UINT about : {IDM_MENU_ABOUT, IDM_HELP_ABOUT})
        EXPECT_EQ(L"Info", DialogOf(about));
    for (UINT options : {IDM_MENU_OPTIONS, IDM_TOOLS_OPTIONS})
        EXPECT_EQ(L"Pfadwerk-Optionen", DialogOf(options));
    for (UINT ignored : {IDM_MENU_IGNOREDFOLDERS, IDM_TOOLS_IGNOREDFOLDERS})
        EXPECT_EQ(L"Ignorierte Ordner", DialogOf(ignored));
    for (UINT favorites : {IDM_MENU_MANAGEFAVORITES, IDM_TOOLS_MANAGEFAVORITES})
        EXPECT_EQ(L"Ordnerfavoriten verwalten", DialogOf(favorites));
    EXPECT_TRUE(form.PopUpBehaviour()) << "back after the dialog";

    // Auf neue Version prüfen: a manual check, which tells over the window,
    // out of its pop-up behaviour, that the server cannot be reached.
    for (UINT check : {IDM_MENU_CHECKFORUPDATES, IDM_HELP_CHECKFORUPDATES}) {
        presenter_.boxes.clear();
        bool popUpDuringBox = true;
        presenter_.duringBox = [&] { popUpDuringBox = form.PopUpBehaviour(); };
        Command(check);
        ASSERT_EQ(1u, presenter_.boxes.size()) << check;
        EXPECT_EQ(0u, presenter_.boxes[0].find(L"Die Versions-Überprüfung kann wegen Server- oder")) << check;
        EXPECT_EQ(form.Hwnd(), presenter_.owner);
        EXPECT_FALSE(popUpDuringBox);
        EXPECT_TRUE(form.PopUpBehaviour()) << "back after the message";
    }
    presenter_.duringBox = nullptr;
    EXPECT_FALSE(Grayed(form.ButtonMenu(), IDM_MENU_CHECKFORUPDATES));
    EXPECT_FALSE(Grayed(form.MenuBar(), IDM_HELP_CHECKFORUPDATES));
    EXPECT_FALSE(Grayed(form.ButtonMenu(), IDM_MENU_OPTIONS));
    EXPECT_FALSE(Grayed(form.MenuBar(), IDM_TOOLS_OPTIONS));
}

TEST_F(Menus, AltShowsTheBarForTheWindowAndItsOwnEntryHidesItForGood) {
    frmMain& form = Load();
    HWND button = Control(form, ctl::cmdShowMenu);
    ASSERT_EQ(nullptr, GetMenu(form.Hwnd()));
    ASSERT_TRUE(IsWindowVisible(button));
    const int searchLeft = SearchLeft();

    SendMessageW(Control(form, ctl::txtFind), WM_SYSKEYDOWN, VK_MENU, 0x20000001);
    EXPECT_EQ(form.MenuBar(), GetMenu(form.Hwnd()));
    EXPECT_FALSE(IsWindowVisible(button));
    EXPECT_EQ(form.FolderList().ListHwnd(), GetFocus());
    EXPECT_EQ(searchLeft + 600, SearchLeft()) << "the search box takes the button's place";
    EXPECT_FALSE(StoredNumber(Setting::ShowMenuBar).has_value()) << "shown for Alt is no choice of the user's";

    Command(IDM_VIEW_HIDEMENUBAR);
    EXPECT_EQ(nullptr, GetMenu(form.Hwnd()));
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_EQ(searchLeft, SearchLeft());
    EXPECT_EQ(0u, StoredNumber(Setting::ShowMenuBar));

    Command(IDM_MENU_SHOWMENUBAR);
    EXPECT_EQ(form.MenuBar(), GetMenu(form.Hwnd()));
    EXPECT_FALSE(IsWindowVisible(button));
    EXPECT_EQ(1u, StoredNumber(Setting::ShowMenuBar));
}

TEST_F(Menus, StoredChoicesShowTheBarAndTheViewAtStart) {
    Store(Setting::ShowMenuBar, 1);
    Store(Setting::IconView, 1);
    frmMain& form = Load();
    EXPECT_EQ(form.MenuBar(), GetMenu(form.Hwnd()));
    EXPECT_FALSE(IsWindowVisible(Control(form, ctl::cmdShowMenu)));
    EXPECT_EQ(static_cast<DWORD>(LV_VIEW_ICON), ListView());
    ExpectViewChecked(true);
}

// What the button and its menu look like from inside the menu's own loop.
struct MenuSeen {
    static inline HWND button = nullptr;
    static inline bool pressed = false;
    static inline bool menuShown = false;
    static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        pressed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        HWND menu = FindWindowW(L"#32768", nullptr);
        menuShown = menu && IsWindowVisible(menu);
        EndMenu();
    }
};

TEST_F(Menus, TheButtonDropsItsMenuAsItGoesDown) {
    frmMain& form = Load();
    MenuSeen::button = Control(form, ctl::cmdShowMenu);
    MenuSeen::pressed = MenuSeen::menuShown = false;
    SetTimer(nullptr, 0, 200, &MenuSeen::Look);
    SendMessageW(MenuSeen::button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(MenuSeen::menuShown);
    EXPECT_TRUE(MenuSeen::pressed) << "pressed while the menu is open";
    EXPECT_EQ(0, SendMessageW(MenuSeen::button, BM_GETSTATE, 0, 0) & BST_PUSHED) << "released when it closes";
    EXPECT_NE(nullptr, form.Hwnd());
}

TEST_F(Menus, HelpOpensTheHelpFileBesideTheWindowWhichThenStays) {
    frmMain& form = Load();
    SendMessageW(Control(form, ctl::txtFind), WM_KEYDOWN, VK_F1, 1);
    HWND help = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (help = FindWindowW(L"HH Parent", nullptr)) != nullptr; }, 5000));
    EXPECT_EQ(L"Pfadwerk-Hilfe", TextOf(help)) << "the title of the shipped help file";
    EXPECT_FALSE(form.PopUpBehaviour());
    OtherWindow other;
    other.Activate();
    Pump(200);
    EXPECT_NE(nullptr, form.Hwnd()) << "turning to the help does not close the window";
    using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    if (auto close = reinterpret_cast<HtmlHelpProc>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"hhctrl.ocx"), "HtmlHelpW"))))
        close(nullptr, nullptr, HH_CLOSE_ALL, 0);
    Pump(50);

    // The shipped help file is a compiled help file whose directory has the
    // topic the command opens.
    std::ifstream file(std::filesystem::path(DistFolder() + L"\\" + kHelpFile), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ("ITSF", bytes.substr(0, 4));
    EXPECT_NE(std::string::npos, bytes.find(std::string("/") + "index.htm"));
}

TEST_F(Menus, AboutShowsTheBuildsVersionLinksToTheVendorAndClosesWhenEscComesUp) {
    frmMain& form = Load();
    const std::wstring version = L"Version 1.0  (1.00." + std::to_wstring(PFADWERK_VERSION_BUILD) + L")";
    bool openAfterOtherKey = false, openWhileEscIsDown = false, closedByEsc = false;
    {
        cModalScript script({[&](HWND about) {
            EXPECT_EQ(version, TextOf(Control(about, IDC_ABOUT_VERSION)));
            EXPECT_EQ(L"www.example.com", TextOf(Control(about, IDC_ABOUT_LINK)));
            SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED),
                         reinterpret_cast<LPARAM>(Control(about, IDC_ABOUT_LINK)));
            EXPECT_EQ(std::vector<HWND>{about}, openedOwners_);
            // Keys as the dialog's loop hands them to the dialog manager.
            auto key = [about](UINT message, WPARAM code) {
                MSG msg{};
                msg.hwnd = GetFocus();
                msg.message = message;
                msg.wParam = code;
                msg.lParam = message == WM_KEYDOWN ? 1 : static_cast<LPARAM>(0xC0000001);
                if (!IsDialogMessageW(about, &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            };
            key(WM_KEYDOWN, 'A');
            key(WM_KEYUP, 'A');
            openAfterOtherKey = !IsWindowEnabled(form.Hwnd());
            key(WM_KEYDOWN, VK_ESCAPE);
            openWhileEscIsDown = !IsWindowEnabled(form.Hwnd());
            key(WM_KEYUP, VK_ESCAPE);
            closedByEsc = IsWindowEnabled(form.Hwnd()) != FALSE;  // EndDialog gives the owner back
            if (!closedByEsc)
                EndDialog(about, IDCANCEL);
            return true;
        }});
        Command(IDM_MENU_ABOUT);
    }
    EXPECT_EQ(std::vector<std::wstring>{L"https://www.example.com/"}, opened_);
    EXPECT_TRUE(openAfterOtherKey);
    EXPECT_TRUE(openWhileEscIsDown) << "Esc closes on its release";
    EXPECT_TRUE(closedByEsc);

    // The version resources of both programs carry the same build.
    for (const wchar_t* program : {L"Pfadwerk.exe", L"PfadwerkHg.exe"}) {
        std::wstring path = DistFolder() + L"\\" + program;
        std::vector<BYTE> data(GetFileVersionInfoSizeW(path.c_str(), nullptr));
        VS_FIXEDFILEINFO* info = nullptr;
        UINT size = 0;
        ASSERT_TRUE(!data.empty() &&
                    GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()) &&
                    VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &size))
            << program;
        EXPECT_EQ(static_cast<DWORD>(PFADWERK_VERSION_BUILD), LOWORD(info->dwFileVersionLS)) << program;
        EXPECT_EQ(static_cast<DWORD>(PFADWERK_VERSION_MAJOR), HIWORD(info->dwFileVersionMS)) << program;
    }
}

TEST_F(Menus, ACommandsWindowEndsTheFolderOpenedHoldAndKeepsTheWindowUpMeanwhile) {
    Store(Setting::ExitBehavior, 1);
    cFakeShell::Log shell;
    frmMainSetup setup = TestSetup(true, database_);
    setup.folderActionServices.presenter = &presenter_;
    setup.folderActionServices.makeShell = [&shell] {
        return std::make_unique<cFakeShell>(shell, std::vector<ShellWindowInfo>{});
    };
    setup.openAddress = [](HWND, const std::wstring&) {};
    form_ = std::make_unique<frmMain>(setup);
    ASSERT_TRUE(form_->Load());
    frmMain& form = *form_;
    form.OpenFolder(TempFolder() + L"\\Quitte", false, false);
    ASSERT_TRUE(form.MouseLeaveWatchEnabled());
    ASSERT_TRUE(form.FolderOpened());
    bool popUpMeanwhile = true, watchMeanwhile = true, closedMeanwhile = true;
    presenter_.duringBox = [&] {
        popUpMeanwhile = form.PopUpBehaviour();
        watchMeanwhile = form.MouseLeaveWatchEnabled();
        OtherWindow other;
        other.Activate();
        Pump(200);
        closedMeanwhile = form.Hwnd() == nullptr;
    };
    Command(IDM_MENU_FEEDBACK);
    ASSERT_NE(nullptr, form.Hwnd());
    EXPECT_FALSE(popUpMeanwhile);
    EXPECT_FALSE(watchMeanwhile);
    EXPECT_FALSE(closedMeanwhile);
    EXPECT_FALSE(form.FolderOpened());
    EXPECT_TRUE(form.PopUpBehaviour()) << "back once the mail is on its way";
}

}  // namespace
}  // namespace pw::test
