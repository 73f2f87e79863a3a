// Local date and time as the history stores it ("YYYY-MM-DD HH:MM:SS", local
// time, to the second) and the calendar arithmetic behind DateAdd.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace pw {

struct LocalTime {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// Where "now" comes from; tests put in a fixed moment.
using Clock = std::function<LocalTime()>;
LocalTime SystemLocalTime();

std::string FormatDbDate(const LocalTime& t);
std::optional<LocalTime> ParseDbDate(std::string_view text);

long long DaysFromCivil(int year, int month, int day);
LocalTime FromDays(long long days, long long secondOfDay = 0);
long long SecondsSinceEpoch(const LocalTime& t);  // epoch: 1970-01-01 00:00:00
LocalTime FromSeconds(long long seconds);
int DayOfWeekMonday0(const LocalTime& t);  // Monday 0 … Sunday 6

// DateAdd with the interval letters of the query texts: "yyyy", "q", "m",
// "d", "y", "w", "ww", "h", "n", "s". Months clamp to the month's last day.
std::optional<LocalTime> DateAdd(std::string_view interval, long long number, const LocalTime& date);

}  // namespace pw
