// Test objects standing in for the shell, behind the interfaces the
// folder-visit reporter uses: the window list (IShellWindows with its
// DShellWindowsEvents), folder windows (IWebBrowser2 with DWebBrowserEvents2)
// and their folder views (IShellFolderViewDual, Folder2, FolderItem). Every
// object counts its references, so a test sees what the reporter still holds.
#pragma once
#include <windows.h>

#include <exdisp.h>
#include <exdispid.h>
#include <olectl.h>
#include <shldisp.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace pwtest {

#define PF_NOTIMPL(name, ...)                              \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { \
        return E_NOTIMPL;                                  \
    }
#define PF_DISPATCH_NOTIMPL                                           \
    PF_NOTIMPL(GetTypeInfoCount, UINT*)                               \
    PF_NOTIMPL(GetTypeInfo, UINT, LCID, ITypeInfo**)                  \
    PF_NOTIMPL(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*) \
    PF_NOTIMPL(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
#define PF_REFCOUNT                              \
    ULONG STDMETHODCALLTYPE AddRef() override {  \
        return ++references;                     \
    }                                            \
    ULONG STDMETHODCALLTYPE Release() override { \
        ULONG left = --references;               \
        if (left == 0)                           \
            delete this;                         \
        return left;                             \
    }                                            \
    ULONG references = 1;

inline HRESULT Hand(IUnknown* object, void** out) {
    *out = object;
    object->AddRef();
    return S_OK;
}

inline BSTR Bstr(const std::wstring& text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// A dead shell answers every call like a proxy whose server has gone.
struct Liveness {
    bool dead = false;
};

// One event interface of an object: the sinks the reporter advised, called
// the way the shell calls them.
class FakeConnectionPoint final : public IConnectionPoint {
  public:
    explicit FakeConnectionPoint(const IID& events) : events_(events) {}
    PF_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint))
            return Hand(this, out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        IDispatch* events = nullptr;
        // As the shell does: the sink must answer for the event interface.
        if (!sink || FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(&events))))
            return CONNECT_E_CANNOTCONNECT;
        sinks_.push_back({++lastCookie_, events});
        *cookie = lastCookie_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        auto found = std::find_if(sinks_.begin(), sinks_.end(), [&](auto& s) { return s.first == cookie; });
        if (found == sinks_.end())
            return CONNECT_E_NOCONNECTION;
        IDispatch* sink = found->second;
        sinks_.erase(found);
        sink->Release();
        return S_OK;
    }
    PF_NOTIMPL(GetConnectionInterface, IID*)
    PF_NOTIMPL(GetConnectionPointContainer, IConnectionPointContainer**)
    PF_NOTIMPL(EnumConnections, IEnumConnections**)

    size_t SinkCount() const { return sinks_.size(); }
    void Fire(DISPID id, std::vector<VARIANT> argumentsLastFirst = {}) {
        DISPPARAMS params{argumentsLastFirst.data(), nullptr, static_cast<UINT>(argumentsLastFirst.size()), 0};
        auto sinks = sinks_;
        for (auto& [cookie, sink] : sinks) {
            sink->AddRef();
            sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
            sink->Release();
        }
    }

  private:
    ~FakeConnectionPoint() {
        for (auto& [cookie, sink] : sinks_)
            sink->Release();
    }
    IID events_;
    std::vector<std::pair<DWORD, IDispatch*>> sinks_;
    DWORD lastCookie_ = 0;
};

// A document that is no folder view (a web page, say).
class FakeWebPage final : public IDispatch {
  public:
    PF_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch))
            return Hand(this, out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    PF_DISPATCH_NOTIMPL
};

