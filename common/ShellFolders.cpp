#include "ShellFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "ResText.h"
#include "TestRun.h"
#include "Text.h"
#include "common_res.h"

namespace pw {

std::wstring GetShellFolderPath(int csidl) {
    if (auto scratch = TestRunShellFolder(csidl))
        return *scratch;
    wchar_t buffer[MAX_PATH + 1] = {};
    HRESULT hr = SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, buffer);
    if (hr == E_INVALIDARG) {
        MessageBoxW(nullptr, ResText(IDS_SHELLFOLDER_INVALID).c_str(), ResText(IDS_CAPTION).c_str(), MB_OK);
        return {};
    }
    if (hr == S_FALSE) {
        std::wstring text = FillPlaceholders(ResText(IDS_SHELLFOLDER_MISSING), {std::to_wstring(csidl)});
        MessageBoxW(nullptr, text.c_str(), ResText(IDS_CAPTION).c_str(), MB_OK);
        return {};
    }
    if (FAILED(hr))
        return {};
    return buffer;
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD len = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (len == 0)
            return {};
        if (len < path.size()) {
            path.resize(len);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace pw
