// The check for a newer build: weekly when the main window closes, and when
// the user asks for it ("Auf neue Version prüfen"). It reads the version
// file from the vendor's server and, when a higher build is published,
// offers to open the download page; a manual check also tells when the
// program is up to date or the server cannot be reached.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "DateTime.h"
#include "VersionFile.h"
#include "VersionFileFetch.h"
#include "WindowsVersion.h"

namespace pw {

class cDialogPresenter;

constexpr wchar_t kUpdateIconName[] = L"Update_32_XP";

// The window the check works for.
struct UpdateCheckHost {
    HWND owner = nullptr;                // owns the notices; may be hidden or gone by the time they show
    std::function<void()> prepareModal;  // manual check, before anything happens: pop-up behaviour off
    std::function<void()> restoreModal;  // manual check, after the last notice: pop-up behaviour on
};

// What the check uses of the system; empty parts are the real ones.
struct UpdateCheckServices {
    std::wstring versionFileUrl;              // empty: UpdateCheckAddress()
    std::optional<ProgramVersion> installed;  // empty: ThisProgramVersion()
    DWORD timeoutMs = kVersionFileTimeoutMs;
    std::optional<WindowsFamily> family;                   // empty: this system's
    cDialogPresenter* presenter = nullptr;                 // task dialogs and message boxes
    std::function<void(const std::wstring&)> openAddress;  // empty: the shell's "open"
    std::function<void(HWND)> onNoticeShown;               // a real notice is on the screen
};

enum class UpdateCheckOutcome {
    Failed,          // no answer, or not one the check can use
    UpToDate,        // the published build is not higher
    UpdateIgnored,   // an update was offered and not taken
    DownloadOpened,  // the download page was handed to the shell
    AlreadyRunning,  // another check of this program is still going on
};

// The check (bAutomaticCheck: the weekly one, which stays silent unless
// there is an update). Returns at once: the server's answer comes to a
// window of the check's own, so the calling thread's windows go on
// meanwhile, and the wait never exceeds the services' time-out. done (may be
// empty) gets the outcome from this thread's message loop once the notice is
// closed; AlreadyRunning comes at once. The host's calls are made only while
// its window is there.
void CheckForUpdates(const UpdateCheckHost& host,
                     bool bAutomaticCheck,
                     const UpdateCheckServices& services = {},
                     std::function<void(UpdateCheckOutcome)> done = {});

// A check of this process is still waiting or showing its notice; the
// program lets it finish before it ends.
bool UpdateCheckRunning();

// The weekly rule as the main window applies it when it closes: with
// Options\CheckForUpdates on and CurrentSettings\LastUpdateCheck more than
// seven days back, LastUpdateCheck becomes today's number (before the check,
// so that a failed check waits a week as well) and the answer is true.
bool TakeWeeklyUpdateCheckDue(const LocalTime& now);

// CurrentSettings\UpdateCheckUrl when it holds an address, else the build's.
std::wstring UpdateCheckAddress();

// Major, minor and build from this program file's version resource.
ProgramVersion ThisProgramVersion();

}  // namespace pw
