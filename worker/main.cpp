// PfadwerkHg: runs hidden from log-on and logs every folder the user opens.
#include <windows.h>

#include <commctrl.h>

#include "FolderVisitReporter.h"
#include "Handles.h"
#include "TestRun.h"
#include "WorkerProtocol.h"
#include "frmMain.h"
#include "frmWelcome.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    if (!pw::JoinTestRun())
        return 1;
    pw::cComInit com;  // the shell's properties dialog needs COM
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    pw::worker::frmMain worker(pw::UserHistoryFiles());
    pw::worker::frmWelcome welcome(worker);
    // The visits come from Explorer's folder windows, watched from here: in
    // the worker's own process and apartment, so that it runs from log-on
    // with the worker, on the worker's message loop, and ends with it. Each
    // is handed to the worker as it is: no text in between whose shape a
    // folder's name could change.
    pw::worker::cFolderVisitReporter reporter(
        pw::worker::ShellWindowsOfTheShell,
        [&](const std::wstring& name, const std::wstring& path) { worker.AcceptVisit(name, path); });
    // The process lives while any of its windows does.
    auto endWhenNoneLeft = [&] {
        if (!worker.Hwnd() && !welcome.Hwnd())
            PostQuitMessage(0);
    };
    worker.onUnloaded = [&] {
        reporter.Stop();
        endWhenNoneLeft();
    };
    welcome.onUnloaded = endWhenNoneLeft;
    welcome.onImportChosen = [&] { worker.StartMainProgram(pw::kImportSwitch); };
    // Only the session's one worker watches, and never one of a test run:
    // the Explorer windows are the user's, and their visits would pour into
    // the run's history.
    if (worker.Load() && !pw::CurrentTestRun())
        reporter.Start();
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
