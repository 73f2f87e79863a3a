// The shell's folder services for path boxes: picking a folder with the
// shell's folder browser, and suggesting folders while the user types.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace pw {

// The shell's folder browser owned by owner, with text above the tree: file
// system folders only, new dialog style, no button for making a folder. It
// opens on the folder in pathBoxText (see BrowseStartFolderCallback). The
// chosen folder's path, or nullopt when the user cancelled. Needs COM on the
// thread (apartment-threaded).
std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& text, const std::wstring& pathBoxText);

// What a window calls to let the user pick a folder; BrowseForFolder unless a
// test puts in its own.
using FolderPicker =
    std::function<std::optional<std::wstring>(HWND owner, const std::wstring& text, const std::wstring& pathBoxText)>;

// Suggests file system folders in an edit box while the user types. Needs COM
// on the thread; false when the shell offers no auto-completion.
bool EnableFolderAutoComplete(HWND edit);

}  // namespace pw
