// Texts with values in them: a format text carries placeholders in square
// brackets ("Sie verwenden Version [*] von Pfadwerk.") and backslash escapes
// ("\n"), and the formatter fills them from a list of values. No Windows
// header: how a value becomes text is left to a formatter the caller hands
// in (the program's turns to the system's own number and date pictures).
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace pw {

// A point in time as the system's date type counts it: days since
// 30 December 1899, the time of day as the fraction.
struct PlaceholderDate {
    double serial = 0;
};

using PlaceholderValue = std::variant<std::wstring, std::int64_t, double, PlaceholderDate>;

class PlaceholderFormatter {
  public:
    virtual ~PlaceholderFormatter() = default;
    // "[*]": the value as text.
    virtual std::wstring Text(const PlaceholderValue& value) const = 0;
    // Any other placeholder: the value through its content as a format
    // picture ("0000", "dd.mm.yyyy"); nothing when it cannot be formatted so.
    virtual std::optional<std::wstring> Picture(const PlaceholderValue& value, std::wstring_view picture) const = 0;
};

// The formatter's errors are told apart by source and description.
struct FormatError {
    std::wstring source;
    std::wstring description;
};

struct FormatResult {
    std::wstring text;  // empty on an error: there is never a partial text
    std::optional<FormatError> error;
    bool Ok() const { return !error; }
};

// Escapes first ("\\" "\t" "\r" "\n" "\["), then every placeholder from the
// left: "[*]" the next value as text, "[]" skips a value, "[(]" and "[\]"
// the characters "[" and "\", "[2:*]" the second value without moving on,
// anything else the next value through the content as a picture. Inserted
// values are never scanned again.
FormatResult FormatPlaceholders(std::wstring_view format,
                                std::span<const PlaceholderValue> values,
                                const PlaceholderFormatter& formatter);

constexpr long kReplaceAll = 0x7FFFFFFF;
constexpr int kCompareExact = 0;
constexpr int kCompareText = 1;  // any mode but 0 ignores upper and lower case

// Replaces up to count occurrences of find, searched from start (1-based, in
// characters; the text before it stays as it is). An empty find or a count
// of 0 gives the text unchanged, a negative count means all. Case-blind
// comparing keeps the letters of the text.
std::wstring ReplaceText(std::wstring_view text,
                         std::wstring_view find,
                         std::wstring_view replacement,
                         long start = 1,
                         long count = kReplaceAll,
                         int compare = kCompareExact);

}  // namespace pw
