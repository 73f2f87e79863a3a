// Carrying what can still be read out of a damaged history. Portable: the
// worker and the main program use it through RepairDamagedHistory
// (HistoryFiles.h); the tests and the fuzzer drive it directly.
#pragma once
#include <string>

struct sqlite3;

namespace pw {

// Copies every visit that can still be read from `damaged` into the history
// `target` (the visits table of a fresh one), keeping each visit's rowid so
// that visits of the same second keep their order. Rows are read from the
// table, skipping the pages that cannot be read, and then from the index
// that holds every column, which may still have what a lost table page had.
// A row with no path or no readable date is none the programs could have
// written, and stays behind. Returns the visits carried, -1 when the target
// could not be written.
long SalvageVisits(sqlite3* damaged, sqlite3* target);

// The same from a file, read as it lies: no lock is taken, no journal is
// rolled back into it, nothing in it is changed.
long SalvageHistoryFile(const std::wstring& damagedPath, sqlite3* target);

// A file path as an SQLite URI ("file:///C:/..."), every character that a
// URI gives a meaning of its own written as %XX.
std::string SqliteFileUri(const std::wstring& path);

}  // namespace pw
