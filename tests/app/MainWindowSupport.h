// What the main window tests share: a clean user, the shipped program folder,
// message pumping and a look at the registry as stored. The test program
// runs in a test run of its own (TestRunMain.h), so the user, settings and
// folders here are the run's, never the real ones.
#pragma once
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "Instance.h"
#include "Database.h"
#include "HistoryFiles.h"
#include "MainControls.h"
#include "Settings.h"
#include "ShellFolders.h"
#include "common/ScratchKey.h"
#include "frmMain.h"

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace pw::test {

// The programs of this build: testbin\..\dist.
inline std::wstring DistFolder() {
    return ProgramFolder() + L"\\..\\dist";
}

// A folder of a test's own below the temp folder.
inline std::wstring ScratchFolder(const std::wstring& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

inline void DeleteTree(const std::wstring& folder) {
    std::wstring from = folder + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

inline std::wstring AutostartLink() {
    return GetShellFolderPath(CSIDL_STARTUP) + L"\\Pfadwerk-Autostart.lnk";
}

// An empty history, copied from the shipped template into a fresh scratch
// folder; its path, or "" when the copy failed.
inline std::wstring FreshScratchHistory(const std::wstring& folder) {
    DeleteTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring database = folder + L"\\Pfadwerk.dat";
    return CopyFileW((DistFolder() + L"\\Template.dat").c_str(), database.c_str(), FALSE) ? database : std::wstring();
}

// A user who never ran the program: no settings, no autostart shortcut, no
// history (earlier tests of this run may have logged visits through the
// worker). Its update check asks a loopback port where nothing listens, so
// that closing a window never reaches out to the vendor's server.
inline void ForgetUser() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
    DeleteFileW(AutostartLink().c_str());
    DeleteTree(DataFolder());
    WriteText(Setting::UpdateCheckUrl, L"http://127.0.0.1:9/version_check_pw.xml");
}

inline std::optional<DWORD> StoredNumber(Setting setting) {
    RawValue raw = ReadRaw(SectionKeyOf(Def(setting).key), Def(setting).name);
    if (!raw.found || raw.type != REG_DWORD || raw.data.size() != 4)
        return std::nullopt;
    DWORD value = 0;
    memcpy(&value, raw.data.data(), 4);
    return value;
}

inline void Store(Setting setting, DWORD value) {
    WriteRaw(SectionKeyOf(Def(setting).key), Def(setting).name, REG_DWORD, &value, sizeof value);
}

// Lets window messages run for a while, or until done() holds.
inline bool PumpUntil(const std::function<bool()>& done, int milliseconds = 2000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done && done())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        Sleep(5);
    }
}
inline void Pump(int milliseconds) {
    PumpUntil(nullptr, milliseconds);
}

inline std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

inline std::wstring TabText(HWND tab, int index) {
    wchar_t text[128] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

struct ControlSearch {
    UINT id;
    HWND found;
};
inline BOOL CALLBACK MatchControl(HWND child, LPARAM data) {
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (static_cast<UINT>(GetDlgCtrlID(child)) != search->id)
        return TRUE;
    search->found = child;
    return FALSE;
}

// A control of a window's tree by its id (MainControls.h).
inline HWND Control(HWND window, UINT id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(window, &MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
inline HWND Control(const frmMain& form, UINT id) {
    return Control(form.Hwnd(), id);
}

// The hover tip text a window's tooltip holds for one of its controls.
inline std::wstring ToolTipText(HWND owner, HWND control) {
    for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
         tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
        if (GetWindow(tip, GW_OWNER) != owner)
            continue;
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = GetParent(control);
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        if (text[0])
            return text;
    }
    return {};
}

// The main window as the user sees it: the setup of a test window, loaded
// from the shipped program folder.
inline frmMainSetup TestSetup(bool show = true, const std::wstring& database = L"") {
    frmMainSetup setup;
    setup.programFolder = DistFolder();
    setup.show = show;
    setup.singleInstance = false;
    setup.databasePath = database;
    return setup;
}

inline std::unique_ptr<frmMain> LoadMainWindow(bool show = true) {
    auto form = std::make_unique<frmMain>(TestSetup(show));
    EXPECT_TRUE(form->Load());
    Pump(50);
    return form;
}

// The frame of a main-window test: a user past the first run who has seen
// the search tip, an empty history in a scratch folder of the test's own,
// and the window under test in form_. Fixtures that add to SetUp call this
// one first.
class cMainWindowTest : public ::testing::Test {
  protected:
    explicit cMainWindowTest(std::wstring folder) : folder_(std::move(folder)) {}
    void SetUp() override {
        ForgetUser();
        database_ = FreshScratchHistory(folder_);
        ASSERT_FALSE(database_.empty());
        Store(Setting::SetupDone, 1);
        Store(Setting::TipShown_SearchFolder, 1);
    }
    void TearDown() override {
        form_.reset();
        ForgetUser();
        DeleteTree(folder_);
    }

    frmMain& Start(const frmMainSetup& setup) {
        form_ = std::make_unique<frmMain>(setup);
        EXPECT_TRUE(form_->Load());
        Pump(50);
        return *form_;
    }
    std::wstring MakeFolder(const std::wstring& name) const {
        std::wstring path = folder_ + L"\\" + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    // A visit logged as if at when.
    void VisitAt(const std::wstring& path, const std::wstring& name, const LocalTime& when) const {
        cDatabase db;
        ASSERT_TRUE(db.Open(database_, [when] { return when; }));
        ASSERT_TRUE(db.AppendVisit(path, name));
    }

    const std::wstring folder_;
    std::wstring database_;
    std::unique_ptr<frmMain> form_;
};

// What a view's tab click does: the selection, then the control's notice.
inline void SelectTab(const frmMain& form, int index) {
    HWND tab = Control(form, ctl::tabOB);
    TabCtrl_SetCurSel(tab, index);
    NMHDR note{tab, static_cast<UINT_PTR>(GetDlgCtrlID(tab)), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(form.Hwnd(), WM_NOTIFY, note.idFrom, reinterpret_cast<LPARAM>(&note));
}

// A click on a column header of the folder list (column from 0).
inline void ClickColumn(const frmMain& form, int column) {
    NMLISTVIEW note{};
    note.hdr.hwndFrom = form.FolderList().ListHwnd();
    note.hdr.code = LVN_COLUMNCLICK;
    note.iItem = -1;
    note.iSubItem = column;
    SendMessageW(form.FolderList().Hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
}

// A choice in the time-frame box.
inline void ChooseTimeframe(const frmMain& form, int index) {
    HWND box = Control(form, ctl::cmbMostUsedTimeframe);
    SendMessageW(box, CB_SETCURSEL, index, 0);
    SendMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
}

// A plain top-level window of the test that can take the activation.
class OtherWindow {
  public:
    OtherWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PfadwerkTestOther";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, L"PfadwerkTestOther", L"Andere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 100, 200,
                                150, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~OtherWindow() { DestroyWindow(hwnd_); }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;
    HWND hwnd() const { return hwnd_; }
    void Activate() const {
        SetForegroundWindow(hwnd_);
        SetActiveWindow(hwnd_);
    }

  private:
    HWND hwnd_ = nullptr;
};

}  // namespace pw::test
