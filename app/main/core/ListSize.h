// The icon size of the main window's details view (FolderListSize).
#pragma once

namespace pw {

enum class ListSize { Small = 0, Medium = 1, Large = 2 };

}  // namespace pw
