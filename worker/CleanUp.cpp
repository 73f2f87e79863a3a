#include "CleanUp.h"

#include "Database.h"
#include "HistoryFiles.h"
#include "HistoryQueries.h"
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

long cCleanUp::CleanUpOldRecords(const std::wstring& database) {
    long days = KeptDays();

    long deleted = -1;
    cDatabase db;
    if (db.Open(database, clock_))
        deleted = DeleteOlderThan(db, days);
    db.Close();
    if (deleted > 0)
        CompactHistory(database);
    // Written also after a failure: the remembered day is already set, so
    // this run would not try again today anyway.
    WriteNumber(Setting::LastCleanUpDay, Now().day);
    return deleted;
}

}  // namespace pw
