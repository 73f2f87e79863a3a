// The small pictures of the main window, drawn in code so that they follow
// the system's colours and any screen resolution, and the fonts and colours
// its parts share.
#pragma once
#include <windows.h>

#include "Handles.h"

namespace pw {

constexpr COLORREF kPictureBlue = RGB(0, 51, 153);
constexpr COLORREF kPictureRed = RGB(170, 63, 60);

// a and b mixed: weightOfB parts of b in total parts.
COLORREF Mix(COLORREF a, COLORREF b, int weightOfB, int total);

bool FontInstalled(const wchar_t* face);
HFONT MakeFont(const wchar_t* face, int points, bool bold, bool italic, bool underline);

void FillSolid(HDC dc, const RECT& r, COLORREF colour);
// The search box's lens, its reset cross on a grey disc.
void DrawMagnifier(HDC dc, const RECT& r, COLORREF colour);
void DrawFindCancel(HDC dc, const RECT& r, COLORREF back);
// The message pane's pictures: a line fading from blue, an arrow up to the
// control a hint speaks of, a lens crossed out for a search without hits.
void DrawFadingLine(HDC dc, const RECT& r, COLORREF back);
void DrawTipArrow(HDC dc, const RECT& r, COLORREF back);
void DrawNothingFound(HDC dc, const RECT& r, COLORREF back);
// The drop-down arrow of the menu button.
HICON MakeArrowIcon(int size, COLORREF colour);

}  // namespace pw
