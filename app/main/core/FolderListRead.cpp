#include "FolderListRead.h"

#include <algorithm>
#include <vector>

#include "Text.h"

namespace pw {
namespace {

// The most-used query asks for its top 15 groups.
constexpr size_t kMostUsedRows = 15;

// Hands one row to the list; false once the list is full.
class cRowTaker {
  public:
    cRowTaker(FolderView view, cFolderListRows& rows, const AddFolderEntry& addEntry)
        : view_(view), rows_(rows), addEntry_(addEntry) {}

    void Take(std::wstring path, std::wstring name, std::optional<LocalTime> dateUsed, long usageCount) {
        if (rows_.Check(path) != RowVerdict::Take)
            return;
        row_.path = std::move(path);
        row_.name = std::move(name);
        if (view_ == FolderView::MostUsed) {
            row_.dateUsed.reset();
            row_.usageCount = usageCount;
        } else {
            row_.dateUsed = dateUsed;
            row_.usageCount = 0;
        }
        if (addEntry_ && !addEntry_(row_))
            return;
        rows_.Added(row_.dateUsed, row_.usageCount);
    }

  private:
    FolderView view_;
    cFolderListRows& rows_;
    const AddFolderEntry& addEntry_;
    FolderRow row_;
};

// The most-used list from the summary. A folder's visits within the time
// frame are at most all its visits, so once the summary, read by falling
// UsageCount, reaches a folder with fewer visits than the 15th best found,
// no later folder can make the top 15 any more. The top 15 stand in the order
// of the visits' query: by count, equal counts in the order of their group
// (path, then name), and each with the texts of its oldest visit within the
// time frame.
bool ReadMostUsedFromSummary(cDatabase& db,
                             const FolderQuery& query,
                             cRowTaker& taker,
                             cFolderListRows& rows,
                             const std::function<void()>& afterRow,
                             bool& readAny) {
    struct Group {
        std::wstring path, name;
        long count;
    };
    std::vector<Group> groups;
    std::vector<long> best;  // the highest counts so far, at most 15, falling
    bool ok = db.Query(query.summarySql, [&](const cRow& r) {
        readAny = true;
        long total = r.Long(2);
        if (best.size() == kMostUsedRows && total < best.back())
            return false;
        long within = r.Long(3);
        if (within > 0) {
            groups.push_back({r.Text(0), r.Text(1), within});
            best.insert(std::upper_bound(best.begin(), best.end(), within, std::greater<long>()), within);
            if (best.size() > kMostUsedRows)
                best.pop_back();
        }
        if (afterRow)
            afterRow();
        return true;
    });
    if (!ok)
        return false;
    auto before = [](const Group& a, const Group& b) {
        if (a.count != b.count)
            return a.count > b.count;
        int byPath = CompareNoCase(ToUtf8(a.path), ToUtf8(b.path));
        if (byPath != 0)
            return byPath < 0;
        return CompareNoCase(ToUtf8(a.name), ToUtf8(b.name)) < 0;
    };
    size_t top = std::min(groups.size(), kMostUsedRows);
    std::partial_sort(groups.begin(), groups.begin() + static_cast<std::ptrdiff_t>(top), groups.end(), before);
    for (size_t i = 0; i < top && !rows.Full(); ++i) {
        std::wstring path = groups[i].path, name = groups[i].name;
        if (!db.Query(MostUsedTextsSql(query.timeframe, groups[i].path, groups[i].name), [&](const cRow& r) {
                path = r.Text(0);
                name = r.Text(1);
                return false;
            }))
            return false;
        taker.Take(std::move(path), std::move(name), std::nullopt, groups[i].count);
        if (!rows.Full() && afterRow)
            afterRow();
    }
    return true;
}

}  // namespace

bool ReadFolderRowsByQueryText(cDatabase& db,
                               FolderView view,
                               const FolderQuery& query,
                               cFolderListRows& rows,
                               const AddFolderEntry& addEntry,
                               const std::function<void()>& afterRow) {
    if (rows.Full())
        return true;
    cRowTaker taker(view, rows, addEntry);
    return db.Query(query.sql, [&](const cRow& r) {
        taker.Take(r.Text(0), r.Text(1), view == FolderView::MostUsed ? std::nullopt : r.Date(2),
                   view == FolderView::MostUsed ? r.Long(2) : 0);
        if (rows.Full())
            return false;
        if (afterRow)
            afterRow();
        return true;
    });
}

bool ReadFolderRows(cDatabase& db,
                    FolderView view,
                    const FolderQuery& query,
                    cFolderListRows& rows,
                    const AddFolderEntry& addEntry,
                    const std::function<void()>& afterRow) {
    if (rows.Full())
        return true;
    if (!query.summarySql.empty()) {
        cRowTaker taker(view, rows, addEntry);
        bool readAny = false;
        bool ok;
        if (view == FolderView::MostUsed) {
            ok = ReadMostUsedFromSummary(db, query, taker, rows, afterRow, readAny);
        } else {
            ok = db.Query(query.summarySql, [&](const cRow& r) {
                readAny = true;
                taker.Take(r.Text(0), r.Text(1), r.Date(2), 0);
                if (rows.Full())
                    return false;
                if (afterRow)
                    afterRow();
                return true;
            });
        }
        // A summary query that could not even start (a filter that names
        // another column than the summary has): the visits themselves.
        if (ok || readAny)
            return ok;
    }
    return ReadFolderRowsByQueryText(db, view, query, rows, addEntry, afterRow);
}

}  // namespace pw
