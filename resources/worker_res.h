// Resource ids of PfadwerkHg.exe.
#pragma once

// The program icon is the named resource "AA" (16, 32 and 48 pixels), as in
// the main program.

// The program's symbol as it shows in the Quick Launch bar, 17 x 18 pixels on
// white; the welcome window shows it beside the Quick Launch hint.
#define IDB_START 101

#include "common_res.h"

// Texts of the welcome window.
#define IDS_WELCOME 110
#define IDS_INTRODUCTION 111
#define IDS_APP_HEADER 112
#define IDS_APP_START_HEADER 113
#define IDS_HOWTO_INTRO 114
#define IDS_HOWTO_QUICKLAUNCH 115
#define IDS_HOWTO_HOTKEY 116
#define IDS_HOWTO_NOTE 117
#define IDS_OK 118
#define IDS_IMPORT_OFFER 119
