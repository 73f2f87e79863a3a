#include "FoundFolders.h"

#include <algorithm>
#include <unordered_map>

#include "Text.h"

namespace pw {
namespace {

constexpr size_t kMaxPathLength = 32767;  // as the history's column allows

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool Newer(const FoundFolder& a, const FoundFolder& b) {
    if (a.exact != b.exact)
        return a.exact;
    return a.when > b.when;
}

}  // namespace

std::wstring NormalFolderPath(std::wstring_view path) {
    if (path.starts_with(L"\\\\?\\UNC\\"))
        return NormalFolderPath(L"\\\\" + std::wstring(path.substr(8)));
    if (path.starts_with(L"\\\\?\\"))
        path.remove_prefix(4);
    if (path.empty() || path.size() > kMaxPathLength)
        return {};
    for (wchar_t c : path) {
        if (c < 0x20 || c == L'/' || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|')
            return {};
    }
    std::wstring out(path);
    bool drive = out.size() >= 2 && IsDriveLetter(out[0]) && out[1] == L':' && (out.size() == 2 || out[2] == L'\\');
    // "\\server\share": two names, neither empty.
    bool unc = false;
    if (out.starts_with(L"\\\\") && out.size() > 2 && out[2] != L'\\') {
        size_t shareAt = out.find(L'\\', 2);
        unc = shareAt != std::wstring::npos && shareAt + 1 < out.size() && out[shareAt + 1] != L'\\';
    }
    if (!drive && !unc)
        return {};
    if (out.find(L':', 2) != std::wstring::npos)  // a stream name, never a folder
        return {};
    if (drive && out.size() == 2)
        out += L'\\';
    while (out.size() > 3 && out.back() == L'\\')
        out.pop_back();
    if (drive && out.size() > 3 && out.find(L"\\\\") != std::wstring::npos)
        return {};
    return out;
}

bool IsNetworkPathText(std::wstring_view normalPath) {
    return normalPath.starts_with(L"\\\\");
}

std::vector<FoundFolder> MergeFoundFolders(const std::vector<FoundFolder>& found) {
    std::vector<FoundFolder> merged;
    std::unordered_map<std::wstring, size_t> index;
    for (const FoundFolder& f : found) {
        std::wstring path = NormalFolderPath(f.path);
        if (path.empty())
            continue;
        auto [it, added] = index.emplace(FoldCase(path), merged.size());
        if (added) {
            merged.push_back(f);
            merged.back().path = std::move(path);
            continue;
        }
        FoundFolder& kept = merged[it->second];
        unsigned sources = kept.sources | f.sources;
        if (Newer(f, kept)) {
            kept = f;
            kept.path = std::move(path);
        }
        kept.sources = sources;
    }
    std::stable_sort(merged.begin(), merged.end(),
                     [](const FoundFolder& a, const FoundFolder& b) { return a.when > b.when; });
    return merged;
}

ImportCandidates SiftForImport(const std::vector<FoundFolder>& found, const FolderChecks& checks) {
    std::vector<FoundFolder> merged = MergeFoundFolders(found);
    std::erase_if(merged, [&](const FoundFolder& f) { return checks.isIgnored(f.path); });
    std::vector<std::wstring> paths;
    paths.reserve(merged.size());
    for (const FoundFolder& f : merged)
        paths.push_back(f.path);
    std::vector<bool> known = checks.inHistory(paths);
    ImportCandidates out;
    for (size_t i = 0; i < merged.size(); ++i) {
        if (i < known.size() && known[i])
            continue;
        bool network = IsNetworkPathText(merged[i].path) || checks.isNetwork(merged[i].path);
        if (network)
            out.network.push_back({merged[i], true});
        else if (checks.isFolder(merged[i].path))
            out.local.push_back({merged[i], false});
    }
    return out;
}

std::vector<ImportCandidate> ReachableFolders(const std::vector<ImportCandidate>& network, const FolderChecks& checks) {
    std::vector<ImportCandidate> reachable;
    for (const ImportCandidate& c : network) {
        if (checks.isFolder(c.folder.path))
            reachable.push_back(c);
    }
    return reachable;
}

}  // namespace pw
