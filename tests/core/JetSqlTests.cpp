#include <gtest/gtest.h>

#include "JetSql.h"

using pw::TranslateJetSql;

TEST(JetSql, DeleteStarLosesItsStarInAnyLetterCase) {
    EXPECT_EQ(
        TranslateJetSql(L"DELETE * From FoldersProtocol WHERE ((FoldersProtocol.DateUsed)<DateAdd('d',-42,Now()))"),
        L"DELETE From FoldersProtocol WHERE ((FoldersProtocol.DateUsed)<DateAdd('d',-42,Now()))");
    EXPECT_EQ(TranslateJetSql(L"DELETE * FROM FoldersProtocol"), L"DELETE FROM FoldersProtocol");
    EXPECT_EQ(TranslateJetSql(L"delete *from X"), L"DELETE from X");
    EXPECT_EQ(TranslateJetSql(L"  DELETE   *   FROM X"), L"  DELETE FROM X");
}

TEST(JetSql, SelectTopBecomesLimitBeforeTheSemicolon) {
    EXPECT_EQ(
        TranslateJetSql(L"SELECT TOP 15 FoldersProtocol.FolderPath, Count(FoldersProtocol.FolderPath) AS UsageCount "
                        L"From FoldersProtocol  GROUP BY FoldersProtocol.FolderPath ORDER BY "
                        L"Count(FoldersProtocol.FolderPath) DESC;"),
        L"SELECT FoldersProtocol.FolderPath, Count(FoldersProtocol.FolderPath) AS UsageCount "
        L"From FoldersProtocol  GROUP BY FoldersProtocol.FolderPath ORDER BY "
        L"Count(FoldersProtocol.FolderPath) DESC LIMIT 15;");
    EXPECT_EQ(TranslateJetSql(L"select top 3 a from t"), L"select a from t LIMIT 3");
}

TEST(JetSql, OtherStatementsAndLiteralsStayUntouched) {
    std::wstring texts[] = {
        L"SELECT FoldersProtocol.FolderPath FROM FoldersProtocol WHERE (FoldersProtocol.FolderPath Like '%DELETE * "
        L"TOP 5%') ORDER BY FoldersProtocol.DateUsed DESC;",
        L"Select Count(FoldersProtocol.FolderName) AS EntriesCount From FoldersProtocol",
        L"SELECT TOPAZ FROM t",
        L"DELETE FROM t",
    };
    for (const auto& text : texts)
        EXPECT_EQ(TranslateJetSql(text), text);
}
