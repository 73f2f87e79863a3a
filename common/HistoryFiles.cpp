#include "HistoryFiles.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "Database.h"
#include "Handles.h"
#include "HistorySalvage.h"
#include "Settings.h"
#include "TestRun.h"
#include "Text.h"

namespace pw {
namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

std::wstring DataFolder() {
    return GetShellFolderPath(CSIDL_LOCAL_APPDATA) + L"\\" + kDataFolderName;
}

std::wstring DatabasePath() {
    return DataFolder() + L"\\" + kDatabaseFile;
}

HistoryFiles UserHistoryFiles(const std::wstring& programFolder) {
    return HistoryFilesAt(DatabasePath(), programFolder);
}

HistoryFiles HistoryFilesAt(const std::wstring& database, const std::wstring& programFolder) {
    return {FolderOf(database), database, programFolder + L"\\" + kTemplateFile};
}

std::wstring DamagedHistoryPath(const std::wstring& database, const LocalTime& when) {
    wchar_t stamp[32];
    swprintf(stamp, 32, L"%04d-%02d-%02d-%02d-%02d-%02d", when.year, when.month, when.day, when.hour, when.minute,
             when.second);
    return FolderOf(database) + L"\\" + kDamagedHistoryPrefix + stamp + L".dat";
}

namespace {

// As long as a busy history is waited for: the other program's repair of a
// large history may take longer, and the caller's work then fails as a busy
// write does and is tried again.
constexpr DWORD kRepairLockWaitMs = 2000;

class cRepairLock {
  public:
    cRepairLock() : mutex_(CreateMutexW(nullptr, FALSE, RunScopedName(kHistoryRepairMutex).c_str())) {
        if (!mutex_)
            return;
        DWORD waited = WaitForSingleObject(mutex_.Get(), kRepairLockWaitMs);
        // A holder that ended without letting go may have left its repair
        // half done: the holder now finishes it.
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~cRepairLock() {
        if (held_)
            ReleaseMutex(mutex_.Get());
    }
    cRepairLock(const cRepairLock&) = delete;
    cRepairLock& operator=(const cRepairLock&) = delete;
    explicit operator bool() const { return held_; }

  private:
    cHandle mutex_;
    bool held_ = false;
};

std::wstring FileNameOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool IsEmptyFile(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeHigh == 0 &&
           data.nFileSizeLow == 0;
}

// The same name with "ae" for the umlaut, in the file's name only, never in
// the folder's.
std::wstring PlainSpelling(std::wstring path, size_t folderLength) {
    size_t umlaut = path.find(L'\u00e4', folderLength);
    if (umlaut != std::wstring::npos)
        path.replace(umlaut, 1, L"ae");
    return path;
}

void DeleteHistoryFile(const std::wstring& path) {
    DeleteFileW(path.c_str());
    DeleteFileW((path + L"-journal").c_str());
}

enum class Health { Sound, IndexesOnly, Damaged, Unavailable };

// What integrity_check says of indexes that disagree with their tables,
// which a rebuild of the indexes mends with every row kept.
bool IsIndexProblem(const std::string& problem) {
    auto begins = [&](const char* text) { return problem.rfind(text, 0) == 0; };
    return begins("wrong # of entries in index ") || begins("non-unique entry in index ") ||
           (begins("row ") && problem.find(" from index ") != std::string::npos);
}

// The whole file checked, every page and every index entry: quick_check
// does not compare indexes with their tables, which is damage that fails
// writes all the same. Only a repair may afford it.
Health HealthOf(const std::wstring& path) {
    cDatabase db;
    if (!db.Open(path))
        return db.Damaged() ? Health::Damaged : Health::Unavailable;
    std::vector<std::string> problems;
    bool read = db.Query(L"PRAGMA integrity_check", [&](const cRow& row) {
        problems.push_back(ToUtf8(row.Text(0)));
        return true;
    });
    if (!read)
        return db.Damaged() ? Health::Damaged : Health::Unavailable;
    if (problems.size() == 1 && problems[0] == "ok")
        return Health::Sound;
    return std::all_of(problems.begin(), problems.end(), IsIndexProblem) ? Health::IndexesOnly : Health::Damaged;
}

bool Reindex(const std::wstring& path) {
    cDatabase db;
    return db.Open(path) && sqlite3_exec(db.Handle(), "REINDEX", nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool MakeFromSchema(const std::wstring& path) {
    sqlite3* db = nullptr;
    bool made =
        sqlite3_open_v2(ToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK &&
        RegisterJetFunctions(db, nullptr) &&
        sqlite3_exec(db, std::string(HistorySchemaSql()).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close_v2(db);
    return made;
}

// An empty history at `path`, checked: the template, or the schema built in
// where the template is missing or damaged (a damaged template would give a
// damaged history, set aside again at the next write).
bool MakeEmptyHistory(const HistoryFiles& files, const std::wstring& path) {
    DeleteHistoryFile(path);
    if (CopyFileW(files.templateFile.c_str(), path.c_str(), FALSE) && HealthOf(path) == Health::Sound)
        return true;
    DeleteHistoryFile(path);
    if (MakeFromSchema(path) && HealthOf(path) == Health::Sound)
        return true;
    DeleteHistoryFile(path);
    return false;
}

// Visits in a history being made, -1 when it holds no history (a copy
// that never finished, or one whose visits went into the history by a
// merge), nothing when it cannot be read now.
std::optional<long> VisitsIn(const std::wstring& path) {
    cDatabase db;
    long visits = -1;
    if (db.Open(path) && db.Query(L"SELECT Count(*) FROM FoldersProtocol", [&](const cRow& row) {
            visits = row.Long(0);
            return false;
        }))
        return visits;
    return db.Damaged() ? std::optional<long>(-1) : std::nullopt;
}

// A history is there already (made by an earlier build, which knew no
// repair lock, while a repair was under way): the carried visits join it.
// The history being made loses its visits table in the same transaction, so
// that they are never carried twice, whenever the program ends.
bool MergeInto(const std::wstring& database, const std::wstring& made) {
    cDatabase db;
    if (!db.Open(database))
        return false;
    sqlite3* handle = db.Handle();
    sqlite3_stmt* attach = nullptr;
    bool ok = sqlite3_prepare_v2(handle, "ATTACH ?1 AS made", -1, &attach, nullptr) == SQLITE_OK;
    std::string path = ToUtf8(made);
    if (ok)
        sqlite3_bind_text(attach, 1, path.c_str(), static_cast<int>(path.size()), SQLITE_STATIC);
    ok = ok && sqlite3_step(attach) == SQLITE_DONE;
    sqlite3_finalize(attach);
    if (!ok)
        return false;
    ok = sqlite3_exec(handle, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (ok) {
        ok = sqlite3_exec(handle,
                          "INSERT INTO main.FoldersProtocol (FolderPath, FolderName, DateUsed) "
                          "SELECT FolderPath, FolderName, DateUsed FROM made.FoldersProtocol ORDER BY rowid;"
                          "DROP TABLE made.FoldersProtocol;",
                          nullptr, nullptr, nullptr) == SQLITE_OK &&
             sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        if (!ok)
            sqlite3_exec(handle, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_exec(handle, "DETACH made", nullptr, nullptr, nullptr);
    return ok;
}

// A history being made takes the history's place, or its visits join the
// history that is there. Never deleted before its visits are in the
// history: one that cannot be moved now (a virus scanner reading it) stays
// for the next try, and the history stays missing until then, so that the
// visits waiting for it are never written into an empty one instead.
bool PutInPlace(const std::wstring& database, const std::wstring& made) {
    if (!Exists(database)) {
        // A journal without its database belongs to none: left behind by a
        // history set aside. Beside the new one it would roll old pages into it.
        std::wstring journal = database + L"-journal";
        if (Exists(journal) && !DeleteFileW(journal.c_str()))
            return false;
        if (MoveFileExW(made.c_str(), database.c_str(), MOVEFILE_WRITE_THROUGH))
            return true;
        if (!Exists(database))
            return false;
    }
    if (!MergeInto(database, made))
        return false;
    DeleteHistoryFile(made);  // no visits table left: one that stays is removed next time
    return true;
}

// Where the damaged history a history being made belongs to is kept, in
// either spelling of the name; empty when there is none.
std::wstring KeptHistoryOf(const std::wstring& made) {
    std::wstring folder = FolderOf(made), rest = FileNameOf(made).substr(wcslen(kRepairFilePrefix));
    std::wstring kept = folder + L"\\" + kDamagedHistoryPrefix + rest;
    if (Exists(kept))
        return kept;
    kept = PlainSpelling(kept, folder.size());
    return Exists(kept) ? kept : std::wstring();
}

// Carries the visits of one history being made into the history: a step
// of a repair, or what a repair that ended half way left. Salvage and merge
// each commit whole, so the file is always in one of three states: no
// history (removed), a history without visits (carried into from the
// damaged file first, where it is still there), or the carried visits.
// Returns the visits carried, -1 when they are not in the history yet.
long FinishRepair(const HistoryFiles& files, const std::wstring& made) {
    std::optional<long> visits = VisitsIn(made);
    if (!visits)
        return -1;  // held by another: the next try
    if (*visits < 0) {
        DeleteHistoryFile(made);
        return 0;
    }
    if (*visits == 0) {
        std::wstring kept = KeptHistoryOf(made);
        if (kept.empty()) {
            DeleteHistoryFile(made);
            return 0;
        }
        cDatabase db;
        if (!db.Open(made))
            return -1;
        visits = SalvageHistoryFile(kept, db.Handle());
        if (*visits < 0)
            return -1;  // disk full: the damaged file still has them all
    }
    return PutInPlace(files.database, made) ? *visits : -1;
}

// Every history being made beside the history.
std::vector<std::wstring> RepairFiles(const HistoryFiles& files) {
    std::vector<std::wstring> made;
    WIN32_FIND_DATAW found{};
    cUnique<HANDLE, FindTraits> search(
        FindFirstFileW((files.dataFolder + L"\\" + kRepairFilePrefix + L"*.dat").c_str(), &found));
    if (!search)
        return made;
    do {
        std::wstring name = found.cFileName;
        // The pattern also matches by the short names.
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.rfind(kRepairFilePrefix, 0) == 0 &&
            name.size() > 4 && name.compare(name.size() - 4, 4, L".dat") == 0)
            made.push_back(files.dataFolder + L"\\" + name);
    } while (FindNextFileW(search.Get(), &found));
    return made;
}

// What repairs that ended half way left behind. True when nothing is left.
bool FinishRepairs(const HistoryFiles& files) {
    bool finished = true;
    for (const auto& made : RepairFiles(files))
        finished = FinishRepair(files, made) >= 0 && finished;
    return finished;
}

struct RepairNames {
    std::wstring kept;       // where the damaged history goes
    std::wstring keptPlain;  // the same with "ae" for the umlaut
    std::wstring made;       // the new history until it takes its place
};

// Names for one repair that no file has yet, the numbered ones after the
// first of the same second.
RepairNames NamesFor(const std::wstring& database, const LocalTime& now) {
    std::wstring folder = FolderOf(database);
    std::wstring first = DamagedHistoryPath(database, now);
    std::wstring stamp = first.substr(folder.size() + 1 + wcslen(kDamagedHistoryPrefix));
    stamp.resize(stamp.size() - 4);  // without ".dat"
    for (int n = 1;; ++n) {
        std::wstring rest = stamp + (n > 1 ? L"-" + std::to_wstring(n) : L"") + L".dat";
        std::wstring kept = folder + L"\\" + kDamagedHistoryPrefix + rest;
        RepairNames names{kept, PlainSpelling(kept, folder.size()), folder + L"\\" + kRepairFilePrefix + rest};
        if (!Exists(names.kept) && !Exists(names.keptPlain) && !Exists(names.made))
            return names;
    }
}

// Sets the damaged history aside and puts a new one with every visit still
// readable in its place.
std::optional<HistoryRepair> SetAside(const HistoryFiles& files, const LocalTime& now) {
    RepairNames names = NamesFor(files.database, now);
    // Made before the damaged file moves, so that from then on a program
    // ended at any point leaves a file that names the damaged one.
    if (!MakeEmptyHistory(files, names.made))
        return std::nullopt;
    HistoryRepair repair;
    repair.keptAs = names.kept;
    if (!MoveFileExW(files.database.c_str(), repair.keptAs.c_str(), MOVEFILE_WRITE_THROUGH)) {
        // Some file systems cannot store the umlaut (a share of a server that
        // knows a code page only, Wine under a locale without it); the name
        // spelled out still says what the file is.
        repair.keptAs = names.keptPlain;
        // Fails while the other program has the file open: it stays as it is.
        if (!MoveFileExW(files.database.c_str(), repair.keptAs.c_str(), MOVEFILE_WRITE_THROUGH)) {
            DeleteHistoryFile(names.made);
            return std::nullopt;
        }
    }
    // A journal left beside it belongs to the damaged file, never to the new
    // one, which it would overwrite with the old pages.
    std::wstring journal = files.database + L"-journal";
    if (Exists(journal))
        MoveFileExW(journal.c_str(), (repair.keptAs + L"-journal").c_str(), MOVEFILE_WRITE_THROUGH);
    // At once: whatever happens next, the user learns where the old file is.
    WriteText(Setting::DamagedHistory, repair.keptAs);
    repair.carried = std::max(0L, FinishRepair(files, names.made));
    return repair;
}

// A history left empty by a copy that never finished holds nothing to keep.
std::optional<HistoryRepair> ReplaceEmpty(const HistoryFiles& files) {
    std::wstring made = files.dataFolder + L"\\" + kRepairFilePrefix + L"neu.dat";
    if (!MakeEmptyHistory(files, made))
        return std::nullopt;
    if (!MoveFileExW(made.c_str(), files.database.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteHistoryFile(made);
        return std::nullopt;
    }
    return HistoryRepair{};
}

}  // namespace

bool EnsureHistory(const HistoryFiles& files) {
    if (Exists(files.database))
        return true;
    DWORD attributes = GetFileAttributesW(files.dataFolder.c_str());
    if (!files.dataFolder.empty() &&
        (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))) {
        int rc = SHCreateDirectoryExW(nullptr, files.dataFolder.c_str(), nullptr);
        if (rc != ERROR_SUCCESS && rc != ERROR_ALREADY_EXISTS && rc != ERROR_FILE_EXISTS)
            return false;
    }
    cRepairLock lock;
    if (!lock)
        return false;
    // The visits of a repair that ended half way, before any new visit. One
    // that cannot be carried now (held by another program) is tried again
    // at the next write instead of an empty history in its place.
    if (!FinishRepairs(files))
        return Exists(files.database);
    if (Exists(files.database))
        return true;
    std::wstring made = files.dataFolder + L"\\" + kRepairFilePrefix + L"neu.dat";
    if (!MakeEmptyHistory(files, made))
        return false;
    // Never over an existing file: the other program may have made it since.
    if (MoveFileExW(made.c_str(), files.database.c_str(), MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteHistoryFile(made);
    return Exists(files.database);
}

void FinishInterruptedRepairs(const HistoryFiles& files) {
    if (RepairFiles(files).empty())
        return;
    cRepairLock lock;
    if (lock)
        FinishRepairs(files);
}

std::optional<HistoryRepair> RepairDamagedHistory(const HistoryFiles& files, const LocalTime& now) {
    if (!Exists(files.database))
        return std::nullopt;
    cRepairLock lock;
    if (!lock)
        return std::nullopt;
    FinishRepairs(files);
    if (!Exists(files.database))
        return std::nullopt;
    if (IsEmptyFile(files.database))
        return ReplaceEmpty(files);
    switch (HealthOf(files.database)) {
        case Health::Sound:
        case Health::Unavailable:
            return std::nullopt;
        case Health::IndexesOnly:
            // In place, every visit kept: nothing to tell the user.
            if (Reindex(files.database) && HealthOf(files.database) == Health::Sound)
                return HistoryRepair{};
            break;
        case Health::Damaged:
            break;
    }
    return SetAside(files, now);
}

std::wstring TakeDamagedHistoryNotice() {
    std::wstring keptAs = ReadText(Setting::DamagedHistory);
    if (!keptAs.empty())
        WriteText(Setting::DamagedHistory, L"");
    return keptAs;
}

bool CompactHistory(const std::wstring& database) {
    std::wstring leftover = FolderOf(database) + L"\\" + kCompactLeftoverFile;
    if (Exists(leftover))
        DeleteFileW(leftover.c_str());
    if (!Exists(database))
        return false;
    cDatabase db;
    return db.Open(database) && db.Compact();
}

void CompressDatabase() {
    CompactHistory(DatabasePath());
}

}  // namespace pw
