// Speed of the import of the folders Windows remembers, under Wine: a user
// with 5,000 remembered folders (shortcuts in the Recent folder, a BagMRU
// tree, a jump list, the file dialogs' list; partly the same folders), planted
// in a test run of the benchmark's own. Each run measures the dialog from its
// call until it lists every folder (every source read, sifted, shown) and
// the import of all of them after OK, into a history of 20,000 visits.
//
//   pfadwerk_import_bench [RUNS]      (tools/import-bench.sh runs it)
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "DestList.h"
#include "DestListBytes.h"
#include "HistoryFiles.h"
#include "ShellFolders.h"
#include "TestRunScope.h"
#include "WindowsHistory.h"
#include "WindowsHistoryFixture.h"
#include "frmImport.h"
#include "import_res.h"

using namespace pw;
using Steady = std::chrono::steady_clock;

namespace {

constexpr int kFolders = 5000;

// Folders 0..4999 below root: 0..1999 as shortcuts, 1500..3499 in the view
// records, 3000..4999 in a jump list, every tenth in the file dialogs' list.
void Plant(const std::wstring& root, const std::wstring& recent) {
    std::vector<std::wstring> folders;
    CreateDirectoryW(root.c_str(), nullptr);
    for (int group = 0; group < kFolders / 50; ++group)
        CreateDirectoryW((root + L"\\G" + std::to_wstring(group)).c_str(), nullptr);
    for (int i = 0; i < kFolders; ++i) {
        folders.push_back(root + L"\\G" + std::to_wstring(i / 50) + L"\\Ordner " + std::to_wstring(i));
        CreateDirectoryW(folders.back().c_str(), nullptr);
    }
    std::uint64_t when = test::Now();
    for (int i = 0; i < 2000; ++i)
        test::MakeShortcut(recent + L"\\Ordner " + std::to_wstring(i) + L".lnk", folders[i], when);
    // The view records: one node per group folder, its fifty folders below.
    std::vector<Bytes> rootItems = ItemIds(*CheckedItemIdList(test::ItemIdsOf(root)));
    std::wstring bagRoot = kBagMruKeys[2];
    std::wstring key = bagRoot;
    for (const Bytes& item : rootItems) {
        test::SetBinary(key, L"0", item);
        key += L"\\0";
    }
    for (int i = 1500; i < 3500; ++i) {
        int group = i / 50;
        std::wstring groupKey = key + L"\\" + std::to_wstring(group - 30);
        if (i % 50 == 0 || i == 1500) {
            Bytes groupIds = test::ItemIdsOf(root + L"\\G" + std::to_wstring(group));
            test::SetBinary(key, std::to_wstring(group - 30), ItemIds(*CheckedItemIdList(groupIds)).back());
        }
        Bytes ids = test::ItemIdsOf(folders[i]);
        test::SetBinary(groupKey, std::to_wstring(i % 50), ItemIds(*CheckedItemIdList(ids)).back());
    }
    // One jump list of 2,000 entries (version 3).
    std::vector<pwtest::DestEntry> entries;
    for (int i = 3000; i < 5000; ++i)
        entries.push_back({std::u16string(folders[i].begin(), folders[i].end()), when - i * 10000000ull});
    Bytes stream = pwtest::DestListBytes(3, entries);
    std::wstring jumps = recent + L"\\" + kAutomaticDestinationsFolder;
    CreateDirectoryW(jumps.c_str(), nullptr);
    test::MakeJumpList(jumps + L"\\bench.automaticDestinations-ms", stream);
    // The file dialogs' list: every tenth folder.
    Bytes order;
    for (int i = 0, n = 0; i < kFolders; i += 10, ++n) {
        Bytes value = test::Utf16z(L"notepad.exe"), ids = test::ItemIdsOf(folders[i]);
        value.insert(value.end(), ids.begin(), ids.end());
        test::SetBinary(kLastVisitedPidlMruKey, std::to_wstring(n), value);
        Bytes number = test::Numbers({static_cast<std::uint32_t>(n)});
        order.insert(order.end(), number.begin(), number.end());
    }
    Bytes end = test::Numbers({0xFFFFFFFFu});
    order.insert(order.end(), end.begin(), end.end());
    test::SetBinary(kLastVisitedPidlMruKey, L"MRUListEx", order);
}

// This process's processor time so far: the machine may be shared, and
// the wall-clock figures then tell of the others as well.
double CpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

struct Run {
    double shown = 0, imported = 0, closed = 0;
    double shownCpu = 0, importedCpu = 0;
    int listed = 0;
    long added = 0;
};

Run* gRun = nullptr;
Steady::time_point gStart, gOk;
double gStartCpu = 0, gOkCpu = 0;

BOOL CALLBACK FindDialog(HWND w, LPARAM out) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK Watch(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || gRun->shown > 0 || !IsWindowEnabled(GetDlgItem(dialog, IDOK)))
        return;
    UpdateWindow(dialog);
    gRun->shown = std::chrono::duration<double, std::milli>(Steady::now() - gStart).count();
    gRun->shownCpu = CpuMs() - gStartCpu;
    gRun->listed = ListView_GetItemCount(GetDlgItem(dialog, IDC_LVW_IMPORT));
    KillTimer(nullptr, timer);
    gOk = Steady::now();
    gOkCpu = CpuMs();
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// The import is done when the dialog hides. Wine without a window manager
// then waits two seconds for one to confirm the hiding (its "wait timed
// out" on the console), which no Windows does: that wait is shown apart.
Steady::time_point gHidden;
LRESULT CALLBACK WatchHiding(int code, WPARAM wParam, LPARAM lParam) {
    auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGING && gRun && gRun->shown > 0 &&
        gHidden == Steady::time_point{} && (reinterpret_cast<WINDOWPOS*>(call->lParam)->flags & SWP_HIDEWINDOW)) {
        wchar_t cls[16] = {};
        GetClassNameW(call->hwnd, cls, 16);
        if (std::wstring(cls) == L"#32770")
            gHidden = Steady::now();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 3;
    pwtest::TestRunScope scope;
    if (!scope.Joined()) {
        std::fprintf(stderr, "no test run of its own\n");
        return 1;
    }
    cComInit com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    std::wstring recent = GetShellFolderPath(CSIDL_RECENT);
    std::wstring root = CurrentTestRun()->folder + L"\\Ordner";
    Plant(root, recent);

    // A history of 20,000 visits of other folders, copied afresh for each run.
    std::wstring base = CurrentTestRun()->folder + L"\\Basis.dat";
    // The template beside the programs: testbin\..\dist.
    HistoryFiles files = HistoryFilesAt(base, ProgramFolder() + L"\\..\\dist");
    if (!EnsureHistory(files)) {
        std::fprintf(stderr, "no history could be made from %ls\n", files.templateFile.c_str());
        return 1;
    }
    {
        cDatabase db;
        db.Open(base);
        std::vector<TimedVisit> visits;
        for (int i = 0; i < 20000; ++i)
            visits.push_back(
                {L"D:\\Früher\\" + std::to_wstring(i % 3000), L"x", {2024, 1 + i % 12, 1 + i % 28, 12, 0, 0}});
        db.AppendVisits(visits);
    }
    // Where the time goes: each reader, and the per-folder calls of the
    // sifting and the import.
    auto timed = [](const char* what, auto&& work) {
        auto start = Steady::now();
        size_t n = work();
        std::printf("  %-28s %6.0f ms (%zu)\n", what,
                    std::chrono::duration<double, std::milli>(Steady::now() - start).count(), n);
    };
    std::vector<FoundFolder> all;
    auto keep = [&all](std::vector<FoundFolder> found) {
        all.insert(all.end(), found.begin(), found.end());
        return found.size();
    };
    timed("Recent folder", [&] { return keep(ReadRecentFolder(recent)); });
    timed("RecentDocs", [&] { return keep(ReadRecentDocs(recent)); });
    timed("TypedPaths", [&] { return keep(ReadTypedPaths()); });
    timed("file dialogs", [&] { return keep(ReadFileDialogLists()); });
    timed("view records (BagMRU)", [&] { return keep(ReadShellBags()); });
    timed("jump lists", [&] { return keep(ReadJumpLists(recent)); });
    std::vector<FoundFolder> merged = MergeFoundFolders(all);
    timed("folder exists, each", [&] {
        return static_cast<size_t>(
            std::count_if(merged.begin(), merged.end(), [](const FoundFolder& f) { return IsExistingFolder(f.path); }));
    });
    timed("network drive, each", [&] {
        auto isNetwork = NetworkFolderTest();
        return static_cast<size_t>(
            std::count_if(merged.begin(), merged.end(), [&](const FoundFolder& f) { return isNetwork(f.path); }));
    });
    timed("display name, each", [&] {
        size_t n = 0;
        for (const FoundFolder& f : merged)
            n += !FolderDisplayName(f.path).empty();
        return n;
    });

    timed("import, without the dialog", [&] {
        std::wstring database = CurrentTestRun()->folder + L"\\Direkt.dat";
        CopyFileW(base.c_str(), database.c_str(), FALSE);
        std::vector<TimedVisit> visits;
        for (const FoundFolder& f : merged)
            visits.push_back({f.path, L"x", {2024, 6, 1, 12, 0, 0}});
        cDatabase db;
        db.Open(database);
        cVisitImport import(db);
        import.Begin();
        import.Add(visits);
        import.Commit();
        return static_cast<size_t>(import.Added());
    });

    std::vector<double> shown, imported, shownCpu, importedCpu;
    for (int r = 0; r < runs; ++r) {
        std::wstring database = CurrentTestRun()->folder + L"\\Lauf" + std::to_wstring(r) + L".dat";
        CopyFileW(base.c_str(), database.c_str(), FALSE);
        Run run;
        gRun = &run;
        ImportRequest request;
        request.history = HistoryFilesAt(database);
        UINT_PTR timer = SetTimer(nullptr, 0, 5, &Watch);
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchHiding, nullptr, GetCurrentThreadId());
        gHidden = {};
        gStart = Steady::now();
        gStartCpu = CpuMs();
        ImportResult result = frmImport().Show(request);
        run.closed = std::chrono::duration<double, std::milli>(Steady::now() - gOk).count();
        run.importedCpu = CpuMs() - gOkCpu;
        run.imported = gHidden == Steady::time_point{}
                           ? run.closed
                           : std::chrono::duration<double, std::milli>(gHidden - gOk).count();
        UnhookWindowsHookEx(hook);
        KillTimer(nullptr, timer);
        run.added = result.added;
        std::printf(
            "run %d: %d folders listed in %.0f ms, %.0f ms processor time (every source read, sifted, "
            "shown); %ld imported in %.0f ms, %.0f ms processor time (%.0f ms until the dialog was gone)\n",
            r + 1, run.listed, run.shown, run.shownCpu, run.added, run.imported, run.importedCpu, run.closed);
        shown.push_back(run.shown);
        imported.push_back(run.imported);
        shownCpu.push_back(run.shownCpu);
        importedCpu.push_back(run.importedCpu);
    }
    std::printf(
        "median of %d runs: dialog listing %d remembered folders %.0f ms (processor %.0f ms), import %.0f ms "
        "(processor %.0f ms)\n",
        runs, kFolders, Median(shown), Median(shownCpu), Median(imported), Median(importedCpu));
    return 0;
}
