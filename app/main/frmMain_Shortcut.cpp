// Shell links: the autostart shortcut of the worker, and the Quick Launch
// shortcut of the folder list.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "frmMain.h"

namespace pw {

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

}  // namespace pw
