// The program's help file, Pfadwerk.chm beside the programs, shown through
// the system's HTML Help.
#pragma once
#include <windows.h>

#include <string>

namespace pw {

constexpr wchar_t kHelpFile[] = L"Pfadwerk.chm";
constexpr wchar_t kHelpStartTopic[] = L"index.htm";

// "<folder>\Pfadwerk.chm::/<topic>", the folder given a trailing backslash
// when it has none.
std::wstring HelpTopicAddress(const std::wstring& programFolder, const std::wstring& topic = kHelpStartTopic);

// Shows a topic of the help file in HTML Help's window, owned by owner.
// Returns that window, or null when HTML Help is missing or could not show
// the topic (nothing is reported then).
HWND ShowHelpTopic(HWND owner, const std::wstring& programFolder, const std::wstring& topic = kHelpStartTopic);

}  // namespace pw
