#include "SystemIcons.h"

#include <shellapi.h>

#include <string>

namespace pw {

HICON SystemFileIcon(const wchar_t* file, int number) {
    wchar_t system[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    // A negative number would name a resource id instead.
    if (!length || length >= MAX_PATH || number < 0)
        return nullptr;
    HICON large = nullptr;
    if (ExtractIconExW((std::wstring(system) + L"\\" + file).c_str(), number, &large, nullptr, 1) == 0)
        return nullptr;
    return large;
}

}  // namespace pw
