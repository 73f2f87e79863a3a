#include "VisitLog.h"

#include <windows.h>
#include <shellapi.h>

#include "Database.h"

namespace pw {
namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Append(const HistoryFiles& files, const VisitReport& visit, const Clock& clock) {
    cDatabase db;
    return db.Open(files.database, clock) && db.AppendVisit(visit.path, visit.name);
}

}  // namespace

bool LogVisit(const HistoryFiles& files, const VisitReport& visit, const Clock& clock) {
    if (Append(files, visit, clock)) return true;
    if (Exists(files.database)) return false;
    return EnsureHistory(files) && Append(files, visit, clock);
}

void ShowFolderProperties(const PropertiesRequest& request) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // No error box: it would stop the hidden worker, and every visit behind
    // it, until somebody found and closed it.
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = reinterpret_cast<HWND>(static_cast<INT_PTR>(request.owner));
    info.lpVerb = L"properties";
    info.lpFile = request.path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info) && info.hProcess) CloseHandle(info.hProcess);
}

}  // namespace pw
