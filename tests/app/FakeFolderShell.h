// A stand-in for the shell's collection of Explorer windows, which Wine
// cannot list: it lists what the test put in and notes what was done.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "FolderActions.h"

namespace pw {

// A window collection that lists what the test put in and notes what was done.
class cFakeShell final : public cFolderWindowShell {
  public:
    struct Log {
        bool listed = false;
        std::vector<std::wstring> calls;  // "restore 2", "front 2", "navigate 2 C:\x", "open explorer C:\x"
    };
    cFakeShell(Log& log, std::vector<ShellWindowInfo> windows, bool listable = true, bool navigable = true)
        : log_(log), windows_(std::move(windows)), listable_(listable), navigable_(navigable) {}

    bool ListWindows(std::vector<ShellWindowInfo>& windows) override {
        log_.listed = true;
        if (!listable_)
            return false;
        windows = windows_;
        return true;
    }
    bool Restore(size_t index) override { return Note(L"restore " + std::to_wstring(index)); }
    bool BringToFront(size_t index) override { return Note(L"front " + std::to_wstring(index)); }
    bool Navigate(size_t index, const std::wstring& path) override {
        Note(L"navigate " + std::to_wstring(index) + L" " + path);
        return navigable_;
    }
    bool OpenNew(const std::wstring& path, FolderWindowKind kind) override {
        return Note(std::wstring(kind == FolderWindowKind::Explorer ? L"open explorer " : L"open plain ") + path);
    }

  private:
    bool Note(std::wstring call) {
        log_.calls.push_back(std::move(call));
        return true;
    }
    Log& log_;
    std::vector<ShellWindowInfo> windows_;
    bool listable_, navigable_;
};

}  // namespace pw
