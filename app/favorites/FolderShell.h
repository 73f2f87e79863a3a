// What the favorites ask of the shell: whether a text names a folder (and
// which), what a file dropped from Explorer adds, and the icons of folders.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

#include "Handles.h"

namespace pw {

struct ShellFolder {
    std::wstring path;         // as the shell reports it
    std::wstring displayName;  // as Explorer shows it
};

// The file-system folder the shell finds under text; nullopt for anything
// else (nothing there, a file, an archive the shell opens like a folder).
// Needs COM on the thread.
std::optional<ShellFolder> ShellFolderOf(const std::wstring& text);

// What a file dropped from Explorer adds to the favorites: the folder itself,
// or the folder a shortcut (.lnk) leads to. A ".zip" file, a shortcut that
// leads nowhere and anything that is no folder add nothing.
std::optional<ShellFolder> DroppedFolder(const std::wstring& file);

// The favorites manager's small icons: image 0 stands for network folders,
// which are never asked about (a dead share would hang the window), image 1
// for folders the shell has no icon for.
class cFavoriteIcons {
  public:
    bool Create();
    HIMAGELIST Images() const { return images_.Get(); }
    int IconOf(const std::wstring& path);

  private:
    cImageList images_;
};

}  // namespace pw
