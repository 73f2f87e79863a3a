// The folders Windows remembers, as the readers of each source find them,
// brought together: one entry per folder with the newest date any source
// gives, then sifted for the import (existing, local unless asked, not
// ignored, not in the history yet). No Windows header: the checks that need
// the system are handed in.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// Where a folder was found; an entry found in several places has several.
enum FolderSource : unsigned {
    kSourceRecentFolder = 1,  // a shortcut in the Recent folder
    kSourceRecentDocs = 2,    // Explorer's list of recent folders (RecentDocs\Folder)
    kSourceTypedPaths = 4,    // paths typed into Explorer's address bar
    kSourceFileDialogs = 8,   // the common file dialogs' last folders
    kSourceShellBags = 16,    // Explorer's per-folder view records (BagMRU)
    kSourceJumpList = 32,     // automatic jump lists
};
inline constexpr unsigned kAllFolderSources[] = {kSourceRecentFolder, kSourceRecentDocs, kSourceTypedPaths,
                                                 kSourceFileDialogs,  kSourceShellBags,  kSourceJumpList};

struct FoundFolder {
    std::wstring path;
    std::uint64_t when = 0;  // FILETIME, UTC
    // False where the source only says "no later than" (the older entries
    // of a list dated by its key's last write): such a date gives way to an
    // exact one of another source.
    bool exact = true;
    unsigned sources = 0;
};

// A FILETIME this many seconds earlier, for the entries of an ordered list
// that share one date and must keep their order.
inline std::uint64_t SecondsBefore(std::uint64_t fileTime, std::uint64_t seconds) {
    std::uint64_t ticks = seconds * 10000000ull;
    return fileTime > ticks ? fileTime - ticks : 0;
}

// A drive or network path as the history keeps folders: "\\?\" taken off,
// no trailing backslash but on a drive's root ("C:\"). Empty for anything
// else (a relative path, a shell name like "::{…}" or "shell:…", control
// characters, or longer than a history entry may be).
std::wstring NormalFolderPath(std::wstring_view path);
bool IsNetworkPathText(std::wstring_view normalPath);  // "\\server\share…"

// One entry per folder (paths compared as the history compares them), its
// path as the newest finding spells it, the newest exact date (an inexact
// one only where no source gives an exact one) and every source; newest
// first. Entries without a usable path are left out.
std::vector<FoundFolder> MergeFoundFolders(const std::vector<FoundFolder>& found);

// What the sifting asks of the system and the user's settings.
struct FolderChecks {
    std::function<bool(const std::wstring& path)> isNetwork;  // on a network drive or share
    std::function<bool(const std::wstring& path)> isFolder;   // there now, and a folder
    std::function<bool(const std::wstring& path)> isIgnored;  // hidden by the ignore list
    // For each path: whether the history holds a visit of it already.
    std::function<std::vector<bool>(const std::vector<std::wstring>& paths)> inHistory;
};

struct ImportCandidate {
    FoundFolder folder;
    bool network = false;
};

struct ImportCandidates {
    std::vector<ImportCandidate> local;  // checked: they exist now
    // Not looked at yet: a network folder that cannot be reached may keep
    // the check waiting, so they are checked only when the user asks.
    std::vector<ImportCandidate> network;
};

// Merges what the readers found and keeps what the import may offer.
ImportCandidates SiftForImport(const std::vector<FoundFolder>& found, const FolderChecks& checks);
// The network folders of SiftForImport that exist now.
std::vector<ImportCandidate> ReachableFolders(const std::vector<ImportCandidate>& network, const FolderChecks& checks);

}  // namespace pw
