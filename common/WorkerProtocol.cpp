#include "WorkerProtocol.h"

#include "Text.h"

namespace pw {
namespace {

std::optional<std::int32_t> ParseInt32(std::wstring_view text) {
    if (text.empty() || text.size() > 11)
        return std::nullopt;
    size_t i = 0;
    bool negative = text[0] == L'-';
    if (negative)
        ++i;
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = value * 10 + (text[i] - L'0');
    }
    if (negative)
        value = -value;
    // Handles above 2^31 arrive as the unsigned decimal of the same 32 bits.
    if (value < INT32_MIN || value > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

std::wstring VisitReportText(std::wstring_view name, std::wstring_view path) {
    std::wstring text(name);
    text += kVisitSeparator;
    text += path;
    return text;
}

std::wstring PropertiesRequestText(std::uint32_t ownerHandle, std::wstring_view path) {
    std::wstring text(kPropertiesPrefix);
    text += std::to_wstring(ownerHandle);
    text += L'|';
    text += path;
    return text;
}

std::wstring ExitRequestText() {
    return std::wstring(kExitRequest);
}

std::optional<std::wstring> PayloadFromBytes(const void* data, size_t byteCount) {
    if (!data || byteCount == 0 || byteCount % 2 != 0 || byteCount > kMaxPayloadBytes)
        return std::nullopt;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::wstring text(byteCount / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return text;
}

Request ParseRequest(std::wstring_view payload) {
    if (payload.substr(0, kPropertiesPrefix.size()) == kPropertiesPrefix) {
        std::wstring_view rest = payload.substr(kPropertiesPrefix.size());
        size_t bar = rest.find(L'|');
        if (bar == std::wstring_view::npos)
            return {};
        auto owner = ParseInt32(rest.substr(0, bar));
        std::wstring_view path = rest.substr(bar + 1);
        if (!owner || path.empty() || path.size() > kMaxPathChars || path.find(L'\0') != std::wstring_view::npos)
            return {};
        return PropertiesRequest{*owner, std::wstring(path)};
    }
    size_t sep = payload.find(kVisitSeparator);
    if (sep == std::wstring_view::npos) {
        if (payload.substr(0, kExitRequest.size()) == kExitRequest)
            return ExitRequest{};
        return {};
    }
    if (auto visit = MakeVisit(payload.substr(0, sep), payload.substr(sep + kVisitSeparator.size())))
        return std::move(*visit);
    return {};
}

std::optional<VisitReport> MakeVisit(std::wstring_view name, std::wstring_view path) {
    VisitReport visit{std::wstring(name), TrimRight(path)};
    if (visit.path.empty() || visit.path.size() > kMaxPathChars || visit.name.size() > kMaxPathChars ||
        visit.path.find(L'\0') != std::wstring::npos || visit.name.find(L'\0') != std::wstring::npos)
        return std::nullopt;
    return visit;
}

bool IsSetupCommandLine(std::wstring_view commandLine) {
    return FoldCase(commandLine) == L"/setupnow";
}

bool IsImportCommandLine(std::wstring_view commandLine) {
    return FoldCase(Trim(commandLine)) == kImportSwitch;
}

std::wstring WaitingDialogArguments(std::uint32_t dialogHandle) {
    return std::wstring(kWaitingDialogSwitch) + L" " + std::to_wstring(dialogHandle);
}

std::optional<std::uint32_t> WaitingDialogFromCommandLine(std::wstring_view commandLine) {
    std::wstring text = Trim(commandLine);
    std::wstring_view name(kWaitingDialogSwitch);
    if (text.size() <= name.size() + 1 || FoldCase(std::wstring_view(text).substr(0, name.size())) != name ||
        text[name.size()] != L' ')
        return std::nullopt;
    std::wstring digits = Trim(std::wstring_view(text).substr(name.size() + 1));
    if (digits.empty() || digits[0] == L'-')
        return std::nullopt;
    auto value = ParseInt32(digits);
    if (!value || *value == 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

}  // namespace pw
