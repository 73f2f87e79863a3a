// The sources that end in a shortcut of the Recent folder: the folder itself
// and Explorer's list of recent folders, which names the shortcuts.
#include <shlobj.h>

#include "Handles.h"
#include "Registry.h"
#include "WindowsHistory.h"

namespace pw {
namespace {

// Far more shortcuts than Windows keeps there.
constexpr size_t kMaxShortcuts = 20000;

std::uint64_t TimeOf(const FILETIME& t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

}  // namespace

std::wstring PathOfItemIds(const Bytes& checkedList) {
    wchar_t path[MAX_PATH] = {};
    if (checkedList.size() <= 2 || !SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(checkedList.data()), path))
        return {};
    return path;
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
    for (size_t position = 0; position < values.size(); ++position) {
        auto named = SplitNamedItemIds(values[position]);
        if (!named)
            continue;
        std::vector<Bytes> items = prefix;
        for (Bytes& item : ItemIds(named->itemIds))
            items.push_back(std::move(item));
        std::wstring link = PathOfItemIds(JoinItemIds(items));
        std::wstring target = link.empty() ? L"" : ShortcutTarget(link);
        if (!target.empty())
            found.push_back({target, SecondsBefore(written, position), position == 0, kSourceRecentDocs});
    }
    return found;
}

}  // namespace pw
