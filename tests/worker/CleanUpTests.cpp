// The daily clean-up with a clock the test sets.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "CleanUp.h"
#include "Database.h"
#include "TestHistory.h"

using namespace pw;

namespace {

const wchar_t kOptions[] = L"Software\\tannbach\\Pfadwerk\\Options";
const wchar_t kCurrent[] = L"Software\\tannbach\\Pfadwerk\\CurrentSettings";

void SetDword(const wchar_t* key, const wchar_t* name, DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value);
}
void DeleteValue(const wchar_t* key, const wchar_t* name) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name);
}
long GetDword(const wchar_t* key, const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -999;
    return static_cast<long>(value);
}

class CleanUpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteValue(kOptions, L"KeepProtocolDays");
        DeleteValue(kCurrent, L"LastCleanUpDay");
        ASSERT_TRUE(pwtest::CreateHistory(file_));
    }
    void TearDown() override {
        DeleteValue(kOptions, L"KeepProtocolDays");
        DeleteValue(kCurrent, L"LastCleanUpDay");
    }
    Clock TestClock() {
        return [this] { return now_; };
    }
    void Visit(const std::wstring& path, const LocalTime& when) {
        cDatabase db;
        LocalTime t = when;
        ASSERT_TRUE(db.Open(file_.wstring(), [t] { return t; }));
        ASSERT_TRUE(db.AppendVisit(path, L"n"));
    }
    long Rows(const std::wstring& where = L"") {
        cDatabase db;
        long n = -1;
        if (db.Open(file_.wstring()))
            db.Query(L"SELECT Count(*) FROM FoldersProtocol " + where, [&](const cRow& r) {
                n = r.Long(0);
                return true;
            });
        return n;
    }
    long Run(cCleanUp& cleanUp) { return cleanUp.CleanUpOldRecords(file_.wstring()); }

    pwtest::ScratchDir dir_{"cleanup"};
    std::filesystem::path file_ = dir_ / "Pfadwerk.dat";
    std::filesystem::path target_ = dir_ / "PfadwerkC.dat";
    LocalTime now_{2026, 12, 7, 14, 30, 0};
};

}  // namespace

TEST_F(CleanUpTest, TheFirstVisitOfADayArmsExactlyOnce) {
    cCleanUp cleanUp(TestClock());
    EXPECT_TRUE(cleanUp.CleanUpCheck());  // LastCleanUpDay missing: -1 is no day
    EXPECT_FALSE(cleanUp.CleanUpCheck());
    now_.hour = 23;
    EXPECT_FALSE(cleanUp.CleanUpCheck());
    now_ = {2026, 12, 8, 0, 0, 5};
    EXPECT_TRUE(cleanUp.CleanUpCheck());
    EXPECT_FALSE(cleanUp.CleanUpCheck());
}

TEST_F(CleanUpTest, ARestartOnTheDayOfTheLastCleanUpDoesNotArm) {
    SetDword(kCurrent, L"LastCleanUpDay", 7);
    cCleanUp cleanUp(TestClock());
    EXPECT_FALSE(cleanUp.CleanUpCheck());
    // Only the day of the month counts: the 7th of next month does not arm either.
    now_ = {2027, 1, 7, 9, 0, 0};
    EXPECT_FALSE(cleanUp.CleanUpCheck());
}

TEST_F(CleanUpTest, RowsOlderThanTheCutOffGoToTheSecondAndTheDayIsWritten) {
    SetDword(kOptions, L"KeepProtocolDays", 14);
    Visit(L"C:\\old", {2026, 11, 23, 14, 29, 59});
    Visit(L"C:\\cutoff", {2026, 11, 23, 14, 30, 0});
    Visit(L"C:\\new", {2026, 12, 7, 8, 0, 0});
    cCleanUp cleanUp(TestClock());
    EXPECT_EQ(Run(cleanUp), 1);
    EXPECT_EQ(Rows(L"WHERE FolderPath = 'C:\\old'"), 0);
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(GetDword(kCurrent, L"LastCleanUpDay"), 7);
}

TEST_F(CleanUpTest, WithoutKeepProtocolDays42DaysRemain) {
    Visit(L"C:\\43", {2026, 10, 25, 14, 30, 0});
    Visit(L"C:\\41", {2026, 10, 27, 14, 30, 0});
    cCleanUp cleanUp(TestClock());
    EXPECT_EQ(Run(cleanUp), 1);
    EXPECT_EQ(Rows(L"WHERE FolderPath = 'C:\\41'"), 1);
}

TEST_F(CleanUpTest, CompactionRunsOnlyWhenRowsWereDeleted) {
    // A leftover compaction target shows whether a compaction ran: it
    // removes the leftover first.
    Visit(L"C:\\new", {2026, 12, 7, 8, 0, 0});
    { std::ofstream(target_) << "leftover"; }
    cCleanUp cleanUp(TestClock());
    EXPECT_EQ(Run(cleanUp), 0);
    EXPECT_TRUE(std::filesystem::exists(target_));

    Visit(L"C:\\old", {2026, 1, 1, 0, 0, 0});
    EXPECT_EQ(Run(cleanUp), 1);
    EXPECT_FALSE(std::filesystem::exists(target_));
    EXPECT_EQ(Rows(), 1);
}

// No stored period may empty the history: 0, or 0 as a text, keeps the
// default 42 days.
TEST_F(CleanUpTest, ZeroDaysKeepsTheDefaultPeriod) {
    Visit(L"C:\\a", {2026, 12, 7, 14, 29, 59});
    Visit(L"C:\\b", {2026, 11, 1, 8, 0, 0});
    cCleanUp cleanUp(TestClock());
    SetDword(kOptions, L"KeepProtocolDays", 0);
    EXPECT_EQ(Run(cleanUp), 0);
    RegSetKeyValueW(HKEY_CURRENT_USER, kOptions, L"KeepProtocolDays", REG_SZ, L"0", 4);
    EXPECT_EQ(Run(cleanUp), 0);
    Visit(L"C:\\old", {2026, 10, 1, 8, 0, 0});
    EXPECT_EQ(Run(cleanUp), 1);
    EXPECT_EQ(Rows(), 2);
}

TEST_F(CleanUpTest, APeriodSetByHandIsHonoured) {
    SetDword(kOptions, L"KeepProtocolDays", 100);
    Visit(L"C:\\99", {2026, 8, 30, 14, 30, 0});
    Visit(L"C:\\101", {2026, 8, 28, 14, 30, 0});
    cCleanUp cleanUp(TestClock());
    EXPECT_EQ(Run(cleanUp), 1);
    EXPECT_EQ(Rows(L"WHERE FolderPath = 'C:\\99'"), 1);
}

TEST_F(CleanUpTest, ANegativePeriodFromTheRegistryIsNoSqlTrap) {
    SetDword(kOptions, L"KeepProtocolDays", static_cast<DWORD>(-5));
    Visit(L"C:\\old", {2026, 1, 1, 0, 0, 0});
    Visit(L"C:\\new", {2026, 12, 7, 8, 0, 0});
    cCleanUp cleanUp(TestClock());
    EXPECT_EQ(Run(cleanUp), 1);
    EXPECT_EQ(Rows(), 1);
}

TEST_F(CleanUpTest, AMissingDatabaseIsReportedAndTheDayStillWritten) {
    std::filesystem::remove(file_);
    cCleanUp cleanUp(TestClock());
    EXPECT_EQ(Run(cleanUp), -1);
    EXPECT_FALSE(std::filesystem::exists(file_));
    EXPECT_EQ(GetDword(kCurrent, L"LastCleanUpDay"), 7);
}
