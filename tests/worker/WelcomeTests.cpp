// The welcome window of a set-up run: its texts per Windows version, the
// window itself in this process, and the shipped worker started with
// "/setupnow" under the Windows versions Wine can pretend to be.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Handles.h"
#include "Settings.h"
#include "TestRunMain.h"
#include "WindowsVersion.h"
#include "WorkerHarness.h"
#include "frmMain.h"
#include "frmWelcome.h"

using namespace pwtest;
using pw::WindowsFamily;

namespace {

const std::wstring kIntro = L"Mit der Pfadwerk-Anwendung gelangen Sie schnell zu Ihren bisher verwendeten Ordnern.";
const std::wstring kLineA = L"a) Klicken Sie auf das Pfadwerk-Symbol in der Schnellstartleiste der Taskleiste:";
const std::wstring kLineB = L"b) Oder drücken Sie folgende Tastenkombination: Windows-Logo-Taste + STRG + LEERTASTE";
const std::wstring kNote =
    L"(Diese Tastenkombination kann erst verwendet werden, nachdem erste Ordner protokolliert wurden.)";

std::wstring Text(HWND hwnd) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

bool HotKeyTaken() {
    if (!RegisterHotKey(nullptr, 77, pw::WorkerHotKey().modifiers, pw::WorkerHotKey().virtualKey))
        return true;
    UnregisterHotKey(nullptr, 77);
    return false;
}

// Client rectangle of a child in its parent's coordinates; works across
// processes.
RECT ChildRect(HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

pw::worker::WelcomeSystem System(WindowsFamily family, bool visualStyles = false, int dpi = 96) {
    return {family, visualStyles, dpi, dpi};
}

// The colours the window gives a control to paint with.
struct Colours {
    COLORREF text;
    COLORREF background;
};

Colours ColoursOf(HWND control) {
    HWND parent = GetParent(control);
    pw::cWindowDC dc(control);
    SetTextColor(dc.Get(), RGB(1, 2, 3));
    UINT msg = GetDlgCtrlID(control) == IDOK ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, msg, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(control)));
    LOGBRUSH info{};
    GetObjectW(brush, sizeof info, &info);
    return {GetTextColor(dc.Get()), info.lbColor};
}

std::wstring FontFace(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfFaceName;
}

}  // namespace

TEST(WelcomeText, BeforeVistaTheHowToTextHasThreeEmptyLinesAndTwoWays) {
    for (WindowsFamily family : {WindowsFamily::Windows2000, WindowsFamily::Xp}) {
        EXPECT_EQ(pw::worker::HowToStartText(family), kIntro + L"\r\r\r\r" + kLineA + L"\r" + kLineB)
            << static_cast<int>(family);
    }
}

TEST(WelcomeText, FromVistaOnTheNoteOnTheHotKeyFollowsOnALineOfItsOwn) {
    EXPECT_EQ(pw::worker::HowToStartText(WindowsFamily::VistaOrLater),
              kIntro + L"\r\r\r\r" + kLineA + L"\r" + kLineB + L"\r" + kNote);
}

TEST(WelcomeText, LoneCarriageReturnsBecomeLineBreaksAStaticControlShows) {
    EXPECT_EQ(pw::worker::LineBreaksForDisplay(L"a\r\r\rb\rc"), L"a\r\n\r\n\r\nb\r\nc");
    // Breaks that are already complete are not doubled; a lone LF breaks too.
    EXPECT_EQ(pw::worker::LineBreaksForDisplay(L"a\r\nb\nc\r"), L"a\r\nb\r\nc\r\n");
    EXPECT_EQ(pw::worker::LineBreaksForDisplay(L"ohne Umbruch"), L"ohne Umbruch");
    std::wstring shown = pw::worker::LineBreaksForDisplay(pw::worker::HowToStartText(WindowsFamily::VistaOrLater));
    EXPECT_EQ(shown, kIntro + L"\r\n\r\n\r\n\r\n" + kLineA + L"\r\n" + kLineB + L"\r\n" + kNote);
}

