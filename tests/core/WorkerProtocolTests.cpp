#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "WorkerProtocol.h"

using namespace pw;

namespace {
std::vector<unsigned char> Utf16Bytes(std::wstring_view text) {
    std::vector<unsigned char> bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<unsigned char>(c & 0xFF));
        bytes.push_back(static_cast<unsigned char>((c >> 8) & 0xFF));
    }
    return bytes;
}

// What a sender builds arrives at the worker as the same request, through
// the bytes of a copy-data block.
Request RoundTrip(const std::wstring& text) {
    auto bytes = Utf16Bytes(text);
    auto payload = PayloadFromBytes(bytes.data(), bytes.size());
    return payload ? ParseRequest(*payload) : Request{};
}
}  // namespace

TEST(WorkerProtocol, EveryRequestABuilderMakesIsParsedBackUnchanged) {
    auto visit = RoundTrip(VisitReportText(L"Übersicht  ", L"\\\\server\\a|b|\\|c"));
    ASSERT_TRUE(std::holds_alternative<VisitReport>(visit));
    EXPECT_EQ(std::get<VisitReport>(visit).name, L"Übersicht  ");
    EXPECT_EQ(std::get<VisitReport>(visit).path, L"\\\\server\\a|b|\\|c");

    // Owner handles with the top bit set come back as the same 32 bits.
    for (std::uint32_t owner : {0u, 132456u, 0x80000010u, 0xFFFFFFFFu}) {
        auto request = RoundTrip(PropertiesRequestText(owner, L"C:\\Daten\\Müller's|x"));
        ASSERT_TRUE(std::holds_alternative<PropertiesRequest>(request)) << owner;
        EXPECT_EQ(static_cast<std::uint32_t>(std::get<PropertiesRequest>(request).owner), owner);
        EXPECT_EQ(std::get<PropertiesRequest>(request).path, L"C:\\Daten\\Müller's|x");
    }
    EXPECT_TRUE(std::holds_alternative<ExitRequest>(RoundTrip(ExitRequestText())));
    // The text on the wire, as the folder-visit reporter inside Explorer sends it.
    EXPECT_EQ(VisitReportText(L"a", L"C:\\a"), L"a|\\|C:\\a");
    EXPECT_EQ(PropertiesRequestText(0x80000010u, L"D:\\"), L"\\Properties!2147483664|D:\\");
}

TEST(WorkerProtocol, BytesBecomeTextOfExactlyThatLength) {
    auto bytes = Utf16Bytes(L"Übersicht|\\|C:\\Ü");
    auto text = PayloadFromBytes(bytes.data(), bytes.size());
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, L"Übersicht|\\|C:\\Ü");
    // Only the counted bytes: no reliance on a terminating NUL.
    auto shorter = PayloadFromBytes(bytes.data(), 4);
    ASSERT_TRUE(shorter);
    EXPECT_EQ(*shorter, L"Üb");
}

TEST(WorkerProtocol, EmptyOddAndOversizedBlocksAreRefused) {
    auto bytes = Utf16Bytes(L"abc");
    EXPECT_FALSE(PayloadFromBytes(bytes.data(), 0));
    EXPECT_FALSE(PayloadFromBytes(nullptr, 4));
    EXPECT_FALSE(PayloadFromBytes(bytes.data(), 5));
    std::vector<unsigned char> huge(1 << 20, 'a');
    EXPECT_FALSE(PayloadFromBytes(huge.data(), huge.size()));
}

