// Shell links: the autostart shortcut of the worker, and the Quick Launch
// shortcut of the folder list.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "ProgramNames.h"
#include "ResText.h"
#include "Settings.h"
#include "ShellFolders.h"
#include "app_res.h"
#include "frmMain.h"

namespace pw {
namespace {

constexpr UINT kStartupShortcutCsidl = 7;  // the user's Startup folder

}  // namespace

bool frmMain::CreateShortcut(const std::wstring& linkPath,
                             const std::wstring& targetPath,
                             const std::wstring& workingDirectory,
                             const std::wstring& arguments,
                             const std::wstring& description,
                             const std::wstring& iconFile,
                             int iconIndex,
                             int showCommand) {
    cComInit com;
    cComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())))
        return false;
    if (FAILED(link->SetPath(targetPath.c_str())))
        return false;
    if (!workingDirectory.empty() && FAILED(link->SetWorkingDirectory(workingDirectory.c_str())))
        return false;
    if (!arguments.empty() && FAILED(link->SetArguments(arguments.c_str())))
        return false;
    if (!description.empty() && FAILED(link->SetDescription(description.c_str())))
        return false;
    if (!iconFile.empty() && FAILED(link->SetIconLocation(iconFile.c_str(), iconIndex)))
        return false;
    if (FAILED(link->SetShowCmd(showCommand)))
        return false;
    // No window to own a search dialog: a missing target must not ask the
    // user anything at start-up.
    if (FAILED(link->Resolve(nullptr, SLR_UPDATE | SLR_NO_UI)))
        return false;
    cComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
    return file && SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

void frmMain::CreateAutostartShortcut() {
    if (ReadNumber(Setting::StartupShortcutCreated) != 0)
        return;
    // Written first: a creation that fails is not tried again at every start.
    WriteNumber(Setting::StartupShortcutCreated, 1);
    std::wstring startup = GetShellFolderPath(kStartupShortcutCsidl);
    if (startup.empty())
        return;
    std::wstring link = startup + L"\\" + kAutostartLinkName;
    if (GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    const std::wstring& folder = setup_.programFolder;
    CreateShortcut(link, folder + L"\\" + kWorkerProgram, folder, L"", ResText(IDS_AUTOSTART_DESCRIPTION),
                   folder + L"\\" + kMainProgram, 0, SW_SHOWNORMAL);
}

void frmMain::HistoryCreated() {
    std::wstring roaming = GetShellFolderPath(CSIDL_APPDATA);
    if (roaming.empty())
        return;
    std::wstring link = roaming + L"\\" + kQuickLaunchLink;
    if (GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CreateShortcut(link, setup_.programFolder + L"\\" + kMainProgram, setup_.programFolder, L"", L"", L"", 0,
                       SW_SHOWNORMAL);
    }
}

}  // namespace pw
