// How the main program draws itself on this display: worked out once when
// the main window loads and handed to each part and dialog that sizes or
// styles by it.
#pragma once

#include "WindowsVersion.h"

namespace pw {

struct DisplayLook {
    // Visual styles active (XP or later): the themed flag.
    bool visualStyles = false;
    // Vista or later with visual styles active.
    bool vistaThemed = false;
    // More than 110 dots per inch.
    bool largeFonts = false;
};

// The look of this system: family as GetWindowsFamily gives it, dpiX the screen's horizontal dots per inch.
DisplayLook SystemDisplayLook(WindowsFamily family, int dpiX);

}  // namespace pw
