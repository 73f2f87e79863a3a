// The test run keeps every test away from the user's own settings, history
// and shortcuts: should a fixture ever reach the real places again, these
// fail.
#include "MainWindowSupport.h"
#include "TestRun.h"
#include "TestRunMain.h"
#include "WorkerProtocol.h"
#include "WorkerWindow.h"

namespace pw::test {
namespace {

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.size() >= prefix.size() && _wcsnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

bool RealValuePresent(const std::wstring& keyBelowSoftware, const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(pwtest::UserPlaces().software, keyBelowSoftware.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    bool present = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return present;
}

TEST(UserDataGuard, SettingsFoldersAndNamesAreTheRunsOwn) {
    const auto& run = CurrentTestRun();
    ASSERT_TRUE(run.has_value());
    ASSERT_NE(nullptr, pwtest::UserPlaces().software);

    // Wine honours the override: a value written below HKEY_CURRENT_USER
    // lands in the run's key and not in the user's (under a name that no
    // program of the user's ever writes).
    const std::wstring section = SectionKeyOf(Def(Setting::LastCleanUpDay).key);
    DWORD probe = 17;
    WriteRaw(section, L"TestRunProbe", REG_DWORD, &probe, sizeof probe);
    EXPECT_FALSE(RealValuePresent(section.substr(9), L"TestRunProbe"));
    EXPECT_TRUE(RealValuePresent(run->RegistryKey().substr(9) + L"\\" + section, L"TestRunProbe"));
    RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);

    for (int csidl : {CSIDL_LOCAL_APPDATA, CSIDL_APPDATA, CSIDL_STARTUP})
        EXPECT_TRUE(StartsWith(GetShellFolderPath(csidl), run->folder + L"\\")) << csidl;
    EXPECT_TRUE(StartsWith(DataFolder(), run->folder + L"\\"));
    EXPECT_NE(GetShellFolderPath(CSIDL_LOCAL_APPDATA), pwtest::UserPlaces().localAppData);
    EXPECT_NE(WorkerCaption(), kWorkerCaption);
    EXPECT_FALSE(WorkerHotKey().modifiers == kHotKeyModifiers && WorkerHotKey().virtualKey == kHotKeyVirtualKey);
}

TEST(UserDataGuard, AMainWindowAndItsFixturesLeaveTheUsersDataAlone) {
    const std::wstring before = pwtest::SnapshotOfUserData();
    ForgetUser();
    {
        // A first start writes settings, the autostart shortcut, the history
        // and the Quick Launch shortcut (its first fill).
        auto form = LoadMainWindow();
        ASSERT_NE(nullptr, form->Hwnd());
        EXPECT_EQ(1u, StoredNumber(Setting::StartupShortcutCreated));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(AutostartLink().c_str()));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(DatabasePath().c_str()));
    }
    ForgetUser();
    EXPECT_EQ(before, pwtest::SnapshotOfUserData());
}

}  // namespace
}  // namespace pw::test
