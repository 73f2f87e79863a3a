// The yardstick of the start-up benchmark: a window with nothing but a list
// view and a tab control on common controls 6, timed from its entry to its
// first paint the way the main program times itself (tools/startup-bench.sh
// runs both in one session). Reports to the file PFADWERK_STARTUP_BENCH names.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

namespace {

ULONGLONG Now() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

ULONGLONG AsNumber(const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

ULONGLONG gEntry;
wchar_t gReport[MAX_PATH];

void ReportAndEnd() {
    ULONGLONG painted = Now();
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    if (FILE* out = _wfopen(gReport, L"a")) {
        std::fprintf(out, "process %.1f ms, program %.1f ms\n", (painted - AsNumber(created)) / 10000.0,
                     (painted - gEntry) / 10000.0);
        std::fclose(out);
    }
    ExitProcess(0);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
            ReportAndEnd();
            return result;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    gEntry = Now();
    if (GetEnvironmentVariableW(L"PFADWERK_STARTUP_BENCH", gReport, MAX_PATH) == 0)
        return 1;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"PfadwerkBareWindow";
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Pfadwerk", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 507, 447, nullptr, nullptr, instance, nullptr);
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 2, 2, 490, 400, window,
                                nullptr, instance, nullptr);
    const wchar_t* captions[] = {L"Zuletzt benutzt", L"Meistbenutzt", L"Favoriten"};
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 8, 30, 478, 366, window,
                                nullptr, instance, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 300;
    column.pszText = const_cast<wchar_t*>(L"Ordner");
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    ShowWindow(window, SW_SHOWNORMAL);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
