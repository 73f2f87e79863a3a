// The raw bytes Windows keeps of remembered folders in the registry: item id
// lists (the shell's own way of naming a folder), the order lists beside them
// ("MRUListEx", "MRUList") and the values that put a text before a list.
// Everything here is outside input: every length is checked against the
// data, and what does not parse is nothing. Turning a list into a path is
// the shell's work (SHGetPathFromIDListW); this only makes sure the shell is
// handed a list that ends where it says.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// Far more items than any folder's path has; a longer list is damage.
inline constexpr size_t kMaxItemIds = 128;
// Far more than any order list holds; the rest is ignored.
inline constexpr size_t kMaxMruEntries = 4096;

// The list at the start of the data: items each led by its 16-bit size
// (which counts the size field), ended by a size of 0. The list is returned
// with its end mark and without what follows it; nothing when an item is
// shorter than its size field, runs past the data, there are more than
// kMaxItemIds items, or the data ends before the end mark.
std::optional<Bytes> CheckedItemIdList(ByteView data);

// The items of a list that CheckedItemIdList returned, each without the end
// mark.
std::vector<Bytes> ItemIds(ByteView checkedList);

// A value of a BagMRU key: one item, its end mark optional. Nothing for an
// empty item or more than one.
std::optional<Bytes> SingleItemId(ByteView data);

// The items, in order, as one list with its end mark.
Bytes JoinItemIds(const std::vector<Bytes>& items);

// "MRUListEx": the value numbers, newest first, as 32-bit little-endian
// numbers up to 0xFFFFFFFF or the data's end; a number met before is left
// out.
std::vector<std::uint32_t> MruListEx(ByteView data);

// XP's "MRUList": one value name per letter, newest first; a letter met
// before is left out.
std::vector<std::wstring> MruListLetters(std::wstring_view list);

// A text and an item id list in one value (RecentDocs: the folder's name and
// its shortcut's item; LastVisitedPidlMRU: the program's name and the
// folder's list). The text is UTF-16, ended by a NUL.
struct NamedItemIds {
    std::wstring name;
    Bytes itemIds;  // checked, with its end mark
};
std::optional<NamedItemIds> SplitNamedItemIds(ByteView data);

// XP's LastVisitedMRU value: the program's name and the folder's path, each
// a UTF-16 text ended by a NUL. The path, or nothing.
std::optional<std::wstring> LastVisitedMruPath(ByteView data);

// The UTF-16 text at the start of the data up to its NUL, and how many
// bytes it took with the NUL; nothing when no NUL comes before the end.
struct Utf16Text {
    std::wstring text;
    size_t bytes = 0;
};
std::optional<Utf16Text> ReadUtf16z(ByteView data);
// So many UTF-16 units from the start of the data (the caller has checked
// that they are there).
std::wstring ReadUtf16(ByteView data, size_t units);

}  // namespace pw
