#include "frmIgnoreEntry.h"

#include <windowsx.h>

#include "ResText.h"
#include "ignore_res.h"

namespace pw {
namespace {

std::wstring Lower(std::wstring text) {
    if (!text.empty())
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The label takes no more room than its text, so that only the words react
// to the pointer.
void FitToText(HWND label) {
    std::wstring text = WindowText(label);
    SIZE size{};
    {
        cWindowDC dc(label);
        cSelection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    }
    RECT r{};
    GetClientRect(label, &r);
    SetWindowPos(label, nullptr, 0, 0, size.cx + 2, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

IgnoreDisplayPatterns IgnoreDisplayPatternsFromResources() {
    return {ResText(IDS_IGNORE_SHOW_FOLDER), ResText(IDS_IGNORE_SHOW_SUBFOLDERS), ResText(IDS_IGNORE_SHOW_PATHPART)};
}

void PlaceBesideOwner(HWND dialog, HWND owner) {
    RECT r{};
    if (!owner || !GetWindowRect(owner, &r))
        return;
    cWindowDC screen(nullptr);
    int dpiX = GetDeviceCaps(screen.Get(), LOGPIXELSX), dpiY = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    SetWindowPos(dialog, nullptr, r.left + MulDiv(300, dpiX, 1440), r.top + MulDiv(300, dpiY, 1440), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

IgnoreEntryResult frmIgnoreEntry::Show(HWND owner, const IgnoreEntryRequest& request) {
    request_ = request;
    result_ = {};
    INT_PTR ended = ShowModal(owner, IDD_IGNORE_ENTRY);
    if (ended == IDOK)
        result_.choice = IgnoreEntryResult::Choice::Ok;
    else if (ended == kManageIgnoreList)
        result_.choice = IgnoreEntryResult::Choice::ManageIgnoreList;
    else
        result_ = {};
    return result_;
}

INT_PTR frmIgnoreEntry::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            Form_Load();
            return FALSE;  // the focus is set
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            int code = HIWORD(wParam);
            switch (id) {
                case IDC_OPT_IGNORE_FOLDER:
                    if (code == BN_CLICKED)
                        optIgnoreFolder_Click();
                    return TRUE;
                case IDC_OPT_IGNORE_STRING:
                    if (code == BN_CLICKED)
                        optIgnoreString_Click();
                    return TRUE;
                case IDC_TXT_FOLDER_PATH:
                case IDC_TXT_IGNORE_STRING:
                    if (code == EN_CHANGE)
                        LowerCaseText(reinterpret_cast<HWND>(lParam));
                    return TRUE;
                case IDC_CMD_BROWSE:
                    cmdBrowse_Click();
                    return TRUE;
                case IDC_LBL_MANAGE_IGNORE_LIST:
                    if (code == STN_CLICKED)
                        lblManageIgnoreList_Click();
                    return TRUE;
                case IDOK:
                    cmdOK_Click();
                    return TRUE;
                case IDCANCEL:  // also Esc and the close box, without a beep
                    EndDialog(Hwnd(), IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == lblManageIgnoreList_.Hwnd())
                return reinterpret_cast<INT_PTR>(lblManageIgnoreList_.OnCtlColor(reinterpret_cast<HDC>(wParam)));
            return FALSE;
        case WM_MOUSEMOVE:
            lblManageIgnoreList_.SetHover(false);
            return FALSE;
        default:
            return FALSE;
    }
}

void frmIgnoreEntry::Form_Load() {
    PlaceBesideOwner(Hwnd(), GetWindow(Hwnd(), GW_OWNER));
    if (!request_.caption.empty())
        SetWindowTextW(Hwnd(), request_.caption.c_str());
    HWND link = Item(IDC_LBL_MANAGE_IGNORE_LIST);
    lblManageIgnoreList_.Attach(link);
    FitToText(link);
    ShowWindow(link, request_.fromMainWindow ? SW_SHOWNA : SW_HIDE);
    EnableFolderAutoComplete(Item(IDC_TXT_FOLDER_PATH));

    const IgnoreEntry& initialEntry = request_.entry;
    if (initialEntry.form == IgnoreForm::PathPart) {
        SetWindowTextW(Item(IDC_TXT_IGNORE_STRING), initialEntry.text.c_str());
        optIgnoreString_Click();
    } else {
        SetWindowTextW(Item(IDC_TXT_FOLDER_PATH), initialEntry.text.c_str());
        Button_SetCheck(Item(IDC_CHK_INCLUDE_SUBFOLDERS),
                        initialEntry.form == IgnoreForm::FolderWithSubfolders ? BST_CHECKED : BST_UNCHECKED);
        optIgnoreFolder_Click();
    }
}

void frmIgnoreEntry::optIgnoreFolder_Click() {
    CheckRadioButton(Hwnd(), IDC_OPT_IGNORE_FOLDER, IDC_OPT_IGNORE_STRING, IDC_OPT_IGNORE_FOLDER);
    // A disabled edit box draws on the button face by itself.
    EnableWindow(Item(IDC_TXT_FOLDER_PATH), TRUE);
    EnableWindow(Item(IDC_CHK_INCLUDE_SUBFOLDERS), TRUE);
    EnableWindow(Item(IDC_CMD_BROWSE), TRUE);
    EnableWindow(Item(IDC_TXT_IGNORE_STRING), FALSE);
    FocusAtEnd(Item(IDC_TXT_FOLDER_PATH));
}

void frmIgnoreEntry::optIgnoreString_Click() {
    CheckRadioButton(Hwnd(), IDC_OPT_IGNORE_FOLDER, IDC_OPT_IGNORE_STRING, IDC_OPT_IGNORE_STRING);
    EnableWindow(Item(IDC_TXT_IGNORE_STRING), TRUE);
    EnableWindow(Item(IDC_TXT_FOLDER_PATH), FALSE);
    EnableWindow(Item(IDC_CHK_INCLUDE_SUBFOLDERS), FALSE);
    EnableWindow(Item(IDC_CMD_BROWSE), FALSE);
    FocusAtEnd(Item(IDC_TXT_IGNORE_STRING));
}

void frmIgnoreEntry::cmdBrowse_Click() {
    HWND path = Item(IDC_TXT_FOLDER_PATH);
    if (!request_.browseForFolder)
        return;
    std::optional<std::wstring> chosen =
        request_.browseForFolder(Hwnd(), ResText(IDS_IGNORE_BROWSE_TEXT), WindowText(path));
    if (chosen)
        SetWindowTextW(path, chosen->c_str());
    FocusAtEnd(path);
}

void frmIgnoreEntry::cmdOK_Click() {
    bool pathPart = IsDlgButtonChecked(Hwnd(), IDC_OPT_IGNORE_STRING) == BST_CHECKED;
    HWND box = Item(pathPart ? IDC_TXT_IGNORE_STRING : IDC_TXT_FOLDER_PATH);
    IgnoreEntry entry =
        pathPart
            ? PathPartIgnoreEntry(WindowText(box))
            : FolderIgnoreEntry(WindowText(box), IsDlgButtonChecked(Hwnd(), IDC_CHK_INCLUDE_SUBFOLDERS) == BST_CHECKED);
    if (!IsStorableIgnoreEntry(entry)) {
        // Nothing typed, or nothing any folder path could hold: the box
        // again, its text selected.
        FocusAtEnd(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        return;
    }
    result_.storedForm = StoredIgnoreEntry(entry);
    result_.displayText = IgnoreDisplayText(entry, IgnoreDisplayPatternsFromResources());
    EndDialog(Hwnd(), IDOK);
}

void frmIgnoreEntry::lblManageIgnoreList_Click() {
    EndDialog(Hwnd(), kManageIgnoreList);
}

void frmIgnoreEntry::LowerCaseText(HWND edit) {
    // The boxes lower-case what is typed or pasted themselves (ES_LOWERCASE);
    // this catches whatever comes in another way.
    if (lowering_)
        return;
    std::wstring text = WindowText(edit);
    std::wstring lower = Lower(text);
    if (lower == text)
        return;
    lowering_ = true;
    SetWindowTextW(edit, lower.c_str());
    lowering_ = false;
    int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, end, end);
}

void frmIgnoreEntry::FocusAtEnd(HWND edit) {
    SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, end, end);
}

}  // namespace pw
