// A scratch history file made from the project's own schema, for tests of
// anything that reads or writes the history.
#pragma once
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "Database.h"
#include "Text.h"

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

// Damaging a history file as a failing disk or a stray program would.
constexpr long kHistoryPage = 4096;

inline std::vector<char> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<char>& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The pages (numbered from 1) of one kind past the first: 0x0D the visits
// table's leaves (the only table with rowids), 0x0A index leaves.
inline std::vector<long> PagesOfKind(const std::vector<char>& file, char kind) {
    std::vector<long> pages;
    for (long n = 2; n * kHistoryPage <= static_cast<long>(file.size()); ++n)
        if (file[(n - 1) * kHistoryPage] == kind)
            pages.push_back(n);
    return pages;
}

inline void OverwritePage(std::vector<char>& file, long number) {
    std::mt19937 rng(static_cast<unsigned>(number));
    for (long i = (number - 1) * kHistoryPage; i < number * kHistoryPage; ++i)
        file[i] = static_cast<char>(rng());
}

inline std::vector<char> RandomBytes(size_t size, unsigned seed) {
    std::vector<char> bytes(size);
    std::mt19937 rng(seed);
    for (char& c : bytes)
        c = static_cast<char>(rng());
    return bytes;
}

// The root page of a table or index of the history.
inline long RootPage(const std::filesystem::path& file, const std::string& name) {
    pw::cDatabase db;
    long root = 0;
    if (db.Open(file.wstring()))
        db.Query(L"SELECT rootpage FROM sqlite_schema WHERE name = '" + std::wstring(name.begin(), name.end()) + L"'",
                 [&](const pw::cRow& row) {
                     root = row.Long(0);
                     return false;
                 });
    return root;
}

// Damage that a new visit meets and that leaves every visit readable: the
// date index's root (every append writes there) and two of the table's
// leaves (their rows are still in the index over path, name and date).
inline std::vector<char> DamageMendably(const std::filesystem::path& file) {
    long dateIndexRoot = RootPage(file, "FoldersProtocol_DateUsed");
    std::vector<char> bytes = FileBytes(file);
    std::vector<long> leaves = PagesOfKind(bytes, 0x0D);
    if (leaves.size() < 8 || dateIndexRoot < 2)
        return {};
    OverwritePage(bytes, leaves[3]);
    OverwritePage(bytes, leaves[leaves.size() / 2]);
    OverwritePage(bytes, dateIndexRoot);
    WriteBytes(file, bytes);
    return bytes;
}

// Damage that no quick check finds: the summary's date index left as it was
// before `later` visits were stored, as a tool writing the tables alone
// would leave it; it has as many entries as its table, but not theirs. A
// twin of the index, kept out of the schema meanwhile, trades trees with it.
inline bool StaleSummaryDateIndex(const std::filesystem::path& file, const std::vector<pw::TimedVisit>& later) {
    auto exec = [&](const std::string& sql) {
        sqlite3* db = nullptr;
        bool ok = sqlite3_open(file.string().c_str(), &db) == SQLITE_OK && pw::RegisterJetFunctions(db, nullptr) &&
                  sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    };
    const std::string twin = "CREATE INDEX StaleTwin ON FolderSummary (LastUsed, LastRowid)";
    if (!exec(twin))
        return false;
    std::string twinRoot = std::to_string(RootPage(file, "StaleTwin"));
    std::string ownRoot = std::to_string(RootPage(file, "FolderSummary_LastUsed"));
    pw::cDatabase db;
    bool stored = exec("PRAGMA writable_schema = ON; DELETE FROM sqlite_schema WHERE name = 'StaleTwin'") &&
                  db.Open(file.wstring()) && db.AppendVisits(later);
    db.Close();
    return stored &&
           exec(
               "PRAGMA writable_schema = ON; INSERT INTO sqlite_schema VALUES ('index', 'StaleTwin', "
               "'FolderSummary', " +
               ownRoot + ", '" + twin + "'); UPDATE sqlite_schema SET rootpage = " + twinRoot +
               " WHERE name = 'FolderSummary_LastUsed'") &&
           exec("DROP INDEX StaleTwin");
}

inline std::string IntegrityCheck(const std::filesystem::path& file) {
    pw::cDatabase db;
    std::string verdict = "cannot open";
    if (db.Open(file.wstring()))
        db.Query(L"PRAGMA integrity_check", [&](const pw::cRow& row) {
            verdict = pw::ToUtf8(row.Text(0));
            return false;
        });
    return verdict;
}

}  // namespace pwtest
