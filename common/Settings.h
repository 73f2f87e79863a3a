// Every value the programs keep under HKCU\Software\tannbach\Pfadwerk: key,
// name, type and default in one table, used by every reader and writer.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace pw {

enum class SettingsKey { Options, CurrentSettings, FolderFavorites };

enum class Setting {
    // Options
    KeepProtocolDays,
    CheckForUpdates,
    ExitBehavior,
    FolderListSize,
    DefaultOpenInExplorer,
    ReuseFolderWindows,
    ShowWatermark,
    HidePathColumn,
    WindowPosition,
    ShowWindowTitleAndBorder,
    ShowFavoritesTabFirst,
    ShowMenuBar,
    SwitchFileDialogs,  // a folder picked while an Open or Save dialog waits takes that dialog there
    // CurrentSettings
    StartupShortcutCreated,
    SetupDone,
    WindowWidth,
    WindowHeight,
    WindowTop,
    WindowLeft,
    FirstColumnWidth,
    ListTypeActive,
    IconView,
    MRUTimeframe,
    SortingLastUsed,
    SortingMostUsed,
    IgnoreStrings,
    IgnoreStringSQL,
    TipShown_SearchFolder,
    TipShown_CopyPath,
    TipShown_RemoveEntry,
    LastUpdateCheck,
    UpdateCheckUrl,
    OptionsLastOpenedTab,
    FavoritesManagementExpanded,
    AddFavoritePreviousSubfolderSelected,
    LastCleanUpDay,
    DamagedHistory,         // where a damaged history was set aside, until the main window has told the user
    WindowsHistoryOffered,  // the welcome window has offered the import of the folders Windows remembers
    // FolderFavorites
    Groups,
    Count_
};

struct SettingDef {
    SettingsKey key;
    const wchar_t* name;
    DWORD type;                 // REG_DWORD or REG_SZ
    std::int32_t number;        // default of a REG_DWORD value
    std::int32_t numberThemed;  // its default when bVistaThemed is set
};

const SettingDef& Def(Setting setting);
const wchar_t* SectionKeyOf(SettingsKey key);  // "Software\tannbach\Pfadwerk\Options", …

// Reads through cRegistry with the catalogue's default; a missing or
// unreadable value gives the default. vistaThemed picks the themed default.
std::int32_t ReadNumber(Setting setting, bool vistaThemed = false);
std::wstring ReadText(Setting setting);
// The text only when the value is stored as text: nothing for a number,
// bytes or a multi-string, which ReadText would turn into text of some
// kind. A missing value gives "".
std::optional<std::wstring> ReadStoredText(Setting setting);
// Booleans count as true only when exactly 1.
inline bool ReadFlag(Setting setting) {
    return ReadNumber(setting) == 1;
}
// The days of history the daily clean-up keeps. A stored period of 0 or
// less, or one that is no number, counts as the default: no setting may
// empty the history. A longer period set by hand is kept as it is.
std::int32_t KeptDays();
void WriteNumber(Setting setting, std::int32_t value);
void WriteText(Setting setting, const std::wstring& value);

constexpr wchar_t kProductKey[] = L"Software\\tannbach\\Pfadwerk";

}  // namespace pw
