#pragma once
#include <string>

namespace pw {

// Path of a shell folder by CSIDL number, created when missing; "" on failure
// (with a message box for an unknown id or a folder that cannot be had).
// Within a test run the user's folders that the programs write to are the
// run's own (TestRun.h).
std::wstring GetShellFolderPath(int csidl);

// Folder of the running program file, without a trailing backslash.
std::wstring ProgramFolder();

}  // namespace pw
