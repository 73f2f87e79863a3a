// What the version file on the vendor's server says, and the rules around
// it: the version text the user sees, which download address may be opened
// and when the weekly check is due. No Windows header.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "DateTime.h"

namespace pw {

struct ProgramVersion {
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::int32_t build = 0;  // the revision: build numbers are what the check compares
};

// major.minor.build with the build in at least four digits; a minor that is
// a multiple of ten loses its last digit (1.10 build 45 is "1.1.0045").
std::wstring VersionText(const ProgramVersion& version);

// A whole number as the file may write it: decimal digits with an optional
// sign, blanks around them allowed; nothing for anything else or for a
// number beyond 32 bits.
std::optional<std::int32_t> ParseWholeNumber(std::wstring_view text);

// Only an absolute http:// or https:// address with a host is ever handed to
// the shell: a tampered answer must not start a program or open a file.
bool IsWebAddress(std::wstring_view address);

enum class VersionFileVerdict { Failed, UpToDate, UpdateAvailable };

struct VersionFileAnswer {
    VersionFileVerdict verdict = VersionFileVerdict::Failed;
    ProgramVersion offered;    // with UpdateAvailable
    std::wstring downloadUrl;  // with UpdateAvailable, always a web address
};

// Reads the file: pfadwerk / version_info / build (automatic checks) or
// build_manualcheck (manual ones) against the installed build. An update
// needs major, minor and a web address in download_url as well; anything
// missing, non-numeric or not well-formed fails.
VersionFileAnswer ReadVersionFile(std::string_view bytes, bool automaticCheck, std::int32_t installedBuild);

// The system's date number of a moment: days since 30 December 1899 with
// the time of day as the fraction.
double DateSerial(const LocalTime& moment);
// The day number stored as LastUpdateCheck: the date number rounded to the
// nearest whole day (after noon counts as the next day; noon itself goes to
// the even one, as the system's rounding does).
std::int32_t UpdateCheckDayNumber(const LocalTime& now);
// The weekly check is due when more than seven day boundaries lie between
// the stored day and now.
bool IsWeeklyUpdateCheckDue(std::int32_t lastCheckDay, const LocalTime& now);

}  // namespace pw
