#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "ResText.h"
#include "UiTestSupport.h"
#include "app_res.h"
#include "common/ScratchKey.h"
#include "modTaskDialog.h"

namespace pw {
namespace {

using test::ReadRaw;
using test::ScratchKey;

TEST(WindowsFamily, FollowsMajorAndMinorVersion) {
    EXPECT_EQ(WindowsFamily::Windows2000, WindowsFamilyOf(5, 0));    // 2000
    EXPECT_EQ(WindowsFamily::Xp, WindowsFamilyOf(5, 1));             // XP
    EXPECT_EQ(WindowsFamily::Xp, WindowsFamilyOf(5, 2));             // Server 2003, XP x64
    EXPECT_EQ(WindowsFamily::VistaOrLater, WindowsFamilyOf(6, 0));   // Vista
    EXPECT_EQ(WindowsFamily::VistaOrLater, WindowsFamilyOf(6, 1));   // 7
    EXPECT_EQ(WindowsFamily::VistaOrLater, WindowsFamilyOf(10, 0));  // 10 and 11
    EXPECT_EQ(WindowsFamily::Windows2000, WindowsFamilyOf(4, 10));   // older than anything supported
}

TEST(WindowsFamily, RunningSystemMatchesReportedVersion) {
    // Wine's configured version (RtlGetVersion ignores compatibility shims).
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto rtl = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    ASSERT_NE(nullptr, rtl);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_EQ(0, rtl(&info));
    EXPECT_EQ(WindowsFamilyOf(info.dwMajorVersion, info.dwMinorVersion), GetWindowsFamily());
    EXPECT_EQ(GetWindowsFamily(), GetWindowsFamily());
}

TEST(BalloonTips, OnlyAStoredZeroSwitchesThemOffAndNeverOnWindows2000) {
    EXPECT_TRUE(BalloonTipsEnabledFor(WindowsFamily::Windows2000, RegValue{std::int32_t{0}}));
    EXPECT_FALSE(BalloonTipsEnabledFor(WindowsFamily::Xp, RegValue{std::int32_t{0}}));
    EXPECT_FALSE(BalloonTipsEnabledFor(WindowsFamily::VistaOrLater, RegValue{std::int32_t{0}}));
    EXPECT_TRUE(BalloonTipsEnabledFor(WindowsFamily::VistaOrLater, RegValue{std::int32_t{1}}));
    EXPECT_TRUE(BalloonTipsEnabledFor(WindowsFamily::Xp, RegValue{}));
}

TEST(BalloonTips, ReadsTheExplorerSettingOfTheUser) {
    // The only test that asks: the answer is kept for the process.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kExplorerAdvancedKey, 0, nullptr, 0,
                                             KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr));
    DWORD saved = 0, size = sizeof(saved), type = 0;
    bool hadValue = RegQueryValueExW(key, L"EnableBalloonTips", nullptr, &type, reinterpret_cast<BYTE*>(&saved),
                                     &size) == ERROR_SUCCESS;
    DWORD off = 0;
    RegSetValueExW(key, L"EnableBalloonTips", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof(off));

    bool enabled = IsBalloonTipsEnabled();

    if (hadValue) {
        RegSetValueExW(key, L"EnableBalloonTips", 0, type, reinterpret_cast<const BYTE*>(&saved), size);
    } else {
        RegDeleteValueW(key, L"EnableBalloonTips");
    }
    RegCloseKey(key);
    EXPECT_EQ(GetWindowsFamily() == WindowsFamily::Windows2000, enabled);
}

TEST(NoticePlan, TaskDialogWithCheckBoxOnVistaMessageBoxOnceBefore) {
    NoticePlan vista = PlanNotice(WindowsFamily::VistaOrLater, 0);
    EXPECT_EQ(NoticeKind::TaskDialog, vista.kind);
    EXPECT_TRUE(vista.storeIfTicked);
    EXPECT_FALSE(vista.storeBeforeShowing);

    for (WindowsFamily family : {WindowsFamily::Windows2000, WindowsFamily::Xp}) {
        NoticePlan older = PlanNotice(family, 0);
        EXPECT_EQ(NoticeKind::MessageBox, older.kind);
        EXPECT_TRUE(older.storeBeforeShowing);
    }
    for (WindowsFamily family : {WindowsFamily::Windows2000, WindowsFamily::Xp, WindowsFamily::VistaOrLater})
        EXPECT_EQ(NoticeKind::None, PlanNotice(family, 1).kind);
    // Only 1 counts as "do not show again".
    EXPECT_EQ(NoticeKind::TaskDialog, PlanNotice(WindowsFamily::VistaOrLater, 2).kind);
}

