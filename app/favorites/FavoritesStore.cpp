#include "FavoritesStore.h"

#include "Registry.h"
#include "Settings.h"

namespace pw {
namespace {

cRegistry TextValue(const std::wstring& subKey, const wchar_t* name) {
    cRegistry reg;
    reg.ClassKey(HKEY_CURRENT_USER);
    reg.SectionKey(subKey.empty() ? std::wstring(SectionKeyOf(SettingsKey::FolderFavorites))
                                  : FavoritesSubKeyPath(subKey));
    reg.ValueKey(name);
    reg.ValueType(REG_SZ);  // missing: no default, read as ""
    // A favorite's path may name an environment variable and is meant to
    // follow it ("%USERPROFILE%\Dokumente"); its display name is just text.
    reg.Literal(std::wstring_view(name) != kFavoritesPathsValueName);
    return reg;
}

// The paths first: readers count the favorites by their names, so until the
// names are written the sub-key reads as it was (a path more is no favorite).
void WriteSubKey(const FavoritesSubKeyWrite& write) {
    TextValue(write.subKey, kFavoritesPathsValueName).Value(write.values.paths);
    TextValue(write.subKey, kFavoritesValueName).Value(write.values.names);
}

cRegistry JournalValue() {
    cRegistry reg = TextValue(L"", kRewriteJournalValueName);
    reg.Literal(true);
    return reg;
}

// New values first, old keys last: each step can be taken again.
void ApplyRewrite(const FavoritesRewrite& plan) {
    for (const FavoritesSubKeyWrite& write : plan.writeSubKeys)
        WriteSubKey(write);
    WriteText(Setting::Groups, plan.groupsValue);
    for (const std::wstring& subKey : plan.deleteSubKeys) {
        cRegistry key = TextValue(subKey, L"");
        if (key.KeyExists())
            key.DeleteKey();
    }
}

// A rewrite the program did not live to finish is finished now.
void FinishInterruptedRewrite() {
    cRegistry journal = JournalValue();
    RegValue stored = journal.Value();
    if (std::holds_alternative<std::monostate>(stored))
        return;
    if (journal.ValueType() == REG_SZ) {
        if (std::optional<FavoritesRewrite> plan = ParseFavoritesRewriteJournal(ToText(stored)))
            ApplyRewrite(*plan);
    }
    journal.DeleteValue();
}

}  // namespace

std::wstring FavoritesSubKeyPath(const std::wstring& subKey) {
    return std::wstring(SectionKeyOf(SettingsKey::FolderFavorites)) + L"\\" + subKey;
}

std::wstring ReadFavoriteGroupsValue() {
    FinishInterruptedRewrite();
    return ReadText(Setting::Groups);
}

FavoritesValues ReadFavoritesValues(const std::wstring& subKey) {
    return {ToText(TextValue(subKey, kFavoritesValueName).Value()),
            ToText(TextValue(subKey, kFavoritesPathsValueName).Value())};
}

FavoritesData ReadFavorites() {
    return ParseFavorites(ReadFavoriteGroupsValue(), ReadFavoritesValues);
}

void RewriteFavorites(const FavoritesData& data) {
    FavoritesRewrite plan = PlanFavoritesRewrite(ReadFavoriteGroupsValue(), data);
    JournalValue().Value(FavoritesRewriteJournal(plan));
    ApplyRewrite(plan);
    JournalValue().DeleteValue();
}

void AppendFavorite(const std::wstring& group, const Favorite& favorite) {
    std::wstring groups = ReadFavoriteGroupsValue();
    std::wstring subKey = SubKeyOfGroupChoice(group);
    FavoritesAppend plan = PlanFavoritesAppend(groups, group, ReadFavoritesValues(subKey), favorite);
    // A sub-key left behind by an append that ended before its group was
    // listed holds nothing of a new group.
    if (plan.newGroup)
        plan = PlanFavoritesAppend(groups, group, {}, favorite);
    // The favorite first, then its group: an end in between leaves the
    // favorites as they were.
    WriteSubKey(plan.write);
    if (plan.newGroup)
        WriteText(Setting::Groups, plan.groupsValue);
}

}  // namespace pw
