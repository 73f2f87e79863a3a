#include "VisitSpool.h"

#include "Text.h"
#include "WorkerProtocol.h"

namespace pw {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendField(std::string& out, std::wstring_view text) {
    for (char c : ToUtf8(text)) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool DecodeField(std::string_view field, std::wstring& out) {
    std::string bytes;
    bytes.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        auto byte = static_cast<unsigned char>(field[i]);
        if (byte < 0x20 || byte == 0x7F)
            return false;  // never written raw
        if (field[i] != '%') {
            bytes += field[i];
            continue;
        }
        int high = i + 2 < field.size() ? HexValue(field[i + 1]) : -1;
        int low = high >= 0 ? HexValue(field[i + 2]) : -1;
        if (low < 0)
            return false;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    out = FromUtf8(bytes);
    return true;
}

bool ParseLine(std::string_view line, TimedVisit& visit) {
    size_t tab1 = line.find('\t');
    size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos || line.find('\t', tab2 + 1) != std::string_view::npos)
        return false;
    std::string_view date = line.substr(0, tab1);
    auto when = ParseDbDate(date);
    // The whole field and nothing else: a date the history would store.
    if (!when || FormatDbDate(*when) != date)
        return false;
    std::wstring path, name;
    if (!DecodeField(line.substr(tab1 + 1, tab2 - tab1 - 1), path) || !DecodeField(line.substr(tab2 + 1), name))
        return false;
    auto checked = MakeVisit(name, path);
    if (!checked)
        return false;
    visit = {std::move(checked->path), std::move(checked->name), *when};
    return true;
}

}  // namespace

std::wstring SpoolPathFor(const std::wstring& database) {
    size_t slash = database.find_last_of(L"\\/");
    return (slash == std::wstring::npos ? std::wstring() : database.substr(0, slash + 1)) + kSpoolFile;
}

std::string SpoolLines(const std::vector<TimedVisit>& visits) {
    std::string out;
    for (const TimedVisit& visit : visits) {
        out += FormatDbDate(visit.when);
        out += '\t';
        AppendField(out, visit.path);
        out += '\t';
        AppendField(out, visit.name);
        out += '\n';
    }
    return out;
}

SpoolContents ParseSpool(std::string_view bytes) {
    SpoolContents contents;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string_view::npos; start = end + 1) {
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')  // saved by an editor
            line.remove_suffix(1);
        TimedVisit visit;
        if (ParseLine(line, visit))
            contents.visits.push_back(std::move(visit));
        contents.consumed = end + 1;
    }
    return contents;
}

}  // namespace pw
