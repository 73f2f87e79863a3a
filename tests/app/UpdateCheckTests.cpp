// The update check against a version file served by the test itself on
// 127.0.0.1, with the notices seen through a recording presenter or, for
// the real dialogs, on the screen.
#include <windows.h>
#include <winsock2.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackHttpServer.h"
#include "MainWindowSupport.h"
#include "PfadwerkVersion.h"
#include "PlaceholderText.h"
#include "Settings.h"
#include "modTaskDialog.h"
#include "modUpdateCheck.h"
#include "update_res.h"

using namespace pw;
using namespace pw::test;

namespace {

// ---- What the notices showed -----------------------------------------------------

struct ShownTaskDialog {
    HWND owner = nullptr;
    bool ownerVisible = false;
    DWORD flags = 0;
    DWORD commonButtons = 0;
    std::wstring title, instruction, content, footer;
    std::vector<std::pair<int, std::wstring>> buttons;
    bool ownIcon = false;  // a handle of the program's rather than a system icon id
    WORD systemIcon = 0;
    UINT width = 0;
};

struct ShownMessageBox {
    HWND owner = nullptr;
    std::wstring text, caption;
    UINT style = 0;
};

class cRecordingPresenter : public cDialogPresenter {
  public:
    explicit cRecordingPresenter(int answer = IDCANCEL) : answer_(answer) {}
    int ShowTaskDialog(const TASKDIALOGCONFIG& config, bool* verificationChecked) override {
        ShownTaskDialog shown;
        shown.owner = config.hwndParent;
        shown.ownerVisible = IsWindowVisible(config.hwndParent) != FALSE;
        shown.flags = config.dwFlags;
        shown.commonButtons = config.dwCommonButtons;
        auto text = [](PCWSTR s) { return s ? std::wstring(s) : std::wstring(); };
        shown.title = text(config.pszWindowTitle);
        shown.instruction = text(config.pszMainInstruction);
        shown.content = text(config.pszContent);
        shown.footer = text(config.pszFooter);
        for (UINT i = 0; i < config.cButtons; ++i)
            shown.buttons.emplace_back(config.pButtons[i].nButtonID, text(config.pButtons[i].pszButtonText));
        shown.ownIcon = (config.dwFlags & TDF_USE_HICON_MAIN) && config.hMainIcon;
        if (!(config.dwFlags & TDF_USE_HICON_MAIN))
            shown.systemIcon = LOWORD(reinterpret_cast<ULONG_PTR>(config.pszMainIcon));
        shown.width = config.cxWidth;
        taskDialogs.push_back(shown);
        if (verificationChecked)
            *verificationChecked = false;
        return answer_;
    }
    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) override {
        messageBoxes.push_back({owner, text, caption, style});
        return IDOK;
    }
    std::vector<ShownTaskDialog> taskDialogs;
    std::vector<ShownMessageBox> messageBoxes;

  private:
    int answer_;
};

constexpr char kDownloadPage[] = "http://www.example.com/download/";

std::string VersionFile(const std::string& build, const std::string& manualBuild, const std::string& url) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<pfadwerk>\n  <version_info>\n    <major>1</major>\n"
           "    <minor>10</minor>\n    <build>" +
           build + "</build>\n    <build_manualcheck>" + manualBuild +
           "</build_manualcheck>\n  </version_info>\n  <download_url>" + url + "</download_url>\n</pfadwerk>\n";
}

std::string VersionFile(int build, int manualBuild, const std::string& url = kDownloadPage) {
    return VersionFile(std::to_string(build), std::to_string(manualBuild), url);
}

// ---- The real notices ----------------------------------------------------------------

// The notices tell the test when they are made; they are on the screen a
// moment later, once the dialog's own message loop runs.
std::function<void()> pendingLook;
void CALLBACK RunPendingLook(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    std::function<void()> look = std::move(pendingLook);
    if (look)
        look();
}
void LookLater(HWND window, std::function<void()> look) {
    pendingLook = std::move(look);
    SetTimer(window, 1, 500, &RunPendingLook);
}

std::wstring ControlText(HWND dialog, int id) {
    return TextOf(GetDlgItem(dialog, id));
}

