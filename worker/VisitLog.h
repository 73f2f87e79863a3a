#pragma once
#include <string>

#include "DateTime.h"
#include "HistoryFiles.h"
#include "WorkerProtocol.h"

namespace pw {

// Appends one visit. A missing database is first created from the template;
// an existing one that cannot take the row (busy, damaged) drops the visit.
// True when the row was stored.
bool LogVisit(const HistoryFiles& files, const VisitReport& visit, const Clock& clock = {});

// Shows the shell's properties dialog of a folder, owned by the asking window.
void ShowFolderProperties(const PropertiesRequest& request);

}  // namespace pw
