// Resource ids of the import of the folders Windows remembers (part of
// Pfadwerk.exe).
#pragma once

#define IDD_IMPORT 5600

#define IDC_LBL_IMPORT_INTRO 5610
#define IDC_LVW_IMPORT 5611
#define IDC_LBL_IMPORT_COUNTS 5612
#define IDC_CMD_IMPORT_ALL 5613
#define IDC_CMD_IMPORT_NONE 5614
#define IDC_CHK_IMPORT_NETWORK 5615
#define IDC_PRG_IMPORT 5616

// Column headers.
#define IDS_IMPORT_COLUMN_FOLDER 5630
#define IDS_IMPORT_COLUMN_SOURCE 5631
#define IDS_IMPORT_COLUMN_DATE 5632
// "[*]" the ticked entries, "[*]" all entries.
#define IDS_IMPORT_COUNTS 5633
#define IDS_IMPORT_NOTHING_FOUND 5634
#define IDS_IMPORT_SEARCHING 5635
#define IDS_IMPORT_FAILED 5636
// The sources as the list names them.
#define IDS_IMPORT_SOURCE_RECENT_FOLDER 5640
#define IDS_IMPORT_SOURCE_RECENT_DOCS 5641
#define IDS_IMPORT_SOURCE_TYPED_PATHS 5642
#define IDS_IMPORT_SOURCE_FILE_DIALOGS 5643
#define IDS_IMPORT_SOURCE_SHELL_BAGS 5644
#define IDS_IMPORT_SOURCE_JUMP_LISTS 5645
// The menu command.
#define IDS_MENU_IMPORT 5650
