#include "FolderVisitReporter.h"

#include <exdispid.h>
#include <shldisp.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "Text.h"

namespace pw::worker {
namespace {

// Deferred work of the reporter: what an event asks for is done after the
// shell's call has returned, so Explorer never waits for us.
constexpr UINT kDoWork = WM_APP + 1;
constexpr UINT_PTR tmrConnectRetry = 1;
// A shell that is not there yet (the worker started before Explorer) is
// tried again a few times; after that its start announces it
// ("TaskbarCreated").
constexpr UINT kConnectRetryMs[] = {2000, 10000, 30000, 120000};

// The shell's process has gone: every object of it is dead.
bool IsGone(HRESULT hr) {
    return hr == RPC_E_DISCONNECTED || hr == RPC_E_SERVER_DIED || hr == RPC_E_SERVER_DIED_DNE ||
           hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) || hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) ||
           hr == CO_E_OBJNOTCONNECTED;
}

class cBstr {
  public:
    cBstr() = default;
    ~cBstr() { SysFreeString(s_); }
    cBstr(const cBstr&) = delete;
    cBstr& operator=(const cBstr&) = delete;
    BSTR* Put() {
        SysFreeString(s_);
        s_ = nullptr;
        return &s_;
    }
    std::wstring Text() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

  private:
    BSTR s_ = nullptr;
};

cComPtr<IUnknown> IdentityOf(IUnknown* object) {
    cComPtr<IUnknown> identity;
    if (object)
        object->QueryInterface(IID_IUnknown, identity.PutVoid());
    return identity;
}

struct ShownFolderInfo {
    std::wstring name;
    std::wstring path;
};

// Folders the history can hold and open again: drive and network paths. The
// shell's virtual folders (the computer, the libraries, search results) have
// only a "::{...}" parsing name; a server's list of shares has its UNC name.
bool IsReportable(const std::wstring& path, bool fileSystem) {
    return !path.empty() && (fileSystem || path.rfind(L"\\\\", 0) == 0);
}

// The folder a browser window shows, when its document is a shell folder
// view; nothing for a web page, an empty window or a window going away.
std::optional<ShownFolderInfo> ShownFolder(IWebBrowser2* browser) {
    cComPtr<IDispatch> document;
    if (!browser || FAILED(browser->get_Document(document.Put())) || !document)
        return std::nullopt;
    auto view = document.As<IShellFolderViewDual>(IID_IShellFolderViewDual);
    cComPtr<::Folder> folder;
    if (!view || FAILED(view->get_Folder(folder.Put())) || !folder)
        return std::nullopt;
    auto folder2 = folder.As<Folder2>(IID_Folder2);
    cComPtr<FolderItem> self;
    if (!folder2 || FAILED(folder2->get_Self(self.Put())) || !self)
        return std::nullopt;
    cBstr name, path;
    VARIANT_BOOL fileSystem = VARIANT_FALSE;
    if (FAILED(self->get_Path(path.Put())) || FAILED(self->get_Name(name.Put())))
        return std::nullopt;
    self->get_IsFileSystem(&fileSystem);
    ShownFolderInfo shown{name.Text(), path.Text()};
    if (!IsReportable(shown.path, fileSystem != VARIANT_FALSE))
        return std::nullopt;
    return shown;
}

// A folder named by a drive or network path, as the navigation's event names
// file-system folders (virtual ones go by "::{...}").
bool IsFolderPath(const std::wstring& url) {
    return (url.size() >= 3 && url[1] == L':' && url[2] == L'\\') || url.rfind(L"\\\\", 0) == 0;
}

bool SamePath(std::wstring a, std::wstring b) {
    for (std::wstring* path : {&a, &b}) {
        if (path->size() > 3 && path->back() == L'\\')
            path->pop_back();
    }
    return EqualsNoCase(a, b);
}

std::wstring LastPart(const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 >= path.size())
        return path;  // a drive's root
    return path.substr(slash + 1);
}

}  // namespace

// The receiving end of an event interface: the shell calls Invoke with the
// event's number. Detached when its window is released, so a call that was
// already under way when we let go does nothing.
class cEventSink final : public IDispatch {
  public:
    using Handler = std::function<void(DISPID, DISPPARAMS*)>;
    cEventSink(const IID& events, Handler handler) : events_(events), handler_(std::move(handler)) {}
    void Detach() { handler_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, events_)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE
    Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        if (handler_) {
            // The handler may detach this sink; keep it alive till the end.
            AddRef();
            Handler handler = handler_;
            handler(id, params);
            Release();
        }
        return S_OK;
    }

  private:
    ~cEventSink() = default;
    IID events_;
    Handler handler_;
    ULONG references_ = 1;
};

