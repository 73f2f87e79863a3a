// Functions newer than the oldest supported Windows are looked up at run time,
// so the programs still start where they are missing.
#pragma once
#include <windows.h>

namespace pw {

// The function `name` of module as type T; nullptr when module or function is
// missing.
template <typename T>
T LoadProc(HMODULE module, const char* name) {
    if (!module)
        return nullptr;
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace pw
