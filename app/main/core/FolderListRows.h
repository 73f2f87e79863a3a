// Which rows of a history query become list entries: one entry per folder
// (letter case ignored, umlauts included), no shell namespace objects, and no
// more entries than the limit. Keeps, per entry, what the hover tips need.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "DateTime.h"

namespace pw {

enum class RowVerdict {
    Take,                // look up the icon and add the entry
    SkipShellNamespace,  // "::{…}": not a file-system folder
    SkipDuplicate,       // the folder is listed already (first row wins)
};

class cFolderListRows {
  public:
    explicit cFolderListRows(int limit);

    // Marks the path as seen. A row that is taken here may still fail its
    // icon lookup; its folder then stays seen and yields no entry.
    RowVerdict Check(std::wstring_view folderPath);

    // Key of the next entry: "itmx" + entries added before it ("itmx0" first).
    std::wstring NextKey() const;

    // Counts an added entry and keeps its values; returns its number n (from 1).
    int Added(std::optional<LocalTime> dateUsed, long usageCount = 0);

    int Count() const { return static_cast<int>(dates_.size()); }
    int Limit() const { return limit_; }
    bool Full() const { return Count() >= limit_; }

    // The values of entry n (from 1) for the hover tips; nothing outside 1..Count().
    std::optional<LocalTime> DateUsed(int n) const;
    long UsageCount(int n) const;

  private:
    int limit_;
    std::unordered_set<std::wstring> seen_;  // folded paths
    std::vector<std::optional<LocalTime>> dates_;
    std::vector<long> counts_;
};

}  // namespace pw
