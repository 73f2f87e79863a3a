// PfadwerkSend: sends the worker one request the way the folder-visit
// reporter inside Explorer does. For trying Pfadwerk out and for tests.
//
//   PfadwerkSend visit NAME PATH      a visit report: NAME + "|\|" + PATH
//   PfadwerkSend properties PATH      the properties request of the main program
//   PfadwerkSend exit                 the exit request: the worker ends
//   --wait MS (first)                 wait up to MS milliseconds for the worker window
#include <windows.h>

#include <cstdio>
#include <string>

#include "TestRun.h"
#include "WorkerProtocol.h"
#include "WorkerWindow.h"

namespace {

int Usage() {
    std::fwprintf(stderr,
                  L"usage: PfadwerkSend [--wait MS] visit NAME PATH | properties PATH | exit\n");
    return 2;
}

HWND FindWorker(DWORD waitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND hwnd = pw::FindWorkerWindow()) return hwnd;
        if (GetTickCount() - start >= waitMs) return nullptr;
        Sleep(20);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!pw::JoinTestRun()) return 2;
    int arg = 1;
    DWORD waitMs = 0;
    if (arg + 1 < argc && std::wstring(argv[arg]) == L"--wait") {
        waitMs = static_cast<DWORD>(_wtoi(argv[arg + 1]));
        arg += 2;
    }
    if (arg >= argc) return Usage();
    std::wstring verb = argv[arg++];
    std::wstring payload;
    if (verb == L"visit" && argc - arg == 2) {
        payload = pw::VisitReportText(argv[arg], argv[arg + 1]);
    } else if (verb == L"properties" && argc - arg == 1) {
        payload = pw::PropertiesRequestText(0, argv[arg]);
    } else if (verb == L"exit" && argc == arg) {
        payload = pw::ExitRequestText();
    } else {
        return Usage();
    }

    HWND worker = FindWorker(waitMs);
    if (!worker) {
        std::fwprintf(stderr, L"PfadwerkSend: the worker is not running\n");
        return 1;
    }
    return pw::SendToWorker(worker, payload) ? 0 : 1;
}
