#include "frmImport.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>

#include "IgnoreList.h"
#include "ResText.h"
#include "Settings.h"
#include "Text.h"
#include "WindowsHistory.h"
#include "WindowsVersion.h"
#include "common_res.h"
#include "import_res.h"

namespace pw {
namespace {

// Visits written per step of the import; between steps the dialog paints
// its progress and hears Cancel.
constexpr size_t kImportStep = 250;
// An import that takes longer shows its progress.
constexpr auto kProgressDelay = std::chrono::milliseconds(300);

constexpr int kColumnWidths[] = {290, 170, 110};  // pixels at 96 dpi, within the list beside its scroll bar
constexpr UINT kColumnTexts[] = {IDS_IMPORT_COLUMN_FOLDER, IDS_IMPORT_COLUMN_SOURCE, IDS_IMPORT_COLUMN_DATE};
constexpr UINT kSourceTexts[] = {IDS_IMPORT_SOURCE_RECENT_FOLDER, IDS_IMPORT_SOURCE_RECENT_DOCS,
                                 IDS_IMPORT_SOURCE_TYPED_PATHS,   IDS_IMPORT_SOURCE_FILE_DIALOGS,
                                 IDS_IMPORT_SOURCE_SHELL_BAGS,    IDS_IMPORT_SOURCE_JUMP_LISTS};
static_assert(std::size(kSourceTexts) == std::size(kAllFolderSources));

// The user's time zone, read once: asked for every folder, the system reads
// it anew each time, which costs more than the whole import.
SYSTEMTIME LocalSystemTime(std::uint64_t fileTime) {
    static TIME_ZONE_INFORMATION zone{};
    static const bool known = GetTimeZoneInformation(&zone) != TIME_ZONE_ID_INVALID;
    FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(fileTime >> 32)};
    SYSTEMTIME system{}, local{};
    if (!FileTimeToSystemTime(&utc, &system) ||
        !SystemTimeToTzSpecificLocalTime(known ? &zone : nullptr, &system, &local))
        return {1601, 1, 1, 1, 0, 0, 0, 0};
    return local;
}

LocalTime LocalTimeOf(std::uint64_t fileTime) {
    SYSTEMTIME t = LocalSystemTime(fileTime);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::wstring DateText(std::uint64_t fileTime) {
    SYSTEMTIME t = LocalSystemTime(fileTime);
    wchar_t date[80] = {}, time[80] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, 80);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &t, nullptr, time, 80);
    return std::wstring(date) + L" " + time;
}

}  // namespace

bool IsNetworkFolder(const std::wstring& path) {
    if (IsNetworkPathText(path))
        return true;
    wchar_t root[] = {path.empty() ? L'?' : path[0], L':', L'\\', L'\0'};
    return GetDriveTypeW(root) == DRIVE_REMOTE;
}

std::function<bool(const std::wstring&)> NetworkFolderTest() {
    // One question per drive letter, not per folder: thousands of folders
    // lie on a handful of drives.
    auto drives = std::make_shared<std::map<wchar_t, bool>>();
    return [drives](const std::wstring& path) {
        if (IsNetworkPathText(path) || path.empty())
            return IsNetworkPathText(path);
        wchar_t letter = static_cast<wchar_t>(towupper(path[0]));
        auto known = drives->find(letter);
        if (known == drives->end())
            known = drives->emplace(letter, IsNetworkFolder(path)).first;
        return known->second;
    };
}

bool IsExistingFolder(const std::wstring& path) {
    // An empty card reader or disc drive must not ask the user for a disk.
    UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    DWORD attributes = GetFileAttributesW(path.c_str());
    SetErrorMode(previous);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// As the folder window names the folder, which is the name its visits carry.
// The shell names a folder other than its file name only where the folder
// says so itself (a desktop.ini, which makes it read-only or a system
// folder: Documents shows as "Dokumente") and for a drive; asking the shell
// for every folder would take many times as long as the whole import.
std::wstring FolderDisplayName(const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    bool root = slash == std::wstring::npos || slash + 1 == path.size();
    DWORD attributes = root ? 0 : GetFileAttributesW(path.c_str());
    bool customized =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
    SHFILEINFOW info{};
    if ((root || customized) && SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) &&
        info.szDisplayName[0])
        return info.szDisplayName;
    return root ? path : path.substr(slash + 1);
}

