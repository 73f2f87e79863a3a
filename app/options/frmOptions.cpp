#include "frmOptions.h"

#include <shellapi.h>
#include <uxtheme.h>

#include <array>
#include <iterator>

#include "Database.h"
#include "HistoryQueries.h"
#include "ResText.h"
#include "Settings.h"
#include "SystemIcons.h"
#include "Text.h"
#include "common_res.h"
#include "modTaskDialog.h"
#include "options_res.h"

namespace pw {
namespace {

// The kept periods of the list, item by item.
constexpr std::array<int, 6> kKeepDays = {14, 21, 28, 42, 56, 84};

int KeepDaysItem(int days) {
    for (size_t i = 0; i < kKeepDays.size(); ++i) {
        if (kKeepDays[i] == days)
            return static_cast<int>(i);
    }
    return -1;
}

constexpr std::array<UINT, 5> kExitChoices = {IDC_OPT_STAYTHENHIDE, IDC_OPT_STAYTHENMINIMIZE, IDC_OPT_KEEPOPEN,
                                              IDC_OPT_MINIMIZE, IDC_OPT_HIDE};

constexpr UINT kPageTemplates[3] = {IDD_OPTIONS_GENERAL, IDD_OPTIONS_BEHAVIOR, IDD_OPTIONS_VIEW};

void AddItems(HWND box, UINT firstText, int count) {
    for (int i = 0; i < count; ++i) {
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ResText(firstText + i).c_str()));
    }
}

}  // namespace

frmOptions::frmOptions(OptionsHost host) : host_(std::move(host)) {}

frmOptions::~frmOptions() = default;

frmOptions::Result frmOptions::Show(HWND owner) {
    result_ = Result{false, host_.options, false};
    result_.saved = ShowModal(owner, IDD_OPTIONS) == IDOK;
    if (!result_.saved)
        result_ = Result{false, host_.options, false};
    return result_;
}

INT_PTR frmOptions::cPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            // The page takes the tab strip's face, themed or not.
            EnableThemeDialogTexture(Hwnd(), ETDT_ENABLETAB);
            return FALSE;
        case WM_COMMAND:
            SendMessageW(GetParent(Hwnd()), WM_COMMAND, wParam, lParam);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR frmOptions::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            Form_Load();
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    cmdOK_Click();
                    return TRUE;
                case IDCANCEL:
                    EndDialog(Hwnd(), IDCANCEL);
                    return TRUE;
                case IDC_CMD_CLEARHISTORY:
                    if (HIWORD(wParam) == BN_CLICKED)
                        cmdClearHistory_Click();
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_NOTIFY: {
            const auto* note = reinterpret_cast<const NMHDR*>(lParam);
            if (note->hwndFrom == tabOptions_ && note->code == TCN_SELCHANGE)
                PostMessageW(Hwnd(), kShowPage, 0, 0);
            return TRUE;
        }
        case kShowPage:
            tmrTabTimer_Timer();
            return TRUE;
        case WM_DESTROY:
            Form_Unload();
            return FALSE;
        default:
            return FALSE;
    }
}

