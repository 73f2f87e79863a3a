#include <gtest/gtest.h>

#include <algorithm>

#include "Database.h"
#include "IgnoreList.h"
#include "TestHistory.h"
#include "Text.h"

using namespace pw;

namespace {

const IgnoreDisplayPatterns kPatterns{L"Ordner \"%1\"", L"Ordner \"%1\" mitsamt Unterordnern",
                                      L"Alle Ordner, deren Pfad \"%1\" enthält"};

std::wstring Stored(const IgnoreEntry& entry) {
    return StoredIgnoreEntry(entry);
}

}  // namespace

TEST(IgnoreEntries, TypedInputBecomesTheStoredFormOfItsKind) {
    EXPECT_EQ(L"c:\\temp", Stored(FolderIgnoreEntry(L"  c:\\temp\\ ", false)));
    EXPECT_EQ(L"c:\\", Stored(FolderIgnoreEntry(L"c:\\", false)));  // a drive root keeps its backslash
    EXPECT_EQ(L"d:\\archiv*", Stored(FolderIgnoreEntry(L"d:\\archiv", true)));
    EXPECT_EQ(L"c:\\daten''07", Stored(FolderIgnoreEntry(L"c:\\daten'07", false)));
    EXPECT_EQ(L"*foo*", Stored(PathPartIgnoreEntry(L" *foo* ")));
    EXPECT_EQ(L"*o''brien*", Stored(PathPartIgnoreEntry(L"o'brien")));
    // Nothing but blanks, or asterisks, leaves nothing to ignore; nor can the
    // list carry what would read back as another entry.
    EXPECT_FALSE(IsStorableIgnoreEntry(FolderIgnoreEntry(L"   ", true)));
    EXPECT_FALSE(IsStorableIgnoreEntry(PathPartIgnoreEntry(L" ** ")));
    EXPECT_FALSE(IsStorableIgnoreEntry(FolderIgnoreEntry(L"*temp", false)));
    EXPECT_FALSE(IsStorableIgnoreEntry(FolderIgnoreEntry(L"c:\\temp*", false)));
    EXPECT_FALSE(IsStorableIgnoreEntry(PathPartIgnoreEntry(L"a|\\|b")));
    EXPECT_FALSE(IsStorableIgnoreEntry(FolderIgnoreEntry(L"c:\\a|\\\\", false)));
    EXPECT_TRUE(IsStorableIgnoreEntry(FolderIgnoreEntry(L"c:\\a*b", false)));
    EXPECT_TRUE(IsStorableIgnoreEntry(FolderIgnoreEntry(L"c:\\temp*", true)));
    EXPECT_TRUE(IsStorableIgnoreEntry(PathPartIgnoreEntry(L"o'brien")));
}

TEST(IgnoreEntries, StoredFormsReadBackAndShowWithSingleQuotes) {
    IgnoreEntry folder = ParseIgnoreEntry(L"c:\\daten''07");
    EXPECT_EQ((IgnoreEntry{IgnoreForm::Folder, L"c:\\daten'07"}), folder);
    EXPECT_EQ(L"Ordner \"c:\\daten'07\"", IgnoreDisplayText(folder, kPatterns));
    EXPECT_EQ(L"c:\\daten''07", Stored(folder));  // round trip

    IgnoreEntry below = ParseIgnoreEntry(L"d:\\archiv*");
    EXPECT_EQ((IgnoreEntry{IgnoreForm::FolderWithSubfolders, L"d:\\archiv"}), below);
    EXPECT_EQ(L"Ordner \"d:\\archiv\" mitsamt Unterordnern", IgnoreDisplayText(below, kPatterns));

    IgnoreEntry part = ParseIgnoreEntry(L"*entwurf*");
    EXPECT_EQ((IgnoreEntry{IgnoreForm::PathPart, L"entwurf"}), part);
    EXPECT_EQ(L"Alle Ordner, deren Pfad \"entwurf\" enthält", IgnoreDisplayText(part, kPatterns));

    // A "%1" typed by the user stays as typed.
    EXPECT_EQ(L"Ordner \"c:\\%1\"", IgnoreDisplayText({IgnoreForm::Folder, L"c:\\%1"}, kPatterns));
    // Hand-made odd entries are read without running past their ends.
    EXPECT_EQ((IgnoreEntry{IgnoreForm::PathPart, L""}), ParseIgnoreEntry(L"*"));
    EXPECT_EQ((IgnoreEntry{IgnoreForm::Folder, L""}), ParseIgnoreEntry(L""));
}

