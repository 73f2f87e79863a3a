// A damaged history: whatever the file holds, the salvage reads what it can
// into the new history and never writes anything that history refuses.
#include <sqlite3.h>

#include <cstring>

#include "Database.h"
#include "FuzzInput.h"
#include "HistorySalvage.h"

using namespace pw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 4096)
        return 0;
    sqlite3* damaged = nullptr;
    sqlite3_open_v2(":memory:", &damaged, SQLITE_OPEN_READWRITE, nullptr);
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(size ? size : 1));
    if (size)
        std::memcpy(copy, data, size);
    sqlite3_deserialize(damaged, "main", copy, size, size,
                        SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY);

    sqlite3* target = nullptr;
    sqlite3_open_v2(":memory:", &target, SQLITE_OPEN_READWRITE, nullptr);
    RegisterJetFunctions(target, nullptr);
    PW_FUZZ_CHECK(sqlite3_exec(target, std::string(HistorySchemaSql()).c_str(), nullptr, nullptr, nullptr) ==
                  SQLITE_OK);
    long carried = SalvageVisits(damaged, target);
    PW_FUZZ_CHECK(carried >= 0);

    sqlite3_stmt* check = nullptr;
    sqlite3_prepare_v2(target, "PRAGMA integrity_check", -1, &check, nullptr);
    PW_FUZZ_CHECK(sqlite3_step(check) == SQLITE_ROW &&
                  std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok") == 0);
    sqlite3_finalize(check);
    sqlite3_close_v2(target);
    sqlite3_close_v2(damaged);
    return 0;
}
