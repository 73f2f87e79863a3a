#include "modUpdateCheck.h"

#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "Handles.h"
#include "PfadwerkVendor.h"
#include "PlaceholderText.h"
#include "ResText.h"
#include "Settings.h"
#include "Window.h"
#include "common_res.h"
#include "frmUpdateCheck.h"
#include "modTaskDialog.h"
#include "update_res.h"

namespace pw {
namespace {

constexpr wchar_t kUpdateCheckClass[] = L"PfadwerkUpdateCheck";
constexpr int kDownloadButton = 1;
constexpr int kIgnoreButton = 2;
constexpr UINT kUpdateNoticeWidth = 210;    // dialog units
constexpr UINT kUpToDateNoticeWidth = 200;  // dialog units

// The hourglass over everything while a manual check waits for the server.
class cWaitCursor {
  public:
    cWaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~cWaitCursor() { SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW)); }
    cWaitCursor(const cWaitCursor&) = delete;
    cWaitCursor& operator=(const cWaitCursor&) = delete;

  private:
    HCURSOR previous_;
};

// A resource text with its escapes ("\n") turned into what they stand for.
std::wstring FilledText(UINT id, std::span<const PlaceholderValue> values = {}) {
    FormatResult result = FormatPlaceholders(ResText(id), values);
    return result.Ok() ? result.text : ResText(id);
}

// A task dialog's configuration together with the texts it points to.
struct cUpdateDialogSpec {
    cUpdateDialogSpec() = default;
    cUpdateDialogSpec(const cUpdateDialogSpec&) = delete;
    cUpdateDialogSpec& operator=(const cUpdateDialogSpec&) = delete;

    TASKDIALOGCONFIG config{};
    TASKDIALOG_BUTTON buttons[2]{};
    std::wstring title, instruction, content, footer, download, ignore;
};

HRESULT CALLBACK NoticeCallback(HWND hwnd, UINT notification, WPARAM, LPARAM, LONG_PTR data) {
    if (notification == TDN_CREATED && data)
        (*reinterpret_cast<const std::function<void(HWND)>*>(data))(hwnd);
    return S_OK;
}

void FillCommon(cUpdateDialogSpec& spec, HWND owner, const UpdateCheckServices& services) {
    spec.title = ResText(IDS_UPDATE_CAPTION);
    spec.config.cbSize = sizeof spec.config;
    spec.config.hwndParent = owner;
    spec.config.pszWindowTitle = spec.title.c_str();
    if (services.onNoticeShown) {
        spec.config.pfCallback = &NoticeCallback;
        spec.config.lpCallbackData = reinterpret_cast<LONG_PTR>(&services.onNoticeShown);
    }
}

// Vista and later: the offered update as a task dialog; true when the user
// chose the download page.
bool ShowUpdateTaskDialog(cDialogPresenter& presenter,
                          HWND owner,
                          HICON icon,
                          const std::wstring& installed,
                          const std::wstring& offered,
                          bool automaticCheck,
                          const UpdateCheckServices& services) {
    cUpdateDialogSpec spec;
    FillCommon(spec, owner, services);
    spec.instruction = ResText(IDS_UPDATE_AVAILABLE);
    spec.content = ResText(IDS_UPDATE_INSTALLED) + L"    " + installed + L"\r\n" + ResText(IDS_UPDATE_OFFERED) +
                   L"   " + offered + L"\r\n";
    spec.footer = ResText(IDS_UPDATE_RECOMMENDED);
    spec.download = ResText(IDS_UPDATE_DOWNLOAD);
    spec.ignore = ResText(IDS_UPDATE_IGNORE);
    spec.config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW | TDF_USE_HICON_MAIN | TDF_ALLOW_DIALOG_CANCELLATION;
    spec.config.hMainIcon = icon;
    spec.config.pszMainInstruction = spec.instruction.c_str();
    spec.config.pszContent = spec.content.c_str();
    spec.config.pszFooter = spec.footer.c_str();
    spec.config.cxWidth = kUpdateNoticeWidth;
    spec.buttons[0] = TASKDIALOG_BUTTON{kDownloadButton, spec.download.c_str()};
    spec.buttons[1] = TASKDIALOG_BUTTON{kIgnoreButton, spec.ignore.c_str()};
    spec.config.pButtons = spec.buttons;
    if (automaticCheck) {
        spec.config.cButtons = 2;
    } else {
        spec.config.cButtons = 1;
        spec.config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    }
    return presenter.ShowTaskDialog(spec.config, nullptr) == kDownloadButton;
}