TEST(TaskDialogConfig, NoticeAsTheProgramFillsIt) {
    test::cHostWindow owner;
    cTaskDialogSpec spec;
    BuildNoticeDialog(spec, owner.hwnd(), L"Der Pfad wurde kopiert.", L"Tip: Strg+C geht schneller.",
                      ResText(IDS_DONT_SHOW_AGAIN));
    const TASKDIALOGCONFIG& c = spec.config;
    if (sizeof(void*) == 4) {
        EXPECT_EQ(96u, c.cbSize);
    }
    EXPECT_EQ(owner.hwnd(), c.hwndParent);
    EXPECT_EQ(0x1000, c.dwFlags);
    EXPECT_EQ(0, c.dwCommonButtons);
    EXPECT_STREQ(L"Pfadwerk", c.pszWindowTitle);
    EXPECT_EQ(MAKEINTRESOURCEW(65533), c.pszMainIcon);
    EXPECT_STREQ(L"Der Pfad wurde kopiert.", c.pszMainInstruction);
    EXPECT_STREQ(L"Tip: Strg+C geht schneller.", c.pszContent);
    EXPECT_EQ(0u, c.cButtons);
    EXPECT_STREQ(L"Diesen Hinweis nicht mehr anzeigen", c.pszVerificationText);
    EXPECT_EQ(nullptr, c.pfCallback);
    EXPECT_EQ(240u, c.cxWidth);
}

TEST(TaskDialogConfig, ConfirmationAsTheProgramFillsIt) {
    cTaskDialogSpec spec;
    BuildConfirmDialog(spec, nullptr, L"Verlauf zurücksetzen?", L"Alle Einträge werden gelöscht.", 101,
                       L"Zurücksetzen");
    const TASKDIALOGCONFIG& c = spec.config;
    EXPECT_EQ(0x1008, c.dwFlags);
    EXPECT_EQ(8, c.dwCommonButtons);
    EXPECT_EQ(MAKEINTRESOURCEW(65535), c.pszMainIcon);
    ASSERT_EQ(1u, c.cButtons);
    EXPECT_EQ(101, c.pButtons[0].nButtonID);
    EXPECT_STREQ(L"Zurücksetzen", c.pButtons[0].pszButtonText);
    EXPECT_EQ(nullptr, c.pszVerificationText);
    EXPECT_EQ(220u, c.cxWidth);
    EXPECT_STREQ(L"Verlauf zurücksetzen?", c.pszMainInstruction);
}

// Records what would have been shown and answers as told.
class cRecorder : public cDialogPresenter {
  public:
    int ShowTaskDialog(const TASKDIALOGCONFIG& config, bool* verificationChecked) override {
        ++taskDialogs;
        lastVerification = config.pszVerificationText ? config.pszVerificationText : L"";
        lastCommonButtons = config.dwCommonButtons;
        if (verificationChecked)
            *verificationChecked = tick;
        return answer;
    }
    int ShowMessageBox(HWND, const std::wstring& text, const std::wstring& caption, UINT style) override {
        ++messageBoxes;
        lastText = text;
        lastCaption = caption;
        lastStyle = style;
        if (!flagPath.empty())
            flagSeenWhileOpen = ReadRaw(flagPath, flagName).found;
        return answer;
    }

    bool tick = false;
    int answer = IDOK;
    int taskDialogs = 0, messageBoxes = 0;
    std::wstring lastVerification, lastText, lastCaption;
    TASKDIALOG_COMMON_BUTTON_FLAGS lastCommonButtons = 0;
    UINT lastStyle = 0;
    std::wstring flagPath, flagName;
    bool flagSeenWhileOpen = false;
};

DWORD StoredFlag(const ScratchKey& key, const wchar_t* name) {
    auto raw = ReadRaw(key.Path(), name);
    if (!raw.found || raw.type != REG_DWORD || raw.data.size() != 4)
        return 0xFFFFFFFF;
    return *reinterpret_cast<const DWORD*>(raw.data.data());
}

