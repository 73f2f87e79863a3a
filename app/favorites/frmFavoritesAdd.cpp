#include "frmFavoritesAdd.h"

#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "FavoritesAddRules.h"
#include "FavoritesStore.h"
#include "FavoritesTexts.h"
#include "FolderShell.h"
#include "LinkLabel.h"
#include "ResText.h"
#include "Settings.h"
#include "Text.h"
#include "common_res.h"
#include "favorites_res.h"

namespace pw {
namespace {

// Posted when the focus has left the path box: by then it is known where it
// went.
constexpr UINT kCheckPathMessage = WM_APP + 1;

}  // namespace

void frmFavoritesAdd::Begin(const FavoriteEntryRequest& request) {
    request_ = request;
    result_ = {};
    oldFolderPath_ = request.folderPath;
}

FavoriteEntryResult frmFavoritesAdd::Show(HWND owner, const FavoriteEntryRequest& request) {
    Begin(request);
    ShowModal(owner, IDD_FAVORITES_ADD);
    return result_;
}

bool frmFavoritesAdd::CreateModeless(HWND owner, const FavoriteEntryRequest& request) {
    Begin(request);
    return cDialog::CreateModeless(owner, IDD_FAVORITES_ADD);
}

int frmFavoritesAdd::MessageBox(const std::wstring& text, UINT style) {
    return FavoritesMessage(request_.presenter, Hwnd(), text, style);
}

INT_PTR frmFavoritesAdd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            Form_Load();
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == Item(IDC_FAVADD_TIP))
                return reinterpret_cast<INT_PTR>(LinkLabelColours(reinterpret_cast<HDC>(wParam)));
            return FALSE;
        case kCheckPathMessage: {
            // Leaving towards Cancel or Browse asks nothing; OK checks itself.
            HWND focus = GetFocus();
            if (!Hwnd() || !IsWindowVisible(Hwnd()) || focus == Item(IDC_FAVADD_PATH) || focus == Item(IDCANCEL) ||
                focus == Item(IDC_FAVADD_BROWSE) || focus == Item(IDOK))
                return TRUE;
            if (ItemText(IDC_FAVADD_PATH) != checkedText_)
                txtFolderPath_Validate();
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_FAVADD_PATH:
                    if (HIWORD(wParam) == EN_KILLFOCUS && !checking_)
                        PostMessageW(Hwnd(), kCheckPathMessage, 0, 0);
                    return TRUE;
                case IDC_FAVADD_BROWSE:
                    if (HIWORD(wParam) == BN_CLICKED)
                        cmdBrowse_Click();
                    return TRUE;
                case IDOK:
                    cmdOK_Click();
                    return TRUE;
                case IDCANCEL:
                    result_ = {};
                    EndDialog(Hwnd(), IDCANCEL);
                    return TRUE;
            }
            return FALSE;
        case WM_DESTROY:
            tooltip_.Destroy();
            return FALSE;
    }
    return FALSE;
}

void frmFavoritesAdd::Form_Load() {
    if (request_.purpose == FavoriteEntryPurpose::AddFromList)
        SetWindowTextW(Hwnd(), ResText(IDS_FAV_CAPTION_FROM_LIST).c_str());
    else if (request_.purpose == FavoriteEntryPurpose::Change)
        SetWindowTextW(Hwnd(), ResText(IDS_FAV_CAPTION_CHANGE).c_str());
    SetDlgItemTextW(Hwnd(), IDC_FAVADD_PATH, request_.folderPath.c_str());
    SetDlgItemTextW(Hwnd(), IDC_FAVADD_NAME, request_.folderName.c_str());
    // The caret at the end of both texts.
    for (int id : {IDC_FAVADD_PATH, IDC_FAVADD_NAME}) {
        int length = GetWindowTextLengthW(Item(id));
        SendMessageW(Item(id), EM_SETSEL, length, length);
    }
    // Who adds from the list or changes an entry knows where favorites come from.
    ShowWindow(Item(IDC_FAVADD_TIP), request_.purpose == FavoriteEntryPurpose::Add ? SW_SHOW : SW_HIDE);

    DWORD style = IsBalloonTipsEnabled() ? TTS_BALLOON : TTS_ALWAYSTIP;
    tooltip_.Create(Hwnd(), style | TTS_NOPREFIX);
    tooltip_.Title(ResText(IDS_FAV_ADD_TIP_TITLE));
    tooltip_.MaxTipWidth(330);
    tooltip_.AddTool(Item(IDC_FAVADD_TIP), (style & TTS_BALLOON) ? TTF_TRACK : TTF_TRACK | TTF_ABSOLUTE,
                     ResText(IDS_FAV_ADD_TIP_TEXT));

    FillGroups();
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    if (GetComboBoxInfo(Item(IDC_FAVADD_GROUPS), &combo))
        SubclassControl(combo.hwndItem, this);
    SubclassControl(Item(IDC_FAVADD_TIP), this);
    EnableFolderAutoComplete(Item(IDC_FAVADD_PATH));
}

