// The hover tips (info tips) of the folder list.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "DateTime.h"
#include "FolderListDates.h"
#include "FolderListQuery.h"
#include "ListTexts.h"

namespace pw {

// Tips shorter than this are filled with blanks, so that the tip window does
// not shrink to a sliver around a short text.
inline constexpr size_t kInfoTipMinLength = 30;
std::wstring PadInfoTip(std::wstring tip);

// "Zuletzt verwendet: vor 9 Stunden (um 23:30)" and its kin; empty when d
// lies in the present minute or later (no tip).
std::wstring LastUsedTipText(const LocalTime& d,
                             const LocalTime& now,
                             const DateLocale& locale,
                             const ListTexts& texts);

struct InfoTipRequest {
    FolderView view = FolderView::LastUsed;
    bool largeIcons = false;  // large-icon view instead of details
    bool hidePathColumn = false;
    std::wstring_view path;             // the entry's tag
    std::optional<LocalTime> dateUsed;  // last-used list
    long usageCount = 0;                // most-used list
};

// The finished tip (padded), or empty: no tip, the notification passes on.
std::wstring FolderInfoTip(const InfoTipRequest& request,
                           const LocalTime& now,
                           const DateLocale& locale,
                           const ListTexts& texts);

// The tip cut to a buffer of bufferLength characters, NUL included; what
// the list's get-info-tip notification offers.
std::wstring FitInfoTip(std::wstring_view tip, int bufferLength);

}  // namespace pw
