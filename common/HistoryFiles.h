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
// A history being made, beside the history, until it takes the history's
// place: "PfadwerkR-" followed by the rest of the name the damaged file it
// carries the visits of is kept under ("PfadwerkR-2026-12-07-17-15-00.dat").
// One that a program ended in the middle left behind is finished by the next.
constexpr wchar_t kRepairFilePrefix[] = L"PfadwerkR-";
// Held by either program around every check, repair and making of the
// history, so that neither sets aside what the other has just made.
constexpr wchar_t kHistoryRepairMutex[] = L"Local\\Pfadwerk.HistoryRepair";

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

// True when the database file is there afterwards. A repair that ended half
// way is finished first; a history still missing is copied from the
// template (the schema built in where the template is missing or damaged),
// its folder created first. A new history takes its place whole or not at
// all, and never over a file that another program has made meanwhile.
bool EnsureHistory(const HistoryFiles& files);

// The name a damaged history is kept under, beside the history: what it is
// and since when, "Pfadwerk-beschädigt-2026-12-07-17-15-00.dat".
std::wstring DamagedHistoryPath(const std::wstring& database, const LocalTime& when);

struct HistoryRepair {
    std::wstring keptAs;  // where the damaged file lies now
    long carried = 0;     // visits carried into the new history
};

// For a history that reported itself damaged: checks the whole file (the
// other program may have repaired it meanwhile). Indexes that disagree with
// their tables are rebuilt in place, every visit kept. An empty file is
// replaced by a new history. Anything else damaged is set aside under
// DamagedHistoryPath (never deleted; a journal goes with it), the notice
// below written at once, and a new history with every visit that can still
// be read takes its place. Nothing when the file is sound, or cannot be
// checked or set aside now (the other program has it open, or is repairing
// it): the caller's write fails as any busy write does.
std::optional<HistoryRepair> RepairDamagedHistory(const HistoryFiles& files, const LocalTime& now = SystemLocalTime());

// Finishes what a repair that ended half way left beside the history (a
// killed program, a file held by another): the visits carried out of a
// damaged history go into the history, or are carried first. The worker
// calls it as it starts; EnsureHistory and RepairDamagedHistory do so first.
void FinishInterruptedRepairs(const HistoryFiles& files);

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
