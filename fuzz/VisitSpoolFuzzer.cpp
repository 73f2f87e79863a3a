// The spool beside the history: whatever the file holds (a damaged disk, a
// hand edit, another program), reading it takes only visits the worker could
// have taken, and what it takes is written back to the same visits.
#include "FuzzInput.h"
#include "VisitSpool.h"
#include "WorkerProtocol.h"

using namespace pw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SpoolContents read = ParseSpool(bytes);
    PW_FUZZ_CHECK(read.consumed <= size);
    PW_FUZZ_CHECK(read.consumed == 0 || bytes[read.consumed - 1] == '\n');
    PW_FUZZ_CHECK(bytes.find('\n', read.consumed) == std::string_view::npos);
    for (const TimedVisit& visit : read.visits) {
        auto checked = MakeVisit(visit.name, visit.path);
        PW_FUZZ_CHECK(checked && checked->name == visit.name && checked->path == visit.path);
    }
    std::string lines = SpoolLines(read.visits);
    SpoolContents again = ParseSpool(lines);
    PW_FUZZ_CHECK(again.consumed == lines.size() && again.visits.size() == read.visits.size());
    for (size_t i = 0; i < again.visits.size(); ++i) {
        PW_FUZZ_CHECK(again.visits[i].when == read.visits[i].when);
        // Text that is no UTF-16 (a lone surrogate) may come back changed
        // once; from then on it stays.
        PW_FUZZ_CHECK(SpoolLines({again.visits[i]}) == SpoolLines({read.visits[i]}));
    }
    return 0;
}
