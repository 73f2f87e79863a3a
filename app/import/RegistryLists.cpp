// The registry's lists of folders: typed paths, the file dialogs' last
// folders and Explorer's view records. Each list is dated by its key's last
// write, which is exact for the newest entry only: the older ones keep their
// order a second apart and give way to any exact date of another source.
#include <windows.h>

#include <algorithm>

#include "Registry.h"
#include "WindowsHistory.h"

namespace pw {
namespace {

// Far more nodes than Explorer keeps (it drops old ones past a few
// thousand); a tree beyond is damage or a loop of links.
constexpr size_t kMaxBagNodes = 50000;

bool IsNumber(const std::wstring& name) {
    if (name.empty() || name.size() > 9)
        return false;
    for (wchar_t c : name) {
        if (c < L'0' || c > L'9')
            return false;
    }
    return true;
}

void WalkBags(const cRegistryKey& node,
              std::vector<Bytes>& path,
              cItemIdPaths& paths,
              std::vector<FoundFolder>& found,
              size_t& nodes) {
    if (path.size() >= kMaxItemIds)
        return;
    std::uint64_t nodeWritten = node.LastWriteTime();
    auto order = node.Bytes(L"MRUListEx");
    std::vector<std::uint32_t> numbers = order ? MruListEx(*order) : std::vector<std::uint32_t>{};
    // Without an order list the children are still folders the user saw.
    for (const std::wstring& name : order ? std::vector<std::wstring>{} : node.ValueNames()) {
        if (IsNumber(name)) {
            auto n = static_cast<std::uint32_t>(std::stoul(name));
            if (std::find(numbers.begin(), numbers.end(), n) == numbers.end())
                numbers.push_back(n);
        }
    }
    for (size_t position = 0; position < numbers.size() && nodes < kMaxBagNodes; ++position) {
        ++nodes;
        std::wstring name = std::to_wstring(numbers[position]);
        auto value = node.Bytes(name);
        auto item = value ? SingleItemId(*value) : std::nullopt;
        if (!item)
            continue;
        path.push_back(std::move(*item));
        cRegistryKey child = node.Subkey(name);
        // The child's own key is written when one of its subfolders is
        // used; its parent's when it itself is, as the newest of the list.
        std::uint64_t when = child ? child.LastWriteTime() : 0;
        bool exact = when != 0;
        if (position == 0 && nodeWritten > when) {
            when = nodeWritten;
            exact = true;
        }
        if (when == 0) {
            when = SecondsBefore(nodeWritten, position);
            exact = false;
        }
        std::wstring folder = paths.PathOf(JoinItemIds(path));
        if (!folder.empty())
            found.push_back({folder, when, exact, kSourceShellBags});
        if (child)
            WalkBags(child, path, paths, found, nodes);
        path.pop_back();
    }
}

}  // namespace

std::vector<Bytes> MruValues(const cRegistryKey& key) {
    std::vector<Bytes> values;
    auto order = key.Bytes(L"MRUListEx");
    for (std::uint32_t n : order ? MruListEx(*order) : std::vector<std::uint32_t>{})
        values.push_back(key.Bytes(std::to_wstring(n)).value_or(Bytes{}));
    return values;
}

std::vector<FoundFolder> ReadTypedPaths() {
    std::vector<FoundFolder> found;
    cRegistryKey key = cRegistryKey::Open(HKEY_CURRENT_USER, kTypedPathsKey);
    if (!key)
        return found;
    std::uint64_t written = key.LastWriteTime();
    // "url1" is the newest.
    for (size_t n = 1; n <= kMaxMruEntries; ++n) {
        auto text = key.Text(L"url" + std::to_wstring(n));
        if (!text)
            break;
        found.push_back({*text, SecondsBefore(written, n - 1), n == 1, kSourceTypedPaths});
    }
    return found;
}

std::vector<FoundFolder> ReadFileDialogLists() {
    std::vector<FoundFolder> found;
    if (cRegistryKey key = cRegistryKey::Open(HKEY_CURRENT_USER, kLastVisitedPidlMruKey)) {
        std::uint64_t written = key.LastWriteTime();
        std::vector<Bytes> values = MruValues(key);
        cItemIdPaths paths;
        for (size_t position = 0; position < values.size(); ++position) {
            auto named = SplitNamedItemIds(values[position]);
            std::wstring folder = named ? paths.PathOf(named->itemIds) : L"";
            if (!folder.empty())
                found.push_back({folder, SecondsBefore(written, position), position == 0, kSourceFileDialogs});
        }
    }
    if (cRegistryKey key = cRegistryKey::Open(HKEY_CURRENT_USER, kLastVisitedMruKey)) {
        std::uint64_t written = key.LastWriteTime();
        auto order = key.Text(L"MRUList");
        std::vector<std::wstring> names = order ? MruListLetters(*order) : std::vector<std::wstring>{};
        for (size_t position = 0; position < names.size(); ++position) {
            auto value = key.Bytes(names[position]);
            auto folder = value ? LastVisitedMruPath(*value) : std::nullopt;
            if (folder)
                found.push_back({*folder, SecondsBefore(written, position), position == 0, kSourceFileDialogs});
        }
    }
    return found;
}

std::vector<FoundFolder> ReadShellBags() {
    std::vector<FoundFolder> found;
    size_t nodes = 0;
    cItemIdPaths paths;
    for (const wchar_t* root : kBagMruKeys) {
        cRegistryKey key = cRegistryKey::Open(HKEY_CURRENT_USER, root);
        std::vector<Bytes> path;
        if (key)
            WalkBags(key, path, paths, found, nodes);
    }
    return found;
}

}  // namespace pw
