#include "Registry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/ScratchKey.h"

namespace pw {
namespace {

using test::KeyPresent;
using test::ReadRaw;
using test::TextOfRaw;
using test::WriteRaw;
using Bytes = std::vector<std::uint8_t>;

class RegistryTest : public ::testing::Test {
  protected:
    test::ScratchKey scratch{test::CurrentTestName()};

    cRegistry At(const std::wstring& name, DWORD type, RegValue fallback = {}) {
        return AtKey(scratch.Path(), name, type, std::move(fallback));
    }
    static cRegistry AtKey(const std::wstring& path, const std::wstring& name, DWORD type, RegValue fallback = {}) {
        cRegistry reg;
        reg.ClassKey(HKEY_CURRENT_USER);
        reg.SectionKey(path);
        reg.ValueKey(name);
        reg.ValueType(type);
        reg.Default(std::move(fallback));
        return reg;
    }
    void WriteText(const std::wstring& name, DWORD type, const std::wstring& text) {
        WriteRaw(scratch.Path(), name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
};

// --- writing texts: REG_SZ or REG_EXPAND_SZ by the percent rule ------------

TEST_F(RegistryTest, TextNamingAVariableIsStoredForExpansionAndReadsExpanded) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"PFW_TEST_DIR", L"C:\\Daten"));
    cRegistry reg = At(L"Path", REG_SZ);
    reg.Value(std::wstring(L"%PFW_TEST_DIR%\\Projekte"));

    test::RawValue raw = ReadRaw(scratch.Path(), L"Path");
    ASSERT_TRUE(raw.found);
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), raw.type);
    EXPECT_EQ(std::wstring(L"%PFW_TEST_DIR%\\Projekte") + L'\0', TextOfRaw(raw));  // stored unexpanded

    cRegistry reader = At(L"Path", REG_SZ, std::wstring(L"default"));
    EXPECT_EQ(RegValue(std::wstring(L"C:\\Daten\\Projekte")), reader.Value());
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), reader.ValueType());
    // A variable that does not exist stays as written.
    reader.Value(std::wstring(L"%PFW_NO_SUCH_VARIABLE%"));
    EXPECT_EQ(RegValue(std::wstring(L"%PFW_NO_SUCH_VARIABLE%")), reader.Value());
}

// Only a variable that exists makes a text one for expansion; a literal
// text is never one. Either way it reads back as it was written unless it
// names a variable.
TEST_F(RegistryTest, PercentRuleChoosesTheStoredType) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"a", L"C:\\A"));
    struct Case {
        const wchar_t* text;
        DWORD expected;
    };
    const Case cases[] = {
        {L"100%", REG_SZ},
        {L"%%", REG_SZ},
        {L"a%%b", REG_SZ},
        {L"%x", REG_SZ},
        {L"", REG_SZ},
        {L"%a%", REG_EXPAND_SZ},
        {L"%%a%", REG_EXPAND_SZ},
        {L"50% von 80%", REG_SZ},
        {L"%PFW_NO_SUCH_VARIABLE%\\x", REG_SZ},
    };
    for (const Case& c : cases) {
        for (DWORD asked : {static_cast<DWORD>(REG_SZ), static_cast<DWORD>(REG_EXPAND_SZ)}) {
            for (bool literal : {false, true}) {
                cRegistry reg = At(L"V", asked);
                reg.Literal(literal);
                reg.Value(std::wstring(c.text));
                test::RawValue raw = ReadRaw(scratch.Path(), L"V");
                ASSERT_TRUE(raw.found) << c.text;
                EXPECT_EQ(literal ? static_cast<DWORD>(REG_SZ) : c.expected, raw.type)
                    << "text \"" << testing::PrintToString(std::wstring(c.text)) << "\" asked as " << asked;
                EXPECT_EQ(std::wstring(c.text) + L'\0', TextOfRaw(raw));
                if (literal || c.expected == REG_SZ)
                    EXPECT_EQ(RegValue(std::wstring(c.text)), reg.Value());
            }
        }
    }
}

TEST_F(RegistryTest, NumbersAndBytesWrittenAsTextBecomeText) {
    At(L"N", REG_SZ).Value(std::int32_t{-17});
    EXPECT_EQ(std::wstring(L"-17") + L'\0', TextOfRaw(ReadRaw(scratch.Path(), L"N")));
    At(L"E", REG_SZ).Value(RegValue{});
    EXPECT_EQ(std::wstring(1, L'\0'), TextOfRaw(ReadRaw(scratch.Path(), L"E")));
}