ImportResult frmImport::Show(const ImportRequest& request) {
    request_ = request;
    if (!request_.findFolders)
        request_.findFolders = &ReadWindowsHistory;
    if (!request_.isNetwork)
        request_.isNetwork = NetworkFolderTest();
    if (!request_.isFolder)
        request_.isFolder = &IsExistingFolder;
    if (!request_.nameOf)
        request_.nameOf = &FolderDisplayName;
    result_ = {};
    ShowModal(request_.owner, IDD_IMPORT);
    return result_;
}

HWND frmImport::List() const {
    return Item(IDC_LVW_IMPORT);
}

INT_PTR frmImport::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            Form_Load();
            return TRUE;
        case WM_FIND_FOLDERS:
            FindFolders();
            return TRUE;
        case WM_IMPORT_STEP:
            ImportStep();
            return TRUE;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->idFrom == IDC_LVW_IMPORT) {
                SetWindowLongPtrW(Hwnd(), DWLP_MSGRESULT, OnNotify(reinterpret_cast<NMHDR*>(lParam)));
                return TRUE;
            }
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_CMD_IMPORT_ALL:
                    cmdAll_Click(true);
                    return TRUE;
                case IDC_CMD_IMPORT_NONE:
                    cmdAll_Click(false);
                    return TRUE;
                case IDC_CHK_IMPORT_NETWORK:
                    chkNetwork_Click();
                    return TRUE;
                case IDOK:
                    cmdOK_Click();
                    return TRUE;
                case IDCANCEL:  // also Esc and the close box
                    cmdCancel_Click();
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

void frmImport::Form_Load() {
    if (!request_.owner)
        SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) | WS_EX_APPWINDOW);
    CentreOnOwner(Hwnd());
    for (size_t i = 0; i < std::size(kSourceTexts); ++i)
        sourceNames_[i] = ResText(kSourceTexts[i]);

    HWND list = List();
    ListView_SetExtendedListViewStyle(list,
                                      LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
    // The check marks are the dialog's, not the list's.
    ListView_SetCallbackMask(list, LVIS_STATEIMAGEMASK);
    const int dpi = GetDeviceCaps(cWindowDC(Hwnd()).Get(), LOGPIXELSX);
    for (int i = 0; i < 3; ++i) {
        std::wstring text = ResText(kColumnTexts[i]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = text.data();
        column.cx = MulDiv(kColumnWidths[i], dpi, 96);
        column.iSubItem = i;
        ListView_InsertColumn(list, i, &column);
    }
    if (GetWindowsFamily() == WindowsFamily::VistaOrLater)
        SetWindowTheme(list, L"explorer", nullptr);  // the Explorer look of lists
    SetDlgItemTextW(Hwnd(), IDC_LBL_IMPORT_COUNTS, ResText(IDS_IMPORT_SEARCHING).c_str());
    EnableInput(false);
    EnableWindow(Item(IDCANCEL), TRUE);
    // The dialog shows first; the search follows as its first message.
    PostMessageW(Hwnd(), WM_FIND_FOLDERS, 0, 0);
}

FolderChecks frmImport::Checks() const {
    FolderChecks checks;
    checks.isNetwork = request_.isNetwork;
    checks.isFolder = request_.isFolder;
    std::wstring ignoreList = ReadText(Setting::IgnoreStrings);
    checks.isIgnored = [ignoreList](const std::wstring& path) { return IgnoreListHides(ignoreList, path); };
    std::wstring database = request_.history.database;
    checks.inHistory = [database](const std::vector<std::wstring>& paths) {
        cDatabase db;
        // No history yet: it knows nothing.
        if (GetFileAttributesW(database.c_str()) == INVALID_FILE_ATTRIBUTES || !db.Open(database))
            return std::vector<bool>(paths.size(), false);
        return FoldersInHistory(db, paths);
    };
    return checks;
}

void frmImport::FindFolders() {
    HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ImportCandidates candidates = SiftForImport(request_.findFolders(), Checks());
    SetCursor(previous);
    entries_.clear();
    for (ImportCandidate& c : candidates.local)
        entries_.push_back({std::move(c), true});
    network_ = std::move(candidates.network);
    found_ = true;
    EnableInput(true);
    EnableWindow(Item(IDC_CHK_IMPORT_NETWORK), !network_.empty());
    SortBy(sortColumn_, false);
    SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(entries_.empty() ? Item(IDOK) : List()), TRUE);
    if (!entries_.empty())
        ListView_SetItemState(List(), 0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

void frmImport::chkNetwork_Click() {
    bool on = IsDlgButtonChecked(Hwnd(), IDC_CHK_IMPORT_NETWORK) == BST_CHECKED;
    if (on && !networkChecked_) {
        // A share that cannot be reached keeps this waiting, which is why
        // it is only asked for now.
        HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        network_ = ReachableFolders(network_, Checks());
        SetCursor(previous);
        networkChecked_ = true;
    }
    std::erase_if(entries_, [](const Entry& e) { return e.candidate.network; });
    if (on) {
        for (const ImportCandidate& c : network_)
            entries_.push_back({c, true});
    }
    SortBy(sortColumn_, false);
}

void frmImport::cmdAll_Click(bool ticked) {
    for (Entry& e : entries_)
        e.ticked = ticked;
    InvalidateRect(List(), nullptr, FALSE);
    ShowCounts();
}

void frmImport::Toggle(int index) {
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        return;
    entries_[index].ticked = !entries_[index].ticked;
    ListView_RedrawItems(List(), index, index);
    ShowCounts();
}

void frmImport::SortBy(int column, bool toggle) {
    if (toggle)
        sortDescending_ = column == sortColumn_ ? !sortDescending_ : column == 2;
    sortColumn_ = column;
    auto key = [this](const Entry& a, const Entry& b) {
        switch (sortColumn_) {
            case 0:
                return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.candidate.folder.path.c_str(), -1,
                                      b.candidate.folder.path.c_str(), -1) == CSTR_LESS_THAN;
            case 1:
                return a.candidate.folder.sources < b.candidate.folder.sources;
            default:
                return a.candidate.folder.when < b.candidate.folder.when;
        }
    };
    if (sortDescending_)
        std::stable_sort(entries_.begin(), entries_.end(), [&](const Entry& a, const Entry& b) { return key(b, a); });
    else
        std::stable_sort(entries_.begin(), entries_.end(), key);
    HWND header = ListView_GetHeader(List());
    for (int i = 0; i < 3; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(header, i, &item);
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == sortColumn_)
            item.fmt |= sortDescending_ ? HDF_SORTDOWN : HDF_SORTUP;
        Header_SetItem(header, i, &item);
    }
    ShowEntries();
}

