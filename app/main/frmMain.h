// The main window: three tabs over one list of folders, a search box, the
// time frame of the most-used list and the favorites link, shown next to the
// taskbar and gone again when the user clicks elsewhere.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "DateTime.h"
#include "FolderListDates.h"

#include "FolderActions.h"
#include "Handles.h"
#include "MainLayout.h"
#include "cListView.h"
#include "cTooltips.h"

namespace pw {

class cDatabase;

struct frmMainOptions {
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
    // The history file the lists read; empty: DatabasePath().
    std::wstring databasePath;
};

class frmMain {
public:
    explicit frmMain(frmMainOptions options = {});
    ~frmMain();
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Runs every loading step and shows the window. False when a copy of the
    // program runs already: the activation has been passed on to it and
    // nothing else happened (bSecondInstance).
    bool Load();
    // Closing and unloading as by the close box: saves the window values and
    // destroys the window. Safe to call more than once.
    void Unload();
    HWND hWnd() const { return hwnd_; }

    // Placement, layout and appearance.
    void PositionWindow();
    void RecalcColumnsWidths();
    void ReloadDetailsViewSettings();
    void ChangeDropShadow(bool bRemove);
    // Shows the pane that stands in for an empty list, with the texts of the
    // current view.
    void ShowMessagePane();
    // Fills the list of the last-used or most-used view from the history;
    // true re-creates the date groups (tab change, start-up).
    void FillFolderList(bool bRebuildGroups);
    // What the hover tips know of the n-th entry of the last fill (n from 1).
    LocalTime GetInfoTipDateValue(long lItemIndex) const;
    double GetInfoTipLongValue(long lItemIndex) const;

    // The pop-up behaviour: the main window procedure over the window's own.
    void InstallHook();
    void RemoveHook();
    void RemoveAllHooks();

    // Sort arrows on the list's header (frmMain_Interaction.cpp): column from
    // 0; state 0 none, 1 ascending, 2 descending.
    void SetHeaderSortArrow(int column, int state);
    void ShowSortArrow();
    void ClearSortArrow();

    // Folder actions (frmMain_Menu.cpp); the menu handlers act on sActionFolderPath.
    void OpenFolder(const std::wstring& path, bool bInvertOpenMode, bool bInvertReuse);
    void mnuPopUpFolderExplorer_Click();
    void mnuPopUpFolderOpenExisting_Click();
    void mnuPopUpFolderCopyPath_Click();
    void mnuPopUpFolderRemove_Click();
    void mnuPopupProperties_Click();
    // The list's context menu mnuPopUpFolder as it is shown now, for a
    // Windows version class (GetWindowsVersionClass); the caller destroys it.
    HMENU BuildPopUpFolderMenu(int versionClass) const;
    int VersionClass() const { return versionClass_; }
    bool MouseLeaveWatchEnabled() const { return tmrMouseLeaveCheckerEnabled_; }
    bool RefreshQueued() const { return tmrMustRefreshAfterNewFindEnabled_; }

    // ---- Public state ----
    long lCurrentView = 1;  // 1 last used, 2 most used, 3 favorites
    bool bFolderOpened = false;
    bool bMustIgnoreSearchBalloonTipClick = false;
    int bOptions_ExitBehavior = 1;  // 1 to 5
    bool bOptions_DefaultOpenInExplorer = false;
    bool bOptions_ReuseFolderWindows = false;
    bool bOptions_HidePathColumn = false;
    bool bOptions_ShowWindowTitleAndBorder = false;
    bool bOptions_bShowFavoritesTabFirst = false;
    bool bOptions_ShowMenuBar = false;
    int lOptions_WindowPosition = 0;
    int lOptions_ListSize = 0;
    bool bIconView = false;
    bool bSearchTipShown = false;
    bool bFirstRunPending = false;
    int lSortingLastUsed = 5;
    int lSortingMostUsed = 5;
    std::wstring sIgnoreFilter;  // the in-memory ignore filter
    int lUsedCountColumnWidth = 0;
    int lFirstColumnWidth = 2100;  // twips, as read at load
    bool bListFilled = true;
    bool bMessagePaneShown = false;
    bool bSecondInstance = false;
    bool bWindowsShuttingDown = false;
    WNDPROC lOriginalWindowProcAddress = nullptr;
    WNDPROC lOriginalMouseLeaveWindowProcAddress = nullptr;
    // The history lists (frmMain_List.cpp).
    WNDPROC lOriginalListViewWindowProcAddress = nullptr;
    bool bUsedColumnAdded = false;
    std::vector<LocalTime> dtRowDateUsed;  // 0..limit, entry n at n
    std::vector<long> lRowUsageCount;