struct cFolderVisitReporter::WatchedWindow {
    cComPtr<IWebBrowser2> browser;
    cComPtr<IUnknown> identity;
    cComPtr<IConnectionPoint> events;
    cComPtr<cEventSink> sink;
    DWORD cookie = 0;
    // A window found open is reported with the folder it shows; its own
    // event for that same navigation may still follow and is then not a
    // second visit.
    bool navigationSeen = false;
    std::wstring reportedAtWatch;
};

cComPtr<IShellWindows> ShellWindowsOfTheShell() {
    cComPtr<IShellWindows> windows;
    CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.PutVoid());
    return windows;
}

cFolderVisitReporter::cFolderVisitReporter(ShellWindowsSource source, FolderVisitSink sink)
    : source_(std::move(source)), sink_(std::move(sink)) {}

cFolderVisitReporter::~cFolderVisitReporter() {
    Stop();
}

bool cFolderVisitReporter::Start() {
    // Explorer announces its (re)start to every top-level window by this
    // message; a message-only window would not hear it.
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    if (!Hwnd() && !Create(WindowClass{kReporterWindowClass}, L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, nullptr))
        return false;
    connectAttempts_ = 0;
    RequestWork(kReconnect);
    return true;
}

void cFolderVisitReporter::Stop() {
    // Asked for from within a call to the shell (the worker ending on a
    // message let in meanwhile): done once that call has returned.
    if (busy_) {
        stopPending_ = true;
        return;
    }
    stopPending_ = false;
    Disconnect();
    pendingWork_ = 0;
    navigations_.clear();
    Destroy();
}

