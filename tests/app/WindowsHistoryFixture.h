// Remembered folders planted where Windows keeps them, for the import's
// tests, its benchmark and its screenshots: shortcuts, registry values of
// item ids the shell made, jump lists. Only ever in a test run's or a
// scratch Wine prefix's places.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "Handles.h"
#include "ItemIdList.h"
#include "WindowsHistory.h"

namespace pw::test {

inline std::uint64_t Now() {
    FILETIME t{};
    GetSystemTimeAsFileTime(&t);
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

inline Bytes ItemIdsOf(const std::wstring& path) {
    PIDLIST_ABSOLUTE ids = nullptr;
    if (FAILED(SHParseDisplayName(path.c_str(), nullptr, &ids, 0, nullptr)) || !ids)
        return {};
    cPidl owned(ids);
    auto p = reinterpret_cast<const std::uint8_t*>(ids);
    return Bytes(p, p + ILGetSize(ids));
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Utf16z(const std::wstring& text) {
    Bytes out(reinterpret_cast<const std::uint8_t*>(text.c_str()),
              reinterpret_cast<const std::uint8_t*>(text.c_str() + text.size() + 1));
    return out;
}

inline Bytes Numbers(std::initializer_list<std::uint32_t> numbers) {
    Bytes out;
    for (std::uint32_t n : numbers)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    return out;
}

inline void SetBinary(const std::wstring& key, const std::wstring& name, const Bytes& data) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_BINARY, data.data(),
                    static_cast<DWORD>(data.size()));
}

inline void SetText(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

inline void SetWriteTime(const std::wstring& file, std::uint64_t when) {
    cHandle h(CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME t{static_cast<DWORD>(when), static_cast<DWORD>(when >> 32)};
    SetFileTime(h.Get(), nullptr, nullptr, &t);
}

inline bool MakeShortcut(const std::wstring& link, const std::wstring& target, std::uint64_t when) {
    cComPtr<IShellLinkW> shell;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.PutVoid())))
        return false;
    shell->SetPath(target.c_str());
    auto file = shell.As<IPersistFile>(IID_IPersistFile);
    if (!file || FAILED(file->Save(link.c_str(), TRUE)))
        return false;
    SetWriteTime(link, when);
    return true;
}

inline bool MakeJumpList(const std::wstring& file, const Bytes& destList) {
    cComPtr<IStorage> storage;
    if (FAILED(StgCreateDocfile(file.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, storage.Put())))
        return false;
    cComPtr<IStream> stream;
    if (FAILED(storage->CreateStream(kDestListStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0,
                                     stream.Put())))
        return false;
    ULONG written = 0;
    return SUCCEEDED(stream->Write(destList.data(), static_cast<ULONG>(destList.size()), &written)) &&
           SUCCEEDED(storage->Commit(STGC_DEFAULT));
}

}  // namespace pw::test
