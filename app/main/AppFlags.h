// Program-wide state of the main program: the display flags worked out when
// the main window loads and the activation message number.
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

constexpr wchar_t kActivationMessageName[] = L"ActivatePfadwerk";

}  // namespace pw