TEST(WindowsVersion, ClassFollowsMajorAndMinorVersion) {
    EXPECT_EQ(pw::WindowsFamilyOf(5, 0), WindowsFamily::Windows2000);   // 2000
    EXPECT_EQ(pw::WindowsFamilyOf(5, 1), WindowsFamily::Xp);            // XP
    EXPECT_EQ(pw::WindowsFamilyOf(5, 2), WindowsFamily::Xp);            // Server 2003, XP x64
    EXPECT_EQ(pw::WindowsFamilyOf(6, 0), WindowsFamily::VistaOrLater);  // Vista
    EXPECT_EQ(pw::WindowsFamilyOf(6, 1), WindowsFamily::VistaOrLater);  // 7
    EXPECT_EQ(pw::WindowsFamilyOf(10, 0), WindowsFamily::VistaOrLater);
    EXPECT_EQ(pw::WindowsFamilyOf(4, 0), WindowsFamily::Windows2000);  // older than supported: the oldest class
}

// The window in this process, with the worker's hidden window beside it.
class WelcomeWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorkerAndHistory();
        ASSERT_TRUE(worker_.Load());
    }
    void TearDown() override { worker_.Unload(); }

    // Runs the messages as the worker's loop does, the welcome window's
    // keyboard handling included.
    static void Pump(pw::worker::frmWelcome& welcome) {
        for (int round = 0; round < 3; ++round) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (welcome.PreTranslateMessage(msg))
                    continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Sleep(10);
        }
    }
    static void PressKey(pw::worker::frmWelcome& welcome, UINT key) {
        HWND focus = GetFocus();
        ASSERT_TRUE(focus == welcome.Hwnd() || IsChild(welcome.Hwnd(), focus));
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        Pump(welcome);
    }

    pw::worker::frmMain worker_{pw::HistoryFiles{}};
};

TEST_F(WelcomeWindowTest, ShowsTheTextsInTheirControlsTopmostAndInFront) {
    pw::worker::frmWelcome welcome(worker_, System(WindowsFamily::Xp));
    ASSERT_TRUE(welcome.Load());
    Pump(welcome);
    HWND hwnd = welcome.Hwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(Text(hwnd), L"Pfadwerk");
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetForegroundWindow(), hwnd);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);

    EXPECT_EQ(Text(GetDlgItem(hwnd, pw::worker::lblWelcome)), L"Willkommen bei Pfadwerk!");
    EXPECT_EQ(Text(GetDlgItem(hwnd, pw::worker::lblIntroduction)),
              L"Pfadwerk ist jetzt aktiv und protokolliert von nun an sämtliche Ordner, die Sie im "
              L"Windows-Explorer verwenden. Dies geschieht vollautomatisch. ");
    EXPECT_EQ(Text(GetDlgItem(hwnd, pw::worker::lblAppHeader)), L"Die Pfadwerk-Anwendung");
    EXPECT_EQ(Text(GetDlgItem(hwnd, pw::worker::lblAppStartHeader)), L"So starten Sie die Pfadwerk-Anwendung:");
    EXPECT_EQ(Text(GetDlgItem(hwnd, pw::worker::lblHowToStart)),
              kIntro + L"\r\n\r\n\r\n\r\n" + kLineA + L"\r\n" + kLineB);

    HWND ok = GetDlgItem(hwnd, IDOK);
    EXPECT_EQ(Text(ok), L"OK");
    EXPECT_EQ(GetWindowLongPtrW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetFocus(), ok);

    HBITMAP picture = reinterpret_cast<HBITMAP>(
        SendMessageW(GetDlgItem(hwnd, pw::worker::imgStartIcon), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(picture, nullptr);
    BITMAP info{};
    GetObjectW(picture, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 17);
    EXPECT_EQ(info.bmHeight, 18);

    // Before Vista both dividers show and the process stays the worker.
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, pw::worker::linDivider)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, pw::worker::linDivider2)));
    EXPECT_TRUE(HotKeyTaken());
}

