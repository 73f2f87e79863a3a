#include "DataFiles.h"

#include <windows.h>
#include <shlobj.h>

#include "Database.h"
#include "ShellFolders.h"

namespace pw {

std::wstring DataFolder() { return GetShellFolderPath(CSIDL_LOCAL_APPDATA) + L"\\Pfadwerk"; }
std::wstring DatabasePath() { return DataFolder() + L"\\Pfadwerk.dat"; }
std::wstring CompactTargetPath() { return DataFolder() + L"\\PfadwerkC.dat"; }

bool CompressDatabaseFile(const std::wstring& source, const std::wstring& target) {
    if (GetFileAttributesW(source.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES && !DeleteFileW(target.c_str())) return false;

    // The writer lock keeps the other program from appending a visit that
    // would miss the copy; reading it for the copy is still allowed.
    cDatabase guard;
    if (!guard.Open(source) || !guard.Execute(L"BEGIN IMMEDIATE")) return false;
    bool copied = false;
    {
        cDatabase reader;
        copied = reader.Open(source) && reader.CompactInto(target);
    }
    guard.Execute(L"ROLLBACK");
    guard.Close();
    if (!copied) {
        DeleteFileW(target.c_str());
        return false;
    }
    // One step: Pfadwerk.dat is either the old file or the compacted one. It
    // fails while the other program has the file open; the compaction is
    // then skipped until its next occasion.
    if (!MoveFileExW(target.c_str(), source.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(target.c_str());
        return false;
    }
    return true;
}

void CompressDatabase() { CompressDatabaseFile(DatabasePath(), CompactTargetPath()); }

}  // namespace pw