// ---- Fixture -----------------------------------------------------------------------

class UpdateCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetUser();
        ASSERT_TRUE(server.Running());
        services.versionFileUrl = server.Url();
        services.installed = ProgramVersion{1, 10, 45};
        services.family = WindowsFamily::VistaOrLater;
        services.presenter = &presenter;
        services.openAddress = [this](const std::wstring& address) { opened.push_back(address); };
    }
    void TearDown() override { ForgetUser(); }

    // The check with this thread's messages handled meanwhile, as the main
    // window's loop would, until it reports.
    UpdateCheckOutcome Check(bool automatic) {
        std::optional<UpdateCheckOutcome> outcome;
        CheckForUpdates(host, automatic, services, [&outcome](UpdateCheckOutcome got) { outcome = got; });
        if (!PumpUntil([&] { return outcome.has_value(); }, 30000))
            ADD_FAILURE() << "the check never reported";
        return outcome.value_or(UpdateCheckOutcome::AlreadyRunning);
    }

    cLoopbackHttpServer server;
    cRecordingPresenter presenter{IDCANCEL};
    UpdateCheckServices services;
    UpdateCheckHost host;
    std::vector<std::wstring> opened;
};

TEST_F(UpdateCheck, EqualBuildIsNoUpdateAndOnlyAManualCheckSaysSo) {
    server.Answer(200, VersionFile(45, 45));
    EXPECT_EQ(UpdateCheckOutcome::UpToDate, Check(true));
    EXPECT_TRUE(presenter.taskDialogs.empty());
    EXPECT_TRUE(presenter.messageBoxes.empty());

    EXPECT_EQ(UpdateCheckOutcome::UpToDate, Check(false));
    ASSERT_EQ(1u, presenter.taskDialogs.size());
    const ShownTaskDialog& notice = presenter.taskDialogs[0];
    EXPECT_EQ(L"Auf neue Version prüfen", notice.title);
    EXPECT_EQ(L"Ihre Pfadwerk-Fassung ist auf dem neuesten Stand.\r\n", notice.instruction);
    EXPECT_EQ(L"Sie verwenden Version 1.1.0045 von Pfadwerk.\r\nDies ist die zur Zeit aktuelle Version.",
              notice.content);
    EXPECT_EQ(0x1008u, notice.flags);
    EXPECT_EQ(static_cast<DWORD>(TDCBF_OK_BUTTON), notice.commonButtons);
    EXPECT_TRUE(notice.buttons.empty());
    EXPECT_EQ(65533, notice.systemIcon);
    EXPECT_EQ(200u, notice.width);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(2u, server.Requests().size());
    EXPECT_EQ("GET /download/version_check_pw.xml HTTP/1.1", server.Requests()[0]);
}

TEST_F(UpdateCheck, AutomaticChecksReadBuildManualOnesBuildManualcheck) {
    server.Answer(200, VersionFile(45, 46));
    EXPECT_EQ(UpdateCheckOutcome::UpToDate, Check(true));
    EXPECT_TRUE(presenter.taskDialogs.empty());

    EXPECT_EQ(UpdateCheckOutcome::UpdateIgnored, Check(false));
    ASSERT_EQ(1u, presenter.taskDialogs.size());
    EXPECT_EQ(L"Installierte Version:    1.1.0045\r\nVerfügbare Version:   1.1.0046\r\n",
              presenter.taskDialogs[0].content);

    server.Answer(200, VersionFile(47, 45));
    EXPECT_EQ(UpdateCheckOutcome::UpToDate, Check(false));
    EXPECT_EQ(UpdateCheckOutcome::UpdateIgnored, Check(true));
    ASSERT_EQ(3u, presenter.taskDialogs.size());
    EXPECT_EQ(L"Installierte Version:    1.1.0045\r\nVerfügbare Version:   1.1.0047\r\n",
              presenter.taskDialogs[2].content);
}

