// Pictures the program borrows from Windows' own files.
#pragma once
#include <windows.h>

namespace pw {

// Icon number `number` of a file in the system folder ("shell32.dll"),
// counted as ExtractIconEx counts a file's icons (from 0, in the order the
// file lists them), at the system's large icon size. Null when the file has
// no icon of that number; the caller owns the icon.
HICON SystemFileIcon(const wchar_t* file, int number);

}  // namespace pw
