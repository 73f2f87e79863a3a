#include "FolderShell.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwctype>

#include "Handles.h"

namespace pw {
namespace {

bool EndsWithNoCase(const std::wstring& text, const wchar_t* ending) {
    size_t n = wcslen(ending);
    if (text.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (std::towlower(text[text.size() - n + i]) != ending[i])
            return false;
    }
    return true;
}

bool IsDirectory(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The target of a shortcut file, "" when it leads nowhere.
std::wstring ShortcutTarget(const std::wstring& link) {
    cComPtr<IShellLinkW> shortcut;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shortcut.PutVoid())))
        return {};
    cComPtr<IPersistFile> file = shortcut.As<IPersistFile>(IID_IPersistFile);
    if (!file || FAILED(file->Load(link.c_str(), STGM_READ)))
        return {};
    cPidl target;
    if (SUCCEEDED(shortcut->GetIDList(target.Put())) && target) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(target.Get(), path))
            return path;
    }
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(shortcut->GetPath(path, MAX_PATH, nullptr, 0)) && path[0])
        return path;
    return {};
}

}  // namespace

std::optional<ShellFolder> ShellFolderOf(const std::wstring& text) {
    if (text.find_first_not_of(L' ') == std::wstring::npos)
        return std::nullopt;
    cPidl pidl;
    SFGAOF wanted = SFGAO_FOLDER | SFGAO_STREAM | SFGAO_FILESYSTEM;
    SFGAOF attributes = wanted;
    if (FAILED(SHParseDisplayName(text.c_str(), nullptr, pidl.Put(), wanted, &attributes)) || !pidl)
        return std::nullopt;
    if (!(attributes & SFGAO_FOLDER) || (attributes & SFGAO_STREAM))
        return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(pidl.Get(), path) || !IsDirectory(path))
        return std::nullopt;
    ShellFolder folder;
    folder.path = path;
    SHFILEINFOW info{};
    if (SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl.Get()), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME))
        folder.displayName = info.szDisplayName;
    if (folder.displayName.empty())
        folder.displayName = PathFindFileNameW(path);
    return folder;
}

std::optional<ShellFolder> DroppedFolder(const std::wstring& file) {
    // The shell opens archives like folders; as a favorite they make no sense.
    if (EndsWithNoCase(file, L".zip"))
        return std::nullopt;
    std::wstring path = file;
    if (EndsWithNoCase(file, L".lnk")) {
        path = ShortcutTarget(file);
        if (path.empty())
            return std::nullopt;
    }
    if (!IsDirectory(path))
        return std::nullopt;
    return ShellFolderOf(path);
}

bool cFavoriteIcons::Create() {
    images_.Reset(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 8, 8));
    if (!images_)
        return false;
    // Asked by name and attributes only: the shell does not go looking.
    SHFILEINFOW info{};
    if (SHGetFileInfoW(L"\\\\Test\\Test", 0, &info, sizeof info,
                       SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) &&
        info.hIcon) {
        ImageList_AddIcon(images_.Get(), info.hIcon);
        DestroyIcon(info.hIcon);
    } else {
        ImageList_AddIcon(images_.Get(), LoadIconW(nullptr, IDI_APPLICATION));
    }
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    info = SHFILEINFOW{};
    if (SHGetFileInfoW(windows, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) && info.hIcon) {
        ImageList_AddIcon(images_.Get(), info.hIcon);
        DestroyIcon(info.hIcon);
    } else {
        ImageList_AddIcon(images_.Get(), LoadIconW(nullptr, IDI_APPLICATION));
    }
    return true;
}

int cFavoriteIcons::IconOf(const std::wstring& path) {
    if (PathIsNetworkPathW(path.c_str()) || (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\'))
        return 0;
    SHFILEINFOW info{};
    if (!images_ || path.empty() ||
        !SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) || !info.hIcon)
        return 1;
    int index = ImageList_AddIcon(images_.Get(), info.hIcon);
    DestroyIcon(info.hIcon);
    return index >= 0 ? index : 1;
}

}  // namespace pw