// --- reading: the stored type wins -------------------------------------------

TEST_F(RegistryTest, DwordReadWhileTypeSaysTextReturnsNumberAndUpdatesType) {
    DWORD stored = 1234;
    WriteRaw(scratch.Path(), L"Count", REG_DWORD, &stored, sizeof stored);
    cRegistry reg = At(L"Count", REG_SZ, std::wstring(L"x"));
    EXPECT_EQ(RegValue(std::int32_t{1234}), reg.Value());
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), reg.ValueType());
}

TEST_F(RegistryTest, ZeroByteTextReadsAsDefaultLoneNulAsEmpty) {
    WriteRaw(scratch.Path(), L"Zero", REG_SZ, nullptr, 0);
    wchar_t nul = 0;
    WriteRaw(scratch.Path(), L"Nul", REG_SZ, &nul, sizeof nul);

    EXPECT_EQ(RegValue(std::wstring(L"fallback")), At(L"Zero", REG_SZ, std::wstring(L"fallback")).Value());
    EXPECT_EQ(RegValue(std::wstring()), At(L"Nul", REG_SZ, std::wstring(L"fallback")).Value());
}

TEST_F(RegistryTest, TextsEndAtTheirTerminator) {
    const wchar_t unterminated[] = {L'a', L'b'};
    WriteRaw(scratch.Path(), L"NoNul", REG_SZ, unterminated, sizeof unterminated);
    const wchar_t padded[] = {L'a', L'b', 0, L'z', 0};
    WriteRaw(scratch.Path(), L"Padded", REG_SZ, padded, sizeof padded);
    const wchar_t multi[] = {L'e', L'i', L'n', 0, L'z', L'w', L'e', L'i', 0, 0};
    WriteRaw(scratch.Path(), L"Multi", REG_MULTI_SZ, multi, sizeof multi);

    EXPECT_EQ(RegValue(std::wstring(L"ab")), At(L"NoNul", REG_SZ).Value());
    EXPECT_EQ(RegValue(std::wstring(L"ab")), At(L"Padded", REG_SZ).Value());
    cRegistry reg = At(L"Multi", REG_SZ);
    EXPECT_EQ(RegValue(std::wstring(L"ein\0zwei", 8)), reg.Value());
    EXPECT_EQ(static_cast<DWORD>(REG_MULTI_SZ), reg.ValueType());
}

TEST_F(RegistryTest, BigEndianDwordIsTurnedAroundOnReadAndWrittenNative) {
    const std::uint8_t bigEndian[] = {0x01, 0x02, 0x03, 0x04};
    WriteRaw(scratch.Path(), L"Big", REG_DWORD_BIG_ENDIAN, bigEndian, sizeof bigEndian);
    cRegistry reg = At(L"Big", REG_DWORD);
    EXPECT_EQ(RegValue(std::int32_t{0x01020304}), reg.Value());
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD_BIG_ENDIAN), reg.ValueType());

    reg.Value(std::int32_t{0x01020304});  // ValueType is big-endian now
    test::RawValue raw = ReadRaw(scratch.Path(), L"Big");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), raw.type);
    EXPECT_EQ((Bytes{0x04, 0x03, 0x02, 0x01}), raw.data);
}

TEST_F(RegistryTest, MissingOrMalformedValuesGiveDefault) {
    cRegistry missingKey = AtKey(scratch.Sub(L"nirgends"), L"X", REG_DWORD, std::int32_t{42});
    EXPECT_EQ(RegValue(std::int32_t{42}), missingKey.Value());
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), missingKey.ValueType());

    At(L"Other", REG_DWORD).Value(std::int32_t{1});
    EXPECT_EQ(RegValue(std::wstring(L"d")), At(L"Missing", REG_SZ, std::wstring(L"d")).Value());

    const std::uint8_t twoBytes[] = {1, 2};
    WriteRaw(scratch.Path(), L"Short", REG_DWORD, twoBytes, sizeof twoBytes);
    EXPECT_EQ(RegValue(std::int32_t{7}), At(L"Short", REG_DWORD, std::int32_t{7}).Value());
}

TEST_F(RegistryTest, OtherTypesReadAsBytes) {
    const std::uint8_t qword[] = {1, 2, 3, 4, 5, 6, 7, 8};
    WriteRaw(scratch.Path(), L"Q", REG_QWORD, qword, sizeof qword);
    cRegistry reg = At(L"Q", REG_SZ);
    EXPECT_EQ(RegValue(Bytes(qword, qword + 8)), reg.Value());
    EXPECT_EQ(static_cast<DWORD>(REG_QWORD), reg.ValueType());
}

