// The import of the folders Windows remembers, on fixtures made in the test
// run's scratch places: shortcuts in the Recent folder, the registry's lists
// with item ids the shell made, a BagMRU tree and jump lists of each DestList
// version the reader claims. The readers, the sifting and the dialog.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <map>

#include "DestList.h"
#include "DestListBytes.h"
#include "HistoryFiles.h"
#include "MainWindowSupport.h"
#include "ModalScript.h"
#include "Registry.h"
#include "TestRun.h"
#include "Text.h"
#include "WindowsHistory.h"
#include "WindowsHistoryFixture.h"
#include "frmImport.h"
#include "import_res.h"

namespace pw::test {
namespace {

std::string LocalDate(std::uint64_t fileTime) {
    FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME s{}, l{};
    FileTimeToSystemTime(&utc, &s);
    SystemTimeToTzSpecificLocalTime(nullptr, &s, &l);
    return FormatDbDate({l.wYear, l.wMonth, l.wDay, l.wHour, l.wMinute, l.wSecond});
}

// Every source with folders of its own, a file and a folder that is gone.
class WindowsHistoryImport : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetUser();
        Clean();
        recent_ = GetShellFolderPath(CSIDL_RECENT);
        ASSERT_FALSE(recent_.empty());
        ASSERT_NE(std::wstring::npos, recent_.find(CurrentTestRun()->folder));  // never the user's
        root_ = ScratchFolder(L"pfadwerk-import");
        DeleteTree(root_);
        for (const wchar_t* leaf :
             {L"", L"\\Verknüpft", L"\\Explorer", L"\\Getippt", L"\\Dialog", L"\\XP", L"\\Bag", L"\\Bag\\Tief",
              L"\\Bag\\Tief\\Ganz tief", L"\\Sprung1", L"\\Sprung3", L"\\Sprung4", L"\\Geheim", L"\\Netzlaufwerk"})
            CreateDirectoryW((root_ + leaf).c_str(), nullptr);
        HANDLE file = CreateFileW(File().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
        start_ = SecondsBefore(Now(), 2);

        // The Recent folder: shortcuts to two folders, a file and a folder that is gone.
        ASSERT_TRUE(MakeShortcut(recent_ + L"\\Verknüpft.lnk", Folder(L"Verknüpft"), kLinkTime));
        ASSERT_TRUE(MakeShortcut(recent_ + L"\\Explorer.lnk", Folder(L"Explorer"), kLinkTime - 1));
        ASSERT_TRUE(MakeShortcut(recent_ + L"\\Datei.lnk", File(), kLinkTime));
        ASSERT_TRUE(MakeShortcut(recent_ + L"\\Weg.lnk", Folder(L"Weg"), kLinkTime));
        // RecentDocs\Folder names the shortcut of "Explorer".
        Bytes linkIds = ItemIdsOf(recent_ + L"\\Explorer.lnk");
        std::vector<Bytes> items = ItemIds(*CheckedItemIdList(linkIds));
        ASSERT_FALSE(items.empty());
        SetBinary(kRecentDocsFolderKey, L"0", Utf16z(L"Explorer") + JoinItemIds({items.back()}));
        SetBinary(kRecentDocsFolderKey, L"MRUListEx", Numbers({0, 0xFFFFFFFF}));
        SetText(kTypedPathsKey, L"url1", Folder(L"Getippt") + L"\\");
        SetText(kTypedPathsKey, L"url2", Folder(L"Netzlaufwerk"));
        SetText(kTypedPathsKey, L"url3", L"Computer");
        SetBinary(kLastVisitedPidlMruKey, L"0", Utf16z(L"notepad.exe") + ItemIdsOf(Folder(L"Dialog")));
        SetBinary(kLastVisitedPidlMruKey, L"MRUListEx", Numbers({0, 0xFFFFFFFF}));
        SetBinary(kLastVisitedMruKey, L"a", Utf16z(L"notepad.exe") + Utf16z(Folder(L"XP")));
        SetText(kLastVisitedMruKey, L"MRUList", L"a");
        // A BagMRU tree down to "Ganz tief", one key per item of its path.
        std::vector<Bytes> bag = ItemIds(*CheckedItemIdList(ItemIdsOf(Folder(L"Bag\\Tief\\Ganz tief"))));
        ASSERT_GE(bag.size(), 3u);
        std::wstring key = kBagMruKeys[2];
        for (const Bytes& item : bag) {
            SetBinary(key, L"0", item);
            SetBinary(key, L"MRUListEx", Numbers({0, 0xFFFFFFFF}));
            key += L"\\0";
        }
        // Jump lists of each version, with a file and a folder that is gone.
        std::wstring jumps = recent_ + L"\\" + kAutomaticDestinationsFolder;
        CreateDirectoryW(jumps.c_str(), nullptr);
        for (std::uint32_t version : kDestListVersions) {
            std::wstring n = std::to_wstring(version);
            auto u16 = [](const std::wstring& s) { return std::u16string(s.begin(), s.end()); };
            Bytes stream = pwtest::DestListBytes(version, {{u16(Folder(L"Sprung" + n)), kJumpTime + version},
                                                           {u16(File()), kJumpTime},
                                                           {u16(Folder(L"Weg")), kJumpTime},
                                                           {u16(Folder(L"Geheim")), kJumpTime}});
            ASSERT_TRUE(MakeJumpList(jumps + L"\\v" + n + L".automaticDestinations-ms", stream));
        }
    }
    void TearDown() override {
        Clean();
        DeleteTree(root_);
        ForgetUser();
    }
    void Clean() {
        for (const wchar_t* key : {kRecentDocsFolderKey, kTypedPathsKey, kLastVisitedPidlMruKey, kLastVisitedMruKey})
            RegDeleteTreeW(HKEY_CURRENT_USER, key);
        for (const wchar_t* key : kBagMruKeys)
            RegDeleteTreeW(HKEY_CURRENT_USER, key);
        if (!recent_.empty())
            DeleteTree(recent_);
    }
    std::wstring Folder(const std::wstring& leaf) const { return root_ + L"\\" + leaf; }
    std::wstring File() const { return root_ + L"\\Notizen.txt"; }

