#include "Text.h"

#include <vector>

namespace pw {
namespace {

// Decodes one code point at s[i], advancing i; malformed bytes come back as
// U+FFFD so that broken text still compares deterministically.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
    unsigned char c = static_cast<unsigned char>(s[i++]);
    if (c < 0x80)
        return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0)
        return 0xFFFD;
    char32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Reads one code point from wide text, joining UTF-16 surrogate pairs.
char32_t DecodeWide(std::wstring_view s, size_t& i) {
    char32_t c = static_cast<char32_t>(s[i++]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i < s.size()) {
        char32_t low = static_cast<char32_t>(s[i]);
        if (low >= 0xDC00 && low < 0xE000) {
            ++i;
            return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return c;
}

void DecodeFolded(std::string_view s, std::u32string& out) {
    out.clear();
    for (size_t i = 0; i < s.size();)
        out += FoldCase(DecodeUtf8(s, i));
}

}  // namespace

void AppendWide(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        AppendUtf8(out, DecodeWide(text, i));
    return out;
}

std::wstring FromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        AppendWide(out, DecodeUtf8(text, i));
    return out;
}

char32_t FoldCase(char32_t c) {
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130)
            return 'i';
        if (c == 0x178)
            return 0xFF;
        bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        bool evenUpper = (c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177);
        if (oddUpper && (c & 1))
            return c + 1;
        if (evenUpper && !(c & 1))
            return c + 1;
        return c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return c + 32;
    if (c == 0x386)
        return 0x3AC;
    if (c >= 0x388 && c <= 0x38A)
        return c + 37;
    if (c == 0x38C)
        return 0x3CC;
    if (c == 0x38E || c == 0x38F)
        return c + 63;
    if (c >= 0x410 && c <= 0x42F)
        return c + 32;
    if (c >= 0x400 && c <= 0x40F)
        return c + 80;
    if (c == 0x1E9E)
        return 0xDF;
    return c;
}

std::wstring FoldCase(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
        AppendWide(out, FoldCase(DecodeWide(text, i)));
    return out;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    // Equal bytes fold equally: skip the common prefix (in a GROUP BY most
    // comparisons are between rows of the same folder), backing up to the
    // first byte of the character where the texts part. Broken text may
    // have a continuation byte there in one of them only: both are looked
    // at, or a and b would compare differently from b and a.
    size_t same = 0, n = a.size() < b.size() ? a.size() : b.size();
    while (same < n && a[same] == b[same])
        ++same;
    auto continues = [&same](std::string_view s) {
        return same < s.size() && (static_cast<unsigned char>(s[same]) & 0xC0) == 0x80;
    };
    while (same > 0 && (continues(a) || continues(b)))
        --same;
    size_t i = same, j = same;
    while (i < a.size() && j < b.size()) {
        char32_t ca = FoldCase(DecodeUtf8(a, i));
        char32_t cb = FoldCase(DecodeUtf8(b, j));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (FoldCase(DecodeWide(a, i)) != FoldCase(DecodeWide(b, j)))
            return false;
    }
    return i == a.size() && j == b.size();
}

bool LikeFolded(std::u32string_view p, std::u32string_view t) {
    // "%term%" without further wildcards, what the search sends: a plain
    // substring search.
    if (p.size() >= 2 && p.front() == U'%' && p.back() == U'%') {
        std::u32string_view inner = p.substr(1, p.size() - 2);
        if (inner.find_first_of(U"%_") == std::u32string_view::npos)
            return t.find(inner) != std::u32string_view::npos;
    }
    // Greedy match with backtracking to the last '%': linear for the
    // "%term%" patterns the search uses.
    size_t pi = 0, ti = 0, starP = std::u32string_view::npos, starT = 0;
    while (ti < t.size()) {
        // The pattern's '%' is always the wildcard, also where the text has
        // a '%' of its own ("\\Server\\50%").
        if (pi < p.size() && p[pi] == U'%') {
            starP = pi++;
            starT = ti;
        } else if (pi < p.size() && (p[pi] == U'_' || p[pi] == t[ti])) {
            ++pi;
            ++ti;
        } else if (starP != std::u32string_view::npos) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == U'%')
        ++pi;
    return pi == p.size();
}

bool LikeNoCase(std::string_view pattern, std::string_view text) {
    std::u32string p, t;
    DecodeFolded(pattern, p);
    DecodeFolded(text, t);
    return LikeFolded(p, t);
}

void FoldUtf8(std::string_view text, std::u32string& out) {
    DecodeFolded(text, out);
}

std::u32string FoldUtf8(std::string_view text) {
    std::u32string out;
    DecodeFolded(text, out);
    return out;
}

std::wstring TrimRight(std::wstring_view text, wchar_t blank) {
    size_t end = text.size();
    while (end > 0 && text[end - 1] == blank)
        --end;
    return std::wstring(text.substr(0, end));
}

std::wstring Trim(std::wstring_view text) {
    size_t begin = 0;
    while (begin < text.size() && text[begin] == L' ')
        ++begin;
    return TrimRight(text.substr(begin));
}

std::wstring QuoteSql(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size() + 4);
    for (wchar_t c : text) {
        out += c;
        if (c == L'\'')
            out += L'\'';
    }
    return out;
}

std::wstring FillPlaceholders(std::wstring_view text, std::initializer_list<std::wstring_view> values) {
    constexpr std::wstring_view kPlaceholder = L"[*]";
    std::wstring out;
    out.reserve(text.size());
    auto value = values.begin();
    size_t from = 0;
    for (size_t at = text.find(kPlaceholder); at != std::wstring_view::npos && value != values.end();
         at = text.find(kPlaceholder, from)) {
        out.append(text.substr(from, at - from));
        out.append(*value++);
        from = at + kPlaceholder.size();
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace pw
