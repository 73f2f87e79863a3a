#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormatPlaceholders.h"

namespace pw {
namespace {

// Texts as they are; pictures come back as "<picture|value>" so a test sees
// which value met which picture. "bad" is a picture nothing can format.
class TestFormatter : public PlaceholderFormatter {
  public:
    std::wstring Text(const PlaceholderValue& value) const override {
        if (const auto* text = std::get_if<std::wstring>(&value))
            return *text;
        if (const auto* whole = std::get_if<std::int64_t>(&value))
            return std::to_wstring(*whole);
        return L"?";
    }
    std::optional<std::wstring> Picture(const PlaceholderValue& value, std::wstring_view picture) const override {
        if (picture == L"bad")
            return std::nullopt;
        return L"<" + std::wstring(picture) + L"|" + Text(value) + L">";
    }
};

FormatResult Format(std::wstring_view format, std::vector<PlaceholderValue> values = {}) {
    return FormatPlaceholders(format, values, TestFormatter());
}

std::wstring Filled(std::wstring_view format, std::vector<PlaceholderValue> values = {}) {
    FormatResult result = Format(format, std::move(values));
    EXPECT_TRUE(result.Ok()) << (result.error
                                     ? std::string(result.error->description.begin(), result.error->description.end())
                                     : std::string());
    return result.text;
}

TEST(FormatPlaceholders, UpToDateNoticeGetsTheVersionAndALineBreak) {
    EXPECT_EQ(L"Sie verwenden Version 1.1.0045 von Pfadwerk.\r\nDies ist die zur Zeit aktuelle Version.",
              Filled(L"Sie verwenden Version [*] von Pfadwerk.\\nDies ist die zur Zeit aktuelle Version.",
                     {std::wstring(L"1.1.0045")}));
}

TEST(FormatPlaceholders, ValuesGoInOrderAndAMissingOneIsAnError) {
    EXPECT_EQ(L"a und b", Filled(L"[*] und [*]", {std::wstring(L"a"), std::wstring(L"b")}));

    FormatResult missing = Format(L"[*] und [*]", {std::wstring(L"a")});
    ASSERT_FALSE(missing.Ok());
    EXPECT_EQ(L"printf", missing.error->source);
    EXPECT_EQ(L"Missing value in printf-call for format string '[*]'!", missing.error->description);
    EXPECT_EQ(L"", missing.text);

    FormatResult picture = Format(L"[0000]");
    ASSERT_FALSE(picture.Ok());
    EXPECT_EQ(L"Missing value in printf-call for format string '[0000]'!", picture.error->description);
}

TEST(FormatPlaceholders, EscapesAndLiteralBrackets) {
    // An escaped bracket uses no value: the first value still goes to the
    // placeholder after it.
    EXPECT_EQ(L"[*] = x", Filled(L"\\[*] = [*]", {std::wstring(L"x")}));
    // The doubled backslash is read first, so \\n stays backslash and n.
    EXPECT_EQ(L"C:\\new", Filled(L"C:\\\\new"));
    EXPECT_EQ(L"a\tb\rc\r\nd", Filled(L"a\\tb\\rc\\nd"));
    EXPECT_EQ(L"[\\[", Filled(L"[(][\\][(]"));
}

TEST(FormatPlaceholders, InsertedValuesAreNeverScannedAgain) {
    EXPECT_EQ(L"[*] and [0000]", Filled(L"[*] and [*]", {std::wstring(L"[*]"), std::wstring(L"[0000]")}));
    EXPECT_EQ(L"x[y", Filled(L"[*]", {std::wstring(L"x[y")}));
}

TEST(FormatPlaceholders, PicturesGetTheirValue) {
    EXPECT_EQ(L"Build <0000|45> vom <dd.mm.yyyy|x>",
              Filled(L"Build [0000] vom [dd.mm.yyyy]", {std::int64_t{45}, std::wstring(L"x")}));
    FormatResult bad = Format(L"[bad]", {std::int64_t{1}});
    ASSERT_FALSE(bad.Ok());
    EXPECT_EQ(L"", bad.text);
}

TEST(FormatPlaceholders, IndexPrefixPicksAValueWithoutMovingOn) {
    std::vector<PlaceholderValue> ab{std::wstring(L"A"), std::wstring(L"B")};
    EXPECT_EQ(L"B A A B", Filled(L"[2:*] [*] [1:*] [*]", ab));
    // Beyond the last value it takes the last one.
    EXPECT_EQ(L"B", Filled(L"[9:*]", ab));
    // A placeholder right after a prefixed one is filled as well.
    EXPECT_EQ(L"BA", Filled(L"[2:*][*]", ab));
    // An empty placeholder uses a value up.
    EXPECT_EQ(L"-B", Filled(L"-[][*]", ab));
}

TEST(FormatPlaceholders, MalformedPlaceholdersAreErrors) {
    FormatResult open = Format(L"ab[cd");
    ASSERT_FALSE(open.Ok());
    EXPECT_EQ(L"printf", open.error->source);
    EXPECT_EQ(L"Missing ']' after '[' at position 3!", open.error->description);

    // Positions count in the text as filled so far.
    FormatResult late = Format(L"[*] [y", {std::wstring(L"long")});
    ASSERT_FALSE(late.Ok());
    EXPECT_EQ(L"Missing ']' after '[' at position 6!", late.error->description);

    FormatResult script = Format(L"[=1+1]", {std::int64_t{1}});
    ASSERT_FALSE(script.Ok());
    EXPECT_EQ(L"sprintf", script.error->source);
    EXPECT_EQ(L"No script code allowed in placeholder string. Use the sprintf COM-component instead.",
              script.error->description);

    FormatResult noValues = Format(L"[1:*]");
    ASSERT_FALSE(noValues.Ok());
    EXPECT_EQ(L"Missing value in printf-call for format string '[*]'!", noValues.error->description);
}

TEST(ReplaceText, StartCountAndCompareMode) {
    EXPECT_EQ(L"x x ABC", ReplaceText(L"Abc abc ABC", L"abc", L"x", 1, 2, kCompareText));
    EXPECT_EQ(L"Abc x ABC", ReplaceText(L"Abc abc ABC", L"abc", L"x"));
    EXPECT_EQ(L"Ö, Ö und Ärger", ReplaceText(L"ÄRGER, ärger und Ärger", L"ärger", L"Ö", 1, 2, kCompareText));
    EXPECT_EQ(L"aXa-a-", ReplaceText(L"aXaXaX", L"X", L"-", 3));
    EXPECT_EQ(L"aXaX", ReplaceText(L"aXaX", L"X", L"-", 5));
    EXPECT_EQ(L"aXaX", ReplaceText(L"aXaX", L"", L"-"));
    EXPECT_EQ(L"aXaX", ReplaceText(L"aXaX", L"X", L"-", 1, 0));
    EXPECT_EQ(L"a-a-", ReplaceText(L"aXaX", L"X", L"-", 1, -1));
    // Occurrences do not overlap, and the replacement is not searched again.
    EXPECT_EQ(L"ba", ReplaceText(L"aaa", L"aa", L"b"));
    EXPECT_EQ(L"aaaa", ReplaceText(L"aa", L"a", L"aa"));
}

TEST(ReplaceText, ManyOccurrencesInALongText) {
    std::wstring text, expected;
    for (int i = 0; i < 20000; ++i) {
        text += L"ab\\n";
        expected += L"ab\r\n";
    }
    EXPECT_EQ(expected, ReplaceText(text, L"\\n", L"\r\n"));
    EXPECT_EQ(std::wstring(20000, L'b'), ReplaceText(ReplaceText(text, L"\\n", L""), L"a", L""));
}

}  // namespace
}  // namespace pw
