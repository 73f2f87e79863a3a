#include "FolderListTips.h"

#include "Text.h"

namespace pw {

std::wstring PadInfoTip(std::wstring tip) {
    if (tip.size() < kInfoTipMinLength)
        tip.append(kInfoTipMinLength - tip.size(), L' ');
    return tip;
}

std::wstring LastUsedTipText(const LocalTime& d,
                             const LocalTime& now,
                             const DateLocale& locale,
                             const ListTexts& texts) {
    long long minutes = MinutesBetween(d, now);
    if (minutes < 90) {
        if (minutes <= 0)
            return {};
        return FillPlaceholders(texts.tipMinutes, {std::to_wstring(minutes)});
    }
    long long hours = HoursBetween(d, now);
    if (hours < 24)
        return FillPlaceholders(texts.tipHours, {std::to_wstring(hours), ShortTime(d, locale)});
    long long days = CalendarDaysBetween(d, now);
    std::wstring weekday = FormatPicture(L"dddd", d, locale);
    if (days == 1)
        return FillPlaceholders(texts.tipYesterday, {weekday, ShortTime(d, locale)});
    // Week numbers alone, as the program always compared them: a visit in the
    // same numbered week of another year is told by its day count.
    if (SundayWeekOfYear(d) == SundayWeekOfYear(now))
        return FillPlaceholders(texts.tipThisWeek, {weekday, std::to_wstring(days)});
    return FillPlaceholders(texts.tipOlder, {std::to_wstring(days), ShortDate(d, locale)});
}

std::wstring FolderInfoTip(const InfoTipRequest& request,
                           const LocalTime& now,
                           const DateLocale& locale,
                           const ListTexts& texts) {
    const bool showPath = request.largeIcons || request.hidePathColumn;
    const std::wstring path(request.path);
    std::wstring tip;
    switch (request.view) {
        case FolderView::LastUsed: {
            if (!request.dateUsed)
                return {};
            std::wstring text = LastUsedTipText(*request.dateUsed, now, locale, texts);
            if (text.empty())
                return {};
            tip = showPath ? path + L"\r\r" + text : text;
            break;
        }
        case FolderView::MostUsed:
            if (request.largeIcons)
                tip = path + L"\r\r" + FillPlaceholders(texts.tipUsageCount, {std::to_wstring(request.usageCount)});
            else if (request.hidePathColumn)
                tip = path + L"\r\r";
            else
                return {};
            break;
        case FolderView::Favorites:
            if (!showPath)
                return {};
            tip = path;
            break;
    }
    return PadInfoTip(std::move(tip));
}

std::wstring FitInfoTip(std::wstring_view tip, int bufferLength) {
    if (bufferLength <= 1)
        return {};
    std::wstring fitted(tip.substr(0, static_cast<size_t>(bufferLength - 1)));
    // Never leave half of a UTF-16 surrogate pair at the cut.
    if (fitted.size() < tip.size() && !fitted.empty() && fitted.back() >= 0xD800 && fitted.back() <= 0xDBFF)
        fitted.pop_back();
    return fitted;
}

}  // namespace pw
