// Resource ids of PfadwerkHg.exe.
#pragma once

// The program icon is the named resource "AA" (16, 32 and 48 pixels), as in
// the main program.

// The program's symbol as it shows in the Quick Launch bar, 17 x 18 pixels on
// white; the welcome window shows it beside the Quick Launch hint.
#define IDB_START 101
