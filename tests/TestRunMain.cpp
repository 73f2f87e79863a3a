#include "TestRunMain.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "Settings.h"
#include "TestRun.h"
#include "TestRunScope.h"

namespace pwtest {
namespace {

RealPlaces gPlaces;

std::wstring RealFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

void DumpKey(HKEY parent, const std::wstring& path, std::wstring& out) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        out += L"[" + path + L"] absent\n";
        return;
    }
    out += L"[" + path + L"]\n";
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLen = 256;
        if (RegEnumKeyExW(key, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.emplace_back(name, nameLen);
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLen = 16384, type = 0, size = 0;
        BYTE data[4096];
        size = sizeof data;
        LSTATUS rc = RegEnumValueW(key, i, name, &nameLen, nullptr, &type, data, &size);
        if (rc == ERROR_NO_MORE_ITEMS)
            break;
        out += std::wstring(name, nameLen) + L" type " + std::to_wstring(type) + L" =";
        if (rc == ERROR_SUCCESS)
            for (DWORD b = 0; b < size; ++b)
                out += L" " + std::to_wstring(data[b]);
        else
            out += L" (" + std::to_wstring(size) + L" bytes)";
        out += L"\n";
    }
    RegCloseKey(key);
    for (const auto& sub : subkeys)
        DumpKey(parent, path + L"\\" + sub, out);
}

void DescribeFile(const std::filesystem::path& path, std::wstring& out) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        out += path.wstring() + L" absent\n";
        return;
    }
    if (std::filesystem::is_directory(path, ec)) {
        out += path.wstring() + L" folder\n";
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ec)) {
            if (entry.is_directory(ec))
                continue;
            out += entry.path().wstring() + L" " + std::to_wstring(entry.file_size(ec)) + L" " +
                   std::to_wstring(entry.last_write_time(ec).time_since_epoch().count()) + L"\n";
        }
        return;
    }
    out += path.wstring() + L" " + std::to_wstring(std::filesystem::file_size(path, ec)) + L" " +
           std::to_wstring(std::filesystem::last_write_time(path, ec).time_since_epoch().count()) + L"\n";
}

}  // namespace

const RealPlaces& UserPlaces() {
    return gPlaces;
}

std::wstring SnapshotOfUserData() {
    std::wstring out;
    // kProductKey without its leading "Software\".
    DumpKey(gPlaces.software, std::wstring(pw::kProductKey).substr(9), out);
    DescribeFile(std::filesystem::path(gPlaces.localAppData) / L"Pfadwerk", out);
    DescribeFile(std::filesystem::path(gPlaces.startup) / L"Pfadwerk-Autostart.lnk", out);
    DescribeFile(std::filesystem::path(gPlaces.appData) / L"Microsoft\\Internet Explorer\\Quick Launch\\Pfadwerk.lnk",
                 out);
    return out;
}

}  // namespace pwtest

namespace pwtest {
namespace {

// Every process a test starts (a worker, the main program the worker starts
// in turn) ends with the test program, also when the test runner kills it at
// a time-out: a worker left behind would hold the run's hot key and history
// and fail the tests after it. The handle stays open until the program ends.
void EndStartedProcessesWithThisOne() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job)
        return;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits) ||
        !AssignProcessToJobObject(job, GetCurrentProcess()))
        CloseHandle(job);
}

}  // namespace
}  // namespace pwtest

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    pwtest::EndStartedProcessesWithThisOne();
    auto& places = const_cast<pwtest::RealPlaces&>(pwtest::UserPlaces());
    // Taken before the run moves HKEY_CURRENT_USER: this handle keeps
    // pointing at the user's real key.
    RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &places.software);
    places.localAppData = pwtest::RealFolder(CSIDL_LOCAL_APPDATA);
    places.appData = pwtest::RealFolder(CSIDL_APPDATA);
    places.startup = pwtest::RealFolder(CSIDL_STARTUP);
    int rc;
    {
        pwtest::TestRunScope run;
        if (!run.Joined()) {
            std::fprintf(stderr, "could not set up a test run; no test ran so as not to touch the user's data\n");
            return 1;
        }
        rc = RUN_ALL_TESTS();
    }
    if (places.software)
        RegCloseKey(places.software);
    return rc;
}
