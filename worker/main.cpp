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

    pw::frmMain worker(pw::DefaultHistoryFiles());
    worker.Load();
    pw::frmWelcome welcome(worker);
    if (pw::IsSetupCommandLine(commandLine ? commandLine : L"")) welcome.Load();

    // The process lives while any of its windows does.
    auto anyFormLeft = [&] { return worker.Hwnd() != nullptr || welcome.Hwnd() != nullptr; };
    MSG msg;
    while (anyFormLeft() && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.hwnd == nullptr && msg.message == pw::kFormClosedMessage) continue;
        if (welcome.PreTranslateMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
