#include "StartupBench.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace pw {
namespace {

double Milliseconds(ULONGLONG from100ns, ULONGLONG to100ns) {
    return (to100ns - from100ns) / 10000.0;
}

ULONGLONG AsNumber(const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

ULONGLONG Now() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return AsNumber(now);
}

}  // namespace

std::function<void()> StartupBenchHook() {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"PFADWERK_STARTUP_BENCH", path, MAX_PATH) == 0)
        return {};
    ULONGLONG entry = Now();
    std::wstring file = path;
    return [entry, file] {
        ULONGLONG painted = Now();
        FILETIME created{}, exited{}, kernel{}, user{};
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        FILE* out = _wfopen(file.c_str(), L"a");
        if (out) {
            std::fprintf(out, "process %.1f ms, program %.1f ms\n", Milliseconds(AsNumber(created), painted),
                         Milliseconds(entry, painted));
            std::fclose(out);
        }
        ExitProcess(0);
    };
}

}  // namespace pw
