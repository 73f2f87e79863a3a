// The options of the main window (registry key Options), read once when the
// window loads, into one structure.
#pragma once
#include "MainOptionsShape.h"

namespace pw {

// 16, 24 or 32 pixels; an unknown size counts as small.
int IconPixels(ListSize size);

// The stored options; vistaThemed picks the defaults of a themed Vista.
MainOptions ReadMainOptions(bool vistaThemed);

}  // namespace pw