TEST(IgnoreStrings, SplitJoinAndAppendKeepTheStoredList) {
    const std::wstring list = L"c:\\temp|\\|d:\\archiv*|\\|*entwurf*|\\|";
    std::vector<std::wstring> entries = SplitIgnoreStrings(list);
    EXPECT_EQ((std::vector<std::wstring>{L"c:\\temp", L"d:\\archiv*", L"*entwurf*"}), entries);
    EXPECT_EQ(list, JoinIgnoreStrings(entries));
    EXPECT_EQ(L"", JoinIgnoreStrings({}));

    // Text after the last separator is no entry, and is dropped on appending.
    EXPECT_EQ((std::vector<std::wstring>{L"a", L""}), SplitIgnoreStrings(L"a|\\||\\|rest"));
    EXPECT_TRUE(SplitIgnoreStrings(L"c:\\temp").empty());
    EXPECT_EQ(L"a|\\|c:\\neu|\\|", AppendIgnoreString(L"a|\\|rest", L"c:\\neu"));
    EXPECT_EQ(L"c:\\neu|\\|", AppendIgnoreString(L"", L"c:\\neu"));
}

TEST(IgnoreFilter, BuiltFromTheListInTheStoredGrammar) {
    EXPECT_EQ(
        L"(FoldersProtocol.FolderPath <> 'c:\\temp' AND FoldersProtocol.FolderPath Not Like 'd:\\archiv%' AND "
        L"FoldersProtocol.FolderPath Not Like '%entwurf%')",
        BuildIgnoreFilter(L"c:\\temp|\\|d:\\archiv*|\\|*entwurf*|\\|"));
    EXPECT_EQ(L"(FoldersProtocol.FolderPath <> 'c:\\temp')", BuildIgnoreFilter(L"c:\\temp|\\|"));
    EXPECT_EQ(L"(FoldersProtocol.FolderPath <> 'c:\\daten''07')", BuildIgnoreFilter(L"c:\\daten''07|\\|ignored"));
    // "%" and "_" of a path stay pattern characters; "*" anywhere makes a pattern.
    EXPECT_EQ(L"(FoldersProtocol.FolderPath Not Like 'c:\\a%b_%')", BuildIgnoreFilter(L"c:\\a*b_*|\\|"));
    EXPECT_EQ(L"", BuildIgnoreFilter(L""));
    EXPECT_EQ(L"", BuildIgnoreFilter(L"no separator at all"));

    std::wstring seven;
    for (int i = 0; i < kIgnoreEntryLimit; ++i)
        seven += L"c:\\" + std::to_wstring(i) + L"|\\|";
    std::wstring filter = BuildIgnoreFilter(seven);
    EXPECT_EQ(std::optional<int>(7), IgnoreFilterConditions(filter));
}

TEST(IgnoreFilter, AnEntryCannotLeaveItsQuotes) {
    // Lone quotes of a hand-edited list are doubled; doubled ones stay.
    std::wstring filter = BuildIgnoreFilter(L"x' OR 'a'='a|\\|*y''' OR 1=1 --*|\\|");
    EXPECT_EQ(
        L"(FoldersProtocol.FolderPath <> 'x'' OR ''a''=''a' AND "
        L"FoldersProtocol.FolderPath Not Like '%y'''' OR 1=1 --%')",
        filter);
    EXPECT_EQ(std::optional<int>(2), IgnoreFilterConditions(filter));
}

TEST(IgnoreFilter, OnlyTheBuiltShapePassesTheCheck) {
    EXPECT_EQ(std::optional<int>(0), IgnoreFilterConditions(L""));
    EXPECT_EQ(std::optional<int>(3),
              IgnoreFilterConditions(L"(FoldersProtocol.FolderPath <> 'c:\\temp' AND FoldersProtocol.FolderPath Not "
                                     L"Like 'd:\\archiv%' AND FoldersProtocol.FolderPath Not Like '%entwurf%')"));
    // " AND " inside a literal is text, not a condition.
    EXPECT_EQ(std::optional<int>(1), IgnoreFilterConditions(L"(FoldersProtocol.FolderPath <> 'a AND b')"));

    for (const wchar_t* bad : {
             L"()",
             L" (FoldersProtocol.FolderPath <> 'a')",
             L"(FoldersProtocol.FolderPath <> 'a') ",
             L"(FoldersProtocol.FolderPath <> 'a') OR (1=1)",
             L"(FoldersProtocol.FolderPath <> 'a' OR 1=1)",
             L"(FoldersProtocol.FolderPath <> 'a'' OR 1=1)",
             L"(FoldersProtocol.FolderPath <> 'a');DELETE FROM FoldersProtocol;--)",
             L"(FoldersProtocol.FolderPath <> 'a' AND )",
             L"(FoldersProtocol.FolderPath <> 'a*')",
             L"(FoldersProtocol.FolderPath Not Like 'a')",
             L"(FoldersProtocol.FolderPath not like 'a%')",
             L"(FoldersProtocol.FolderName <> 'a')",
             L"(FoldersProtocol.FolderPath <> 'a'",
             L"(FoldersProtocol.FolderPath <> 'a)",
             L"(FoldersProtocol.FolderPath <> 'a' and FoldersProtocol.FolderPath <> 'b')",
             L"(FoldersProtocol.FolderPath <> 'a\tb')",
         }) {
        EXPECT_FALSE(IsIgnoreFilter(bad)) << std::string(ToUtf8(bad));
    }
    // A multi-string or bytes read as text: NULs inside.
    EXPECT_FALSE(IsIgnoreFilter(std::wstring(L"(FoldersProtocol.FolderPath <> 'a\0b')", 37)));
}

