// A test run of the process's own: its scratch folder below the temp folder
// and its registry key, joined at construction and removed at the end. Every
// Windows test program's main and the benchmarks under Wine stand in one.
#pragma once
#include <windows.h>

#include <filesystem>
#include <string>

#include "TestRun.h"

namespace pwtest {

class TestRunScope {
  public:
    TestRunScope() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"pfadwerk-run-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(GetTickCount());
        if (!CreateDirectoryW(folder_.c_str(), nullptr))
            return;
        SetEnvironmentVariableW(pw::kTestRunVariable, folder_.c_str());
        joined_ = pw::CurrentTestRun() && pw::JoinTestRun();
    }
    ~TestRunScope() {
        if (joined_) {
            RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
            RegDeleteTreeW(HKEY_CURRENT_USER, pw::CurrentTestRun()->RegistryKey().c_str());
            RegDeleteKeyW(HKEY_CURRENT_USER, pw::kTestRunRegistryRoot);  // goes only once no other run is left
        }
        std::error_code ec;
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ec);
    }
    bool Joined() const { return joined_; }

  private:
    std::wstring folder_;
    bool joined_ = false;
};

}  // namespace pwtest
