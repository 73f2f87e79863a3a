#include <gtest/gtest.h>

#include <string>

#include "VersionFile.h"
#include "XmlReader.h"

namespace pw {
namespace {

std::string File(const std::string& info, const std::string& url = "https://www.example.com/download/") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<pfadwerk>\n  <version_info>" + info +
           "</version_info>\n  <download_url>" + url + "</download_url>\n</pfadwerk>\n";
}

const std::string kBoth = "<major>1</major><minor>10</minor><build>45</build><build_manualcheck>50</build_manualcheck>";

TEST(VersionText, ShortensMinorByTenAndPadsTheBuild) {
    EXPECT_EQ(L"1.1.0045", VersionText({1, 10, 45}));
    EXPECT_EQ(L"1.5.0045", VersionText({1, 5, 45}));
    EXPECT_EQ(L"1.2.0007", VersionText({1, 20, 7}));
    EXPECT_EQ(L"2.0.12345", VersionText({2, 0, 12345}));
    EXPECT_EQ(L"1.15.0100", VersionText({1, 15, 100}));
}

TEST(VersionFile, AutomaticChecksReadBuildManualOnesBuildManualcheck) {
    VersionFileAnswer automatic = ReadVersionFile(File(kBoth), true, 44);
    ASSERT_EQ(VersionFileVerdict::UpdateAvailable, automatic.verdict);
    EXPECT_EQ(45, automatic.offered.build);
    EXPECT_EQ(L"1.1.0045", VersionText(automatic.offered));
    EXPECT_EQ(L"https://www.example.com/download/", automatic.downloadUrl);

    VersionFileAnswer manual = ReadVersionFile(File(kBoth), false, 44);
    ASSERT_EQ(VersionFileVerdict::UpdateAvailable, manual.verdict);
    EXPECT_EQ(L"1.1.0050", VersionText(manual.offered));

    // The build offered to manual checks first is no update for automatic ones.
    EXPECT_EQ(VersionFileVerdict::UpToDate, ReadVersionFile(File(kBoth), true, 45).verdict);
    EXPECT_EQ(VersionFileVerdict::UpdateAvailable, ReadVersionFile(File(kBoth), false, 45).verdict);
    EXPECT_EQ(VersionFileVerdict::UpToDate, ReadVersionFile(File(kBoth), false, 50).verdict);
    EXPECT_EQ(VersionFileVerdict::UpToDate, ReadVersionFile(File(kBoth), false, 51).verdict);
}

TEST(VersionFile, MissingOrNonNumericValuesFail) {
    EXPECT_EQ(VersionFileVerdict::Failed, ReadVersionFile(File("<major>1</major><minor>0</minor>"), true, 1).verdict);
    EXPECT_EQ(VersionFileVerdict::Failed, ReadVersionFile(File("<build>45</build>"), false, 1).verdict);
    EXPECT_EQ(VersionFileVerdict::Failed, ReadVersionFile(File("<build>4x5</build>"), true, 1).verdict);
    EXPECT_EQ(VersionFileVerdict::Failed, ReadVersionFile(File("<build></build>"), true, 1).verdict);
    EXPECT_EQ(VersionFileVerdict::Failed, ReadVersionFile(File("<build>99999999999</build>"), true, 1).verdict);
    // An update needs its version and address; without an update they are
    // not read.
    EXPECT_EQ(VersionFileVerdict::Failed, ReadVersionFile(File("<build>45</build><minor>1</minor>"), true, 1).verdict);
    EXPECT_EQ(VersionFileVerdict::UpToDate, ReadVersionFile(File("<build>45</build>"), true, 45).verdict);
    EXPECT_EQ(VersionFileVerdict::Failed,
              ReadVersionFile("<pfadwerk><version_info><build>45</build><major>1</major><minor>0</minor>"
                              "</version_info></pfadwerk>",
                              true, 1)
                  .verdict);
    // Not the vendor's file at all.
    EXPECT_EQ(VersionFileVerdict::Failed, ReadVersionFile("<html><body>Not found</body></html>", true, 1).verdict);
    EXPECT_EQ(VersionFileVerdict::Failed, ReadVersionFile("", true, 1).verdict);
}

TEST(VersionFile, OnlyWebAddressesAreOffered) {
    for (const char* url :
         {"file:///c:/windows/system32/calc.exe", "calc.exe", "C:\\Windows\\system32\\calc.exe",
          "\\\\server\\share\\setup.exe", "javascript:alert(1)", "http:calc.exe", "http://", "https:///path",
          "http://example.com/a b", "http://user@evil.example/", "ftp://example.com/"}) {
        EXPECT_EQ(VersionFileVerdict::Failed, ReadVersionFile(File(kBoth, url), true, 1).verdict) << url;
    }
    EXPECT_TRUE(IsWebAddress(L"HTTP://example.com"));
    EXPECT_TRUE(IsWebAddress(L"https://example.com:8443/download?x=1&y=2#top"));
    // References are resolved before the address is judged.
    VersionFileAnswer answer = ReadVersionFile(File(kBoth, " http://example.com/?a=1&amp;b=2 "), true, 1);
    ASSERT_EQ(VersionFileVerdict::UpdateAvailable, answer.verdict);
    EXPECT_EQ(L"http://example.com/?a=1&b=2", answer.downloadUrl);
}

TEST(VersionFile, ElementsAreFoundAnywhereBelowTheirParentFirstMatchFirst) {
    std::string file =
        "<!-- generated --><!DOCTYPE pfadwerk [<!ELEMENT pfadwerk ANY>]>"
        "<pfadwerk xmlns:x='urn:x'><x:build>1</x:build><build>2</build>"
        "<section><version_info><group><build> 47 </build></group><build>48</build>"
        "<major>1</major><minor><![CDATA[5]]></minor></version_info></section>"
        "<version_info><build>99</build></version_info>"
        "<download_url>http://example.com/<?pi x?>dl</download_url></pfadwerk>";
    VersionFileAnswer answer = ReadVersionFile(file, true, 46);
    ASSERT_EQ(VersionFileVerdict::UpdateAvailable, answer.verdict);
    EXPECT_EQ(L"1.5.0047", VersionText(answer.offered));
    EXPECT_EQ(L"http://example.com/dl", answer.downloadUrl);
}

TEST(XmlReader, RefusesWhatIsNotWellFormed) {
    for (const char* bad :
         {"<a><b></a></b>", "<a>", "<a></a><b></b>", "text<a/>", "<a>&unknown;</a>", "<a>&#0;</a>", "<a b=c/>",
          "<a b='1'c='2'/>", "<a><!-- open</a>", "<a>x</a>tail", "<a><![CDATA[x</a>", "<1a/>"}) {
        EXPECT_FALSE(XmlDocument::Parse(bad)) << bad;
    }
    EXPECT_FALSE(XmlDocument::Parse("<a>" + std::string(XmlDocument::kMaxBytes, ' ') + "</a>"));
    EXPECT_FALSE(XmlDocument::Parse("<?xml version='1.0' encoding='EBCDIC'?><a/>"));
    auto nested = [](int depth) {
        std::string open, close;
        for (int i = 0; i < depth; ++i) {
            open += "<d>";
            close += "</d>";
        }
        return open + close;
    };
    EXPECT_TRUE(XmlDocument::Parse(nested(20)));
    EXPECT_FALSE(XmlDocument::Parse(nested(1000)));
}

TEST(XmlReader, ReadsTheUsualEncodings) {
    auto text = [](std::string bytes) {
        std::optional<XmlDocument> doc = XmlDocument::Parse(bytes);
        return doc ? doc->Text(doc->FirstElement(XmlDocument::kDocument, L"t")) : std::wstring(L"(refused)");
    };
    EXPECT_EQ(L"Grüße", text("<t>Gr\xC3\xBC\xC3\x9F"
                             "e</t>"));
    EXPECT_EQ(L"Grüße", text("\xEF\xBB\xBF<t>Gr\xC3\xBC\xC3\x9F"
                             "e</t>"));
    EXPECT_EQ(L"Grüße", text("<?xml version='1.0' encoding='ISO-8859-1'?><t>Gr\xFC\xDF"
                             "e</t>"));
    EXPECT_EQ(L"\u20AC", text("<?xml version=\"1.0\" encoding=\"windows-1252\"?><t>\x80</t>"));
    EXPECT_EQ(L"\u00FC&\U0001F600", text("<t>&#252;&amp;&#x1F600;</t>"));
    EXPECT_EQ(L"(refused)", text("<t>Gr\xFC\xDF"
                                 "e</t>"));  // Latin-1 bytes in a file that says nothing is UTF-8
    std::string utf16("\xFF\xFE", 2);
    for (char c : std::string("<t>ok</t>"))
        utf16 += std::string{c, '\0'};
    EXPECT_EQ(L"ok", text(utf16));
}

TEST(WeeklyUpdateCheck, DayNumbersAndTheSevenDayRule) {
    EXPECT_EQ(45356, UpdateCheckDayNumber({2024, 3, 5, 11, 59, 59}));
    EXPECT_EQ(45357, UpdateCheckDayNumber({2024, 3, 5, 12, 0, 1}));
    // Noon itself goes to the even day number.
    EXPECT_EQ(45356, UpdateCheckDayNumber({2024, 3, 5, 12, 0, 0}));
    EXPECT_EQ(45358, UpdateCheckDayNumber({2024, 3, 6, 12, 0, 0}));

    EXPECT_TRUE(IsWeeklyUpdateCheckDue(45356 - 8, {2024, 3, 5, 0, 0, 1}));
    EXPECT_FALSE(IsWeeklyUpdateCheckDue(45356 - 7, {2024, 3, 5, 23, 59, 59}));
    // A check stored after noon carries the next day's number.
    EXPECT_FALSE(IsWeeklyUpdateCheckDue(UpdateCheckDayNumber({2024, 3, 5, 18, 0, 0}), {2024, 3, 13, 9, 0, 0}));
    EXPECT_TRUE(IsWeeklyUpdateCheckDue(UpdateCheckDayNumber({2024, 3, 5, 18, 0, 0}), {2024, 3, 14, 9, 0, 0}));
    // The value's default, 1, is long ago.
    EXPECT_TRUE(IsWeeklyUpdateCheckDue(1, {2024, 3, 5, 9, 0, 0}));
}

}  // namespace
}  // namespace pw
