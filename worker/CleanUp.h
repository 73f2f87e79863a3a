// Once a day the worker deletes rows older than the kept period and, when it
// deleted any, compacts the history file.
#pragma once
#include <string>

#include "DateTime.h"

namespace pw {

class cCleanUp {
  public:
    explicit cCleanUp(Clock clock = {}) : clock_(std::move(clock)) {}

    // Run after each stored visit: true when the clean-up is due today and
    // has not been armed yet (the remembered day is then set to today).
    bool CleanUpCheck();

    // The work of tmrCleanUpOldRecords. Returns the rows deleted, -1 when the
    // database could not be opened or the delete failed.
    long CleanUpOldRecords(const std::wstring& database);

  private:
    LocalTime Now() const { return clock_ ? clock_() : SystemLocalTime(); }

    Clock clock_;
    long lRememberedCleanUpDay = 0;
};

}  // namespace pw
