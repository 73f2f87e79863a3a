#include "CleanUp.h"

#include "Database.h"
#include "HistoryFiles.h"
#include "Settings.h"

namespace pw {

bool cCleanUp::CleanUpCheck() {
    if (lRememberedCleanUpDay == 0)
        lRememberedCleanUpDay = ReadNumber(Setting::LastCleanUpDay);
    int today = Now().day;
    if (today == lRememberedCleanUpDay)
        return false;
    lRememberedCleanUpDay = today;
    return true;
}

std::wstring cCleanUp::DeleteStatement(long days) {
    return L"DELETE * From FoldersProtocol WHERE ((FoldersProtocol.DateUsed)<DateAdd('d',-" + std::to_wstring(days) +
           L",Now()))";
}

long cCleanUp::CleanUpOldRecords(const std::wstring& database) {
    long days = KeptDays();

    long deleted = -1;
    cDatabase db;
    // A month's worth of rows touches many pages of both indexes; a larger
    // cache keeps the delete from spilling them to the journal twice.
    if (!db.Open(database, clock_) || !db.Execute(L"PRAGMA cache_size=-65536") ||
        !db.Execute(DeleteStatement(days), &deleted))
        deleted = -1;
    db.Close();
    if (deleted > 0)
        CompactHistory(database);
    // Written also after a failure: the remembered day is already set, so
    // this run would not try again today anyway.
    WriteNumber(Setting::LastCleanUpDay, Now().day);
    return deleted;
}

}  // namespace pw
