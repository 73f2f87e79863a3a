#include "FolderListQuery.h"

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

// The clause per time frame. "Letzte 2 Stunden" has always reached back three
// hours, so a folder used just before the two-hour mark does not drop out.
constexpr std::array<std::wstring_view, kTimeframeCount> kTimeframeClauses = {
    L"",
    L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('h',-3,Now()))",
    L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-1,Now()))",
    L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-3,Now()))",
    L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-7,Now()))",
    L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-14,Now()))",
    L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-30,Now()))",
};

}  // namespace

const std::array<std::wstring_view, kTimeframeCount> kTimeframeTexts = {
    L"(Alle)",        L"Letzte 2 Stunden", L"Letzte 24 Stunden", L"Letzte 3 Tage",
    L"Letzte 7 Tage", L"Letzte 14 Tage",   L"Letzte 30 Tage",
};

bool IsSearchActive(std::wstring_view findText) {
    return !findText.empty() && findText != kSearchCueText;
}

std::wstring SearchTerm(std::wstring_view findText) {
    return QuoteSql(Trim(findText));
}

int NormalizeTimeframe(int index) {
    return index >= 0 && index < kTimeframeCount ? index : 0;
}

std::wstring_view TimeframeText(int index) {
    return kTimeframeTexts[NormalizeTimeframe(index)];
}

std::wstring MostUsedWhereClause(int timeframeIndex, std::wstring_view ignoreFilter) {
    std::wstring clause(kTimeframeClauses[NormalizeTimeframe(timeframeIndex)]);
    std::wstring_view filter = Filter(ignoreFilter);
    if (filter.empty())
        return clause;
    if (clause.empty())
        return L"WHERE " + std::wstring(filter);
    return clause + L" AND " + std::wstring(filter);
}

std::wstring LastUsedSql(std::wstring_view findText, std::wstring_view ignoreFilter) {
    std::wstring sql(kLastUsedSelect);
    std::wstring_view filter = Filter(ignoreFilter);
    if (IsSearchActive(findText)) {
        std::wstring term = SearchTerm(findText);
        sql += L" WHERE (FoldersProtocol.FolderPath Like '%";
        sql += term;
        sql += L"%' OR FoldersProtocol.FolderName Like '%";
        sql += term;
        sql += L"%')";
        if (!filter.empty()) {
            sql += L" AND ";
            sql += filter;
        }
    } else if (!filter.empty()) {
        sql += L" WHERE ";
        sql += filter;
    }
    sql += kLastUsedOrder;
    return sql;
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
        return {MostUsedSql(timeframeIndex, ignoreFilter), kFolderListLimit};
    return {LastUsedSql(findText, ignoreFilter), IsSearchActive(findText) ? kSearchListLimit : kFolderListLimit};
}

}  // namespace pw
