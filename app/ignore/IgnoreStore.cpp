#include "IgnoreStore.h"

#include "IgnoreList.h"
#include "ResText.h"
#include "Settings.h"
#include "common_res.h"
#include "ignore_res.h"

namespace pw {

std::wstring BuildIgnoreStringSQL() {
    std::wstring filter = BuildIgnoreFilter(ReadText(Setting::IgnoreStrings));
    WriteText(Setting::IgnoreStringSQL, filter);
    return filter;
}

std::wstring LoadIgnoreFilter() {
    std::optional<std::wstring> stored = ReadStoredText(Setting::IgnoreStringSQL);
    return stored && IsIgnoreFilter(*stored) ? *stored : BuildIgnoreStringSQL();
}

void AppendIgnoreEntry(std::wstring_view storedEntry) {
    WriteText(Setting::IgnoreStrings, AppendIgnoreString(ReadText(Setting::IgnoreStrings), storedEntry));
}

bool IgnoreListFull(std::wstring_view filter) {
    return IgnoreFilterConditions(filter).value_or(0) >= kIgnoreEntryLimit;
}

void ShowIgnoreListFull(HWND owner, cDialogPresenter& presenter) {
    presenter.ShowMessageBox(owner, ResText(IDS_IGNORE_LIMIT_MENU), ResText(IDS_CAPTION), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace pw
