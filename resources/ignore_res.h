// Resource ids of the ignore list's windows and texts (part of Pfadwerk.exe).
#pragma once

// The symbols are the named icons "Ignored_Folders_32_XP",
// "Ignored_Folders_32_Vista", "Ignored_Folder_16_XP" and
// "Ignored_Folder_16_Vista".

#define IDD_IGNORE_MANAGER 5100
#define IDD_IGNORE_ENTRY 5101

// The ignore manager.
#define IDC_LBL_HEADER 5110
#define IDC_LBL_LIST_HEADER 5111
#define IDC_LVW_IGNORED_FOLDERS 5112
#define IDC_CMD_ADD 5113
#define IDC_CMD_MODIFY 5114
#define IDC_CMD_REMOVE 5115

// The entry dialog.
#define IDC_OPT_IGNORE_FOLDER 5130
#define IDC_TXT_FOLDER_PATH 5131
#define IDC_CMD_BROWSE 5132
#define IDC_CHK_INCLUDE_SUBFOLDERS 5133
#define IDC_OPT_IGNORE_STRING 5134
#define IDC_TXT_IGNORE_STRING 5135
#define IDC_LBL_MANAGE_IGNORE_LIST 5136

// Texts; "%1" stands for the entry's path or path part.
#define IDS_IGNORE_SHOW_FOLDER 5200
#define IDS_IGNORE_SHOW_SUBFOLDERS 5201
#define IDS_IGNORE_SHOW_PATHPART 5202
#define IDS_IGNORE_LIMIT_MANAGER 5203
#define IDS_IGNORE_LIMIT_MENU 5204
#define IDS_IGNORE_CHANGE_CAPTION 5205
#define IDS_IGNORE_BROWSE_TEXT 5206
#define IDS_MENU_IGNORE 5207
