// A registry key of the test's own below HKCU\Software\PfadwerkTest, empty at
// the start and gone afterwards, plus raw access that bypasses cRegistry so
// tests see what was really stored.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pw::test {

constexpr wchar_t kTestRoot[] = L"Software\\PfadwerkTest";

inline std::wstring CurrentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    return std::wstring(name.begin(), name.end());
}

class ScratchKey {
  public:
    explicit ScratchKey(std::wstring name) : path_(std::wstring(kTestRoot) + L"\\" + std::move(name)) { Remove(); }
    ~ScratchKey() {
        Remove();
        RegDeleteKeyW(HKEY_CURRENT_USER, kTestRoot);  // only goes once no other test key is left
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    const std::wstring& Path() const { return path_; }
    std::wstring Sub(const std::wstring& relative) const { return path_ + L"\\" + relative; }

    void Remove() { RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); }

  private:
    std::wstring path_;
};

struct RawValue {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<std::uint8_t> data;
};

inline RawValue ReadRaw(const std::wstring& keyPath, const std::wstring& name) {
    RawValue raw;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return raw;
    DWORD size = 0;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &raw.type, nullptr, &size) == ERROR_SUCCESS) {
        raw.data.resize(size);
        raw.found = RegQueryValueExW(key, name.c_str(), nullptr, &raw.type, raw.data.data(), &size) == ERROR_SUCCESS;
        raw.data.resize(size);
    }
    RegCloseKey(key);
    return raw;
}

inline void WriteRaw(const std::wstring& keyPath, const std::wstring& name, DWORD type, const void* data, DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                             &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes));
    RegCloseKey(key);
}

inline bool KeyPresent(const std::wstring& keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

inline std::wstring TextOfRaw(const RawValue& raw) {
    return std::wstring(reinterpret_cast<const wchar_t*>(raw.data.data()), raw.data.size() / sizeof(wchar_t));
}

}  // namespace pw::test