TEST(Notice, OnVistaTheTickedCheckBoxStopsTheNotice) {
    ScratchKey key(test::CurrentTestName());
    cRecorder recorder;
    recorder.tick = false;
    EXPECT_TRUE(ShowNoticeWith(recorder, WindowsFamily::VistaOrLater, key.Path(), nullptr, L"TipShown_CopyPath",
                               L"Kopiert", L"Tip", ResText(IDS_DONT_SHOW_AGAIN)));
    EXPECT_EQ(1, recorder.taskDialogs);
    EXPECT_EQ(L"Diesen Hinweis nicht mehr anzeigen", recorder.lastVerification);
    EXPECT_FALSE(ReadRaw(key.Path(), L"TipShown_CopyPath").found);

    // Not ticked: it comes again; ticked: stored, and then never again.
    recorder.tick = true;
    EXPECT_TRUE(ShowNoticeWith(recorder, WindowsFamily::VistaOrLater, key.Path(), nullptr, L"TipShown_CopyPath",
                               L"Kopiert", L"Tip", ResText(IDS_DONT_SHOW_AGAIN)));
    EXPECT_EQ(2, recorder.taskDialogs);
    EXPECT_EQ(1u, StoredFlag(key, L"TipShown_CopyPath"));
    EXPECT_FALSE(ShowNoticeWith(recorder, WindowsFamily::VistaOrLater, key.Path(), nullptr, L"TipShown_CopyPath",
                                L"Kopiert", L"Tip", ResText(IDS_DONT_SHOW_AGAIN)));
    EXPECT_EQ(2, recorder.taskDialogs);
    EXPECT_EQ(0, recorder.messageBoxes);
}

TEST(Notice, OnXpAMessageBoxIsShownOnceWithoutCheckBox) {
    ScratchKey key(test::CurrentTestName());
    cRecorder recorder;
    recorder.flagPath = key.Path();
    recorder.flagName = L"TipShown_RemoveEntry";
    EXPECT_TRUE(ShowNoticeWith(recorder, WindowsFamily::Xp, key.Path(), nullptr, L"TipShown_RemoveEntry",
                               L"Der Ordner wurde entfernt.", L"Er erscheint wieder, sobald Sie ihn verwenden.",
                               ResText(IDS_DONT_SHOW_AGAIN)));
    EXPECT_EQ(1, recorder.messageBoxes);
    EXPECT_EQ(0, recorder.taskDialogs);
    EXPECT_EQ(L"Der Ordner wurde entfernt.\r\n\r\nEr erscheint wieder, sobald Sie ihn verwenden.", recorder.lastText);
    EXPECT_EQ(L"Pfadwerk", recorder.lastCaption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), recorder.lastStyle);
    EXPECT_TRUE(recorder.flagSeenWhileOpen);  // stored before the box, not after it
    EXPECT_EQ(1u, StoredFlag(key, L"TipShown_RemoveEntry"));

    EXPECT_FALSE(ShowNoticeWith(recorder, WindowsFamily::Xp, key.Path(), nullptr, L"TipShown_RemoveEntry", L"x", L"y",
                                ResText(IDS_DONT_SHOW_AGAIN)));
    EXPECT_EQ(1, recorder.messageBoxes);
}

TEST(Notice, AStoredFlagSuppressesItOnEverySystem) {
    ScratchKey key(test::CurrentTestName());
    DWORD one = 1;
    test::WriteRaw(key.Path(), L"TipShown_CopyPath", REG_DWORD, &one, sizeof(one));
    cRecorder recorder;
    for (WindowsFamily family : {WindowsFamily::Windows2000, WindowsFamily::Xp, WindowsFamily::VistaOrLater}) {
        EXPECT_FALSE(ShowNoticeWith(recorder, family, key.Path(), nullptr, L"TipShown_CopyPath", L"a", L"b",
                                    ResText(IDS_DONT_SHOW_AGAIN)));
    }
    EXPECT_EQ(0, recorder.taskDialogs + recorder.messageBoxes);
}