void ShowUpToDateTaskDialog(cDialogPresenter& presenter,
                            HWND owner,
                            const std::wstring& message,
                            const UpdateCheckServices& services) {
    cUpdateDialogSpec spec;
    FillCommon(spec, owner, services);
    spec.instruction = ResText(IDS_UPDATE_UP_TO_DATE) + L"\r\n";
    spec.content = message;
    spec.config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW | TDF_ALLOW_DIALOG_CANCELLATION;
    spec.config.pszMainIcon = MAKEINTRESOURCEW(IconResourceId(kTaskDialogInformationIcon));
    spec.config.pszMainInstruction = spec.instruction.c_str();
    spec.config.pszContent = spec.content.c_str();
    spec.config.dwCommonButtons = TDCBF_OK_BUTTON;
    spec.config.cxWidth = kUpToDateNoticeWidth;
    presenter.ShowTaskDialog(spec.config, nullptr);
}

UpdateCheckOutcome OfferUpdate(const VersionFileAnswer& answer,
                               const std::wstring& installed,
                               HWND owner,
                               bool automaticCheck,
                               WindowsFamily family,
                               cDialogPresenter& presenter,
                               const UpdateCheckServices& services) {
    std::wstring offered = VersionText(answer.offered);
    bool download = false;
    if (family == WindowsFamily::VistaOrLater) {
        int size = GetSystemMetrics(SM_CXICON);
        cIcon icon(
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), kUpdateIconName, IMAGE_ICON, size, size, 0)));
        download = ShowUpdateTaskDialog(presenter, owner, icon.Get(), installed, offered, automaticCheck, services);
    } else {
        frmUpdateCheck notice;
        notice.onShown = services.onNoticeShown;
        download = notice.Show(owner, UpdateNotice{installed, offered, automaticCheck}) == UpdateNoticeAnswer::Download;
    }
    if (!download)
        return UpdateCheckOutcome::UpdateIgnored;
    // The notice is gone; the window behind it should not show its hole
    // while the browser starts.
    if (owner)
        UpdateWindow(owner);
    if (services.openAddress)
        services.openAddress(answer.downloadUrl);
    else
        ShellExecuteW(nullptr, L"open", answer.downloadUrl.c_str(), nullptr, nullptr, SW_SHOW);
    return UpdateCheckOutcome::DownloadOpened;
}

// One check: its window waits for the fetch's posted answer (or its own
// time-out), then shows the notice and reports. Message-only, so that the
// weekly check outlives the main window that closed and started it.
class cUpdateCheck final : public cWindow {
  public:
    cUpdateCheck(const UpdateCheckHost& host,
                 bool automatic,
                 const UpdateCheckServices& services,
                 std::function<void(UpdateCheckOutcome)> done)
        : host_(host), automatic_(automatic), services_(services), done_(std::move(done)) {}

    // False when the check could not begin at all.
    bool Begin() {
        if (!Create(WindowClass{kUpdateCheckClass}, ProcessTag().c_str(), 0, 0, 0, 0, 0, 0, HWND_MESSAGE))
            return false;
        // A manual check leaves pop-up mode before it waits, not only before
        // its notice: the window must not close under the running check.
        if (!automatic_ && host_.prepareModal)
            host_.prepareModal();
        if (!automatic_)
            hourglass_.emplace();
        installed_ = services_.installed ? *services_.installed : ThisProgramVersion();
        std::wstring address = services_.versionFileUrl.empty() ? UpdateCheckAddress() : services_.versionFileUrl;
        fetch_ = StartVersionFileFetch(address, services_.timeoutMs, Hwnd(), kFetched, kRequest);
        if (!fetch_ || !SetTimer(Hwnd(), kTimeout, services_.timeoutMs, nullptr))
            PostMessageW(Hwnd(), kGaveUp, 0, 0);
        return true;
    }

    static std::wstring ProcessTag() { return std::to_wstring(GetCurrentProcessId()); }

