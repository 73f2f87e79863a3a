#include "XmlReader.h"

#include <algorithm>
#include <cstdint>

#include "Text.h"

namespace pw {
namespace {

// Nesting beyond this is no version file; it would only cost memory.
constexpr size_t kMaxDepth = 64;

std::optional<std::wstring> DecodeUtf8(std::string_view s) {
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i++]);
        if (c < 0x80) {
            out += static_cast<wchar_t>(c);
            continue;
        }
        int extra = c >= 0xF0 && c < 0xF5 ? 3 : c >= 0xE0 ? (c < 0xF0 ? 2 : -1) : c >= 0xC2 ? 1 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) > s.size())
            return std::nullopt;
        char32_t cp = c & (0x3F >> extra);
        for (int k = 0; k < extra; ++k) {
            auto next = static_cast<unsigned char>(s[i++]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp < 0xE000))
            return std::nullopt;
        AppendWide(out, cp);
    }
    return out;
}

std::optional<std::wstring> DecodeUtf16(std::string_view s, bool bigEndian) {
    if (s.size() % 2)
        return std::nullopt;
    std::wstring out;
    out.reserve(s.size() / 2);
    auto unit = [&](size_t i) {
        auto a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
        return static_cast<char32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (size_t i = 0; i < s.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00) {
            if (i + 3 >= s.size())
                return std::nullopt;
            char32_t low = unit(i + 2);
            if (low < 0xDC00 || low >= 0xE000)
                return std::nullopt;
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (cp >= 0xDC00 && cp < 0xE000) {
            return std::nullopt;
        }
        AppendWide(out, cp);
    }
    return out;
}

std::wstring DecodeSingleByte(std::string_view s, bool windows1252) {
    // Windows-1252 puts printable characters where Latin-1 has controls.
    static const char16_t k1252[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                       0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    std::wstring out;
    out.reserve(s.size());
    for (char ch : s) {
        auto c = static_cast<unsigned char>(ch);
        out += static_cast<wchar_t>(windows1252 && c >= 0x80 && c < 0xA0 ? k1252[c - 0x80] : c);
    }
    return out;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    return out;
}

// The encoding named in an XML declaration at the start of 8-bit text;
// "utf-8" without one.
std::string DeclaredEncoding(std::string_view s) {
    if (s.substr(0, 5) != "<?xml")
        return "utf-8";
    std::string_view declaration = s.substr(0, s.find("?>"));
    size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return "utf-8";
    size_t quote = declaration.find_first_of("\"'", at);
    if (quote == std::string_view::npos)
        return "";
    size_t end = declaration.find(declaration[quote], quote + 1);
    if (end == std::string_view::npos)
        return "";
    return Lower(declaration.substr(quote + 1, end - quote - 1));
}

std::optional<std::wstring> Decode(std::string_view bytes) {
    auto starts = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
    if (starts("\xEF\xBB\xBF"))
        return DecodeUtf8(bytes.substr(3));
    if (starts("\xFF\xFE"))
        return DecodeUtf16(bytes.substr(2), false);
    if (starts("\xFE\xFF"))
        return DecodeUtf16(bytes.substr(2), true);
    if (starts(std::string_view("<\0", 2)))
        return DecodeUtf16(bytes, false);
    if (starts(std::string_view("\0<", 2)))
        return DecodeUtf16(bytes, true);
    std::string encoding = DeclaredEncoding(bytes);
    if (encoding == "utf-8" || encoding == "utf8")
        return DecodeUtf8(bytes);
    if (encoding == "iso-8859-1" || encoding == "latin1" || encoding == "us-ascii" || encoding == "ascii")
        return DecodeSingleByte(bytes, false);
    if (encoding == "windows-1252" || encoding == "cp1252")
        return DecodeSingleByte(bytes, true);
    return std::nullopt;
}

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

bool IsNameStart(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'_' || c == L':' || c >= 0x80;
}

bool IsNameChar(wchar_t c) {
    return IsNameStart(c) || (c >= L'0' && c <= L'9') || c == L'-' || c == L'.';
}

}  // namespace

class XmlParser {
  public:
    XmlParser(std::wstring_view text, XmlDocument& document) : s_(text), doc_(document) {}

    bool Run() {
        if (!SkipMisc(true))
            return false;
        if (!At(L"<") || !ParseContent())
            return false;
        return SkipMisc(false) && pos_ == s_.size();
    }

  private:
    bool At(std::wstring_view what) const { return s_.substr(pos_, what.size()) == what; }

    void SkipBlanks() {
        while (pos_ < s_.size() && IsBlank(s_[pos_]))
            ++pos_;
    }

    // Moves past the next occurrence of terminator; false when there is none.
    bool SkipPast(std::wstring_view terminator) {
        size_t at = s_.find(terminator, pos_);
        if (at == std::wstring_view::npos)
            return false;
        pos_ = at + terminator.size();
        return true;
    }

    // Blanks, comments and processing instructions around the root element;
    // in front of it also the declaration and a document type.
    bool SkipMisc(bool prolog) {
        for (;;) {
            SkipBlanks();
            if (At(L"<!--")) {
                if (!SkipPast(L"-->"))
                    return false;
            } else if (At(L"<?")) {
                if (!SkipPast(L"?>"))
                    return false;
            } else if (prolog && At(L"<!DOCTYPE")) {
                if (!SkipDocumentType())
                    return false;
            } else {
                return true;
            }
        }
    }

    bool SkipDocumentType() {
        int brackets = 0;
        for (pos_ += 9; pos_ < s_.size(); ++pos_) {
            wchar_t c = s_[pos_];
            if (c == L'[')
                ++brackets;
            else if (c == L']')
                --brackets;
            else if (c == L'>' && brackets == 0) {
                ++pos_;
                return true;
            }
        }
        return false;
    }

    bool ParseName(std::wstring& name) {
        size_t start = pos_;
        if (pos_ >= s_.size() || !IsNameStart(s_[pos_]))
            return false;
        while (pos_ < s_.size() && IsNameChar(s_[pos_]))
            ++pos_;
        name.assign(s_.substr(start, pos_ - start));
        return true;
    }

    // Text up to the next "<" (or the closing quote of a value), with its
    // references resolved.
    bool ParseCharacters(wchar_t stop, std::wstring& out) {
        while (pos_ < s_.size() && s_[pos_] != stop) {
            wchar_t c = s_[pos_];
            if (c == L'<')
                return false;
            if (c != L'&') {
                out += c;
                ++pos_;
                continue;
            }
            size_t semicolon = s_.find(L';', pos_);
            if (semicolon == std::wstring_view::npos || semicolon - pos_ > 12)
                return false;
            std::wstring_view name = s_.substr(pos_ + 1, semicolon - pos_ - 1);
            pos_ = semicolon + 1;
            if (name == L"lt")
                out += L'<';
            else if (name == L"gt")
                out += L'>';
            else if (name == L"amp")
                out += L'&';
            else if (name == L"quot")
                out += L'"';
            else if (name == L"apos")
                out += L'\'';
            else if (!AppendCharacterReference(name, out))
                return false;
        }
        return true;
    }

    static bool AppendCharacterReference(std::wstring_view name, std::wstring& out) {
        if (name.size() < 2 || name[0] != L'#')
            return false;
        bool hex = name[1] == L'x';
        std::wstring_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty())
            return false;
        std::uint32_t cp = 0;
        for (wchar_t c : digits) {
            int digit = c >= L'0' && c <= L'9'          ? c - L'0'
                        : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10
                        : hex && c >= L'A' && c <= L'F' ? c - L'A' + 10
                                                        : -1;
            if (digit < 0)
                return false;
            cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
            if (cp > 0x10FFFF)
                return false;
        }
        if (cp == 0 || (cp >= 0xD800 && cp < 0xE000))
            return false;
        AppendWide(out, static_cast<char32_t>(cp));
        return true;
    }

    bool ParseStartTag(std::vector<int>& open) {
        ++pos_;  // "<"
        XmlDocument::Element element;
        if (!ParseName(element.name))
            return false;
        for (;;) {
            bool blank = pos_ < s_.size() && IsBlank(s_[pos_]);
            SkipBlanks();
            if (At(L"/>") || At(L">"))
                break;
            std::wstring attribute, value;
            if (!blank || !ParseName(attribute))
                return false;
            SkipBlanks();
            if (!At(L"="))
                return false;
            ++pos_;
            SkipBlanks();
            if (pos_ >= s_.size() || (s_[pos_] != L'"' && s_[pos_] != L'\''))
                return false;
            wchar_t quote = s_[pos_++];
            if (!ParseCharacters(quote, value) || pos_ >= s_.size())
                return false;
            ++pos_;
        }
        bool empty = At(L"/>");
        pos_ += empty ? 2 : 1;
        int index = static_cast<int>(doc_.elements_.size());
        doc_.elements_.push_back(std::move(element));
        if (empty) {
            doc_.elements_[index].end = index + 1;
        } else {
            if (open.size() >= kMaxDepth)
                return false;
            open.push_back(index);
        }
        return true;
    }

    bool ParseEndTag(std::vector<int>& open) {
        pos_ += 2;  // "</"
        std::wstring name;
        if (!ParseName(name))
            return false;
        SkipBlanks();
        if (!At(L">") || open.empty() || doc_.elements_[open.back()].name != name)
            return false;
        ++pos_;
        doc_.elements_[open.back()].end = static_cast<int>(doc_.elements_.size());
        open.pop_back();
        return true;
    }

    void AddText(const std::vector<int>& open, std::wstring_view text) {
        for (int index : open)
            doc_.elements_[index].text += text;
    }

    // The root element and everything in it.
    bool ParseContent() {
        std::vector<int> open;
        do {
            if (At(L"</")) {
                if (!ParseEndTag(open))
                    return false;
            } else if (At(L"<!--")) {
                if (!SkipPast(L"-->"))
                    return false;
            } else if (At(L"<![CDATA[")) {
                pos_ += 9;
                size_t end = s_.find(L"]]>", pos_);
                if (end == std::wstring_view::npos)
                    return false;
                AddText(open, s_.substr(pos_, end - pos_));
                pos_ = end + 3;
            } else if (At(L"<?")) {
                if (!SkipPast(L"?>"))
                    return false;
            } else if (At(L"<!")) {
                return false;
            } else if (At(L"<")) {
                if (!ParseStartTag(open))
                    return false;
            } else {
                std::wstring text;
                if (!ParseCharacters(L'<', text) || pos_ >= s_.size())
                    return false;
                AddText(open, text);
            }
        } while (!open.empty());
        return true;
    }

    std::wstring_view s_;
    size_t pos_ = 0;
    XmlDocument& doc_;
};

std::optional<XmlDocument> XmlDocument::Parse(std::string_view bytes) {
    if (bytes.size() > kMaxBytes)
        return std::nullopt;
    std::optional<std::wstring> text = Decode(bytes);
    if (!text)
        return std::nullopt;
    XmlDocument document;
    if (!XmlParser(*text, document).Run() || document.elements_.empty())
        return std::nullopt;
    return document;
}

int XmlDocument::FirstElement(int parent, std::wstring_view name) const {
    size_t from = 0, to = elements_.size();
    if (parent != kDocument) {
        if (parent < 0 || static_cast<size_t>(parent) >= elements_.size())
            return -1;
        from = static_cast<size_t>(parent) + 1;
        to = static_cast<size_t>(elements_[parent].end);
    }
    for (size_t i = from; i < to; ++i) {
        if (elements_[i].name == name)
            return static_cast<int>(i);
    }
    return -1;
}

std::wstring XmlDocument::Text(int element) const {
    if (element < 0 || static_cast<size_t>(element) >= elements_.size())
        return {};
    const std::wstring& text = elements_[element].text;
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

}  // namespace pw
