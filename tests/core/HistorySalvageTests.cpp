// Carrying visits out of damaged histories: pages overwritten in the table
// and in its indexes, files that are no database at all.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <fstream>
#include <map>
#include <random>
#include <tuple>

#include "Database.h"
#include "HistorySalvage.h"
#include "TestHistory.h"
#include "Text.h"

using namespace pw;
using namespace pwtest;

namespace {

using Row = std::tuple<std::string, std::string, std::string>;  // path, name, date
using Rows = std::map<long long, Row>;                          // by rowid

Rows ReadRows(const std::filesystem::path& file) {
    Rows rows;
    cDatabase db;
    if (!db.Open(file.wstring()))
        return rows;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db.Handle(), "SELECT rowid, FolderPath, FolderName, DateUsed FROM FoldersProtocol", -1, &stmt,
                       nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        auto text = [&](int i) { return std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i))); };
        rows[sqlite3_column_int64(stmt, 0)] = {text(1), text(2), text(3)};
    }
    sqlite3_finalize(stmt);
    return rows;
}

class SalvageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pwtest::CreateHistory(damaged_));
        ASSERT_TRUE(pwtest::CreateHistory(fresh_));
        cDatabase db;
        ASSERT_TRUE(db.Open(damaged_.wstring()));
        std::vector<TimedVisit> visits;
        std::mt19937 rng(7);
        // Long names spread the rows over many pages of every tree.
        for (int i = 0; i < 3000; ++i)
            visits.push_back({L"C:\\Projekte\\Ordner " + std::to_wstring(rng() % 700) + std::wstring(40, L'x'),
                              L"Name " + std::to_wstring(i), LocalTime{2026, 11, 1 + i % 28, i % 24, i % 60, 0}});
        ASSERT_TRUE(db.AppendVisits(visits)) << db.LastError();
        db.Close();
        original_ = ReadRows(damaged_);
        ASSERT_EQ(original_.size(), 3000u);
    }

    long Salvage() {
        cDatabase target;
        EXPECT_TRUE(target.Open(fresh_.wstring()));
        return SalvageHistoryFile(damaged_.wstring(), target.Handle());
    }

    pwtest::ScratchDir dir_{"salvage"};
    std::filesystem::path damaged_ = dir_ / "Pfadwerk.dat";
    std::filesystem::path fresh_ = dir_ / "Fresh.dat";
    Rows original_;
};

}  // namespace

TEST_F(SalvageTest, LostTablePagesAreReadFromTheIndexAndANewVisitMeetsTheDamage) {
    auto file = DamageMendably(damaged_);
    ASSERT_FALSE(file.empty());

    cDatabase db;
    ASSERT_TRUE(db.Open(damaged_.wstring()));
    EXPECT_FALSE(db.AppendVisit(L"C:\\Neu", L"Neu"));
    EXPECT_TRUE(db.Damaged()) << db.LastError();
    db.Close();

    EXPECT_EQ(Salvage(), 3000);
    EXPECT_EQ(ReadRows(fresh_), original_);
    EXPECT_EQ(IntegrityCheck(fresh_), "ok");
    // The damaged file is read as it lies, never written.
    EXPECT_EQ(FileBytes(damaged_), file);
}

TEST_F(SalvageTest, WhereTableAndIndexAreBothLostEveryOtherRowIsCarriedUnchanged) {
    auto file = FileBytes(damaged_);
    auto tableLeaves = PagesOfKind(file, 0x0D);
    auto indexLeaves = PagesOfKind(file, 0x0A);
    for (size_t i = 2; i < tableLeaves.size(); i += 5)
        OverwritePage(file, tableLeaves[i]);
    for (size_t i = 1; i < indexLeaves.size(); i += 7)
        OverwritePage(file, indexLeaves[i]);
    WriteBytes(damaged_, file);

    long carried = Salvage();
    Rows salvaged = ReadRows(fresh_);
    EXPECT_EQ(carried, static_cast<long>(salvaged.size()));
    EXPECT_GT(salvaged.size(), 2000u);
    EXPECT_LT(salvaged.size(), 3000u);
    for (const auto& [rowid, row] : salvaged) {
        auto it = original_.find(rowid);
        ASSERT_NE(it, original_.end()) << rowid;
        EXPECT_EQ(it->second, row);
    }
    EXPECT_EQ(IntegrityCheck(fresh_), "ok");
}

TEST_F(SalvageTest, AFileOfRandomBytesIsNoDatabaseAndGivesNothing) {
    WriteBytes(damaged_, RandomBytes(64 * 1024, 11));
    cDatabase db;
    EXPECT_FALSE(db.Open(damaged_.wstring()));
    EXPECT_TRUE(db.Damaged()) << db.LastError();
    EXPECT_EQ(Salvage(), 0);
    EXPECT_TRUE(ReadRows(fresh_).empty());
    EXPECT_EQ(IntegrityCheck(fresh_), "ok");
}

TEST_F(SalvageTest, PathsWithCharactersThatMeanSomethingInAUriAreReadAsTheyAre) {
    // Spelt in UTF-8 throughout: natively the tests run in the C locale.
    auto odd = dir_.Path() / std::filesystem::path(u8"50% #1 ü");
    std::filesystem::create_directories(odd);
    std::filesystem::copy_file(damaged_, odd / "Pfadwerk.dat");
    std::u8string file = (odd / "Pfadwerk.dat").u8string();
    cDatabase target;
    ASSERT_TRUE(target.Open(fresh_.wstring()));
    EXPECT_EQ(SalvageHistoryFile(FromUtf8({reinterpret_cast<const char*>(file.data()), file.size()}), target.Handle()),
              3000);
    EXPECT_EQ(SqliteFileUri(L"C:\\Daten\\a b%.dat"), "file:///C:/Daten/a%20b%25.dat");
}