TEST_F(WelcomeWindowTest, ControlsStandTopToBottomAsTheWindowReads) {
    pw::worker::frmWelcome welcome(worker_, System(WindowsFamily::VistaOrLater));
    ASSERT_TRUE(welcome.Load());
    HWND hwnd = welcome.Hwnd();
    RECT welcomeText = ChildRect(GetDlgItem(hwnd, pw::worker::lblWelcome));
    RECT introduction = ChildRect(GetDlgItem(hwnd, pw::worker::lblIntroduction));
    RECT appHeader = ChildRect(GetDlgItem(hwnd, pw::worker::lblAppHeader));
    RECT startHeader = ChildRect(GetDlgItem(hwnd, pw::worker::lblAppStartHeader));
    RECT howTo = ChildRect(GetDlgItem(hwnd, pw::worker::lblHowToStart));
    RECT picture = ChildRect(GetDlgItem(hwnd, pw::worker::imgStartIcon));
    RECT divider = ChildRect(GetDlgItem(hwnd, pw::worker::linDivider));
    RECT footer = ChildRect(GetDlgItem(hwnd, pw::worker::picFooter));
    RECT ok = ChildRect(GetDlgItem(hwnd, IDOK));
    RECT client{};
    GetClientRect(hwnd, &client);

    EXPECT_LE(welcomeText.bottom, introduction.top);
    EXPECT_LE(introduction.bottom, appHeader.top);
    EXPECT_LE(appHeader.bottom, howTo.top);
    // The second header sits in the empty lines of the how-to text, the
    // picture below it, beside the Quick Launch line.
    EXPECT_LT(howTo.top, startHeader.top);
    EXPECT_LE(startHeader.bottom, picture.top);
    EXPECT_LT(picture.bottom, howTo.bottom);
    EXPECT_GT(picture.left, howTo.left + (howTo.right - howTo.left) / 2);
    EXPECT_LE(picture.right, client.right);
    EXPECT_LE(howTo.bottom, divider.top);
    EXPECT_LT(divider.top, footer.top);
    EXPECT_EQ(footer.bottom, client.bottom);
    EXPECT_EQ(footer.right - footer.left, client.right);
    EXPECT_TRUE(ok.top > footer.top && ok.bottom < footer.bottom);
    EXPECT_GT(ok.left, client.right / 2);
}

TEST_F(WelcomeWindowTest, EscClosesTheWindowAndBeforeVistaTheWorkerGoesOn) {
    pw::worker::frmWelcome welcome(worker_, System(WindowsFamily::Xp));
    ASSERT_TRUE(welcome.Load());
    Pump(welcome);
    PressKey(welcome, VK_ESCAPE);
    EXPECT_EQ(welcome.Hwnd(), nullptr);
    EXPECT_NE(worker_.Hwnd(), nullptr);
    EXPECT_TRUE(HotKeyTaken());
}

TEST_F(WelcomeWindowTest, FromVistaOnTheHotKeyIsFreeAndClosingEndsTheWorker) {
    pw::worker::frmWelcome welcome(worker_, System(WindowsFamily::VistaOrLater));
    EXPECT_TRUE(HotKeyTaken());
    ASSERT_TRUE(welcome.Load());
    Pump(welcome);
    HWND hwnd = welcome.Hwnd();
    EXPECT_FALSE(HotKeyTaken());
    EXPECT_EQ(Text(GetDlgItem(hwnd, pw::worker::lblHowToStart)),
              kIntro + L"\r\n\r\n\r\n\r\n" + kLineA + L"\r\n" + kLineB + L"\r\n" + kNote);

    PressKey(welcome, VK_RETURN);
    EXPECT_EQ(welcome.Hwnd(), nullptr);
    EXPECT_EQ(worker_.Hwnd(), nullptr);
}

