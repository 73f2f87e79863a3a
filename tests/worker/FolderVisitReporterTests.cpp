// The folder-visit reporter's decisions, against test objects that implement
// the shell's interfaces (Wine's own ShellWindows neither lists windows nor
// fires events).
#include <gtest/gtest.h>

#include "FakeShellWindows.h"
#include "FolderVisitReporter.h"

using pw::cComPtr;
using pw::worker::cFolderVisitReporter;
using pwtest::FakeBrowser;
using pwtest::FakeShellWindows;

namespace {

struct Visit {
    std::wstring name, path;
    bool operator==(const Visit&) const = default;
};

void PrintTo(const Visit& visit, std::ostream* out) {
    std::string path(visit.path.begin(), visit.path.end());
    *out << "visit of " << path;
}

class FolderVisitReporterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        shells.push_back(new FakeShellWindows);
        ASSERT_TRUE(reporter.Start());
        Pump();
        ASSERT_TRUE(reporter.Connected());
    }
    void TearDown() override {
        reporter.Stop();
        for (FakeShellWindows* shell : shells)
            shell->Release();
    }
    // Deferred work of the reporter happens by posted message.
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    FakeShellWindows& Shell() { return *shells.back(); }
    FakeBrowser* OpenWindow(const std::wstring& name, const std::wstring& path) {
        FakeBrowser* window = Shell().Open();
        Pump();
        window->Navigate(name, path);
        Pump();
        return window;
    }

    std::vector<FakeShellWindows*> shells;
    std::vector<Visit> visits;
    cFolderVisitReporter reporter{[this] {
                                      cComPtr<IShellWindows> shell;
                                      if (!shells.empty() && !shells.back()->liveness.dead)
                                          shells.back()->QueryInterface(IID_IShellWindows, shell.PutVoid());
                                      return shell;
                                  },
                                  [this](const std::wstring& name, const std::wstring& path) {
                                      visits.push_back({name, path});
                                  }};
};

TEST_F(FolderVisitReporterTest, EachNavigationOfAWindowGivesOneReport) {
    FakeBrowser* window = OpenWindow(L"Projekte", L"C:\\Projekte");
    window->Navigate(L"Pfadwerk", L"C:\\Projekte\\Pfadwerk");  // opened from the list
    Pump();
    window->Navigate(L"Projekte", L"C:\\Projekte");  // back
    Pump();
    window->Navigate(L"Lokaler Datenträger (C:)", L"C:\\");  // up
    Pump();
    window->Navigate(L"Windows", L"C:\\Windows");  // a typed path
    Pump();
    window->Navigate(L"Berichte", L"\\\\server\\daten\\Berichte");  // a network share
    Pump();
    window->Navigate(L"server", L"\\\\server", false);  // the server's shares
    Pump();
    EXPECT_EQ(visits, (std::vector<Visit>{{L"Projekte", L"C:\\Projekte"},
                                          {L"Pfadwerk", L"C:\\Projekte\\Pfadwerk"},
                                          {L"Projekte", L"C:\\Projekte"},
                                          {L"Lokaler Datenträger (C:)", L"C:\\"},
                                          {L"Windows", L"C:\\Windows"},
                                          {L"Berichte", L"\\\\server\\daten\\Berichte"},
                                          {L"server", L"\\\\server"}}));
}

TEST_F(FolderVisitReporterTest, NewWindowsAndTabsAreReportedOnceWhicheverEventComesFirst) {
    // The window list tells of the window after it has shown its folder, and
    // the window's own event for that navigation follows.
    FakeBrowser* window = Shell().Add();
    window->Show(L"Musik", L"C:\\Users\\Anna\\Music");
    Shell().FireList(DISPID_WINDOWREGISTERED);
    Pump();
    window->FireNavigateComplete2();
    // A new tab of the same window is an entry of its own in the list.
    FakeBrowser* tab = Shell().Open();
    Pump();
    tab->Navigate(L"Bilder", L"C:\\Users\\Anna\\Pictures");
    window->Navigate(L"Videos", L"C:\\Users\\Anna\\Videos");
    Pump();
    tab->Navigate(L"Urlaub", L"C:\\Users\\Anna\\Pictures\\Urlaub");
    Pump();
    EXPECT_EQ(visits, (std::vector<Visit>{{L"Musik", L"C:\\Users\\Anna\\Music"},
                                          {L"Bilder", L"C:\\Users\\Anna\\Pictures"},
                                          {L"Videos", L"C:\\Users\\Anna\\Videos"},
                                          {L"Urlaub", L"C:\\Users\\Anna\\Pictures\\Urlaub"}}));
    EXPECT_EQ(reporter.WatchedWindowCount(), 2u);
}

TEST_F(FolderVisitReporterTest, WindowsOpenBeforeTheStartAreWatchedFromTheirNextNavigation) {
    reporter.Stop();
    FakeBrowser* window = Shell().Add();
    window->Show(L"Dokumente", L"C:\\Users\\Anna\\Documents");
    ASSERT_TRUE(reporter.Start());
    Pump();
    EXPECT_TRUE(visits.empty());
    window->Navigate(L"Briefe", L"C:\\Users\\Anna\\Documents\\Briefe");
    Pump();
    EXPECT_EQ(visits, (std::vector<Visit>{{L"Briefe", L"C:\\Users\\Anna\\Documents\\Briefe"}}));
}

