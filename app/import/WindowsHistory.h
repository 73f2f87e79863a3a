// The readers of the places where Windows remembers the current user's
// folders. Each reads one source, read-only, and gives what it found with
// the date that source gives; what does not parse is left out. Item id lists
// are turned into paths by the shell.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <map>
#include <string>
#include <vector>

#include "FoundFolders.h"
#include "Handles.h"
#include "ItemIdList.h"
#include "Registry.h"

namespace pw {

// Registry keys below HKEY_CURRENT_USER.
constexpr wchar_t kExplorerKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr wchar_t kRecentDocsFolderKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs\\Folder";
constexpr wchar_t kTypedPathsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths";
constexpr wchar_t kLastVisitedPidlMruKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedPidlMRU";
constexpr wchar_t kLastVisitedMruKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU";
// The view records: XP's two and, from Vista on, the one below Local
// Settings (and the XP one, which Vista still writes for some folders).
constexpr const wchar_t* kBagMruKeys[] = {
    L"Software\\Microsoft\\Windows\\Shell\\BagMRU",
    L"Software\\Microsoft\\Windows\\ShellNoRoam\\BagMRU",
    L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\BagMRU",
};
// Below the Recent folder.
constexpr wchar_t kAutomaticDestinationsFolder[] = L"AutomaticDestinations";
constexpr wchar_t kAutomaticDestinationsPattern[] = L"*.automaticDestinations-ms";
constexpr wchar_t kDestListStream[] = L"DestList";

// Shortcuts in the Recent folder that point at folders, dated by the
// shortcut file's last write.
std::vector<FoundFolder> ReadRecentFolder(const std::wstring& recentFolder);
// RecentDocs\Folder: each value names a shortcut of the Recent folder.
std::vector<FoundFolder> ReadRecentDocs(const std::wstring& recentFolder);
// TypedPaths: paths typed into Explorer's address bar.
std::vector<FoundFolder> ReadTypedPaths();
// The common file dialogs' last folders: LastVisitedPidlMRU, XP's
// LastVisitedMRU.
std::vector<FoundFolder> ReadFileDialogLists();
// Every BagMRU tree, each node's item ids joined along its path.
std::vector<FoundFolder> ReadShellBags();
// The DestList stream of every automatic jump list in the Recent folder.
std::vector<FoundFolder> ReadJumpLists(const std::wstring& recentFolder);

// Every source of this user.
std::vector<FoundFolder> ReadWindowsHistory();

// The values of a key ordered by its "MRUListEx", newest first; a value
// that is missing or too large stays in its place, empty.
std::vector<Bytes> MruValues(const cRegistryKey& key);

// The shortcut's target when it is a path, else its item id list's path.
std::wstring ShortcutTarget(const std::wstring& linkFile);
// The shell's paths of absolute item id lists, as SHGetPathFromIDListW
// gives them, for many lists in a row. That call walks from the desktop
// through every item of the list, each step a folder object of its own;
// lists whose last items lie in the same folder, as the children of a
// BagMRU node do, share that walk here.
class cItemIdPaths {
  public:
    // "" when the list has no path.
    std::wstring PathOf(const Bytes& checkedList);

  private:
    IShellFolder* Folder(const Bytes& checkedList);

    cComPtr<IShellFolder> desktop_;
    std::map<std::string, cComPtr<IShellFolder>> folders_;  // by the bytes of their lists
};

}  // namespace pw