TEST(Confirm, OnlyCancelStopsTheAction) {
    cRecorder recorder;
    recorder.answer = IDCANCEL;  // also Esc and the close box
    EXPECT_FALSE(
        ConfirmWith(recorder, WindowsFamily::VistaOrLater, nullptr, L"Zurücksetzen?", L"", 101, L"Zurücksetzen"));
    EXPECT_EQ(static_cast<TASKDIALOG_COMMON_BUTTON_FLAGS>(TDCBF_CANCEL_BUTTON), recorder.lastCommonButtons);
    recorder.answer = 101;
    EXPECT_TRUE(
        ConfirmWith(recorder, WindowsFamily::VistaOrLater, nullptr, L"Zurücksetzen?", L"", 101, L"Zurücksetzen"));
    EXPECT_EQ(2, recorder.taskDialogs);

    recorder.answer = IDCANCEL;
    EXPECT_FALSE(
        ConfirmWith(recorder, WindowsFamily::Xp, nullptr, L"Zurücksetzen?", L"Alles weg.", 101, L"Zurücksetzen"));
    EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2), recorder.lastStyle);
    EXPECT_EQ(L"Zurücksetzen?\r\n\r\nAlles weg.", recorder.lastText);
    recorder.answer = IDOK;
    EXPECT_TRUE(ConfirmWith(recorder, WindowsFamily::Windows2000, nullptr, L"Zurücksetzen?", L"Alles weg.", 101,
                            L"Zurücksetzen"));
    EXPECT_EQ(2, recorder.messageBoxes);
}

// Plays the user on the real dialog: waits for the window captioned
// "Pfadwerk", clicks the control labelled clickText (if any), then the button
// labelled buttonText, or sends the command when no label is given (IDCANCEL
// is what Esc sends).
class cDialogUser {
  public:
    cDialogUser(std::wstring clickText, std::wstring buttonText, int command = IDOK)
        : clickText_(std::move(clickText)),
          buttonText_(std::move(buttonText)),
          command_(command),
          thread_([this] { Run(); }) {}
    ~cDialogUser() { thread_.join(); }
    bool Found() const { return found_; }
    bool Clicked() const { return clicked_; }
    bool Pressed() const { return pressed_; }

