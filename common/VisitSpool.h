// Visits the worker has taken but could not store yet wait in a small text
// file beside the history, so that an end of the worker (by request, at
// log-off, killed) loses none of them; the next write, or the next start,
// carries them into the history. This is the file's one home: its name and
// the shape of its lines. Portable: the tests and the fuzzer read it natively.
//
// One visit a line, UTF-8: the moment as the history stores it, a tab, the
// path, a tab, the name, a line feed. In the path and the name "%", tabs,
// line breaks and every other control character are written "%XX" (two hex
// digits of the byte), so that no text can break a line. A line without its
// line feed is one whose write was cut off, and no visit.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Database.h"

namespace pw {

constexpr wchar_t kSpoolFile[] = L"Pfadwerk-Warteschlange.txt";

// The spool beside a history file.
std::wstring SpoolPathFor(const std::wstring& database);

// The lines of these visits, each with its line feed.
std::string SpoolLines(const std::vector<TimedVisit>& visits);

struct SpoolContents {
    std::vector<TimedVisit> visits;
    // Bytes up to and with the last line feed: what the visits came from,
    // lines that are no visit included. A cut-off line after it is left.
    size_t consumed = 0;
};

// Every complete line that is a visit the worker could have taken; any other
// line (damage, a hand edit) is passed over.
SpoolContents ParseSpool(std::string_view bytes);

}  // namespace pw
