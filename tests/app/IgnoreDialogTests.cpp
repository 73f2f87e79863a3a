// The ignore list's windows on a scratch registry: the entry dialog with its
// three forms, and the ignore manager adding, changing, removing and writing
// back; the stored list and its filter.
#include <windows.h>
#include <windowsx.h>

#include "IgnoreStore.h"
#include "MainWindowSupport.h"
#include "ModalScript.h"
#include "frmIgnoreEntry.h"
#include "frmIgnoreManager.h"
#include "ignore_res.h"

namespace pw::test {
namespace {

const std::wstring kExampleList = L"c:\\daten''07|\\|d:\\archiv*|\\|*entwurf*|\\|";

class IgnoreDialogs : public ::testing::Test {
  protected:
    void SetUp() override { ForgetUser(); }
    void TearDown() override { ForgetUser(); }

    static HWND Child(HWND dialog, int id) { return GetDlgItem(dialog, id); }
    static bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    static void Type(HWND dialog, int id, const std::wstring& text) { SetWindowTextW(Child(dialog, id), text.c_str()); }
};

// ---- Entry dialog ----

TEST_F(IgnoreDialogs, EntryDialogBuildsEachFormInLowerCase) {
    IgnoreEntryRequest request;
    std::wstring browsedFrom;
    request.browseForFolder = [&](HWND, const std::wstring& text, const std::wstring& pathBox) {
        EXPECT_EQ(L"Wählen Sie den zu ignorierenden Ordner aus:", text);
        browsedFrom = pathBox;
        return std::optional<std::wstring>(L"D:\\Archiv\\Ältere");
    };
    IgnoreEntryResult result;
    {
        cModalScript script({
            [](HWND d) {
                // As designed: the folder option, empty boxes, no link.
                EXPECT_EQ(L"Ordner ignorieren", TextOf(d));
                EXPECT_TRUE(Checked(d, IDC_OPT_IGNORE_FOLDER));
                EXPECT_FALSE(Checked(d, IDC_CHK_INCLUDE_SUBFOLDERS));
                EXPECT_FALSE(IsWindowEnabled(Child(d, IDC_TXT_IGNORE_STRING)));
                EXPECT_FALSE(IsWindowVisible(Child(d, IDC_LBL_MANAGE_IGNORE_LIST)));
                EXPECT_EQ(Child(d, IDC_TXT_FOLDER_PATH), GetFocus());
                // Nothing typed: OK keeps the dialog open, the focus in the box.
                Press(d, IDOK);
                return true;
            },
            [](HWND d) {
                EXPECT_EQ(Child(d, IDC_TXT_FOLDER_PATH), GetFocus());
                Type(d, IDC_TXT_FOLDER_PATH, L"C:\\Temp");
                Press(d, IDC_CMD_BROWSE);
                return true;
            },
            [](HWND d) {
                EXPECT_EQ(L"d:\\archiv\\ältere", TextOf(Child(d, IDC_TXT_FOLDER_PATH)));
                Button_SetCheck(Child(d, IDC_CHK_INCLUDE_SUBFOLDERS), BST_CHECKED);
                Press(d, IDOK);
                return true;
            },
        });
        result = frmIgnoreEntry().Show(nullptr, request);
    }
    EXPECT_EQ(IgnoreEntryResult::Choice::Ok, result.choice);
    EXPECT_EQ(L"c:\\temp", browsedFrom);
    EXPECT_EQ(L"d:\\archiv\\ältere*", result.storedForm);
    EXPECT_EQ(L"Ordner \"d:\\archiv\\ältere\" mitsamt Unterordnern", result.displayText);

    {
        cModalScript script({
            [](HWND d) {
                SendMessageW(Child(d, IDC_OPT_IGNORE_STRING), BM_CLICK, 0, 0);
                EXPECT_TRUE(IsWindowEnabled(Child(d, IDC_TXT_IGNORE_STRING)));
                EXPECT_FALSE(IsWindowEnabled(Child(d, IDC_TXT_FOLDER_PATH)));
                EXPECT_FALSE(IsWindowEnabled(Child(d, IDC_CMD_BROWSE)));
                EXPECT_FALSE(IsWindowEnabled(Child(d, IDC_CHK_INCLUDE_SUBFOLDERS)));
                EXPECT_EQ(Child(d, IDC_TXT_IGNORE_STRING), GetFocus());
                // Typed letters come out in lower case at once.
                for (wchar_t c : std::wstring(L" *O'ÜBER* "))
                    SendMessageW(GetFocus(), WM_CHAR, c, 1);
                EXPECT_EQ(L" *o'über* ", TextOf(Child(d, IDC_TXT_IGNORE_STRING)));
                Press(d, IDOK);
                return true;
            },
        });
        result = frmIgnoreEntry().Show(nullptr, {});
    }
    EXPECT_EQ(IgnoreEntryResult::Choice::Ok, result.choice);
    EXPECT_EQ(L"*o''über*", result.storedForm);
    EXPECT_EQ(L"Alle Ordner, deren Pfad \"o'über\" enthält", result.displayText);
}

TEST_F(IgnoreDialogs, EntryDialogClosedWithEscKeepsNothing) {
    cModalScript script({[](HWND d) {
        Type(d, IDC_TXT_FOLDER_PATH, L"c:\\x");
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
        return true;
    }});
    IgnoreEntryResult result = frmIgnoreEntry().Show(nullptr, {});
    EXPECT_EQ(IgnoreEntryResult::Choice::Cancel, result.choice);
    EXPECT_TRUE(result.storedForm.empty());
}

// ---- Manager ----

TEST_F(IgnoreDialogs, ManagerListsChangesInPlaceAddsAndWritesTheTags) {
    WriteText(Setting::IgnoreStrings, kExampleList);
    frmIgnoreManager manager;
    const cListView& list = manager.List();
    IgnoreManagerResult result = IgnoreManagerResult::Cancelled;
    {
        cModalScript script({
            [&](HWND d) {
                EXPECT_EQ(L"Ignorierte Ordner", TextOf(d));
                EXPECT_EQ(3, list.ItemCount());
                EXPECT_EQ(L"Ordner \"c:\\daten'07\"", list.ItemText(0));
                EXPECT_EQ(L"Ordner \"d:\\archiv\" mitsamt Unterordnern", list.ItemText(1));
                EXPECT_EQ(L"Alle Ordner, deren Pfad \"entwurf\" enthält", list.ItemText(2));
                EXPECT_EQ(L"c:\\daten''07", list.ItemTag(0));
                EXPECT_EQ(L"itmx2", list.ItemKey(2));
                EXPECT_TRUE(list.ItemSelected(0));
                Press(d, IDC_CMD_MODIFY);
                return true;
            },
            [&](HWND d) {
                // The entry dialog, offering the entry with single quotes.
                if (TextOf(d) != L"Ignorierten Ordner ändern")
                    return false;
                EXPECT_EQ(L"c:\\daten'07", TextOf(Child(d, IDC_TXT_FOLDER_PATH)));
                EXPECT_FALSE(Checked(d, IDC_CHK_INCLUDE_SUBFOLDERS));
                SendMessageW(Child(d, IDC_OPT_IGNORE_STRING), BM_CLICK, 0, 0);
                Type(d, IDC_TXT_IGNORE_STRING, L"temp");
                Press(d, IDOK);
                return true;
            },
            [&](HWND d) {
                if (d != manager.Hwnd())
                    return false;
                EXPECT_EQ(L"Alle Ordner, deren Pfad \"temp\" enthält", list.ItemText(0));
                EXPECT_EQ(L"*temp*", list.ItemTag(0));
                EXPECT_EQ(L"d:\\archiv*", list.ItemTag(1));  // the order stays
                Press(d, IDC_CMD_ADD);
                return true;
            },
            [&](HWND d) {
                if (d == manager.Hwnd())
                    return false;
                EXPECT_EQ(L"Ordner ignorieren", TextOf(d));
                Type(d, IDC_TXT_FOLDER_PATH, L"C:\\");
                Press(d, IDOK);
                return true;
            },
            [&](HWND d) {
                if (d != manager.Hwnd())
                    return false;
                EXPECT_EQ(4, list.ItemCount());
                EXPECT_EQ(L"itmx3", list.ItemKey(3));
                EXPECT_EQ(L"Ordner \"c:\\\"", list.ItemText(3));
                EXPECT_TRUE(list.ItemSelected(3));
                Press(d, IDOK);
                return true;
            },
        });
        result = manager.Show(nullptr);
    }
    EXPECT_EQ(IgnoreManagerResult::Saved, result);
    EXPECT_EQ(L"*temp*|\\|d:\\archiv*|\\|*entwurf*|\\|c:\\|\\|", ReadText(Setting::IgnoreStrings));
}

TEST_F(IgnoreDialogs, ManagerConfirmedUnchangedWritesTheListBackAsItWasAndCancelWritesNothing) {
    WriteText(Setting::IgnoreStrings, kExampleList + L"rest");
    {
        frmIgnoreManager manager;
        cModalScript script({[](HWND d) {
            Press(d, IDOK);
            return true;
        }});
        EXPECT_EQ(IgnoreManagerResult::Saved, manager.Show(nullptr));
    }
    EXPECT_EQ(kExampleList, ReadText(Setting::IgnoreStrings));  // only the text after the last separator goes

    frmIgnoreManager manager;
    cModalScript script({[&](HWND d) {
        const cListView& list = manager.List();
        ListView_SetItemState(list.hWndListView(), 1, LVIS_SELECTED, LVIS_SELECTED);
        SendMessageW(Child(d, IDC_CMD_REMOVE), BM_CLICK, 0, 0);
        EXPECT_EQ(2, list.ItemCount());
        EXPECT_TRUE(list.ItemSelected(1));  // the entry now at the removed place
        SendMessageW(d, WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    EXPECT_EQ(IgnoreManagerResult::Cancelled, manager.Show(nullptr));
    EXPECT_EQ(kExampleList, ReadText(Setting::IgnoreStrings));
}

TEST_F(IgnoreDialogs, ManagerRefusesAnEighthEntryAndRemovingAllLeavesAnEmptyList) {
    std::wstring seven;
    for (int i = 1; i <= kIgnoreEntryLimit; ++i)
        seven += L"c:\\" + std::to_wstring(i) + L"|\\|";
    WriteText(Setting::IgnoreStrings, seven);
    cMessageBoxLog presenter;
    frmIgnoreManager manager;
    IgnoreManagerRequest request;
    request.presenter = &presenter;
    const cListView& list = manager.List();
    {
        cModalScript script({
            [&](HWND d) {
                Press(d, IDC_CMD_ADD);
                return true;
            },
            [&](HWND d) {
                // The message, and no entry dialog.
                EXPECT_EQ(d, manager.Hwnd());
                if (presenter.boxes.size() != 1)
                    return false;
                EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), presenter.boxes[0].style);
                EXPECT_EQ(0u, presenter.boxes[0].text.find(L"Es können keine weiteren Ordner ignoriert werden, "
                                                           L"weil bereits 7 Einträge"));
                EXPECT_EQ(7, list.ItemCount());
                // Del in the list removes the selected entry, and the one now
                // in its place is selected for the next Del.
                ListView_SetItemState(list.hWndListView(), 6, LVIS_SELECTED, LVIS_SELECTED);
                SetFocus(list.hWndListView());
                for (int i = 0; i < kIgnoreEntryLimit; ++i) {
                    SendMessageW(list.hWndListView(), WM_KEYDOWN, VK_DELETE, 1);
                }
                EXPECT_EQ(0, list.ItemCount());
                EXPECT_FALSE(IsWindowEnabled(Child(d, IDC_CMD_MODIFY)));
                EXPECT_FALSE(IsWindowEnabled(Child(d, IDC_CMD_REMOVE)));
                Press(d, IDOK);
                return true;
            },
        });
        EXPECT_EQ(IgnoreManagerResult::Saved, manager.Show(nullptr, request));
    }
    EXPECT_TRUE(ReadRaw(SectionKeyOf(SettingsKey::CurrentSettings), L"IgnoreStrings").found);
    EXPECT_EQ(L"", ReadText(Setting::IgnoreStrings));
    EXPECT_EQ(L"", BuildIgnoreStringSQL());
    EXPECT_TRUE(ReadRaw(SectionKeyOf(SettingsKey::CurrentSettings), L"IgnoreStringSQL").found);
    EXPECT_EQ(L"", ReadText(Setting::IgnoreStringSQL));
}

// ---- Stored list and filter ----

TEST_F(IgnoreDialogs, TheExampleListGivesTheExampleFilterAndAFilterOfThatShapeIsTakenAsStored) {
    WriteText(Setting::IgnoreStrings, L"c:\\temp|\\|d:\\archiv*|\\|*entwurf*|\\|");
    const std::wstring example =
        L"(FoldersProtocol.FolderPath <> 'c:\\temp' AND FoldersProtocol.FolderPath Not Like 'd:\\archiv%' AND "
        L"FoldersProtocol.FolderPath Not Like '%entwurf%')";
    EXPECT_EQ(example, BuildIgnoreStringSQL());
    EXPECT_EQ(example, ReadText(Setting::IgnoreStringSQL));
    // As the window reads it at start-up: unchanged, though the list differs.
    const std::wstring older = L"(FoldersProtocol.FolderPath <> 'c:\\alt')";
    WriteText(Setting::IgnoreStringSQL, older);
    EXPECT_EQ(older, LoadIgnoreFilter());
}

// "%appdata%" is the path part's pattern, not the variable: it is stored as
// written and read back unchanged, so the filter is taken as stored.
TEST_F(IgnoreDialogs, APatternNamingAVariableReadsBackUnchanged) {
    ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", nullptr, 0), 0u);
    AppendIgnoreEntry(L"*appdata*");
    const std::wstring filter = L"(FoldersProtocol.FolderPath Not Like '%appdata%')";
    EXPECT_EQ(filter, BuildIgnoreStringSQL());
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), ReadRaw(SectionKeyOf(SettingsKey::CurrentSettings), L"IgnoreStringSQL").type);
    EXPECT_EQ(L"*appdata*|\\|", ReadText(Setting::IgnoreStrings));
    EXPECT_EQ(filter, LoadIgnoreFilter());
}

// A filter of the right shape stored as bytes or as a multi-string is not
// taken: it is built anew from the list and stored as text.
TEST_F(IgnoreDialogs, AFilterOfAnotherTypeIsRebuilt) {
    WriteText(Setting::IgnoreStrings, L"c:\\temp|\\|");
    const std::wstring built = L"(FoldersProtocol.FolderPath <> 'c:\\temp')";
    const std::wstring other = L"(FoldersProtocol.FolderPath <> 'c:\\alt')";
    for (DWORD type : {static_cast<DWORD>(REG_BINARY), static_cast<DWORD>(REG_MULTI_SZ)}) {
        SCOPED_TRACE(type);
        WriteRaw(SectionKeyOf(SettingsKey::CurrentSettings), L"IgnoreStringSQL", type, other.c_str(),
                 static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
        EXPECT_EQ(built, LoadIgnoreFilter());
        EXPECT_EQ(static_cast<DWORD>(REG_SZ),
                  ReadRaw(SectionKeyOf(SettingsKey::CurrentSettings), L"IgnoreStringSQL").type);
    }
}

}  // namespace
}  // namespace pw::test
