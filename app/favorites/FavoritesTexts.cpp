#include "FavoritesTexts.h"

#include "ResText.h"
#include "Text.h"
#include "common_res.h"
#include "favorites_res.h"

namespace pw {

std::wstring FavoritesText(unsigned id, const std::wstring& value) {
    return FillPlaceholders(ResText(id), {value});
}

int FavoritesMessage(cDialogPresenter* presenter, HWND owner, const std::wstring& text, UINT style) {
    cDialogPresenter& shown = presenter ? *presenter : SystemDialogPresenter();
    return shown.ShowMessageBox(owner, text, ResText(IDS_CAPTION), style);
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
        case GroupNameProblem::TooLong:
            return FavoritesText(IDS_FAV_GROUP_TOO_LONG);
        case GroupNameProblem::None:
        case GroupNameProblem::Empty:
            break;
    }
    return {};
}

}  // namespace pw
