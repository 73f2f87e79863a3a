#include "FolderListQuery.h"

#include <array>

#include "IgnoreList.h"
#include "Text.h"

namespace pw {
namespace {

constexpr std::wstring_view kLastUsedSelect =
    L"SELECT FoldersProtocol.FolderPath, FoldersProtocol.FolderName, FoldersProtocol.DateUsed FROM FoldersProtocol";
constexpr std::wstring_view kLastUsedOrder = L" ORDER BY FoldersProtocol.DateUsed DESC;";

// The filter is a piece of SQL read from the registry: only the shape the
// ignore list builds may become part of a query. Anything else (a hand-edited
// value, or "()" from a list without any separator) filters nothing here; the
// window rebuilds such a filter from the list when it loads.
std::wstring_view Filter(std::wstring_view ignoreFilter) {
    return IsIgnoreFilter(ignoreFilter) ? ignoreFilter : std::wstring_view();
}

// The start of each time frame. "Letzte 2 Stunden" has always reached back
// three hours, so a folder used just before the two-hour mark does not drop
// out.
constexpr std::array<std::wstring_view, kTimeframeCount> kTimeframeStarts = {
    L"",
    L"DateAdd('h',-3,Now())",
    L"DateAdd('d',-1,Now())",
    L"DateAdd('d',-3,Now())",
    L"DateAdd('d',-7,Now())",
    L"DateAdd('d',-14,Now())",
    L"DateAdd('d',-30,Now())",
};

std::wstring TimeframeClause(int timeframeIndex) {
    std::wstring_view start = kTimeframeStarts[NormalizeTimeframe(timeframeIndex)];
    if (start.empty())
        return {};
    return L"WHERE ((FoldersProtocol.DateUsed)>" + std::wstring(start) + L")";
}

// The search condition of the last-used list, with the filter.
std::wstring LastUsedWhere(std::wstring_view findText, std::wstring_view filter) {
    std::wstring where;
    if (IsSearchActive(findText)) {
        std::wstring term = SearchTerm(findText);
        where += L" WHERE (FoldersProtocol.FolderPath Like '%";
        where += term;
        where += L"%' OR FoldersProtocol.FolderName Like '%";
        where += term;
        where += L"%')";
        if (!filter.empty()) {
            where += L" AND ";
            where += filter;
        }
    } else if (!filter.empty()) {
        where += L" WHERE ";
        where += filter;
    }
    return where;
}

}  // namespace

bool IsSearchActive(std::wstring_view findText) {
    return !findText.empty();
}

std::wstring SearchTerm(std::wstring_view findText) {
    return QuoteSql(Trim(findText));
}

int NormalizeTimeframe(int index) {
    return index >= 0 && index < kTimeframeCount ? index : 0;
}

std::wstring MostUsedWhereClause(int timeframeIndex, std::wstring_view ignoreFilter) {
    std::wstring clause = TimeframeClause(timeframeIndex);
    std::wstring_view filter = Filter(ignoreFilter);
    if (filter.empty())
        return clause;
    if (clause.empty())
        return L"WHERE " + std::wstring(filter);
    return clause + L" AND " + std::wstring(filter);
}

std::wstring LastUsedSql(std::wstring_view findText, std::wstring_view ignoreFilter) {
    return std::wstring(kLastUsedSelect) + LastUsedWhere(findText, Filter(ignoreFilter)) + std::wstring(kLastUsedOrder);
}

std::wstring LastUsedSummarySql(std::wstring_view findText, std::wstring_view ignoreFilter) {
    return L"SELECT FoldersProtocol.LastPath, FoldersProtocol.LastName, FoldersProtocol.LastUsed "
           L"FROM FolderSummary AS FoldersProtocol" +
           LastUsedWhere(findText, Filter(ignoreFilter)) +
           L" ORDER BY FoldersProtocol.LastUsed DESC, FoldersProtocol.LastRowid DESC;";
}

std::wstring MostUsedSummarySql(int timeframeIndex, std::wstring_view ignoreFilter) {
    std::wstring_view start = kTimeframeStarts[NormalizeTimeframe(timeframeIndex)];
    std::wstring within = start.empty()
                              ? std::wstring(L"FoldersProtocol.UsageCount")
                              : L"(SELECT Count(*) FROM FoldersProtocol AS Visit WHERE Visit.FolderPath = "
                                L"FoldersProtocol.FolderPath AND Visit.FolderName = FoldersProtocol.FolderName AND "
                                L"Visit.DateUsed > " +
                                    std::wstring(start) + L")";
    std::wstring_view filter = Filter(ignoreFilter);
    return L"SELECT FoldersProtocol.FolderPath, FoldersProtocol.FolderName, FoldersProtocol.UsageCount, " + within +
           L" FROM FolderSummary AS FoldersProtocol" + (filter.empty() ? L"" : L" WHERE " + std::wstring(filter)) +
           L" ORDER BY FoldersProtocol.UsageCount DESC;";
}

std::wstring MostUsedTextsSql(int timeframeIndex, std::wstring_view folderPath, std::wstring_view folderName) {
    std::wstring_view start = kTimeframeStarts[NormalizeTimeframe(timeframeIndex)];
    return L"SELECT Visit.FolderPath, Visit.FolderName FROM FoldersProtocol AS Visit WHERE Visit.FolderPath = '" +
           QuoteSql(folderPath) + L"' AND Visit.FolderName = '" + QuoteSql(folderName) + L"'" +
           (start.empty() ? L"" : L" AND Visit.DateUsed > " + std::wstring(start)) +
           L" ORDER BY Visit.DateUsed, Visit.rowid LIMIT 1;";
}

std::wstring MostUsedSql(int timeframeIndex, std::wstring_view ignoreFilter) {
    // An empty clause leaves two blanks before GROUP BY; the text is kept as is.
    return L"SELECT TOP 15 FoldersProtocol.FolderPath, FoldersProtocol.FolderName, "
           L"Count(FoldersProtocol.FolderPath) AS UsageCount From FoldersProtocol " +
           MostUsedWhereClause(timeframeIndex, ignoreFilter) +
           L" GROUP BY FoldersProtocol.FolderPath, FoldersProtocol.FolderName "
           L"ORDER BY Count(FoldersProtocol.FolderPath) DESC;";
}

FolderQuery BuildFolderQuery(FolderView view,
                             std::wstring_view findText,
                             int timeframeIndex,
                             std::wstring_view ignoreFilter) {
    if (view == FolderView::MostUsed)
        return {MostUsedSql(timeframeIndex, ignoreFilter), kFolderListLimit,
                MostUsedSummarySql(timeframeIndex, ignoreFilter), NormalizeTimeframe(timeframeIndex)};
    return {LastUsedSql(findText, ignoreFilter), IsSearchActive(findText) ? kSearchListLimit : kFolderListLimit,
            LastUsedSummarySql(findText, ignoreFilter), 0};
}

}  // namespace pw
