#include "JetSql.h"

#include <cwctype>

namespace pw {
namespace {

size_t SkipBlanks(std::wstring_view s, size_t i) {
    while (i < s.size() && std::iswspace(s[i]))
        ++i;
    return i;
}

// Matches a keyword case-insensitively at i, followed by a blank (or '*').
bool KeywordAt(std::wstring_view s, size_t i, std::wstring_view word) {
    if (i + word.size() > s.size())
        return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (static_cast<wchar_t>(std::towupper(s[i + k])) != word[k])
            return false;
    size_t after = i + word.size();
    return after == s.size() || std::iswspace(s[after]) || s[after] == L'*';
}

}  // namespace

std::wstring TranslateJetSql(std::wstring_view jet) {
    size_t start = SkipBlanks(jet, 0);

    if (KeywordAt(jet, start, L"DELETE")) {
        size_t star = SkipBlanks(jet, start + 6);
        if (star < jet.size() && jet[star] == L'*') {
            std::wstring out(jet.substr(0, start));
            out += L"DELETE ";
            out += jet.substr(SkipBlanks(jet, star + 1));
            return out;
        }
        return std::wstring(jet);
    }

    if (KeywordAt(jet, start, L"SELECT")) {
        size_t top = SkipBlanks(jet, start + 6);
        if (!KeywordAt(jet, top, L"TOP"))
            return std::wstring(jet);
        size_t num = SkipBlanks(jet, top + 3);
        size_t numEnd = num;
        while (numEnd < jet.size() && jet[numEnd] >= L'0' && jet[numEnd] <= L'9')
            ++numEnd;
        if (numEnd == num)
            return std::wstring(jet);

        std::wstring out(jet.substr(0, start + 6));
        std::wstring_view rest = jet.substr(numEnd);
        size_t end = rest.size();
        while (end > 0 && std::iswspace(rest[end - 1]))
            --end;
        bool semicolon = end > 0 && rest[end - 1] == L';';
        if (semicolon)
            --end;
        out += rest.substr(0, end);
        out += L" LIMIT ";
        out += jet.substr(num, numEnd - num);
        if (semicolon)
            out += L';';
        return out;
    }
    return std::wstring(jet);
}

}  // namespace pw
