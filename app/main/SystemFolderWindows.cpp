#include "FolderActions.h"

// The shell's own folder windows, as cSystemFolderWindows reaches them through
// automation; the rest of the folder actions only see cFolderWindowShell.

#include <exdisp.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shldisp.h>

#include "FolderOpenPlan.h"

namespace pw {
namespace {

// A BSTR variant that frees itself.
class cBstrVariant {
  public:
    explicit cBstrVariant(const std::wstring& text) {
        VariantInit(&v_);
        V_VT(&v_) = VT_BSTR;
        V_BSTR(&v_) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    ~cBstrVariant() { VariantClear(&v_); }
    cBstrVariant(const cBstrVariant&) = delete;
    cBstrVariant& operator=(const cBstrVariant&) = delete;
    VARIANT* Get() { return &v_; }
    bool Ok() const { return V_BSTR(&v_) != nullptr; }

  private:
    VARIANT v_;
};

// The name of the document's type, as the shell's automation describes it
// ("IShellFolderViewDual2" for a folder, "DispHTMLDocument" for a web page);
// "" when the window has no document (yet) or no type information.
std::wstring DocumentTypeName(IWebBrowser2* browser) {
    cComPtr<IDispatch> document;
    if (FAILED(browser->get_Document(document.Put())) || !document)
        return {};
    cComPtr<ITypeInfo> type;
    if (FAILED(document->GetTypeInfo(0, LOCALE_USER_DEFAULT, type.Put())) || !type)
        return {};
    BSTR name = nullptr;
    if (FAILED(type->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr)) || !name)
        return {};
    std::wstring result(name, SysStringLen(name));
    SysFreeString(name);
    return result;
}

bool OpenWithShellDispatch(const std::wstring& path, FolderWindowKind kind) {
    cComPtr<IShellDispatch> shell;
    if (FAILED(CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER, IID_IShellDispatch, shell.PutVoid())) ||
        !shell)
        return false;
    cBstrVariant folder(path);
    if (!folder.Ok())
        return false;
    HRESULT hr = kind == FolderWindowKind::Explorer ? shell->Explore(*folder.Get()) : shell->Open(*folder.Get());
    return SUCCEEDED(hr);
}

bool OpenWithShellExecute(const std::wstring& path, FolderWindowKind kind) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.lpVerb = kind == FolderWindowKind::Explorer ? L"explore" : L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

}  // namespace

// ---- cSystemFolderWindows -----------------------------------------------------------

struct cSystemFolderWindows::Entry {
    cComPtr<IWebBrowser2> browser;
    HWND root = nullptr;
};

cSystemFolderWindows::cSystemFolderWindows() = default;
cSystemFolderWindows::~cSystemFolderWindows() = default;

bool cSystemFolderWindows::ListWindows(std::vector<ShellWindowInfo>& windows) {
    windows.clear();
    entries_.clear();
    cComPtr<IShellWindows> shellWindows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows, shellWindows.PutVoid())) ||
        !shellWindows)
        return false;
    long count = 0;
    if (FAILED(shellWindows->get_Count(&count)))
        return false;
    for (long i = 0; i < count; ++i) {
        VARIANT index;
        VariantInit(&index);
        V_VT(&index) = VT_I4;
        V_I4(&index) = i;
        cComPtr<IDispatch> item;
        // A window closed during the walk leaves a gap; it is simply not there.
        if (FAILED(shellWindows->Item(index, item.Put())) || !item)
            continue;
        Entry entry;
        entry.browser = item.As<IWebBrowser2>(IID_IWebBrowser2);
        if (!entry.browser)
            continue;
        SHANDLE_PTR handle = 0;
        if (FAILED(entry.browser->get_HWND(&handle)) || !handle)
            continue;
        entry.root = GetAncestor(reinterpret_cast<HWND>(handle), GA_ROOT);
        if (!entry.root)
            continue;
        ShellWindowInfo info;
        info.isFolderView = IsFolderViewTypeName(DocumentTypeName(entry.browser.Get()));
        info.root = entry.root;
        info.minimized = IsIconic(entry.root) != FALSE;
        windows.push_back(info);
        entries_.push_back(std::move(entry));
    }
    return true;
}

bool cSystemFolderWindows::Restore(size_t index) {
    if (index >= entries_.size() || !IsWindow(entries_[index].root))
        return false;
    ShowWindow(entries_[index].root, SW_RESTORE);
    return true;
}

bool cSystemFolderWindows::BringToFront(size_t index) {
    if (index >= entries_.size() || !IsWindow(entries_[index].root))
        return false;
    AllowSetForegroundWindow(ASFW_ANY);
    SetForegroundWindow(entries_[index].root);
    return true;
}

bool cSystemFolderWindows::Navigate(size_t index, const std::wstring& path) {
    if (index >= entries_.size())
        return false;
    cBstrVariant address(path);
    if (!address.Ok())
        return false;
    VARIANT missing;
    VariantInit(&missing);
    return SUCCEEDED(entries_[index].browser->Navigate2(address.Get(), &missing, &missing, &missing, &missing));
}

bool cSystemFolderWindows::OpenNew(const std::wstring& path, FolderWindowKind kind) {
    return OpenWithShellDispatch(path, kind) || OpenWithShellExecute(path, kind);
}

}  // namespace pw
