// Pfadwerk: the main window, loaded again whenever the options ask for a
// fresh one.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "AppFlags.h"
#include "Handles.h"
#include "StartupBench.h"
#include "frmMain.h"

namespace {

// Lets window messages run until the main window has unloaded; sleeps while
// there are none.
void WaitForUnload() {
    while (!pw::bMainWindowUnloaded) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    pw::frmMainOptions options;
    options.onFirstPaint = pw::StartupBenchHook();
    pw::cComInit com;  // shell links and the list's background picture
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    for (;;) {
        pw::bMainWindowUnloaded = false;
        {
            auto form = std::make_unique<pw::frmMain>(options);
            form->Load();
            WaitForUnload();
        }
        if (!pw::bReloadMainWindow) break;
        pw::bReloadMainWindow = false;
        pw::bMainWindowUnloaded = false;
    }
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    return 0;
}
