// How other programs address the worker: the caption of its window, the
// requests sent to it by WM_COPYDATA (UTF-16 text, two bytes a character,
// no NUL at the end), its hot key and its set-up switch. Portable: both
// programs build and parse here, and the tests check it natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace pw {

// The worker is found by this caption, whatever its window class.
constexpr wchar_t kWorkerCaption[] = L"PFADWERK_WORKER_APP";
// Visit report: folder name + separator + folder path.
constexpr std::wstring_view kVisitSeparator = L"|\\|";
// Properties request: prefix + owner window handle in decimal + "|" + path.
constexpr std::wstring_view kPropertiesPrefix = L"\\Properties!";
// Ends the worker. A text with the visit separator is a visit whatever it
// begins with (a folder may be called "ExitNow-Sicherung"); any other text
// beginning with this is the exit request, as senders have always sent it.
constexpr std::wstring_view kExitRequest = L"ExitNow";
// Windows logo key + Ctrl + Space (MOD_CONTROL | MOD_WIN, VK_SPACE), id 1.
constexpr int kHotKeyId = 1;
constexpr unsigned kHotKeyModifiers = 0x0002 | 0x0008;
constexpr unsigned kHotKeyVirtualKey = 0x20;

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

std::wstring VisitReportText(std::wstring_view name, std::wstring_view path);
// Window handles carry 32 significant bits on every Windows, so the handle
// goes as the unsigned decimal of those bits, which the worker reads back.
std::wstring PropertiesRequestText(std::uint32_t ownerHandle, std::wstring_view path);
std::wstring ExitRequestText();

// The copy-data block as text: UTF-16, two bytes a character, no NUL at the
// end. An empty, odd-sized or oversized block gives nothing.
std::optional<std::wstring> PayloadFromBytes(const void* data, size_t byteCount);

Request ParseRequest(std::wstring_view payload);

// A visit as the worker takes it, from the wire or from its own reporter:
// blanks after the path dropped; nothing for a name or path no folder of
// Windows could have (empty path, NUL inside, longer than any path).
std::optional<VisitReport> MakeVisit(std::wstring_view name, std::wstring_view path);

// The set-up switch: the whole command line, in any letter case, and nothing
// else (not even a trailing blank).
bool IsSetupCommandLine(std::wstring_view commandLine);

// The main program's switch that opens the import of the folders Windows
// remembers instead of the main window; the welcome window starts it so.
constexpr wchar_t kImportSwitch[] = L"/import";
// The switch alone, in any letter case, blanks around it allowed.
bool IsImportCommandLine(std::wstring_view commandLine);

// The hot key's start of the main program names the dialog that was in front
// (an Open or Save dialog the main program may take to the picked folder):
// the switch, a blank, the window handle's 32 bits in unsigned decimal. The
// main window takes the foreground as soon as it shows, so only the worker
// still knows which window waited.
constexpr wchar_t kWaitingDialogSwitch[] = L"/dialog";
std::wstring WaitingDialogArguments(std::uint32_t dialogHandle);
// The handle such a command line names; nothing for any other command line
// and for 0.
std::optional<std::uint32_t> WaitingDialogFromCommandLine(std::wstring_view commandLine);

}  // namespace pw
