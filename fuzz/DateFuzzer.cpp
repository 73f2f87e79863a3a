// Stored dates as a damaged or hand-edited history may hold them, and the
// date arithmetic of the queries.
#include <cstring>

#include "DateTime.h"
#include "FuzzInput.h"

using namespace pw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto pieces = pwfuzz::Pieces(data, size, 3);
    auto date = ParseDbDate(pieces[0]);
    if (!date)
        return 0;
    PW_FUZZ_CHECK(ParseDbDate(FormatDbDate(*date)) == date);
    if (pieces.size() > 1) {
        long long number = 0;
        std::memcpy(&number, pieces[1].data(), std::min(pieces[1].size(), sizeof number));
        std::string_view interval = pieces.size() > 2 ? pieces[2] : std::string_view("d");
        if (auto moved = DateAdd(interval, number, *date)) {
            PW_FUZZ_CHECK(moved->year >= 100 && moved->year <= 9999);
            PW_FUZZ_CHECK(ParseDbDate(FormatDbDate(*moved)) == moved);
        }
    }
    DayOfWeekMonday0(*date);
    return 0;
}
