// A scratch history file made from the project's own schema, for tests of
// anything that reads or writes the history.
#pragma once
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#ifndef PFADWERK_SCHEMA
#error "PFADWERK_SCHEMA must name common/schema.sql"
#endif

namespace pwtest {

inline std::string SchemaText() {
    std::ifstream in(PFADWERK_SCHEMA);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Creates an empty history file at `path` (replacing one that is there).
inline bool CreateHistory(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.string().c_str(), &db) == SQLITE_OK &&
              sqlite3_exec(db, SchemaText().c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// A folder of its own below the temp folder, removed again at the end.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("pfadwerk-test-" + name)) {
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
