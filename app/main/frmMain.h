// The main window: three tabs over one list of folders, a search box, the
// time frame of the most-used list and the favorites link, shown next to the
// taskbar and gone again when the user clicks elsewhere.
//
// The frame (this class) holds placement, activation and the pop-up
// behaviour, the tabs and the window's keys, and wires what one part raises
// to what another accepts. Its parts own their controls and keys: the
// folder list (FolderList.h), the search box (SearchBox.h), the message
// pane (MessagePane.h) and the favorites link (FavoritesLink.h). A part
// tells the window what happened through its Events, which the window
// implements and hands to the part's Create. The methods below are grouped
// under the file that holds them (frmMain.cpp, frmMain_Keys.cpp, ...).
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

#include "FavoritesLink.h"
#include "FolderActions.h"
#include "FolderList.h"
#include "DialogJump.h"
#include "DisplayLook.h"
#include "Handles.h"
#include "MainLayout.h"
#include "MainOptions.h"
#include "MessagePane.h"
#include "SearchBox.h"
#include "Twips.h"
#include "Window.h"
#include "cTooltips.h"
#include "modUpdateCheck.h"

namespace pw {

class cDatabase;
class cDialogPresenter;

// How a main window is set up by whoever loads it.
struct frmMainSetup {
    // Where PfadwerkHg.exe, watermark.png and the icon file are; empty: the
    // folder of the running program.
    std::wstring programFolder;
    // Tests that only look at the loaded state keep the window hidden.
    bool show = true;
    // Hand over to a running copy of the program; tests that load windows in
    // their own process switch this off and start real copies beside them.
    bool singleInstance = true;
    // Called once, when the window paints for the first time.
    std::function<void()> onFirstPaint;
    // Called as each phase of the load ends, until the first paint.
    std::function<void(const char* phase)> onStartupPhase;
    // Called once the window has gone, however it was closed.
    std::function<void()> onUnloaded;
    // The history file the lists read; empty: DatabasePath().
    std::wstring databasePath;
    // Hands a web page or a "mailto:" address to the shell ("open"); empty:
    // ShellExecute. Tests watch what would be opened.
    std::function<void(HWND owner, const std::wstring& address)> openAddress;
    // The shell, dialogs, worker and history file the folder actions use;
    // empty parts are the system's (the history file: the one the lists read).
    FolderActionServices folderActionServices;
    // What the update check uses; empty parts are the system's, and its
    // notices and the download page go through presenter and openAddress
    // above when those are set.
    UpdateCheckServices updateCheckServices;
    // The window that was in front when the hot key was pressed (the
    // worker names it): an Open or Save dialog there goes to the folder the
    // user picks instead of Explorer opening it.
    HWND waitingDialog = nullptr;
    // How the window draws itself; empty: as this display and system ask.
    std::optional<DisplayLook> look;
};

// The list's context menu mnuPopUpFolder as the window would show it now.
struct PopUpFolderMenuState {
    WindowsFamily family = WindowsFamily::Windows2000;
    bool defaultOpenInExplorer = false;
    bool reuseFolderWindows = false;
    FolderView view = FolderView::LastUsed;
};
// The caller destroys the menu.
HMENU BuildPopUpFolderMenu(const PopUpFolderMenuState& state);

class frmMain final : public cWindow,
                      private cSearchBox::Events,
                      private cFolderList::Events,
                      private cFavoritesLink::Events,
                      private cDialogJump::Events {
  public:
    explicit frmMain(frmMainSetup setup = {});
    ~frmMain() override;

    // Runs every loading step and shows the window. False when a copy of the
    // program runs already: the activation has been passed on to it and
    // nothing else happened.
    bool Load();
    // Closing and unloading as by the close box: saves the window values and
    // destroys the window. Safe to call more than once.
    void Unload();
    // Unloads the window so that the entry loop loads a fresh one at once
    // (what bReloadMainWindow asks for).
    void UnloadForReload();
    bool ReloadRequested() const { return bReloadMainWindow_; }

    // Placement, layout and appearance.
    void PositionWindow();
    void RecalcColumnsWidths();
    // A new image list of the size for the details view, and the list
    // reloaded.
    void ReloadDetailsViewSettings(ListSize size);
    void ChangeDropShadow(bool bRemove);
    // Compacts the history the window reads, after visits were deleted.
    void CompressDatabase();
    // The pane that stands in for an empty list, with the texts of the
    // current view.
    void ShowMessagePane();
    // Fills the list of the last-used or most-used view from the history;
    // true re-creates the date groups (tab change, start-up).
    void FillFolderList(bool bRebuildGroups);
    // Opens a folder as the options say, the two inversions applied.
    void OpenFolder(const std::wstring& path, bool bInvertOpenMode, bool bInvertReuse);
    // Fills the favorites view from the store.
    void FillFavoritesList();
    // The favorites link and the menu commands "Favoriten verwalten...": the
    // favorites manager, and the favorites view filled anew afterwards.
    void lblManageFavorites_Click();
    // Asks the vendor's server for a newer build: weekly as the window
    // closes (bAutomaticCheck), or when the user asks. A manual check takes
    // the window out of its pop-up behaviour until its notice is closed.
    // Returns at once; the check goes on from the message loop.
    void CheckForUpdates(bool bAutomaticCheck);

    // What the window is showing and how it was set up.
    const MainOptions& Options() const { return options_; }
    FolderView CurrentView() const { return lCurrentView_; }
    SortMode SortModeOf(FolderView view) const;
    const cFolderList& FolderList() const { return list_; }
    bool FirstRunPending() const { return bFirstRunPending_; }
    bool FolderOpened() const { return bFolderOpened_; }
    bool MouseLeaveWatchEnabled() const { return tmrMouseLeaveCheckerEnabled_; }
    const Twips& ScreenTwips() const { return twips_; }
    const DisplayLook& Look() const { return look_; }
    int ScrollBarAllowance() const { return scrollBarAllowance_; }
    bool FramedList() const { return framedList_; }
    bool IconView() const { return bIconView_; }
    bool MenuBarShown() const { return bMenuBarShown_ || bMenuBarShownForAlt_; }
    // While a window of a command is open (and after the help), the window
    // does not go when it loses the focus.
    bool PopUpBehaviour() const { return popUpBehaviour_; }
    // The menu bar and the menu button's menu, for a look at their entries.
    HMENU MenuBar() const { return menuBar_.Get(); }
    HMENU ButtonMenu() const { return GetSubMenu(buttonMenu_.Get(), 0); }

    // How a command's window is framed (the modal frame): the pop-up
    // behaviour and the mouse-leave watch are off while it is open. A dialog
    // of the program also goes without the window's drop shadow, so that it
    // is not drawn with one. Frames may nest.
    enum class ModalFrame { ProgramDialog, ShellOrMessage };
    void RunInModalFrame(ModalFrame kind, const std::function<void()>& show);

  private:
    // Deferred work: each runs after the message that asked for it.
    static constexpr UINT kLoadWatermark = WM_APP + 1;
    static constexpr UINT kUnloadSoon = WM_APP + 2;
    static constexpr UINT kMinimizeSoon = WM_APP + 3;
    static constexpr UINT kTabsTick = WM_APP + 4;                     // tmrTabs
    static constexpr UINT kMustRefreshAfterNewFindTick = WM_APP + 5;  // tmrMustRefreshAfterNewFind
    static constexpr UINT kShowDamagedHistoryNotice = WM_APP + 6;
    static constexpr UINT_PTR tmrMouseLeaveChecker = 1;
    // Once the first paint is done and every control has painted too: what
    // the first sight of the window does not need.
    static constexpr UINT_PTR tmrAfterFirstPaint = 2;

    // frmMain.cpp: loading, closing, the window's messages.
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;
    bool CreateMainWindow();
    void LoadIcons();
    void ReadSettings();
    void ShowFirstList();
    void Form_QueryUnload();
    void Form_Unload();
    // Tells the start-up benchmark that a phase of the load has ended.
    void StartupPhaseDone(const char* phase);
    // frmMain_Commands.cpp: the pop-up behaviour and the modal frame.
    LRESULT Form_Activate(WPARAM wParam, HWND other);
    void UnloadSoon();
    void BeginModalFrame();
    void EndModalFrame();
    // The dialogs, notices and shell calls of the commands.
    cDialogPresenter& Presenter() const;
    void OpenAddress(HWND owner, const std::wstring& address) const;
    // frmMain_Shortcut.cpp: the shell links.
    void CreateAutostartShortcut();
    void HistoryCreated() override;  // the folder list's: the Quick Launch link
    static bool CreateShortcut(const std::wstring& linkPath,
                               const std::wstring& targetPath,
                               const std::wstring& workingDirectory,
                               const std::wstring& arguments,
                               const std::wstring& description,
                               const std::wstring& iconFile,
                               int iconIndex,
                               int showCommand);

    // frmMain_Controls.cpp: the controls, their fonts and the look at load.
    void CreateFonts();
    void CreateControls();
    void FillTabs();
    void FillTimeframes();
    void ApplyLoadAppearance();
    void CreateImageList();
    void AddTooltips();
    void ShowViewControls();

    // frmMain_Layout.cpp
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    bool WidenForTopRow();
    void Form_Resize();
    void SetWindowSizeTw(int width, int height);

    // frmMain_Interaction.cpp: tabs, time frame, sorting, entries, the parts'
    // events, the mouse-leave watch.
    std::wstring HistoryPath() const;
    void ShowReadProblem(const std::string& description, int number);
    // Once after either program set a damaged history aside: what happened
    // and where the old file lies.
    void ShowDamagedHistoryNotice();
    void RefillFolderList(bool bRebuildGroups);
    void ShowSearchTip();
    void tabOB_Click();
    void tmrTabs_Tick();
    void SelectLastUsedTab();
    void cmbMostUsedTimeframe_Click();
    int SelectedTimeframe() const;
    void RefreshList();
    void tmrMustRefreshAfterNewFind_Tick();
    void ResetSearch();
    // The search box's events.
    void SearchChanged() override;
    void SearchSubmitted() override;
    void SearchMovedDown() override;
    void SearchCleared() override;
    // Enter or Down in the search box: on to the entries found.
    void EnterListFromSearch(WORD keyCode);
    // The folder list's events.
    void FolderClicked(const cListView::MouseEvent& event) override;
    void FolderColumnClicked(int column) override;
    bool FolderEntered(int selected) override;
    void HistoryRepaired() override;
    void lvwFolders_ItemClick(int index);
    void SetItemSelectedAndFocused(int index);
    void EnableMouseLeaveWatch();
    void DisableMouseLeaveWatch();
    void tmrMouseLeaveChecker_Timer();
    void EndFolderOpenedHold();
    void MinimizeAfterOpen();

    // frmMain_Keys.cpp: the window's keys, whichever of its controls has the
    // focus.
    void InitInteraction();
    bool MouseOverList() const;
    int KeyActionEntry() const;
    bool Form_KeyDown(WORD key);
    bool Form_KeyUp(WORD key);
    KeyPreview PreviewKey(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) override;

  public:
    // The messages of the window's own controls (tabs, time frame, menu
    // button), by their subclass.
    LRESULT OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    // frmMain_Menu.cpp: the list's context menu and the folder actions.
    FolderActionHost ActionHost();
    FolderActionServices ActionServices() const;
    void lvwFolders_ItemRightClick(int index);
    void OnCommand(UINT command);
    void mnuPopUpFolderExplorer_Click();
    void mnuPopUpFolderOpenExisting_Click();
    void mnuPopUpFolderCopyPath_Click();
    void mnuPopUpFolderRemove_Click();
    void mnuPopupProperties_Click();
    // frmMain_Favorites.cpp: the favorites' commands (with FillFavoritesList
    // and lblManageFavorites_Click above).
    void mnuPopUpFolderAddToFavorites_Click();
    void ManageFavoritesClicked() override;
    // frmMain_Ignore.cpp: the ignore list's commands.
    void mnuPopUpFolderIgnore_Click();
    void mnuMenuIgnoredFolders_Click();
    void mnuMenuImport_Click();

    // frmMain_DialogJump.cpp: the Open or Save dialog that waits for a
    // folder, named in the caption and taken to the folder opened.
    void AttachWaitingDialog(HWND dialog);
    void OnActivationMessage(WPARAM waitingDialog);
    void ShowWaitingDialogCaption();
    // True when the dialog took the pick (or its message was shown); false:
    // open the folder as always.
    bool JumpDialogTo(const std::wstring& path);
    void ShowJumpMessage(const std::wstring& text, UINT icon);
    // The window goes once the dialog has its typed name back.
    void UnloadAfterJump();
    void DialogJumpWatchEnded() override;

    // frmMain_Commands.cpp: the menu button, the menu bar and their commands.
    struct MenuCommand {
        UINT buttonId;               // the entry of the button menu mnuMenu
        UINT barId;                  // its twin on the menu bar, 0 when it has none
        void (frmMain::*handler)();  // null: the command is not there yet, its entries are disabled
    };
    static const MenuCommand* FindMenuCommand(UINT id);
    void LoadMenus();
    void CheckViewMenus();
    bool OnMenuCommand(UINT id);
    void cmdShowMenu_MouseDown();
    void ShowMenuBar();
    void HideMenuBar();
    void mnuMenuDetails_Click();
    void mnuMenuLargeIcons_Click();
    void mnuViewHideMenuBar_Click();
    void mnuMenuShowMenubar_Click();
    void mnuMenuOptions_Click();
    void mnuMenuHelpTopics_Click();
    void mnuMenuFeedback_Click();
    void mnuMenuWebsite_Click();
    void mnuMenuAbout_Click();
    void mnuMenuCheckForUpdates_Click();

    frmMainSetup setup_;
    MainOptions options_;
    Twips twips_;
    WindowsFamily family_ = WindowsFamily::Windows2000;
    DisplayLook look_;
    UINT activationMessage_ = 0;  // a second start's announcement
    int scrollBarAllowance_ = 0;
    bool framedList_ = false;
    bool loaded_ = false;
    bool bSecondInstance_ = false;
    bool bWindowsShuttingDown_ = false;
    bool bReloadMainWindow_ = false;
    bool firstPaintDone_ = false;

    // What the window shows and remembers (CurrentSettings).
    FolderView lCurrentView_ = FolderView::LastUsed;
    SortMode lSortingLastUsed_ = SortMode::UsedDescending;
    SortMode lSortingMostUsed_ = SortMode::UsedDescending;
    int lFirstColumnWidth_ = 2100;  // twips, as read at load
    bool bIconView_ = false;
    bool bSearchTipShown_ = false;
    bool bFirstRunPending_ = false;
    std::wstring sIgnoreFilter_;

    // The pop-up behaviour: on while the window is up, off during a modal
    // frame. With it the window goes when it loses the focus.
    bool popUpBehaviour_ = false;
    int modalFrames_ = 0;  // modal frames open (the help's never closes)
    bool bFolderOpened_ = false;
    bool bMustIgnoreSearchBalloonTipClick_ = false;
    bool tmrMouseLeaveCheckerEnabled_ = false;
    // Deferred work, posted once until it has run.
    bool tmrTabsPosted_ = false;
    bool refreshPosted_ = false;

    // The entry the folder actions act on.
    std::wstring sActionFolderPath_;
    int lLastMouseButton_ = 1;
    bool swallowChar_ = false;
    bool escapeClosedDropDown_ = false;
    bool escapeDown_ = false;  // the window saw Esc go down
    bool bMenuBarShown_ = false;
    bool bMenuBarShownForAlt_ = false;

    // The controls and parts.
    HWND tabOB_ = nullptr;
    HWND cmbMostUsedTimeframe_ = nullptr;
    HWND cmdShowMenu_ = nullptr;
    // A plain white host (picHost).
    class cPanel final : public cWindow {
      public:
        bool Create(HWND parent, UINT id);
    };
    cPanel picHost_;
    cFolderList list_;
    cSearchBox searchBox_;
    cMessagePane messagePane_;
    cFavoritesLink favoritesLink_;
    cTooltips tooltips_;
    MainLayout layout_;
    cFont font_, fontFind_, fontFindCue_, fontHeader_, fontLink_, fontLinkHover_;
    cIcon iconSmall_, iconBig_, menuIcon_;
    cMenu menuBar_, buttonMenu_;
    cDialogJump dialogJump_{*this};
    bool unloadAfterJump_ = false;
};

}  // namespace pw