// "Verlauf aus Windows übernehmen": ticked at first, taken up by OK alone,
// and offered until the window has been closed once with it.
TEST_F(WelcomeWindowTest, OkWithTheImportTickedStartsItAndTheOfferComesOnce) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, pw::SectionKeyOf(pw::SettingsKey::CurrentSettings), L"WindowsHistoryOffered");
    int chosen = 0;
    auto show = [&](UINT key, bool untick) {
        pw::worker::frmWelcome welcome(worker_, System(WindowsFamily::Xp));
        welcome.onImportChosen = [&] { ++chosen; };
        EXPECT_TRUE(welcome.Load());
        HWND box = GetDlgItem(welcome.Hwnd(), pw::worker::chkImport);
        bool shown = box != nullptr;
        if (shown) {
            EXPECT_EQ(Text(box), L"Verlauf aus Windows übernehmen");
            EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
            if (untick)
                SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        Pump(welcome);
        PressKey(welcome, key);
        EXPECT_EQ(welcome.Hwnd(), nullptr);
        return shown;
    };
    EXPECT_TRUE(show(VK_ESCAPE, false));  // Esc takes nothing up, but the offer was made
    EXPECT_EQ(chosen, 0);
    EXPECT_FALSE(show(VK_RETURN, false));
    EXPECT_EQ(chosen, 0);

    RegDeleteKeyValueW(HKEY_CURRENT_USER, pw::SectionKeyOf(pw::SettingsKey::CurrentSettings), L"WindowsHistoryOffered");
    EXPECT_TRUE(show(VK_RETURN, true));
    EXPECT_EQ(chosen, 0);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, pw::SectionKeyOf(pw::SettingsKey::CurrentSettings), L"WindowsHistoryOffered");
    EXPECT_TRUE(show(VK_RETURN, false));
    EXPECT_EQ(chosen, 1);
}

TEST_F(WelcomeWindowTest, TheCloseBoxClosesLikeOK) {
    pw::worker::frmWelcome welcome(worker_, System(WindowsFamily::Windows2000));
    ASSERT_TRUE(welcome.Load());
    PostMessageW(welcome.Hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump(welcome);
    EXPECT_EQ(welcome.Hwnd(), nullptr);
    EXPECT_NE(worker_.Hwnd(), nullptr);
}

TEST_F(WelcomeWindowTest, HeadingsAreBlueAndWithoutVisualStylesTheFooterIsClassic) {
    for (WindowsFamily family : {WindowsFamily::Xp, WindowsFamily::VistaOrLater}) {
        pw::worker::frmWelcome welcome(worker_, System(family, family == WindowsFamily::Xp));
        ASSERT_TRUE(welcome.Load());
        HWND hwnd = welcome.Hwnd();
        for (int id : {pw::worker::lblWelcome, pw::worker::lblAppHeader, pw::worker::lblAppStartHeader})
            EXPECT_EQ(ColoursOf(GetDlgItem(hwnd, id)).text, RGB(0, 51, 153)) << id;
        EXPECT_NE(ColoursOf(GetDlgItem(hwnd, pw::worker::lblHowToStart)).text, RGB(0, 51, 153));
        EXPECT_EQ(ColoursOf(GetDlgItem(hwnd, pw::worker::lblHowToStart)).background, RGB(255, 255, 255));
        EXPECT_EQ(FontFace(GetDlgItem(hwnd, pw::worker::lblWelcome)), L"Verdana");
        EXPECT_EQ(FontFace(GetDlgItem(hwnd, pw::worker::lblHowToStart)), L"Tahoma");
        EXPECT_EQ(ColoursOf(GetDlgItem(hwnd, pw::worker::picFooter)).background, GetSysColor(COLOR_3DFACE));
        EXPECT_EQ(ColoursOf(GetDlgItem(hwnd, pw::worker::linDivider)).background, GetSysColor(COLOR_3DSHADOW));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(hwnd, pw::worker::linDivider2)));
        welcome.Unload();
    }
}

