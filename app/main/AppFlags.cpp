#include "AppFlags.h"

namespace pw {

UINT lActivationMessage = 0;
bool bVistaThemed = false;
bool bVisualStyles = false;
bool bLargeFonts = false;

}  // namespace pw
