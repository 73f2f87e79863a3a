// Notices, confirmations and the small services around them: the Windows
// family, the balloon-tip setting, icons on buttons, bringing a window
// forward and the start folder of the folder browser.
//
// Everything newer than Windows XP (TaskDialogIndirect, RtlGetVersion) is
// looked up at run time, so the program still starts on older systems.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <ocidl.h>

#include <cstdint>
#include <string>

#include "Foreground.h"
#include "Handles.h"
#include "Registry.h"
#include "Settings.h"
#include "WindowsVersion.h"

namespace pw {

// ---- Task dialog icons --------------------------------------------------------

constexpr int kTaskDialogWarningIcon = -1;
constexpr int kTaskDialogErrorIcon = -2;
constexpr int kTaskDialogInformationIcon = -3;
constexpr int kTaskDialogShieldIcon = -4;

// The 16-bit resource id the task dialog expects for one of the small negative
// icon numbers above: -1 → 65535, -3 → 65533.
constexpr WORD IconResourceId(int icon) {
    return static_cast<WORD>(static_cast<std::uint32_t>(icon) & 0xFFFFu);
}

// ---- Balloon tips ------------------------------------------------------------

constexpr wchar_t kExplorerAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// The rule behind IsBalloonTipsEnabled: always on for Windows 2000, otherwise on
// unless "EnableBalloonTips" was read as the number 0. An empty value (not
// stored) counts as 1.
bool BalloonTipsEnabledFor(WindowsFamily family, const RegValue& enableBalloonTips);

// Whether the user lets programs show balloon tips; read once per process.
bool IsBalloonTipsEnabled();

// ---- Button images -------------------------------------------------------------

// Puts the icon on a command button (BCM_SETIMAGELIST) through a new image list
// of width × height, 32-bit colour with mask. The button does not own the list:
// the caller keeps the returned list as long as the button shows it. Empty
// when nothing could be set.
cImageList
SetButtonImage(HWND button, HICON icon, int marginLeft, int marginTop, UINT alignment, int width, int height);
// The same from a picture object holding an icon.
cImageList
SetButtonImage(HWND button, IPicture* picture, int marginLeft, int marginTop, UINT alignment, int width, int height);

// ---- Notices and confirmations -------------------------------------------------------

constexpr UINT kNoticeMessageBoxStyle = MB_OK | MB_ICONINFORMATION;
constexpr UINT kConfirmMessageBoxStyle = MB_OKCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2;
constexpr UINT kNoticeWidth = 240;   // dialog units
constexpr UINT kConfirmWidth = 220;  // dialog units

// A TASKDIALOGCONFIG together with the texts and button it points to, so it can
// be built, inspected and shown without dangling pointers. Not copyable:
// config points into the object itself.
struct cTaskDialogSpec {
    cTaskDialogSpec() = default;
    cTaskDialogSpec(const cTaskDialogSpec&) = delete;
    cTaskDialogSpec& operator=(const cTaskDialogSpec&) = delete;

    TASKDIALOGCONFIG config{};
    TASKDIALOG_BUTTON button{};
    std::wstring title;
    std::wstring instruction;
    std::wstring content;
    std::wstring verification;
    std::wstring buttonText;
};

// Fill spec as a one-time notice: information icon, position relative to the
// owner, OK only, the "do not show again" check box (with the program's
// checkBoxText), 240 dialog units wide.
void BuildNoticeDialog(cTaskDialogSpec& spec,
                       HWND owner,
                       const std::wstring& instruction,
                       const std::wstring& content,
                       const std::wstring& checkBoxText);
// Fill spec as a confirmation: warning icon, Esc allowed, Cancel plus one
// command button (buttonId, buttonText), 220 dialog units wide.
void BuildConfirmDialog(cTaskDialogSpec& spec,
                        HWND owner,
                        const std::wstring& instruction,
                        const std::wstring& content,
                        int buttonId,
                        const std::wstring& buttonText);

// The message box text of older systems: instruction, blank line, content.
std::wstring MessageBoxText(const std::wstring& instruction, const std::wstring& content);

// What showing a notice comes to, decided from the Windows family and the
// stored flag alone.
enum class NoticeKind { None, TaskDialog, MessageBox };
struct NoticePlan {
    NoticeKind kind = NoticeKind::None;
    bool storeBeforeShowing = false;  // message box: shown once, whatever the user does
    bool storeIfTicked = false;       // task dialog: only when the check box is ticked
};
NoticePlan PlanNotice(WindowsFamily family, std::int32_t storedFlag);

// Shows the dialogs. The system implementation loads TaskDialogIndirect at run
// time; tests put in their own to see what would be shown.
class cDialogPresenter {
  public:
    virtual ~cDialogPresenter() = default;
    // Returns the button id (IDCANCEL when it could not be shown) and whether
    // the check box was ticked.
    virtual int ShowTaskDialog(const TASKDIALOGCONFIG& config, bool* verificationChecked) = 0;
    virtual int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) = 0;
};
cDialogPresenter& SystemDialogPresenter();

// Whether TaskDialogIndirect is available in this process (comctl32 v6).
bool IsTaskDialogAvailable();

// The family whose dialogs this process can show: without comctl32 v6 a Vista
// or later system gets the message boxes of XP.
WindowsFamily DialogFamilyOf(WindowsFamily family);
// The same for the running system.
WindowsFamily DialogFamily();

// One-time notice under flagName (a REG_DWORD "TipShown_…" under sectionKey,
// HKCU); checkBoxText as BuildNoticeDialog. Returns true when a dialog was
// shown.
bool ShowNotice(HWND owner,
                const std::wstring& flagName,
                const std::wstring& instruction,
                const std::wstring& content,
                const std::wstring& checkBoxText);
bool ShowNotice(HWND owner,
                Setting flag,
                const std::wstring& instruction,
                const std::wstring& content,
                const std::wstring& checkBoxText);
bool ShowNoticeWith(cDialogPresenter& presenter,
                    WindowsFamily family,
                    const std::wstring& sectionKey,
                    HWND owner,
                    const std::wstring& flagName,
                    const std::wstring& instruction,
                    const std::wstring& content,
                    const std::wstring& checkBoxText);

// Asks before something destructive; true = go ahead (anything but Cancel, Esc
// or the close box).
bool Confirm(HWND owner,
             const std::wstring& instruction,
             const std::wstring& content,
             int buttonId,
             const std::wstring& buttonText);
bool ConfirmWith(cDialogPresenter& presenter,
                 WindowsFamily family,
                 HWND owner,
                 const std::wstring& instruction,
                 const std::wstring& content,
                 int buttonId,
                 const std::wstring& buttonText);

// ---- Folder browser start folder ----------------------------------------------------

// The folder to select from a path box's text: a final backslash is dropped
// unless the text is a drive root of three characters ("C:\").
std::wstring BrowseSelectionPath(const std::wstring& pathBoxText);

// BROWSEINFOW::lpfn. lpData is a const wchar_t* with the path box text (may be
// null or empty: the browser then starts without a selection).
int CALLBACK BrowseStartFolderCallback(HWND hwnd, UINT message, LPARAM lParam, LPARAM lpData);

}  // namespace pw
