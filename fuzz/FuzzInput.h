// What the fuzzers share: turning the fuzzer's bytes into the texts the
// programs get from outside, and a check that stops the run loudly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace pwfuzz {

// Two bytes a code unit, little-endian, as WM_COPYDATA and the registry hand
// texts over: lone surrogates and NULs included.
inline std::wstring Utf16Units(const uint8_t* data, size_t size) {
    std::wstring text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return text;
}

// The input cut at every 0xFF byte: several texts from one input.
inline std::vector<std::string_view> Pieces(const uint8_t* data, size_t size, size_t most) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t i = 0; i < size && pieces.size() + 1 < most; ++i) {
        if (data[i] == 0xFF) {
            pieces.emplace_back(reinterpret_cast<const char*>(data) + start, i - start);
            start = i + 1;
        }
    }
    pieces.emplace_back(reinterpret_cast<const char*>(data) + start, size - start);
    return pieces;
}

inline std::wstring Utf16Units(std::string_view bytes) {
    return Utf16Units(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

#define PW_FUZZ_CHECK(condition)                                                               \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

}  // namespace pwfuzz
