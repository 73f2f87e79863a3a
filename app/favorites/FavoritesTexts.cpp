#include "FavoritesTexts.h"

#include "ResText.h"
#include "favorites_res.h"

namespace pw {

std::wstring FavoritesText(unsigned id, const std::wstring& value) {
    std::wstring text = ResText(id);
    size_t at = text.find(L"[*]");
    if (at != std::wstring::npos)
        text.replace(at, 3, value);
    return text;
}

std::wstring GroupNameRefusal(GroupNameProblem problem, const std::wstring& name, const std::wstring& clash) {
    switch (problem) {
        case GroupNameProblem::Reserved:
            return FavoritesText(name == kNoGroupName ? IDS_FAV_GROUP_KEINE : IDS_FAV_GROUP_SONSTIGE);
        case GroupNameProblem::StorageName:
            return FavoritesText(IDS_FAV_GROUP_STORAGE, name);
        case GroupNameProblem::Duplicate:
            return FavoritesText(IDS_FAV_GROUP_DUPLICATE, name);
        case GroupNameProblem::DuplicateButCase:
            return FavoritesText(IDS_FAV_GROUP_CASE, clash);
        case GroupNameProblem::Separator:
            return FavoritesText(IDS_FAV_GROUP_SEPARATOR);
        case GroupNameProblem::None:
        case GroupNameProblem::Empty:
            break;
    }
    return {};
}

}  // namespace pw
