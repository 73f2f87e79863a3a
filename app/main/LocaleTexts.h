// The user's day and month names and time pictures, read from the system for
// the date texts and hover tips of the history lists.
#pragma once
#include "FolderListDates.h"

namespace pw {

// The user's locale; a name it does not give is the system's German one, a
// picture it does not give the program's default.
DateLocale UserDateLocale();

// A time picture without its seconds ("HH:mm:ss" → "HH:mm", "h:mm:ss tt" →
// "h:mm tt"): systems before LOCALE_SSHORTTIME know only the long one.
std::wstring ShortTimePictureOf(std::wstring_view timePicture);

}  // namespace pw
