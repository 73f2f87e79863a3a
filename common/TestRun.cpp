#include "TestRun.h"

#include <shlobj.h>

namespace pw {
namespace {

bool WellFormedTag(const std::wstring& tag) {
    if (tag.empty() || tag.size() > 64)
        return false;
    for (wchar_t c : tag) {
        bool ok = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-';
        if (!ok)
            return false;
    }
    return true;
}

std::optional<TestRun> ReadTestRun() {
    wchar_t value[MAX_PATH + 1] = {};
    DWORD len = GetEnvironmentVariableW(kTestRunVariable, value, MAX_PATH + 1);
    if (len == 0 || len > MAX_PATH)
        return std::nullopt;
    std::wstring folder(value, len);
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    bool absolute = folder.size() > 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/');
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (!absolute || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    size_t slash = folder.find_last_of(L"\\/");
    std::wstring tag = folder.substr(slash + 1);
    if (!WellFormedTag(tag))
        return std::nullopt;
    return TestRun{folder, tag};
}

}  // namespace

const std::optional<TestRun>& CurrentTestRun() {
    static const std::optional<TestRun> run = ReadTestRun();
    return run;
}

bool JoinTestRun() {
    wchar_t probe[2];
    bool asked = GetEnvironmentVariableW(kTestRunVariable, probe, 2) != 0;
    const auto& run = CurrentTestRun();
    if (!run)
        return !asked;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, run->RegistryKey().c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    // The override keeps its own copy of the handle.
    LSTATUS rc = RegOverridePredefKey(HKEY_CURRENT_USER, key);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

std::wstring RunScopedName(const std::wstring& name) {
    const auto& run = CurrentTestRun();
    return run ? name + L"." + run->tag : name;
}

std::optional<std::wstring> TestRunShellFolder(int csidl) {
    const auto& run = CurrentTestRun();
    if (!run)
        return std::nullopt;
    const wchar_t* leaf = nullptr;
    switch (csidl & ~CSIDL_FLAG_MASK) {
        case CSIDL_LOCAL_APPDATA:
            leaf = L"LocalAppData";
            break;
        case CSIDL_APPDATA:
            leaf = L"AppData";
            break;
        case CSIDL_STARTUP:
            leaf = L"Startup";
            break;
        // Read only, but a test must find its own shortcuts and jump lists
        // there, never the user's.
        case CSIDL_RECENT:
            leaf = L"Recent";
            break;
        default:
            return std::nullopt;
    }
    std::wstring folder = run->folder + L"\\" + leaf;
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return folder;
}

}  // namespace pw
