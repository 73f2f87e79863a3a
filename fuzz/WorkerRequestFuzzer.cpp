// The worker's requests as any program may send them by WM_COPYDATA.
#include "FuzzInput.h"
#include "WorkerProtocol.h"

using namespace pw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto payload = PayloadFromBytes(data, size);
    if (!payload) {
        PW_FUZZ_CHECK(size == 0 || size % 2 != 0 || size > kMaxPayloadBytes);
        return 0;
    }
    PW_FUZZ_CHECK(payload->size() == size / 2);
    Request request = ParseRequest(*payload);
    if (auto* visit = std::get_if<VisitReport>(&request)) {
        PW_FUZZ_CHECK(!visit->path.empty() && visit->path.back() != L' ');
        PW_FUZZ_CHECK(visit->name.find(kVisitSeparator) == std::wstring::npos);
        // What the reporter would send for it reads back as the same visit.
        auto again = ParseRequest(VisitReportText(visit->name, visit->path));
        auto* same = std::get_if<VisitReport>(&again);
        PW_FUZZ_CHECK(same && same->name == visit->name && same->path == visit->path);
    } else if (auto* properties = std::get_if<PropertiesRequest>(&request)) {
        auto again = ParseRequest(PropertiesRequestText(static_cast<uint32_t>(properties->owner), properties->path));
        auto* same = std::get_if<PropertiesRequest>(&again);
        PW_FUZZ_CHECK(same && same->owner == properties->owner && same->path == properties->path);
    } else if (std::holds_alternative<ExitRequest>(request)) {
        // A text with the separator is never the exit request: a folder's
        // name must not end the worker.
        PW_FUZZ_CHECK(payload->find(kVisitSeparator) == std::wstring::npos);
    }
    IsSetupCommandLine(*payload);
    return 0;
}