    // What the dialog offers, folder by folder.
    std::map<std::wstring, FoundFolder> Offered(bool network = false) {
        FolderChecks checks;
        checks.isNetwork = [](const std::wstring& p) { return p.find(L"Netz") != std::wstring::npos; };
        checks.isFolder = &IsExistingFolder;
        checks.isIgnored = [](const std::wstring& p) { return p.find(L"Geheim") != std::wstring::npos; };
        checks.inHistory = [](const std::vector<std::wstring>& p) { return std::vector<bool>(p.size()); };
        ImportCandidates sifted = SiftForImport(ReadWindowsHistory(), checks);
        std::map<std::wstring, FoundFolder> offered;
        for (const auto& c : sifted.local)
            offered[c.folder.path] = c.folder;
        for (const auto& c : network ? ReachableFolders(sifted.network, checks) : std::vector<ImportCandidate>{})
            offered[c.folder.path] = c.folder;
        return offered;
    }

    cComInit com_;                                                     // shell links, item ids and compound files
    static constexpr std::uint64_t kLinkTime = 133000000000000000ull;  // 2022
    static constexpr std::uint64_t kJumpTime = 133300000000000000ull;  // 2023
    std::wstring recent_, root_;
    std::uint64_t start_ = 0;
};

TEST_F(WindowsHistoryImport, EverySourceGivesItsFoldersWithTheirDates) {
    std::map<std::wstring, FoundFolder> offered = Offered();
    auto at = [&](const std::wstring& leaf) -> const FoundFolder& {
        static const FoundFolder none;
        auto it = offered.find(Folder(leaf));
        EXPECT_NE(offered.end(), it) << ToUtf8(leaf);
        return it == offered.end() ? none : it->second;
    };
    EXPECT_EQ(kLinkTime, at(L"Verknüpft").when);
    EXPECT_EQ(kSourceRecentFolder, at(L"Verknüpft").sources);
    // Its shortcut gives the date; the list's key only "no later than" for
    // all but its newest entry, and this one is the newest.
    EXPECT_EQ(kSourceRecentFolder | kSourceRecentDocs, at(L"Explorer").sources);
    EXPECT_GE(at(L"Explorer").when, start_);
    EXPECT_EQ(kSourceTypedPaths, at(L"Getippt").sources);
    EXPECT_GE(at(L"Getippt").when, start_);
    EXPECT_EQ(kSourceFileDialogs, at(L"Dialog").sources);
    EXPECT_EQ(kSourceFileDialogs, at(L"XP").sources);
    for (const wchar_t* leaf : {L"Bag", L"Bag\\Tief", L"Bag\\Tief\\Ganz tief"}) {
        EXPECT_EQ(kSourceShellBags, at(leaf).sources);
        EXPECT_GE(at(leaf).when, start_);
    }
    for (std::uint32_t version : kDestListVersions) {
        EXPECT_EQ(kSourceJumpList, at(L"Sprung" + std::to_wstring(version)).sources);
        EXPECT_EQ(kJumpTime + version, at(L"Sprung" + std::to_wstring(version)).when);
    }
    // Left out: a file, a folder that is gone, an ignored one, a network
    // folder until asked for, and what is no path at all.
    for (const std::wstring& path : {File(), Folder(L"Weg"), Folder(L"Geheim"), Folder(L"Netzlaufwerk")})
        EXPECT_EQ(0u, offered.count(path)) << ToUtf8(path);
    EXPECT_EQ(1u, Offered(true).count(Folder(L"Netzlaufwerk")));
}

// The paths of many lists, their folders kept between them, are the
// shell's own answers: for siblings and their parent in any order, a file,
// a drive, a folder gone since its list was made and a place that is no
// folder of the file system.
TEST_F(WindowsHistoryImport, ItemIdPathsAreTheShellsOwn) {
    std::wstring gone = Folder(L"Weg");
    ASSERT_TRUE(CreateDirectoryW(gone.c_str(), nullptr));
    Bytes goneIds = ItemIdsOf(gone);
    ASSERT_TRUE(RemoveDirectoryW(gone.c_str()));
    std::vector<Bytes> lists = {ItemIdsOf(Folder(L"Bag\\Tief\\Ganz tief")),
                                ItemIdsOf(Folder(L"Bag")),
                                ItemIdsOf(Folder(L"Bag\\Tief")),
                                ItemIdsOf(Folder(L"Dialog")),
                                ItemIdsOf(File()),
                                goneIds,
                                ItemIdsOf(L"C:\\"),
                                ItemIdsOf(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}"),
                                ItemIdsOf(Folder(L"Bag\\Tief\\Ganz tief"))};
    for (const Bytes& list : lists)
        ASSERT_GT(list.size(), 2u);
    cItemIdPaths paths;
    for (int round = 0; round < 2; ++round) {
        for (const Bytes& list : lists) {
            wchar_t shell[MAX_PATH] = {};
            SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(list.data()), shell);
            EXPECT_EQ(std::wstring(shell), paths.PathOf(list)) << ToUtf8(shell);
        }
    }
    EXPECT_EQ(Folder(L"Bag\\Tief"), paths.PathOf(lists[2]));
    EXPECT_EQ(L"", paths.PathOf(lists[7]));
}