TEST_F(UpdateCheck, UpdateNoticeOffersTheDownloadAndIgnoreOrCancel) {
    server.Answer(200, VersionFile(50, 50, "https://www.example.com/download/?from=1.1&amp;lang=de"));
    cRecordingPresenter download(1);
    services.presenter = &download;

    EXPECT_EQ(UpdateCheckOutcome::DownloadOpened, Check(true));
    ASSERT_EQ(1u, download.taskDialogs.size());
    const ShownTaskDialog& automatic = download.taskDialogs[0];
    EXPECT_EQ(L"Auf neue Version prüfen", automatic.title);
    EXPECT_EQ(L"Ein neues Update für Pfadwerk ist verfügbar!", automatic.instruction);
    EXPECT_EQ(
        L"Es wird empfohlen, das Update zu installieren, damit Sie von seinen Verbesserungen und "
        L"Problembeseitigungen profitieren können.",
        automatic.footer);
    EXPECT_EQ(0x100Au, automatic.flags);
    EXPECT_TRUE(automatic.ownIcon);
    EXPECT_EQ(210u, automatic.width);
    EXPECT_EQ(0u, automatic.commonButtons);
    EXPECT_EQ((std::vector<std::pair<int, std::wstring>>{{1, L"Download-Webseite öffnen"}, {2, L"Ignorieren"}}),
              automatic.buttons);
    EXPECT_EQ((std::vector<std::wstring>{L"https://www.example.com/download/?from=1.1&lang=de"}), opened);

    EXPECT_EQ(UpdateCheckOutcome::DownloadOpened, Check(false));
    const ShownTaskDialog& manual = download.taskDialogs[1];
    EXPECT_EQ((std::vector<std::pair<int, std::wstring>>{{1, L"Download-Webseite öffnen"}}), manual.buttons);
    EXPECT_EQ(static_cast<DWORD>(TDCBF_CANCEL_BUTTON), manual.commonButtons);

    // Ignorieren, Cancel, Esc: nothing is opened.
    for (int answer : {2, IDCANCEL}) {
        cRecordingPresenter declined(answer);
        services.presenter = &declined;
        EXPECT_EQ(UpdateCheckOutcome::UpdateIgnored, Check(answer == 2));
    }
    EXPECT_EQ(2u, opened.size());
}

TEST_F(UpdateCheck, FailuresSpeakOnlyToAManualCheck) {
    struct Case {
        const char* what;
        int status;
        std::string body;
    };
    const Case cases[] = {
        {"missing element", 200, "<pfadwerk><version_info><major>1</major></version_info></pfadwerk>"},
        {"non-numeric build", 200, VersionFile("5O", "0x50", kDownloadPage)},
        {"not found", 404, VersionFile(50, 50)},
        {"no XML", 200, "<html><body>Wartung</body></html>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.Answer(c.status, c.body);
        presenter.messageBoxes.clear();
        EXPECT_EQ(UpdateCheckOutcome::Failed, Check(true));
        EXPECT_TRUE(presenter.messageBoxes.empty());
        EXPECT_EQ(UpdateCheckOutcome::Failed, Check(false));
        ASSERT_EQ(1u, presenter.messageBoxes.size());
        EXPECT_EQ(
            L"Die Versions-Überprüfung kann wegen Server- oder Verbindungsproblemen zur Zeit nicht "
            L"durchgeführt werden.\r\nBitte wiederholen Sie sie zu einem späteren Zeitpunkt.",
            presenter.messageBoxes[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), presenter.messageBoxes[0].style);
    }
    EXPECT_TRUE(presenter.taskDialogs.empty());

    services.versionFileUrl = cLoopbackHttpServer::DeadUrl();
    EXPECT_EQ(UpdateCheckOutcome::Failed, Check(true));
    EXPECT_EQ(UpdateCheckOutcome::Failed, Check(false));
    EXPECT_EQ(2u, presenter.messageBoxes.size());
}

// A server that takes the request and never answers: the check gives up
// after its time-out while the server still holds on, and the owner keeps
// answering what other threads send it meanwhile.
TEST_F(UpdateCheck, AServerThatNeverAnswersFailsWithinTheTimeOut) {
    server.NeverAnswer();
    services.timeoutMs = 1500;
    OtherWindow owner;
    host.owner = owner.hwnd();
    std::atomic<LRESULT> answered{-1};
    std::thread sender([&] {
        if (WaitForSingleObject(server.HoldingEvent(), 10000) != WAIT_OBJECT_0)
            return;
        DWORD_PTR result = 0;
        answered = SendMessageTimeoutW(owner.hwnd(), WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result) ? 1 : 0;
    });
    EXPECT_EQ(UpdateCheckOutcome::Failed, Check(false));
    sender.join();
    EXPECT_EQ(1, answered.load());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(server.HoldingEvent(), 0));
    ASSERT_EQ(1u, presenter.messageBoxes.size());
    EXPECT_EQ(owner.hwnd(), presenter.messageBoxes[0].owner);
}