// --- writing numbers and bytes ----------------------------------------------

TEST_F(RegistryTest, DwordRoundTripAndMissingLevelsAreCreated) {
    std::wstring deep = scratch.Sub(L"a\\b\\c");
    cRegistry reg = AtKey(deep, L"Days", REG_DWORD, std::int32_t{0});
    reg.Value(std::int32_t{-1});
    EXPECT_TRUE(KeyPresent(scratch.Sub(L"a")));
    EXPECT_TRUE(KeyPresent(deep));
    test::RawValue raw = ReadRaw(deep, L"Days");
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), raw.type);
    EXPECT_EQ((Bytes{0xFF, 0xFF, 0xFF, 0xFF}), raw.data);
    EXPECT_EQ(RegValue(std::int32_t{-1}), reg.Value());
}

TEST_F(RegistryTest, DwordWritesOnlyNumbers) {
    cError error;
    cRegistry reg = At(L"Days", REG_DWORD, std::int32_t{5});
    reg.Value(std::wstring(L"42"), &error);
    reg.Value(Bytes{1, 2, 3, 4}, &error);
    reg.Value(RegValue{}, &error);
    EXPECT_FALSE(ReadRaw(scratch.Path(), L"Days").found);
    EXPECT_EQ(0, error.number);
    EXPECT_EQ(RegValue(std::int32_t{5}), reg.Value());

    // An existing value is left alone too.
    reg.Value(std::int32_t{14});
    reg.Value(std::wstring(L"28"), &error);
    EXPECT_EQ(RegValue(std::int32_t{14}), reg.Value());
    EXPECT_EQ(0, error.number);
}

TEST_F(RegistryTest, BinaryNeedsBytes) {
    cRegistry reg = At(L"Blob", REG_BINARY);
    reg.Value(Bytes{0, 0xFF, 7});
    test::RawValue raw = ReadRaw(scratch.Path(), L"Blob");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), raw.type);
    EXPECT_EQ((Bytes{0, 0xFF, 7}), raw.data);
    EXPECT_EQ(RegValue(Bytes{0, 0xFF, 7}), reg.Value());

    cError error;
    cRegistry text = At(L"Text", REG_BINARY);
    text.Value(std::wstring(L"abc"), &error);
    EXPECT_EQ(kRegistryError, error.number);
    EXPECT_EQ(L"common_tests.cRegistry", error.source);
    EXPECT_FALSE(error.description.empty());
    EXPECT_FALSE(ReadRaw(scratch.Path(), L"Text").found);
    text.Value(std::int32_t{1});  // no error slot: still nothing written, no crash
    EXPECT_FALSE(ReadRaw(scratch.Path(), L"Text").found);
}

TEST_F(RegistryTest, UnwritableTypesWriteNothing) {
    At(L"M", REG_MULTI_SZ).Value(std::wstring(L"x"));
    At(L"Z", 0).Value(std::int32_t{1});
    EXPECT_FALSE(ReadRaw(scratch.Path(), L"M").found);
    EXPECT_FALSE(ReadRaw(scratch.Path(), L"Z").found);
}

// --- ValueEx ---------------------------------------------------------------

TEST_F(RegistryTest, ValueExSetsCoordinatesAndEmptyTextFallsBackToDefault) {
    cRegistry reg;
    reg.ValueEx(HKEY_CURRENT_USER, scratch.Path(), L"Groups", REG_SZ, std::wstring(L"Sonstige|*#|"), std::wstring());
    EXPECT_EQ(std::wstring(L"Sonstige|*#|") + L'\0', TextOfRaw(ReadRaw(scratch.Path(), L"Groups")));
    reg.ValueEx(HKEY_CURRENT_USER, scratch.Path(), L"Groups", REG_SZ, std::wstring(L"d"), std::wstring(L"Arbeit|*#|"));
    EXPECT_EQ(std::wstring(L"Arbeit|*#|") + L'\0', TextOfRaw(ReadRaw(scratch.Path(), L"Groups")));

    // Only REG_SZ swaps: a number type keeps the empty value and so writes nothing.
    reg.ValueEx(HKEY_CURRENT_USER, scratch.Path(), L"Num", REG_DWORD, std::int32_t{3}, std::wstring());
    EXPECT_FALSE(ReadRaw(scratch.Path(), L"Num").found);

    cRegistry reader;
    EXPECT_EQ(RegValue(std::wstring(L"Arbeit|*#|")),
              reader.ValueEx(HKEY_CURRENT_USER, scratch.Path(), L"Groups", REG_DWORD, std::int32_t{0}));
    EXPECT_EQ(HKEY_CURRENT_USER, reader.ClassKey());
    EXPECT_EQ(scratch.Path(), reader.SectionKey());
    EXPECT_EQ(L"Groups", reader.ValueKey());
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), reader.ValueType());
    EXPECT_EQ(RegValue(std::int32_t{0}), reader.Default());
}

