// The Jet dialect's translation, with the statement run against a history:
// the search box and the ignore filter put outside text into the queries.
#include "FuzzHistory.h"
#include "FuzzInput.h"
#include "JetSql.h"
#include "Text.h"

using namespace pw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring jet = FromUtf8({reinterpret_cast<const char*>(data), size});
    std::wstring sqlite = TranslateJetSql(jet);
    // Only the two forms SQLite lacks are rewritten; nothing else changes.
    if (jet.find(L'*') == std::wstring::npos && FoldCase(jet).find(L"top") == std::wstring::npos)
        PW_FUZZ_CHECK(sqlite == jet);
    pwfuzz::RunQuery(jet);
    return 0;
}
