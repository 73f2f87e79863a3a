// Resource texts with values in them, filled the way the system shows values:
// "[*]" by the system's text conversion in the user's locale, any other
// placeholder by the system's number and date format pictures (weeks start
// on Sunday, the first week of a year is the one with 1 January).
#pragma once
#include "FormatPlaceholders.h"

namespace pw {

const PlaceholderFormatter& SystemPlaceholderFormatter();

FormatResult FormatPlaceholders(std::wstring_view format, std::span<const PlaceholderValue> values);

}  // namespace pw