TEST(WorkerProtocol, VisitReportSplitsAtTheFirstSeparatorAndTrimsOnlyThePath) {
    auto request = ParseRequest(L"Neuer Ordner  |\\|C:\\Temp\\Neuer Ordner   ");
    auto* visit = std::get_if<VisitReport>(&request);
    ASSERT_TRUE(visit);
    EXPECT_EQ(visit->name, L"Neuer Ordner  ");
    EXPECT_EQ(visit->path, L"C:\\Temp\\Neuer Ordner");

    request = ParseRequest(VisitReportText(L"Lokaler Datenträger (C:)", L"C:\\"));
    visit = std::get_if<VisitReport>(&request);
    ASSERT_TRUE(visit);
    EXPECT_EQ(visit->name, L"Lokaler Datenträger (C:)");
    EXPECT_EQ(visit->path, L"C:\\");

    request = ParseRequest(L"a|\\|b|\\|c");
    visit = std::get_if<VisitReport>(&request);
    ASSERT_TRUE(visit);
    EXPECT_EQ(visit->name, L"a");
    EXPECT_EQ(visit->path, L"b|\\|c");
}

TEST(WorkerProtocol, UnusableVisitReportsAreDropped) {
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseRequest(L"no separator here")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseRequest(L"name|\\|   ")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseRequest(std::wstring(L"na\0me|\\|C:\\x", 12))));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseRequest(std::wstring(L"name|\\|C:\\\0x", 12))));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseRequest(L"n|\\|" + std::wstring(kMaxPathChars + 1, L'a'))));
    EXPECT_TRUE(std::holds_alternative<VisitReport>(ParseRequest(L"|\\|C:\\")));  // a drive has no name of its own
}

TEST(WorkerProtocol, PropertiesRequestIsRecognisedByItsFirstTwelveCharactersAlone) {
    auto request = ParseRequest(L"\\Properties!131072|C:\\Temp|\\|x");
    auto* properties = std::get_if<PropertiesRequest>(&request);
    ASSERT_TRUE(properties);
    EXPECT_EQ(properties->owner, 131072);
    EXPECT_EQ(properties->path, L"C:\\Temp|\\|x");

    request = ParseRequest(L"\\Properties!4294967295|C:\\");
    ASSERT_TRUE(std::holds_alternative<PropertiesRequest>(request));
    EXPECT_EQ(std::get<PropertiesRequest>(request).owner, -1);

    // Malformed properties requests are never taken for visits.
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseRequest(L"\\Properties!abc|C:\\|\\|x")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseRequest(L"\\Properties!12")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseRequest(L"\\Properties!99999999999|C:\\")));
    // Case matters.
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ParseRequest(L"\\properties!1|C:\\")));
}

TEST(WorkerProtocol, ExitNowWithoutTheSeparatorEndsTheWorkerAndAFolderOfThatNameIsAVisit) {
    EXPECT_TRUE(std::holds_alternative<ExitRequest>(ParseRequest(L"ExitNow")));
    EXPECT_TRUE(std::holds_alternative<ExitRequest>(ParseRequest(std::wstring(L"ExitNow\0", 8))));
    EXPECT_FALSE(std::holds_alternative<ExitRequest>(ParseRequest(L"exitnow")));
    auto request = ParseRequest(VisitReportText(L"ExitNow-Sicherung", L"D:\\ExitNow-Sicherung"));
    auto* visit = std::get_if<VisitReport>(&request);
    ASSERT_TRUE(visit);
    EXPECT_EQ(visit->name, L"ExitNow-Sicherung");
    EXPECT_EQ(visit->path, L"D:\\ExitNow-Sicherung");
}

TEST(WorkerProtocol, TheWaitingDialogGoesAsItsHandleAndNothingElseIsTakenForOne) {
    for (std::uint32_t handle : {0x1A2Bu, 0xFFFFFFF0u})
        EXPECT_EQ(handle, WaitingDialogFromCommandLine(WaitingDialogArguments(handle)));
    EXPECT_EQ(66u, WaitingDialogFromCommandLine(L" /DIALOG 66 "));
    for (const wchar_t* other : {L"", L"/import", L"/dialog", L"/dialog 0", L"/dialog -5", L"/dialog 12x",
                                 L"/dialog 99999999999", L"/dialogs 5"})
        EXPECT_FALSE(WaitingDialogFromCommandLine(other).has_value()) << other;
}
