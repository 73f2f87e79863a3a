// The ignore list and its filter as the registry holds them, hand-edited or
// damaged: only a filter of the expected shape may reach a query, and that
// one must be a condition and nothing more.
#include "FuzzHistory.h"
#include "FuzzInput.h"
#include "IgnoreList.h"

using namespace pw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text = pwfuzz::Utf16Units(data, size);

    // As a stored list: its filter always passes the filter's own check.
    std::vector<std::wstring> entries = SplitIgnoreStrings(text);
    PW_FUZZ_CHECK(JoinIgnoreStrings(entries).size() <= text.size());
    std::wstring built = BuildIgnoreFilter(text);
    auto conditions = IgnoreFilterConditions(built);
    PW_FUZZ_CHECK(conditions && *conditions == static_cast<int>(IgnoreFilterEntries(text).size()));
    PW_FUZZ_CHECK(*conditions <= kIgnoreEntryLimit);
    for (const auto& stored : entries) {
        IgnoreEntry entry = ParseIgnoreEntry(stored);
        if (IsStorableIgnoreEntry(entry))
            PW_FUZZ_CHECK(ParseIgnoreEntry(StoredIgnoreEntry(entry)) == entry);
    }

    // As a stored filter: what passes the check runs as a query's condition.
    if (IsIgnoreFilter(text) && !text.empty()) {
        std::wstring query = L"SELECT FolderPath FROM FoldersProtocol WHERE " + text + L" ORDER BY FolderPath";
        PW_FUZZ_CHECK(pwfuzz::RunQuery(query));
    }
    return 0;
}
