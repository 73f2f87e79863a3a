#include "ItemIdList.h"

#include <algorithm>
#include <set>

#include "Text.h"

namespace pw {
namespace {

std::uint16_t Le16(ByteView data, size_t at) {
    return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}

std::uint32_t Le32(ByteView data, size_t at) {
    return static_cast<std::uint32_t>(data[at]) | (static_cast<std::uint32_t>(data[at + 1]) << 8) |
           (static_cast<std::uint32_t>(data[at + 2]) << 16) | (static_cast<std::uint32_t>(data[at + 3]) << 24);
}

// The size of the list at the start of the data with its end mark, or 0.
size_t ItemIdListSize(ByteView data) {
    size_t at = 0;
    for (size_t items = 0; items <= kMaxItemIds; ++items) {
        if (data.size() - at < 2)
            return 0;
        std::uint16_t cb = Le16(data, at);
        if (cb == 0)
            return at + 2;
        // An item holds its size field and at least one byte more.
        if (cb < 3 || cb > data.size() - at)
            return 0;
        at += cb;
    }
    return 0;
}

}  // namespace

std::optional<Bytes> CheckedItemIdList(ByteView data) {
    size_t size = ItemIdListSize(data);
    if (size == 0)
        return std::nullopt;
    return Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
}

std::vector<Bytes> ItemIds(ByteView checkedList) {
    std::vector<Bytes> items;
    size_t at = 0;
    while (checkedList.size() - at >= 2) {
        std::uint16_t cb = Le16(checkedList, at);
        if (cb < 3 || cb > checkedList.size() - at)
            break;
        items.emplace_back(checkedList.begin() + static_cast<std::ptrdiff_t>(at),
                           checkedList.begin() + static_cast<std::ptrdiff_t>(at + cb));
        at += cb;
    }
    return items;
}

std::optional<Bytes> SingleItemId(ByteView data) {
    if (data.size() < 3)
        return std::nullopt;
    std::uint16_t cb = Le16(data, 0);
    if (cb < 3 || cb > data.size())
        return std::nullopt;
    // After the item only its end mark may follow.
    ByteView rest = data.subspan(cb);
    if (!rest.empty() && (rest.size() < 2 || Le16(rest, 0) != 0))
        return std::nullopt;
    return Bytes(data.begin(), data.begin() + cb);
}

Bytes JoinItemIds(const std::vector<Bytes>& items) {
    Bytes list;
    for (const Bytes& item : items)
        list.insert(list.end(), item.begin(), item.end());
    list.push_back(0);
    list.push_back(0);
    return list;
}

std::vector<std::uint32_t> MruListEx(ByteView data) {
    std::vector<std::uint32_t> order;
    std::set<std::uint32_t> seen;
    for (size_t at = 0; at + 4 <= data.size() && order.size() < kMaxMruEntries; at += 4) {
        std::uint32_t n = Le32(data, at);
        if (n == 0xFFFFFFFFu)
            break;
        if (seen.insert(n).second)
            order.push_back(n);
    }
    return order;
}

std::vector<std::wstring> MruListLetters(std::wstring_view list) {
    std::vector<std::wstring> names;
    for (wchar_t c : list) {
        if (c == L'\0' || names.size() >= kMaxMruEntries)
            break;
        std::wstring name(1, c);
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

std::wstring ReadUtf16(ByteView data, size_t units) {
    std::wstring text;
    text.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        char32_t unit = Le16(data, 2 * i);
        // Where wchar_t is 32 bits wide a pair becomes one code point; a lone
        // half stays as it is, as it would on Windows.
        if constexpr (sizeof(wchar_t) == 4) {
            if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units) {
                char32_t low = Le16(data, 2 * (i + 1));
                if (low >= 0xDC00 && low < 0xE000) {
                    text += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
        }
        text += static_cast<wchar_t>(unit);
    }
    return text;
}

std::optional<Utf16Text> ReadUtf16z(ByteView data) {
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        if (Le16(data, i) == 0)
            return Utf16Text{ReadUtf16(data, i / 2), i + 2};
    }
    return std::nullopt;
}

std::optional<NamedItemIds> SplitNamedItemIds(ByteView data) {
    auto name = ReadUtf16z(data);
    if (!name)
        return std::nullopt;
    auto list = CheckedItemIdList(data.subspan(name->bytes));
    // A list of no item names the desktop, never a remembered folder.
    if (!list || list->size() <= 2)
        return std::nullopt;
    return NamedItemIds{std::move(name->text), std::move(*list)};
}

std::optional<std::wstring> LastVisitedMruPath(ByteView data) {
    auto program = ReadUtf16z(data);
    if (!program)
        return std::nullopt;
    auto path = ReadUtf16z(data.subspan(program->bytes));
    if (!path || path->text.empty())
        return std::nullopt;
    return std::move(path->text);
}

}  // namespace pw
