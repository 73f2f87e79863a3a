// The favorites in the registry (HKCU\...\Pfadwerk\FolderFavorites), read and
// written in the stored format of FavoritesFormat.h.
#pragma once
#include <string>

#include "FavoritesFormat.h"

namespace pw {

// HKCU-relative path of a sub-key of FolderFavorites.
std::wstring FavoritesSubKeyPath(const std::wstring& subKey);

std::wstring ReadFavoriteGroupsValue();
FavoritesValues ReadFavoritesValues(const std::wstring& subKey);
FavoritesData ReadFavorites();

// The favorites manager's OK: everything stored is replaced by data.
void RewriteFavorites(const FavoritesData& data);
// The add-favorite dialog from the main window: one favorite to the end of
// the group chosen (a new group is added to "Groups" first).
void AppendFavorite(const std::wstring& group, const Favorite& favorite);

}  // namespace pw
