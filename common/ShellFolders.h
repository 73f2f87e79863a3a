#pragma once
#include <string>

namespace pw {

// Path of a shell folder by CSIDL number, created when missing; "" on failure
// (with a message box for an unknown id or a folder that cannot be had).
std::wstring GetShellFolderPath(int csidl);

// Folder of the running program file, without a trailing backslash.
std::wstring ProgramFolder();

}  // namespace pw
