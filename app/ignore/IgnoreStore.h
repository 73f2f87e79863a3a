// The ignore list and its filter in the registry (CurrentSettings
// "IgnoreStrings" and "IgnoreStringSQL"), and the limit as the main window's
// "Immer ignorieren..." checks it.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "modTaskDialog.h"

namespace pw {

// Builds the filter from the stored list, stores it as "IgnoreStringSQL"
// (also when empty) and returns it for the history lists.
std::wstring BuildIgnoreStringSQL();

// The filter the history lists start with: "IgnoreStringSQL" as stored when
// it has the filter's shape, else one built anew from the list (and stored),
// so that a hand-edited value never runs as SQL.
std::wstring LoadIgnoreFilter();

// Adds one entry in stored form at the end of the stored list.
void AppendIgnoreEntry(std::wstring_view storedEntry);

// Whether the filter the lists use already holds the limit of entries, as
// the main window's "Immer ignorieren..." checks before adding one; and the
// message that tells the user so.
bool IgnoreListFull(std::wstring_view filter);
void ShowIgnoreListFull(HWND owner, cDialogPresenter& presenter);

}  // namespace pw