void frmImport::ShowEntries() {
    ListView_SetItemCountEx(List(), static_cast<int>(entries_.size()), 0);
    InvalidateRect(List(), nullptr, FALSE);
    ShowCounts();
}

void frmImport::ShowCounts() {
    if (!found_)
        return;
    std::wstring text;
    if (entries_.empty()) {
        text = ResText(IDS_IMPORT_NOTHING_FOUND);
    } else {
        auto ticked = std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.ticked; });
        text =
            FillPlaceholders(ResText(IDS_IMPORT_COUNTS), {std::to_wstring(ticked), std::to_wstring(entries_.size())});
    }
    SetDlgItemTextW(Hwnd(), IDC_LBL_IMPORT_COUNTS, text.c_str());
}

void frmImport::EnableInput(bool on) {
    for (int id : {IDC_LVW_IMPORT, IDC_CMD_IMPORT_ALL, IDC_CMD_IMPORT_NONE, IDC_CHK_IMPORT_NETWORK, IDOK})
        EnableWindow(Item(id), on);
}

LRESULT frmImport::OnNotify(NMHDR* header) {
    switch (header->code) {
        case LVN_GETDISPINFOW:
            GetDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
            return 0;
        case NM_CLICK:
        case NM_DBLCLK: {
            auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
            LVHITTESTINFO hit{};
            hit.pt = click->ptAction;
            int index = ListView_SubItemHitTest(List(), &hit);
            if (index >= 0 && (header->code == NM_DBLCLK || (hit.flags & LVHT_ONITEMSTATEICON)))
                Toggle(index);
            return 0;
        }
        case LVN_KEYDOWN:
            if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_SPACE) {
                int focused = ListView_GetNextItem(List(), -1, LVNI_FOCUSED);
                if (focused >= 0) {
                    bool ticked = !entries_[focused].ticked;
                    for (int i = -1; (i = ListView_GetNextItem(List(), i, LVNI_SELECTED)) >= 0;)
                        entries_[i].ticked = ticked;
                    entries_[focused].ticked = ticked;
                    InvalidateRect(List(), nullptr, FALSE);
                    ShowCounts();
                }
            }
            return 0;
        case LVN_COLUMNCLICK:
            SortBy(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem, true);
            return 0;
        default:
            return 0;
    }
}

