// Texts with placeholders filled with outside values (paths, error texts,
// a version file's numbers), which may themselves hold "[*]" and "\n".
#include <vector>

#include "FormatPlaceholders.h"
#include "FuzzInput.h"
#include "Text.h"

using namespace pw;

namespace {

size_t Count(std::wstring_view text, std::wstring_view part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::wstring_view::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// Values as they are; a picture puts the value between the picture's
// brackets, so that inserted text holds brackets too.
class EchoFormatter : public PlaceholderFormatter {
  public:
    std::wstring Text(const PlaceholderValue& value) const override {
        if (const auto* text = std::get_if<std::wstring>(&value))
            return *text;
        return L"0";
    }
    std::optional<std::wstring> Picture(const PlaceholderValue& value, std::wstring_view picture) const override {
        if (picture.size() > 8)
            return std::nullopt;
        return L"[" + std::wstring(picture) + L"]" + Text(value);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto pieces = pwfuzz::Pieces(data, size, 3);
    std::wstring text = pwfuzz::Utf16Units(pieces[0]);
    std::wstring a = pieces.size() > 1 ? pwfuzz::Utf16Units(pieces[1]) : L"";
    std::wstring b = pieces.size() > 2 ? pwfuzz::Utf16Units(pieces[2]) : L"";

    // The string table's plain "[*]" filling.
    std::wstring filled = FillPlaceholders(text, {a, b});
    size_t placeholders = Count(text, L"[*]");
    size_t used = std::min<size_t>(placeholders, 2);
    size_t expected = text.size() - 3 * used + (used > 0 ? a.size() : 0) + (used > 1 ? b.size() : 0);
    PW_FUZZ_CHECK(filled.size() == expected);
    if (placeholders == 0)
        PW_FUZZ_CHECK(filled == text);

    // The full formatter: a text or an error, never both, never a partial
    // text; without brackets and backslashes the text stays as it is.
    std::vector<PlaceholderValue> values{a, std::int64_t{45}, b};
    FormatResult result = FormatPlaceholders(text, values, EchoFormatter());
    PW_FUZZ_CHECK(result.Ok() || result.text.empty());
    if (text.find_first_of(L"[\\") == std::wstring::npos)
        PW_FUZZ_CHECK(result.Ok() && result.text == text);

    // Replacing, exact and case-blind, from any start and any count.
    if (!a.empty()) {
        long start = static_cast<long>(b.size() % 7);
        std::wstring replaced = ReplaceText(text, a, b, start, -1, kCompareExact);
        size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
        size_t hits = from < text.size() ? Count(std::wstring_view(text).substr(from), a) : 0;
        PW_FUZZ_CHECK(replaced.size() == text.size() + hits * b.size() - hits * a.size());
        PW_FUZZ_CHECK(ReplaceText(text, a, a, start, -1, kCompareText).size() == text.size());
    }
    return 0;
}
