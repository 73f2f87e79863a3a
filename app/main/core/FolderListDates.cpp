#include "FolderListDates.h"

#include "Text.h"

namespace pw {
namespace {

long long FloorDiv(long long a, long long b) {
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

long long DayNumber(const LocalTime& t) {
    return DaysFromCivil(t.year, t.month, t.day);
}

std::wstring Number(long long value, int minDigits) {
    std::wstring digits = std::to_wstring(value < 0 ? -value : value);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, minDigits - digits.size(), L'0');
    return value < 0 ? L"-" + digits : digits;
}

// Name tables are filled by the caller; a missing entry shows as a number
// rather than as nothing.
const std::wstring& NameOr(const std::wstring& name, std::wstring& fallback, int number) {
    if (!name.empty())
        return name;
    fallback = std::to_wstring(number);
    return fallback;
}

}  // namespace

std::wstring FormatPicture(std::wstring_view picture, const LocalTime& t, const DateLocale& locale) {
    std::wstring out, fallback;
    const int weekday = DayOfWeekMonday0(t);
    const int month = (t.month >= 1 && t.month <= 12) ? t.month - 1 : 0;
    size_t i = 0;
    while (i < picture.size()) {
        wchar_t c = picture[i];
        if (c == L'\'') {
            ++i;
            while (i < picture.size()) {
                if (picture[i] == L'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == L'\'') {
                        out += L'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        const int pad = run >= 2 ? 2 : 1;
        const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        const std::wstring& designator = t.hour < 12 ? locale.amDesignator : locale.pmDesignator;
        switch (c) {
            case L'd':
                if (run >= 4)
                    out += NameOr(locale.dayNames[weekday], fallback, weekday + 1);
                else if (run == 3)
                    out += NameOr(locale.shortDayNames[weekday], fallback, weekday + 1);
                else
                    out += Number(t.day, pad);
                break;
            case L'M':
                if (run >= 4)
                    out += NameOr(locale.monthNames[month], fallback, t.month);
                else if (run == 3)
                    out += NameOr(locale.shortMonthNames[month], fallback, t.month);
                else
                    out += Number(t.month, pad);
                break;
            case L'y':
                if (run >= 3)
                    out += Number(t.year, 4);
                else
                    out += Number(t.year % 100, pad);
                break;
            case L'g':  // era: nothing for the Gregorian calendar
                break;
            case L'h':
                out += Number(hour12, pad);
                break;
            case L'H':
                out += Number(t.hour, pad);
                break;
            case L'm':
                out += Number(t.minute, pad);
                break;
            case L's':
                out += Number(t.second, pad);
                break;
            case L't':
                out += run >= 2 ? designator : designator.substr(0, 1);
                break;
            default:
                out.append(run, c);
                break;
        }
        i += run;
    }
    return out;
}

std::wstring ShortTime(const LocalTime& t, const DateLocale& locale) {
    return FormatPicture(locale.shortTimePicture, t, locale);
}

std::wstring ShortDate(const LocalTime& t, const DateLocale& locale) {
    return FormatPicture(locale.shortDatePicture, t, locale);
}

long long CalendarDaysBetween(const LocalTime& d, const LocalTime& now) {
    return DayNumber(now) - DayNumber(d);
}

long long HoursBetween(const LocalTime& d, const LocalTime& now) {
    return FloorDiv(SecondsSinceEpoch(now), 3600) - FloorDiv(SecondsSinceEpoch(d), 3600);
}

long long MinutesBetween(const LocalTime& d, const LocalTime& now) {
    return FloorDiv(SecondsSinceEpoch(now), 60) - FloorDiv(SecondsSinceEpoch(d), 60);
}

long long WeeksBetween(const LocalTime& d, const LocalTime& now, int firstDayOfWeek) {
    // Day 0 (1970-01-01) was a Thursday, weekday 3 counted from Monday.
    auto week = [&](const LocalTime& t) { return FloorDiv(DayNumber(t) + 3 - firstDayOfWeek, 7); };
    return week(now) - week(d);
}

int SundayWeekOfYear(const LocalTime& t) {
    LocalTime jan1{t.year, 1, 1};
    int jan1Sunday0 = (DayOfWeekMonday0(jan1) + 1) % 7;
    long long dayOfYear0 = DayNumber(t) - DayNumber(jan1);
    return static_cast<int>((dayOfYear0 + jan1Sunday0) / 7 + 1);
}

std::wstring_view DateGroupKey(DateGroup group) {
    switch (group) {
        case DateGroup::Today:
            return L"t";
        case DateGroup::Yesterday:
            return L"y";
        case DateGroup::ThisWeek:
            return L"w";
        case DateGroup::Older:
            break;
    }
    return L"o";
}

const std::wstring& DateGroupHeader(DateGroup group, const ListTexts& texts) {
    switch (group) {
        case DateGroup::Today:
            return texts.groupToday;
        case DateGroup::Yesterday:
            return texts.groupYesterday;
        case DateGroup::ThisWeek:
            return texts.groupThisWeek;
        case DateGroup::Older:
            break;
    }
    return texts.groupOlder;
}

LastUsedDate LastUsedDateText(const LocalTime& d,
                              const LocalTime& now,
                              const DateLocale& locale,
                              const ListTexts& texts) {
    long long days = CalendarDaysBetween(d, now);
    if (days == 0)
        return {DateGroup::Today, FillPlaceholders(texts.dateToday, {ShortTime(d, locale)})};
    if (days == 1)
        return {DateGroup::Yesterday, FillPlaceholders(texts.dateYesterday, {ShortTime(d, locale)})};
    if (WeeksBetween(d, now, locale.firstDayOfWeek) == 0)
        return {DateGroup::ThisWeek, FormatPicture(L"ddd", d, locale) + L", " + ShortTime(d, locale)};
    return {DateGroup::Older, FormatPicture(L"d'. 'MMM'.'", d, locale)};
}

std::vector<std::wstring> LastUsedDateTextSamples(const DateLocale& locale, const ListTexts& texts) {
    std::vector<std::wstring> samples;
    constexpr long long kDay = 24 * 60 * 60;
    const LocalTime monday{2024, 1, 1};
    for (int hour : {0, 9, 10, 12, 20, 23}) {
        LocalTime t = monday;
        t.hour = hour;
        t.minute = 58;
        samples.push_back(LastUsedDateText(t, t, locale, texts).text);
        samples.push_back(LastUsedDateText(t, FromSeconds(SecondsSinceEpoch(t) + kDay), locale, texts).text);
        for (int day = 0; day < 7; ++day) {
            LocalTime weekday = FromSeconds(SecondsSinceEpoch(t) + day * kDay);
            samples.push_back(FormatPicture(L"ddd", weekday, locale) + L", " + ShortTime(weekday, locale));
        }
    }
    const LocalTime later{2024, 6, 1, 12};
    for (int month = 1; month <= 12; ++month) {
        samples.push_back(LastUsedDateText(LocalTime{2023, month, 28, 12}, later, locale, texts).text);
    }
    return samples;
}

}  // namespace pw
