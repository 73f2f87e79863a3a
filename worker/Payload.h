// What a WM_COPYDATA block sent to the worker asks for. Portable: the worker
// parses, the tests check the parsing natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace pw {

struct VisitReport {
    std::wstring name;
    std::wstring path;
};

struct PropertiesRequest {
    std::int32_t owner = 0;  // window handle of the asking program, in decimal on the wire
    std::wstring path;
};

struct ExitRequest {};

// monostate: nothing the worker can use; the payload is dropped.
using Request = std::variant<std::monostate, PropertiesRequest, ExitRequest, VisitReport>;

// Longest folder path Windows knows; a longer "path" is no folder.
constexpr size_t kMaxPathChars = 32767;
// No sender has reason to send more; a larger block is refused unread.
constexpr size_t kMaxPayloadBytes = 4 * (kMaxPathChars + 16);

// The copy-data block as text: UTF-16, two bytes a character, no NUL at the
// end. An empty, odd-sized or oversized block gives nothing.
std::optional<std::wstring> PayloadFromBytes(const void* data, size_t byteCount);

Request ParseRequest(std::wstring_view payload);
// The visit report a folder's visit is sent as.
std::wstring VisitReportText(std::wstring_view name, std::wstring_view path);

// The set-up switch: the whole command line, in any letter case, and nothing
// else (not even a trailing blank).
bool IsSetupCommandLine(std::wstring_view commandLine);

}  // namespace pw
