// The registry's values of remembered folders, damaged or made up: whatever
// the readers return lies within the bytes they were given and is shaped
// the way the shell expects it.
#include "FuzzInput.h"
#include "ItemIdList.h"

using namespace pw;

namespace {

// An item id list's walk over its own bytes, as the shell will walk it.
bool WellFormed(const Bytes& list) {
    size_t at = 0;
    while (at + 2 <= list.size()) {
        size_t cb = list[at] | (list[at + 1] << 8);
        if (cb == 0)
            return at + 2 == list.size();
        if (cb < 3 || cb > list.size() - at)
            return false;
        at += cb;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteView bytes(data, size);
    if (auto list = CheckedItemIdList(bytes)) {
        PW_FUZZ_CHECK(list->size() <= size && WellFormed(*list));
        std::vector<Bytes> items = ItemIds(*list);
        PW_FUZZ_CHECK(items.size() <= kMaxItemIds && JoinItemIds(items) == *list);
    }
    if (auto item = SingleItemId(bytes)) {
        PW_FUZZ_CHECK(item->size() <= size && WellFormed(JoinItemIds({*item})));
    }
    PW_FUZZ_CHECK(MruListEx(bytes).size() <= std::min(size / 4, kMaxMruEntries));
    if (auto named = SplitNamedItemIds(bytes)) {
        PW_FUZZ_CHECK(named->itemIds.size() + 2 * named->name.size() <= size && WellFormed(named->itemIds));
    }
    if (auto path = LastVisitedMruPath(bytes))
        PW_FUZZ_CHECK(!path->empty() && 2 * path->size() <= size);
    PW_FUZZ_CHECK(MruListLetters(pwfuzz::Utf16Units(data, size)).size() <= size / 2);
    return 0;
}