    // ---- Controls ----
    HWND tabOB = nullptr;
    HWND picHost = nullptr;
    cListView lvwFolders;
    HWND picFindHost = nullptr;
    HWND txtFind = nullptr;
    HWND imgFind = nullptr;
    HWND imgFindCancel = nullptr;
    HWND cmbMostUsedTimeframe = nullptr;
    HWND picManageFavoritesHost = nullptr;
    HWND lblManageFavorites = nullptr;
    HWND cmdShowMenu = nullptr;
    HWND picMessagePane = nullptr;
    HWND lblMessageHeader = nullptr;
    HWND lblMessage = nullptr;
    HWND lblMessageTip = nullptr;
    HWND imgMessageTip = nullptr;
    HWND imgMessageLine = nullptr;
    HWND imgMessageNothingFound = nullptr;
    cTooltips tooltips;

    // Read by the layout; the menu bar of the menus sets them.
    bool bMenuBarShown = false;
    bool bMenuBarShownForAlt = false;

    // The entry the folder actions act on, and the form's Tag ("UNLOAD_NOW"
    // after the properties action).
    std::wstring sActionFolderPath;
    std::wstring Tag;
    // The shell, dialogs, worker and history file the folder actions use;
    // empty parts are the system's (the history file: the one the lists read).
    FolderActionServices folderActionServices;

    int TwipsPerPixelX() const { return tppX_; }
    int TwipsPerPixelY() const { return tppY_; }
    int ScrollBarAllowance() const { return scrollBarAllowance_; }
    bool FramedList() const { return framedList_; }
    bool SmallIcons() const { return smallIcons_; }

private:
    // frmMain.cpp: loading, closing, messages.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostMessage(HWND host, UINT msg, WPARAM wParam, LPARAM lParam);
    bool CreateMainWindow();
    void LoadIcons();
    void CreateAutostartShortcut();
    void ReadSettings();
    void FillTabs();
    void ShowFirstList();
    void AddTooltips();
    void Form_QueryUnload();
    void Form_Unload();
    void ShowViewControls();

    // frmMain_Shortcut.cpp
    static bool CreateShortcut(const std::wstring& linkPath, const std::wstring& targetPath,
                               const std::wstring& workingDirectory, const std::wstring& arguments,
                               const std::wstring& description, const std::wstring& iconFile, int iconIndex,
                               int showCommand);

    // frmMain_Controls.cpp: the controls, their fonts, colours and pictures.
    void CreateControls();
    void CreateFonts();
    void ApplyLoadAppearance();
    void CreateColumns();
    void CreateImageList();
    LRESULT OnCtlColor(HWND control, HDC dc);
    void DrawPicture(const DRAWITEMSTRUCT& item);
    void LayoutMessagePane();
    void SetFindCue(bool cue);
    void MoveLeftTw(HWND control, int left) const;
    TwipRect ClientTw(HWND window) const;

    // frmMain_Layout.cpp
    void Form_Resize();
    void MoveTw(HWND control, int left, int top, int width, int height) const;
    RECT RectTw(int left, int top, int width, int height) const;
    int PxX(int twips) const;
    int PxY(int twips) const;
    void SetWindowSizeTw(int width, int height);

