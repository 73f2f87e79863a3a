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
#define IDS_COLUMN_USED 111
#define IDS_SEARCH_CUE 112
#define IDS_READ_PROBLEM 113
#define IDS_SEARCH_TIP_TITLE 114
#define IDS_SEARCH_TIP_TEXT 115

// The entries of the time-frame box, index 0 to 6: consecutive ids.
#define IDS_TIMEFRAME_ALL 120
#define IDS_TIMEFRAME_2HOURS 121
#define IDS_TIMEFRAME_24HOURS 122
#define IDS_TIMEFRAME_3DAYS 123
#define IDS_TIMEFRAME_7DAYS 124
#define IDS_TIMEFRAME_14DAYS 125
#define IDS_TIMEFRAME_30DAYS 126

// The list's context menu.
#define IDS_MENU_COPYPATH 300
#define IDS_MENU_REMOVE 301
#define IDS_MENU_PROPERTIES 302
