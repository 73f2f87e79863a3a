// Pictures from files the list control shows behind its entries.
#pragma once
#include <windows.h>

#include <string>

namespace pw {

// Loads a PNG, JPEG, GIF or BMP file into a bitmap, with its transparent parts
// laid onto background. GDI+ is loaded at run time (systems without it get
// nullptr). The caller owns the bitmap.
HBITMAP LoadPictureFile(const std::wstring& path, COLORREF background);

}  // namespace pw
