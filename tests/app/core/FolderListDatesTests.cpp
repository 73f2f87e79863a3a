#include <gtest/gtest.h>

#include "CoreTexts.h"
#include "FolderListDates.h"
#include "FolderListTips.h"

using namespace pw;

namespace {

const DateLocale kGerman = pwtest::GermanDateLocale();
const ListTexts& kTexts = pwtest::ListTextsOfTheProgram();

DateLocale UsLocale() {
    DateLocale l = pwtest::GermanDateLocale();
    l.dayNames = {L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday", L"Sunday"};
    l.shortDayNames = {L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"};
    l.shortMonthNames = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                         L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    l.firstDayOfWeek = 6;  // Sunday
    l.shortTimePicture = L"h:mm tt";
    l.shortDatePicture = L"M/d/yyyy";
    return l;
}

// 2026-12-07 is a Monday.
constexpr LocalTime At(int month, int day, int hour, int minute, int second = 0, int year = 2026) {
    return {year, month, day, hour, minute, second};
}

}  // namespace

TEST(FolderListDates, PicturesFollowTheLocale) {
    LocalTime t = At(12, 7, 23, 5, 9);
    EXPECT_EQ(FormatPicture(L"HH:mm", At(12, 7, 8, 5), kGerman), L"08:05");
    EXPECT_EQ(FormatPicture(L"H:mm:ss", At(12, 7, 8, 5, 3), kGerman), L"8:05:03");
    EXPECT_EQ(FormatPicture(L"h:mm tt", t, UsLocale()), L"11:05 PM");
    EXPECT_EQ(FormatPicture(L"hh:mm t", At(12, 7, 0, 30), UsLocale()), L"12:30 A");
    EXPECT_EQ(FormatPicture(L"dd.MM.yyyy", At(3, 4, 0, 0), kGerman), L"04.03.2026");
    EXPECT_EQ(FormatPicture(L"d/M/yy", At(3, 4, 0, 0, 0, 2007), kGerman), L"4/3/07");
    EXPECT_EQ(FormatPicture(L"dddd, d. MMMM yyyy", At(3, 4, 0, 0), kGerman), L"Mittwoch, 4. März 2026");
    EXPECT_EQ(FormatPicture(L"ddd d. MMM", At(3, 4, 0, 0), kGerman), L"Mi 4. Mär");
    EXPECT_EQ(FormatPicture(L"HH 'Uhr' mm, 'o''clock'", t, kGerman), L"23 Uhr 05, o'clock");
    // A locale with missing names still shows something.
    DateLocale bare;
    EXPECT_EQ(FormatPicture(L"ddd MMM", At(12, 7, 0, 0), bare), L"1 12");
}

TEST(FolderListDates, UnitBoundariesCountedNotElapsedTime) {
    EXPECT_EQ(HoursBetween(At(12, 6, 23, 30), At(12, 7, 8, 0)), 9);
    EXPECT_EQ(MinutesBetween(At(12, 7, 7, 59, 50), At(12, 7, 8, 0, 30)), 1);  // 40 s, one minute start
    EXPECT_EQ(MinutesBetween(At(12, 7, 8, 0, 5), At(12, 7, 8, 0, 45)), 0);
    EXPECT_EQ(CalendarDaysBetween(At(12, 6, 23, 59), At(12, 7, 0, 1)), 1);
    EXPECT_EQ(CalendarDaysBetween(At(12, 31, 12, 0, 0, 2025), At(1, 1, 12, 0)), 1);
    EXPECT_EQ(MinutesBetween(At(12, 7, 9, 0), At(12, 7, 8, 0)), -60);
    // Monday-first weeks: Sunday 6 Dec and Monday 7 Dec lie in different weeks.
    EXPECT_EQ(WeeksBetween(At(12, 6, 12, 0), At(12, 7, 8, 0), 0), 1);
    EXPECT_EQ(WeeksBetween(At(12, 7, 0, 0), At(12, 13, 23, 59), 0), 0);
    EXPECT_EQ(WeeksBetween(At(12, 6, 12, 0), At(12, 12, 8, 0), 6), 0);  // Sunday-first
    EXPECT_EQ(WeeksBetween(At(12, 5, 12, 0), At(12, 6, 8, 0), 6), 1);
    // Before 1970 too.
    EXPECT_EQ(HoursBetween(At(12, 31, 23, 30, 0, 1969), At(1, 1, 0, 10, 0, 1970)), 1);
}

TEST(FolderListDates, SundayWeeksWithWeekOneHoldingJanuaryFirst) {
    EXPECT_EQ(SundayWeekOfYear(At(1, 1, 0, 0)), 1);  // a Thursday
    EXPECT_EQ(SundayWeekOfYear(At(1, 3, 0, 0)), 1);  // Saturday
    EXPECT_EQ(SundayWeekOfYear(At(1, 4, 0, 0)), 2);  // Sunday starts week 2
    EXPECT_EQ(SundayWeekOfYear(At(12, 7, 0, 0)), 50);
    EXPECT_EQ(SundayWeekOfYear(At(1, 1, 0, 0, 2023)), 1);  // a Sunday itself
    EXPECT_EQ(SundayWeekOfYear(At(1, 8, 0, 0, 2023)), 2);
}

TEST(FolderListDates, GroupsAndTextsOfTheLastUsedList) {
    const LocalTime now = At(12, 10, 8, 0);  // Thursday
    struct Case {
        LocalTime d;
        DateGroup group;
        const wchar_t* text;
    } cases[] = {
        {At(12, 10, 7, 59, 59), DateGroup::Today, L"Heute, 07:59"},
        {At(12, 10, 0, 0), DateGroup::Today, L"Heute, 00:00"},
        {At(12, 9, 23, 30), DateGroup::Yesterday, L"Gestern, 23:30"},
        {At(12, 9, 0, 0), DateGroup::Yesterday, L"Gestern, 00:00"},
        {At(12, 8, 22, 15), DateGroup::ThisWeek, L"Di, 22:15"},
        {At(12, 7, 0, 0), DateGroup::ThisWeek, L"Mo, 00:00"},
        {At(12, 6, 23, 59), DateGroup::Older, L"6. Dez."},
        {At(11, 3, 12, 0), DateGroup::Older, L"3. Nov."},
        {At(12, 31, 12, 0, 0, 2025), DateGroup::Older, L"31. Dez."},
    };
    for (const Case& c : cases) {
        LastUsedDate got = LastUsedDateText(c.d, now, kGerman, kTexts);
        EXPECT_EQ(got.group, c.group) << c.text;
        EXPECT_EQ(got.text, c.text);
    }
}

TEST(FolderListDates, WeekGroupFollowsTheLocalesFirstDay) {
    // Saturday 12 Dec, looking back at Sunday 6 Dec.
    EXPECT_EQ(LastUsedDateText(At(12, 6, 9, 0), At(12, 12, 8, 0), kGerman, kTexts).group, DateGroup::Older);
    LastUsedDate us = LastUsedDateText(At(12, 6, 21, 0), At(12, 12, 8, 0), UsLocale(), kTexts);
    EXPECT_EQ(us.group, DateGroup::ThisWeek);
    EXPECT_EQ(us.text, L"Sun, 9:00 PM");
    // Monday morning: Sunday is yesterday in either locale, Saturday last week.
    EXPECT_EQ(LastUsedDateText(At(12, 6, 9, 0), At(12, 7, 8, 0), kGerman, kTexts).group, DateGroup::Yesterday);
    EXPECT_EQ(LastUsedDateText(At(12, 5, 9, 0), At(12, 7, 8, 0), kGerman, kTexts).text, L"5. Dez.");
    EXPECT_EQ(LastUsedDateText(At(12, 5, 9, 0), At(12, 7, 8, 0), UsLocale(), kTexts).text, L"5. Dec.");
}

TEST(FolderListDates, GroupKeysHeadersAndCreationOrder) {
    std::wstring keys, headers;
    for (DateGroup g : kDateGroupCreationOrder) {
        keys += DateGroupKey(g);
        headers += DateGroupHeader(g, kTexts) + L"|";
    }
    EXPECT_EQ(keys, L"owyt");
    EXPECT_EQ(headers, L"Letzte Woche oder früher|Diese Woche|Gestern|Heute|");
}

TEST(FolderListTips, LastUsedTipTexts) {
    const std::wstring p = L"Zuletzt verwendet: ";
    struct Case {
        LocalTime d, now;
        std::wstring text;
    } cases[] = {
        {At(12, 6, 23, 30), At(12, 7, 8, 0), p + L"vor 9 Stunden (um 23:30)"},
        {At(12, 7, 8, 0, 5), At(12, 7, 8, 0, 45), L""},  // the same minute
        {At(12, 7, 7, 59, 50), At(12, 7, 8, 0, 30), p + L"vor 1 min"},
        {At(12, 7, 6, 31), At(12, 7, 8, 0), p + L"vor 89 min"},
        {At(12, 7, 6, 30), At(12, 7, 8, 0), p + L"vor 2 Stunden (um 06:30)"},
        {At(12, 6, 9, 0), At(12, 7, 8, 59), p + L"vor 23 Stunden (um 09:00)"},
        {At(12, 6, 8, 59), At(12, 7, 8, 0), p + L"am Sonntag um 08:59"},  // 24 hour starts crossed
        {At(12, 6, 7, 59), At(12, 7, 8, 0), p + L"am Sonntag um 07:59"},
        {At(12, 8, 10, 0), At(12, 12, 10, 0), p + L"am Dienstag (vor 4 Tagen)"},  // Sunday-first week 50
        {At(12, 5, 10, 0), At(12, 7, 10, 0), p + L"vor 2 Tagen (am 05.12.2026)"},
        {At(11, 3, 10, 0), At(12, 7, 10, 0), p + L"vor 34 Tagen (am 03.11.2026)"},
        // Only the week numbers are compared, not the year.
        {At(12, 9, 10, 0, 0, 2025), At(12, 10, 10, 0), p + L"am Dienstag (vor 366 Tagen)"},
        {At(12, 7, 9, 0), At(12, 7, 8, 0), L""},  // a visit after "now"
    };
    for (const Case& c : cases)
        EXPECT_EQ(LastUsedTipText(c.d, c.now, kGerman, kTexts), c.text);
}

TEST(FolderListTips, TipPerViewAndLayout) {
    const LocalTime now = At(12, 7, 8, 0);
    const std::wstring dateText = L"Zuletzt verwendet: vor 9 Stunden (um 23:30)";
    InfoTipRequest r;
    r.path = L"C:\\Projekte\\Übersicht";
    r.dateUsed = At(12, 6, 23, 30);
    r.usageCount = 12;

    r.view = FolderView::LastUsed;
    EXPECT_EQ(FolderInfoTip(r, now, kGerman, kTexts), dateText);
    r.hidePathColumn = true;
    EXPECT_EQ(FolderInfoTip(r, now, kGerman, kTexts), L"C:\\Projekte\\Übersicht\r\r" + dateText);
    r.hidePathColumn = false;
    r.largeIcons = true;
    EXPECT_EQ(FolderInfoTip(r, now, kGerman, kTexts), L"C:\\Projekte\\Übersicht\r\r" + dateText);
    r.dateUsed = At(12, 7, 8, 0, 0);  // this minute: no tip in any layout
    EXPECT_EQ(FolderInfoTip(r, At(12, 7, 8, 0, 40), kGerman, kTexts), L"");
    r.dateUsed.reset();  // an item the fill did not record
    EXPECT_EQ(FolderInfoTip(r, now, kGerman, kTexts), L"");

    r.view = FolderView::MostUsed;
    r.largeIcons = true;
    EXPECT_EQ(FolderInfoTip(r, now, kGerman, kTexts), L"C:\\Projekte\\Übersicht\r\r12 mal verwendet");
    r.largeIcons = false;
    r.hidePathColumn = true;
    EXPECT_EQ(FolderInfoTip(r, now, kGerman, kTexts), PadInfoTip(L"C:\\Projekte\\Übersicht\r\r"));
    r.hidePathColumn = false;
    EXPECT_EQ(FolderInfoTip(r, now, kGerman, kTexts), L"");

    r.view = FolderView::Favorites;
    EXPECT_EQ(FolderInfoTip(r, now, kGerman, kTexts), L"");
    r.largeIcons = true;
    EXPECT_EQ(FolderInfoTip(r, now, kGerman, kTexts), PadInfoTip(L"C:\\Projekte\\Übersicht"));
}

TEST(FolderListTips, ShortTipsArePaddedToThirtyAndCutToTheBuffer) {
    EXPECT_EQ(PadInfoTip(L"C:\\A"), L"C:\\A" + std::wstring(26, L' '));
    EXPECT_EQ(PadInfoTip(L""), std::wstring(30, L' '));
    std::wstring exact(30, L'x'), longer(31, L'y');
    EXPECT_EQ(PadInfoTip(exact), exact);
    EXPECT_EQ(PadInfoTip(longer), longer);
    InfoTipRequest r;
    r.view = FolderView::Favorites;
    r.largeIcons = true;
    r.path = L"D:\\x";
    EXPECT_EQ(FolderInfoTip(r, At(12, 7, 8, 0), kGerman, kTexts).size(), 30u);

    EXPECT_EQ(FitInfoTip(L"abcdef", 4), L"abc");
    EXPECT_EQ(FitInfoTip(L"abc", 80), L"abc");
    EXPECT_EQ(FitInfoTip(L"abc", 0), L"");
    std::wstring pair = L"ab";
    pair += static_cast<wchar_t>(0xD83D);
    pair += static_cast<wchar_t>(0xDCC1);
    EXPECT_EQ(FitInfoTip(pair, 4), L"ab");  // no half pair left behind
}
