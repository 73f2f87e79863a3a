// The icons of the history lists: the shell's icon of each folder, put into
// the list's image list, without ever touching the network.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace pw {

// True for paths that must not reach the shell while the list fills: UNC
// paths ("\\server\share", a dead share would stall the fill) and what
// PathIsNetworkPath calls a network path (mapped drives).
bool IsNetworkFolderPath(const std::wstring& path);
// True for an existing file system folder (or file), asked of the file
// system alone: the shell knows an icon for every one.
bool LocalPathExists(const std::wstring& path);

class cFolderIcons {
  public:
    // smallIcons: the shell's small icons (16 px lists); else its large ones,
    // which the image list scales to its own size.
    cFolderIcons(HIMAGELIST images, bool smallIcons) : images_(images), small_(smallIcons) {}

    // Empties the image list and puts the shell's icon for the share
    // "\\Test\Test" at index 0, asked by name with no attributes, so no
    // network access.
    void Reset();
    // Empties the image list only: Reset must follow before any Add.
    void Clear();

    // Image index for a folder: 0 for network paths, a new image for a local
    // folder the shell knows, -1 when the shell has no icon (the folder is gone).
    int Add(const std::wstring& path);

  private:
    HIMAGELIST images_;
    bool small_;
};

}  // namespace pw
