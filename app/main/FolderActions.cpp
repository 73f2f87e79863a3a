#include "FolderActions.h"

#include <shellapi.h>

#include <cstring>

#include "Database.h"
#include "HistoryFiles.h"
#include "HistoryQueries.h"
#include "ResText.h"
#include "Settings.h"
#include "ShellFolders.h"
#include "Text.h"
#include "WorkerProtocol.h"
#include "Window.h"
#include "WorkerWindow.h"
#include "app_res.h"
#include "modTaskDialog.h"

namespace pw {
namespace {

void Call(const std::function<void()>& callback) {
    if (callback)
        callback();
}

WindowsFamily EffectiveFamily(const FolderActionServices& services) {
    return services.family ? *services.family : DialogFamily();
}

// The one-time notice of an action, inside the modal frame. Nothing at all,
// not even the frame, once the flag says it was shown.
void ShowActionNotice(const FolderActionHost& host,
                      Setting flag,
                      const NoticeTexts& texts,
                      const FolderActionServices& services) {
    NoticePlan plan = PlanNotice(EffectiveFamily(services), ReadNumber(flag));
    if (plan.kind == NoticeKind::None)
        return;
    cDialogPresenter& presenter = services.presenter ? *services.presenter : SystemDialogPresenter();
    Call(host.prepareModal);
    if (plan.kind == NoticeKind::TaskDialog) {
        cTaskDialogSpec spec;
        BuildNoticeDialog(spec, host.window, texts.instruction, texts.content, ResText(IDS_DONT_SHOW_AGAIN));
        bool ticked = false;
        presenter.ShowTaskDialog(spec.config, &ticked);
        if (plan.storeIfTicked && ticked)
            WriteNumber(flag, 1);
    } else {
        // Stored first: on these systems the notice is shown once, even when
        // the program ends while the box is up.
        if (plan.storeBeforeShowing)
            WriteNumber(flag, 1);
        presenter.ShowMessageBox(host.window, NoticeMessageBoxText(texts), ResText(IDS_CAPTION),
                                 kNoticeMessageBoxStyle);
    }
    Call(host.restoreModal);
}

}  // namespace

// ---- Opening --------------------------------------------------------------------------

bool ReuseFolderWindow(cFolderWindowShell& shell, const std::wstring& path) {
    std::vector<ShellWindowInfo> windows;
    if (!shell.ListWindows(windows))
        return false;
    std::vector<FolderWindowState> states;
    states.reserve(windows.size());
    for (const ShellWindowInfo& window : windows)
        states.push_back({window.isFolderView, window.minimized});
    FolderWindowChoice choice = ChooseFolderWindow(states);
    if (!choice.Found())
        return false;
    auto index = static_cast<size_t>(choice.index);
    if (choice.restore && !shell.Restore(index))
        return false;
    return shell.BringToFront(index) && shell.Navigate(index, path);
}

PathTarget TargetOf(const std::wstring& path) {
    if (IsShellNamespacePath(path))
        return PathTarget::Unknown;
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathTarget::Unknown;
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathTarget::Folder : PathTarget::File;
}

bool IsOpenableFolder(const std::wstring& path) {
    return MayOpenAsFolder(path, TargetOf(path));
}

void ShowNotAFolder(const FolderActionHost& host, const std::wstring& path, const FolderActionServices& services) {
    cDialogPresenter& presenter = services.presenter ? *services.presenter : SystemDialogPresenter();
    Call(host.prepareModal);
    presenter.ShowMessageBox(host.window, FillPlaceholders(ResText(IDS_OPEN_NOT_A_FOLDER), {path}),
                             ResText(IDS_CAPTION), MB_OK | MB_ICONEXCLAMATION);
    Call(host.restoreModal);
}

bool OpenFolder(const FolderActionHost& host,
                const std::wstring& path,
                bool bInvertOpenMode,
                bool bInvertReuse,
                const FolderActionServices& services) {
    if (!IsOpenableFolder(path)) {
        ShowNotAFolder(host, path, services);
        return false;
    }
    if (host.setFolderOpened)
        host.setFolderOpened(true);
    const FolderOpenOptions& options = host.options;
    if (HoldTopmostWhileOpening(options.exitBehavior))
        Call(host.makeTopmost);

    std::unique_ptr<cFolderWindowShell> shell =
        services.makeShell ? services.makeShell() : std::make_unique<cSystemFolderWindows>();
    bool reused =
        ShouldLookForExistingWindow(options.reuseFolderWindows, bInvertReuse) && ReuseFolderWindow(*shell, path);
    if (!reused)
        shell->OpenNew(path, EffectiveWindowKind(options.defaultOpenInExplorer, bInvertOpenMode));
    shell.reset();

    AfterOpenPlan plan = PlanAfterOpen(options.exitBehavior, reused);
    if (plan.watchMouseLeave)
        Call(host.enableMouseLeaveWatch);
    if (plan.minimize)
        Call(host.minimize);
    if (plan.clearFolderOpened && host.setFolderOpened)
        host.setFolderOpened(false);
    if (plan.hideAndUnload)
        Call(host.hideAndUnload);
    return true;
}

// ---- Copying the path -------------------------------------------------------------------

bool PutTextOnClipboard(HWND owner, const std::wstring& text) {
    // Another program may hold the clipboard for a moment (a clipboard viewer
    // reading the last copy).
    bool open = false;
    for (int attempt = 0; attempt < 20 && !(open = OpenClipboard(owner) != FALSE); ++attempt)
        Sleep(10);
    if (!open)
        return false;
    bool ok = false;
    if (EmptyClipboard()) {
        size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
            if (void* target = GlobalLock(memory)) {
                std::memcpy(target, text.c_str(), bytes);
                GlobalUnlock(memory);
                ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
            }
            // Once set, the memory belongs to the clipboard.
            if (!ok)
                GlobalFree(memory);
        }
    }
    CloseClipboard();
    return ok;
}

