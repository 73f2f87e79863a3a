#include <gtest/gtest.h>

#include "FolderListQuery.h"
#include "Text.h"

using namespace pw;

namespace {

const std::wstring kFilter =
    L"(FoldersProtocol.FolderPath <> 'c:\\temp' AND FoldersProtocol.FolderPath Not Like "
    L"'d:\\archiv%')";

}  // namespace

TEST(FolderListSearch, ActiveUnlessEmpty) {
    EXPECT_FALSE(IsSearchActive(L""));
    EXPECT_TRUE(IsSearchActive(L"   "));
    EXPECT_TRUE(IsSearchActive(L"proj"));
}

TEST(FolderListQuery, SearchAndItsLimitForTheLastUsedListTimeFrameForTheMostUsed) {
    FolderQuery plain = BuildFolderQuery(FolderView::LastUsed, L"", 4, L"");
    EXPECT_EQ(plain.searchText, L"");
    EXPECT_EQ(plain.timeframe, 0);  // the time frame is not for this list
    EXPECT_EQ(plain.limit, 14);

    FolderQuery search = BuildFolderQuery(FolderView::LastUsed, L" proj ", 4, kFilter);
    EXPECT_EQ(search.searchText, L" proj ");
    EXPECT_EQ(search.ignoreFilter, kFilter);
    EXPECT_EQ(search.limit, 150);

    FolderQuery most = BuildFolderQuery(FolderView::MostUsed, L"proj", 4, kFilter);  // no search here
    EXPECT_EQ(most.searchText, L"");
    EXPECT_EQ(most.timeframe, 4);
    EXPECT_EQ(most.ignoreFilter, kFilter);
    EXPECT_EQ(most.limit, 14);
}

TEST(FolderListQuery, DamagedTimeFrameAndFilterFallBackToNone) {
    EXPECT_EQ(BuildFolderQuery(FolderView::MostUsed, L"", -1, L"").timeframe, 0);
    EXPECT_EQ(BuildFolderQuery(FolderView::MostUsed, L"", 7, L"").timeframe, 0);
    // A filter without any condition would break every query, and nothing
    // beyond the filter's own shape may reach one.
    for (const std::wstring& filter : {std::wstring(L"()"), std::wstring(L" () "), std::wstring(L"   "),
                                       kFilter + L" OR 1=1", std::wstring(L"(1=1); DELETE FROM FoldersProtocol")}) {
        EXPECT_EQ(BuildFolderQuery(FolderView::LastUsed, L"", 0, filter).ignoreFilter, L"") << ToUtf8(filter);
        EXPECT_EQ(BuildFolderQuery(FolderView::MostUsed, L"", 3, filter).ignoreFilter, L"") << ToUtf8(filter);
    }
}
