#include <gtest/gtest.h>

#include "Text.h"

using namespace pw;

TEST(Text, Utf8RoundTripKeepsUmlautsAndAstralCharacters) {
    std::wstring text = L"C:\\Dokumente\\Übersicht – Straße \U0001F4C1";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(L"Ä"), "\xC3\x84");
}

TEST(Text, MalformedUtf8BecomesReplacementCharacter) {
    EXPECT_EQ(FromUtf8("a\xC3"), std::wstring(L"a\uFFFD"));
    EXPECT_EQ(FromUtf8("\xFF"
                       "b"),
              std::wstring(L"\uFFFD"
                           L"b"));
}

TEST(Text, FoldCaseCoversUmlautsAndOtherScripts) {
    EXPECT_EQ(FoldCase(L"C:\\DOKUMENTE\\ÜBERSICHT ÄÖ"), L"c:\\dokumente\\übersicht äö");
    EXPECT_EQ(FoldCase(U'Ÿ'), U'ÿ');
    EXPECT_EQ(FoldCase(U'Ł'), U'ł');
    EXPECT_EQ(FoldCase(U'Ω'), U'ω');
    EXPECT_EQ(FoldCase(U'Ж'), U'ж');
    EXPECT_EQ(FoldCase(U'×'), U'×');  // the multiplication sign is no letter
    EXPECT_EQ(FoldCase(U'ß'), U'ß');
}

TEST(Text, CompareNoCaseOrdersAndEquates) {
    EXPECT_EQ(CompareNoCase(ToUtf8(L"C:\\Dokumente\\Übersicht"), ToUtf8(L"c:\\dokumente\\übersicht")), 0);
    EXPECT_LT(CompareNoCase("abc", "ABD"), 0);
    EXPECT_GT(CompareNoCase("abcd", "ABC"), 0);
    EXPECT_LT(CompareNoCase("", "a"), 0);
    // Broken UTF-8 from a damaged history orders the same either way round,
    // or the indexes it sorts come apart.
    const std::string broken = "\xF3\xAC-\xAC", other = "\xF3\xF3";
    EXPECT_EQ(CompareNoCase(broken, other), -CompareNoCase(other, broken));
    EXPECT_NE(CompareNoCase(broken, other), 0);
    EXPECT_TRUE(EqualsNoCase(L"Ärger", L"äRGER"));
    EXPECT_FALSE(EqualsNoCase(L"Ärger", L"Ärgern"));
}

TEST(Text, LikeMatchesWildcardsWithoutRegardToCase) {
    EXPECT_TRUE(LikeNoCase("%übersicht%", ToUtf8(L"C:\\Dokumente\\Übersicht")));
    EXPECT_TRUE(LikeNoCase("c:\\temp", "C:\\TEMP"));
    EXPECT_FALSE(LikeNoCase("c:\\temp", "C:\\TEMP\\x"));
    EXPECT_TRUE(LikeNoCase("d:\\archiv%", "D:\\Archiv\\2020"));
    EXPECT_FALSE(LikeNoCase("d:\\archiv%", "C:\\D:\\Archiv"));
    EXPECT_TRUE(LikeNoCase("%entwurf%", "x\\Entwurf"));
    EXPECT_TRUE(LikeNoCase("a_c", "abc"));
    EXPECT_FALSE(LikeNoCase("a_c", "ac"));
    EXPECT_TRUE(LikeNoCase("%", ""));
    EXPECT_FALSE(LikeNoCase("_", ""));
    // Backtracking past a partial match.
    EXPECT_TRUE(LikeNoCase("%aab%", "aaaab"));
    EXPECT_TRUE(LikeNoCase("%a%b%c", "xaybzc"));
    // A '%' in the folder's name is text, the pattern's '%' still the wildcard.
    EXPECT_TRUE(LikeNoCase("%", "%2_vers"));
    EXPECT_TRUE(LikeNoCase("c:\\%\\daten", "C:\\%Projekte\\Daten"));
    EXPECT_FALSE(LikeNoCase("%a%b%c", "xaybzcd"));
}

TEST(Text, TrimAndQuote) {
    EXPECT_EQ(TrimRight(L"C:\\Temp   "), L"C:\\Temp");
    EXPECT_EQ(TrimRight(L"   "), L"");
    EXPECT_EQ(Trim(L"  x y  "), L"x y");
    EXPECT_EQ(QuoteSql(L"O'Brien's"), L"O''Brien''s");
    EXPECT_EQ(QuoteSql(L"''"), L"''''");
}

TEST(Text, PlaceholdersTakeTheirValuesInOrderAndValuesStayAsTheyAre) {
    EXPECT_EQ(FillPlaceholders(L"vor [*] Tagen (am [*])", {L"3", L"01.02.2026"}), L"vor 3 Tagen (am 01.02.2026)");
    // A value that looks like a placeholder is not filled in turn.
    EXPECT_EQ(FillPlaceholders(L"'[*]' und [*]", {L"[*]", L"b"}), L"'[*]' und b");
    EXPECT_EQ(FillPlaceholders(L"[*] mal", {}), L"[*] mal");
    EXPECT_EQ(FillPlaceholders(L"ohne", {L"x"}), L"ohne");
}
