// The readers of the raw bytes Windows keeps of remembered folders, and the
// sifting of what they found, on bytes made here.
#include <gtest/gtest.h>

#include <algorithm>

#include "DestList.h"
#include "DestListBytes.h"
#include "FoundFolders.h"
#include "ItemIdList.h"
#include "Text.h"

using namespace pw;

namespace {

Bytes Item(std::uint8_t fill, size_t size) {
    Bytes item(size, fill);
    item[0] = static_cast<std::uint8_t>(size);
    item[1] = static_cast<std::uint8_t>(size >> 8);
    return item;
}

Bytes Utf16z(const std::u16string& text) {
    Bytes out;
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr std::uint64_t kTime = 133500000000000000ull;  // a FILETIME in 2024

}  // namespace

TEST(ItemIdLists, CheckedOnlyWhenEveryItemLiesWithinTheData) {
    Bytes list = JoinItemIds({Item(0x1F, 20), Item(0x2F, 25), Item(0x31, 40)});
    auto checked = CheckedItemIdList(list + Bytes{1, 2, 3});  // what follows the end mark is not the list's
    ASSERT_TRUE(checked);
    EXPECT_EQ(list, *checked);
    EXPECT_EQ((std::vector<Bytes>{Item(0x1F, 20), Item(0x2F, 25), Item(0x31, 40)}), ItemIds(*checked));

    EXPECT_FALSE(CheckedItemIdList(Bytes(list.begin(), list.end() - 1)));     // no end mark
    EXPECT_FALSE(CheckedItemIdList(Bytes(list.begin(), list.begin() + 30)));  // an item runs past the data
    EXPECT_FALSE(CheckedItemIdList(Bytes{2, 0, 0, 0}));                       // an item of its size field alone
    EXPECT_FALSE(CheckedItemIdList(Bytes{0xFF, 0xFF, 1, 2}));
    EXPECT_FALSE(CheckedItemIdList(Bytes{}));
    std::vector<Bytes> many(kMaxItemIds + 1, Item(7, 3));
    EXPECT_FALSE(CheckedItemIdList(JoinItemIds(many)));

    // A BagMRU value: one item, with or without its end mark.
    EXPECT_EQ(Item(5, 9), *SingleItemId(Item(5, 9)));
    EXPECT_EQ(Item(5, 9), *SingleItemId(Item(5, 9) + Bytes{0, 0}));
    EXPECT_FALSE(SingleItemId(Item(5, 9) + Item(6, 4)));
    EXPECT_FALSE(SingleItemId(Bytes{9, 0, 1}));
}

TEST(ItemIdLists, OrderListsAndNamedValues) {
    Bytes order{2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 5, 0, 0, 0};
    EXPECT_EQ((std::vector<std::uint32_t>{2, 0, 1}), MruListEx(order));
    EXPECT_EQ((std::vector<std::uint32_t>{2}), MruListEx(Bytes{2, 0, 0, 0, 7, 0}));  // a torn number is no entry
    EXPECT_EQ((std::vector<std::wstring>{L"c", L"a", L"b"}), MruListLetters(L"cacb"));

    Bytes list = JoinItemIds({Item(0x1F, 20), Item(0x31, 30)});
    auto named = SplitNamedItemIds(Utf16z(u"explorer.exe") + list + Bytes{9, 9});
    ASSERT_TRUE(named);
    EXPECT_EQ(L"explorer.exe", named->name);
    EXPECT_EQ(list, named->itemIds);
    EXPECT_FALSE(SplitNamedItemIds(Bytes{'a', 0, 'b', 0}));       // the name never ends
    EXPECT_FALSE(SplitNamedItemIds(Utf16z(u"x") + Bytes{0, 0}));  // the desktop alone

    EXPECT_EQ(L"C:\\Daten", *LastVisitedMruPath(Utf16z(u"notepad.exe") + Utf16z(u"C:\\Daten")));
    EXPECT_FALSE(LastVisitedMruPath(Utf16z(u"notepad.exe") + Bytes{'C', 0, ':', 0}));
}

TEST(DestLists, EachClaimedVersionReadsPathDateAndPin) {
    std::vector<pwtest::DestEntry> entries{{u"C:\\Projekte", kTime, false}, {u"D:\\Fotos\\Ünterwegs", kTime + 9, true}};
    for (std::uint32_t version : kDestListVersions) {
        auto list = ParseDestList(pwtest::DestListBytes(version, entries));
        ASSERT_TRUE(list) << version;
        ASSERT_EQ(2u, list->entries.size()) << version;
        EXPECT_EQ(L"C:\\Projekte", list->entries[0].path);
        EXPECT_EQ(kTime, list->entries[0].lastUsed);
        EXPECT_FALSE(list->entries[0].pinned);
        EXPECT_EQ(L"D:\\Fotos\\Ünterwegs", list->entries[1].path);
        EXPECT_EQ(kTime + 9, list->entries[1].lastUsed);
        EXPECT_TRUE(list->entries[1].pinned);
    }
    EXPECT_FALSE(ParseDestList(pwtest::DestListBytes(2, entries)));  // a version not known is skipped whole
    EXPECT_FALSE(ParseDestList(Bytes(31, 0)));
}

TEST(DestLists, DamageEndsTheListWithoutReadingPastIt) {
    Bytes stream = pwtest::DestListBytes(3, {{u"C:\\A", kTime}, {u"C:\\B", kTime}});
    // The last entry torn off: the first stays.
    auto torn = ParseDestList(Bytes(stream.begin(), stream.end() - 3));
    ASSERT_TRUE(torn);
    EXPECT_EQ(1u, torn->entries.size());
    // A path length far past the stream, and a count far past the entries.
    Bytes longPath = stream;
    longPath[32 + 128] = 0xFF;
    longPath[32 + 129] = 0xFF;
    EXPECT_TRUE(ParseDestList(longPath)->entries.empty());
    Bytes manyEntries = stream;
    manyEntries[4] = manyEntries[5] = manyEntries[6] = manyEntries[7] = 0xFF;
    EXPECT_EQ(2u, ParseDestList(manyEntries)->entries.size());
}

TEST(FoundFolders, PathsAreTakenAsTheHistoryKeepsFolders) {
    EXPECT_EQ(L"C:\\Daten", NormalFolderPath(L"C:\\Daten\\"));
    EXPECT_EQ(L"c:\\", NormalFolderPath(L"c:"));
    EXPECT_EQ(L"C:\\", NormalFolderPath(L"C:\\"));
    EXPECT_EQ(L"\\\\server\\share\\x", NormalFolderPath(L"\\\\?\\UNC\\server\\share\\x"));
    EXPECT_EQ(L"C:\\Lang", NormalFolderPath(L"\\\\?\\C:\\Lang"));
    for (const wchar_t* not_a_folder :
         {L"", L"Daten", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", L"shell:Recent", L"knownfolder:{x}",
          L"\\\\server", L"\\\\server\\", L"C:\\a\\\\b", L"C:\\a:stream", L"C:\\a\x01", L"http://x/y"})
        EXPECT_EQ(L"", NormalFolderPath(not_a_folder)) << ToUtf8(not_a_folder);
}

TEST(FoundFolders, OneEntryPerFolderWithTheNewestExactDateAndEverySource) {
    std::vector<FoundFolder> found{
        {L"C:\\Daten\\", 100, true, kSourceRecentFolder},
        {L"c:\\daten", 300, false, kSourceTypedPaths},  // newer, but only "no later than"
        {L"C:\\DATEN", 200, true, kSourceShellBags},
        {L"D:\\Nur\\Ungefähr", 50, false, kSourceFileDialogs},
        {L"::{shell}", 999, true, kSourceJumpList},
        {L"E:\\Neu", 400, true, kSourceJumpList},
    };
    std::vector<FoundFolder> merged = MergeFoundFolders(found);
    ASSERT_EQ(3u, merged.size());
    EXPECT_EQ(L"E:\\Neu", merged[0].path);
    EXPECT_EQ(L"C:\\DATEN", merged[1].path);
    EXPECT_EQ(200u, merged[1].when);
    EXPECT_EQ(kSourceRecentFolder | kSourceTypedPaths | kSourceShellBags, merged[1].sources);
    EXPECT_EQ(L"D:\\Nur\\Ungefähr", merged[2].path);
    EXPECT_EQ(50u, merged[2].when);
}

TEST(FoundFolders, SiftingKeepsExistingLocalFoldersNeitherIgnoredNorKnown) {
    std::vector<FoundFolder> found{
        {L"C:\\Neu", 5, true, kSourceRecentFolder},
        {L"C:\\Bekannt", 5, true, kSourceRecentFolder},
        {L"C:\\Geheim\\X", 5, true, kSourceRecentFolder},
        {L"C:\\Weg", 5, true, kSourceRecentFolder},
        {L"N:\\Team", 5, true, kSourceRecentFolder},
        {L"\\\\srv\\share\\Da", 5, true, kSourceRecentFolder},
        {L"\\\\srv\\share\\Fort", 5, true, kSourceRecentFolder},
    };
    std::vector<std::wstring> askedHistory;
    FolderChecks checks;
    checks.isNetwork = [](const std::wstring& p) { return p.starts_with(L"N:"); };
    checks.isFolder = [](const std::wstring& p) { return p != L"C:\\Weg" && p != L"\\\\srv\\share\\Fort"; };
    checks.isIgnored = [](const std::wstring& p) { return p.starts_with(L"C:\\Geheim"); };
    checks.inHistory = [&](const std::vector<std::wstring>& paths) {
        askedHistory = paths;
        std::vector<bool> known;
        for (const auto& p : paths)
            known.push_back(p == L"C:\\Bekannt");
        return known;
    };
    ImportCandidates sifted = SiftForImport(found, checks);
    ASSERT_EQ(1u, sifted.local.size());
    EXPECT_EQ(L"C:\\Neu", sifted.local[0].folder.path);
    // Ignored folders are not even looked up.
    EXPECT_EQ(std::find(askedHistory.begin(), askedHistory.end(), L"C:\\Geheim\\X"), askedHistory.end());
    // Network folders wait, unchecked, until the user asks for them.
    ASSERT_EQ(3u, sifted.network.size());
    std::vector<ImportCandidate> reachable = ReachableFolders(sifted.network, checks);
    ASSERT_EQ(2u, reachable.size());
    EXPECT_EQ(L"N:\\Team", reachable[0].folder.path);
    EXPECT_EQ(L"\\\\srv\\share\\Da", reachable[1].folder.path);
    EXPECT_TRUE(reachable[1].network);
}
