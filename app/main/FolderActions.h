// What the user does with one folder of the main window's list: open it (in a
// new or an already open Explorer window), copy its path, remove it from the
// history, show its properties through the worker.
//
// The actions reach back into the main window only through FolderActionHost,
// and into the shell and the system only through FolderActionServices, so the
// main window plugs them in and tests watch them.
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FolderOpenPlan.h"
#include "Handles.h"
#include "ProgramNames.h"
#include "WindowsVersion.h"

namespace pw {

class cDialogPresenter;

// ---- The shell's folder windows -------------------------------------------------

// One window of the shell's window collection.
struct ShellWindowInfo {
    bool isFolderView = false;  // its document is a folder view, not a web page or other document
    HWND root = nullptr;        // its top-level window
    bool minimized = false;     // the top-level window is minimized
};

// The open Explorer windows and the opening of new ones. Each call of
// OpenFolder makes a fresh one and drops it when done; indexes refer to the
// last ListWindows.
class cFolderWindowShell {
  public:
    virtual ~cFolderWindowShell() = default;
    // False when the collection cannot be had at all.
    virtual bool ListWindows(std::vector<ShellWindowInfo>& windows) = 0;
    virtual bool Restore(size_t index) = 0;
    virtual bool BringToFront(size_t index) = 0;
    virtual bool Navigate(size_t index, const std::wstring& path) = 0;
    virtual bool OpenNew(const std::wstring& path, FolderWindowKind kind) = 0;
};

// The real thing: ShellWindows (IShellWindows → IWebBrowser2, the document's
// type name, Navigate2) and Shell.Application (IShellDispatch Explore/Open),
// with ShellExecuteEx "explore"/"open" where Shell.Application is missing or
// fails.
class cSystemFolderWindows final : public cFolderWindowShell {
  public:
    cSystemFolderWindows();
    ~cSystemFolderWindows() override;
    bool ListWindows(std::vector<ShellWindowInfo>& windows) override;
    bool Restore(size_t index) override;
    bool BringToFront(size_t index) override;
    bool Navigate(size_t index, const std::wstring& path) override;
    bool OpenNew(const std::wstring& path, FolderWindowKind kind) override;

  private:
    struct Entry;
    cComInit com_;  // first in, last out: the entries hold COM objects
    std::vector<Entry> entries_;
};

// Step 4 of opening: reuse an open folder window for path. False, with
// nothing reused, when there is none or anything on the way fails; the
// caller then opens a new window.
bool ReuseFolderWindow(cFolderWindowShell& shell, const std::wstring& path);

// ---- The main window, as the actions see it ------------------------------------------

// Callbacks left empty do nothing.
struct FolderActionHost {
    HWND window = nullptr;  // the main window: owner of notices, clipboard and properties dialog
    FolderOpenOptions options;
    std::function<void(bool)> setFolderOpened;    // bFolderOpened
    std::function<void()> makeTopmost;            // SetWindowPos HWND_TOPMOST, no move, no size
    std::function<void()> enableMouseLeaveWatch;  // tmrMouseLeaveChecker on
    std::function<void()> minimize;
    std::function<void()> hideAndUnload;    // hide at once, then unload
    std::function<void()> unloadAfterMenu;  // unload once the command that asked is done
    std::function<void()> reloadList;       // tmrTabs on
    std::function<void()> prepareModal;     // the modal frame, before a notice
    std::function<void()> restoreModal;     // and after it
};

// ---- What the actions use of the system ----------------------------------------------

// The worker needs well under a second to show its window; a few seconds
// cover a slow log-on, after which the request is dropped without a word.
constexpr DWORD kWorkerWaitMs = 5000;

struct FolderActionServices {
    // Empty or null: the running system's.
    std::function<std::unique_ptr<cFolderWindowShell>()> makeShell;
    cDialogPresenter* presenter = nullptr;
    std::optional<WindowsFamily> family;
    std::wstring databasePath;   // the history file
    std::wstring programFolder;  // where PfadwerkHg.exe lies
    DWORD workerWaitMs = kWorkerWaitMs;
    // Starts a program file without arguments; true when the process started.
    std::function<bool(const std::wstring& exePath)> startProcess;
};

// ---- The actions ------------------------------------------------------------------------

// What path names on disk; a shell namespace path is not looked up.
PathTarget TargetOf(const std::wstring& path);
// The one check before a folder is handed to the shell, whoever opens it:
// never a file, never a bare name the shell would look for along the
// program path.
bool IsOpenableFolder(const std::wstring& path);
// The message for a path that is no folder, inside the modal frame.
void ShowNotAFolder(const FolderActionHost& host, const std::wstring& path, const FolderActionServices& services = {});

// Opens path in a new or an open folder window and lets the main window do
// what ExitBehavior asks. A path that is no folder gets the message instead,
// leaves the main window as it is and gives false.
bool OpenFolder(const FolderActionHost& host,
                const std::wstring& path,
                bool bInvertOpenMode,
                bool bInvertReuse,
                const FolderActionServices& services = {});

// Puts path on the clipboard; the one-time notice names the folder by its
// list text. False when the clipboard could not be had (no notice then).
bool CopyFolderPath(const FolderActionHost& host,
                    const std::wstring& path,
                    const std::wstring& displayName,
                    const FolderActionServices& services = {});

// Deletes every visit of path, compacts the history, has the list reloaded
// and shows the one-time notice. False when the visits could not be deleted
// (no notice then: nothing was removed).
bool RemoveFolderFromHistory(const FolderActionHost& host,
                             const std::wstring& path,
                             const FolderActionServices& services = {});

// Asks the worker to show the properties dialog of path. A worker that is not
// running is started once and looked for again on a timer of this thread for
// at most services.workerWaitMs, the window answering meanwhile; the request
// goes when it appears. done (may be empty) learns whether the request was
// sent: at once when the worker runs or cannot be started, else from this
// thread's message loop. Not sent, the main window is left as it is; a
// request whose main window went meanwhile is dropped without a call.
void RequestFolderProperties(const FolderActionHost& host,
                             const std::wstring& path,
                             const FolderActionServices& services = {},
                             std::function<void(bool sent)> done = {});

// ---- Pieces of the actions ---------------------------------------------------------------

// The one-time notices of copying and removing.
NoticeTexts CopyPathNotice(std::wstring_view folderDisplayName);
NoticeTexts RemoveEntryNotice();

// CF_UNICODETEXT, the clipboard emptied first.
bool PutTextOnClipboard(HWND owner, const std::wstring& text);

// CreateProcess of exePath without arguments; both handles closed at once.
bool StartProgram(const std::wstring& exePath);

}  // namespace pw
