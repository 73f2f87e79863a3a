// The program gets comctl32 v6 from its manifest; the test program has none,
// so it activates the same dependency for its whole run before any test.
#include "UiTestSupport.h"

#include <commctrl.h>
#include <objbase.h>

namespace pw::test {
namespace {

constexpr char kManifest[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
    "  <dependency><dependentAssembly>\n"
    "    <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"\n"
    "                      processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\n"
    "  </dependentAssembly></dependency>\n"
    "</assembly>\n";

std::wstring TempPath(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

struct cCommonControls6 {
    cCommonControls6() {
        std::wstring path = TempPath(L"pfadwerk_ui_tests.manifest");
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, kManifest, sizeof(kManifest) - 1, &written, nullptr);
            CloseHandle(file);
        }
        ACTCTXW context{};
        context.cbSize = sizeof(context);
        context.lpSource = path.c_str();
        HANDLE handle = CreateActCtxW(&context);
        ULONG_PTR cookie = 0;
        if (handle != INVALID_HANDLE_VALUE)
            ActivateActCtx(handle, &cookie);
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
        OleInitialize(nullptr);
    }
};
const cCommonControls6 commonControls6;

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

cHostWindow::cHostWindow(int width, int height) {
    static const ATOM atom = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"PfadwerkUiTestHost";
        return RegisterClassExW(&wc);
    }();
    (void)atom;
    hwnd_ = CreateWindowExW(0, L"PfadwerkUiTestHost", L"UI test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, width,
                            height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    PumpMessages();
}

cHostWindow::~cHostWindow() {
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
    PumpMessages();
}

HWND cHostWindow::AddButton(const std::wstring& text, int x, int y, int width, int height) {
    return CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, y, width, height,
                           hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

cTempFile::cTempFile(const std::wstring& name, const void* data, size_t bytes) : path_(TempPath(name)) {
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, data, static_cast<DWORD>(bytes), &written, nullptr);
        CloseHandle(file);
    }
}

cTempFile::~cTempFile() {
    DeleteFileW(path_.c_str());
}

}  // namespace pw::test
