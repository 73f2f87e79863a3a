#include "Settings.h"

#include <gtest/gtest.h>

#include <set>

#include "Registry.h"
#include "common/ScratchKey.h"

namespace pw {
namespace {

using test::ReadRaw;
using test::WriteRaw;

// The catalogue lives in the product key, which in this test run is the
// run's own (TestRunMain.h). Each test starts without it.
class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\tannbach"); }

    static std::wstring PathOf(Setting s) { return SectionKeyOf(Def(s).key); }
};

constexpr auto kCount = static_cast<int>(Setting::Count_);

Setting At(int index) {
    return static_cast<Setting>(index);
}

#define PW_NAMED(x) \
    { Setting::x, L## #x }
struct Named {
    Setting setting;
    const wchar_t* name;
};
// The enum's names are the registry names; a table row out of place shows here.
const Named kNames[] = {
    PW_NAMED(KeepProtocolDays),
    PW_NAMED(CheckForUpdates),
    PW_NAMED(ExitBehavior),
    PW_NAMED(FolderListSize),
    PW_NAMED(DefaultOpenInExplorer),
    PW_NAMED(ReuseFolderWindows),
    PW_NAMED(ShowWatermark),
    PW_NAMED(HidePathColumn),
    PW_NAMED(WindowPosition),
    PW_NAMED(ShowWindowTitleAndBorder),
    PW_NAMED(ShowFavoritesTabFirst),
    PW_NAMED(ShowMenuBar),
    PW_NAMED(SwitchFileDialogs),
    PW_NAMED(StartupShortcutCreated),
    PW_NAMED(SetupDone),
    PW_NAMED(WindowWidth),
    PW_NAMED(WindowHeight),
    PW_NAMED(WindowTop),
    PW_NAMED(WindowLeft),
    PW_NAMED(FirstColumnWidth),
    PW_NAMED(ListTypeActive),
    PW_NAMED(IconView),
    PW_NAMED(MRUTimeframe),
    PW_NAMED(SortingLastUsed),
    PW_NAMED(SortingMostUsed),
    PW_NAMED(IgnoreStrings),
    PW_NAMED(IgnoreStringSQL),
    PW_NAMED(TipShown_SearchFolder),
    PW_NAMED(TipShown_CopyPath),
    PW_NAMED(TipShown_RemoveEntry),
    PW_NAMED(LastUpdateCheck),
    PW_NAMED(UpdateCheckUrl),
    PW_NAMED(OptionsLastOpenedTab),
    PW_NAMED(FavoritesManagementExpanded),
    PW_NAMED(AddFavoritePreviousSubfolderSelected),
    PW_NAMED(LastCleanUpDay),
    PW_NAMED(DamagedHistory),
    PW_NAMED(WindowsHistoryOffered),
    PW_NAMED(Groups),
};
#undef PW_NAMED

TEST(SettingsCatalogue, EveryEntrySitsAtItsEnumName) {
    ASSERT_EQ(static_cast<size_t>(kCount), std::size(kNames));
    std::set<std::wstring> seen;
    for (const Named& n : kNames) {
        EXPECT_STREQ(n.name, Def(n.setting).name);
        EXPECT_TRUE(seen.insert(n.name).second) << "twice: " << testing::PrintToString(std::wstring(n.name));
    }
}

TEST(SettingsCatalogue, KeysTypesAndDefaults) {
    for (int i = 0; i < kCount; ++i) {
        const SettingDef& def = Def(At(i));
        SettingsKey expectedKey = i <= static_cast<int>(Setting::SwitchFileDialogs) ? SettingsKey::Options
                                  : i <= static_cast<int>(Setting::WindowsHistoryOffered)
                                      ? SettingsKey::CurrentSettings
                                      : SettingsKey::FolderFavorites;
        EXPECT_EQ(expectedKey, def.key) << i;
        std::wstring name = def.name;
        bool text = name == L"IgnoreStrings" || name == L"IgnoreStringSQL" || name == L"UpdateCheckUrl" ||
                    name == L"AddFavoritePreviousSubfolderSelected" || name == L"Groups" || name == L"DamagedHistory";
        EXPECT_EQ(text ? static_cast<DWORD>(REG_SZ) : static_cast<DWORD>(REG_DWORD), def.type) << i;
        // Only two values depend on the Vista look.
        bool themed = name == L"FolderListSize" || name == L"WindowWidth";
        EXPECT_EQ(themed, def.number != def.numberThemed) << i;
    }
    EXPECT_EQ(L"Software\\tannbach\\Pfadwerk\\Options", std::wstring(SectionKeyOf(SettingsKey::Options)));
    EXPECT_EQ(L"Software\\tannbach\\Pfadwerk\\CurrentSettings",
              std::wstring(SectionKeyOf(SettingsKey::CurrentSettings)));
    EXPECT_EQ(L"Software\\tannbach\\Pfadwerk\\FolderFavorites",
              std::wstring(SectionKeyOf(SettingsKey::FolderFavorites)));
}

TEST_F(SettingsTest, NewUserReadsDefaults) {
    EXPECT_EQ(42, ReadNumber(Setting::KeepProtocolDays));
    EXPECT_EQ(0, ReadNumber(Setting::FolderListSize));
    EXPECT_EQ(1, ReadNumber(Setting::FolderListSize, true));
    EXPECT_EQ(7605, ReadNumber(Setting::WindowWidth));
    EXPECT_EQ(7730, ReadNumber(Setting::WindowWidth, true));
    EXPECT_EQ(6700, ReadNumber(Setting::WindowHeight, true));
    EXPECT_EQ(5, ReadNumber(Setting::SortingMostUsed));
    EXPECT_EQ(-1, ReadNumber(Setting::LastCleanUpDay));
    EXPECT_TRUE(ReadFlag(Setting::CheckForUpdates));
    EXPECT_TRUE(ReadFlag(Setting::ShowWindowTitleAndBorder));
    EXPECT_FALSE(ReadFlag(Setting::ShowMenuBar));
    EXPECT_TRUE(ReadFlag(Setting::SwitchFileDialogs));
    EXPECT_EQ(L"", ReadText(Setting::IgnoreStrings));
    EXPECT_EQ(L"", ReadText(Setting::Groups));
    // Reading writes nothing back.
    EXPECT_FALSE(test::KeyPresent(kProductKey));
}

TEST_F(SettingsTest, WritesLandWithTheirTypeInTheirKey) {
    WriteNumber(Setting::KeepProtocolDays, 14);
    WriteNumber(Setting::LastCleanUpDay, 31);
    WriteText(Setting::IgnoreStrings, L"C:\\Temp|*#|Ärger|*#|");
    WriteText(Setting::Groups, L"Arbeit|*#|");

    test::RawValue days = ReadRaw(PathOf(Setting::KeepProtocolDays), L"KeepProtocolDays");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), days.type);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), ReadRaw(PathOf(Setting::IgnoreStrings), L"IgnoreStrings").type);
    EXPECT_TRUE(ReadRaw(L"Software\\tannbach\\Pfadwerk\\FolderFavorites", L"Groups").found);

    EXPECT_EQ(14, ReadNumber(Setting::KeepProtocolDays));
    EXPECT_EQ(31, ReadNumber(Setting::LastCleanUpDay));
    EXPECT_EQ(L"C:\\Temp|*#|Ärger|*#|", ReadText(Setting::IgnoreStrings));
    EXPECT_EQ(L"Arbeit|*#|", ReadText(Setting::Groups));
}

