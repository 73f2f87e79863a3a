// Dates as the last-used list shows them: the date group of a visit, the
// "Verwendet" text, and the calendar counts behind both. Names and formats
// come from the user's locale, handed in by the window code (GetLocaleInfo),
// so everything here runs and is tested without Windows.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "DateTime.h"
#include "ListTexts.h"

namespace pw {

struct DateLocale {
    // Monday first, as LOCALE_SDAYNAME1..7 and LOCALE_SABBREVDAYNAME1..7.
    std::array<std::wstring, 7> dayNames;
    std::array<std::wstring, 7> shortDayNames;
    // January first, as LOCALE_SMONTHNAME1..12 and LOCALE_SABBREVMONTHNAME1..12.
    std::array<std::wstring, 12> monthNames;
    std::array<std::wstring, 12> shortMonthNames;
    int firstDayOfWeek = 0;  // LOCALE_IFIRSTDAYOFWEEK: 0 Monday … 6 Sunday
    // Pictures in GetTimeFormat/GetDateFormat notation (LOCALE_SSHORTTIME,
    // LOCALE_SSHORTDATE).
    std::wstring shortTimePicture = L"HH:mm";
    std::wstring shortDatePicture = L"dd.MM.yyyy";
    std::wstring amDesignator = L"AM", pmDesignator = L"PM";  // for "t"/"tt"
};

// Formats t by a Windows date or time picture: d dd ddd dddd M MM MMM MMMM y
// yy yyyy h hh H HH m mm s ss t tt and 'quoted text' ('' is one quote).
std::wstring FormatPicture(std::wstring_view picture, const LocalTime& t, const DateLocale& locale);
std::wstring ShortTime(const LocalTime& t, const DateLocale& locale);
std::wstring ShortDate(const LocalTime& t, const DateLocale& locale);

// Counted in unit boundaries from d to now (midnights, hour and minute
// starts crossed), negative when d lies after now.
long long CalendarDaysBetween(const LocalTime& d, const LocalTime& now);
long long HoursBetween(const LocalTime& d, const LocalTime& now);
long long MinutesBetween(const LocalTime& d, const LocalTime& now);
// Week starts crossed, weeks starting on firstDayOfWeek (0 Monday … 6 Sunday).
long long WeeksBetween(const LocalTime& d, const LocalTime& now, int firstDayOfWeek);
// Week of the year with weeks starting on Sunday and week 1 holding 1 January.
int SundayWeekOfYear(const LocalTime& t);

// The four groups of the last-used list.
enum class DateGroup { Today, Yesterday, ThisWeek, Older };
std::wstring_view DateGroupKey(DateGroup group);                               // "t", "y", "w", "o"
const std::wstring& DateGroupHeader(DateGroup group, const ListTexts& texts);  // "Heute", …
// The list puts each new group before the ones made earlier, so they are
// made oldest first and show "Heute" on top.
inline constexpr std::array<DateGroup, 4> kDateGroupCreationOrder = {DateGroup::Older, DateGroup::ThisWeek,
                                                                     DateGroup::Yesterday, DateGroup::Today};

struct LastUsedDate {
    DateGroup group;
    std::wstring text;  // the "Verwendet" column
};

// Group and text of a visit at d, seen at now ("Heute, 10:15", "Gestern,
// 23:30", "Di, 09:00", "3. Nov.").
LastUsedDate LastUsedDateText(const LocalTime& d,
                              const LocalTime& now,
                              const DateLocale& locale,
                              const ListTexts& texts);

// Texts of the "Verwendet" column in every form this locale gives them (each
// day and month name, hours from early to late), from which the column's
// width is taken: the widest of them must fit.
std::vector<std::wstring> LastUsedDateTextSamples(const DateLocale& locale, const ListTexts& texts);

}  // namespace pw
