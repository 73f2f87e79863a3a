#include "HistoryFiles.h"

#include <shlobj.h>
#include <windows.h>

#include "Database.h"

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
