#include "StartupBench.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

struct Timeline {
    std::wstring file;
    ULONGLONG entry = 0;
    ULONGLONG phaseStart = 0;
    std::vector<std::pair<std::string, double>> phases;
};

}  // namespace

StartupBenchHooks StartupBenchStart() {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"PFADWERK_STARTUP_BENCH", path, MAX_PATH) == 0)
        return {};
    auto timeline = std::make_shared<Timeline>();
    timeline->file = path;
    timeline->entry = timeline->phaseStart = Now();
    StartupBenchHooks hooks;
    hooks.phaseDone = [timeline](const char* phase) {
        ULONGLONG now = Now();
        timeline->phases.emplace_back(phase, Milliseconds(timeline->phaseStart, now));
        timeline->phaseStart = now;
    };
    hooks.firstPaint = [timeline] {
        ULONGLONG painted = Now();
        FILETIME created{}, exited{}, kernel{}, user{};
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        // One line a run: the totals, then "; phase ms" for each phase.
        FILE* out = _wfopen(timeline->file.c_str(), L"a");
        if (out) {
            std::fprintf(out, "process %.1f ms, program %.1f ms", Milliseconds(AsNumber(created), painted),
                         Milliseconds(timeline->entry, painted));
            for (const auto& [phase, ms] : timeline->phases)
                std::fprintf(out, "; %s %.1f", phase.c_str(), ms);
            std::fprintf(out, "; first paint %.1f\n", Milliseconds(timeline->phaseStart, painted));
            std::fclose(out);
        }
        ExitProcess(0);
    };
    return hooks;
}

}  // namespace pw