// A folder view with its folder and the folder's own item in one object.
class FakeFolderView final : public IShellFolderViewDual, public Folder2, public FolderItem {
  public:
    FakeFolderView(std::wstring name, std::wstring path, bool fileSystem, const Liveness& shell)
        : name_(std::move(name)), path_(std::move(path)), fileSystem_(fileSystem), shell_(shell) {}
    PF_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (shell_.dead)
            return RPC_E_DISCONNECTED;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, IID_IShellFolderViewDual))
            return Hand(static_cast<IShellFolderViewDual*>(this), out);
        if (IsEqualIID(iid, IID_Folder) || IsEqualIID(iid, IID_Folder2))
            return Hand(static_cast<Folder2*>(this), out);
        if (IsEqualIID(iid, IID_FolderItem))
            return Hand(static_cast<FolderItem*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    PF_DISPATCH_NOTIMPL
    // The view.
    HRESULT STDMETHODCALLTYPE get_Folder(Folder** folder) override {
        if (shell_.dead)
            return RPC_E_DISCONNECTED;
        return Hand(static_cast<Folder2*>(this), reinterpret_cast<void**>(folder));
    }
    PF_NOTIMPL(get_Application, IDispatch**)
    PF_NOTIMPL(get_Parent, IDispatch**)
    PF_NOTIMPL(SelectedItems, FolderItems**)
    PF_NOTIMPL(get_FocusedItem, FolderItem**)
    PF_NOTIMPL(SelectItem, VARIANT*, int)
    PF_NOTIMPL(PopupItemMenu, FolderItem*, VARIANT, VARIANT, BSTR*)
    PF_NOTIMPL(get_Script, IDispatch**)
    PF_NOTIMPL(get_ViewOptions, long*)
    // The folder.
    HRESULT STDMETHODCALLTYPE get_Self(FolderItem** item) override {
        if (shell_.dead)
            return RPC_E_DISCONNECTED;
        return Hand(static_cast<FolderItem*>(this), reinterpret_cast<void**>(item));
    }
    PF_NOTIMPL(get_Title, BSTR*)
    PF_NOTIMPL(get_ParentFolder, Folder**)
    PF_NOTIMPL(Items, FolderItems**)
    PF_NOTIMPL(ParseName, BSTR, FolderItem**)
    PF_NOTIMPL(NewFolder, BSTR, VARIANT)
    PF_NOTIMPL(MoveHere, VARIANT, VARIANT)
    PF_NOTIMPL(CopyHere, VARIANT, VARIANT)
    PF_NOTIMPL(GetDetailsOf, VARIANT, int, BSTR*)
    PF_NOTIMPL(get_OfflineStatus, LONG*)
    PF_NOTIMPL(Synchronize)
    PF_NOTIMPL(get_HaveToShowWebViewBarricade, VARIANT_BOOL*)
    PF_NOTIMPL(DismissedWebViewBarricade)
    // The folder's item.
    HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override {
        *name = Bstr(name_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Path(BSTR* path) override {
        *path = Bstr(path_);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsFileSystem(VARIANT_BOOL* fileSystem) override {
        *fileSystem = fileSystem_ ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    PF_NOTIMPL(put_Name, BSTR)
    PF_NOTIMPL(get_GetLink, IDispatch**)
    PF_NOTIMPL(get_GetFolder, IDispatch**)
    PF_NOTIMPL(get_IsLink, VARIANT_BOOL*)
    PF_NOTIMPL(get_IsFolder, VARIANT_BOOL*)
    PF_NOTIMPL(get_IsBrowsable, VARIANT_BOOL*)
    PF_NOTIMPL(get_ModifyDate, DATE*)
    PF_NOTIMPL(put_ModifyDate, DATE)
    PF_NOTIMPL(get_Size, LONG*)
    PF_NOTIMPL(get_Type, BSTR*)
    PF_NOTIMPL(Verbs, FolderItemVerbs**)
    PF_NOTIMPL(InvokeVerb, VARIANT)

  private:
    std::wstring name_, path_;
    bool fileSystem_;
    const Liveness& shell_;
};

// A folder window, or one tab of it: the window list's entry.
class FakeBrowser final : public IWebBrowser2, public IConnectionPointContainer {
  public:
    explicit FakeBrowser(const Liveness& shell) : shell_(shell) {}
    PF_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (shell_.dead)
            return RPC_E_DISCONNECTED;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWebBrowser) ||
            IsEqualIID(iid, IID_IWebBrowserApp) || IsEqualIID(iid, IID_IWebBrowser2))
            return Hand(static_cast<IWebBrowser2*>(this), out);
        if (IsEqualIID(iid, IID_IConnectionPointContainer))
            return Hand(static_cast<IConnectionPointContainer*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        if (!IsEqualIID(iid, DIID_DWebBrowserEvents2))
            return CONNECT_E_NOCONNECTION;
        return Hand(events_, reinterpret_cast<void**>(point));
    }
    PF_NOTIMPL(EnumConnectionPoints, IEnumConnectionPoints**)
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override {
        if (shell_.dead)
            return RPC_E_DISCONNECTED;
        if (whileAsked)
            whileAsked();
        *document = document_;
        if (document_)
            document_->AddRef();
        return S_OK;
    }

    // What the user does: the window shows a folder (or a web page), then the
    // shell tells of the navigation; `by` stands for a frame inside it.
    void Show(const std::wstring& name, const std::wstring& path, bool fileSystem = true) {
        SetDocument(static_cast<IShellFolderViewDual*>(new FakeFolderView(name, path, fileSystem, shell_)));
        url_ = path;
    }
    void ShowWebPage() {
        SetDocument(new FakeWebPage);
        url_ = L"https://example.org/";
    }
    // As the shell fires it: the place, a reference to a text, after the
    // browser.
    void FireNavigateComplete2(IDispatch* by = nullptr) {
        VARIANT text, url, browser;
        text.vt = VT_BSTR;
        text.bstrVal = Bstr(url_);
        url.vt = VT_VARIANT | VT_BYREF;
        url.pvarVal = &text;
        browser.vt = VT_DISPATCH;
        browser.pdispVal = by ? by : static_cast<IWebBrowser2*>(this);
        events_->Fire(DISPID_NAVIGATECOMPLETE2, {url, browser});
        SysFreeString(text.bstrVal);
    }
    void Navigate(const std::wstring& name, const std::wstring& path, bool fileSystem = true) {
        Show(name, path, fileSystem);
        FireNavigateComplete2();
    }
    void FireQuit() { events_->Fire(DISPID_ONQUIT); }
    size_t SinkCount() const { return events_->SinkCount(); }
    // Runs while the reporter waits for the window's answer, as messages
    // the caller's thread lets in meanwhile do.
    std::function<void()> whileAsked;

    PF_DISPATCH_NOTIMPL
    PF_NOTIMPL(GoBack)
    PF_NOTIMPL(GoForward)
    PF_NOTIMPL(GoHome)
    PF_NOTIMPL(GoSearch)
    PF_NOTIMPL(Navigate, BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    PF_NOTIMPL(Refresh)
    PF_NOTIMPL(Refresh2, VARIANT*)
    PF_NOTIMPL(Stop)
    PF_NOTIMPL(get_Application, IDispatch**)
    PF_NOTIMPL(get_Parent, IDispatch**)
    PF_NOTIMPL(get_Container, IDispatch**)
    PF_NOTIMPL(get_TopLevelContainer, VARIANT_BOOL*)
    PF_NOTIMPL(get_Type, BSTR*)
    PF_NOTIMPL(get_Left, LONG*)
    PF_NOTIMPL(put_Left, LONG)
    PF_NOTIMPL(get_Top, LONG*)
    PF_NOTIMPL(put_Top, LONG)
    PF_NOTIMPL(get_Width, LONG*)
    PF_NOTIMPL(put_Width, LONG)
    PF_NOTIMPL(get_Height, LONG*)
    PF_NOTIMPL(put_Height, LONG)
    PF_NOTIMPL(get_LocationName, BSTR*)
    PF_NOTIMPL(get_LocationURL, BSTR*)
    PF_NOTIMPL(get_Busy, VARIANT_BOOL*)
    PF_NOTIMPL(Quit)
    PF_NOTIMPL(ClientToWindow, int*, int*)
    PF_NOTIMPL(PutProperty, BSTR, VARIANT)
    PF_NOTIMPL(GetProperty, BSTR, VARIANT*)
    PF_NOTIMPL(get_Name, BSTR*)
    PF_NOTIMPL(get_HWND, SHANDLE_PTR*)
    PF_NOTIMPL(get_FullName, BSTR*)
    PF_NOTIMPL(get_Path, BSTR*)
    PF_NOTIMPL(get_Visible, VARIANT_BOOL*)
    PF_NOTIMPL(put_Visible, VARIANT_BOOL)
    PF_NOTIMPL(get_StatusBar, VARIANT_BOOL*)
    PF_NOTIMPL(put_StatusBar, VARIANT_BOOL)
    PF_NOTIMPL(get_StatusText, BSTR*)
    PF_NOTIMPL(put_StatusText, BSTR)
    PF_NOTIMPL(get_ToolBar, int*)
    PF_NOTIMPL(put_ToolBar, int)
    PF_NOTIMPL(get_MenuBar, VARIANT_BOOL*)
    PF_NOTIMPL(put_MenuBar, VARIANT_BOOL)
    PF_NOTIMPL(get_FullScreen, VARIANT_BOOL*)
    PF_NOTIMPL(put_FullScreen, VARIANT_BOOL)
    PF_NOTIMPL(Navigate2, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    PF_NOTIMPL(QueryStatusWB, OLECMDID, OLECMDF*)
    PF_NOTIMPL(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
    PF_NOTIMPL(ShowBrowserBar, VARIANT*, VARIANT*, VARIANT*)
    PF_NOTIMPL(get_ReadyState, READYSTATE*)
    PF_NOTIMPL(get_Offline, VARIANT_BOOL*)
    PF_NOTIMPL(put_Offline, VARIANT_BOOL)
    PF_NOTIMPL(get_Silent, VARIANT_BOOL*)
    PF_NOTIMPL(put_Silent, VARIANT_BOOL)
    PF_NOTIMPL(get_RegisterAsBrowser, VARIANT_BOOL*)
    PF_NOTIMPL(put_RegisterAsBrowser, VARIANT_BOOL)
    PF_NOTIMPL(get_RegisterAsDropTarget, VARIANT_BOOL*)
    PF_NOTIMPL(put_RegisterAsDropTarget, VARIANT_BOOL)
    PF_NOTIMPL(get_TheaterMode, VARIANT_BOOL*)
    PF_NOTIMPL(put_TheaterMode, VARIANT_BOOL)
    PF_NOTIMPL(get_AddressBar, VARIANT_BOOL*)
    PF_NOTIMPL(put_AddressBar, VARIANT_BOOL)
    PF_NOTIMPL(get_Resizable, VARIANT_BOOL*)
    PF_NOTIMPL(put_Resizable, VARIANT_BOOL)

  private:
    ~FakeBrowser() {
        if (document_)
            document_->Release();
        events_->Release();
    }
    void SetDocument(IDispatch* document) {
        if (document_)
            document_->Release();
        document_ = document;
    }
    const Liveness& shell_;
    FakeConnectionPoint* events_ = new FakeConnectionPoint(DIID_DWebBrowserEvents2);
    IDispatch* document_ = nullptr;
    std::wstring url_;
};

// The shell's list of folder windows.
class FakeShellWindows final : public IShellWindows, public IConnectionPointContainer {
  public:
    Liveness liveness;

    PF_REFCOUNT
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (liveness.dead)
            return RPC_E_DISCONNECTED;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IShellWindows))
            return Hand(static_cast<IShellWindows*>(this), out);
        if (IsEqualIID(iid, IID_IConnectionPointContainer))
            return Hand(static_cast<IConnectionPointContainer*>(this), out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        if (liveness.dead)
            return RPC_E_DISCONNECTED;
        if (!IsEqualIID(iid, DIID_DShellWindowsEvents))
            return CONNECT_E_NOCONNECTION;
        return Hand(events_, reinterpret_cast<void**>(point));
    }
    PF_NOTIMPL(EnumConnectionPoints, IEnumConnectionPoints**)
    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
        if (liveness.dead)
            return HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
        *count = static_cast<LONG>(windows_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** folder) override {
        *folder = nullptr;
        if (liveness.dead)
            return RPC_E_DISCONNECTED;
        if (index.vt != VT_I4 || index.lVal < 0 || static_cast<size_t>(index.lVal) >= windows_.size())
            return S_FALSE;
        return Hand(static_cast<IWebBrowser2*>(windows_[index.lVal]), reinterpret_cast<void**>(folder));
    }

    // A window (or tab) that is there, without telling anybody.
    FakeBrowser* Add() {
        auto* browser = new FakeBrowser(liveness);
        windows_.push_back(browser);
        return browser;
    }
    // A window that opens: it joins the list, and the list tells of it.
    FakeBrowser* Open() {
        FakeBrowser* browser = Add();
        FireList(DISPID_WINDOWREGISTERED);
        return browser;
    }
    // A window that closes: it says so, leaves the list, and the list tells.
    void Close(FakeBrowser* browser, bool quitEvent = true) {
        if (quitEvent)
            browser->FireQuit();
        windows_.erase(std::find(windows_.begin(), windows_.end(), browser));
        FireList(DISPID_WINDOWREVOKED);
        browser->Release();
    }
    void FireList(DISPID id) {
        VARIANT cookie;
        VariantInit(&cookie);
        cookie.vt = VT_I4;
        cookie.lVal = static_cast<LONG>(windows_.size());
        events_->Fire(id, {cookie});
    }
    size_t SinkCount() const { return events_->SinkCount(); }

    PF_DISPATCH_NOTIMPL
    PF_NOTIMPL(_NewEnum, IUnknown**)
    PF_NOTIMPL(Register, IDispatch*, LONG, int, LONG*)
    PF_NOTIMPL(RegisterPending, LONG, VARIANT*, VARIANT*, int, LONG*)
    PF_NOTIMPL(Revoke, LONG)
    PF_NOTIMPL(OnNavigate, LONG, VARIANT*)
    PF_NOTIMPL(OnActivated, LONG, VARIANT_BOOL)
    PF_NOTIMPL(FindWindowSW, VARIANT*, VARIANT*, int, LONG*, int, IDispatch**)
    PF_NOTIMPL(OnCreated, LONG, IUnknown*)
    PF_NOTIMPL(ProcessAttachDetach, VARIANT_BOOL)

  private:
    ~FakeShellWindows() {
        for (FakeBrowser* browser : windows_)
            browser->Release();
        events_->Release();
    }
    std::vector<FakeBrowser*> windows_;
    FakeConnectionPoint* events_ = new FakeConnectionPoint(DIID_DShellWindowsEvents);
};

#undef PF_NOTIMPL
#undef PF_DISPATCH_NOTIMPL
#undef PF_REFCOUNT

}  // namespace pwtest