  private:
    struct Search {
        const std::wstring* text;
        HWND found;
    };
    static BOOL CALLBACK FindChild(HWND child, LPARAM param) {
        auto* search = reinterpret_cast<Search*>(param);
        wchar_t text[256] = {};
        GetWindowTextW(child, text, 256);
        std::wstring label = text;
        std::erase(label, L'&');
        if (label == *search->text) {
            search->found = child;
            return FALSE;
        }
        return TRUE;
    }
    HWND Child(HWND dialog, const std::wstring& text) {
        Search search{&text, nullptr};
        EnumChildWindows(dialog, FindChild, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    void Run() {
        HWND dialog = nullptr;
        for (int i = 0; i < 300 && !dialog; ++i) {  // up to 30 s for a slow Wine start
            dialog = FindWindowW(L"#32770", L"Pfadwerk");
            if (!dialog)
                Sleep(100);
        }
        found_ = dialog != nullptr;
        if (!dialog)
            return;
        Sleep(200);  // let the dialog finish its own set-up
        if (!clickText_.empty()) {
            HWND box = Child(dialog, clickText_);
            clicked_ = box != nullptr;
            if (box)
                SendMessageW(box, BM_CLICK, 0, 0);
        }
        HWND button = buttonText_.empty() ? nullptr : Child(dialog, buttonText_);
        pressed_ = button != nullptr;
        if (button) {
            SendMessageW(button, BM_CLICK, 0, 0);
        } else {
            PostMessageW(dialog, WM_COMMAND, command_, 0);
        }
    }

    std::wstring clickText_, buttonText_;
    int command_;
    std::atomic<bool> found_{false}, clicked_{false}, pressed_{false};
    std::thread thread_;
};

TEST(NoticeOnScreen, TaskDialogShowsTheCheckBoxAndTickingItStoresTheFlag) {
    ASSERT_TRUE(IsTaskDialogAvailable());
    ScratchKey key(test::CurrentTestName());
    test::cHostWindow owner;
    bool shown = false;
    {
        cDialogUser user(L"Diesen Hinweis nicht mehr anzeigen", L"", IDOK);
        shown = ShowNoticeWith(SystemDialogPresenter(), WindowsFamily::VistaOrLater, key.Path(), owner.hwnd(),
                               L"TipShown_SearchFolder", L"Ordner suchen", L"Geben Sie ein paar Buchstaben ein.",
                               ResText(IDS_DONT_SHOW_AGAIN));
        EXPECT_TRUE(user.Found());
        EXPECT_TRUE(user.Clicked());
    }
    EXPECT_TRUE(shown);
    EXPECT_EQ(1u, StoredFlag(key, L"TipShown_SearchFolder"));
}

TEST(NoticeOnScreen, MessageBoxOnOlderSystems) {
    ScratchKey key(test::CurrentTestName());
    test::cHostWindow owner;
    {
        cDialogUser user(L"", L"", IDOK);
        EXPECT_TRUE(ShowNoticeWith(SystemDialogPresenter(), WindowsFamily::Xp, key.Path(), owner.hwnd(),
                                   L"TipShown_CopyPath", L"Kopiert", L"Tip", ResText(IDS_DONT_SHOW_AGAIN)));
        EXPECT_TRUE(user.Found());
    }
    EXPECT_EQ(1u, StoredFlag(key, L"TipShown_CopyPath"));
}

TEST(ConfirmOnScreen, EscDoesNotConfirmTheButtonDoes) {
    ASSERT_TRUE(IsTaskDialogAvailable());
    test::cHostWindow owner;
    {
        cDialogUser user(L"", L"", IDCANCEL);
        EXPECT_FALSE(ConfirmWith(SystemDialogPresenter(), WindowsFamily::VistaOrLater, owner.hwnd(),
                                 L"Verlauf zurücksetzen?", L"", 101, L"Zurücksetzen"));
        EXPECT_TRUE(user.Found());
    }
    {
        cDialogUser user(L"", L"Zurücksetzen");
        EXPECT_TRUE(ConfirmWith(SystemDialogPresenter(), WindowsFamily::VistaOrLater, owner.hwnd(),
                                L"Verlauf zurücksetzen?", L"", 101, L"Zurücksetzen"));
        EXPECT_TRUE(user.Pressed());
    }
}

TEST(BrowseStartFolder, DropsTheFinalBackslashButKeepsADriveRoot) {
    EXPECT_EQ(L"C:\\Daten\\Projekte", BrowseSelectionPath(L"C:\\Daten\\Projekte\\"));
    EXPECT_EQ(L"C:\\Daten", BrowseSelectionPath(L"C:\\Daten"));
    EXPECT_EQ(L"C:\\", BrowseSelectionPath(L"C:\\"));
    EXPECT_EQ(L"\\\\server\\freigabe", BrowseSelectionPath(L"\\\\server\\freigabe\\"));
    EXPECT_EQ(L"", BrowseSelectionPath(L""));
}

TEST(ButtonImage, PutsAnImageListOfTheGivenSizeOnTheButton) {
    test::cHostWindow host;
    HWND button = host.AddButton(L"Gruppen", 10, 10);
    HICON icon = LoadIconW(nullptr, IDI_INFORMATION);
    cImageList images = SetButtonImage(button, icon, 12, 2, BUTTON_IMAGELIST_ALIGN_LEFT, 9, 8);
    ASSERT_TRUE(images);
    BUTTON_IMAGELIST info{};
    ASSERT_TRUE(SendMessageW(button, BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(images.Get(), info.himl);
    EXPECT_EQ(12, info.margin.left);
    EXPECT_EQ(2, info.margin.top);
    EXPECT_EQ(0, info.margin.right);
    EXPECT_EQ(0, info.margin.bottom);
    EXPECT_EQ(static_cast<UINT>(BUTTON_IMAGELIST_ALIGN_LEFT), info.uAlign);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images.Get(), &cx, &cy);
    EXPECT_EQ(9, cx);
    EXPECT_EQ(8, cy);
    EXPECT_EQ(1, ImageList_GetImageCount(images.Get()));
    DestroyWindow(button);
    images.Reset();

    EXPECT_FALSE(SetButtonImage(nullptr, icon, 0, 0, 0, 16, 16));
    EXPECT_FALSE(SetButtonImage(button, static_cast<HICON>(nullptr), 0, 0, 0, 16, 16));
}

TEST(ForceForeground, BringsTheWindowForward) {
    test::cHostWindow first, second;
    SetForegroundWindow(first.hwnd());
    test::PumpMessages();
    ForceForeground(second.hwnd(), true);
    test::PumpMessages();
    EXPECT_EQ(second.hwnd(), GetForegroundWindow());
    ForceForeground(first.hwnd(), false);
    test::PumpMessages();
    EXPECT_EQ(first.hwnd(), GetForegroundWindow());
}

}  // namespace
}  // namespace pw
