// The main program's entry loop: one main window at a time, run by the one
// message loop of the program, and a fresh one when the window asked for it
// as it went (after an option change that needs a new window).
#pragma once
#include <functional>

#include "frmMain.h"

namespace pw {

// Loads main windows set up so until one goes without asking for a fresh
// one, or a copy of the program runs already. onLoaded sees each loaded
// window.
void RunMainProgram(frmMainSetup setup, const std::function<void(frmMain&)>& onLoaded = {});

}  // namespace pw