class ImportDialog : public WindowsHistoryImport {
  protected:
    void SetUp() override {
        WindowsHistoryImport::SetUp();
        database_ = FreshScratchHistory(ScratchFolder(L"pfadwerk-import-history"));
        ASSERT_FALSE(database_.empty());
        WriteText(Setting::IgnoreStrings, L"*geheim*|\\|");
        request_.history = HistoryFilesAt(database_, DistFolder());
        request_.isNetwork = [](const std::wstring& p) { return p.find(L"Netz") != std::wstring::npos; };
        request_.presenter = &boxes_;
    }
    void TearDown() override {
        DeleteTree(ScratchFolder(L"pfadwerk-import-history"));
        WindowsHistoryImport::TearDown();
    }
    std::map<std::wstring, std::string> Rows() {
        std::map<std::wstring, std::string> rows;
        cDatabase db;
        EXPECT_TRUE(db.Open(database_));
        db.Query(L"SELECT FolderPath, DateUsed FROM FoldersProtocol", [&](const cRow& r) {
            rows[r.Text(0)] = FormatDbDate(*r.Date(1));
            return true;
        });
        return rows;
    }
    static bool Ready(HWND d) { return IsWindowEnabled(GetDlgItem(d, IDOK)) != FALSE; }
    static std::vector<std::wstring> Listed(HWND d) {
        HWND list = GetDlgItem(d, IDC_LVW_IMPORT);
        std::vector<std::wstring> paths;
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            wchar_t text[MAX_PATH] = {};
            ListView_GetItemText(list, i, 0, text, MAX_PATH);
            paths.push_back(text);
        }
        return paths;
    }
    static bool Has(const std::vector<std::wstring>& paths, const std::wstring& path) {
        return std::find(paths.begin(), paths.end(), path) != paths.end();
    }

    std::wstring database_;
    ImportRequest request_;
    cMessageBoxLog boxes_;
};

