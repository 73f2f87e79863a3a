// Speed of the folder history: appending a visit, the three list queries read
// the way a list fill reads them, and the daily clean-up with compaction.
//
//   pfadwerk_bench [--schema FILE] [--quick] [--only a|b|c] [--dir DIR]
//
// --schema runs everything against another schema (to compare indexes),
// --quick leaves out the million-row history, --only runs one part. Data files go to DIR
// (default /tmp/pfadwerk-bench); generated histories are kept there and
// reused while the schema is unchanged.
#include <sqlite3.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Database.h"
#include "DateTime.h"
#include "FolderListQuery.h"
#include "FolderListRead.h"
#include "FolderListRows.h"
#include "HistoryQueries.h"
#include "Text.h"

namespace fs = std::filesystem;
using namespace pw;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v)
        sum += x;
    return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

// The moment every generated history ends at; the database's Now() is
// pinned to it so that time frames cut the same rows on every run.
const LocalTime kNow{2026, 12, 10, 12, 0, 0};

struct Options {
    fs::path schema = PFADWERK_SCHEMA;
    fs::path dir = "/tmp/pfadwerk-bench";
    bool quick = false;
    std::string only = "abc";
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// --- realistic folders --------------------------------------------------

struct Folder {
    std::string path, name;  // UTF-8
};

std::vector<Folder> MakeFolders(size_t count, std::mt19937_64& rng) {
    static const char* roots[] = {"C:\\Users\\Anna\\Documents",
                                  "C:\\Users\\Anna\\Desktop",
                                  "C:\\Users\\Anna\\Downloads",
                                  "D:\\Projekte",
                                  "E:\\Fotos",
                                  "\\\\fileserver\\abteilung",
                                  "\\\\nas\\archiv",
                                  "C:\\Program Files",
                                  "D:\\Kunden"};
    static const char* words[] = {
        "Angebote",       "Rechnungen", "Entwürfe",        "Übersicht",     "Berichte",    "Archiv",     "Verträge",
        "Präsentationen", "Bilder",     "Urlaub",          "Steuer",        "Projekt",     "Vorlagen",   "Protokolle",
        "Daten",          "Export",     "Import",          "Sicherung",     "Müller GmbH", "Schäfer AG", "Bauantrag",
        "Korrespondenz",  "Quellcode",  "Release",         "Lieferscheine", "Personal",    "Schulung",   "Messe",
        "Planung",        "Budget",     "Jahresabschluss", "Scans"};
    std::uniform_int_distribution<size_t> root(0, std::size(roots) - 1), word(0, std::size(words) - 1);
    std::uniform_int_distribution<int> depth(1, 4), year(2009, 2026), number(1, 400), kind(0, 3);
    std::set<std::string> seen;
    std::vector<Folder> folders;
    // A few shell objects, as Explorer reports the control panel and the like.
    folders.push_back({"::{21EC2020-3AEA-1069-A2DD-08002B30309D}", "Systemsteuerung"});
    folders.push_back({"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", "Arbeitsplatz"});
    while (folders.size() < count) {
        std::string path = roots[root(rng)], name;
        int levels = depth(rng);
        for (int l = 0; l < levels; ++l) {
            name = words[word(rng)];
            int k = kind(rng);
            if (k <= 1)
                name.append(" ").append(std::to_string(k == 0 ? year(rng) : number(rng)));
            path += "\\" + name;
        }
        std::string key = ToUtf8(FoldCase(FromUtf8(path)));
        if (seen.insert(key).second)
            folders.push_back({path, name});
    }
    return folders;
}

sqlite3* OpenRaw(const fs::path& file, pw::Clock* clock, int flags = SQLITE_OPEN_READWRITE) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, flags, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s: %s\n", file.string().c_str(), db ? sqlite3_errmsg(db) : "?");
        sqlite3_close(db);
        return nullptr;
    }
    // The program's NOCASE must order the indexes, or they would not match
    // what its connections expect.
    RegisterJetFunctions(db, clock);
    sqlite3_busy_timeout(db, 2000);
    return db;
}

