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
    return reg;
}

void WriteSubKey(const FavoritesSubKeyWrite& write) {
    TextValue(write.subKey, kFavoritesValueName).Value(write.values.names);
    TextValue(write.subKey, kFavoritesPathsValueName).Value(write.values.paths);
}

}  // namespace

std::wstring FavoritesSubKeyPath(const std::wstring& subKey) {
    return std::wstring(SectionKeyOf(SettingsKey::FolderFavorites)) + L"\\" + subKey;
}

std::wstring ReadFavoriteGroupsValue() {
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
    for (const std::wstring& subKey : plan.deleteSubKeys) {
        cRegistry key = TextValue(subKey, L"");
        if (key.KeyExists())
            key.DeleteKey();
    }
    for (const FavoritesSubKeyWrite& write : plan.writeSubKeys)
        WriteSubKey(write);
    WriteText(Setting::Groups, plan.groupsValue);
}

void AppendFavorite(const std::wstring& group, const Favorite& favorite) {
    std::wstring groups = ReadFavoriteGroupsValue();
    FavoritesAppend plan =
        PlanFavoritesAppend(groups, group, ReadFavoritesValues(SubKeyOfGroupChoice(group)), favorite);
    if (plan.newGroup)
        WriteText(Setting::Groups, plan.groupsValue);
    WriteSubKey(plan.write);
}

}  // namespace pw