TEST_F(ImportDialog, OkTakesTheTickedFoldersOverOnceCancelChangesNothing) {
    {
        cModalScript script({[](HWND d) {
            if (!Ready(d))
                return false;
            Press(d, IDCANCEL);
            return true;
        }});
        EXPECT_FALSE(frmImport().Show(request_).imported);
    }
    EXPECT_TRUE(Rows().empty());

    size_t listed = 0;
    ImportResult result;
    {
        cModalScript script({[&](HWND d) {
            if (!Ready(d))
                return false;
            EXPECT_EQ(L"Verlauf aus Windows übernehmen", TextOf(d));
            std::vector<std::wstring> paths = Listed(d);
            listed = paths.size();
            EXPECT_TRUE(Has(paths, Folder(L"Sprung4")));
            EXPECT_FALSE(Has(paths, Folder(L"Geheim")));  // the ignore list's
            EXPECT_FALSE(Has(paths, Folder(L"Netzlaufwerk")));
            EXPECT_EQ(IDOK, LOWORD(SendMessageW(d, DM_GETDEFID, 0, 0)));
            Press(d, IDOK);
            return true;
        }});
        result = frmImport().Show(request_);
    }
    EXPECT_TRUE(result.imported);
    EXPECT_EQ(static_cast<long>(listed), result.added);
    std::map<std::wstring, std::string> rows = Rows();
    EXPECT_EQ(listed, rows.size());
    EXPECT_EQ(LocalDate(kLinkTime), rows[Folder(L"Verknüpft")]);
    EXPECT_EQ(LocalDate(kJumpTime + 1), rows[Folder(L"Sprung1")]);
    EXPECT_TRUE(boxes_.boxes.empty());

    // A second import finds nothing new and adds nothing.
    {
        cModalScript script({[&](HWND d) {
            if (!Ready(d))
                return false;
            EXPECT_TRUE(Listed(d).empty());
            Press(d, IDOK);
            return true;
        }});
        EXPECT_EQ(0, frmImport().Show(request_).added);
    }
    EXPECT_EQ(listed, Rows().size());
}

TEST_F(ImportDialog, NetworkFoldersComeOnRequestAndUntickedOnesStayOut) {
    cModalScript script({[&](HWND d) {
                             if (!Ready(d))
                                 return false;
                             std::vector<std::wstring> before = Listed(d);
                             EXPECT_FALSE(Has(before, Folder(L"Netzlaufwerk")));
                             CheckDlgButton(d, IDC_CHK_IMPORT_NETWORK, BST_CHECKED);
                             Press(d, IDC_CHK_IMPORT_NETWORK);
                             return true;
                         },
                         [&](HWND d) {
                             EXPECT_TRUE(Has(Listed(d), Folder(L"Netzlaufwerk")));
                             // None ticked, then one: only that one is taken over.
                             Press(d, IDC_CMD_IMPORT_NONE);
                             return true;
                         },
                         [&](HWND d) {
                             std::vector<std::wstring> paths = Listed(d);
                             auto at = std::find(paths.begin(), paths.end(), Folder(L"Netzlaufwerk"));
                             EXPECT_NE(paths.end(), at);
                             HWND list = GetDlgItem(d, IDC_LVW_IMPORT);
                             int index = static_cast<int>(at - paths.begin());
                             ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
                             ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED,
                                                   LVIS_SELECTED | LVIS_FOCUSED);
                             SetFocus(list);
                             PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
                             PostMessageW(list, WM_KEYUP, VK_SPACE, 0xC0000001);
                             return true;
                         },
                         [&](HWND d) {
                             EXPECT_EQ(L"1 von " + std::to_wstring(Listed(d).size()) + L" Ordnern ausgewählt",
                                       TextOf(GetDlgItem(d, IDC_LBL_IMPORT_COUNTS)));
                             Press(d, IDOK);
                             return true;
                         }});
    ImportResult result = frmImport().Show(request_);
    EXPECT_EQ(1, result.added);
    std::map<std::wstring, std::string> rows = Rows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(Folder(L"Netzlaufwerk"), rows.begin()->first);
}

}  // namespace
}  // namespace pw::test