void frmImport::GetDisplayInfo(NMLVDISPINFOW* info) {
    LVITEMW& item = info->item;
    if (item.iItem < 0 || item.iItem >= static_cast<int>(entries_.size()))
        return;
    const Entry& entry = entries_[item.iItem];
    if (item.mask & LVIF_STATE) {
        item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(entry.ticked ? 2 : 1);
        item.stateMask |= LVIS_STATEIMAGEMASK;
    }
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0)
        return;
    const FoundFolder& folder = entry.candidate.folder;
    switch (item.iSubItem) {
        case 0:
            cell_ = folder.path;
            break;
        case 1:
            cell_.clear();
            for (size_t i = 0; i < std::size(kAllFolderSources); ++i) {
                if (folder.sources & kAllFolderSources[i])
                    cell_ += (cell_.empty() ? L"" : L", ") + sourceNames_[i];
            }
            break;
        default:
            cell_ = DateText(folder.when);
            break;
    }
    lstrcpynW(item.pszText, cell_.c_str(), item.cchTextMax);
}

void frmImport::cmdOK_Click() {
    visits_.clear();
    for (const Entry& e : entries_) {
        if (e.ticked)
            visits_.push_back({e.candidate.folder.path, L"", LocalTimeOf(e.candidate.folder.when)});
    }
    if (visits_.empty()) {
        result_ = {true, 0};
        EndDialog(Hwnd(), IDOK);
        return;
    }
    // Oldest first, as the worker would have stored them.
    std::stable_sort(visits_.begin(), visits_.end(), [](const TimedVisit& a, const TimedVisit& b) {
        return SecondsSinceEpoch(a.when) < SecondsSinceEpoch(b.when);
    });
    db_ = std::make_unique<cDatabase>();
    if (!EnsureHistory(request_.history) || !db_->Open(request_.history.database)) {
        FailImport();
        return;
    }
    import_ = std::make_unique<cVisitImport>(*db_);
    if (!import_->Begin()) {
        FailImport();
        return;
    }
    EnableInput(false);
    nextVisit_ = 0;
    importStart_ = std::chrono::steady_clock::now();
    SendDlgItemMessageW(Hwnd(), IDC_PRG_IMPORT, PBM_SETRANGE32, 0, static_cast<LPARAM>(visits_.size()));
    PostMessageW(Hwnd(), WM_IMPORT_STEP, 0, 0);
}

void frmImport::ImportStep() {
    if (!import_)
        return;
    size_t count = std::min(kImportStep, visits_.size() - nextVisit_);
    for (size_t i = nextVisit_; i < nextVisit_ + count; ++i)
        visits_[i].name = request_.nameOf(visits_[i].path);
    if (!import_->Add(std::span<const TimedVisit>(visits_).subspan(nextVisit_, count))) {
        FailImport();
        return;
    }
    nextVisit_ += count;
    if (nextVisit_ >= visits_.size()) {
        FinishImport();
        return;
    }
    HWND progress = Item(IDC_PRG_IMPORT);
    SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(nextVisit_), 0);
    if (!IsWindowVisible(progress) && std::chrono::steady_clock::now() - importStart_ > kProgressDelay)
        ShowWindow(progress, SW_SHOW);
    PostMessageW(Hwnd(), WM_IMPORT_STEP, 0, 0);
}

void frmImport::FinishImport() {
    if (!import_->Commit()) {
        FailImport();
        return;
    }
    result_ = {true, import_->Added()};
    import_.reset();
    db_.reset();
    EndDialog(Hwnd(), IDOK);
}

void frmImport::FailImport() {
    import_.reset();  // rolls back
    db_.reset();
    ShowWindow(Item(IDC_PRG_IMPORT), SW_HIDE);
    EnableInput(true);
    request_.presenter->ShowMessageBox(Hwnd(), ResText(IDS_IMPORT_FAILED), ResText(IDS_CAPTION),
                                       MB_OK | MB_ICONEXCLAMATION);
}

void frmImport::cmdCancel_Click() {
    // An import under way is rolled back: nothing changes.
    import_.reset();
    db_.reset();
    result_ = {};
    EndDialog(Hwnd(), IDCANCEL);
}

}  // namespace pw
