// Which family of Windows the programs run on: from XP on they may wear visual
// styles, from Vista on both look and behave differently in places.
#pragma once

namespace pw {

// Ordered oldest first, so "XP or later" reads as family >= WindowsFamily::Xp.
enum class WindowsFamily {
    Windows2000,   // and anything older the program does not support
    Xp,            // XP or Server 2003
    VistaOrLater,  // task dialogs, the newer shell
};

WindowsFamily WindowsFamilyOf(unsigned long major, unsigned long minor);

// The family of the running system. Windows 2000 is looked up again on every
// call (the version could not be read), the others are kept for the life of
// the process.
WindowsFamily GetWindowsFamily();

}  // namespace pw
