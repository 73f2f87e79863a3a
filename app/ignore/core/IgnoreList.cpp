#include "IgnoreList.h"

#include "Text.h"

namespace pw {
namespace {

constexpr std::wstring_view kNotEqual = L"FoldersProtocol.FolderPath <> '";
constexpr std::wstring_view kNotLike = L"FoldersProtocol.FolderPath Not Like '";
constexpr std::wstring_view kAnd = L" AND ";

// Every "''" back to "'".
std::wstring SingleQuotes(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == L'\'' && i + 1 < text.size() && text[i + 1] == L'\'')
            ++i;
    }
    return out;
}

// A stored entry as it may stand between quotes. A stored entry holds its
// quotes doubled, and then this gives it back unchanged; a hand-edited one
// with a lone quote gets that quote doubled too, so that no entry can end the
// literal early and add SQL of its own.
std::wstring SqlLiteral(std::wstring_view storedEntry) {
    return QuoteSql(SingleQuotes(storedEntry));
}

std::wstring Condition(std::wstring_view storedEntry) {
    std::wstring literal = SqlLiteral(storedEntry);
    std::wstring condition;
    if (literal.find(L'*') == std::wstring::npos) {
        condition = kNotEqual;
    } else {
        for (wchar_t& c : literal) {
            if (c == L'*')
                c = L'%';
        }
        condition = kNotLike;
    }
    condition += literal;
    condition += L'\'';
    return condition;
}

bool At(std::wstring_view text, size_t pos, std::wstring_view part) {
    return text.substr(pos, part.size()) == part;
}

// No folder path holds a control character; in a query's text a NUL would
// end the statement early.
bool HasControlCharacter(std::wstring_view text) {
    for (wchar_t c : text) {
        if (c < L' ')
            return true;
    }
    return false;
}

}  // namespace