TEST_F(RegistryTest, FreshObjectReadsDefaultAndWritesNothing) {
    cRegistry reg;
    EXPECT_EQ(nullptr, reg.ClassKey());
    EXPECT_EQ(0u, reg.ValueType());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(reg.Value()));
    EXPECT_FALSE(reg.KeyExists());
}

// --- keys, errors and enumeration --------------------------------------------

TEST_F(RegistryTest, CreateDeleteAndExistence) {
    cRegistry reg = AtKey(scratch.Sub(L"eins\\zwei"), L"", REG_SZ);
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());

    cError error;
    cRegistry parent = AtKey(scratch.Sub(L"eins"), L"", REG_SZ);
    EXPECT_FALSE(parent.DeleteKey(&error));  // still has a sub-key
    EXPECT_EQ(kRegistryError, error.number);
    EXPECT_TRUE(parent.KeyExists());

    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(parent.DeleteKey());
    EXPECT_FALSE(parent.KeyExists());

    cRegistry root = AtKey(L"", L"", REG_SZ);
    EXPECT_FALSE(root.DeleteKey());  // never the root itself
    EXPECT_TRUE(KeyPresent(L"Software"));
}

TEST_F(RegistryTest, StructuralErrorsCarryTheirTexts) {
    const std::wstring hkcu = L"-2147483647";
    std::wstring path = scratch.Sub(L"fehlt");
    cError error;

    cRegistry missing = AtKey(path, L"Wert", REG_SZ);
    EXPECT_FALSE(missing.DeleteKey(&error));
    EXPECT_EQ(kRegistryError, error.number);
    EXPECT_EQ(L"common_tests.cRegistry", error.source);
    EXPECT_EQ(L"Failed to delete registry Key: '" + hkcu + L"',Section: '" + path, error.description);

    error = {};
    EXPECT_FALSE(missing.DeleteValue(&error));
    EXPECT_EQ(kRegistryError, error.number);
    EXPECT_EQ(L"Failed to open key '" + hkcu + L"',Section: '" + path + L"' for delete access", error.description);

    ASSERT_TRUE(missing.CreateKey());
    error = {};
    EXPECT_FALSE(missing.DeleteValue(&error));
    EXPECT_EQ(kRegistryError, error.number);
    EXPECT_EQ(L"Failed to delete registry Key: '" + hkcu + L"',Section: '" + path + L"',Key: 'Wert", error.description);

    missing.Value(std::wstring(L"da"));
    EXPECT_TRUE(missing.DeleteValue());
    EXPECT_FALSE(ReadRaw(path, L"Wert").found);

    cRegistry badRoot = AtKey(path, L"", REG_SZ);
    badRoot.ClassKey(reinterpret_cast<HKEY>(static_cast<LONG_PTR>(0x1234)));
    error = {};
    EXPECT_FALSE(badRoot.CreateKey(&error));
    EXPECT_EQ(kRegistryError, error.number);
    EXPECT_EQ(L"common_tests.cRegistry", error.source);
    EXPECT_EQ(L"Failed to create registry Key: '" + path, error.description);
}

