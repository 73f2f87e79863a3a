#include "DisplayLook.h"

#include <windows.h>
#include <uxtheme.h>

namespace pw {

DisplayLook SystemDisplayLook(WindowsFamily family, int dpiX) {
    DisplayLook look;
    look.largeFonts = dpiX > 110;
    look.visualStyles = family >= WindowsFamily::Xp && IsThemeActive() && IsAppThemed();
    look.vistaThemed = family == WindowsFamily::VistaOrLater && look.visualStyles;
    return look;
}

}  // namespace pw
