// A scratch history file made from the project's own schema, for tests of
// anything that reads or writes the history.
#pragma once
#include <sqlite3.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "Database.h"

namespace pwtest {

// Creates an empty history file at `path` (replacing one that is there),
// exactly as the shipped template is made.
inline bool CreateHistory(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.string().c_str(), &db) == SQLITE_OK && pw::RegisterJetFunctions(db, nullptr) &&
              sqlite3_exec(db, std::string(pw::HistorySchemaSql()).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// A folder of its own below the temp folder, removed again at the end; named
// with the process too, so that test runs side by side (in other clones on
// the same machine) never share one.
inline std::string ProcessTag() {
#ifdef _WIN32
    return std::to_string(_getpid());
#else
    return std::to_string(getpid());
#endif
}

class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("pfadwerk-test-" + name + "-" + ProcessTag())) {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& leaf) const { return path_ / leaf; }

private:
    std::filesystem::path path_;
};

}  // namespace pwtest
