#include "VisitLog.h"

#include <windows.h>
#include <shellapi.h>

#include "Database.h"

namespace pw {
namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

enum class Outcome { Stored, Missing, Damaged, Failed };

Outcome Append(const HistoryFiles& files, const std::vector<TimedVisit>& visits) {
    cDatabase db;
    if (db.Open(files.database) && db.AppendVisits(visits))
        return Outcome::Stored;
    if (db.Damaged())
        return Outcome::Damaged;
    return Exists(files.database) ? Outcome::Failed : Outcome::Missing;
}

}  // namespace

bool LogVisits(const HistoryFiles& files, const std::vector<TimedVisit>& visits, const Clock& clock) {
    switch (Append(files, visits)) {
        case Outcome::Stored:
            return true;
        case Outcome::Missing:
            return EnsureHistory(files) && Append(files, visits) == Outcome::Stored;
        case Outcome::Damaged:
            // Not repaired now (the other program holds the file): kept for
            // the next try like any failed write.
            return RepairDamagedHistory(files, clock ? clock() : SystemLocalTime()) &&
                   Append(files, visits) == Outcome::Stored;
        case Outcome::Failed:
            break;
    }
    return false;
}

bool LogVisit(const HistoryFiles& files, const VisitReport& visit, const Clock& clock) {
    return LogVisits(files, {TimedVisit{visit.path, visit.name, clock ? clock() : SystemLocalTime()}}, clock);
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
    if (ShellExecuteExW(&info) && info.hProcess)
        CloseHandle(info.hProcess);
}

}  // namespace pw
