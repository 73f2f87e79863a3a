// PfadwerkHg: runs hidden from log-on and logs every folder the user opens.
#include <windows.h>

#include <commctrl.h>

#include "Handles.h"
#include "Payload.h"
#include "frmMain.h"
#include "frmWelcome.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    pw::cComInit com;  // the shell's properties dialog needs COM
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    pw::worker::frmMain worker(pw::DefaultHistoryFiles());
    pw::worker::frmWelcome welcome(worker);
    // The process lives while any of its windows does.
    auto endWhenNoneLeft = [&] {
        if (!worker.Hwnd() && !welcome.Hwnd())
            PostQuitMessage(0);
    };
    worker.onUnloaded = endWhenNoneLeft;
    welcome.onUnloaded = endWhenNoneLeft;
    worker.Load();
    if (pw::IsSetupCommandLine(commandLine ? commandLine : L""))
        welcome.Load();
    if (!worker.Hwnd() && !welcome.Hwnd())
        return 0;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (welcome.PreTranslateMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
