// What the native tests hand the portable code: the program's texts, read
// from its resource script just as the resource compiler reads them, and a
// German locale as the system spells it.
#pragma once
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "FolderListDates.h"
#include "ListTexts.h"
#include "Text.h"

namespace pwtest {

// Ids by name from the resource headers, then each string table line
// `NAME "text"` with the script's escapes ("" \r \n \t \\).
inline const std::map<unsigned, std::wstring>& ResourceTexts() {
    static const std::map<unsigned, std::wstring> texts = [] {
        auto lines = [](const char* name) {
            std::ifstream file(std::string(PFADWERK_RESOURCES) + "/" + name);
            std::vector<std::string> all;
            for (std::string line; std::getline(file, line);)
                all.push_back(line);
            return all;
        };
        std::map<std::string, unsigned> ids;
        for (const char* header : {"common_res.h", "app_res.h"}) {
            for (const std::string& line : lines(header)) {
                std::istringstream words(line);
                std::string define, name;
                unsigned id = 0;
                if (words >> define >> name >> id && define == "#define" && name.rfind("IDS_", 0) == 0)
                    ids[name] = id;
            }
        }
        std::map<unsigned, std::wstring> result;
        for (const char* script : {"common.rc", "app.rc"}) {
            for (const std::string& line : lines(script)) {
                std::istringstream words(line);
                std::string name;
                size_t open = line.find('"'), close = line.rfind('"');
                if (!(words >> name) || !ids.count(name) || open == std::string::npos || close <= open)
                    continue;
                std::string raw = line.substr(open + 1, close - open - 1), value;
                for (size_t i = 0; i < raw.size(); ++i) {
                    char c = raw[i];
                    if (c == '"' && i + 1 < raw.size() && raw[i + 1] == '"') {
                        value += '"';
                        ++i;
                    } else if (c == '\\' && i + 1 < raw.size()) {
                        char e = raw[++i];
                        value += e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e;
                    } else {
                        value += c;
                    }
                }
                result[ids[name]] = pw::FromUtf8(value);
            }
        }
        return result;
    }();
    return texts;
}

// The text of an id; a missing one fails the test that asked for it.
inline std::wstring ResourceText(unsigned id) {
    auto found = ResourceTexts().find(id);
    EXPECT_NE(found, ResourceTexts().end()) << "no text " << id;
    return found == ResourceTexts().end() ? std::wstring() : found->second;
}

inline const pw::ListTexts& ListTextsOfTheProgram() {
    static const pw::ListTexts texts = pw::LoadListTexts(&ResourceText);
    return texts;
}

// German names and formats, as Windows gives them for German (Germany).
inline pw::DateLocale GermanDateLocale() {
    pw::DateLocale l;
    l.dayNames = {L"Montag", L"Dienstag", L"Mittwoch", L"Donnerstag", L"Freitag", L"Samstag", L"Sonntag"};
    l.shortDayNames = {L"Mo", L"Di", L"Mi", L"Do", L"Fr", L"Sa", L"So"};
    l.monthNames = {L"Januar", L"Februar", L"März",      L"April",   L"Mai",      L"Juni",
                    L"Juli",   L"August",  L"September", L"Oktober", L"November", L"Dezember"};
    l.shortMonthNames = {L"Jan", L"Feb", L"Mär", L"Apr", L"Mai", L"Jun",
                         L"Jul", L"Aug", L"Sep", L"Okt", L"Nov", L"Dez"};
    l.firstDayOfWeek = 0;
    l.shortTimePicture = L"HH:mm";
    l.shortDatePicture = L"dd.MM.yyyy";
    return l;
}

}  // namespace pwtest