// Explorer waits while its event is with us: the event only notes the
// navigation, and the window is asked about its folder after the call.
TEST_F(FolderVisitReporterTest, TheShellsCallOnlyNotesTheVisitAndAWindowThatMovedOnKeepsEach) {
    FakeBrowser* window = OpenWindow(L"Temp", L"C:\\Temp");
    bool askedDuringTheCall = false;
    window->whileAsked = [&] { askedDuringTheCall = true; };
    window->Navigate(L"Projekte", L"C:\\Projekte");
    EXPECT_FALSE(askedDuringTheCall);
    EXPECT_EQ(visits.size(), 1u);
    // More navigations before the first was asked about (the worker was
    // busy): the window shows the last folder by then.
    window->Navigate(L"Dieser PC", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", false);
    window->Navigate(L"Berichte", L"C:\\Projekte\\Berichte");
    window->whileAsked = nullptr;
    Pump();
    EXPECT_EQ(visits,
              (std::vector<Visit>{
                  {L"Temp", L"C:\\Temp"}, {L"Projekte", L"C:\\Projekte"}, {L"Berichte", L"C:\\Projekte\\Berichte"}}));
}

TEST_F(FolderVisitReporterTest, WhatIsNoFolderWithAPathGivesNoReport) {
    FakeBrowser* window = Shell().Open();
    Pump();
    window->ShowWebPage();  // a window whose document is no folder view
    window->FireNavigateComplete2();
    Pump();
    window->Navigate(L"Dieser PC", L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", false);
    Pump();
    window->Navigate(L"Dokumente", L"::{031E4825-7B94-4DC3-B131-E946B44C8DD5}\\Documents.library-ms", false);
    Pump();
    // A frame inside the window navigating on its own.
    window->Show(L"Temp", L"C:\\Temp");
    FakeBrowser* frame = Shell().Add();
    window->FireNavigateComplete2(frame);
    Pump();
    EXPECT_TRUE(visits.empty());
}

TEST_F(FolderVisitReporterTest, AClosedWindowIsLetGoOf) {
    FakeBrowser* window = OpenWindow(L"Temp", L"C:\\Temp");
    window->AddRef();  // to look at it after the shell has let go
    ULONG heldByShellAndTest = 2;
    ASSERT_EQ(window->SinkCount(), 1u);
    Shell().Close(window);
    Pump();
    EXPECT_EQ(reporter.WatchedWindowCount(), 0u);
    EXPECT_EQ(window->SinkCount(), 0u);
    EXPECT_EQ(window->references, heldByShellAndTest - 1);
    window->Release();

    // A window that leaves the list without a word of its own is let go too.
    FakeBrowser* quiet = OpenWindow(L"Temp", L"C:\\Temp");
    quiet->AddRef();
    Shell().Close(quiet, false);
    Pump();
    EXPECT_EQ(quiet->SinkCount(), 0u);
    EXPECT_EQ(quiet->references, 1u);
    quiet->Release();
}

TEST_F(FolderVisitReporterTest, StoppedWhileAskingAWindowItFinishesTheAnswerFirst) {
    FakeBrowser* window = OpenWindow(L"Temp", L"C:\\Temp");
    window->AddRef();
    window->whileAsked = [&] { reporter.Stop(); };
    window->Navigate(L"Windows", L"C:\\Windows");
    Pump();
    window->whileAsked = nullptr;
    EXPECT_EQ(visits.back(), (Visit{L"Windows", L"C:\\Windows"}));
    EXPECT_FALSE(reporter.Connected());
    EXPECT_EQ(window->SinkCount(), 0u);
    window->Release();
}

TEST_F(FolderVisitReporterTest, ARestartedShellIsPickedUpAgain) {
    FakeBrowser* old = OpenWindow(L"Temp", L"C:\\Temp");
    FakeShellWindows& first = Shell();
    // Explorer ends: its objects answer nothing any more. The new one
    // announces itself to every top-level window.
    first.liveness.dead = true;
    shells.push_back(new FakeShellWindows);
    SendMessageW(reporter.Hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    Pump();
    EXPECT_EQ(first.references, 1u) << "the old shell's list is let go";
    EXPECT_EQ(old->references, 1u) << "and its windows";
    OpenWindow(L"Downloads", L"C:\\Users\\Anna\\Downloads");
    EXPECT_EQ(visits.back(), (Visit{L"Downloads", L"C:\\Users\\Anna\\Downloads"}));
    EXPECT_EQ(reporter.WatchedWindowCount(), 1u);

    // A shell found dead while the reporter brings its list up to date is
    // given up for a new one at once.
    FakeShellWindows& second = Shell();
    shells.push_back(new FakeShellWindows);
    second.liveness.dead = true;
    second.FireList(DISPID_WINDOWREGISTERED);
    Pump();
    EXPECT_EQ(second.references, 1u);
    OpenWindow(L"Desktop", L"C:\\Users\\Anna\\Desktop");
    EXPECT_EQ(visits.back(), (Visit{L"Desktop", L"C:\\Users\\Anna\\Desktop"}));
    EXPECT_EQ(visits.size(), 3u);
}

TEST_F(FolderVisitReporterTest, WithoutAShellItWaitsForOneToStart) {
    reporter.Stop();
    for (FakeShellWindows* shell : shells)
        shell->Release();
    shells.clear();
    ASSERT_TRUE(reporter.Start());
    Pump();
    EXPECT_FALSE(reporter.Connected());
    shells.push_back(new FakeShellWindows);
    SendMessageW(reporter.Hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    Pump();
    EXPECT_TRUE(reporter.Connected());
    OpenWindow(L"Temp", L"C:\\Temp");
    EXPECT_EQ(visits.size(), 1u);
}

}  // namespace
