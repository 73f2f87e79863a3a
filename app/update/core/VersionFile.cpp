#include "VersionFile.h"

#include <cmath>
#include <limits>

#include "XmlReader.h"

namespace pw {
namespace {

std::wstring Digits(std::int64_t value, size_t width) {
    std::wstring digits = std::to_wstring(value < 0 ? -value : value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), L'0');
    return value < 0 ? L"-" + digits : digits;
}

std::optional<std::int32_t> NumberOf(const XmlDocument& document, int parent, std::wstring_view name) {
    int element = document.FirstElement(parent, name);
    if (element < 0)
        return std::nullopt;
    return ParseWholeNumber(document.Text(element));
}

}  // namespace

std::wstring VersionText(const ProgramVersion& version) {
    std::int32_t minor = version.minor % 10 == 0 ? version.minor / 10 : version.minor;
    return std::to_wstring(version.major) + L"." + std::to_wstring(minor) + L"." + Digits(version.build, 4);
}

std::optional<std::int32_t> ParseWholeNumber(std::wstring_view text) {
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

bool IsWebAddress(std::wstring_view address) {
    auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
    auto startsWith = [&](std::wstring_view prefix) {
        if (address.size() < prefix.size())
            return false;
        for (size_t i = 0; i < prefix.size(); ++i) {
            if (lower(address[i]) != prefix[i])
                return false;
        }
        return true;
    };
    size_t hostStart = startsWith(L"https://") ? 8 : startsWith(L"http://") ? 7 : 0;
    if (hostStart == 0)
        return false;
    // Blanks, quotes and control characters have no place in an address; the
    // shell might read them as a second argument.
    for (wchar_t c : address) {
        if (c <= L' ' || c == 0x7F || c == L'"' || c == L'<' || c == L'>' || c == L'\\' || c == L'^' || c == L'`' ||
            c == L'{' || c == L'|' || c == L'}')
            return false;
    }
    std::wstring_view rest = address.substr(hostStart);
    std::wstring_view host = rest.substr(0, rest.find_first_of(L"/?#"));
    // user:password@ in front of the host would let an address pretend to be
    // another; there is no need for it.
    return !host.empty() && host.find(L'@') == std::wstring_view::npos && host.front() != L':';
}

VersionFileAnswer ReadVersionFile(std::string_view bytes, bool automaticCheck, std::int32_t installedBuild) {
    VersionFileAnswer answer;
    std::optional<XmlDocument> document = XmlDocument::Parse(bytes);
    if (!document)
        return answer;
    int root = document->FirstElement(XmlDocument::kDocument, L"pfadwerk");
    int info = root < 0 ? -1 : document->FirstElement(root, L"version_info");
    if (info < 0)
        return answer;
    std::optional<std::int32_t> build = NumberOf(*document, info, automaticCheck ? L"build" : L"build_manualcheck");
    if (!build)
        return answer;
    if (*build <= installedBuild) {
        answer.verdict = VersionFileVerdict::UpToDate;
        return answer;
    }
    std::optional<std::int32_t> major = NumberOf(*document, info, L"major");
    std::optional<std::int32_t> minor = NumberOf(*document, info, L"minor");
    int url = document->FirstElement(root, L"download_url");
    if (!major || !minor || url < 0)
        return answer;
    std::wstring address = document->Text(url);
    if (!IsWebAddress(address))
        return answer;
    answer.verdict = VersionFileVerdict::UpdateAvailable;
    answer.offered = ProgramVersion{*major, *minor, *build};
    answer.downloadUrl = std::move(address);
    return answer;
}

double DateSerial(const LocalTime& moment) {
    long long days = DaysFromCivil(moment.year, moment.month, moment.day) - DaysFromCivil(1899, 12, 30);
    return static_cast<double>(days) + (moment.hour * 3600 + moment.minute * 60 + moment.second) / 86400.0;
}

std::int32_t UpdateCheckDayNumber(const LocalTime& now) {
    return static_cast<std::int32_t>(std::nearbyint(DateSerial(now)));
}

bool IsWeeklyUpdateCheckDue(std::int32_t lastCheckDay, const LocalTime& now) {
    long long today = DaysFromCivil(now.year, now.month, now.day) - DaysFromCivil(1899, 12, 30);
    return today - lastCheckDay > 7;
}

}  // namespace pw
