// The DestList stream of a jump list, damaged or made up: only the versions
// the reader knows are read, and never past the stream.
#include "DestList.h"
#include "FuzzInput.h"
#include "FoundFolders.h"

using namespace pw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto list = ParseDestList(ByteView(data, size));
    if (!list)
        return 0;
    PW_FUZZ_CHECK(list->version == 1 || list->version == 3 || list->version == 4);
    size_t least = kDestListHeaderSize;
    for (const DestListEntry& entry : list->entries) {
        least += (list->version == 1 ? kDestListEntrySize7 : kDestListEntrySize10 + 4) + 2 * entry.path.size();
        // Paths go on to the sifting as any reader's do.
        std::wstring normal = NormalFolderPath(entry.path);
        PW_FUZZ_CHECK(normal.size() <= entry.path.size() + 1);
    }
    PW_FUZZ_CHECK(least <= size);
    return 0;
}
