#include "FolderListRows.h"

#include "Text.h"

namespace pw {

cFolderListRows::cFolderListRows(int limit) : limit_(limit < 0 ? 0 : limit) {
    dates_.reserve(static_cast<size_t>(limit_));
    counts_.reserve(static_cast<size_t>(limit_));
}

RowVerdict cFolderListRows::Check(std::wstring_view folderPath) {
    if (folderPath.substr(0, 3) == L"::{")
        return RowVerdict::SkipShellNamespace;
    if (!seen_.insert(FoldCase(folderPath)).second)
        return RowVerdict::SkipDuplicate;
    return RowVerdict::Take;
}

std::wstring cFolderListRows::NextKey() const {
    return L"itmx" + std::to_wstring(Count());
}

int cFolderListRows::Added(std::optional<LocalTime> dateUsed, long usageCount) {
    dates_.push_back(dateUsed);
    counts_.push_back(usageCount);
    return Count();
}

std::optional<LocalTime> cFolderListRows::DateUsed(int n) const {
    if (n < 1 || n > Count())
        return std::nullopt;
    return dates_[static_cast<size_t>(n - 1)];
}

long cFolderListRows::UsageCount(int n) const {
    if (n < 1 || n > Count())
        return 0;
    return counts_[static_cast<size_t>(n - 1)];
}

}  // namespace pw
