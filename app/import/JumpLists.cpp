// Automatic jump lists: compound files in the Recent folder, one per
// program, whose DestList stream lists the program's recent items.
#include <objbase.h>

#include "DestList.h"
#include "Handles.h"
#include "WindowsHistory.h"

namespace pw {
namespace {

// A DestList of the most entries Windows keeps is far smaller.
constexpr ULONGLONG kMaxDestListBytes = 8ull << 20;
constexpr size_t kMaxJumpLists = 2000;

std::optional<Bytes> ReadDestList(const std::wstring& file) {
    cComPtr<IStorage> storage;
    // Explorer may have the file open for writing; a transacted open reads
    // a snapshot then.
    if (FAILED(StgOpenStorage(file.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, storage.Put())) &&
        FAILED(StgOpenStorage(file.c_str(), nullptr, STGM_READ | STGM_TRANSACTED | STGM_SHARE_DENY_NONE, nullptr, 0,
                              storage.Put())))
        return std::nullopt;
    cComPtr<IStream> stream;
    if (FAILED(storage->OpenStream(kDestListStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Put())))
        return std::nullopt;
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > kMaxDestListBytes)
        return std::nullopt;
    Bytes data(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG read = 0;
    if (!data.empty() && FAILED(stream->Read(data.data(), static_cast<ULONG>(data.size()), &read)))
        return std::nullopt;
    data.resize(read);
    return data;
}

}  // namespace

std::vector<FoundFolder> ReadJumpLists(const std::wstring& recentFolder) {
    std::vector<FoundFolder> found;
    if (recentFolder.empty())
        return found;
    std::wstring folder = recentFolder + L"\\" + kAutomaticDestinationsFolder;
    WIN32_FIND_DATAW data{};
    cFindHandle search(FindFirstFileW((folder + L"\\" + kAutomaticDestinationsPattern).c_str(), &data));
    if (!search)
        return found;
    size_t files = 0;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        auto stream = ReadDestList(folder + L"\\" + data.cFileName);
        auto list = stream ? ParseDestList(*stream) : std::nullopt;
        if (!list)
            continue;
        // Files are among them too; whether an entry is a folder is asked
        // later, once per path.
        for (DestListEntry& entry : list->entries)
            found.push_back({std::move(entry.path), entry.lastUsed, true, kSourceJumpList});
    } while (++files < kMaxJumpLists && FindNextFileW(search.Get(), &data));
    return found;
}

}  // namespace pw
