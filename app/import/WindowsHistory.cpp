#include "WindowsHistory.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "ShellFolders.h"

namespace pw {

std::vector<FoundFolder> ReadWindowsHistory() {
    std::wstring recent = GetShellFolderPath(CSIDL_RECENT);
    std::vector<FoundFolder> found;
    auto add = [&found](std::vector<FoundFolder> part) {
        found.insert(found.end(), std::make_move_iterator(part.begin()), std::make_move_iterator(part.end()));
    };
    add(ReadRecentFolder(recent));
    add(ReadRecentDocs(recent));
    add(ReadTypedPaths());
    add(ReadFileDialogLists());
    add(ReadShellBags());
    add(ReadJumpLists(recent));
    return found;
}

}  // namespace pw
