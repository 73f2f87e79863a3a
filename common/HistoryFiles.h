// Where the history lives, how it comes into being and how it is compacted:
// the one home of these for both programs.
#pragma once
#include <string>

#include "ShellFolders.h"

namespace pw {

constexpr wchar_t kDataFolderName[] = L"Pfadwerk";  // below the local application data
constexpr wchar_t kDatabaseFile[] = L"Pfadwerk.dat";
constexpr wchar_t kCompactLeftoverFile[] = L"PfadwerkC.dat";  // from compactions of earlier builds
constexpr wchar_t kTemplateFile[] = L"Template.dat";          // beside the programs

struct HistoryFiles {
    std::wstring dataFolder;    // created when missing
    std::wstring database;      // Pfadwerk.dat in dataFolder
    std::wstring templateFile;  // the empty history a missing one is made from
};

// The user's data folder, "...\Pfadwerk" below the local application data.
std::wstring DataFolder();
std::wstring DatabasePath();
// This user's history, made from the template beside the given program
// folder (by default the running program's).
HistoryFiles UserHistoryFiles(const std::wstring& programFolder = ProgramFolder());
// A history at a path of the caller's choosing (tests, a scratch copy).
HistoryFiles HistoryFilesAt(const std::wstring& database, const std::wstring& programFolder = ProgramFolder());

// True when the database file is there afterwards. A missing one is copied
// from the template, its folder created first; a file that another program
// has made meanwhile is never overwritten.
bool EnsureHistory(const HistoryFiles& files);

// Compacts the history in place, inside the database's own locking: a write
// of the other program either lands before the compaction or waits for it,
// so none is ever lost. A "PfadwerkC.dat" left over from an earlier build's
// compaction is removed. Silent: a busy or missing file stays as it was.
bool CompactHistory(const std::wstring& database);
// The same for this user's history; both programs.
void CompressDatabase();

}  // namespace pw
