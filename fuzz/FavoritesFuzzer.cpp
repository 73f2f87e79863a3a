// The favorites as the registry holds them, hand-edited or damaged.
#include <map>

#include "FavoritesFormat.h"
#include "FuzzInput.h"

using namespace pw;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto pieces = pwfuzz::Pieces(data, size, 8);
    std::wstring groups = pwfuzz::Utf16Units(pieces[0]);
    std::map<std::wstring, FavoritesValues> subKeys;
    std::vector<std::wstring> names = SplitFavoritesList(groups);
    names.push_back(kUncategorized);
    for (size_t i = 0; i < names.size() && 2 * i + 2 < pieces.size(); ++i)
        subKeys[names[i]] = {pwfuzz::Utf16Units(pieces[2 * i + 1]), pwfuzz::Utf16Units(pieces[2 * i + 2])};

    // A list reads back as written, up to its last separator.
    std::vector<std::wstring> elements = SplitFavoritesList(groups);
    std::wstring joined = JoinFavoritesList(elements);
    PW_FUZZ_CHECK(groups.compare(0, joined.size(), joined) == 0);
    PW_FUZZ_CHECK(SplitFavoritesList(joined) == elements);

    FavoritesData parsed = ParseFavorites(groups, [&](const std::wstring& subKey) {
        auto it = subKeys.find(subKey);
        return it == subKeys.end() ? FavoritesValues{} : it->second;
    });
    for (const auto& [key, values] : subKeys) {
        auto pairs = PairFavorites(values);
        PW_FUZZ_CHECK(pairs.size() == SplitFavoritesList(values.names).size());
        PW_FUZZ_CHECK(PairFavorites(FavoritesListValues(pairs)) == pairs);
    }

    // Whatever was read can be written back whole and reads the same.
    FavoritesRewrite rewrite = PlanFavoritesRewrite(groups, parsed);
    std::map<std::wstring, FavoritesValues> written;
    for (const auto& write : rewrite.writeSubKeys)
        written[write.subKey] = write.values;
    std::vector<std::wstring> others;
    bool groupsClean = true;
    for (const auto& group : parsed.groups) {
        groupsClean = groupsClean && CheckGroupName(group.name, others) == GroupNameProblem::None;
        others.push_back(group.name);
    }
    if (groupsClean) {
        FavoritesData again = ParseFavorites(rewrite.groupsValue, [&](const std::wstring& subKey) {
            auto it = written.find(subKey);
            return it == written.end() ? FavoritesValues{} : it->second;
        });
        PW_FUZZ_CHECK(again == parsed);
    }
    // The rewrite's journal reads back as its plan; any other stored text
    // reads as no journal or as a plan that survives its own journal.
    PW_FUZZ_CHECK(ParseFavoritesRewriteJournal(FavoritesRewriteJournal(rewrite)) == rewrite);
    if (auto plan = ParseFavoritesRewriteJournal(pwfuzz::Utf16Units(pieces.back())))
        PW_FUZZ_CHECK(ParseFavoritesRewriteJournal(FavoritesRewriteJournal(*plan)) == plan);
    if (!parsed.groups.empty()) {
        const Favorite added{L"Neu", L"C:\\Neu"};
        PlanFavoritesAppend(groups, parsed.groups[0].name, subKeys[parsed.groups[0].name], added);
    }
    return 0;
}