TEST_F(UpdateCheck, OnlyWebAddressesAreEverOpened) {
    cRecordingPresenter download(1);
    services.presenter = &download;
    for (const char* url : {"file:///c:/windows/system32/calc.exe", "calc.exe"}) {
        SCOPED_TRACE(url);
        server.Answer(200, VersionFile(50, 50, url));
        EXPECT_EQ(UpdateCheckOutcome::Failed, Check(true));
        EXPECT_EQ(UpdateCheckOutcome::Failed, Check(false));
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(download.taskDialogs.empty());
    EXPECT_EQ(2u, download.messageBoxes.size());
}

TEST_F(UpdateCheck, TheAddressCanBeSetInTheSettings) {
    server.Answer(200, VersionFile(45, 45));
    services.versionFileUrl.clear();
    WriteText(Setting::UpdateCheckUrl, server.Url(L"/mirror/pw.xml"));
    EXPECT_EQ(UpdateCheckOutcome::UpToDate, Check(true));
    ASSERT_EQ(1u, server.Requests().size());
    EXPECT_EQ("GET /mirror/pw.xml HTTP/1.1", server.Requests()[0]);
}

TEST_F(UpdateCheck, ManualCheckLeavesPopUpModeAroundEverything) {
    std::vector<std::string> events;
    host.prepareModal = [&] { events.push_back("prepare"); };
    host.restoreModal = [&] { events.push_back("restore"); };
    services.openAddress = [&](const std::wstring&) { events.push_back("open"); };
    cRecordingPresenter download(1);
    services.presenter = &download;
    server.Answer(200, VersionFile(50, 50));
    Check(true);
    EXPECT_EQ((std::vector<std::string>{"open"}), events);
    events.clear();
    Check(false);
    EXPECT_EQ((std::vector<std::string>{"prepare", "open", "restore"}), events);
}

// ---- The notices as the user sees them -----------------------------------------------

TEST_F(UpdateCheck, NoticeBeforeVistaIsTheFormWithItsButtons) {
    services.family = WindowsFamily::Xp;
    server.Answer(200, VersionFile(46, 46));
    OtherWindow owner;
    host.owner = owner.hwnd();

    struct Seen {
        std::wstring caption, header, descriptions, versions, tip, ok, close;
        bool okVisible = false;
        HWND owner = nullptr;
    };
    std::vector<Seen> seen;
    auto look = [&](HWND dialog, int button) {
        LookLater(dialog, [&seen, dialog, button] {
            seen.push_back({TextOf(dialog), ControlText(dialog, IDC_UPDATE_HEADER),
                            ControlText(dialog, IDC_UPDATE_VERSIONDESC), ControlText(dialog, IDC_UPDATE_VERSIONS),
                            ControlText(dialog, IDC_UPDATE_TIP), ControlText(dialog, IDOK),
                            ControlText(dialog, IDCANCEL), IsWindowVisible(GetDlgItem(dialog, IDOK)) != FALSE,
                            GetWindow(dialog, GW_OWNER)});
            PostMessageW(dialog, WM_COMMAND, button, 0);
        });
    };

    services.onNoticeShown = [&](HWND dialog) { look(dialog, IDCANCEL); };
    EXPECT_EQ(UpdateCheckOutcome::UpdateIgnored, Check(true));
    services.onNoticeShown = [&](HWND dialog) { look(dialog, IDOK); };
    EXPECT_EQ(UpdateCheckOutcome::DownloadOpened, Check(false));
    ASSERT_EQ(2u, seen.size());
    for (const Seen& s : seen) {
        EXPECT_EQ(L"Auf neue Version prüfen", s.caption);
        EXPECT_EQ(L"Ein neues Update für Pfadwerk ist verfügbar!", s.header);
        EXPECT_EQ(L"Installierte Version:\r\nVerfügbare Version:", s.descriptions);
        EXPECT_EQ(L"1.1.0045\r\n1.1.0046", s.versions);
        EXPECT_EQ(L"Download-Webseite öffnen", s.ok);
        EXPECT_TRUE(s.okVisible);
        EXPECT_EQ(owner.hwnd(), s.owner);
    }
    EXPECT_EQ(L"Ignorieren", seen[0].close);
    EXPECT_EQ(L"Schließen", seen[1].close);
    EXPECT_EQ((std::vector<std::wstring>{L"http://www.example.com/download/"}), opened);

    server.Answer(200, VersionFile(45, 45));
    services.onNoticeShown = [&](HWND dialog) { look(dialog, IDCANCEL); };
    EXPECT_EQ(UpdateCheckOutcome::UpToDate, Check(false));
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(L"Ihre Pfadwerk-Fassung ist auf dem neuesten Stand.", seen[2].header);
    EXPECT_EQ(L"Sie verwenden Version 1.1.0045 von Pfadwerk.\r\nDies ist die zur Zeit aktuelle Version.", seen[2].tip);
    EXPECT_EQ(L"OK", seen[2].close);
    EXPECT_FALSE(seen[2].okVisible);
    EXPECT_TRUE(presenter.taskDialogs.empty());
}

TEST_F(UpdateCheck, TaskDialogsOnTheScreen) {
    services.presenter = nullptr;  // the system's task dialogs
    ASSERT_TRUE(IsTaskDialogAvailable());
    OtherWindow owner;
    host.owner = owner.hwnd();
    std::vector<HWND> shown;
    auto click = [&](int button) {
        return [&shown, button](HWND dialog) {
            LookLater(dialog, [&shown, dialog, button] {
                shown.push_back(dialog);
                EXPECT_TRUE(IsWindowVisible(dialog));
                PostMessageW(dialog, TDM_CLICK_BUTTON, button, 0);
            });
        };
    };
    server.Answer(200, VersionFile(46, 46));
    services.onNoticeShown = click(1);
    EXPECT_EQ(UpdateCheckOutcome::DownloadOpened, Check(false));
    services.onNoticeShown = click(2);
    EXPECT_EQ(UpdateCheckOutcome::UpdateIgnored, Check(true));
    server.Answer(200, VersionFile(45, 45));
    services.onNoticeShown = click(IDOK);
    EXPECT_EQ(UpdateCheckOutcome::UpToDate, Check(false));
    ASSERT_EQ(3u, shown.size());
    for (HWND dialog : shown)
        EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(1u, opened.size());
}

// ---- The weekly check when the main window closes --------------------------------------

TEST_F(UpdateCheck, WeeklyRuleWritesTheDayBeforeTheCheck) {
    const LocalTime now{2024, 3, 5, 15, 0, 0};
    // A user who never checked: due, and today (after noon: the next day's
    // number) is stored.
    EXPECT_TRUE(TakeWeeklyUpdateCheckDue(now));
    EXPECT_EQ(45357u, StoredNumber(Setting::LastUpdateCheck));
    EXPECT_FALSE(TakeWeeklyUpdateCheckDue(now));
    EXPECT_FALSE(TakeWeeklyUpdateCheckDue({2024, 3, 13, 23, 0, 0}));
    EXPECT_TRUE(TakeWeeklyUpdateCheckDue({2024, 3, 14, 8, 0, 0}));
    EXPECT_EQ(45365u, StoredNumber(Setting::LastUpdateCheck));

    Store(Setting::CheckForUpdates, 0);
    Store(Setting::LastUpdateCheck, 1);
    EXPECT_FALSE(TakeWeeklyUpdateCheckDue(now));
    EXPECT_EQ(1u, StoredNumber(Setting::LastUpdateCheck));
}

// The main window's own check: a manual one when asked, the weekly one as it
// closes, against a file that offers an update to automatic checks only.
TEST_F(UpdateCheck, ClosingTheMainWindowTwiceWithinAWeekChecksOnce) {
    Store(Setting::ExitBehavior, 3);  // only the test closes the windows
    server.Answer(200, VersionFile(50, 45));
    auto load = [this] {
        frmMainSetup setup = TestSetup();
        setup.updateCheckServices = services;
        auto form = std::make_unique<frmMain>(setup);
        EXPECT_TRUE(form->Load());
        Pump(50);
        return form;
    };
    const std::vector<ShownTaskDialog>& notices = presenter.taskDialogs;
    auto checkDone = [] { return PumpUntil([] { return !UpdateCheckRunning(); }, 30000); };

    auto form = load();
    form->CheckForUpdates(false);
    ASSERT_TRUE(checkDone());
    ASSERT_EQ(1u, notices.size());
    EXPECT_EQ(L"Ihre Pfadwerk-Fassung ist auf dem neuesten Stand.\r\n", notices[0].instruction);
    EXPECT_EQ(form->Hwnd(), notices[0].owner);
    EXPECT_TRUE(IsWindow(form->Hwnd()));
    EXPECT_FALSE(StoredNumber(Setting::LastUpdateCheck).has_value());

    form->Unload();
    ASSERT_TRUE(checkDone());
    ASSERT_EQ(2u, notices.size());
    EXPECT_EQ(L"Ein neues Update für Pfadwerk ist verfügbar!", notices[1].instruction);
    EXPECT_FALSE(notices[1].ownerVisible);  // the closed window is gone before the check
    std::optional<DWORD> stored = StoredNumber(Setting::LastUpdateCheck);
    ASSERT_TRUE(stored.has_value());
    EXPECT_LE(std::abs(static_cast<long>(*stored) - UpdateCheckDayNumber(SystemLocalTime())), 1);
    load()->Unload();
    EXPECT_FALSE(UpdateCheckRunning());
    EXPECT_EQ(2u, notices.size());

    // Eight days on it is due again, but not for a window that is reloaded,
    // nor when Windows shuts down.
    const DWORD eightDaysAgo = static_cast<DWORD>(DateSerial(SystemLocalTime())) - 8;
    Store(Setting::LastUpdateCheck, eightDaysAgo);
    load()->UnloadForReload();
    {
        auto shuttingDown = load();
        ASSERT_NE(nullptr, shuttingDown->Hwnd());
        SendMessageW(shuttingDown->Hwnd(), WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(nullptr, shuttingDown->Hwnd());
    }
    EXPECT_FALSE(UpdateCheckRunning());
    EXPECT_EQ(2u, notices.size());
    EXPECT_EQ(eightDaysAgo, *StoredNumber(Setting::LastUpdateCheck));
    load()->Unload();
    ASSERT_TRUE(checkDone());
    EXPECT_EQ(3u, notices.size());
    EXPECT_EQ(3u, server.Requests().size());
}

TEST_F(UpdateCheck, ThisProgramKnowsItsVersion) {
    ProgramVersion version = ThisProgramVersion();
    EXPECT_EQ(PFADWERK_VERSION_MAJOR, version.major);
    EXPECT_EQ(PFADWERK_VERSION_MINOR, version.minor);
    EXPECT_EQ(PFADWERK_VERSION_BUILD, version.build);
}

// ---- Texts through the system's formatting ----------------------------------------------

TEST(PlaceholderText, SystemPicturesAndTexts) {
    const PlaceholderValue values[] = {std::int64_t{45}, PlaceholderDate{45354.5}, std::wstring(L"Text")};
    FormatResult result = FormatPlaceholders(L"[0000] [dd.mm.yyyy hh:nn] [2:ww] [*]", values);
    ASSERT_TRUE(result.Ok());
    // 3 March 2024 is a Sunday: with weeks from Sunday and the first week
    // holding 1 January it starts week 10.
    EXPECT_EQ(L"0045 03.03.2024 12:00 10 Text", result.text);
}

}  // namespace
