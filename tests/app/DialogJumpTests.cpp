// The dialog jump end to end: a program waits in an Open or Save dialog
// (FileDialogHost), the worker's hot key starts the main program with that
// dialog in front, and an entry opened in the main window takes the dialog to
// the folder while the name typed in it stays.
#include "DialogJump.h"
#include "FavoritesStore.h"
#include "HistoryQueries.h"
#include "MainWindowSupport.h"
#include "ProgramNames.h"
#include "ResText.h"
#include "Text.h"
#include "WorkerProtocol.h"
#include "WorkerWindow.h"
#include "app_res.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace pw::test {
namespace {

constexpr wchar_t kTypedName[] = L"behalten.txt";

class cChild {
  public:
    cChild(const std::wstring& exe, const std::wstring& arguments) {
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &info)) {
            CloseHandle(info.hThread);
            process_.Reset(info.hProcess);
        }
    }
    ~cChild() {
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.Get(), 1);
    }
    bool Started() const { return static_cast<bool>(process_); }

  private:
    cHandle process_;
};

// The lines FileDialogHost has written so far.
std::vector<std::wstring> LogLines(const std::wstring& log) {
    std::ifstream in(std::filesystem::path(log), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    std::wstring wide = FromUtf8(text);
    std::vector<std::wstring> lines;
    std::wstringstream stream(wide);
    for (std::wstring line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The folders the dialog logged, in order.
std::vector<std::wstring> LoggedFolders(const std::wstring& log) {
    std::vector<std::wstring> folders;
    for (const std::wstring& line : LogLines(log)) {
        if (line.rfind(L"folder ", 0) != 0)
            continue;
        size_t blank = line.find(L' ', 7);
        folders.push_back(blank == std::wstring::npos ? L"" : line.substr(blank + 1));
    }
    return folders;
}

bool SameFolder(std::wstring a, std::wstring b) {
    while (!a.empty() && a.back() == L'\\')
        a.pop_back();
    while (!b.empty() && b.back() == L'\\')
        b.pop_back();
    return FoldCase(a) == FoldCase(b);
}

struct ChildSearch {
    const wchar_t* name;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (_wcsicmp(name, search->name) != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// The first visible control of that class.
HWND FindChild(HWND parent, const wchar_t* className) {
    ChildSearch search{className, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND VisibleMainWindow() {
    for (HWND w = FindWindowW(kMainWindowClass, nullptr); w; w = FindWindowExW(nullptr, w, kMainWindowClass, nullptr)) {
        if (IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

void PressKey(HWND control, WORD key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

class DialogJump : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetUser();
        // Past the welcome pane of the first start.
        Store(Setting::SetupDone, 1);
        EndWorker();
        root_ = ScratchFolder(L"pfadwerk-dialogjump");
        DeleteTree(root_);
        CreateDirectoryW(root_.c_str(), nullptr);
        start_ = root_ + L"\\start";
        target_ = root_ + L"\\ziel";
        favorite_ = root_ + L"\\favorit";
        for (const std::wstring& folder : {start_, target_, favorite_})
            CreateDirectoryW(folder.c_str(), nullptr);
        log_ = root_ + L"\\dialog.log";
        worker_ = std::make_unique<cChild>(DistFolder() + L"\\PfadwerkHg.exe", L"");
        ASSERT_TRUE(PumpUntil([&] { return (workerWindow_ = FindWorkerWindow()) != nullptr; }, 15000));
    }
    void TearDown() override {
        EndWorker();
        host_.reset();
        if (HWND main = VisibleMainWindow())
            PostMessageW(main, WM_CLOSE, 0, 0);
        Pump(300);
        DeleteTree(root_);
        ForgetUser();
    }
    static void EndWorker() {
        if (HWND worker = FindWorkerWindow()) {
            std::wstring exit = ExitRequestText();
            COPYDATASTRUCT data{0, static_cast<DWORD>(exit.size() * sizeof(wchar_t)), exit.data()};
            SendMessageW(worker, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
            PumpUntil([] { return FindWorkerWindow() == nullptr; }, 5000);
        }
    }

    // The history holds exactly this one folder.
    void HistoryOf(const std::wstring& path) {
        DeleteFileW(DatabasePath().c_str());
        std::wstring visit = VisitReportText(L"Eintrag", path);
        COPYDATASTRUCT data{0, static_cast<DWORD>(visit.size() * sizeof(wchar_t)), visit.data()};
        SendMessageW(workerWindow_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        ASSERT_TRUE(PumpUntil(
            [&] {
                cDatabase db;
                return db.Open(DatabasePath()) && FoldersInHistory(db, {path}) == std::vector<bool>{true};
            },
            10000));
    }

    // FileDialogHost in its dialog, in front; the dialog's window.
    HWND OpenDialog(const wchar_t* kind) {
        host_ = std::make_unique<cChild>(ProgramFolder() + L"\\FileDialogHost.exe",
                                         std::wstring(kind) + L" \"" + log_ + L"\" \"" + start_ + L"\"");
        HWND dialog = nullptr;
        PumpUntil(
            [&] {
                for (const std::wstring& line : LogLines(log_)) {
                    if (line.rfind(L"ready ", 0) == 0)
                        dialog = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoull(line.substr(6))));
                }
                return dialog != nullptr;
            },
            20000);
        // Shown, with the name the program gave it.
        if (!PumpUntil([&] { return IsWindowVisible(dialog) && NameBoxText(dialog) == kTypedName; }, 10000)) {
            ADD_FAILURE() << "the dialog did not come up with its name: " << ToUtf8(NameBoxText(dialog));
            return nullptr;
        }
        return dialog;
    }

    // The hot key with the dialog in front; the main window it brings up.
    HWND HotKeyOver(HWND dialog) {
        SetForegroundWindow(dialog);
        PumpUntil([&] { return GetForegroundWindow() == dialog; }, 3000);
        HotKey key = WorkerHotKey();
        PostMessageW(workerWindow_, WM_HOTKEY, kHotKeyId, MAKELPARAM(key.modifiers, key.virtualKey));
        HWND main = nullptr;
        PumpUntil([&] { return (main = VisibleMainWindow()) != nullptr; }, 20000);
        // Loaded: its list is filled.
        PumpUntil([&] { return FindChild(main, L"SysListView32") != nullptr; }, 5000);
        return main;
    }

    static std::wstring NameBoxText(HWND dialog) {
        FileDialogControls controls;
        if (!FindFileDialogControls(dialog, controls))
            return L"(no name box)";
        // GetWindowText does not ask a control of another program for its text.
        wchar_t text[MAX_PATH] = {};
        SendMessageW(controls.nameEdit, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // Opens the one entry of the history list by Enter in the search box.
    static void OpenOnlyHistoryEntry(HWND main, const std::function<void()>& beforeEnter = {}) {
        HWND list = FindChild(main, L"SysListView32");
        ASSERT_NE(nullptr, list);
        ASSERT_TRUE(PumpUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }, 5000))
            << SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) << " entries";
        HWND search = FindChild(main, L"Edit");
        ASSERT_NE(nullptr, search);
        if (beforeEnter)
            beforeEnter();
        PressKey(search, VK_RETURN);
    }

    // What the dialog wrote, but its tree.
    std::string LogText() const {
        std::string text;
        for (const std::wstring& line : LogLines(log_)) {
            if (line.rfind(L"tree ", 0) != 0)
                text += ToUtf8(line) + "\n";
        }
        return text;
    }

    bool DialogWentTo(const std::wstring& folder, HWND dialog) {
        return PumpUntil(
            [&] {
                std::vector<std::wstring> folders = LoggedFolders(log_);
                return !folders.empty() && SameFolder(folders.back(), folder) && NameBoxText(dialog) == kTypedName;
            },
            10000);
    }

    std::wstring root_, start_, target_, favorite_, log_;
    std::unique_ptr<cChild> worker_, host_;
    HWND workerWindow_ = nullptr;
};

TEST_F(DialogJump, AnOpenDialogGoesToAHistoryEntryAndToAFavoriteKeepingTheTypedName) {
    HistoryOf(target_);
    HWND dialog = OpenDialog(L"open");
    ASSERT_NE(nullptr, dialog);

    HWND main = HotKeyOver(dialog);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(FillPlaceholders(ResText(IDS_DIALOGJUMP_CAPTION), {TextOf(dialog)}), TextOf(main));
    OpenOnlyHistoryEntry(main);
    EXPECT_TRUE(DialogWentTo(target_, dialog)) << ToUtf8(NameBoxText(dialog)) << "\n" << LogText();
    // Enter closes the window as always, once the name is back.
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(main); }, 5000));
    EXPECT_TRUE(IsWindow(dialog));

    AppendFavorite(L"Projekte", {L"Favorit", favorite_});
    Store(Setting::ListTypeActive, 3);
    main = HotKeyOver(dialog);
    ASSERT_NE(nullptr, main);
    HWND list = FindChild(main, L"SysListView32");
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 1; }, 5000))
        << SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) << " entries, caption " << ToUtf8(TextOf(main));
    PressKey(list, VK_DOWN);
    PressKey(list, VK_RETURN);
    EXPECT_TRUE(DialogWentTo(favorite_, dialog)) << ToUtf8(NameBoxText(dialog)) << "\n" << LogText();
}

// The window stays open and a second start, from the hot key over the
// dialog, hands the dialog over to it.
TEST_F(DialogJump, ARunningWindowTakesTheDialogOfASecondStart) {
    Store(Setting::ExitBehavior, 3);
    HistoryOf(target_);
    HWND dialog = OpenDialog(L"open");
    ASSERT_NE(nullptr, dialog);
    HWND main = HotKeyOver(dialog);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(FillPlaceholders(ResText(IDS_DIALOGJUMP_CAPTION), {TextOf(dialog)}), TextOf(main));
    // With the window in front the hot key names no dialog.
    PostMessageW(workerWindow_, WM_HOTKEY, kHotKeyId, 0);
    EXPECT_TRUE(PumpUntil([&] { return TextOf(main) == ResText(IDS_CAPTION); }, 10000)) << ToUtf8(TextOf(main));
    EXPECT_EQ(main, HotKeyOver(dialog)) << "no second window";
    EXPECT_TRUE(PumpUntil(
        [&] { return TextOf(main) == FillPlaceholders(ResText(IDS_DIALOGJUMP_CAPTION), {TextOf(dialog)}); }, 10000));
    OpenOnlyHistoryEntry(main);
    EXPECT_TRUE(DialogWentTo(target_, dialog)) << ToUtf8(NameBoxText(dialog)) << "\n" << LogText();
}

TEST_F(DialogJump, ASaveDialogGoesToAHistoryEntryKeepingTheTypedName) {
    HistoryOf(target_);
    HWND dialog = OpenDialog(L"save");
    ASSERT_NE(nullptr, dialog);
    HWND main = HotKeyOver(dialog);
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(FillPlaceholders(ResText(IDS_DIALOGJUMP_CAPTION), {TextOf(dialog)}), TextOf(main));
    OpenOnlyHistoryEntry(main);
    EXPECT_TRUE(DialogWentTo(target_, dialog)) << ToUtf8(NameBoxText(dialog)) << "\n" << LogText();
}

TEST_F(DialogJump, AFilePathAndAMissingFolderLeaveTheDialogWhereItWas) {
    std::wstring file = target_ + L"\\datei.txt";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    HWND dialog = OpenDialog(L"open");
    ASSERT_NE(nullptr, dialog);
    size_t foldersBefore = LoggedFolders(log_).size();
    std::wstring gone = root_ + L"\\fehlt";
    for (const std::wstring& path : {file, gone}) {
        SCOPED_TRACE(testing::Message() << ToUtf8(path));
        // The folder goes while the list shows it.
        CreateDirectoryW(gone.c_str(), nullptr);
        HistoryOf(path);
        HWND main = HotKeyOver(dialog);
        ASSERT_NE(nullptr, main);
        EXPECT_EQ(FillPlaceholders(ResText(IDS_DIALOGJUMP_CAPTION), {TextOf(dialog)}), TextOf(main));
        OpenOnlyHistoryEntry(main, [&] { RemoveDirectoryW(gone.c_str()); });
        // The main window says why, in a message box of its own.
        HWND box = nullptr;
        ASSERT_TRUE(PumpUntil(
            [&] {
                box = FindWindowW(L"#32770", ResText(IDS_CAPTION).c_str());
                return box && GetWindow(box, GW_OWNER) == main;
            },
            5000));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        Pump(500);
        EXPECT_EQ(foldersBefore, LoggedFolders(log_).size());
        EXPECT_EQ(kTypedName, NameBoxText(dialog));
        PostMessageW(main, WM_CLOSE, 0, 0);
        PumpUntil([&] { return !IsWindow(main); }, 5000);
    }
}

}  // namespace
}  // namespace pw::test
