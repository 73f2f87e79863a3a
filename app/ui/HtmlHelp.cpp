#include "HtmlHelp.h"

#include <htmlhelp.h>

namespace pw {

std::wstring HelpTopicAddress(const std::wstring& programFolder, const std::wstring& topic) {
    std::wstring folder = programFolder;
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    return folder + kHelpFile + L"::/" + topic;
}

HWND ShowHelpTopic(HWND owner, const std::wstring& programFolder, const std::wstring& topic) {
    // HTML Help lives in hhctrl.ocx, loaded once and kept: its window runs in
    // this process for as long as the user keeps it open.
    using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    static const HtmlHelpProc htmlHelp = [] {
        HMODULE module = LoadLibraryW(L"hhctrl.ocx");
        return module ? reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpW")))
                      : nullptr;
    }();
    if (!htmlHelp)
        return nullptr;
    std::wstring address = HelpTopicAddress(programFolder, topic);
    return htmlHelp(owner, address.c_str(), HH_DISPLAY_TOPIC, 0);
}

}  // namespace pw
