// Pfadwerk: the main window, loaded again whenever the options ask for a
// fresh one.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>

#include "Handles.h"
#include "MainProgram.h"
#include "StartupBench.h"
#include "TestRun.h"
#include "WorkerProtocol.h"
#include "frmImport.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    pw::StartupBenchHooks bench = pw::StartupBenchStart();
    if (!pw::JoinTestRun())
        return 1;
    pw::cComInit com;  // shell links and the list's background picture
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    if (bench.phaseDone)
        bench.phaseDone("common controls");

    // The worker's welcome window (or the user) asks for the import alone.
    if (pw::IsImportCommandLine(commandLine ? commandLine : L"")) {
        pw::frmImport().Show({});
        return 0;
    }
    pw::frmMainSetup setup;
    setup.onFirstPaint = bench.firstPaint;
    setup.onStartupPhase = bench.phaseDone;
    if (auto dialog = pw::WaitingDialogFromCommandLine(commandLine ? commandLine : L""))
        setup.waitingDialog = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*dialog));
    pw::RunMainProgram(setup);
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    return 0;
}
