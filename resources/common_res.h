// Resource ids both programs share: their common string table (common.rc).
#pragma once

#define IDS_CAPTION 100

// GetShellFolderPath's two messages.
#define IDS_SHELLFOLDER_INVALID 900
#define IDS_SHELLFOLDER_MISSING 901
