// A program that waits in an Open or Save dialog, as the user's programs
// do, and writes down what the dialog does, for the dialog jump's tests and
// benchmark:
//   FileDialogHost open|save LOGFILE FOLDER
// opens GetOpenFileNameW (Explorer style, with a hook) or IFileSaveDialog
// (with events) in FOLDER with the name "behalten.txt", and appends to
// LOGFILE "ready <dialog handle>" once the dialog is up (with its control
// tree, one "tree <depth> <class> <id> <visible>" line a window) and
// "folder <ms> <path>" at each change of folder (<ms>: the performance
// counter in milliseconds). With PFADWERK_DIALOGJUMP_BENCH naming a file,
// each change is noted there too ("change <ms>").
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <string>

namespace {

std::wstring gLog;
bool gReady = false;

unsigned long long NowMs() {
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<unsigned long long>(now.QuadPart * 1000 / frequency.QuadPart);
}

void Log(const std::wstring& line) {
    if (FILE* out = _wfopen(gLog.c_str(), L"a, ccs=UTF-8")) {
        fwprintf(out, L"%ls\n", line.c_str());
        fclose(out);
    }
}

void LogTree(HWND hwnd, int depth) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    Log(L"tree " + std::to_wstring(depth) + L" " + name + L" " + std::to_wstring(GetDlgCtrlID(hwnd)) + L" " +
        (IsWindowVisible(hwnd) ? L"1" : L"0"));
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        LogTree(child, depth + 1);
}

void DialogUp(HWND dialog) {
    if (gReady || !dialog)
        return;
    gReady = true;
    LogTree(dialog, 0);
    SetForegroundWindow(dialog);
    Log(L"ready " + std::to_wstring(reinterpret_cast<UINT_PTR>(dialog)));
}

void FolderChanged(const std::wstring& path) {
    unsigned long long now = NowMs();
    Log(L"folder " + std::to_wstring(now) + L" " + path);
    // tools/dialog-jump-bench.sh pairs each pick the main program notes
    // there with the change that follows it.
    wchar_t bench[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"PFADWERK_DIALOGJUMP_BENCH", bench, MAX_PATH) > 0) {
        if (FILE* out = _wfopen(bench, L"a")) {
            fprintf(out, "change %llu\n", now);
            fclose(out);
        }
    }
}

UINT_PTR CALLBACK OpenHook(HWND child, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_NOTIFY)
        return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
    HWND dialog = GetParent(child);
    if (notify->hdr.code == CDN_FOLDERCHANGE) {
        wchar_t folder[MAX_PATH] = {};
        SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
        DialogUp(dialog);
        FolderChanged(folder);
    }
    return 0;
}

int RunOpen(const std::wstring& folder) {
    wchar_t file[MAX_PATH] = L"behalten.txt";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = L"Textdateien\0*.txt\0Alle Dateien\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;
    ofn.lpfnHook = OpenHook;
    BOOL picked = GetOpenFileNameW(&ofn);
    Log(picked ? L"closed " + std::wstring(file) : L"closed");
    return 0;
}

class cSaveEvents final : public IFileDialogEvents {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IFileDialogEvents) {
            *out = static_cast<IFileDialogEvents*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog* dialog) override {
        IShellItem* item = nullptr;
        std::wstring path;
        if (SUCCEEDED(dialog->GetFolder(&item)) && item) {
            PWSTR name = nullptr;
            if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &name)) && name) {
                path = name;
                CoTaskMemFree(name);
            }
            item->Release();
        }
        IOleWindow* window = nullptr;
        HWND hwnd = nullptr;
        if (SUCCEEDED(dialog->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window))) && window) {
            window->GetWindow(&hwnd);
            window->Release();
        }
        DialogUp(hwnd);
        FolderChanged(path);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override { return S_OK; }
};

int RunSave(const std::wstring& folder) {
    IFileSaveDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileSaveDialog,
                                reinterpret_cast<void**>(&dialog))) ||
        !dialog) {
        Log(L"no dialog");
        return 1;
    }
    COMDLG_FILTERSPEC types[] = {{L"Textdateien", L"*.txt"}, {L"Alle Dateien", L"*.*"}};
    dialog->SetFileTypes(2, types);
    dialog->SetFileName(L"behalten.txt");
    IShellItem* start = nullptr;
    if (SUCCEEDED(
            SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_IShellItem, reinterpret_cast<void**>(&start))) &&
        start) {
        dialog->SetFolder(start);
        start->Release();
    }
    cSaveEvents events;
    DWORD cookie = 0;
    dialog->Advise(&events, &cookie);
    HRESULT shown = dialog->Show(nullptr);
    Log(SUCCEEDED(shown) ? L"closed saved" : L"closed");
    dialog->Unadvise(cookie);
    dialog->Release();
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 4)
        return 2;
    gLog = argv[2];
    std::wstring kind = argv[1];
    std::wstring folder = argv[3];
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int result = kind == L"save" ? RunSave(folder) : RunOpen(folder);
    CoUninitialize();
    LocalFree(argv);
    return result;
}
