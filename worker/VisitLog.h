#pragma once
#include <string>
#include <vector>

#include "Database.h"
#include "DateTime.h"
#include "HistoryFiles.h"
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

// Shows the shell's properties dialog of a folder, owned by the asking window.
void ShowFolderProperties(const PropertiesRequest& request);

}  // namespace pw
