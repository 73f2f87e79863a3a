// Texts the favorites windows share: why a group name is refused.
#pragma once
#include <windows.h>

#include <string>

#include "FavoritesFormat.h"
#include "modTaskDialog.h"

namespace pw {

// The string-table text with its one "[*]" filled in.
std::wstring FavoritesText(unsigned id, const std::wstring& value = {});

// A message box of the favorites windows, through presenter (null: the
// system's).
int FavoritesMessage(cDialogPresenter* presenter, HWND owner, const std::wstring& text, UINT style);

// The message for a refused group name; clash is the group it collides with
// (for Duplicate and DuplicateButCase). "" for None and Empty, which are no
// mistakes worth a message.
std::wstring GroupNameRefusal(GroupNameProblem problem, const std::wstring& name, const std::wstring& clash);

}  // namespace pw
