#include "IgnoreStore.h"

#include "IgnoreList.h"
#include "ResText.h"
#include "Settings.h"
#include "ignore_res.h"

namespace pw {

std::wstring BuildIgnoreStringSQL() {
    std::wstring filter = BuildIgnoreFilter(ReadText(Setting::IgnoreStrings));
    WriteText(Setting::IgnoreStringSQL, filter);
    return filter;
}

std::wstring LoadIgnoreFilter() {
    std::wstring stored = ReadText(Setting::IgnoreStringSQL);
    return IsIgnoreFilter(stored) ? stored : BuildIgnoreStringSQL();
}

void AppendIgnoreEntry(std::wstring_view storedEntry) {
    WriteText(Setting::IgnoreStrings, AppendIgnoreString(ReadText(Setting::IgnoreStrings), storedEntry));
}

bool RefuseWhenIgnoreListFull(HWND owner, std::wstring_view filter, cDialogPresenter& presenter) {
    // The filter the lists use counts, as that is what would grow.
    if (IgnoreFilterConditions(filter).value_or(0) < kIgnoreEntryLimit)
        return false;
    presenter.ShowMessageBox(owner, ResText(IDS_IGNORE_LIMIT_MENU), kDialogTitle, MB_OK | MB_ICONEXCLAMATION);
    return true;
}

}  // namespace pw
