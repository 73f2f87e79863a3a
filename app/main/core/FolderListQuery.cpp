#include "FolderListQuery.h"

#include "IgnoreList.h"

namespace pw {

bool IsSearchActive(std::wstring_view findText) {
    return !findText.empty();
}

FolderQuery BuildFolderQuery(FolderView view,
                             std::wstring_view findText,
                             int timeframeIndex,
                             std::wstring_view ignoreFilter) {
    FolderQuery query;
    query.view = view;
    if (IsIgnoreFilter(ignoreFilter))
        query.ignoreFilter = ignoreFilter;
    if (view == FolderView::MostUsed) {
        query.timeframe = NormalizeTimeframe(timeframeIndex);
    } else {
        query.searchText = findText;
        if (IsSearchActive(findText))
            query.limit = kSearchListLimit;
    }
    return query;
}

}  // namespace pw
