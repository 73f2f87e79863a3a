// Text conversions shared by both programs. No Windows header: wchar_t is
// UTF-16 on Windows and UTF-32 elsewhere, and both are handled.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace pw {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
// Appends one code point, as a surrogate pair where wchar_t is 16 bits wide.
void AppendWide(std::wstring& out, char32_t cp);

// Case folding as the history's text comparison sees it: every letter of the
// Latin, Greek and Cyrillic scripts, umlauts included, folds to lower case.
char32_t FoldCase(char32_t c);
std::wstring FoldCase(std::wstring_view text);

// Compares like the history's text columns do (case-insensitive, ordinal
// otherwise): <0, 0, >0.
int CompareNoCase(std::string_view utf8a, std::string_view utf8b);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

// SQL "Like" with % and _ wildcards, case-insensitive; both texts UTF-8.
bool LikeNoCase(std::string_view pattern, std::string_view text);

std::wstring TrimRight(std::wstring_view text, wchar_t blank = L' ');
std::wstring Trim(std::wstring_view text);
// Doubles every single quote so the text can stand between quotes in SQL.
std::wstring QuoteSql(std::wstring_view text);

// A text of the string table with its values: each "[*]" takes the next
// value, in order; an inserted value is never read for placeholders again.
// A "[*]" without a value is left as it is.
std::wstring FillPlaceholders(std::wstring_view text, std::initializer_list<std::wstring_view> values);

}  // namespace pw

namespace pw {
// Pieces of the Like matcher, for callers that fold a pattern once and test
// it against many texts.
std::u32string FoldUtf8(std::string_view text);
// Same, into a buffer the caller keeps (no allocation per row).
void FoldUtf8(std::string_view text, std::u32string& out);
bool LikeFolded(std::u32string_view foldedPattern, std::u32string_view foldedText);
}  // namespace pw
