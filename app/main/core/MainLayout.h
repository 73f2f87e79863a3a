// The main window's resize layout and column arithmetic in twips, apart from
// the window code so that every case is checked without a window.
#pragma once

namespace pw {

struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const TwipRect&) const = default;
};

struct LayoutInput {
    int innerWidth = 0, innerHeight = 0;  // the window's client area, twips
    bool vistaThemed = false;
    bool framedList = false;    // title bar shown without bVistaThemed
    bool menuBarShown = false;  // permanently or for Alt
    bool largeFonts = false;
    int findHostWidth = 1770;
};

struct MainLayout {
    int innerWidth = -1, innerHeight = -1;  // the client area it was made for
    TwipRect picHost;                       // in the window
    TwipRect picMessagePane;                // in picHost, over the list
    TwipRect lvwFolders;                    // in picHost
    int cmdShowMenuLeft = 0;
    int searchLeft = 0;         // picFindHost, cmbMostUsedTimeframe, picManageFavoritesHost
    int lblMessageTipLeft = 0;  // in the message pane
    int imgMessageTipLeft = 0;
    int imgMessageNothingFoundLeft = 0;
};

// The list starts below the tab row, this far from the window's top.
inline constexpr int kListTop = 390;

MainLayout ComputeMainLayout(const LayoutInput& in);

struct ColumnInput {
    int listWidth = 0;  // twips
    bool hidePathColumn = false;
    int firstColumnWidth = 0;      // "Ordner" as the user sized it
    int usedCountColumnWidth = 0;  // "Verwendet", 0 while it does not exist
    int scrollBarAllowance = 0;
};

// The width of the flexible column: "Ordner" when the path column is hidden,
// else "Pfad". Never below zero.
int FlexibleColumnWidth(const ColumnInput& in);

}  // namespace pw
