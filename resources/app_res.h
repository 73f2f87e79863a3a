// Resource ids of Pfadwerk.exe.
#pragma once

// The program's icon is the resource named "AA".

#define IDS_CAPTION 100
#define IDS_TAB_LASTUSED 101
#define IDS_TAB_MOSTUSED 102
#define IDS_TAB_FAVORITES 103
#define IDS_COLUMN_FOLDER 104
#define IDS_COLUMN_PATH 105
#define IDS_TIP_FIND 106
#define IDS_TIP_SHOWMENU 107
#define IDS_TIP_TIMEFRAME 108
#define IDS_AUTOSTART_DESCRIPTION 109
#define IDS_MANAGE_FAVORITES 110

// The list's context menu.
#define IDS_MENU_COPYPATH 300
#define IDS_MENU_REMOVE 301
#define IDS_MENU_PROPERTIES 302
