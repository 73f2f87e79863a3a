#include "FolderPicker.h"

#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "Handles.h"
#include "modTaskDialog.h"

namespace pw {

std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& text, const std::wstring& pathBoxText) {
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = text.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    info.lpfn = &BrowseStartFolderCallback;
    info.lParam = reinterpret_cast<LPARAM>(pathBoxText.c_str());
    cPidl chosen(SHBrowseForFolderW(&info));
    if (!chosen)
        return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.Get(), path))
        return std::nullopt;
    return std::wstring(path);
}

bool EnableFolderAutoComplete(HWND edit) {
    // SHAutoComplete with SHACF_FILESYS_DIRS, put together from its parts:
    // the shell's folder list behind an auto-complete object.
    cComPtr<IAutoComplete2> complete;
    cComPtr<IUnknown> source;
    if (FAILED(CoCreateInstance(CLSID_AutoComplete, nullptr, CLSCTX_INPROC_SERVER, IID_IAutoComplete2,
                                complete.PutVoid())) ||
        FAILED(CoCreateInstance(CLSID_ACListISF, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, source.PutVoid())))
        return false;
    if (auto list = source.As<IACList2>(IID_IACList2))
        list->SetOptions(ACLO_FILESYSONLY | ACLO_FILESYSDIRS);
    if (FAILED(complete->Init(edit, source.Get(), nullptr, nullptr)))
        return false;
    complete->SetOptions(ACO_AUTOSUGGEST);
    return true;
}

}  // namespace pw
