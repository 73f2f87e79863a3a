// The "DestList" stream of an automatic jump list (a compound file in the
// Recent folder's AutomaticDestinations, one per program): the list of the
// program's recent and pinned items, each with its path and the time of its
// last use. Outside input: the header and every entry are checked against
// the stream's length; a version this reader does not know is skipped whole.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ItemIdList.h"

namespace pw {

// The versions whose entries this reader knows: 1 (Windows 7 and 8) and 3
// and 4 (Windows 10 on), which carry 16 bytes more before the path and 4
// after it.
inline constexpr std::uint32_t kDestListVersions[] = {1, 3, 4};
inline constexpr size_t kDestListHeaderSize = 32;
inline constexpr size_t kDestListEntrySize7 = 114;   // up to and with the path's length
inline constexpr size_t kDestListEntrySize10 = 130;  // the same from version 3 on
inline constexpr size_t kMaxDestListEntries = 4096;

struct DestListEntry {
    std::wstring path;
    std::uint64_t lastUsed = 0;  // FILETIME, UTC
    bool pinned = false;
};

struct DestList {
    std::uint32_t version = 0;
    std::vector<DestListEntry> entries;
};

// Nothing for a stream shorter than its header or of another version. An
// entry that runs past the stream ends the list; those before it stay.
std::optional<DestList> ParseDestList(ByteView stream);

}  // namespace pw
