#include "FolderIcons.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace pw {

bool IsNetworkFolderPath(const std::wstring& path) {
    if (path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/'))
        return true;
    return PathIsNetworkPathW(path.c_str()) != FALSE;
}

bool LocalPathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void cFolderIcons::Clear() {
    if (images_)
        ImageList_RemoveAll(images_);
}

void cFolderIcons::Reset() {
    if (!images_)
        return;
    Clear();
    SHFILEINFOW info{};
    UINT flags =
        SHGFI_SYSICONINDEX | SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | (small_ ? SHGFI_SMALLICON : SHGFI_LARGEICON);
    // Asked by name alone, with no attributes: the shell answers without
    // looking for the share.
    if (SHGetFileInfoW(L"\\\\Test\\Test", 0, &info, sizeof info, flags) && info.hIcon) {
        ImageList_AddIcon(images_, info.hIcon);
        DestroyIcon(info.hIcon);
    } else {
        // Index 0 must exist: network entries point at it.
        HICON folder = LoadIconW(nullptr, IDI_APPLICATION);
        ImageList_AddIcon(images_, folder);
    }
}

int cFolderIcons::Add(const std::wstring& path) {
    if (IsNetworkFolderPath(path))
        return 0;
    SHFILEINFOW info{};
    UINT flags = SHGFI_SYSICONINDEX | SHGFI_ICON | (small_ ? SHGFI_SMALLICON : SHGFI_LARGEICON);
    if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, flags) || !info.hIcon)
        return -1;
    int index = images_ ? ImageList_AddIcon(images_, info.hIcon) : -1;
    DestroyIcon(info.hIcon);
    return index;
}

}  // namespace pw
