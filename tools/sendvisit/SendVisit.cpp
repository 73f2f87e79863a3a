// PfadwerkSend: sends the worker one request the way the folder-visit
// reporter inside Explorer does. For trying Pfadwerk out and for tests.
//
//   PfadwerkSend visit NAME PATH      a visit report: NAME + "|\|" + PATH
//   PfadwerkSend properties PATH      the properties request of the main program
//   PfadwerkSend exit                 the exit request: the worker ends
//   --wait MS (first)                 wait up to MS milliseconds for the worker window
//   --repeat N (first)                a visit report N times, each PATH followed by
//                                     " " and its number (for load and memory runs)
#include <windows.h>

#include <cstdio>
#include <string>

#include "TestRun.h"
#include "WorkerProtocol.h"
#include "WorkerWindow.h"

namespace {

int Usage() {
    std::fwprintf(stderr, L"usage: PfadwerkSend [--wait MS] [--repeat N] visit NAME PATH | properties PATH | exit\n");
    return 2;
}

HWND FindWorker(DWORD waitMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND hwnd = pw::FindWorkerWindow())
            return hwnd;
        if (GetTickCount() - start >= waitMs)
            return nullptr;
        Sleep(20);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!pw::JoinTestRun())
        return 2;
    int arg = 1;
    DWORD waitMs = 0;
    int repeat = 0;
    for (;;) {
        if (arg + 1 < argc && std::wstring(argv[arg]) == L"--wait") {
            waitMs = static_cast<DWORD>(_wtoi(argv[arg + 1]));
            arg += 2;
        } else if (arg + 1 < argc && std::wstring(argv[arg]) == L"--repeat") {
            repeat = _wtoi(argv[arg + 1]);
            arg += 2;
        } else {
            break;
        }
    }
    if (arg >= argc)
        return Usage();
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
    if (repeat > 0 && verb == L"visit") {
        for (int i = 0; i < repeat; ++i) {
            std::wstring path = std::wstring(argv[arg + 1]) + L" " + std::to_wstring(i);
            if (!pw::SendToWorker(worker, pw::VisitReportText(argv[arg], path)))
                return 1;
        }
        return 0;
    }
    return pw::SendToWorker(worker, payload) ? 0 : 1;
}
