// The folder-visit reporter: watches the shell's folder windows from outside
// Explorer and reports every folder the user opens in one of them.
//
// The shell's window list (ShellWindows) tells of folder windows that open and
// close, each window's DWebBrowserEvents2 tells of its navigations, and the
// window's folder view gives the folder's path and display name. Events
// arrive as calls into this thread's apartment through the worker's message
// loop; nothing runs while the user does nothing. An event only notes what
// happened and returns: Explorer waits for the call, and asking its window
// about the folder, or anything the worker's thread takes up meanwhile (a
// write to a busy history), would hold up its navigation.
#pragma once
#include <windows.h>

#include <exdisp.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Handles.h"
#include "Window.h"

namespace pw::worker {

// Where the shell's window list comes from: the shell's own in the worker,
// a test object in the tests. Null when the shell is not there (yet).
using ShellWindowsSource = std::function<cComPtr<IShellWindows>()>;
// Told once per navigation of a folder window to a folder with a path.
using FolderVisitSink = std::function<void(const std::wstring& name, const std::wstring& path)>;

// The shell's ShellWindows object, or null.
cComPtr<IShellWindows> ShellWindowsOfTheShell();

class cEventSink;

// The reporter's hidden top-level window, which hears of a restarted shell.
constexpr wchar_t kReporterWindowClass[] = L"PfadwerkHgReporter";

class cFolderVisitReporter final : public cWindow {
  public:
    cFolderVisitReporter(ShellWindowsSource source, FolderVisitSink sink);
    ~cFolderVisitReporter() override;

    // Creates the reporter's hidden window and connects to the shell; when the
    // shell is not there, it connects when the shell starts.
    bool Start();
    // Lets go of every shell object.
    void Stop();

    bool Connected() const { return static_cast<bool>(shell_); }
    size_t WatchedWindowCount() const { return windows_.size(); }

  private:
    struct WatchedWindow;
    // A navigation as the shell's call told of it; asked about afterwards.
    struct Navigation {
        unsigned long key;
        std::wstring url;  // where the window went, as the event named it
        bool first;        // the window's first navigation since it was watched
    };
    enum Work : unsigned { kReconcile = 1, kReconnect = 2, kReleaseQuit = 4, kReport = 8 };

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void RequestWork(unsigned work);
    void Enter();
    void Leave();
    void OnWork();
    void tmrConnectRetry_Timer();

    void Connect();
    void Disconnect();
    // Brings the watched windows in line with the shell's list: windows that
    // left are released, new ones watched (their first folder reported).
    void Reconcile();
    void Watch(cComPtr<IWebBrowser2> browser, cComPtr<IUnknown> identity, bool reportCurrentFolder);
    void Release(unsigned long key);

    void OnShellEvent(DISPID id);
    void OnBrowserEvent(unsigned long key, DISPID id, DISPPARAMS* params);
    void OnNavigateComplete2(unsigned long key, const DISPPARAMS& params);
    void ReportNavigations();

    ShellWindowsSource source_;
    FolderVisitSink sink_;
    UINT taskbarCreated_ = 0;

    cComPtr<IShellWindows> shell_;
    cComPtr<IConnectionPoint> shellEvents_;
    cComPtr<cEventSink> shellSink_;
    DWORD shellCookie_ = 0;

    std::map<unsigned long, std::unique_ptr<WatchedWindow>> windows_;
    unsigned long nextKey_ = 1;
    std::vector<unsigned long> quitWindows_;
    std::vector<Navigation> navigations_;

    unsigned pendingWork_ = 0;
    bool workPosted_ = false;
    int busy_ = 0;
    bool stopPending_ = false;
    int connectAttempts_ = 0;
};

}  // namespace pw::worker