void frmFavoritesAdd::FillGroups() {
    HWND combo = Item(IDC_FAVADD_GROUPS);
    std::vector<std::wstring> groups;
    if (request_.purpose == FavoriteEntryPurpose::AddFromList) {
        groups = SplitFavoritesList(ReadFavoriteGroupsValue());
        std::erase(groups, std::wstring());
    } else {
        groups = request_.manager.groups;
    }
    auto add = [combo](const std::wstring& text) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    };
    if (groups.empty()) {
        add(kNoGroupName);
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
        return;
    }
    for (const std::wstring& group : groups)
        add(group);
    add(kOtherGroupName);
    std::wstring initial = kOtherGroupName;
    const std::wstring& selected = request_.manager.selectedGroup;
    if (request_.purpose != FavoriteEntryPurpose::AddFromList && !selected.empty() && selected != kUncategorized)
        initial = selected;
    SetWindowTextW(combo, initial.c_str());
    // The same entry selected in the list, where there is one of that exact text.
    std::vector<std::wstring> entries = ComboEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == initial)
            SendMessageW(combo, CB_SETCURSEL, i, 0);
    }
}

std::vector<std::wstring> frmFavoritesAdd::ComboEntries() const {
    HWND combo = Item(IDC_FAVADD_GROUPS);
    std::vector<std::wstring> entries;
    int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0));
        std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::max(length, 0)));
        entries.push_back(std::move(text));
    }
    return entries;
}

std::vector<std::wstring> frmFavoritesAdd::UserGroups() const {
    std::vector<std::wstring> groups = ComboEntries();
    // The last entry is "Sonstige" (or the lone "(Keine)").
    if (!groups.empty())
        groups.pop_back();
    return groups;
}

bool frmFavoritesAdd::txtFolderPath_Validate() {
    checking_ = true;
    std::wstring text = ItemText(IDC_FAVADD_PATH);
    std::optional<ShellFolder> folder = ShellFolderOf(text);
    if (!folder) {
        HWND box = Item(IDC_FAVADD_PATH);
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        MessageBox(ResText(IDS_FAV_INVALID_PATH), MB_OK | MB_ICONEXCLAMATION);
        SetFocus(box);
        checking_ = false;
        return false;
    }
    SetDlgItemTextW(Hwnd(), IDC_FAVADD_PATH, folder->path.c_str());
    if (folder->path != oldFolderPath_)
        SetDlgItemTextW(Hwnd(), IDC_FAVADD_NAME, folder->displayName.c_str());
    oldFolderPath_ = folder->path;
    checkedText_ = folder->path;
    checking_ = false;
    return true;
}

void frmFavoritesAdd::cmdBrowse_Click() {
    // The picker opens where the last folder was picked, whatever the box holds.
    std::wstring start = ReadText(Setting::AddFavoritePreviousSubfolderSelected);
    const std::wstring title = ResText(IDS_FAV_BROWSE_TEXT);
    std::optional<std::wstring> chosen =
        request_.pickFolder ? request_.pickFolder(Hwnd(), title, start) : BrowseForFolder(Hwnd(), title, start);
    if (!chosen)
        return;
    SetDlgItemTextW(Hwnd(), IDC_FAVADD_PATH, chosen->c_str());
    if (txtFolderPath_Validate()) {
        HWND name = Item(IDC_FAVADD_NAME);
        SetFocus(name);
        SendMessageW(name, EM_SETSEL, 0, -1);
    }
    // Changing a favorite is no adding: the next add starts where the last began.
    if (request_.purpose != FavoriteEntryPurpose::Change)
        WriteText(Setting::AddFavoritePreviousSubfolderSelected, PreviousSubfolderAfterBrowse(*chosen));
}

