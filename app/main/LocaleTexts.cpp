#include "LocaleTexts.h"

#include <windows.h>

#include <cwctype>

namespace pw {
namespace {

#ifndef LOCALE_SSHORTTIME
#define LOCALE_SSHORTTIME 0x00000079
#endif

// German as the system spells it: what a name falls back to when the user's
// locale does not give it.
const LCID kGerman = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

bool Read(LCTYPE type, std::wstring& out, LCID locale = LOCALE_USER_DEFAULT) {
    wchar_t buffer[128] = {};
    int length = GetLocaleInfoW(locale, type, buffer, 128);
    if (length <= 1)
        return false;
    out.assign(buffer, static_cast<size_t>(length - 1));
    return true;
}

}  // namespace

std::wstring ShortTimePictureOf(std::wstring_view picture) {
    std::wstring out;
    bool quoted = false;
    for (size_t i = 0; i < picture.size(); ++i) {
        wchar_t c = picture[i];
        if (c == L'\'')
            quoted = !quoted;
        if (quoted || c != L's') {
            out += c;
            continue;
        }
        // The separator in front of the seconds goes with them.
        while (!out.empty() && !iswalpha(out.back()) && out.back() != L'\'' && out.back() != L' ')
            out.pop_back();
        while (i + 1 < picture.size() && picture[i + 1] == L's')
            ++i;
    }
    return out.empty() ? std::wstring(L"HH:mm") : out;
}

DateLocale UserDateLocale() {
    DateLocale locale;
    // LOCALE_SDAYNAME1 is Monday, as the struct counts.
    for (LCID source : {kGerman, static_cast<LCID>(LOCALE_USER_DEFAULT)}) {
        for (int i = 0; i < 7; ++i) {
            Read(LOCALE_SDAYNAME1 + i, locale.dayNames[i], source);
            Read(LOCALE_SABBREVDAYNAME1 + i, locale.shortDayNames[i], source);
        }
        for (int i = 0; i < 12; ++i) {
            Read(LOCALE_SMONTHNAME1 + i, locale.monthNames[i], source);
            Read(LOCALE_SABBREVMONTHNAME1 + i, locale.shortMonthNames[i], source);
        }
    }
    std::wstring text;
    if (Read(LOCALE_IFIRSTDAYOFWEEK, text) && text.size() == 1 && text[0] >= L'0' && text[0] <= L'6')
        locale.firstDayOfWeek = text[0] - L'0';
    if (Read(LOCALE_SSHORTTIME, text)) {
        locale.shortTimePicture = text;
    } else if (Read(LOCALE_STIMEFORMAT, text)) {
        locale.shortTimePicture = ShortTimePictureOf(text);
    }
    if (Read(LOCALE_SSHORTDATE, text))
        locale.shortDatePicture = text;
    if (Read(LOCALE_S1159, text))
        locale.amDesignator = text;
    if (Read(LOCALE_S2359, text))
        locale.pmDesignator = text;
    return locale;
}

}  // namespace pw
