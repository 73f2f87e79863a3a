// The texts a user sees live in the string table of the program's resources
// (UTF-8 .rc files); this is the one way the code reads them.
#pragma once
#include <windows.h>

#include <string>

namespace pw {

// The string resource id of this program file; "" when it is missing.
inline std::wstring ResText(UINT id) {
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

}  // namespace pw