bool frmFavoritesAdd::cmbGroups_KeyPress(wchar_t key) {
    if (key < L' ')
        return false;
    HWND combo = Item(IDC_FAVADD_GROUPS);
    DWORD start = 0;
    SendMessageW(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
    std::wstring typed = ItemText(IDC_FAVADD_GROUPS).substr(0, start) + key;
    int found = CompleteGroupChoice(ComboEntries(), typed);
    if (found < 0)
        return false;
    SendMessageW(combo, CB_SETCURSEL, found, 0);
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(typed.size(), -1));
    return true;
}

void frmFavoritesAdd::cmdOK_Click() {
    // The path is checked first, as when the focus leaves its box: a new
    // folder brings its name along.
    if (!Trim(ItemText(IDC_FAVADD_PATH)).empty() && ItemText(IDC_FAVADD_PATH) != checkedText_ &&
        !txtFolderPath_Validate())
        return;
    std::wstring name = ItemText(IDC_FAVADD_NAME);
    std::wstring path = ItemText(IDC_FAVADD_PATH);
    if (Trim(path).empty() || Trim(name).empty()) {
        SetFocus(Item(Trim(path).empty() ? IDC_FAVADD_PATH : IDC_FAVADD_NAME));
        return;
    }
    if (!FavoriteNameFitsFormat(name)) {
        SetFocus(Item(IDC_FAVADD_NAME));
        MessageBox(ResText(IDS_FAV_NAME_SEPARATOR), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    HWND combo = Item(IDC_FAVADD_GROUPS);
    std::wstring groupText = ItemText(IDC_FAVADD_GROUPS);
    GroupChoice choice = DecideGroupChoice(groupText, UserGroups());
    if (choice.kind == GroupChoice::Kind::Refused) {
        std::wstring message = choice.limitReached ? FavoritesText(IDS_FAV_GROUP_LIMIT_TYPED, groupText)
                                                   : GroupNameRefusal(choice.problem, groupText,
                                                                      ClashingGroupName(groupText, UserGroups()));
        MessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        SetFocus(combo);
        SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        return;
    }
    if (choice.kind == GroupChoice::Kind::BuiltIn && Trim(groupText).empty()) {
        groupText = ComboEntries().size() == 1 ? kNoGroupName : kOtherGroupName;
        SetWindowTextW(combo, groupText.c_str());
    }
    if (request_.purpose == FavoriteEntryPurpose::AddFromList) {
        AppendFavorite(groupText, {name, path});
    } else if (choice.kind == GroupChoice::Kind::New && request_.manager.CreateNewGroup) {
        request_.manager.CreateNewGroup(groupText);
    }
    result_ = {true, path, name, groupText};
    ShowAddTipNow(false);
    EndDialog(Hwnd(), IDOK);
}

void frmFavoritesAdd::ShowAddTipNow(bool show) {
    HWND label = Item(IDC_FAVADD_TIP);
    if (show == tipShown_ || !tooltip_.hwnd())
        return;
    if (show) {
        if (!IsWindowVisible(label))
            return;
        RECT r{};
        GetWindowRect(label, &r);
        tooltip_.SetTrackPosition(label, r.left + 30, r.bottom);
    }
    tooltip_.SetTracking(label, show);
    tipShown_ = show;
}

LRESULT frmFavoritesAdd::OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (control == Item(IDC_FAVADD_TIP)) {
        if (msg == WM_MOUSEMOVE && !tipShown_) {
            ShowAddTipNow(true);
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, control, 0};
            TrackMouseEvent(&track);
        } else if (msg == WM_MOUSELEAVE) {
            ShowAddTipNow(false);
        }
    } else if (msg == WM_CHAR && cmbGroups_KeyPress(static_cast<wchar_t>(wParam))) {
        return 0;
    }
    return DefSubclassProc(control, msg, wParam, lParam);
}

}  // namespace pw