LRESULT cFolderVisitReporter::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kDoWork) {
        OnWork();
        return 0;
    }
    if (msg == WM_TIMER && wParam == tmrConnectRetry) {
        tmrConnectRetry_Timer();
        return 0;
    }
    if (taskbarCreated_ && msg == taskbarCreated_) {
        // A new shell: everything we hold belongs to the old one.
        connectAttempts_ = 0;
        RequestWork(kReconnect);
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

void cFolderVisitReporter::RequestWork(unsigned work) {
    pendingWork_ |= work;
    if (!workPosted_ && Hwnd())
        workPosted_ = PostMessageW(Hwnd(), kDoWork, 0, 0) != FALSE;
}

// Calls to the shell let the shell call us back meanwhile, and let posted
// messages in: work asked for while one piece is under way waits for it.
void cFolderVisitReporter::Enter() {
    ++busy_;
}

void cFolderVisitReporter::Leave() {
    if (--busy_ > 0)
        return;
    if (stopPending_)
        Stop();
    else if (pendingWork_ && !workPosted_ && Hwnd())
        workPosted_ = PostMessageW(Hwnd(), kDoWork, 0, 0) != FALSE;
}

void cFolderVisitReporter::OnWork() {
    workPosted_ = false;
    if (busy_)
        return;
    Enter();
    while (pendingWork_) {
        unsigned work = std::exchange(pendingWork_, 0u);
        if (work & kReconnect) {
            Disconnect();
            Connect();
            continue;  // a fresh list: nothing else is left to do
        }
        if (work & kReleaseQuit) {
            for (unsigned long key : std::exchange(quitWindows_, {}))
                Release(key);
        }
        if (work & kReconcile)
            Reconcile();
        if (work & kReport)
            ReportNavigations();
    }
    Leave();
}

void cFolderVisitReporter::tmrConnectRetry_Timer() {
    KillTimer(Hwnd(), tmrConnectRetry);
    RequestWork(kReconnect);
}

void cFolderVisitReporter::Connect() {
    KillTimer(Hwnd(), tmrConnectRetry);
    cComPtr<IShellWindows> shell = source_ ? source_() : cComPtr<IShellWindows>();
    cComPtr<IConnectionPoint> events;
    cComPtr<cEventSink> sink;
    DWORD cookie = 0;
    if (shell) {
        auto container = shell.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
        *sink.Put() = new cEventSink(DIID_DShellWindowsEvents, [this](DISPID id, DISPPARAMS*) { OnShellEvent(id); });
        if (!container || FAILED(container->FindConnectionPoint(DIID_DShellWindowsEvents, events.Put())) || !events ||
            FAILED(events->Advise(sink.Get(), &cookie))) {
            sink->Detach();
            shell.Reset();
        }
    }
    if (!shell) {
        // Without the list's events no new window would ever be seen.
        if (connectAttempts_ < static_cast<int>(std::size(kConnectRetryMs)))
            SetTimer(Hwnd(), tmrConnectRetry, kConnectRetryMs[connectAttempts_++], nullptr);
        return;
    }
    shell_ = std::move(shell);
    shellEvents_ = std::move(events);
    shellSink_ = std::move(sink);
    shellCookie_ = cookie;
    connectAttempts_ = 0;

    // Windows open before we came are watched from their next navigation on:
    // their folders were reported by whoever watched then (or by us before a
    // reconnect).
    LONG count = 0;
    HRESULT hr = shell_->get_Count(&count);
    for (LONG i = 0; SUCCEEDED(hr) && i < count; ++i) {
        VARIANT index;
        VariantInit(&index);
        index.vt = VT_I4;
        index.lVal = i;
        cComPtr<IDispatch> item;
        if (FAILED(shell_->Item(index, item.Put())) || !item)
            continue;
        auto browser = item.As<IWebBrowser2>(IID_IWebBrowser2);
        if (browser)
            Watch(browser, IdentityOf(browser.Get()), false);
    }
}

void cFolderVisitReporter::Disconnect() {
    KillTimer(Hwnd(), tmrConnectRetry);
    while (!windows_.empty())
        Release(windows_.begin()->first);
    quitWindows_.clear();
    if (shellSink_)
        shellSink_->Detach();
    // A dead shell answers nothing; the release of its proxies is local.
    if (shellEvents_ && shellCookie_)
        shellEvents_->Unadvise(shellCookie_);
    shellCookie_ = 0;
    shellEvents_.Reset();
    shellSink_.Reset();
    shell_.Reset();
}

void cFolderVisitReporter::Reconcile() {
    if (!shell_)
        return;
    LONG count = 0;
    HRESULT hr = shell_->get_Count(&count);
    if (FAILED(hr)) {
        if (IsGone(hr))
            RequestWork(kReconnect);
        return;
    }
    std::vector<std::pair<cComPtr<IWebBrowser2>, cComPtr<IUnknown>>> listed;
    for (LONG i = 0; i < count; ++i) {
        VARIANT index;
        VariantInit(&index);
        index.vt = VT_I4;
        index.lVal = i;
        cComPtr<IDispatch> item;
        shell_->Item(index, item.Put());
        auto browser = item.As<IWebBrowser2>(IID_IWebBrowser2);
        if (browser)
            listed.emplace_back(browser, IdentityOf(browser.Get()));
    }
    auto isListed = [&](IUnknown* identity) {
        return std::any_of(listed.begin(), listed.end(), [&](auto& entry) { return entry.second.Get() == identity; });
    };
    std::vector<unsigned long> gone;
    for (auto& [key, window] : windows_) {
        if (!isListed(window->identity.Get()))
            gone.push_back(key);
    }
    for (unsigned long key : gone)
        Release(key);
    for (auto& [browser, identity] : listed) {
        bool watched = std::any_of(windows_.begin(), windows_.end(),
                                   [&](auto& entry) { return entry.second->identity.Get() == identity.Get(); });
        if (!watched)
            Watch(browser, identity, true);
    }
}

void cFolderVisitReporter::Watch(cComPtr<IWebBrowser2> browser, cComPtr<IUnknown> identity, bool reportCurrentFolder) {
    if (!browser || !identity)
        return;
    auto container = browser.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
    if (!container)
        return;
    unsigned long key = nextKey_++;
    auto window = std::make_unique<WatchedWindow>();
    window->browser = std::move(browser);
    window->identity = std::move(identity);
    *window->sink.Put() = new cEventSink(
        DIID_DWebBrowserEvents2, [this, key](DISPID id, DISPPARAMS* params) { OnBrowserEvent(key, id, params); });
    WatchedWindow& watched = *window;
    // In the list before Advise: its first event may come at once.
    windows_.emplace(key, std::move(window));
    if (FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, watched.events.Put())) || !watched.events ||
        FAILED(watched.events->Advise(watched.sink.Get(), &watched.cookie))) {
        watched.cookie = 0;
        Release(key);
        return;
    }
    if (!reportCurrentFolder)
        return;
    cComPtr<IWebBrowser2> asked = watched.browser;
    auto folder = ShownFolder(asked.Get());
    // The shell may have called us meanwhile: look again.
    auto found = windows_.find(key);
    if (!folder || found == windows_.end() || found->second->navigationSeen)
        return;
    found->second->reportedAtWatch = folder->path;
    if (sink_)
        sink_(folder->name, folder->path);
}