// A hand-edited list with more entries than the limit, or with entries no
// folder path can hold, still gives a filter the check takes; the first
// seven that can name a folder make it, as the lists show them.
TEST(IgnoreFilter, MoreThanTheLimitIsNoFilterAndTheBuilderStopsThere) {
    std::wstring list = L"c:\\a\tb|\\|";
    for (int i = 0; i < 9; ++i)
        list += L"c:\\" + std::to_wstring(i) + L"|\\|";
    std::wstring filter = BuildIgnoreFilter(list);
    EXPECT_EQ(std::optional<int>(kIgnoreEntryLimit), IgnoreFilterConditions(filter));
    EXPECT_NE(filter.find(L"'c:\\6'"), std::wstring::npos);
    EXPECT_EQ(filter.find(L"'c:\\7'"), std::wstring::npos);
    EXPECT_TRUE(IgnoreListHides(list, L"c:\\6"));
    EXPECT_FALSE(IgnoreListHides(list, L"c:\\7"));

    std::wstring eight = filter.substr(0, filter.size() - 1) + L" AND FoldersProtocol.FolderPath <> 'c:\\7')";
    EXPECT_FALSE(IsIgnoreFilter(eight));
}

// The three forms against a real history: which folders each one hides,
// letters of any case (umlauts included) alike.
TEST(IgnoreFilter, HidesWhatEachFormNames) {
    pwtest::ScratchDir dir("ignore-filter");
    ASSERT_TRUE(pwtest::CreateHistory(dir / "Pfadwerk.dat"));
    cDatabase db;
    ASSERT_TRUE(db.Open((dir / "Pfadwerk.dat").wstring())) << db.LastError();
    const std::vector<std::wstring> all{
        L"C:\\Daten",    L"C:\\Daten\\Alt", L"C:\\Daten2", L"C:\\Daten\\Übersicht", L"D:\\Projekte\\Entwurf",
        L"D:\\Entwürfe", L"E:\\Musik"};
    for (const std::wstring& path : all)
        ASSERT_TRUE(db.AppendVisit(path, L"x"));
    auto shown = [&](const IgnoreEntry& entry) {
        std::wstring list = JoinIgnoreStrings({StoredIgnoreEntry(entry)});
        std::wstring filter = BuildIgnoreFilter(list);
        std::vector<std::wstring> paths;
        EXPECT_TRUE(db.Query(L"SELECT FolderPath FROM FoldersProtocol WHERE " + filter + L" ORDER BY rowid;",
                             [&](const cRow& row) {
                                 paths.push_back(row.Text(0));
                                 return true;
                             }));
        // Folders not in the history yet are judged the same way without a
        // query (the import of the folders Windows remembers).
        for (const std::wstring& path : all) {
            bool listed = std::find(paths.begin(), paths.end(), path) != paths.end();
            EXPECT_NE(listed, IgnoreListHides(list, path)) << ToUtf8(path);
        }
        return paths;
    };
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Daten\\Alt", L"C:\\Daten2", L"C:\\Daten\\Übersicht",
                                         L"D:\\Projekte\\Entwurf", L"D:\\Entwürfe", L"E:\\Musik"}),
              shown(FolderIgnoreEntry(L"c:\\daten\\", false)));
    EXPECT_EQ((std::vector<std::wstring>{L"D:\\Projekte\\Entwurf", L"D:\\Entwürfe", L"E:\\Musik"}),
              shown(FolderIgnoreEntry(L"c:\\daten", true)));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Daten", L"C:\\Daten\\Alt", L"C:\\Daten2", L"C:\\Daten\\Übersicht",
                                         L"D:\\Entwürfe", L"E:\\Musik"}),
              shown(PathPartIgnoreEntry(L"entwurf")));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Daten", L"C:\\Daten\\Alt", L"C:\\Daten2", L"D:\\Projekte\\Entwurf",
                                         L"D:\\Entwürfe", L"E:\\Musik"}),
              shown(FolderIgnoreEntry(L"c:\\daten\\übersicht", false)));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\Daten", L"C:\\Daten\\Alt", L"C:\\Daten2", L"C:\\Daten\\Übersicht",
                                         L"D:\\Projekte\\Entwurf", L"E:\\Musik"}),
              shown(PathPartIgnoreEntry(L"ENTWÜRF")));
}