void frmOptions::Form_Load() {
    tabOptions_ = GetDlgItem(Hwnd(), IDC_OPT_TABS);
    CreatePages();

    // The header's symbol is the system's own; without it, none.
    headerIcon_.Reset(SystemFileIcon(L"shell32.dll", 110));
    if (headerIcon_)
        SendDlgItemMessageW(Hwnd(), IDC_OPT_HEADER_ICON, STM_SETICON, reinterpret_cast<WPARAM>(headerIcon_.Get()), 0);
    deleteIcon_.Reset(
        static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"Delete_16", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
    if (deleteIcon_) {
        deleteImages_ =
            SetButtonImage(Item(IDC_CMD_CLEARHISTORY), deleteIcon_.Get(), 5, 1, BUTTON_IMAGELIST_ALIGN_LEFT, 16, 16);
    }

    FillLists();
    LoadValues();
    ApplyVersionLayout();

    int tab = ReadNumber(Setting::OptionsLastOpenedTab);
    TabCtrl_SetCurSel(tabOptions_, tab >= 1 && tab <= 3 ? tab - 1 : 0);
    tmrTabTimer_Timer();
}

void frmOptions::CreatePages() {
    for (UINT text : {IDS_OPT_TAB_GENERAL, IDS_OPT_TAB_BEHAVIOR, IDS_OPT_TAB_VIEW}) {
        std::wstring caption = ResText(text);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        TabCtrl_InsertItem(tabOptions_, TabCtrl_GetItemCount(tabOptions_), &item);
    }
    // The pages fill the tab strip's display area.
    RECT area{};
    GetWindowRect(tabOptions_, &area);
    MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(tabOptions_, FALSE, &area);
    for (int i = 0; i < 3; ++i) {
        pages_[i].CreateModeless(Hwnd(), kPageTemplates[i]);
        SetWindowPos(pages_[i].Hwnd(), tabOptions_, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
    }
}

void frmOptions::FillLists() {
    AddItems(Item(IDC_CMB_DATAWEEKS), IDS_OPT_WEEKS_2, 6);
    AddItems(Item(IDC_CMB_WINDOWPOSITION), IDS_OPT_POSITION_TASKBARSTART, 6);
    // The default size is named where it is the default.
    AddItems(Item(IDC_CMB_SIZE), host_.look.vistaThemed ? IDS_OPT_SIZE_SMALL : IDS_OPT_SIZE_SMALL_DEFAULT, 3);
}

void frmOptions::LoadValues() {
    const MainOptions& options = host_.options;
    SendMessageW(Item(IDC_CMB_WINDOWPOSITION), CB_SETCURSEL, static_cast<WPARAM>(options.windowPosition), 0);
    SendMessageW(Item(IDC_CMB_SIZE), CB_SETCURSEL, static_cast<WPARAM>(options.listSize), 0);
    Check(IDC_CHK_DEFAULTOPENINEXPLORER, options.defaultOpenInExplorer);
    int exit = static_cast<int>(options.exitBehavior);
    if (exit >= 1 && exit <= 5)
        Check(kExitChoices[exit - 1], true);
    watermark_ = host_.watermarkShown;
    Check(IDC_CHK_SHOWWATERMARK, watermark_);
    Check(IDC_CHK_SHOWWINDOWTITLEANDBORDER, options.showWindowTitleAndBorder);
    Check(IDC_CHK_REUSEFOLDERWINDOWS, options.reuseFolderWindows);
    Check(IDC_CHK_SHOWFAVORITESTABFIRST, options.showFavoritesTabFirst);
    Check(IDC_CHK_SHOWPATHCOLUMN, !options.hidePathColumn);

    // What the clean-up keeps: a stored 0 shows as the default it counts as.
    lKeepProtocolDays_ = KeptDays();
    SendMessageW(Item(IDC_CMB_DATAWEEKS), CB_SETCURSEL, static_cast<WPARAM>(KeepDaysItem(lKeepProtocolDays_)), 0);
    Check(IDC_CHK_CHECKFORUPDATES, ReadNumber(Setting::CheckForUpdates) == 1);
    Check(IDC_CHK_SWITCHFILEDIALOGS, options.switchFileDialogs);
}

// Vista and later open folders one way only: the choice of the Explorer goes,
// and the window has no border of its own to show.
void frmOptions::ApplyVersionLayout() {
    if (host_.family != WindowsFamily::VistaOrLater)
        return;
    HWND explorer = Item(IDC_CHK_DEFAULTOPENINEXPLORER);
    HWND page = GetParent(explorer);
    RECT reuse{}, gone{};
    GetWindowRect(Item(IDC_CHK_REUSEFOLDERWINDOWS), &reuse);
    GetWindowRect(explorer, &gone);
    const int shift = gone.bottom - reuse.bottom;
    ShowWindow(explorer, SW_HIDE);
    auto move = [page](HWND control, int dy, int dh) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(control, nullptr, r.left, r.top + dy, r.right - r.left, r.bottom - r.top + dh,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    move(Item(IDC_FRA_BEHAVIOROPEN), 0, -shift);
    for (UINT id : {static_cast<UINT>(IDC_FRA_BEHAVIORWINDOW), static_cast<UINT>(IDC_LBL_AFTERFOLDERLAUNCH)})
        move(Item(id), -shift, 0);
    for (UINT id : kExitChoices)
        move(Item(id), -shift, 0);
    SetWindowTextW(Item(IDC_CHK_SHOWWINDOWTITLEANDBORDER), ResText(IDS_OPT_TITLE_ONLY).c_str());
}

void frmOptions::tmrTabTimer_Timer() {
    int selected = TabCtrl_GetCurSel(tabOptions_);
    for (int i = 0; i < 3; ++i) {
        ShowWindow(pages_[i].Hwnd(), i == selected ? SW_SHOW : SW_HIDE);
    }
}

// Written in this order, each value whether changed or not, so that a value
// missing from the registry is there afterwards; only the window position
// waits for a change.
void frmOptions::cmdOK_Click() {
    MainOptions& options = result_.options;

    // 1. The kept period; with none chosen the stored one stays.
    int item = Selected(IDC_CMB_DATAWEEKS);
    if (item >= 0 && item < static_cast<int>(kKeepDays.size())) {
        int days = kKeepDays[item];
        if (lKeepProtocolDays_ > days && !ShorteningConfirmed(days))
            return;  // nothing saved, the dialog stays
        WriteNumber(Setting::KeepProtocolDays, days);
    }
    // 2. What the window does after a folder was opened.
    for (size_t i = 0; i < kExitChoices.size(); ++i) {
        if (!Checked(kExitChoices[i]))
            continue;
        options.exitBehavior = static_cast<ExitBehavior>(i + 1);
        WriteNumber(Setting::ExitBehavior, static_cast<int>(options.exitBehavior));
    }
    // 3. The weekly update check.
    WriteNumber(Setting::CheckForUpdates, Checked(IDC_CHK_CHECKFORUPDATES) ? 1 : 0);
    // Whether a waiting Open or Save dialog goes to the picked folder, from
    // the next pick on.
    options.switchFileDialogs = Checked(IDC_CHK_SWITCHFILEDIALOGS);
    WriteNumber(Setting::SwitchFileDialogs, options.switchFileDialogs ? 1 : 0);
    // 4. The icon size of the details view, applied at once there.
    int size = Selected(IDC_CMB_SIZE);
    if (size >= 0) {
        WriteNumber(Setting::FolderListSize, size);
        if (size != static_cast<int>(options.listSize)) {
            options.listSize = static_cast<ListSize>(size);
            if (!host_.largeIconView && host_.reloadDetailsView)
                host_.reloadDetailsView(options.listSize);
        }
    }
    // 5. and 6. How folders open; the list's menu takes its captions from
    // these.
    options.defaultOpenInExplorer = Checked(IDC_CHK_DEFAULTOPENINEXPLORER);
    WriteNumber(Setting::DefaultOpenInExplorer, options.defaultOpenInExplorer ? 1 : 0);
    options.reuseFolderWindows = Checked(IDC_CHK_REUSEFOLDERWINDOWS);
    WriteNumber(Setting::ReuseFolderWindows, options.reuseFolderWindows ? 1 : 0);
    // 7. The background picture, at once.
    const bool watermark = Checked(IDC_CHK_SHOWWATERMARK);
    WriteNumber(Setting::ShowWatermark, watermark ? 1 : 0);
    if (watermark != watermark_ && host_.showWatermark)
        host_.showWatermark(watermark);
    // 8. to 11. Options that only a freshly loaded window shows.
    bool reload = false;
    bool hidePathColumn = !Checked(IDC_CHK_SHOWPATHCOLUMN);
    WriteNumber(Setting::HidePathColumn, hidePathColumn ? 1 : 0);
    reload |= hidePathColumn != options.hidePathColumn;
    int position = Selected(IDC_CMB_WINDOWPOSITION);
    if (position >= 0 && position != static_cast<int>(options.windowPosition)) {
        WriteNumber(Setting::WindowPosition, position);
        reload = true;
    }
    bool titleBar = Checked(IDC_CHK_SHOWWINDOWTITLEANDBORDER);
    WriteNumber(Setting::ShowWindowTitleAndBorder, titleBar ? 1 : 0);
    reload |= titleBar != options.showWindowTitleAndBorder;
    bool favoritesFirst = Checked(IDC_CHK_SHOWFAVORITESTABFIRST);
    WriteNumber(Setting::ShowFavoritesTabFirst, favoritesFirst ? 1 : 0);
    reload |= favoritesFirst != options.showFavoritesTabFirst;
    result_.reloadMainWindow = reload;
    EndDialog(Hwnd(), IDOK);
}

// A shorter period deletes the older visits now, once the user agrees; with
// none of them there is nothing to ask.
bool frmOptions::ShorteningConfirmed(int days) {
    cDatabase db;
    if (!db.Open(host_.databasePath))
        return true;  // the worker's daily clean-up applies the new period
    // A history that cannot be read has nothing to delete now either.
    if (CountOlderThan(db, days) <= 0)
        return true;
    std::wstring text = FillPlaceholders(ResText(IDS_OPT_SHORTEN), {std::to_wstring(days / 7)});
    if (Presenter().ShowMessageBox(Hwnd(), text, ResText(IDS_CAPTION), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDCANCEL)
        return false;
    DeleteOlderThan(db, days);
    db.Close();
    if (host_.compressDatabase)
        host_.compressDatabase();
    return true;
}

// Takes effect at once: Cancel afterwards does not bring the history back.
void frmOptions::cmdClearHistory_Click() {
    // A presenter of the host's shows whatever it is asked to.
    const WindowsFamily family = host_.presenter ? host_.family : DialogFamilyOf(host_.family);
    // The task dialog sets the note apart; the message box runs it on.
    std::wstring content = ResText(IDS_OPT_CLEAR_CONTENT) +
                           (family == WindowsFamily::VistaOrLater ? L"\n\n" : L"\r\n") + ResText(IDS_OPT_CLEAR_KEPT);
    if (!ConfirmWith(Presenter(), family, Hwnd(), ResText(IDS_OPT_CLEAR_INSTRUCTION), content, 1,
                     ResText(IDS_OPT_CLEAR_BUTTON)))
        return;
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    {
        cDatabase db;
        if (db.Open(host_.databasePath))
            ClearHistory(db);
    }
    if (host_.compressDatabase)
        host_.compressDatabase();
    if (!host_.favoritesShown && host_.reloadList)
        host_.reloadList();
    SetCursor(previous ? previous : LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(Hwnd(), IDOK)), TRUE);
    EnableWindow(Item(IDC_CMD_CLEARHISTORY), FALSE);
}

void frmOptions::Form_Unload() {
    if (tabOptions_)
        WriteNumber(Setting::OptionsLastOpenedTab, TabCtrl_GetCurSel(tabOptions_) + 1);
}

HWND frmOptions::Item(UINT id) const {
    for (const cPage& page : pages_) {
        if (HWND item = page.Hwnd() ? GetDlgItem(page.Hwnd(), static_cast<int>(id)) : nullptr)
            return item;
    }
    return GetDlgItem(Hwnd(), static_cast<int>(id));
}

bool frmOptions::Checked(UINT id) const {
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void frmOptions::Check(UINT id, bool on) {
    SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

int frmOptions::Selected(UINT id) const {
    return static_cast<int>(SendMessageW(Item(id), CB_GETCURSEL, 0, 0));
}

cDialogPresenter& frmOptions::Presenter() const {
    return host_.presenter ? *host_.presenter : SystemDialogPresenter();
}

}  // namespace pw