TEST_F(RegistryTest, EnumeratesValueNamesFromIndexOne) {
    cRegistry reg = At(L"", REG_SZ);
    std::vector<std::wstring> names{L"alt", L"alt"};
    long count = 99;
    EXPECT_TRUE(reg.EnumerateValues(names, count));  // key not there yet
    EXPECT_EQ(0, count);

    At(L"Favorites", REG_SZ).Value(std::wstring(L"a"));
    At(L"FavoritesPaths", REG_SZ).Value(std::wstring(L"b"));
    At(L"TipShown_CopyPath", REG_DWORD).Value(std::int32_t{1});
    ASSERT_TRUE(reg.EnumerateValues(names, count));
    ASSERT_EQ(3, count);
    ASSERT_EQ(4u, names.size());
    std::vector<std::wstring> found(names.begin() + 1, names.end());
    std::sort(found.begin(), found.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Favorites", L"FavoritesPaths", L"TipShown_CopyPath"}), found);
}

TEST_F(RegistryTest, EnumeratesDirectSubKeysOnly) {
    cRegistry reg = At(L"", REG_SZ);
    for (const wchar_t* sub : {L"Arbeit", L"Privat\\Tief", L"Uncategorized"})
        ASSERT_TRUE(AtKey(scratch.Sub(sub), L"", REG_SZ).CreateKey());
    std::wstring longest(255, L'g');
    ASSERT_TRUE(AtKey(scratch.Sub(longest), L"", REG_SZ).CreateKey());

    for (bool wrap : {true, false}) {
        std::vector<std::wstring> names;
        long count = 0;
        cError error;
        ASSERT_TRUE(reg.EnumerateSections(names, count, &error, wrap));
        EXPECT_EQ(0, error.number);
        ASSERT_EQ(4, count);
        std::vector<std::wstring> found(names.begin() + 1, names.end());
        std::sort(found.begin(), found.end());
        EXPECT_EQ((std::vector<std::wstring>{L"Arbeit", L"Privat", L"Uncategorized", longest}), found);
    }

    std::vector<std::wstring> names;
    long count = 5;
    EXPECT_TRUE(AtKey(scratch.Sub(L"fehlt"), L"", REG_SZ).EnumerateSections(names, count));
    EXPECT_EQ(0, count);
}

// Every path closes its keys: after many rounds a new handle still lands
// in the same low slot of the handle table (the process's handle count is
// not kept under Wine, the slot a fresh handle gets is).
std::uintptr_t NextHandleSlot() {
    HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    auto slot = reinterpret_cast<std::uintptr_t>(probe);
    CloseHandle(probe);
    return slot;
}

TEST_F(RegistryTest, NoKeyHandleIsLeft) {
    auto round = [&] {
        cRegistry reg = At(L"V", REG_SZ, std::wstring(L"d"));
        reg.Value(std::wstring(L"%a%"));
        reg.Value();
        reg.KeyExists();
        reg.CreateKey();
        AtKey(scratch.Sub(L"fehlt"), L"V", REG_SZ).Value();
        At(L"B", REG_BINARY).Value(std::int32_t{1});
        std::vector<std::wstring> names;
        long count = 0;
        reg.EnumerateValues(names, count);
        reg.EnumerateSections(names, count);
        reg.DeleteValue();
        reg.DeleteValue();
        AtKey(scratch.Sub(L"x"), L"", REG_SZ).CreateKey();
        AtKey(scratch.Sub(L"x"), L"", REG_SZ).DeleteKey();
    };
    round();
    std::uintptr_t before = NextHandleSlot();
    for (int i = 0; i < 100; ++i)
        round();
    std::uintptr_t after = NextHandleSlot();
    EXPECT_LE(after, before + 10 * sizeof(HANDLE));
}

// --- conversions ---------------------------------------------------------------

TEST(RegistryConversion, ToLongAndToText) {
    EXPECT_EQ(12, ToLong(std::wstring(L"12")));
    EXPECT_EQ(-3, ToLong(std::wstring(L" -3 ")));
    EXPECT_EQ(2147483647, ToLong(std::wstring(L"2147483647"), 1));
    EXPECT_EQ(1, ToLong(std::wstring(L"2147483648"), 1));
    EXPECT_EQ(9, ToLong(std::wstring(L"12a"), 9));
    EXPECT_EQ(9, ToLong(std::wstring(L""), 9));
    EXPECT_EQ(9, ToLong(std::wstring(L"-"), 9));
    EXPECT_EQ(9, ToLong(RegValue{}, 9));
    EXPECT_EQ(9, ToLong(Bytes{1, 0, 0, 0}, 9));
    EXPECT_EQ(-5, ToLong(std::int32_t{-5}, 9));

    EXPECT_EQ(L"", ToText(RegValue{}));
    EXPECT_EQ(L"-2147483648", ToText(std::int32_t{INT32_MIN}));
    EXPECT_EQ(L"Ä", ToText(Bytes{0xC4, 0x00, 0x41}));  // UTF-16 pairs, an odd byte left over
}

}  // namespace
}  // namespace pw
