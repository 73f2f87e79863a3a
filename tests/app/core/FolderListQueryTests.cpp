#include <gtest/gtest.h>

#include "FolderListQuery.h"

using namespace pw;

namespace {

const std::wstring kLastUsed =
    L"SELECT FoldersProtocol.FolderPath, FoldersProtocol.FolderName, FoldersProtocol.DateUsed FROM FoldersProtocol";
const std::wstring kNewestFirst = L" ORDER BY FoldersProtocol.DateUsed DESC;";
const std::wstring kMostUsedHead =
    L"SELECT TOP 15 FoldersProtocol.FolderPath, FoldersProtocol.FolderName, Count(FoldersProtocol.FolderPath) AS "
    L"UsageCount From FoldersProtocol ";
const std::wstring kMostUsedTail =
    L" GROUP BY FoldersProtocol.FolderPath, FoldersProtocol.FolderName ORDER BY Count(FoldersProtocol.FolderPath) "
    L"DESC;";
const std::wstring kFilter =
    L"(FoldersProtocol.FolderPath <> 'c:\\temp' AND FoldersProtocol.FolderPath Not Like "
    L"'d:\\archiv%')";

}  // namespace

TEST(FolderListSearch, ActiveUnlessEmpty) {
    EXPECT_FALSE(IsSearchActive(L""));
    EXPECT_TRUE(IsSearchActive(L"   "));
    EXPECT_TRUE(IsSearchActive(L"proj"));
}

TEST(FolderListSearch, TermIsTrimmedAndEveryQuoteDoubled) {
    EXPECT_EQ(SearchTerm(L"  daten  "), L"daten");
    EXPECT_EQ(SearchTerm(L"   "), L"");
    EXPECT_EQ(SearchTerm(L" o'brien's "), L"o''brien''s");
    EXPECT_EQ(SearchTerm(L"'"), L"''");
    EXPECT_EQ(SearchTerm(L"50%_x"), L"50%_x");  // wildcards stay
    EXPECT_EQ(SearchTerm(L"a b"), L"a b");
}

TEST(FolderListSql, LastUsedWithoutSearch) {
    EXPECT_EQ(LastUsedSql(L"", L""), kLastUsed + kNewestFirst);
    EXPECT_EQ(LastUsedSql(L"", kFilter), kLastUsed + L" WHERE " + kFilter + kNewestFirst);
}

TEST(FolderListSql, LastUsedWithSearch) {
    const std::wstring like =
        L" WHERE (FoldersProtocol.FolderPath Like '%o''neil%' OR FoldersProtocol.FolderName Like '%o''neil%')";
    EXPECT_EQ(LastUsedSql(L" o'neil ", L""), kLastUsed + like + kNewestFirst);
    EXPECT_EQ(LastUsedSql(L" o'neil ", kFilter), kLastUsed + like + L" AND " + kFilter + kNewestFirst);
    // Blanks only: every folder matches.
    EXPECT_EQ(LastUsedSql(L"  ", L""),
              kLastUsed + L" WHERE (FoldersProtocol.FolderPath Like '%%' OR FoldersProtocol.FolderName Like '%%')" +
                  kNewestFirst);
}

TEST(FolderListSql, SearchTextCannotEndTheQuotedPattern) {
    std::wstring sql = LastUsedSql(L"x' OR 1=1 OR FolderPath Like '", L"");
    EXPECT_NE(sql.find(L"Like '%x'' OR 1=1 OR FolderPath Like ''%'"), std::wstring::npos) << sql;
    // Outside the patterns there are exactly the four quotes around them.
    size_t quotes = 0;
    bool inside = false;
    for (size_t i = 0; i < sql.size(); ++i) {
        if (sql[i] != L'\'')
            continue;
        if (inside && i + 1 < sql.size() && sql[i + 1] == L'\'') {
            ++i;
            continue;
        }
        inside = !inside;
        ++quotes;
    }
    EXPECT_EQ(quotes, 4u);
    EXPECT_FALSE(inside);
}

TEST(FolderListSql, MostUsedAllHasTwoBlanksBeforeGroupBy) {
    EXPECT_EQ(MostUsedSql(0, L""), kMostUsedHead + L"" + kMostUsedTail);
    EXPECT_NE(MostUsedSql(0, L"").find(L"From FoldersProtocol  GROUP BY"), std::wstring::npos);
    EXPECT_EQ(MostUsedSql(0, kFilter), kMostUsedHead + L"WHERE " + kFilter + kMostUsedTail);
}

TEST(FolderListSql, MostUsedEveryTimeFrameWithAndWithoutFilter) {
    const wchar_t* clauses[] = {
        L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('h',-3,Now()))",
        L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-1,Now()))",
        L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-3,Now()))",
        L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-7,Now()))",
        L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-14,Now()))",
        L"WHERE ((FoldersProtocol.DateUsed)>DateAdd('d',-30,Now()))",
    };
    for (int index = 1; index <= 6; ++index) {
        SCOPED_TRACE(index);
        std::wstring clause = clauses[index - 1];
        EXPECT_EQ(MostUsedWhereClause(index, L""), clause);
        EXPECT_EQ(MostUsedSql(index, L""), kMostUsedHead + clause + kMostUsedTail);
        EXPECT_EQ(MostUsedSql(index, kFilter), kMostUsedHead + clause + L" AND " + kFilter + kMostUsedTail);
    }
}

TEST(FolderListSql, DamagedTimeFrameAndEmptyFilterFallBack) {
    EXPECT_EQ(MostUsedSql(-1, L""), MostUsedSql(0, L""));
    EXPECT_EQ(MostUsedSql(7, L""), MostUsedSql(0, L""));
    // A filter without any condition would break every query.
    EXPECT_EQ(LastUsedSql(L"", L"()"), kLastUsed + kNewestFirst);
    EXPECT_EQ(MostUsedSql(3, L" () "), MostUsedSql(3, L""));
    EXPECT_EQ(LastUsedSql(L"", L"   "), kLastUsed + kNewestFirst);
    // Nor does anything beyond the filter's own shape reach a query.
    EXPECT_EQ(LastUsedSql(L"", kFilter + L" OR 1=1"), kLastUsed + kNewestFirst);
    EXPECT_EQ(MostUsedSql(0, L"(1=1); DELETE FROM FoldersProtocol"), MostUsedSql(0, L""));
}

TEST(FolderListSql, QueryAndLimitPerView) {
    FolderQuery plain = BuildFolderQuery(FolderView::LastUsed, L"", 4, L"");
    EXPECT_EQ(plain.sql, kLastUsed + kNewestFirst);  // the time frame is not for this list
    EXPECT_EQ(plain.limit, 14);

    FolderQuery search = BuildFolderQuery(FolderView::LastUsed, L"proj", 4, kFilter);
    EXPECT_EQ(search.sql, LastUsedSql(L"proj", kFilter));
    EXPECT_EQ(search.limit, 150);

    FolderQuery most = BuildFolderQuery(FolderView::MostUsed, L"proj", 4, kFilter);  // no search here
    EXPECT_EQ(most.sql, MostUsedSql(4, kFilter));
    EXPECT_EQ(most.limit, 14);
}
