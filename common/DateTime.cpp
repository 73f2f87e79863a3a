#include "DateTime.h"

#include <cstdio>
#include <ctime>

namespace pw {

LocalTime SystemLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
#ifdef _WIN32
    localtime_s(&tm, &now);
#else
    localtime_r(&now, &tm);
#endif
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatDbDate(const LocalTime& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return buf;
}

std::optional<LocalTime> ParseDbDate(std::string_view s) {
    auto digits = [&](size_t pos, size_t n, int& out) {
        if (pos + n > s.size())
            return false;
        out = 0;
        for (size_t i = pos; i < pos + n; ++i) {
            if (s[i] < '0' || s[i] > '9')
                return false;
            out = out * 10 + (s[i] - '0');
        }
        return true;
    };
    LocalTime t{};
    if (!digits(0, 4, t.year) || s.size() < 10 || s[4] != '-' || !digits(5, 2, t.month) || s[7] != '-' ||
        !digits(8, 2, t.day))
        return std::nullopt;
    t.hour = t.minute = t.second = 0;
    if (s.size() > 10) {
        if (s.size() < 19 || s[10] != ' ' || !digits(11, 2, t.hour) || s[13] != ':' || !digits(14, 2, t.minute) ||
            s[16] != ':' || !digits(17, 2, t.second))
            return std::nullopt;
    }
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    return t;
}

// Howard Hinnant's days-from-civil: proleptic Gregorian, day 0 = 1970-01-01.
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

LocalTime FromDays(long long z, long long secondOfDay) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    LocalTime t;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2));
    t.hour = static_cast<int>(secondOfDay / 3600);
    t.minute = static_cast<int>(secondOfDay / 60 % 60);
    t.second = static_cast<int>(secondOfDay % 60);
    return t;
}

long long SecondsSinceEpoch(const LocalTime& t) {
    return DaysFromCivil(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

LocalTime FromSeconds(long long s) {
    long long days = s >= 0 ? s / 86400 : -((-s + 86399) / 86400);
    return FromDays(days, s - days * 86400);
}

int DayOfWeekMonday0(const LocalTime& t) {
    long long d = DaysFromCivil(t.year, t.month, t.day);  // 1970-01-01 was a Thursday
    return static_cast<int>(((d % 7) + 7 + 3) % 7);
}

namespace {
int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

bool IEquals(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char ca = a[i] >= 'A' && a[i] <= 'Z' ? a[i] + 32 : a[i];
        if (ca != b[i])
            return false;
    }
    return true;
}
}  // namespace

std::optional<LocalTime> DateAdd(std::string_view interval, long long n, const LocalTime& date) {
    long long monthsPer = 0, secondsPer = 0;
    if (IEquals(interval, "yyyy"))
        monthsPer = 12;
    else if (IEquals(interval, "q"))
        monthsPer = 3;
    else if (IEquals(interval, "m"))
        monthsPer = 1;
    else if (IEquals(interval, "d") || IEquals(interval, "y") || IEquals(interval, "w"))
        secondsPer = 86400;
    else if (IEquals(interval, "ww"))
        secondsPer = 7 * 86400;
    else if (IEquals(interval, "h"))
        secondsPer = 3600;
    else if (IEquals(interval, "n"))
        secondsPer = 60;
    else if (IEquals(interval, "s"))
        secondsPer = 1;
    else
        return std::nullopt;
    // A step beyond the whole range of dates (years 100 to 9999) leaves it
    // whatever the start; refused before the arithmetic can overflow.
    constexpr long long kRangeMonths = 10000LL * 12, kRangeSeconds = 10000LL * 366 * 86400;
    long long limit = monthsPer ? kRangeMonths / monthsPer : kRangeSeconds / secondsPer;
    if (n > limit || n < -limit)
        return std::nullopt;
    long long months = n * monthsPer, seconds = n * secondsPer;

    LocalTime t = date;
    if (months != 0) {
        long long total = t.year * 12LL + (t.month - 1) + months;
        t.year = static_cast<int>(total / 12);
        t.month = static_cast<int>(total % 12) + 1;
        if (t.day > DaysInMonth(t.year, t.month))
            t.day = DaysInMonth(t.year, t.month);
    }
    if (seconds != 0)
        t = FromSeconds(SecondsSinceEpoch(t) + seconds);
    if (t.year < 100 || t.year > 9999)
        return std::nullopt;
    return t;
}

}  // namespace pw
