#include "DestList.h"

#include <algorithm>

namespace pw {
namespace {

std::uint32_t Le32(ByteView data, size_t at) {
    return static_cast<std::uint32_t>(data[at]) | (static_cast<std::uint32_t>(data[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data[at + 2]) << 16) | (static_cast<std::uint32_t>(data[at + 3]) << 24);
}

// Where an entry's fields lie; the same in every version up to the pin.
constexpr size_t kLastUsedAt = 100;
constexpr size_t kPinAt = 108;
constexpr std::uint32_t kNotPinned = 0xFFFFFFFFu;

}  // namespace

std::optional<DestList> ParseDestList(ByteView stream) {
    if (stream.size() < kDestListHeaderSize)
        return std::nullopt;
    DestList list;
    list.version = Le32(stream, 0);
    if (std::find(std::begin(kDestListVersions), std::end(kDestListVersions), list.version) ==
        std::end(kDestListVersions))
        return std::nullopt;
    const bool ten = list.version >= 3;
    const size_t fixed = ten ? kDestListEntrySize10 : kDestListEntrySize7;
    const size_t trailer = ten ? 4 : 0;
    // The header's count is outside input too: the walk stops at the
    // stream's end whatever it says.
    size_t count = std::min<size_t>(Le32(stream, 4), kMaxDestListEntries);
    size_t at = kDestListHeaderSize;
    for (size_t i = 0; i < count; ++i) {
        if (stream.size() - at < fixed)
            break;
        ByteView entry = stream.subspan(at, fixed);
        size_t units = static_cast<size_t>(entry[fixed - 2] | (entry[fixed - 1] << 8));
        size_t pathBytes = 2 * units;
        if (stream.size() - at - fixed < pathBytes + trailer)
            break;
        DestListEntry out;
        out.path = ReadUtf16(stream.subspan(at + fixed, pathBytes), units);
        out.lastUsed = static_cast<std::uint64_t>(Le32(entry, kLastUsedAt)) |
                       (static_cast<std::uint64_t>(Le32(entry, kLastUsedAt + 4)) << 32);
        out.pinned = Le32(entry, kPinAt) != kNotPinned;
        list.entries.push_back(std::move(out));
        at += fixed + pathBytes + trailer;
    }
    return list;
}

}  // namespace pw
