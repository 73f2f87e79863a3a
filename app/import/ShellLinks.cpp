// The sources that end in a shortcut of the Recent folder: the folder itself
// and Explorer's list of recent folders, which names the shortcuts.
#include <shlobj.h>
#include <shlwapi.h>

#include "Handles.h"
#include "Registry.h"
#include "WindowsHistory.h"

namespace pw {
namespace {

// Far more shortcuts than Windows keeps there.
constexpr size_t kMaxShortcuts = 20000;
// Folder objects kept for the lists after them: a walk of a tree needs only
// those along its present path, and a tree of thousands of folders must
// not keep one of each.
constexpr size_t kMaxKeptFolders = 256;

std::uint64_t TimeOf(const FILETIME& t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

}  // namespace

// As SHGetPathFromIDListW finds it: the folder of the last item must call
// that item part of the file system, and the path is its parsing name; one
// that does not fit that call's MAX_PATH is none.
std::wstring cItemIdPaths::PathOf(const Bytes& checkedList) {
    if (checkedList.size() <= 2)
        return {};
    std::vector<Bytes> items = ItemIds(checkedList);
    if (items.empty())
        return {};
    Bytes last = JoinItemIds({items.back()});
    items.pop_back();
    IShellFolder* folder = Folder(JoinItemIds(items));
    if (!folder)
        return {};
    auto child = reinterpret_cast<PCUITEMID_CHILD>(last.data());
    SFGAOF attributes = SFGAO_FILESYSTEM;
    if (FAILED(folder->GetAttributesOf(1, &child, &attributes)) || !(attributes & SFGAO_FILESYSTEM))
        return {};
    STRRET name{};
    if (FAILED(folder->GetDisplayNameOf(child, SHGDN_FORPARSING, &name)))
        return {};
    // One more than that call has room for: a name that fills it all was
    // cut short. The conversion frees the shell's text.
    wchar_t path[MAX_PATH + 1] = {};
    if (FAILED(StrRetToBufW(&name, child, path, MAX_PATH + 1)) || wcslen(path) >= MAX_PATH)
        return {};
    return path;
}

IShellFolder* cItemIdPaths::Folder(const Bytes& checkedList) {
    if (!desktop_ && FAILED(SHGetDesktopFolder(desktop_.Put())))
        return nullptr;
    if (checkedList.size() <= 2)
        return desktop_.Get();
    std::string key(checkedList.begin(), checkedList.end());
    auto kept = folders_.find(key);
    if (kept != folders_.end())
        return kept->second.Get();
    if (folders_.size() >= kMaxKeptFolders)
        folders_.clear();
    cComPtr<IShellFolder> folder;
    // A list the shell cannot bind is remembered too, as no folder.
    desktop_->BindToObject(reinterpret_cast<PCUIDLIST_RELATIVE>(checkedList.data()), nullptr, IID_IShellFolder,
                           folder.PutVoid());
    return folders_.emplace(std::move(key), folder).first->second.Get();
}

std::wstring ShortcutTarget(const std::wstring& linkFile) {
    cComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())))
        return {};
    auto file = link.As<IPersistFile>(IID_IPersistFile);
    // Loaded only: resolving would search for a moved target and may reach
    // out to the network.
    if (!file || FAILED(file->Load(linkFile.c_str(), STGM_READ)))
        return {};
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) && path[0]) {
        wchar_t expanded[MAX_PATH] = {};
        DWORD n = ExpandEnvironmentStringsW(path, expanded, MAX_PATH);
        return n > 0 && n <= MAX_PATH ? expanded : path;
    }
    PIDLIST_ABSOLUTE ids = nullptr;
    if (FAILED(link->GetIDList(&ids)) || !ids)
        return {};
    cPidl owned(ids);
    return SHGetPathFromIDListW(ids, path) ? path : L"";
}

std::vector<FoundFolder> ReadRecentFolder(const std::wstring& recentFolder) {
    std::vector<FoundFolder> found;
    if (recentFolder.empty())
        return found;
    WIN32_FIND_DATAW data{};
    cFindHandle search(FindFirstFileW((recentFolder + L"\\*.lnk").c_str(), &data));
    if (!search)
        return found;
    size_t seen = 0;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::wstring target = ShortcutTarget(recentFolder + L"\\" + data.cFileName);
        // Whether it is a folder is asked later, once per folder.
        if (!target.empty())
            found.push_back({target, TimeOf(data.ftLastWriteTime), true, kSourceRecentFolder});
    } while (++seen < kMaxShortcuts && FindNextFileW(search.Get(), &data));
    return found;
}

std::vector<FoundFolder> ReadRecentDocs(const std::wstring& recentFolder) {
    std::vector<FoundFolder> found;
    cRegistryKey key = cRegistryKey::Open(HKEY_CURRENT_USER, kRecentDocsFolderKey);
    if (!key || recentFolder.empty())
        return found;
    // The shortcuts' items are relative to the Recent folder.
    PIDLIST_ABSOLUTE recentIds = nullptr;
    if (FAILED(SHParseDisplayName(recentFolder.c_str(), nullptr, &recentIds, 0, nullptr)) || !recentIds)
        return found;
    cPidl recent(recentIds);
    auto recentList =
        CheckedItemIdList(ByteView(reinterpret_cast<const std::uint8_t*>(recentIds), ILGetSize(recentIds)));
    if (!recentList)
        return found;
    std::vector<Bytes> prefix = ItemIds(*recentList);
    std::uint64_t written = key.LastWriteTime();
    std::vector<Bytes> values = MruValues(key);
    cItemIdPaths paths;
    for (size_t position = 0; position < values.size(); ++position) {
        auto named = SplitNamedItemIds(values[position]);
        if (!named)
            continue;
        std::vector<Bytes> items = prefix;
        for (Bytes& item : ItemIds(named->itemIds))
            items.push_back(std::move(item));
        std::wstring link = paths.PathOf(JoinItemIds(items));
        std::wstring target = link.empty() ? L"" : ShortcutTarget(link);
        if (!target.empty())
            found.push_back({target, SecondsBefore(written, position), position == 0, kSourceRecentDocs});
    }
    return found;
}

}  // namespace pw
