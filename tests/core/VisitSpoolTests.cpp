// The spool's lines: what the worker writes reads back as the same visits,
// and what an end in the middle of a write or a stray edit leaves is passed
// over without taking a visit with it.
#include <gtest/gtest.h>

#include <algorithm>

#include "VisitSpool.h"

using namespace pw;

namespace {

bool operator==(const TimedVisit& a, const TimedVisit& b) {
    return a.path == b.path && a.name == b.name && a.when == b.when;
}

const std::vector<TimedVisit> kVisits = {
    {L"C:\\Dokumente\\Übersicht", L"Übersicht", {2026, 12, 7, 9, 0, 1}},
    // Whatever a name may hold cannot break its line.
    {L"\\\\server\\100%\\a\tb", L"zwei\nZeilen\r%41", {2026, 12, 7, 9, 0, 2}},
};

}  // namespace

TEST(VisitSpool, LinesReadBackAsTheSameVisitsEachOnOneLine) {
    std::string lines = SpoolLines(kVisits);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2);
    SpoolContents read = ParseSpool(lines);
    EXPECT_TRUE(read.visits.size() == 2 && read.visits[0] == kVisits[0] && read.visits[1] == kVisits[1]);
    EXPECT_EQ(read.consumed, lines.size());
}

TEST(VisitSpool, ACutOffLineAndLinesThatAreNoVisitArePassedOver) {
    std::string first = SpoolLines({kVisits[0]});
    std::string junk =
        "kein Besuch\n2026-13-07 09:00:00\tC:\\a\tb\n2026-12-07 09:00:00\t\tleer\n"
        "2026-12-07 09:00:00x\tC:\\a\tb\n2026-12-07 09:00:00\tC:\\a\tb%4\n\n";
    std::string second = SpoolLines({kVisits[1]});
    std::string cut = second.substr(0, second.size() - 1);
    SpoolContents read = ParseSpool(first + junk + second + cut);
    ASSERT_EQ(read.visits.size(), 2u);
    EXPECT_TRUE(read.visits[0] == kVisits[0] && read.visits[1] == kVisits[1]);
    // The cut-off line stays for whoever finishes it; none of its bytes count.
    EXPECT_EQ(read.consumed, first.size() + junk.size() + second.size());
}
