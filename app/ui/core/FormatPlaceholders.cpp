#include "FormatPlaceholders.h"

#include <algorithm>

#include "Text.h"

namespace pw {
namespace {

FormatResult Failure(std::wstring source, std::wstring description) {
    return FormatResult{{}, FormatError{std::move(source), std::move(description)}};
}

bool IsIndexDigit(wchar_t c) {
    return c >= L'1' && c <= L'9';
}

}  // namespace

std::wstring ReplaceText(std::wstring_view text,
                         std::wstring_view find,
                         std::wstring_view replacement,
                         long start,
                         long count,
                         int compare) {
    if (find.empty() || count == 0)
        return std::wstring(text);
    if (count < 0)
        count = kReplaceAll;
    size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
    if (from >= text.size())
        return std::wstring(text);

    // Case-blind search runs over folded copies; folding keeps every
    // character in its place, so positions carry over to the original.
    std::wstring foldedText, foldedFind;
    std::wstring_view haystack = text, needle = find;
    if (compare != kCompareExact) {
        foldedText = FoldCase(text);
        foldedFind = FoldCase(find);
        haystack = foldedText;
        needle = foldedFind;
    }

    // One pass into one buffer: a text with many occurrences is not
    // rebuilt once per occurrence.
    std::wstring result;
    result.reserve(replacement.size() <= find.size() ? text.size() : text.size() + text.size() / 2);
    size_t copied = 0;
    long done = 0;
    for (size_t hit = haystack.find(needle, from); hit != std::wstring_view::npos && done < count;
         hit = haystack.find(needle, hit + needle.size())) {
        result.append(text, copied, hit - copied);
        result.append(replacement);
        copied = hit + find.size();
        ++done;
    }
    result.append(text, copied, std::wstring_view::npos);
    return result;
}

FormatResult FormatPlaceholders(std::wstring_view format,
                                std::span<const PlaceholderValue> values,
                                const PlaceholderFormatter& formatter) {
    // A doubled backslash goes first, so that "\\n" stays a backslash and n.
    std::wstring text = ReplaceText(format, L"\\\\", L"[\\]");
    text = ReplaceText(text, L"\\t", L"\t");
    text = ReplaceText(text, L"\\r", L"\r");
    text = ReplaceText(text, L"\\n", L"\r\n");
    text = ReplaceText(text, L"\\[", L"[(]");

    const long lastValue = static_cast<long>(values.size()) - 1;
    long index = 0;
    size_t scan = 0;
    for (size_t open = text.find(L'[', scan); open != std::wstring::npos; open = text.find(L'[', scan)) {
        size_t close = text.find(L']', open + 1);
        if (close == std::wstring::npos)
            return Failure(L"printf", L"Missing ']' after '[' at position " + std::to_wstring(open + 1) + L"!");
        std::wstring content = text.substr(open + 1, close - open - 1);

        std::optional<long> remembered;
        if (content.size() >= 2 && IsIndexDigit(content[0]) && content[1] == L':') {
            remembered = index;
            index = std::min<long>(content[0] - L'1', lastValue);
            content.erase(0, 2);
        }
        if (!content.empty() && content[0] == L'=') {
            return Failure(L"sprintf",
                           L"No script code allowed in placeholder string. Use the sprintf COM-component instead.");
        }

        std::wstring replacement;
        bool usesValue = true;
        if (content == L"(") {
            replacement = L"[";
            usesValue = false;
        } else if (content == L"\\") {
            replacement = L"\\";
            usesValue = false;
        } else if (!content.empty()) {
            if (index < 0 || index > lastValue)
                return Failure(L"printf", L"Missing value in printf-call for format string '[" + content + L"]'!");
            const PlaceholderValue& value = values[static_cast<size_t>(index)];
            if (content == L"*") {
                replacement = formatter.Text(value);
            } else {
                std::optional<std::wstring> formatted = formatter.Picture(value, content);
                if (!formatted) {
                    return Failure(L"printf", L"Value does not fit the format string '[" + content + L"]'!");
                }
                replacement = std::move(*formatted);
            }
        }

        text.replace(open, close - open + 1, replacement);
        scan = open + replacement.size();
        if (remembered)
            index = *remembered;
        else if (usesValue)
            ++index;
    }
    return FormatResult{std::move(text), std::nullopt};
}

}  // namespace pw
