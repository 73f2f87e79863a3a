// The start-up measurement: with PFADWERK_STARTUP_BENCH set to a file path,
// the program appends how long it took from process creation (and from its
// own entry) to the first paint of the main window, with the time each phase
// of the way took, then ends.
#pragma once
#include <functional>

namespace pw {

struct StartupBenchHooks {
    // Called as each phase of the start ends, with the phase's name.
    std::function<void(const char* phase)> phaseDone;
    // Called at the main window's first paint: reports and ends the program.
    std::function<void()> firstPaint;
};

// Notes the moment the program's own code starts; both hooks are empty when
// not measuring.
StartupBenchHooks StartupBenchStart();

}  // namespace pw