IgnoreEntry FolderIgnoreEntry(std::wstring_view typedPath, bool includeSubfolders) {
    std::wstring path = Trim(typedPath);
    if (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return {includeSubfolders ? IgnoreForm::FolderWithSubfolders : IgnoreForm::Folder, path};
}

IgnoreEntry PathPartIgnoreEntry(std::wstring_view typedText) {
    std::wstring text = Trim(typedText);
    std::erase(text, L'*');
    return {IgnoreForm::PathPart, text};
}

std::wstring StoredIgnoreEntry(const IgnoreEntry& entry) {
    std::wstring quoted = QuoteSql(entry.text);
    switch (entry.form) {
        case IgnoreForm::Folder:
            return quoted;
        case IgnoreForm::FolderWithSubfolders:
            return quoted + L'*';
        case IgnoreForm::PathPart:
            return L'*' + quoted + L'*';
    }
    return quoted;
}

bool IsStorableIgnoreEntry(const IgnoreEntry& entry) {
    if (entry.text.empty())
        return false;
    std::wstring stored = StoredIgnoreEntry(entry);
    if (HasControlCharacter(stored))
        return false;
    std::vector<std::wstring> read = SplitIgnoreStrings(stored + std::wstring(kIgnoreSeparator));
    return read.size() == 1 && read[0] == stored && ParseIgnoreEntry(stored) == entry;
}

IgnoreEntry ParseIgnoreEntry(std::wstring_view stored) {
    if (!stored.empty() && stored.front() == L'*') {
        std::wstring_view text = stored.size() >= 2 ? stored.substr(1, stored.size() - 2) : std::wstring_view();
        return {IgnoreForm::PathPart, SingleQuotes(text)};
    }
    if (!stored.empty() && stored.back() == L'*')
        return {IgnoreForm::FolderWithSubfolders, SingleQuotes(stored.substr(0, stored.size() - 1))};
    return {IgnoreForm::Folder, SingleQuotes(stored)};
}

std::wstring IgnoreDisplayText(const IgnoreEntry& entry, const IgnoreDisplayPatterns& patterns) {
    const std::wstring& pattern = entry.form == IgnoreForm::Folder                 ? patterns.folder
                                  : entry.form == IgnoreForm::FolderWithSubfolders ? patterns.folderWithSubfolders
                                                                                   : patterns.pathPart;
    // One replacement only: a "%1" the user typed stays text.
    std::wstring text = pattern;
    size_t at = text.find(L"%1");
    if (at != std::wstring::npos)
        text.replace(at, 2, entry.text);
    return text;
}

std::vector<std::wstring> SplitIgnoreStrings(std::wstring_view storedList) {
    std::vector<std::wstring> entries;
    size_t start = 0;
    for (size_t at = storedList.find(kIgnoreSeparator); at != std::wstring_view::npos;
         at = storedList.find(kIgnoreSeparator, start)) {
        entries.emplace_back(storedList.substr(start, at - start));
        start = at + kIgnoreSeparator.size();
    }
    return entries;
}

std::wstring JoinIgnoreStrings(const std::vector<std::wstring>& storedEntries) {
    std::wstring list;
    for (const std::wstring& entry : storedEntries) {
        list += entry;
        list += kIgnoreSeparator;
    }
    return list;
}

std::wstring AppendIgnoreString(std::wstring_view storedList, std::wstring_view storedEntry) {
    std::vector<std::wstring> entries = SplitIgnoreStrings(storedList);
    entries.emplace_back(storedEntry);
    return JoinIgnoreStrings(entries);
}

std::vector<std::wstring> IgnoreFilterEntries(std::wstring_view storedList) {
    std::vector<std::wstring> entries;
    for (std::wstring& stored : SplitIgnoreStrings(storedList)) {
        if (entries.size() == static_cast<size_t>(kIgnoreEntryLimit))
            break;
        if (!HasControlCharacter(stored))
            entries.push_back(std::move(stored));
    }
    return entries;
}

bool IgnoreListHides(std::wstring_view storedList, std::wstring_view folderPath) {
    std::string path = ToUtf8(folderPath);
    for (const std::wstring& stored : IgnoreFilterEntries(storedList)) {
        // The value the condition's literal stands for.
        std::wstring value = SingleQuotes(stored);
        if (value.find(L'*') == std::wstring::npos) {
            if (EqualsNoCase(value, folderPath))
                return true;
            continue;
        }
        for (wchar_t& c : value) {
            if (c == L'*')
                c = L'%';
        }
        if (LikeNoCase(ToUtf8(value), path))
            return true;
    }
    return false;
}

std::wstring BuildIgnoreFilter(std::wstring_view storedList) {
    // A list without any separator holds no entry; "()" would be no valid
    // condition and break every query.
    std::vector<std::wstring> entries = IgnoreFilterEntries(storedList);
    if (entries.empty())
        return {};
    std::wstring filter = L"(";
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0)
            filter += kAnd;
        filter += Condition(entries[i]);
    }
    filter += L')';
    return filter;
}

std::optional<int> IgnoreFilterConditions(std::wstring_view filter) {
    if (filter.empty())
        return 0;
    if (filter.front() != L'(' || HasControlCharacter(filter))
        return std::nullopt;
    size_t pos = 1;
    int count = 0;
    for (;;) {
        bool like = false;
        if (At(filter, pos, kNotEqual)) {
            pos += kNotEqual.size();
        } else if (At(filter, pos, kNotLike)) {
            pos += kNotLike.size();
            like = true;
        } else {
            return std::nullopt;
        }
        // The literal: doubled quotes inside, "*" never (the builder turns
        // it into "%" and a pattern without "%" was no "*" entry).
        bool wildcard = false;
        for (;;) {
            if (pos >= filter.size())
                return std::nullopt;
            wchar_t c = filter[pos];
            if (c == L'\'') {
                if (pos + 1 < filter.size() && filter[pos + 1] == L'\'') {
                    pos += 2;
                    continue;
                }
                ++pos;
                break;
            }
            if (c == L'*')
                return std::nullopt;
            if (c == L'%')
                wildcard = true;
            ++pos;
        }
        if (like && !wildcard)
            return std::nullopt;
        // Every condition is one more level of the query's expression; a
        // long enough chain is more than the engine parses.
        if (++count > kIgnoreEntryLimit)
            return std::nullopt;
        if (At(filter, pos, kAnd)) {
            pos += kAnd.size();
            continue;
        }
        if (pos + 1 == filter.size() && filter[pos] == L')')
            return count;
        return std::nullopt;
    }
}

}  // namespace pw
