// Names that reach beyond the programs: the set-up program ends the programs
// by their windows and removes the shortcuts they made. The build hands them
// to the set-up script (setup/CMakeLists.txt reads them from this file), so
// each is spelt here only.
#pragma once

namespace pw {

// The programs' files, side by side in the program folder.
constexpr wchar_t kMainProgram[] = L"Pfadwerk.exe";
constexpr wchar_t kWorkerProgram[] = L"PfadwerkHg.exe";
constexpr wchar_t kSendProgram[] = L"PfadwerkSend.exe";
constexpr wchar_t kMainWindowClass[] = L"PfadwerkMain";
constexpr wchar_t kWelcomeWindowClass[] = L"PfadwerkHgWelcome";
// In the user's Startup folder: starts the worker at log-on.
constexpr wchar_t kAutostartLinkName[] = L"Pfadwerk-Autostart.lnk";
// Below the user's roaming application data: the main program's button in
// the Quick Launch bar.
constexpr wchar_t kQuickLaunchLink[] = L"Microsoft\\Internet Explorer\\Quick Launch\\Pfadwerk.lnk";

}  // namespace pw
