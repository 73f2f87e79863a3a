#include "ListTexts.h"

#include "app_res.h"

namespace pw {

ListTexts LoadListTexts(const TextSource& text) {
    ListTexts texts;
    texts.groupToday = text(IDS_GROUP_TODAY);
    texts.groupYesterday = text(IDS_GROUP_YESTERDAY);
    texts.groupThisWeek = text(IDS_GROUP_THISWEEK);
    texts.groupOlder = text(IDS_GROUP_OLDER);
    texts.dateToday = text(IDS_DATE_TODAY);
    texts.dateYesterday = text(IDS_DATE_YESTERDAY);
    texts.usageCount = text(IDS_USAGE_COUNT);
    texts.tipMinutes = text(IDS_TIP_MINUTES);
    texts.tipHours = text(IDS_TIP_HOURS);
    texts.tipYesterday = text(IDS_TIP_YESTERDAY);
    texts.tipThisWeek = text(IDS_TIP_THISWEEK);
    texts.tipOlder = text(IDS_TIP_OLDER);
    texts.tipUsageCount = text(IDS_TIP_USAGE_COUNT);
    return texts;
}

}  // namespace pw
