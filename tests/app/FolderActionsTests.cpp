// The folder actions against a fake window collection, the real clipboard,
// a scratch history, the registry of the test prefix and the shipped worker.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "Database.h"
#include "FakeFolderShell.h"
#include "FolderActions.h"
#include "Settings.h"
#include "TestHistory.h"
#include "Text.h"
#include "modTaskDialog.h"
#include "worker/WorkerHarness.h"

using namespace pw;

namespace {

// ---- Fakes -------------------------------------------------------------------------

// A main window that only notes what the actions ask of it.
struct cHostLog {
    std::vector<std::string> events;
    std::optional<bool> folderOpened;

    FolderActionHost Host(int exitBehavior, bool explorerDefault = false, bool reuse = false, HWND window = nullptr) {
        FolderActionHost host;
        host.window = window;
        host.options = {explorerDefault, reuse, static_cast<ExitBehavior>(exitBehavior)};
        host.setFolderOpened = [this](bool on) {
            folderOpened = on;
            events.push_back(on ? "opened" : "not opened");
        };
        host.makeTopmost = [this] { events.push_back("topmost"); };
        host.enableMouseLeaveWatch = [this] { events.push_back("watch"); };
        host.minimize = [this] { events.push_back("minimize"); };
        host.hideAndUnload = [this] { events.push_back("hide+unload"); };
        host.unloadAfterMenu = [this] { events.push_back("unload after menu"); };
        host.reloadList = [this] { events.push_back("reload"); };
        host.prepareModal = [this] { events.push_back("prepare modal"); };
        host.restoreModal = [this] { events.push_back("restore modal"); };
        return host;
    }
};

using Events = std::vector<std::string>;
using Calls = std::vector<std::wstring>;

const ShellWindowInfo kFolder{true, reinterpret_cast<HWND>(0x100), false};
const ShellWindowInfo kMinimizedFolder{true, reinterpret_cast<HWND>(0x200), true};
const ShellWindowInfo kWebPage{false, reinterpret_cast<HWND>(0x300), false};

struct OpenRun {
    cHostLog host;
    cFakeShell::Log shell;
};

void Open(OpenRun& run,
          const FolderActionHost& host,
          std::vector<ShellWindowInfo> windows,
          OpenRequest request,
          bool listable = true,
          bool navigable = true) {
    FolderActionServices services;
    services.makeShell = [&run, windows, listable, navigable] {
        return std::make_unique<cFakeShell>(run.shell, windows, listable, navigable);
    };
    OpenFolder(host, L"C:\\Daten\\Müller's Ordner", request.invertOpenMode, request.invertReuse, services);
}

// ---- Opening ------------------------------------------------------------------------

TEST(OpenFolder, NewWindowThenExitBehavior) {
    struct Row {
        int exitBehavior;
        Events events;
    };
    const Row rows[] = {
        {1, {"opened", "topmost", "watch"}},       {2, {"opened", "topmost", "watch"}}, {3, {"opened"}},
        {4, {"opened", "minimize", "not opened"}}, {5, {"opened", "hide+unload"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.exitBehavior);
        OpenRun run;
        Open(run, run.host.Host(row.exitBehavior), {kFolder}, PlainClickRequest());
        EXPECT_EQ(run.host.events, row.events);
        EXPECT_FALSE(run.shell.listed);  // reuse is off
        EXPECT_EQ(run.shell.calls, Calls{L"open plain C:\\Daten\\Müller's Ordner"});
    }
}

TEST(OpenFolder, ReusedWindowIsNavigatedAndOnlyWatchedForEveryExitBehavior) {
    for (int exitBehavior = 1; exitBehavior <= 5; ++exitBehavior) {
        SCOPED_TRACE(exitBehavior);
        OpenRun run;
        Open(run, run.host.Host(exitBehavior, false, true), {kWebPage, kMinimizedFolder, kFolder, kFolder},
             PlainClickRequest());
        EXPECT_EQ(run.shell.calls, (Calls{L"front 2", L"navigate 2 C:\\Daten\\Müller's Ordner"}));
        Events expected = exitBehavior <= 2 ? Events{"opened", "topmost", "watch"} : Events{"opened", "watch"};
        EXPECT_EQ(run.host.events, expected);
    }
}

TEST(OpenFolder, OnlyMinimizedFolderWindowsTheFirstIsRestored) {
    OpenRun run;
    Open(run, run.host.Host(3, false, true), {kWebPage, kMinimizedFolder, kMinimizedFolder}, PlainClickRequest());
    EXPECT_EQ(run.shell.calls, (Calls{L"restore 1", L"front 1", L"navigate 1 C:\\Daten\\Müller's Ordner"}));
    EXPECT_EQ(run.host.events, (Events{"opened", "watch"}));
}

TEST(OpenFolder, NoFolderWindowOrAFailureOpensANewWindow) {
    {
        SCOPED_TRACE("web pages only");
        OpenRun run;
        Open(run, run.host.Host(4, true, true), {kWebPage, kWebPage}, PlainClickRequest());
        EXPECT_TRUE(run.shell.listed);
        EXPECT_EQ(run.shell.calls, Calls{L"open explorer C:\\Daten\\Müller's Ordner"});
        EXPECT_EQ(run.host.events, (Events{"opened", "minimize", "not opened"}));
    }
    {
        SCOPED_TRACE("no window at all");
        OpenRun run;
        Open(run, run.host.Host(3, false, true), {}, PlainClickRequest());
        EXPECT_EQ(run.shell.calls, Calls{L"open plain C:\\Daten\\Müller's Ordner"});
    }
    {
        SCOPED_TRACE("collection unavailable");
        OpenRun run;
        Open(run, run.host.Host(3, false, true), {kFolder}, PlainClickRequest(), false);
        EXPECT_EQ(run.shell.calls, Calls{L"open plain C:\\Daten\\Müller's Ordner"});
    }
    {
        SCOPED_TRACE("navigation fails");
        OpenRun run;
        Open(run, run.host.Host(5, false, true), {kFolder}, PlainClickRequest(), true, false);
        EXPECT_EQ(run.shell.calls, (Calls{L"front 0", L"navigate 0 C:\\Daten\\Müller's Ordner",
                                          L"open plain C:\\Daten\\Müller's Ordner"}));
        EXPECT_EQ(run.host.events, (Events{"opened", "hide+unload"}));
    }
}

TEST(OpenFolder, MenuEntries) {
    for (bool reuse : {false, true}) {
        SCOPED_TRACE(reuse);
        // "Explorer (mit Ordnerleiste)": the other kind, never an open window.
        OpenRun explorer;
        Open(explorer, explorer.host.Host(3, false, reuse), {kFolder}, ExplorerMenuRequest(reuse));
        EXPECT_FALSE(explorer.shell.listed);
        EXPECT_EQ(explorer.shell.calls, Calls{L"open explorer C:\\Daten\\Müller's Ordner"});

        // Its twin with Explorer as the default opens a plain window.
        OpenRun plain;
        Open(plain, plain.host.Host(3, true, reuse), {kFolder}, ExplorerMenuRequest(reuse));
        EXPECT_EQ(plain.shell.calls, Calls{L"open plain C:\\Daten\\Müller's Ordner"});

        // "In vorhandenem / neuem Fenster öffnen": reuse the other way round.
        OpenRun existing;
        Open(existing, existing.host.Host(3, false, reuse), {kFolder}, OpenExistingMenuRequest());
        Calls expected = reuse ? Calls{L"open plain C:\\Daten\\Müller's Ordner"}
                               : Calls{L"front 0", L"navigate 0 C:\\Daten\\Müller's Ordner"};
        EXPECT_EQ(existing.shell.calls, expected);
    }
}

// ---- Notices ----------------------------------------------------------------------------

TEST(Notices, TextsOfCopyingAndRemoving) {
    NoticeTexts copy = CopyPathNotice(L"Berichte");
    EXPECT_EQ(copy.instruction,
              L"Der Pfad des Ordners 'Berichte' wurde in die Zwischenablage kopiert. Er kann nun z.B. in einem "
              L"\"Datei öffnen\"-Dialogfeld eingefügt werden.");
    EXPECT_EQ(copy.content,
              L"Tip: Um einen Ordnerpfad am schnellsten zu kopieren, zeigen Sie einfach auf den Ordner in der Liste, "
              L"und drücken Sie Strg+C.");
    EXPECT_EQ(NoticeMessageBoxText(copy), copy.instruction + L"\r\n\r\n\r\n" + copy.content);

    NoticeTexts remove = RemoveEntryNotice();
    EXPECT_EQ(remove.instruction,
              L"Der Ordner wurde aus der Liste entfernt. Er wird wieder hinzugefügt, wenn Sie den Ordner erneut "
              L"verwenden.");
    EXPECT_EQ(remove.content,
              L"Tips:\r\n- Um einen Ordner am schnellsten aus der Liste zu entfernen, zeigen Sie einfach auf den "
              L"Ordner in der Liste, und drücken Sie Entf.\r\n- Um einen Ordner dauerhaft zu entfernen, klicken Sie "
              L"auf \"Immer ignorieren\".");
}

class cRecordingPresenter final : public cDialogPresenter {
  public:
    int ShowTaskDialog(const TASKDIALOGCONFIG& config, bool* verificationChecked) override {
        ++taskDialogs;
        owner = config.hwndParent;
        instruction = config.pszMainInstruction ? config.pszMainInstruction : L"";
        content = config.pszContent ? config.pszContent : L"";
        verification = config.pszVerificationText ? config.pszVerificationText : L"";
        if (verificationChecked)
            *verificationChecked = tick;
        return IDOK;
    }
    int ShowMessageBox(HWND box, const std::wstring& text, const std::wstring& caption, UINT style) override {
        ++messageBoxes;
        owner = box;
        this->text = text;
        this->caption = caption;
        this->style = style;
        return IDOK;
    }
    bool tick = false;
    int taskDialogs = 0, messageBoxes = 0;
    HWND owner = nullptr;
    std::wstring instruction, content, verification, text, caption;
    UINT style = 0;
};

// Keeps a TipShown_ value of the test prefix as it was.
class cSavedFlag {
  public:
    explicit cSavedFlag(Setting flag) : flag_(flag) {
        DWORD size = sizeof value_;
        existed_ = RegGetValueW(HKEY_CURRENT_USER, SectionKeyOf(SettingsKey::CurrentSettings), Def(flag).name,
                                RRF_RT_REG_DWORD, nullptr, &value_, &size) == ERROR_SUCCESS;
    }
    ~cSavedFlag() {
        if (existed_)
            WriteNumber(flag_, static_cast<std::int32_t>(value_));
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, SectionKeyOf(SettingsKey::CurrentSettings), Def(flag_).name);
    }

  private:
    Setting flag_;
    DWORD value_ = 0;
    bool existed_ = false;
};

std::optional<std::wstring> ClipboardText() {
    if (!OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = std::wstring(chars);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

TEST(CopyFolderPath, PutsExactlyThePathOnTheClipboard) {
    cSavedFlag saved(Setting::TipShown_CopyPath);
    WriteNumber(Setting::TipShown_CopyPath, 1);
    const std::wstring path = L"C:\\Dokumente und Einstellungen\\Jörg\\Eigene Dateien\\Rock 'n' Roll";
    cHostLog log;
    cRecordingPresenter presenter;
    FolderActionServices services;
    services.presenter = &presenter;
    ASSERT_TRUE(CopyFolderPath(log.Host(1), path, L"Rock 'n' Roll", services));
    EXPECT_EQ(ClipboardText(), path);
    // Copying again replaces the text; nothing of the longer one is left.
    ASSERT_TRUE(CopyFolderPath(log.Host(1), L"D:\\", L"D:", services));
    EXPECT_EQ(ClipboardText(), std::wstring(L"D:\\"));
    // The tip was confirmed before: no notice and no modal frame.
    EXPECT_EQ(presenter.taskDialogs + presenter.messageBoxes, 0);
    EXPECT_TRUE(log.events.empty());
}

TEST(CopyFolderPath, NoticeOnVistaUntilTheBoxIsTicked) {
    cSavedFlag saved(Setting::TipShown_CopyPath);
    WriteNumber(Setting::TipShown_CopyPath, 0);
    cHostLog log;
    cRecordingPresenter presenter;
    FolderActionServices services;
    services.presenter = &presenter;
    services.family = WindowsFamily::VistaOrLater;
    HWND owner = GetDesktopWindow();
    ASSERT_TRUE(CopyFolderPath(log.Host(1, false, false, owner), L"C:\\Berichte", L"Berichte", services));
    EXPECT_EQ(presenter.taskDialogs, 1);
    EXPECT_EQ(presenter.owner, owner);
    EXPECT_EQ(presenter.instruction, CopyPathNotice(L"Berichte").instruction);
    EXPECT_EQ(presenter.content, CopyPathNotice(L"Berichte").content);
    EXPECT_EQ(presenter.verification, L"Diesen Hinweis nicht mehr anzeigen");
    EXPECT_EQ(log.events, (Events{"prepare modal", "restore modal"}));
    EXPECT_EQ(ReadNumber(Setting::TipShown_CopyPath), 0);

    presenter.tick = true;
    ASSERT_TRUE(CopyFolderPath(log.Host(1), L"C:\\Berichte", L"Berichte", services));
    EXPECT_EQ(presenter.taskDialogs, 2);
    EXPECT_EQ(ReadNumber(Setting::TipShown_CopyPath), 1);

    ASSERT_TRUE(CopyFolderPath(log.Host(1), L"C:\\Berichte", L"Berichte", services));
    EXPECT_EQ(presenter.taskDialogs, 2);
}

TEST(CopyFolderPath, OlderSystemsShowTheMessageBoxOnce) {
    cSavedFlag saved(Setting::TipShown_CopyPath);
    WriteNumber(Setting::TipShown_CopyPath, 0);
    cHostLog log;
    cRecordingPresenter presenter;
    FolderActionServices services;
    services.presenter = &presenter;
    services.family = WindowsFamily::Xp;
    ASSERT_TRUE(CopyFolderPath(log.Host(3), L"C:\\Berichte", L"Berichte", services));
    ASSERT_TRUE(CopyFolderPath(log.Host(3), L"C:\\Berichte", L"Berichte", services));
    EXPECT_EQ(presenter.messageBoxes, 1);
    EXPECT_EQ(presenter.taskDialogs, 0);
    EXPECT_EQ(presenter.text,
              CopyPathNotice(L"Berichte").instruction + L"\r\n\r\n\r\n" + CopyPathNotice(L"Berichte").content);
    EXPECT_EQ(presenter.caption, L"Pfadwerk");
    EXPECT_EQ(presenter.style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(ReadNumber(Setting::TipShown_CopyPath), 1);
}

// ---- Paths that are no folder -------------------------------------------------------------

// A history path names whatever any local program reported: a file is never
// run, and neither is a bare name the shell would find along the program path.
TEST(OpenFolder, AFileOrABareNameIsNeverHandedToTheShell) {
    pwtest::ScratchDir dir("open-target");
    const std::wstring file = (dir / "Bericht.cmd").wstring();
    { std::ofstream(dir / "Bericht.cmd") << "exit"; }
    for (const std::wstring& path : {file, std::wstring(L"calc.exe")}) {
        SCOPED_TRACE(ToUtf8(path));
        cHostLog log;
        cRecordingPresenter presenter;
        OpenRun run;
        FolderActionServices services;
        services.presenter = &presenter;
        services.makeShell = [&run] { return std::make_unique<cFakeShell>(run.shell, std::vector{kFolder}); };
        EXPECT_FALSE(OpenFolder(log.Host(5, false, true), path, false, false, services));
        EXPECT_TRUE(run.shell.calls.empty());
        EXPECT_EQ(presenter.messageBoxes, 1);
        EXPECT_NE(presenter.text.find(L"'" + path + L"' nicht öffnen, weil es kein Ordner ist"), std::wstring::npos);
        EXPECT_EQ(presenter.style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        // Nothing was opened: the main window stays as it is.
        EXPECT_EQ(log.events, (Events{"prepare modal", "restore modal"}));
    }
    // Folders, also the one holding the file, and the shell's own paths open as before.
    for (const std::wstring& path : {dir.Path().wstring(), std::wstring(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}")}) {
        OpenRun run;
        FolderActionServices services;
        services.makeShell = [&run] { return std::make_unique<cFakeShell>(run.shell, std::vector<ShellWindowInfo>{}); };
        EXPECT_TRUE(OpenFolder(run.host.Host(3), path, false, false, services));
        EXPECT_EQ(run.shell.calls, Calls{L"open plain " + path});
    }
}

// ---- Removing from the history --------------------------------------------------------------

long CountRows(const std::wstring& database, const std::wstring& path) {
    cDatabase db;
    if (!db.Open(database))
        return -1;
    long n = -1;
    db.Query(L"SELECT Count(*) FROM FoldersProtocol WHERE FolderPath = '" + QuoteSql(path) + L"'",
             [&](const cRow& row) {
                 n = row.Long(0);
                 return true;
             });
    return n;
}

TEST(RemoveFolderFromHistory, DeletesAllVisitsOfExactlyThatPath) {
    cSavedFlag saved(Setting::TipShown_RemoveEntry);
    WriteNumber(Setting::TipShown_RemoveEntry, 0);
    pwtest::ScratchDir dir("folder-actions-remove");
    const std::wstring database = (dir / "Pfadwerk.dat").wstring();
    ASSERT_TRUE(pwtest::CreateHistory(database));
    const std::wstring target = L"C:\\Rock 'n' Roll";
    const std::vector<std::wstring> others = {L"C:\\Rock 'n' Roll\\Live", L"C:\\Rock ''n'' Roll", L"C:\\Rock n Roll",
                                              L"C:\\rock 'n' roll\\", L"D:\\Rock 'n' Roll"};
    {
        cDatabase db;
        ASSERT_TRUE(db.Open(database));
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(db.AppendVisit(target, L"Rock 'n' Roll"));
        for (const auto& other : others)
            ASSERT_TRUE(db.AppendVisit(other, L"x"));
    }
    ASSERT_EQ(CountRows(database, target), 3);

    cHostLog log;
    cRecordingPresenter presenter;
    FolderActionServices services;
    services.presenter = &presenter;
    services.family = WindowsFamily::VistaOrLater;
    services.databasePath = database;
    EXPECT_TRUE(RemoveFolderFromHistory(log.Host(1), target, services));

    EXPECT_EQ(CountRows(database, target), 0);
    for (const auto& other : others)
        EXPECT_EQ(CountRows(database, other), 1) << testing::PrintToString(other);
    // Compacted in place: no copy is left beside it.
    EXPECT_FALSE(std::filesystem::exists(dir / "PfadwerkC.dat"));
    EXPECT_EQ(log.events, (Events{"reload", "prepare modal", "restore modal"}));
    EXPECT_EQ(presenter.instruction, RemoveEntryNotice().instruction);
    EXPECT_EQ(presenter.content, RemoveEntryNotice().content);
    EXPECT_EQ(presenter.verification, L"Diesen Hinweis nicht mehr anzeigen");
}

TEST(RemoveFolderFromHistory, ConfirmedTipAndMissingHistory) {
    cSavedFlag saved(Setting::TipShown_RemoveEntry);
    pwtest::ScratchDir dir("folder-actions-remove-missing");
    cRecordingPresenter presenter;
    FolderActionServices services;
    services.presenter = &presenter;
    services.family = WindowsFamily::Xp;

    // No history file: nothing was removed, so the notice does not say so.
    WriteNumber(Setting::TipShown_RemoveEntry, 0);
    services.databasePath = (dir / "Pfadwerk.dat").wstring();
    cHostLog missing;
    EXPECT_FALSE(RemoveFolderFromHistory(missing.Host(1), L"C:\\Daten", services));
    EXPECT_EQ(presenter.messageBoxes, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "Pfadwerk.dat"));

    ASSERT_TRUE(pwtest::CreateHistory(services.databasePath));
    cHostLog first;
    EXPECT_TRUE(RemoveFolderFromHistory(first.Host(1), L"C:\\Daten", services));
    EXPECT_EQ(presenter.messageBoxes, 1);
    EXPECT_EQ(presenter.text, NoticeMessageBoxText(RemoveEntryNotice()));
    cHostLog second;
    EXPECT_TRUE(RemoveFolderFromHistory(second.Host(1), L"C:\\Daten", services));
    EXPECT_EQ(presenter.messageBoxes, 1);
    EXPECT_EQ(second.events, Events{"reload"});
}

// ---- Properties through the worker ----------------------------------------------------------

// A window of this test captioned like the worker, keeping what it is sent.
class cFakeWorkerWindow {
  public:
    cFakeWorkerWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PfadwerkFakeWorker";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, WorkerCaption().c_str(), WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~cFakeWorkerWindow() { DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

    struct Received {
        ULONG_PTR id;
        DWORD bytes;
        std::vector<unsigned char> data;
        WPARAM wParam;
    };
    std::vector<Received> received;

  private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_COPYDATA) {
            auto* self = reinterpret_cast<cFakeWorkerWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const auto* bytes = static_cast<const unsigned char*>(data->lpData);
            if (self)
                self->received.push_back({data->dwData, data->cbData, {bytes, bytes + data->cbData}, wParam});
            return 1;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
};

class RequestFolderPropertiesTest : public ::testing::Test {
  protected:
    void SetUp() override { pwtest::ResetWorkerAndHistory(); }
    void TearDown() override { pwtest::ResetWorkerAndHistory(); }

    // The request with this thread's messages handled as the main window's
    // loop would, until it reports whether it was sent.
    static bool Request(const FolderActionHost& host, const std::wstring& path, const FolderActionServices& services) {
        std::optional<bool> sent;
        RequestFolderProperties(host, path, services, [&sent](bool result) { sent = result; });
        const ULONGLONG giveUp = GetTickCount64() + services.workerWaitMs + 10000;
        while (!sent && GetTickCount64() < giveUp) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
        }
        if (!sent)
            ADD_FAILURE() << "the request never reported";
        return sent.value_or(false);
    }
};

TEST_F(RequestFolderPropertiesTest, TheRequestCarriesOwnerAndPathWithoutANul) {
    cFakeWorkerWindow worker;
    HWND owner = GetDesktopWindow();
    const std::wstring path = L"C:\\Daten\\Müller's Ordner";
    const std::wstring expected =
        PropertiesRequestText(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(owner)), path);
    const std::pair<int, Events> rows[] = {
        {1, {"unload after menu"}}, {2, {"minimize"}}, {3, {}}, {4, {"minimize"}}, {5, {"unload after menu"}}};
    for (const auto& [exitBehavior, events] : rows) {
        SCOPED_TRACE(exitBehavior);
        worker.received.clear();
        cHostLog log;
        int starts = 0;
        FolderActionServices services;
        services.startProcess = [&](const std::wstring&) { return ++starts, true; };
        ASSERT_TRUE(Request(log.Host(exitBehavior, false, false, owner), path, services));
        EXPECT_EQ(starts, 0);
        ASSERT_EQ(worker.received.size(), 1u);
        const auto& got = worker.received[0];
        EXPECT_EQ(got.id, 0u);
        EXPECT_EQ(got.wParam, 0u);
        EXPECT_EQ(got.bytes, expected.size() * 2);
        EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(got.data.data()), got.data.size() / 2), expected);
        EXPECT_EQ(log.events, events);
    }
}

TEST_F(RequestFolderPropertiesTest, ARunningWorkerTakesTheRequestAndCarriesOn) {
    pwtest::WorkerProcess worker;
    ASSERT_TRUE(worker.Started());
    ASSERT_NE(worker.WaitForWindow(), nullptr);
    cHostLog log;
    FolderActionServices services;
    services.startProcess = [](const std::wstring&) { return false; };
    EXPECT_TRUE(Request(log.Host(3), L"C:\\windows", services));
    // The worker handles requests in order: a visit sent after the request is
    // stored only once the request has been dealt with.
    pwtest::SendPayload(worker.Window(), L"Nachher|\\|C:\\Nachher");
    EXPECT_TRUE(pwtest::WaitFor([] { return pwtest::HistoryRows(L"WHERE FolderPath = 'C:\\Nachher'") == 1; }, 20000));
    EXPECT_TRUE(worker.Running());
    EXPECT_EQ(pwtest::HistoryRows(), 1);  // the request itself is no visit
}

TEST_F(RequestFolderPropertiesTest, AMissingWorkerIsStartedFromTheProgramFolder) {
    // The program folder: a scratch copy holding the worker alone.
    pwtest::ScratchCopy copy;
    ASSERT_EQ(pwtest::FindWorkerWindow(), nullptr);
    cHostLog log;
    std::vector<std::wstring> started;
    FolderActionServices services;
    services.programFolder = copy.Exe().parent_path().wstring();
    services.workerWaitMs = 20000;
    services.startProcess = [&](const std::wstring& exe) {
        started.push_back(exe);
        return StartProgram(exe);
    };
    EXPECT_TRUE(Request(log.Host(1), L"C:\\windows", services));
    EXPECT_EQ(started, std::vector<std::wstring>{copy.Exe().wstring()});
    HWND worker = pwtest::FindWorkerWindow();
    ASSERT_NE(worker, nullptr);
    DWORD pid = 0;
    GetWindowThreadProcessId(worker, &pid);
    EXPECT_NE(pid, GetCurrentProcessId());
    EXPECT_EQ(log.events, Events{"unload after menu"});
    // Ended before its folder goes, or the running program file would stay.
    pwtest::ResetWorkerAndHistory();
}

TEST_F(RequestFolderPropertiesTest, AWorkerThatNeverAppearsIsStartedOnceAndGivenUp) {
    cHostLog log;
    std::vector<std::wstring> started;
    FolderActionServices services;
    services.programFolder = L"C:\\Programme\\Pfadwerk";
    services.workerWaitMs = 300;
    services.startProcess = [&](const std::wstring& exe) {
        started.push_back(exe);
        return true;  // started, but no window ever shows
    };
    EXPECT_FALSE(Request(log.Host(1), L"C:\\windows", services));
    EXPECT_EQ(started, std::vector<std::wstring>{L"C:\\Programme\\Pfadwerk\\PfadwerkHg.exe"});
    EXPECT_TRUE(log.events.empty());  // nothing was sent: the main window stays
}

TEST_F(RequestFolderPropertiesTest, ARequestWaitingForTheWorkerGoesWithItsWindow) {
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    cHostLog log;
    FolderActionServices services;
    services.programFolder = L"C:\\Programme\\Pfadwerk";
    services.workerWaitMs = 20000;
    services.startProcess = [](const std::wstring&) { return true; };  // its window comes later
    bool reported = false;
    RequestFolderProperties(log.Host(1, false, false, window), L"C:\\windows", services,
                            [&reported](bool) { reported = true; });
    DestroyWindow(window);
    cFakeWorkerWindow worker;  // appears once the window that asked is gone
    const ULONGLONG until = GetTickCount64() + 300;
    while (GetTickCount64() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    EXPECT_FALSE(reported);
    EXPECT_TRUE(worker.received.empty());
    EXPECT_TRUE(log.events.empty());
}

TEST_F(RequestFolderPropertiesTest, AProgramFolderWithoutTheWorkerGivesUpQuietly) {
    pwtest::ScratchDir empty("folder-actions-no-worker");
    cHostLog log;
    FolderActionServices services;
    services.programFolder = empty.Path().wstring();
    EXPECT_FALSE(Request(log.Host(2), L"C:\\windows", services));
    EXPECT_EQ(pwtest::FindWorkerWindow(), nullptr);
    EXPECT_TRUE(log.events.empty());
}

}  // namespace