void cFolderVisitReporter::Release(unsigned long key) {
    auto found = windows_.find(key);
    if (found == windows_.end())
        return;
    std::unique_ptr<WatchedWindow> window = std::move(found->second);
    windows_.erase(found);
    if (window->sink)
        window->sink->Detach();
    if (window->events && window->cookie)
        window->events->Unadvise(window->cookie);
}

void cFolderVisitReporter::OnShellEvent(DISPID id) {
    if (id == DISPID_WINDOWREGISTERED || id == DISPID_WINDOWREVOKED)
        RequestWork(kReconcile);
}

void cFolderVisitReporter::OnBrowserEvent(unsigned long key, DISPID id, DISPPARAMS* params) {
    auto found = windows_.find(key);
    if (found == windows_.end())
        return;
    Enter();
    if (id == DISPID_ONQUIT) {
        quitWindows_.push_back(key);
        RequestWork(kReleaseQuit);
    } else if (id == DISPID_NAVIGATECOMPLETE2 && params) {
        OnNavigateComplete2(key, *params);
    }
    Leave();
}

// Runs inside the shell's call: notes the navigation and nothing else.
void cFolderVisitReporter::OnNavigateComplete2(unsigned long key, const DISPPARAMS& params) {
    if (params.cArgs < 1)
        return;
    // Arguments come last first: the browser that navigated, then where to.
    const VARIANT& first = params.rgvarg[params.cArgs - 1];
    IDispatch* navigated = nullptr;
    if (first.vt == VT_DISPATCH)
        navigated = first.pdispVal;
    else if (first.vt == (VT_DISPATCH | VT_BYREF) && first.ppdispVal)
        navigated = *first.ppdispVal;
    WatchedWindow& window = *windows_.at(key);
    // A frame inside the window (a web page's) navigates on its own; only the
    // window's own navigation is a folder visit. Asking a proxy for its
    // identity stays in this process.
    if (IdentityOf(navigated).Get() != window.identity.Get())
        return;
    std::wstring url;
    if (params.cArgs >= 2) {
        const VARIANT* where = &params.rgvarg[params.cArgs - 2];
        if (where->vt == (VT_VARIANT | VT_BYREF) && where->pvarVal)
            where = where->pvarVal;
        if (where->vt == VT_BSTR && where->bstrVal)
            url.assign(where->bstrVal, SysStringLen(where->bstrVal));
    }
    navigations_.push_back({key, std::move(url), !std::exchange(window.navigationSeen, true)});
    RequestWork(kReport);
}

void cFolderVisitReporter::ReportNavigations() {
    std::vector<Navigation> navigations = std::exchange(navigations_, {});
    for (size_t i = 0; i < navigations.size(); ++i) {
        const Navigation& navigation = navigations[i];
        auto found = windows_.find(navigation.key);
        if (found == windows_.end())
            continue;
        // The window went on before it could be asked (the worker's thread
        // was busy): what it shows is a later navigation's folder. A
        // navigation to a folder path is still a visit, named as its path
        // does; where an earlier one went otherwise is unknown.
        bool movedOn = std::any_of(navigations.begin() + i + 1, navigations.end(),
                                   [&](const Navigation& later) { return later.key == navigation.key; });
        if (movedOn && !IsFolderPath(navigation.url))
            continue;
        cComPtr<IWebBrowser2> browser = found->second->browser;
        auto folder = ShownFolder(browser.Get());
        // The shell may have called us meanwhile: look again.
        found = windows_.find(navigation.key);
        if (found == windows_.end() || !folder)
            continue;
        if (IsFolderPath(navigation.url) && !SamePath(folder->path, navigation.url))
            folder = ShownFolderInfo{LastPart(navigation.url), navigation.url};
        if (navigation.first && folder->path == found->second->reportedAtWatch)
            continue;
        if (sink_)
            sink_(folder->name, folder->path);
    }
}

}  // namespace pw::worker
