#pragma once
#include <optional>
#include <string>
#include <vector>

#include "Database.h"
#include "DateTime.h"
#include "HistoryFiles.h"
#include "VisitSpool.h"
#include "WorkerProtocol.h"

namespace pw {

// Appends the visits in one transaction, all or none. A missing history is
// made from the template first; a damaged one is set aside and rebuilt with
// every visit still readable (RepairDamagedHistory), and the visits go into
// the new one. False when they cannot be stored now (busy beyond the wait,
// read-only, disk full, no template): the caller keeps them for a later try.
bool LogVisits(const HistoryFiles& files, const std::vector<TimedVisit>& visits, const Clock& clock = {});

// One visit at the clock's present moment.
bool LogVisit(const HistoryFiles& files, const VisitReport& visit, const Clock& clock = {});

// The spool beside the history (VisitSpool.h) as a file.

// Adds the visits at the end of the spool and has them on the disk before it
// returns. False when they could not be written.
bool SpoolVisits(const std::wstring& spool, const std::vector<TimedVisit>& visits);

struct SpooledVisits {
    SpoolContents contents;  // consumed counts from `from`
    long long from = 0;
    bool whole = true;  // false: more of the file waits for the next read
};
// What waits in the spool after its first `from` bytes; a spool of any size
// is read a bounded piece at a time. Nothing when nothing waits there.
std::optional<SpooledVisits> ReadSpool(const std::wstring& spool, long long from = 0);

// Removes what a read took, and all before it, from the spool once its
// visits are stored; a cut-off line at the end of a whole read goes with it.
bool DropSpooled(const std::wstring& spool, const SpooledVisits& read);

// True when the spool holds more than its first `from` bytes.
bool SpoolWaiting(const std::wstring& spool, long long from = 0);

enum class LogResult {
    Stored,   // in the history, and what the spool held before them
    Spooled,  // the history took nothing now: waiting in the spool
    Kept,     // neither: the caller still holds them
};

// The worker's write: whatever waits in the spool and then the visits, in one
// transaction; the spool is emptied once they are in. Visits the history
// cannot take now go to the spool instead. `storedAhead` is how much of the
// spool's start is in the history already although it could not be removed
// (another program holds the file): it is passed over, never stored twice.
LogResult LogOrSpool(const HistoryFiles& files,
                     const std::vector<TimedVisit>& visits,
                     long long& storedAhead,
                     const Clock& clock = {});

// Shows the shell's properties dialog of a folder, owned by the asking window.
void ShowFolderProperties(const PropertiesRequest& request);

}  // namespace pw