TEST_F(WelcomeWindowTest, VistaWithVisualStylesGetsTheLightFooterAndSegoeUI) {
    pw::worker::frmWelcome welcome(worker_, System(WindowsFamily::VistaOrLater, true));
    ASSERT_TRUE(welcome.Load());
    HWND hwnd = welcome.Hwnd();
    EXPECT_EQ(FontFace(GetDlgItem(hwnd, pw::worker::lblWelcome)), L"Segoe UI");
    EXPECT_EQ(ColoursOf(GetDlgItem(hwnd, pw::worker::lblWelcome)).text, RGB(0, 51, 153));
    EXPECT_EQ(ColoursOf(GetDlgItem(hwnd, pw::worker::picFooter)).background, RGB(240, 240, 240));
    EXPECT_EQ(ColoursOf(GetDlgItem(hwnd, IDOK)).background, RGB(240, 240, 240));
    EXPECT_EQ(ColoursOf(GetDlgItem(hwnd, pw::worker::linDivider)).background, RGB(223, 223, 223));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(hwnd, pw::worker::linDivider2)));
}

TEST_F(WelcomeWindowTest, FontsAndLayoutScaleWithTheDpi) {
    int clientWidth[2] = {};
    int fontHeight[2] = {};
    int i = 0;
    for (int dpi : {96, 120}) {
        pw::worker::frmWelcome welcome(worker_, System(WindowsFamily::Xp, false, dpi));
        ASSERT_TRUE(welcome.Load());
        RECT client{};
        GetClientRect(welcome.Hwnd(), &client);
        clientWidth[i] = client.right;
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(
                       SendMessageW(GetDlgItem(welcome.Hwnd(), pw::worker::lblHowToStart), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        fontHeight[i++] = font.lfHeight;
        welcome.Unload();
    }
    EXPECT_EQ(clientWidth[1], MulDiv(clientWidth[0], 120, 96));
    EXPECT_EQ(fontHeight[0], -11);  // 8.25 pt
    EXPECT_EQ(fontHeight[1], -14);
}

TEST_F(WelcomeWindowTest, WithLargeFontsThePictureMovesTo3560Twips) {
    for (int dpi : {96, 120, 144}) {
        pw::worker::frmWelcome welcome(worker_, System(WindowsFamily::VistaOrLater, false, dpi));
        ASSERT_TRUE(welcome.Load());
        RECT picture = ChildRect(GetDlgItem(welcome.Hwnd(), pw::worker::imgStartIcon));
        RECT startHeader = ChildRect(GetDlgItem(welcome.Hwnd(), pw::worker::lblAppStartHeader));
        int largeFontsTop = MulDiv(3560, dpi, 1440);
        if (dpi > 110)
            EXPECT_EQ(picture.top, largeFontsTop) << dpi;
        else
            EXPECT_NE(picture.top, largeFontsTop) << dpi;
        EXPECT_GE(picture.top, startHeader.bottom) << dpi;
        // Shown as drawn, not stretched.
        EXPECT_EQ(picture.bottom - picture.top, 18) << dpi;
        EXPECT_EQ(picture.right - picture.left, 17) << dpi;
        welcome.Unload();
    }
}

// ---------------------------------------------------------------------------
// The shipped worker with "/setupnow", Wine told which Windows to be.

namespace {

// A registry value that Wine reads when a program starts, put back
// afterwards.
// A setting of Wine itself for a program the test starts. Wine reads it from
// the real HKEY_CURRENT_USER\Software\Wine when the program starts, before
// the program joins the test run, so it goes there (and is put back after).
class WineSetting {
  public:
    WineSetting(const std::wstring& keyBelowSoftware, std::wstring name, DWORD type, const void* data, DWORD size)
        : name_(std::move(name)) {
        HKEY hkey = nullptr;
        RegCreateKeyExW(pwtest::UserPlaces().software, keyBelowSoftware.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &hkey, nullptr);
        hkey_.Reset(hkey);
        had_ = RegQueryValueExW(hkey, name_.c_str(), nullptr, &oldType_, old_, &oldSize_) == ERROR_SUCCESS;
        RegSetValueExW(hkey, name_.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    }
    ~WineSetting() {
        if (had_)
            RegSetValueExW(hkey_.Get(), name_.c_str(), 0, oldType_, old_, oldSize_);
        else
            RegDeleteValueW(hkey_.Get(), name_.c_str());
    }

  private:
    std::wstring name_;
    pw::cHKey hkey_;
    bool had_ = false;
    DWORD oldType_ = 0;
    BYTE old_[256] = {};
    DWORD oldSize_ = sizeof old_;
};

class WindowsVersionForWorker : public WineSetting {
  public:
    explicit WindowsVersionForWorker(const wchar_t* version)
        : WineSetting(L"Wine\\AppDefaults\\PfadwerkHg.exe",
                      L"Version",
                      REG_SZ,
                      version,
                      static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t))) {}
};

HWND FindWelcome(const WorkerProcess& process) {
    HWND found = nullptr;
    WaitFor([&] {
        found = nullptr;
        for (HWND hwnd = FindWindowW(L"PfadwerkHgWelcome", nullptr); hwnd;
             hwnd = FindWindowExW(nullptr, hwnd, L"PfadwerkHgWelcome", nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == process.Pid() && IsWindowVisible(hwnd))
                found = hwnd;
        }
        return found != nullptr || !process.Running();
    });
    return found;
}

void PressEsc(HWND welcome) {
    HWND ok = GetDlgItem(welcome, IDOK);
    PostMessageW(ok, WM_KEYDOWN, VK_ESCAPE, 1);
    PostMessageW(ok, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

class SetupRunTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetWorkerAndHistory(); }
    void TearDown() override { ResetWorkerAndHistory(); }
};

}  // namespace

TEST_F(SetupRunTest, OnXpTheSetupRunStaysTheWorkerWithItsHotKey) {
    WindowsVersionForWorker xp(L"winxp");
    WorkerProcess setup(DistFolder() / L"PfadwerkHg.exe", L"/setupnow");
    HWND welcome = FindWelcome(setup);
    ASSERT_NE(welcome, nullptr);
    std::wstring howTo = Text(GetDlgItem(welcome, pw::worker::lblHowToStart));
    EXPECT_EQ(howTo.find(kNote), std::wstring::npos);
    EXPECT_NE(howTo.find(kLineB), std::wstring::npos);
    EXPECT_NE(setup.WaitForWindow(), nullptr);
    EXPECT_TRUE(HotKeyTaken());

    PressEsc(welcome);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(welcome); }));
    EXPECT_FALSE(setup.WaitForExit(1000));
    EXPECT_NE(setup.Window(), nullptr);
}

