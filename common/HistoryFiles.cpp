#include "HistoryFiles.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cwchar>

#include <sqlite3.h>

#include "Database.h"
#include "HistorySalvage.h"
#include "Settings.h"
#include "Text.h"

namespace pw {
namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

std::wstring DataFolder() {
    return GetShellFolderPath(CSIDL_LOCAL_APPDATA) + L"\\" + kDataFolderName;
}

std::wstring DatabasePath() {
    return DataFolder() + L"\\" + kDatabaseFile;
}

HistoryFiles UserHistoryFiles(const std::wstring& programFolder) {
    return HistoryFilesAt(DatabasePath(), programFolder);
}

HistoryFiles HistoryFilesAt(const std::wstring& database, const std::wstring& programFolder) {
    return {FolderOf(database), database, programFolder + L"\\" + kTemplateFile};
}

bool EnsureHistory(const HistoryFiles& files) {
    if (Exists(files.database))
        return true;
    DWORD attributes = GetFileAttributesW(files.dataFolder.c_str());
    if (!files.dataFolder.empty() &&
        (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))) {
        int rc = SHCreateDirectoryExW(nullptr, files.dataFolder.c_str(), nullptr);
        if (rc != ERROR_SUCCESS && rc != ERROR_ALREADY_EXISTS && rc != ERROR_FILE_EXISTS)
            return false;
    }
    // Never over an existing file: the other program may have made it since.
    return CopyFileW(files.templateFile.c_str(), files.database.c_str(), TRUE) || GetLastError() == ERROR_FILE_EXISTS;
}

std::wstring DamagedHistoryPath(const std::wstring& database, const LocalTime& when) {
    wchar_t stamp[32];
    swprintf(stamp, 32, L"%04d-%02d-%02d-%02d-%02d-%02d", when.year, when.month, when.day, when.hour, when.minute,
             when.second);
    return FolderOf(database) + L"\\" + kDamagedHistoryPrefix + stamp + L".dat";
}

namespace {

// Whether the history is damaged as it lies now. Reads the whole file, which
// only a repair may afford.
bool StillDamaged(const std::wstring& database) {
    cDatabase db;
    if (!db.Open(database))
        return db.Damaged();
    std::string verdict;
    bool read = db.Query(L"PRAGMA quick_check(1)", [&](const cRow& row) {
        verdict = ToUtf8(row.Text(0));
        return false;
    });
    return read ? verdict != "ok" : db.Damaged();
}

// A name beside `wanted` that no file has yet.
std::wstring FreeName(const std::wstring& wanted) {
    if (!Exists(wanted))
        return wanted;
    std::wstring stem = wanted.substr(0, wanted.size() - 4);  // without ".dat"
    for (int n = 2;; ++n) {
        std::wstring name = stem + L"-" + std::to_wstring(n) + L".dat";
        if (!Exists(name))
            return name;
    }
}

// An empty history at `path`: the template, or the schema where the
// template is gone.
bool MakeEmptyHistory(const HistoryFiles& files, const std::wstring& path) {
    DeleteFileW(path.c_str());
    if (CopyFileW(files.templateFile.c_str(), path.c_str(), TRUE))
        return true;
    sqlite3* db = nullptr;
    bool made =
        sqlite3_open_v2(ToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
        RegisterJetFunctions(db, nullptr) &&
        sqlite3_exec(db, std::string(HistorySchemaSql()).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close_v2(db);
    if (!made)
        DeleteFileW(path.c_str());
    return made;
}

// The other program found the history missing meanwhile and made a new one,
// which may hold visits already: the salvaged ones join them.
bool MergeInto(const std::wstring& database, const std::wstring& salvaged) {
    cDatabase db;
    if (!db.Open(database))
        return false;
    sqlite3* handle = db.Handle();
    sqlite3_stmt* attach = nullptr;
    bool ok = sqlite3_prepare_v2(handle, "ATTACH ?1 AS salvaged", -1, &attach, nullptr) == SQLITE_OK;
    std::string path = ToUtf8(salvaged);
    if (ok)
        sqlite3_bind_text(attach, 1, path.c_str(), static_cast<int>(path.size()), SQLITE_STATIC);
    ok = ok && sqlite3_step(attach) == SQLITE_DONE;
    sqlite3_finalize(attach);
    ok = ok && sqlite3_exec(handle,
                            "INSERT INTO main.FoldersProtocol (FolderPath, FolderName, DateUsed) "
                            "SELECT FolderPath, FolderName, DateUsed FROM salvaged.FoldersProtocol ORDER BY rowid",
                            nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_exec(handle, "DETACH salvaged", nullptr, nullptr, nullptr);
    return ok;
}

}  // namespace

std::optional<HistoryRepair> RepairDamagedHistory(const HistoryFiles& files, const LocalTime& now) {
    if (!Exists(files.database) || !StillDamaged(files.database))
        return std::nullopt;
    HistoryRepair repair;
    repair.keptAs = FreeName(DamagedHistoryPath(files.database, now));
    if (!MoveFileExW(files.database.c_str(), repair.keptAs.c_str(), 0)) {
        // Some file systems cannot store the umlaut (a share of a server that
        // knows a code page only, Wine under a locale without it); the name
        // spelled out still says what the file is.
        std::wstring plain = repair.keptAs;
        size_t umlaut = plain.rfind(L'\u00e4');  // in the file's name, never the folder's
        if (umlaut != std::wstring::npos)
            plain.replace(umlaut, 1, L"ae");
        repair.keptAs = FreeName(plain);
        // Fails while the other program has the file open: it stays as it is.
        if (!MoveFileExW(files.database.c_str(), repair.keptAs.c_str(), 0))
            return std::nullopt;
    }
    // A journal left beside it belongs to the damaged file, never to the new
    // one, which it would overwrite with the old pages.
    std::wstring journal = files.database + L"-journal";
    if (Exists(journal))
        MoveFileExW(journal.c_str(), (repair.keptAs + L"-journal").c_str(), 0);

    std::wstring fresh = FolderOf(files.database) + L"\\PfadwerkR-" + std::to_wstring(GetCurrentProcessId()) + L".dat";
    if (!MakeEmptyHistory(files, fresh))
        return std::nullopt;  // the next write starts from the template
    {
        cDatabase db;
        if (db.Open(fresh))
            repair.carried = std::max(0L, SalvageHistoryFile(repair.keptAs, db.Handle()));
    }
    if (!MoveFileExW(fresh.c_str(), files.database.c_str(), 0)) {
        if (!Exists(files.database) || !MergeInto(files.database, fresh))
            repair.carried = 0;
        DeleteFileW(fresh.c_str());
    }
    WriteText(Setting::DamagedHistory, repair.keptAs);
    return repair;
}

std::wstring TakeDamagedHistoryNotice() {
    std::wstring keptAs = ReadText(Setting::DamagedHistory);
    if (!keptAs.empty())
        WriteText(Setting::DamagedHistory, L"");
    return keptAs;
}

bool CompactHistory(const std::wstring& database) {
    std::wstring leftover = FolderOf(database) + L"\\" + kCompactLeftoverFile;
    if (Exists(leftover))
        DeleteFileW(leftover.c_str());
    if (!Exists(database))
        return false;
    cDatabase db;
    return db.Open(database) && db.Compact();
}

void CompressDatabase() {
    CompactHistory(DatabasePath());
}

}  // namespace pw
