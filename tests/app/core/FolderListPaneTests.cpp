#include <gtest/gtest.h>

#include "CoreTexts.h"
#include "FolderListKeys.h"
#include "FolderListPane.h"

using namespace pw;

TEST(FolderListPane, WelcomeOrNothingFoundInTheLastUsedList) {
    MessagePaneContent pane = MessagePaneFor(FolderView::LastUsed, L"", 3, L"", &pwtest::ResourceText);
    EXPECT_EQ(pane.header, L"Willkommen bei Pfadwerk!");
    EXPECT_EQ(pane.headerColour, kPaneBlue);
    EXPECT_NE(pane.message.find(L"zuletzt verwendet haben.\r\rEin Mausklick"), std::wstring::npos);
    EXPECT_TRUE(pane.line);
    EXPECT_FALSE(pane.nothingFound || pane.tipPicture || !pane.hint.empty());
    MessagePaneContent found = MessagePaneFor(FolderView::LastUsed, L" o'neil", 3, L"", &pwtest::ResourceText);
    EXPECT_EQ(found.header, L"Kein verwendeter Ordner gefunden!");
    EXPECT_EQ(found.headerColour, (PaneColour{170, 63, 60}));
    EXPECT_EQ(found.message,
              L"Es wurde kein verwendeter Ordner gefunden, in dessen Namen oder Pfad ' o'neil' vorkommt.\r\r"
              L"Esc = Suche zurücksetzen");
    EXPECT_TRUE(found.nothingFound);
    EXPECT_FALSE(found.line || found.tipPicture || !found.hint.empty());
}

TEST(FolderListPane, MostUsedByTimeFrame) {
    MessagePaneContent all = MessagePaneFor(FolderView::MostUsed, L"abc", 0, L"", &pwtest::ResourceText);
    EXPECT_EQ(all.header, L"Willkommen bei Pfadwerk!");
    EXPECT_NE(all.message.find(L"am häufigsten verwendet haben."), std::wstring::npos);
    EXPECT_TRUE(all.line);
    EXPECT_TRUE(all.hint.empty());

    MessagePaneContent week = MessagePaneFor(FolderView::MostUsed, L"", 4, L"Letzte 7 Tage", &pwtest::ResourceText);
    EXPECT_EQ(week.header, L"Keine verwendeten Ordner im ausgewählten Zeitraum");
    EXPECT_EQ(week.headerColour, kPaneRed);
    EXPECT_EQ(week.message,
              L"\r\rPfadwerk kann keine Ordner feststellen, die im Zeitraum 'Letzte 7 Tage' verwendet wurden.");
    EXPECT_EQ(week.hint, L"Wählen Sie einen anderen Zeitraum, um verwendete Ordner anzuzeigen.");
    EXPECT_TRUE(week.tipPicture);
    EXPECT_FALSE(week.line || week.nothingFound);
}

TEST(FolderListPane, Favorites) {
    MessagePaneContent pane = MessagePaneFor(FolderView::Favorites, L"abc", 4, L"", &pwtest::ResourceText);
    EXPECT_EQ(pane.header, L"Ordnerfavoriten festlegen");
    EXPECT_EQ(pane.headerColour, kPaneBlue);
    EXPECT_EQ(pane.hint, L"Klicken Sie hierauf, um Ordnerfavoriten jetzt festzulegen.");
    EXPECT_TRUE(pane.tipPicture && pane.line);
    EXPECT_FALSE(pane.nothingFound);
}

TEST(FolderListKeys, KeyReleaseInTheSearchBox) {
    for (int key : {16, 17, 91, 37, 39, 36, 35})
        EXPECT_EQ(FindKeyReleased(key, false), FindKeyAction::None) << key;
    EXPECT_EQ(FindKeyReleased(13, false), FindKeyAction::EnterList);
    EXPECT_EQ(FindKeyReleased(40, false), FindKeyAction::EnterList);
    for (int key : {65, 8, 46, 48, 32, 38})
        EXPECT_EQ(FindKeyReleased(key, false), FindKeyAction::Refresh) << key;
    EXPECT_EQ(FindKeyReleased(70, false), FindKeyAction::Refresh);  // a plain F searches like any letter
    EXPECT_EQ(FindKeyReleased(70, true), FindKeyAction::None);      // Ctrl+F

    EXPECT_EQ(FindEnterPressed(13, 1), FindEnterAction::OpenSingleEntry);
    EXPECT_EQ(FindEnterPressed(13, 2), FindEnterAction::FocusFirstEntry);
    EXPECT_EQ(FindEnterPressed(40, 1), FindEnterAction::FocusFirstEntry);
    EXPECT_EQ(FindEnterPressed(13, 0), FindEnterAction::None);
    EXPECT_EQ(FindEnterPressed(40, 0), FindEnterAction::None);
}

TEST(FolderListKeys, EscapeResetsASearchOrLeavesTheWindow) {
    EXPECT_EQ(EscapeReleased(FolderView::LastUsed, true, L"abc", false, static_cast<ExitBehavior>(1)),
              EscapeAction::ResetSearch);
    EXPECT_EQ(EscapeReleased(FolderView::LastUsed, true, L"", false, static_cast<ExitBehavior>(1)),
              EscapeAction::Unload);
    EXPECT_EQ(EscapeReleased(FolderView::LastUsed, false, L"abc", false, static_cast<ExitBehavior>(2)),
              EscapeAction::Minimize);
    EXPECT_EQ(EscapeReleased(FolderView::MostUsed, true, L"abc", false, static_cast<ExitBehavior>(4)),
              EscapeAction::Minimize);
    EXPECT_EQ(EscapeReleased(FolderView::MostUsed, false, L"", false, static_cast<ExitBehavior>(3)),
              EscapeAction::Unload);
    EXPECT_EQ(EscapeReleased(FolderView::MostUsed, false, L"", true, static_cast<ExitBehavior>(3)), EscapeAction::None);
    EXPECT_EQ(EscapeReleased(FolderView::Favorites, false, L"", false, static_cast<ExitBehavior>(5)),
              EscapeAction::Unload);
}

TEST(FolderListKeys, DeleteTabsAndMouseLeave) {
    EXPECT_TRUE(DeleteKeyRemovesEntry(FolderView::LastUsed, L""));
    EXPECT_TRUE(DeleteKeyRemovesEntry(FolderView::MostUsed, L""));
    EXPECT_FALSE(DeleteKeyRemovesEntry(FolderView::LastUsed, L"proj"));
    EXPECT_FALSE(DeleteKeyRemovesEntry(FolderView::LastUsed, L" "));
    EXPECT_FALSE(DeleteKeyRemovesEntry(FolderView::Favorites, L""));

    EXPECT_EQ(ViewForTabPosition(1, false), FolderView::LastUsed);
    EXPECT_EQ(ViewForTabPosition(2, false), FolderView::MostUsed);
    EXPECT_EQ(ViewForTabPosition(3, false), FolderView::Favorites);
    EXPECT_EQ(ViewForTabPosition(1, true), FolderView::Favorites);
    EXPECT_EQ(ViewForTabPosition(2, true), FolderView::LastUsed);
    EXPECT_EQ(ViewForTabPosition(3, true), FolderView::MostUsed);
    EXPECT_EQ(TabPositionForView(FolderView::LastUsed, true), 2);
    EXPECT_EQ(TabPositionForView(FolderView::LastUsed, false), 1);
}
