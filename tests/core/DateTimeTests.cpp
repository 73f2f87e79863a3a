#include <gtest/gtest.h>

#include "DateTime.h"

using namespace pw;

TEST(DateTime, FormatAndParseRoundTrip) {
    LocalTime t{2026, 3, 9, 7, 5, 1};
    EXPECT_EQ(FormatDbDate(t), "2026-03-09 07:05:01");
    EXPECT_EQ(ParseDbDate("2026-03-09 07:05:01"), t);
    auto dateOnly = ParseDbDate("2026-03-09");
    ASSERT_TRUE(dateOnly);
    EXPECT_EQ(dateOnly->hour, 0);
}

TEST(DateTime, ParseRefusesMalformedText) {
    EXPECT_FALSE(ParseDbDate(""));
    EXPECT_FALSE(ParseDbDate("2026-13-01"));
    EXPECT_FALSE(ParseDbDate("2026-01-01 24:00:00"));
    EXPECT_FALSE(ParseDbDate("2026-01-01T10:00:00"));
    EXPECT_FALSE(ParseDbDate("2026-01-01 10:00"));
}

TEST(DateTime, DaysRoundTripAndWeekday) {
    for (long long d : {-800000LL, -1LL, 0LL, 1LL, 20000LL, 2932896LL}) {
        LocalTime t = FromDays(d);
        EXPECT_EQ(DaysFromCivil(t.year, t.month, t.day), d);
    }
    EXPECT_EQ(DayOfWeekMonday0({2026, 12, 7}), 0);  // a Monday
    EXPECT_EQ(DayOfWeekMonday0({2026, 12, 13}), 6);
}

TEST(DateTime, DateAddCrossesDayMonthAndYearBoundaries) {
    EXPECT_EQ(DateAdd("d", -42, {2026, 12, 7, 14, 30, 0}), (LocalTime{2026, 10, 26, 14, 30, 0}));
    EXPECT_EQ(DateAdd("h", -3, {2026, 1, 1, 1, 0, 0}), (LocalTime{2025, 12, 31, 22, 0, 0}));
    EXPECT_EQ(DateAdd("d", 1, {2024, 2, 28, 0, 0, 0}), (LocalTime{2024, 2, 29, 0, 0, 0}));
    EXPECT_EQ(DateAdd("D", 1, {2023, 2, 28, 0, 0, 0}), (LocalTime{2023, 3, 1, 0, 0, 0}));
    EXPECT_EQ(DateAdd("m", 1, {2026, 1, 31, 9, 0, 0}), (LocalTime{2026, 2, 28, 9, 0, 0}));
    EXPECT_EQ(DateAdd("yyyy", -1, {2024, 2, 29, 0, 0, 0}), (LocalTime{2023, 2, 28, 0, 0, 0}));
    EXPECT_EQ(DateAdd("n", 90, {2026, 12, 31, 23, 0, 0}), (LocalTime{2027, 1, 1, 0, 30, 0}));
    EXPECT_EQ(DateAdd("ww", 1, {2026, 12, 28, 0, 0, 0}), (LocalTime{2027, 1, 4, 0, 0, 0}));
}

TEST(DateTime, DateAddRefusesUnknownIntervalsAndOutOfRangeDates) {
    EXPECT_FALSE(DateAdd("x", 1, {2026, 1, 1}));
    EXPECT_FALSE(DateAdd("d", 5000000, {2026, 1, 1}));
    // A number from a hand-edited filter too large to multiply safely.
    EXPECT_FALSE(DateAdd("d", 3473453989167628594LL, {2024, 2, 29}));
    EXPECT_FALSE(DateAdd("yyyy", -3473453989167628594LL, {2024, 2, 29}));
    EXPECT_EQ(DateAdd("yyyy", 9899, {100, 1, 1}), (LocalTime{9999, 1, 1}));
}
