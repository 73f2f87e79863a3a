// A DestList stream as Windows writes it, for the tests of its reader (also
// inside a compound file under Wine).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pwtest {

struct DestEntry {
    std::u16string path;
    std::uint64_t lastUsed = 0;  // FILETIME
    bool pinned = false;
};

inline void PutLe(std::vector<std::uint8_t>& out, size_t at, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// version 1: 114 bytes before the path; 3 and 4: 130 before and 4 after.
inline std::vector<std::uint8_t> DestListBytes(std::uint32_t version, const std::vector<DestEntry>& entries) {
    std::vector<std::uint8_t> out(32, 0);
    PutLe(out, 0, version, 4);
    PutLe(out, 4, entries.size(), 4);
    bool ten = version >= 3;
    size_t fixed = ten ? 130 : 114;
    std::uint32_t number = 1;
    for (const DestEntry& e : entries) {
        size_t at = out.size();
        out.resize(at + fixed + 2 * e.path.size() + (ten ? 4 : 0), 0);
        for (size_t i = 72; i < 80; ++i)
            out[at + i] = 'P';  // the computer's name
        PutLe(out, at + 88, number++, 4);
        PutLe(out, at + 100, e.lastUsed, 8);
        PutLe(out, at + 108, e.pinned ? 0 : 0xFFFFFFFFu, 4);
        PutLe(out, at + fixed - 2, e.path.size(), 2);
        for (size_t i = 0; i < e.path.size(); ++i)
            PutLe(out, at + fixed + 2 * i, e.path[i], 2);
    }
    return out;
}

}  // namespace pwtest
