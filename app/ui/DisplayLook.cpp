#include "DisplayLook.h"

#include <windows.h>
#include <uxtheme.h>

namespace pw {

DisplayLook SystemDisplayLook(int versionClass, int dpiX) {
    DisplayLook look;
    look.largeFonts = dpiX > 110;
    look.visualStyles = versionClass >= 1 && IsThemeActive() && IsAppThemed();
    look.vistaThemed = versionClass == 2 && look.visualStyles;
    return look;
}

}  // namespace pw