// Writes `rows` visits of Zipf-distributed popularity, spread evenly over
// `days` days up to kNow, oldest first as the worker appends them.
bool Generate(const fs::path& file,
              const std::string& schema,
              size_t rows,
              int days,
              size_t folderCount,
              unsigned seed) {
    fs::remove(file);
    pw::Clock clock = [] { return kNow; };
    sqlite3* db = OpenRaw(file, &clock, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!db)
        return false;
    std::mt19937_64 rng(seed);
    std::vector<Folder> folders = MakeFolders(folderCount, rng);
    std::vector<double> weights(folders.size());
    for (size_t i = 0; i < weights.size(); ++i)
        weights[i] = 1.0 / std::pow(static_cast<double>(i + 1), 1.1);
    std::shuffle(folders.begin() + 2, folders.end(), rng);
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());

    bool ok = sqlite3_exec(db, schema.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, "PRAGMA synchronous=OFF; BEGIN;", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok &&
         sqlite3_prepare_v2(db, "INSERT INTO FoldersProtocol (FolderPath, FolderName, DateUsed) VALUES (?1, ?2, ?3)",
                            -1, &insert, nullptr) == SQLITE_OK;
    const long long end = SecondsSinceEpoch(kNow) - 60, span = static_cast<long long>(days) * 86400;
    for (size_t i = 0; ok && i < rows; ++i) {
        const Folder& f = folders[pick(rng)];
        long long at =
            end - span +
            static_cast<long long>(static_cast<double>(span) * static_cast<double>(i) / static_cast<double>(rows));
        std::string date = FormatDbDate(FromSeconds(at));
        sqlite3_bind_text(insert, 1, f.path.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, f.name.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, date.c_str(), -1, SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "generating %s failed: %s\n", file.string().c_str(), sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

// A generated history, made once per size and schema and then reused.
fs::path History(const Options& o, const std::string& schema, size_t rows, int days) {
    std::ostringstream name;
    name << "history-" << rows << "-" << days << "d-" << std::hex << std::hash<std::string>{}(schema) << ".dat";
    fs::path file = o.dir / name.str();
    if (fs::exists(file))
        return file;
    auto start = Clock::now();
    fs::path partial = file;
    partial += ".part";
    if (!Generate(partial, schema, rows, days, rows >= 1000000 ? 5000 : 3000, 42))
        return {};
    fs::rename(partial, file);
    std::printf("  (generated %zu rows over %d days in %.1f s: %s)\n", rows, days, MsSince(start) / 1000,
                file.string().c_str());
    return file;
}

fs::path CopyOf(const fs::path& file, const std::string& leaf) {
    fs::path copy = file.parent_path() / leaf;
    fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
    return copy;
}

// --- (a) appending a visit ----------------------------------------------

void BenchAppend(const fs::path& file, const char* label) {
    const int visits = 200;
    pw::Clock clock = [] { return kNow; };
    std::vector<double> program, raw;

    // The reference: one connection held open, each insert its own commit.
    sqlite3* rawDb = OpenRaw(file, &clock);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(rawDb, "INSERT INTO FoldersProtocol (FolderPath, FolderName, DateUsed) VALUES (?1, ?2, ?3)", -1,
                       &insert, nullptr);
    const std::string date = FormatDbDate(kNow);

    // Taken in turns, so that the other work on the machine weighs on both.
    for (int i = 0; i < visits; ++i) {
        std::string path = "C:\\Users\\Anna\\Documents\\Neu " + std::to_string(i % 37);

        auto start = Clock::now();
        cDatabase db;  // the worker's way: a connection of its own per write
        bool ok = db.Open(file.wstring(), clock) && db.AppendVisits({{FromUtf8(path), L"Neu", kNow}});
        db.Close();
        program.push_back(MsSince(start));
        if (!ok)
            std::fprintf(stderr, "append failed: %s\n", db.LastError().c_str());

        start = Clock::now();
        sqlite3_bind_text(insert, 1, path.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, "Neu", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, date.c_str(), -1, SQLITE_STATIC);
        if (sqlite3_step(insert) != SQLITE_DONE)
            std::fprintf(stderr, "raw insert failed: %s\n", sqlite3_errmsg(rawDb));
        sqlite3_reset(insert);
        raw.push_back(MsSince(start));
    }
    sqlite3_finalize(insert);
    sqlite3_close(rawDb);

    double ratio = Median(program) / Median(raw);
    std::printf(
        "  %-14s open+append+close %7.3f ms (mean %7.3f)   raw insert+commit %7.3f ms (mean %7.3f)   "
        "ratio %.2f  %s (<= 1.50)\n",
        label, Median(program), Mean(program), Median(raw), Mean(raw), ratio, ratio <= 1.5 ? "ok" : "MISSED");
}

// --- (b) the list queries -----------------------------------------------

struct QueryCase {
    const char* label;
    FolderView view;
    const wchar_t* find;
    int timeframe;
    double targetMs;  // at 100k rows
};

const QueryCase kQueries[] = {
    {"last used (14)", FolderView::LastUsed, L"", 0, 5},
    {"search 'über'", FolderView::LastUsed, L"über", 0, 20},
    {"search 'rechnungen 2019'", FolderView::LastUsed, L"rechnungen 2019", 0, 20},
    {"search, no hit", FolderView::LastUsed, L"o'neil", 0, 20},
    {"most used (Alle)", FolderView::MostUsed, L"", 0, 10},
    {"most used 7 Tage", FolderView::MostUsed, L"", 4, 10},
    {"most used 30 Tage", FolderView::MostUsed, L"", 6, 10},
};

// Processor time of this process: what a fill costs, apart from the waiting
// for a processor that the other work on a shared machine causes.
double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct FillTime {
    double wallMs = 0, cpuMs = 0;
    int entries = 0;
};

// One fill's worth of work: connect, read rows until the list is full,
// disconnect.
FillTime FillOnce(const fs::path& file, const QueryCase& q) {
    pw::Clock clock = [] { return kNow; };
    FolderQuery query = BuildFolderQuery(q.view, q.find, q.timeframe, L"");
    FillTime t;
    auto start = Clock::now();
    double cpuStart = CpuMs();
    cDatabase db;
    if (!db.Open(file.wstring(), clock))
        return t;
    cFolderListRows rows(query.limit);
    bool ok = ReadFolderRows(db, q.view, query, rows, [](const FolderRow&) { return true; });
    db.Close();
    t.wallMs = MsSince(start);
    t.cpuMs = CpuMs() - cpuStart;
    t.entries = rows.Count();
    if (!ok)
        std::fprintf(stderr, "query failed: %s\n", db.LastError().c_str());
    return t;
}

void BenchQueries(const fs::path& file, size_t rows, double targetFactor) {
    const int reps = rows >= 1000000 ? 5 : 15;
    std::printf("    %-26s %10s %10s %8s %8s\n", "", "wall", "processor", "entries", "target");
    for (const QueryCase& q : kQueries) {
        FillOnce(file, q);  // warm the cache
        std::vector<double> wall, cpu;
        int entries = 0;
        for (int r = 0; r < reps; ++r) {
            FillTime t = FillOnce(file, q);
            wall.push_back(t.wallMs);
            cpu.push_back(t.cpuMs);
            entries = t.entries;
        }
        double target = q.targetMs * targetFactor;
        std::printf("    %-26s %7.2f ms %7.2f ms %8d %5.0f ms  %s\n", q.label, Median(wall), Median(cpu), entries,
                    target, Median(cpu) <= target ? "ok" : "MISSED");
    }
}

// --- (c) clean-up and compaction ----------------------------------------

void BenchCleanUp(const fs::path& source) {
    fs::path file = CopyOf(source, "cleanup.dat");
    pw::Clock clock = [] { return kNow; };
    auto size = [](const fs::path& p) { return static_cast<double>(fs::file_size(p)) / (1024 * 1024); };
    double before = size(file);

    auto start = Clock::now();
    double cpuStart = CpuMs();
    long deleted = 0;
    {
        cDatabase db;
        // As the worker's clean-up runs it.
        if (!db.Open(file.wstring(), clock) || (deleted = DeleteOlderThan(db, 42)) < 0)
            std::fprintf(stderr, "delete failed: %s\n", db.LastError().c_str());
    }
    double deleteMs = MsSince(start), deleteCpuMs = CpuMs() - cpuStart;
    auto compactStart = Clock::now();
    double compactCpuStart = CpuMs();
    {
        cDatabase db;
        if (!db.Open(file.wstring(), clock) || !db.Compact())
            std::fprintf(stderr, "compaction failed: %s\n", db.LastError().c_str());
    }
    double compactMs = MsSince(compactStart), total = MsSince(start);
    double compactCpuMs = CpuMs() - compactCpuStart, totalCpuMs = deleteCpuMs + compactCpuMs;
    std::printf(
        "    deleted %ld rows in %.0f ms (processor %.0f ms), compacted %.1f MB -> %.1f MB in %.0f ms (processor "
        "%.0f ms); total %.0f ms, processor %.0f ms  target 1000 ms  %s\n",
        deleted, deleteMs, deleteCpuMs, before, size(file), compactMs, compactCpuMs, total, totalCpuMs,
        totalCpuMs <= 1000 ? "ok" : "MISSED");
    fs::remove(file);
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--quick")
            o.quick = true;
        else if (arg == "--schema" && i + 1 < argc)
            o.schema = argv[++i];
        else if (arg == "--dir" && i + 1 < argc)
            o.dir = argv[++i];
        else if (arg == "--only" && i + 1 < argc)
            o.only = argv[++i];
        else {
            std::fprintf(stderr, "usage: %s [--schema FILE] [--quick] [--only a|b|c] [--dir DIR]\n", argv[0]);
            return 2;
        }
    }
    std::string schema = ReadFile(o.schema);
    if (schema.empty()) {
        std::fprintf(stderr, "cannot read the schema %s\n", o.schema.string().c_str());
        return 1;
    }
    fs::create_directories(o.dir);
    std::printf("History benchmark (SQLite %s, schema %s, data in %s)\n", sqlite3_libversion(),
                o.schema.string().c_str(), o.dir.string().c_str());

    fs::path h100k = History(o, schema, 100000, 60);
    fs::path h1m = o.quick ? fs::path() : History(o, schema, 1000000, 60);
    fs::path h200k = History(o, schema, 200000, 84);  // half of it older than 42 days
    if (h100k.empty() || h200k.empty() || (!o.quick && h1m.empty()))
        return 1;

    auto part = [&](char p) { return o.only.find(p) != std::string::npos; };
    if (part('a')) {
        std::printf(
            "\n(a) one visit: the program's open -> AppendVisits -> close against a raw insert with its own "
            "commit on one open connection (median of 200, in turns)\n");
        fs::path empty = o.dir / "append-empty.dat";
        fs::remove(empty);
        sqlite3* db = OpenRaw(empty, nullptr, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        if (!db || sqlite3_exec(db, schema.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return 1;
        sqlite3_close(db);
        BenchAppend(empty, "empty history");
        fs::remove(empty);
        fs::path copy = CopyOf(h100k, "append-100k.dat");
        BenchAppend(copy, "100k rows");
        fs::remove(copy);
    }
    if (part('b')) {
        std::printf(
            "\n(b) list fills: connect, read rows until the list is full, disconnect (medians; the "
            "verdict goes by processor time)\n");
        std::printf("  100k rows:\n");
        BenchQueries(h100k, 100000, 1);
        if (!o.quick) {
            std::printf("  1M rows (target: 10x the 100k target):\n");
            BenchQueries(h1m, 1000000, 10);
        }
    }
    if (part('c')) {
        std::printf(
            "\n(c) clean-up: delete the rows older than 42 days out of 200k, then compact the file in place (the "
            "verdict goes by processor time)\n");
        BenchCleanUp(h200k);
    }
    return 0;
}
