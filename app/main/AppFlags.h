// Program-wide state of the main program: the display flags worked out when
// the main window loads, the activation message number and the two flags the
// entry loop watches.
#pragma once
#include <windows.h>

namespace pw {

// RegisterWindowMessageW("ActivatePfadwerk").
extern UINT lActivationMessage;
// Vista or later with visual styles active.
extern bool bVistaThemed;
// Visual styles active (XP or later): the themed flag.
extern bool bVisualStyles;
// More than 110 dots per inch.
extern bool bLargeFonts;
// Set by the options dialog when a fresh main window is needed.
extern bool bReloadMainWindow;
// Set when the main window has unloaded.
extern bool bMainWindowUnloaded;

constexpr wchar_t kActivationMessageName[] = L"ActivatePfadwerk";

}  // namespace pw
