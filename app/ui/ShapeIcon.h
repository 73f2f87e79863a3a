#pragma once

#include <windows.h>

#include <functional>

namespace pw {

// A small icon of one colour, for buttons that carry a drawn sign rather than
// a picture. `draw` paints the shape with the colour it is handed; whatever
// it leaves unpainted shows the button through.
HICON MakeShapeIcon(int width, int height, COLORREF colour, const std::function<void(HDC, COLORREF)>& draw);

}  // namespace pw
