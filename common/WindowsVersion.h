// Which family of Windows the programs run on: from Vista on, both look and
// behave differently in places.
#pragma once

namespace pw {

// 0 = Windows 2000, 1 = Windows XP or Server 2003, 2 = Windows Vista or later.
int WindowsVersionClassOf(unsigned long major, unsigned long minor);

// The class of the running system. A 0 is looked up again on every call, the
// others are kept for the life of the process.
int GetWindowsVersionClass();

}  // namespace pw