  private:
    static constexpr UINT kFetched = WM_APP + 1;
    static constexpr UINT kGaveUp = WM_APP + 2;
    static constexpr UINT_PTR kTimeout = 1;
    static constexpr WPARAM kRequest = 1;

    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case kFetched:
                // An answer that comes after the time-out is no longer waited for.
                if (wParam == kRequest && fetch_)
                    Conclude(TakeFetchedFile(fetch_));
                return 0;
            case WM_TIMER:
                if (wParam == kTimeout)
                    Conclude({});
                return 0;
            case kGaveUp:
                Conclude({});
                return 0;
            default:
                return DefaultProc(msg, wParam, lParam);
        }
    }

    void OnDestroyed() override { delete this; }

    void Conclude(const FetchedFile& file) {
        KillTimer(Hwnd(), kTimeout);
        AbandonFetch(fetch_);
        fetch_.reset();
        UpdateCheckOutcome outcome = Notify(file);
        std::function<void(UpdateCheckOutcome)> done = std::move(done_);
        // Gone before the report: the next check may begin from it.
        Destroy();  // deletes this
        if (done)
            done(outcome);
    }

    UpdateCheckOutcome Notify(const FetchedFile& file) {
        const bool manual = !automatic_;
        VersionFileAnswer answer =
            file.ok ? ReadVersionFile(file.body, automatic_, installed_.build) : VersionFileAnswer{};
        hourglass_.reset();

        const WindowsFamily family = services_.family ? *services_.family : DialogFamily();
        cDialogPresenter& presenter = services_.presenter ? *services_.presenter : SystemDialogPresenter();
        HWND owner = IsWindow(host_.owner) ? host_.owner : nullptr;
        std::wstring installedText = VersionText(installed_);

        UpdateCheckOutcome outcome = UpdateCheckOutcome::Failed;
        switch (answer.verdict) {
            case VersionFileVerdict::UpdateAvailable:
                outcome = OfferUpdate(answer, installedText, owner, automatic_, family, presenter, services_);
                break;
            case VersionFileVerdict::UpToDate:
                outcome = UpdateCheckOutcome::UpToDate;
                if (manual) {
                    const PlaceholderValue version[] = {installedText};
                    std::wstring message = FilledText(IDS_UPDATE_CURRENT, version);
                    if (family == WindowsFamily::VistaOrLater) {
                        ShowUpToDateTaskDialog(presenter, owner, message, services_);
                    } else {
                        frmUpdateCheck notice;
                        notice.onShown = services_.onNoticeShown;
                        notice.Show(owner, UpToDateNotice{message});
                    }
                }
                break;
            case VersionFileVerdict::Failed:
                if (manual)
                    presenter.ShowMessageBox(owner, FilledText(IDS_UPDATE_FAILED), ResText(IDS_CAPTION),
                                             MB_OK | MB_ICONEXCLAMATION);
                break;
        }
        // A window that went meanwhile has nothing left to restore.
        if (manual && host_.restoreModal && (!host_.owner || IsWindow(host_.owner)))
            host_.restoreModal();
        return outcome;
    }

    UpdateCheckHost host_;
    bool automatic_;
    UpdateCheckServices services_;
    std::function<void(UpdateCheckOutcome)> done_;
    std::optional<cWaitCursor> hourglass_;
    ProgramVersion installed_;
    FetchHandle fetch_;
};

}  // namespace

void CheckForUpdates(const UpdateCheckHost& host,
                     bool bAutomaticCheck,
                     const UpdateCheckServices& services,
                     std::function<void(UpdateCheckOutcome)> done) {
    // The notices are modal, but the wait for the server is not: a menu
    // command could otherwise start a second check while the first one waits.
    if (UpdateCheckRunning()) {
        if (done)
            done(UpdateCheckOutcome::AlreadyRunning);
        return;
    }
    auto* check = new cUpdateCheck(host, bAutomaticCheck, services, done);
    if (!check->Begin()) {
        delete check;
        if (done)
            done(UpdateCheckOutcome::Failed);
    }
}

bool UpdateCheckRunning() {
    return FindWindowExW(HWND_MESSAGE, nullptr, kUpdateCheckClass, cUpdateCheck::ProcessTag().c_str()) != nullptr;
}

bool TakeWeeklyUpdateCheckDue(const LocalTime& now) {
    if (ReadNumber(Setting::CheckForUpdates) != 1)
        return false;
    if (!IsWeeklyUpdateCheckDue(ReadNumber(Setting::LastUpdateCheck), now))
        return false;
    WriteNumber(Setting::LastUpdateCheck, UpdateCheckDayNumber(now));
    return true;
}

std::wstring UpdateCheckAddress() {
    std::wstring configured = ReadText(Setting::UpdateCheckUrl);
    return configured.empty() ? std::wstring(PFADWERK_UPDATE_CHECK_URL) : configured;
}

ProgramVersion ThisProgramVersion() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    // VerQueryValue wants a copy it may write into, not the mapped resource.
    std::vector<BYTE> copy(static_cast<const BYTE*>(data),
                           static_cast<const BYTE*>(data) + SizeofResource(module, found));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&info), &size) || size < sizeof *info)
        return {};
    return ProgramVersion{static_cast<std::int32_t>(HIWORD(info->dwFileVersionMS)),
                          static_cast<std::int32_t>(LOWORD(info->dwFileVersionMS)),
                          static_cast<std::int32_t>(LOWORD(info->dwFileVersionLS))};
}

}  // namespace pw