TEST_F(SettingsTest, FlagsAreTrueOnlyForExactlyOne) {
    WriteNumber(Setting::ShowWatermark, 2);
    EXPECT_FALSE(ReadFlag(Setting::ShowWatermark));
    WriteNumber(Setting::ShowWatermark, -1);
    EXPECT_FALSE(ReadFlag(Setting::ShowWatermark));
    WriteNumber(Setting::ShowWatermark, 0);
    EXPECT_FALSE(ReadFlag(Setting::ShowWatermark));
    WriteNumber(Setting::ShowWatermark, 1);
    EXPECT_TRUE(ReadFlag(Setting::ShowWatermark));
}

TEST_F(SettingsTest, UnexpectedStoredTypesStillReadSensibly) {
    // A hand-edited number stored as text is still that number…
    std::wstring days = L"28";
    WriteRaw(PathOf(Setting::KeepProtocolDays), L"KeepProtocolDays", REG_SZ, days.c_str(),
             static_cast<DWORD>((days.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(28, ReadNumber(Setting::KeepProtocolDays));
    // …anything else that is not a number gives the default.
    std::wstring junk = L"viele";
    WriteRaw(PathOf(Setting::KeepProtocolDays), L"KeepProtocolDays", REG_SZ, junk.c_str(),
             static_cast<DWORD>((junk.size() + 1) * sizeof(wchar_t)));
    EXPECT_EQ(42, ReadNumber(Setting::KeepProtocolDays));
    const BYTE blob[] = {1, 2};
    WriteRaw(PathOf(Setting::WindowWidth), L"WindowWidth", REG_BINARY, blob, sizeof blob);
    EXPECT_EQ(7730, ReadNumber(Setting::WindowWidth, true));

    DWORD number = 5;
    WriteRaw(PathOf(Setting::IgnoreStringSQL), L"IgnoreStringSQL", REG_DWORD, &number, sizeof number);
    EXPECT_EQ(L"5", ReadText(Setting::IgnoreStringSQL));
}

}  // namespace
}  // namespace pw
