// The folder list of the main window (lvwFolders): the list control, the
// icons of its entries and, for each entry, the row it shows. The history
// views fill it from the history file, which it repairs once when it is
// damaged; tips, clicks and menus read an entry's row through the entry
// itself. The list tells its owner what the user did with it.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "Database.h"
#include "DisplayLook.h"
#include "FavoritesFormat.h"
#include "FolderListDates.h"
#include "FolderListQuery.h"
#include "FolderListRead.h"
#include "Handles.h"
#include "FolderListSort.h"
#include "HistoryFiles.h"
#include "ListTexts.h"
#include "MainOptions.h"
#include "Twips.h"
#include "WindowKeys.h"
#include "cListView.h"

namespace pw {

// What one fill of a history view shows.
struct HistoryFill {
    FolderView view = FolderView::LastUsed;
    std::wstring searchText;  // empty: no search (the cue text never is one)
    int timeframe = 0;        // index of the time-frame box
    std::wstring ignoreFilter;
    SortMode sortMode = SortMode::UsedDescending;
    bool rebuildGroups = false;
    // The shell's icons of the local folders follow by LoadPendingIcons:
    // asking for them takes longer than everything else the window does
    // before it is first seen.
    bool iconsLater = false;
    // Told once the history file is open (or could not be), before the list
    // is filled from it.
    std::function<void()> historyOpened;
};

// Why a fill from the history file could not show it; number 0: it could.
struct HistoryReadProblem {
    std::string description;
    int number = 0;
};

class cFolderList {
  public:
    // What the list raises. Its key messages go to the window's keys first.
    class Events : public cWindowKeys {
      public:
        // A click of either button on an entry (index -1: beside them).
        virtual void FolderClicked(const cListView::MouseEvent& event) = 0;
        virtual void FolderColumnClicked(int column) = 0;
        // Enter in the focused list, on the selected entry (-1: none). True
        // when the owner acted on it; the key then goes no further.
        virtual bool FolderEntered(int selected) = 0;
        // The history file was missing; it has been made from its template
        // where it could.
        virtual void HistoryCreated() = 0;
        // A damaged history was set aside and the list filled from what
        // could still be read.
        virtual void HistoryRepaired() = 0;

      protected:
        ~Events() = default;
    };

    cFolderList() = default;
    ~cFolderList();
    cFolderList(const cFolderList&) = delete;
    cFolderList& operator=(const cFolderList&) = delete;

    // events must outlive the list.
    bool Create(HWND parent,
                UINT id,
                Events& events,
                HFONT font,
                const Twips& twips,
                const DisplayLook& look,
                int scrollBarAllowance);
    const cListView& View() const { return lvwFolders_; }
    cListView& View() { return lvwFolders_; }
    HWND Hwnd() const { return lvwFolders_.hWnd(); }
    HWND ListHwnd() const { return lvwFolders_.hWndListView(); }

    // "Ordner" at the width the user left it, and "Pfad" unless hidden; the
    // columns stay so for the life of the list.
    void AddColumns(int firstColumnWidth, bool hidePathColumn);
    // The flexible column takes the list's width beside the others.
    void RecalcColumnsWidths();
    int FirstColumnWidthPixels() const { return lvwFolders_.ColumnWidthPixels(0); }

    // A new image list for the details view at the given icon size, or for
    // the large-icon view; the entries need a fill afterwards.
    void UseDetailsView(ListSize size);
    void UseLargeIconView();
    bool SmallIcons() const { return smallIcons_; }

    // Fills a history view from the history file, made from its template
    // when it is missing. A damaged history is set aside and rebuilt with
    // what can still be read, and the list filled from the new one.
    HistoryReadProblem FillFromHistoryFile(const HistoryFiles& files, const HistoryFill& fill);
    // Fills a history view from an open history (null: the history could not
    // be opened, the list stays empty). False when reading failed.
    bool FillFromHistory(cDatabase* db, const HistoryFill& fill);
    // The icons a fill left for later (HistoryFill::iconsLater), in the
    // images they would have had at once.
    void LoadPendingIcons();
    // Fills the favorites view: the user groups in their order, "Sonstige"
    // last, headers only while there are user groups. Returns the number of
    // entries.
    int FillFavorites(const FavoritesData& data);
    int EntryCount() const { return lvwFolders_.ItemCount(); }
    // The row an entry shows; null for an index outside the list.
    const FolderRow* RowOf(int index) const;

    // The header arrows of the sort modes (column from 0; state 0 none, 1
    // ascending, 2 descending).
    void SetHeaderSortArrow(int column, int state);
    void ShowSortArrow(SortMode mode);
    void ClearSortArrow(SortMode mode);

  private:
    bool OnControlMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OnListMessage(HWND list, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool OpenHistory(cDatabase& db, const HistoryFiles& files);
    void AddUsedCountColumn();
    int UsedCountColumnWidth() const;
    void ApplySortMarks(FolderView view, SortMode mode);
    std::wstring InfoTip(int index) const;

    Events* events_ = nullptr;
    cListView lvwFolders_;
    bool swallowChar_ = false;     // the Enter the owner acted on
    std::vector<FolderRow> rows_;  // entry → row by the entry's data
    cImageList imageList_;
    // Rows (indexes into rows_) whose icons wait for LoadPendingIcons, in the
    // order of the fill; the share's image at 0 waits too unless shareIcon_.
    std::vector<size_t> pendingIcons_;
    bool iconsPending_ = false;
    bool shareIcon_ = false;
    bool smallIcons_ = true;
    bool hidePathColumn_ = false;
    bool usedColumnAdded_ = false;
    int usedCountColumnWidth_ = 0;  // twips
    Twips twips_;
    DisplayLook look_;
    int scrollBarAllowance_ = 0;
    FolderView shownView_ = FolderView::LastUsed;
    DateLocale dateLocale_;
    ListTexts texts_;
};

}  // namespace pw
