#include "VisitLog.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "Database.h"
#include "Handles.h"

namespace pw {
namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

enum class Outcome { Stored, Missing, Damaged, Failed };

Outcome Append(const HistoryFiles& files, const std::vector<TimedVisit>& visits) {
    cDatabase db;
    if (db.Open(files.database) && db.AppendVisits(visits))
        return Outcome::Stored;
    if (db.Damaged())
        return Outcome::Damaged;
    return Exists(files.database) ? Outcome::Failed : Outcome::Missing;
}

}  // namespace

bool LogVisits(const HistoryFiles& files, const std::vector<TimedVisit>& visits, const Clock& clock) {
    switch (Append(files, visits)) {
        case Outcome::Stored:
            return true;
        case Outcome::Missing:
            return EnsureHistory(files) && Append(files, visits) == Outcome::Stored;
        case Outcome::Damaged:
            // Not repaired now (the other program holds the file): kept for
            // the next try like any failed write.
            return RepairDamagedHistory(files, clock ? clock() : SystemLocalTime()) &&
                   Append(files, visits) == Outcome::Stored;
        case Outcome::Failed:
            break;
    }
    return false;
}

namespace {

// A piece of the spool read at once: tens of thousands of visits, little of
// a 32-bit address space. A visit's line is far shorter (two paths' worth).
constexpr DWORD kSpoolPieceBytes = 4 << 20;

std::optional<LONGLONG> SizeOf(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return std::nullopt;
    return size.QuadPart;
}

bool Seek(HANDLE file, LONGLONG offset) {
    LARGE_INTEGER to{};
    to.QuadPart = offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != FALSE;
}

bool WriteAll(HANDLE file, const char* data, size_t size) {
    DWORD written = 0;
    return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

// The rest of the spool after `from` becomes the whole spool: written beside
// it and put in its place, so that an end in between leaves one or the other.
bool KeepSpoolFrom(const std::wstring& spool, LONGLONG from) {
    std::wstring rest = spool + L".neu";
    {
        cHandle in(CreateFileW(spool.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        cHandle out(
            CreateFileW(rest.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!in || !out || !Seek(in.Get(), from))
            return false;
        std::string buffer(64 * 1024, '\0');
        DWORD read = 0;
        while (ReadFile(in.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0) {
            if (!WriteAll(out.Get(), buffer.data(), read))
                return false;
        }
        if (!FlushFileBuffers(out.Get()))
            return false;
    }
    return MoveFileExW(rest.c_str(), spool.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace

bool SpoolVisits(const std::wstring& spool, const std::vector<TimedVisit>& visits) {
    if (visits.empty())
        return true;
    cHandle file(CreateFileW(spool.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    auto size = file ? SizeOf(file.Get()) : std::nullopt;
    if (!size)
        return false;
    std::string text;
    if (*size > 0) {
        // A line cut off by an end in the middle of a write must not swallow
        // the first of these visits.
        char last = 0;
        DWORD read = 0;
        if (!Seek(file.Get(), *size - 1) || !ReadFile(file.Get(), &last, 1, &read, nullptr) || read != 1)
            return false;
        if (last != '\n')
            text += '\n';
    }
    text += SpoolLines(visits);
    if (!Seek(file.Get(), *size))
        return false;
    if (WriteAll(file.Get(), text.data(), text.size()) && FlushFileBuffers(file.Get()))
        return true;
    // The caller keeps the visits: none of them may stay here as well.
    if (Seek(file.Get(), *size))
        SetEndOfFile(file.Get());
    return false;
}

std::optional<SpooledVisits> ReadSpool(const std::wstring& spool, long long from) {
    cHandle file(CreateFileW(spool.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    auto size = file ? SizeOf(file.Get()) : std::nullopt;
    if (!size || *size <= from || !Seek(file.Get(), from))
        return std::nullopt;
    LONGLONG left = *size - from;
    std::string bytes(static_cast<size_t>(std::min<LONGLONG>(left, kSpoolPieceBytes)), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
        return std::nullopt;
    SpooledVisits spooled{ParseSpool(bytes), from, left <= kSpoolPieceBytes};
    // A piece without a single line end holds no visit; passing over it is
    // the only way on.
    if (!spooled.whole && spooled.contents.consumed == 0)
        spooled.contents.consumed = bytes.size();
    return spooled;
}

bool DropSpooled(const std::wstring& spool, const SpooledVisits& read) {
    if (!read.whole)
        return KeepSpoolFrom(spool, read.from + static_cast<LONGLONG>(read.contents.consumed));
    cHandle file(CreateFileW(spool.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.Get());
}

bool SpoolWaiting(const std::wstring& spool, long long from) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(spool.c_str(), GetFileExInfoStandard, &data))
        return false;
    return ((static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) > from;
}

LogResult LogOrSpool(const HistoryFiles& files,
                     const std::vector<TimedVisit>& visits,
                     long long& storedAhead,
                     const Clock& clock) {
    std::wstring spool = SpoolPathFor(files.database);
    auto waiting = ReadSpool(spool, storedAhead);
    std::vector<TimedVisit> all;
    if (waiting)
        all = std::move(waiting->contents.visits);
    all.insert(all.end(), visits.begin(), visits.end());
    if (all.empty() || LogVisits(files, all, clock)) {
        if (waiting)
            storedAhead =
                DropSpooled(spool, *waiting) ? 0 : waiting->from + static_cast<long long>(waiting->contents.consumed);
        return LogResult::Stored;
    }
    if (visits.empty())
        return LogResult::Spooled;
    return SpoolVisits(spool, visits) ? LogResult::Spooled : LogResult::Kept;
}

bool LogVisit(const HistoryFiles& files, const VisitReport& visit, const Clock& clock) {
    return LogVisits(files, {TimedVisit{visit.path, visit.name, clock ? clock() : SystemLocalTime()}}, clock);
}

void ShowFolderProperties(const PropertiesRequest& request) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No error box: it would stop the hidden worker, and every visit behind
    // it, until somebody found and closed it.
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(request.owner));
    info.lpVerb = L"properties";
    info.lpFile = request.path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info) && info.hProcess)
        CloseHandle(info.hProcess);
}

}  // namespace pw
