// Where the history lives, how it comes into being and how it is compacted:
// the one home of these for both programs.
#pragma once
#include <optional>
#include <string>

#include "DateTime.h"
#include "ShellFolders.h"

namespace pw {

constexpr wchar_t kDataFolderName[] = L"Pfadwerk";  // below the local application data
constexpr wchar_t kDatabaseFile[] = L"Pfadwerk.dat";
constexpr wchar_t kCompactLeftoverFile[] = L"PfadwerkC.dat";  // from compactions of earlier builds
constexpr wchar_t kTemplateFile[] = L"Template.dat";          // beside the programs
// A damaged history is kept under this name, followed by when it was found.
constexpr wchar_t kDamagedHistoryPrefix[] = L"Pfadwerk-beschädigt-";

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

// The name a damaged history is kept under, beside the history: what it is
// and since when, "Pfadwerk-beschädigt-2026-12-07-17-15-00.dat".
std::wstring DamagedHistoryPath(const std::wstring& database, const LocalTime& when);

struct HistoryRepair {
    std::wstring keptAs;  // where the damaged file lies now
    long carried = 0;     // visits carried into the new history
};

// For a history that reported itself damaged: checks that it is damaged
// still (the other program may have repaired it meanwhile), sets it aside
// under DamagedHistoryPath (never deleted; a journal goes with it), makes a
// new history from the template and carries every visit that can still be
// read into it. The main window is told by the notice below. Nothing when
// the file is sound, or cannot be set aside now because the other program
// has it open: the caller's write fails as any busy write does.
std::optional<HistoryRepair> RepairDamagedHistory(const HistoryFiles& files, const LocalTime& now = SystemLocalTime());

// Where the last damaged history was set aside, once: the value is cleared
// as it is taken. Empty when there was no repair since the last call.
std::wstring TakeDamagedHistoryNotice();

// Compacts the history in place, inside the database's own locking: a write
// of the other program either lands before the compaction or waits for it,
// so none is ever lost. A "PfadwerkC.dat" left over from an earlier build's
// compaction is removed. Silent: a busy or missing file stays as it was.
bool CompactHistory(const std::wstring& database);
// The same for this user's history; both programs.
void CompressDatabase();

}  // namespace pw
