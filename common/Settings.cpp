#include "Settings.h"

#include <array>

#include "Registry.h"

namespace pw {
namespace {

using K = SettingsKey;
constexpr DWORD kNum = REG_DWORD;
constexpr DWORD kText = REG_SZ;

// In the order of the enum; checked by a test.
constexpr std::array<SettingDef, static_cast<size_t>(Setting::Count_)> kCatalogue = {{
    {K::Options, L"KeepProtocolDays", kNum, 42, 42},
    {K::Options, L"CheckForUpdates", kNum, 1, 1},
    {K::Options, L"ExitBehavior", kNum, 1, 1},
    {K::Options, L"FolderListSize", kNum, 0, 1},
    {K::Options, L"DefaultOpenInExplorer", kNum, 0, 0},
    {K::Options, L"ReuseFolderWindows", kNum, 0, 0},
    {K::Options, L"ShowWatermark", kNum, 1, 1},
    {K::Options, L"HidePathColumn", kNum, 0, 0},
    {K::Options, L"WindowPosition", kNum, 0, 0},
    {K::Options, L"ShowWindowTitleAndBorder", kNum, 1, 1},
    {K::Options, L"ShowFavoritesTabFirst", kNum, 0, 0},
    {K::Options, L"ShowMenuBar", kNum, 0, 0},
    {K::Options, L"SwitchFileDialogs", kNum, 1, 1},
    {K::CurrentSettings, L"StartupShortcutCreated", kNum, 0, 0},
    {K::CurrentSettings, L"SetupDone", kNum, 0, 0},
    {K::CurrentSettings, L"WindowWidth", kNum, 7605, 7730},
    {K::CurrentSettings, L"WindowHeight", kNum, 6700, 6700},
    {K::CurrentSettings, L"WindowTop", kNum, 0, 0},
    {K::CurrentSettings, L"WindowLeft", kNum, 0, 0},
    {K::CurrentSettings, L"FirstColumnWidth", kNum, 2100, 2100},
    {K::CurrentSettings, L"ListTypeActive", kNum, 1, 1},
    {K::CurrentSettings, L"IconView", kNum, 0, 0},
    {K::CurrentSettings, L"MRUTimeframe", kNum, 0, 0},
    {K::CurrentSettings, L"SortingLastUsed", kNum, 5, 5},
    {K::CurrentSettings, L"SortingMostUsed", kNum, 5, 5},
    {K::CurrentSettings, L"IgnoreStrings", kText, 0, 0},
    {K::CurrentSettings, L"IgnoreStringSQL", kText, 0, 0},
    {K::CurrentSettings, L"TipShown_SearchFolder", kNum, 0, 0},
    {K::CurrentSettings, L"TipShown_CopyPath", kNum, 0, 0},
    {K::CurrentSettings, L"TipShown_RemoveEntry", kNum, 0, 0},
    {K::CurrentSettings, L"LastUpdateCheck", kNum, 1, 1},
    {K::CurrentSettings, L"UpdateCheckUrl", kText, 0, 0},
    {K::CurrentSettings, L"OptionsLastOpenedTab", kNum, 1, 1},
    {K::CurrentSettings, L"FavoritesManagementExpanded", kNum, 0, 0},
    {K::CurrentSettings, L"AddFavoritePreviousSubfolderSelected", kText, 0, 0},
    {K::CurrentSettings, L"LastCleanUpDay", kNum, -1, -1},
    {K::CurrentSettings, L"DamagedHistory", kText, 0, 0},
    {K::CurrentSettings, L"WindowsHistoryOffered", kNum, 0, 0},
    {K::FolderFavorites, L"Groups", kText, 0, 0},
}};

cRegistry At(Setting setting, RegValue fallback) {
    const SettingDef& def = Def(setting);
    cRegistry reg;
    reg.ClassKey(HKEY_CURRENT_USER);
    reg.SectionKey(SectionKeyOf(def.key));
    reg.ValueKey(def.name);
    reg.ValueType(def.type);
    reg.Default(std::move(fallback));
    // No text of the catalogue is a path meant for expansion: the ignore
    // list and its LIKE patterns, a web address with its "%20", file paths
    // as they are on disk, group names.
    reg.Literal(true);
    return reg;
}

}  // namespace

const SettingDef& Def(Setting setting) {
    return kCatalogue[static_cast<size_t>(setting)];
}

const wchar_t* SectionKeyOf(SettingsKey key) {
    switch (key) {
        case K::Options:
            return L"Software\\tannbach\\Pfadwerk\\Options";
        case K::CurrentSettings:
            return L"Software\\tannbach\\Pfadwerk\\CurrentSettings";
        case K::FolderFavorites:
            return L"Software\\tannbach\\Pfadwerk\\FolderFavorites";
    }
    return L"";
}

std::int32_t ReadNumber(Setting setting, bool vistaThemed) {
    const SettingDef& def = Def(setting);
    std::int32_t fallback = vistaThemed ? def.numberThemed : def.number;
    return ToLong(At(setting, fallback).Value(), fallback);
}

std::int32_t KeptDays() {
    std::int32_t days = ReadNumber(Setting::KeepProtocolDays);
    return days > 0 ? days : Def(Setting::KeepProtocolDays).number;
}

std::wstring ReadText(Setting setting) {
    return ToText(At(setting, std::wstring()).Value());
}

std::optional<std::wstring> ReadStoredText(Setting setting) {
    cRegistry reg = At(setting, std::wstring());
    RegValue value = reg.Value();
    if (reg.ValueType() != REG_SZ && reg.ValueType() != REG_EXPAND_SZ)
        return std::nullopt;
    return ToText(value);
}

void WriteNumber(Setting setting, std::int32_t value) {
    At(setting, {}).Value(value);
}

void WriteText(Setting setting, const std::wstring& value) {
    At(setting, std::wstring()).Value(value);
}

}  // namespace pw
