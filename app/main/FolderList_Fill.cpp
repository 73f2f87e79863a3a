// The fill of the folder list from the history file, made from its template
// when it is missing and repaired once when it is damaged.
#include <windows.h>

#include <optional>

#include "FolderIcons.h"
#include "FolderList.h"
#include "FolderListRows.h"
#include "LocaleTexts.h"
#include "ResText.h"
#include "Text.h"
#include "app_res.h"

namespace pw {

bool cFolderList::OpenHistory(cDatabase& db, const HistoryFiles& files) {
    if (db.Open(files.database))
        return true;
    if (GetFileAttributesW(files.database.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    EnsureHistory(files);
    events_->HistoryCreated();
    return db.Open(files.database);
}

HistoryReadProblem cFolderList::FillFromHistoryFile(const HistoryFiles& files, const HistoryFill& fill) {
    HistoryReadProblem problem;
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool damaged = false;
        problem = {};
        {
            cDatabase db;
            bool open = OpenHistory(db, files);
            if (fill.historyOpened && attempt == 0)
                fill.historyOpened();
            if (!open) {
                problem.description = db.LastError();
                problem.number = db.Damaged() ? db.LastErrorCode() : cDatabase::kCannotOpen;
                damaged = db.Damaged();
            }
            if (!FillFromHistory(open ? &db : nullptr, fill) && open) {
                problem.description = db.LastError();
                problem.number = db.LastErrorCode();
                damaged = db.Damaged();
            }
        }
        if (!damaged || attempt > 0 || !RepairDamagedHistory(files))
            break;
        events_->HistoryRepaired();
    }
    return problem;
}

}  // namespace pw