bool CopyFolderPath(const FolderActionHost& host,
                    const std::wstring& path,
                    const std::wstring& displayName,
                    const FolderActionServices& services) {
    if (!PutTextOnClipboard(host.window, path))
        return false;
    ShowActionNotice(host, Setting::TipShown_CopyPath, CopyPathNotice(displayName), services);
    return true;
}

NoticeTexts CopyPathNotice(std::wstring_view folderDisplayName) {
    return {FillPlaceholders(ResText(IDS_NOTICE_COPY), {folderDisplayName}), ResText(IDS_NOTICE_COPY_TIP)};
}

NoticeTexts RemoveEntryNotice() {
    return {ResText(IDS_NOTICE_REMOVE), ResText(IDS_NOTICE_REMOVE_TIPS)};
}

// ---- Removing from the history -------------------------------------------------------------

bool RemoveFolderFromHistory(const FolderActionHost& host,
                             const std::wstring& path,
                             const FolderActionServices& services) {
    std::wstring database = services.databasePath.empty() ? DatabasePath() : services.databasePath;
    bool removed = false;
    {
        cDatabase db;
        removed = db.Open(database) && RemoveFolder(db, path);
    }
    if (removed)
        CompactHistory(database);
    Call(host.reloadList);
    if (removed)
        ShowActionNotice(host, Setting::TipShown_RemoveEntry, RemoveEntryNotice(), services);
    return removed;
}

// ---- Properties through the worker ----------------------------------------------------------

bool StartProgram(const std::wstring& exePath) {
    // The path goes as the program name too, so that a folder with blanks
    // cannot be read as a shorter program name. No handles are inherited:
    // the worker lives until log-off and would keep them open all that time.
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

namespace {

// Hands the request over and lets the main window do what ExitBehavior asks;
// false when the worker did not take it.
bool SendPropertiesRequest(HWND worker, const FolderActionHost& host, const std::wstring& path) {
    auto owner = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(host.window));
    // A worker that hangs must not take the main window with it.
    if (!SendToWorker(worker, PropertiesRequestText(owner, path)))
        return false;
    switch (PlanAfterProperties(host.options.exitBehavior)) {
        case AfterProperties::UnloadAfterMenu:
            Call(host.unloadAfterMenu);
            break;
        case AfterProperties::Minimize:
            Call(host.minimize);
            break;
        case AfterProperties::Stay:
            break;
    }
    return true;
}

// A request waiting for the worker that was just started. Its window is
// looked for on a timer, so the main window paints and answers meanwhile.
// The waiting window is a child of the requesting one: a main window that
// goes takes its request with it, and nothing calls back into it.
class cWaitingPropertiesRequest final : public cWindow {
  public:
    static void Start(const FolderActionHost& host,
                      const std::wstring& path,
                      DWORD waitMs,
                      std::function<void(bool)> done) {
        auto* waiting = new cWaitingPropertiesRequest(host, path, waitMs, std::move(done));
        HWND parent = IsWindow(host.window) ? host.window : HWND_MESSAGE;
        DWORD style = parent == HWND_MESSAGE ? 0 : WS_CHILD;
        if (!waiting->Create(WindowClass{L"PfadwerkWaitingRequest"}, L"", style, 0, 0, 0, 0, 0, parent)) {
            std::function<void(bool)> report = std::move(waiting->done_);
            delete waiting;
            if (report)
                report(false);
        } else if (!SetTimer(waiting->Hwnd(), 1, kLookAgainMs, nullptr)) {
            waiting->Finish(nullptr);
        }
    }

  private:
    static constexpr UINT kLookAgainMs = USER_TIMER_MINIMUM;

    cWaitingPropertiesRequest(const FolderActionHost& host,
                              const std::wstring& path,
                              DWORD waitMs,
                              std::function<void(bool)> done)
        : host_(host), path_(path), waitMs_(waitMs), begin_(GetTickCount()), done_(std::move(done)) {}

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_TIMER)
            return DefaultProc(msg, wParam, lParam);
        if (HWND worker = FindWorkerWindow()) {
            Finish(worker);
        } else if (GetTickCount() - begin_ >= waitMs_) {
            Finish(nullptr);
        }
        return 0;
    }

    // Gone before anything is called back: a callback may unload the window
    // this one is a child of.
    void Finish(HWND worker) {
        KillTimer(Hwnd(), 1);
        FolderActionHost host = std::move(host_);
        std::wstring path = std::move(path_);
        std::function<void(bool)> done = std::move(done_);
        Destroy();  // deletes this
        bool sent = worker && SendPropertiesRequest(worker, host, path);
        if (done)
            done(sent);
    }

    void OnDestroyed() override { delete this; }

    FolderActionHost host_;
    std::wstring path_;
    DWORD waitMs_;
    DWORD begin_;
    std::function<void(bool)> done_;
};

}  // namespace

void RequestFolderProperties(const FolderActionHost& host,
                             const std::wstring& path,
                             const FolderActionServices& services,
                             std::function<void(bool sent)> done) {
    auto report = [&done](bool sent) {
        if (done)
            done(sent);
    };
    if (HWND worker = FindWorkerWindow())
        return report(SendPropertiesRequest(worker, host, path));
    std::wstring folder = services.programFolder.empty() ? ProgramFolder() : services.programFolder;
    std::wstring exe = folder + L"\\" + kWorkerProgram;
    if (!(services.startProcess ? services.startProcess(exe) : StartProgram(exe)))
        return report(false);
    cWaitingPropertiesRequest::Start(host, path, services.workerWaitMs, std::move(done));
}

}  // namespace pw