    // frmMain_List.cpp: the history lists.
    static LRESULT CALLBACK ListViewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnListViewMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void InstallListViewWindowProc();
    void RemoveListViewWindowProc();
    bool OpenHistory(cDatabase& db);
    void AddUsedCountColumn();
    void ApplySortMarks();
    void ShowSearchTip();
    std::wstring ListInfoTip(int itemIndex) const;
    DateLocale dateLocale_;
    unsigned fillGeneration_ = 0;  // a fill that sees it change was overtaken

    // frmMain_Search.cpp
    std::wstring FindText() const;
    void RefillFolderList(bool bRebuildGroups);
    void UpdateFindPictures();
    void txtFind_GotFocus();
    void txtFind_LostFocus();
    void txtFind_KeyUp(WORD keyCode);
    void txtFind_EnterOrDown(WORD keyCode);
    void RefreshSearch();
    void EnableRefreshTimer();
    void tmrMustRefreshAfterNewFind_Timer();
    void ResetSearch();
    void imgFindCancel_Click();

    // frmMain_Interaction.cpp
    static constexpr UINT_PTR tmrTabs = 1;
    static constexpr UINT_PTR tmrMustRefreshAfterNewFind = 2;
    static constexpr UINT_PTR tmrMouseLeaveChecker = 3;
    static constexpr UINT kUnloadSoonMessage = WM_APP + 30;
    static LRESULT CALLBACK KeyPreviewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR data);
    void InitInteraction();
    void StopTimers();
    void OnTimer(UINT_PTR id);
    bool OnInteractionMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void UnloadSoon();
    void tabOB_Click();
    void tmrTabs_Timer();
    void cmbMostUsedTimeframe_Click();
    void RefreshList();
    int CurrentSortMode() const;
    void lvwFolders_ColumnClick(int column);
    void lvwFolders_Click(const cListView::MouseEvent& event);
    void lvwFolders_ItemClick(int index);
    void SetItemSelectedAndFocused(int index);
    bool MouseOverList() const;
    int KeyActionEntry() const;
    bool OnControlKey(HWND control, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool Form_KeyDown(WORD key);
    bool Form_KeyUp(WORD key);
    void EnableMouseLeaveWatch();
    void DisableMouseLeaveWatch();
    void tmrMouseLeaveChecker_Timer();
    void MinimizeAfterOpen();
    bool tmrMustRefreshAfterNewFindEnabled_ = false;
    bool tmrMouseLeaveCheckerEnabled_ = false;
    int lLastMouseButton_ = 1;
    bool swallowChar_ = false;
    bool escapeClosedDropDown_ = false;

    // frmMain_Menu.cpp
    FolderActionHost ActionHost();
    FolderActionServices ActionServices() const;
    void BeginModalFrame();
    void EndModalFrame();
    void lvwFolders_ItemRightClick(int index);
    void RunPopUpFolderCommand(UINT command);

    // frmMain_Hook.cpp
    static LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LinkHoverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnHookMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnDeactivate(HWND activated);
    void lblManageFavorites_MouseMove();

    frmMainOptions options_;
    HWND hwnd_ = nullptr;
    int versionClass_ = 0;
    int tppX_ = 15, tppY_ = 15;
    int scrollBarAllowance_ = 0;
    bool framedList_ = false;
    bool smallIcons_ = true;
    bool loaded_ = false;
    bool unloading_ = false;
    bool firstPaintDone_ = false;
    bool findCue_ = false;
    bool showWatermark_ = false;
    COLORREF headerColour_ = RGB(0, 51, 153);
    HIMAGELIST imageList_ = nullptr;
    MainLayout layout_;
    cFont font_, fontFind_, fontFindCue_, fontHeader_, fontLink_, fontLinkHover_;
    cBrush windowBrush_, faceBrush_;
    cIcon iconSmall_, iconBig_, menuIcon_;
};

}  // namespace pw
