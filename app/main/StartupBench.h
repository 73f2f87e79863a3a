// The start-up measurement: with PFADWERK_STARTUP_BENCH set to a file path,
// the program appends how long it took from process creation (and from its
// own entry) to the first paint of the main window, then ends.
#pragma once
#include <functional>

namespace pw {

// Notes the moment the program's own code starts; returns what the main
// window calls at its first paint, or an empty function when not measuring.
std::function<void()> StartupBenchHook();

}  // namespace pw
