// The program's own words in the folder list's texts. The string table of
// the program holds them: the window code reads them from there once, the
// native tests from the resource script itself.
#pragma once
#include <functional>
#include <string>

namespace pw {

// A text of the string table by its id (app_res.h); "[*]" in it stands for
// a value (FillPlaceholders).
using TextSource = std::function<std::wstring(unsigned id)>;

struct ListTexts {
    // The date groups of the last-used list.
    std::wstring groupToday, groupYesterday, groupThisWeek, groupOlder;
    // Its "Verwendet" texts: "Heute, [*]", "Gestern, [*]" (the short time).
    std::wstring dateToday, dateYesterday;
    // The most-used list's count: "[*] mal".
    std::wstring usageCount;
    // The hover tips: minutes; hours and time; weekday and time; weekday and
    // days; days and date; the count.
    std::wstring tipMinutes, tipHours, tipYesterday, tipThisWeek, tipOlder, tipUsageCount;
};

ListTexts LoadListTexts(const TextSource& text);

}  // namespace pw