TEST_F(SetupRunTest, OnWindows7TheSetupRunGivesUpTheHotKeyAndEndsWithTheWindow) {
    WindowsVersionForWorker seven(L"win7");
    WorkerProcess setup(DistFolder() / L"PfadwerkHg.exe", L"/setupnow");
    HWND welcome = FindWelcome(setup);
    ASSERT_NE(welcome, nullptr);
    EXPECT_NE(Text(GetDlgItem(welcome, pw::worker::lblHowToStart)).find(L"\r\n" + kNote), std::wstring::npos);
    EXPECT_FALSE(HotKeyTaken());

    PressEsc(welcome);
    EXPECT_TRUE(setup.WaitForExit());
}

TEST_F(SetupRunTest, BesideARunningWorkerTheSetupRunLivesUntilItsWindowCloses) {
    WindowsVersionForWorker xp(L"winxp");
    WorkerProcess running;
    ASSERT_NE(running.WaitForWindow(), nullptr);
    WorkerProcess setup(DistFolder() / L"PfadwerkHg.exe", L"/setupnow");
    HWND welcome = FindWelcome(setup);
    ASSERT_NE(welcome, nullptr);
    EXPECT_EQ(setup.Window(), nullptr);

    PressEsc(welcome);
    EXPECT_TRUE(setup.WaitForExit());
    EXPECT_TRUE(running.Running());
    EXPECT_TRUE(HotKeyTaken());
}
