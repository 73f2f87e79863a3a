#include "modTaskDialog.h"

#include <olectl.h>
#include <shlobj.h>

#include "DynamicProc.h"
#include "ResText.h"
#include "common_res.h"

namespace pw {
namespace {

using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

TaskDialogIndirectFn LoadTaskDialogIndirect() {
    // The manifest binds comctl32 v6; GetModuleHandle finds the loaded one.
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    if (!comctl)
        comctl = LoadLibraryW(L"comctl32.dll");
    return LoadProc<TaskDialogIndirectFn>(comctl, "TaskDialogIndirect");
}

class cSystemPresenter : public cDialogPresenter {
  public:
    int ShowTaskDialog(const TASKDIALOGCONFIG& config, bool* verificationChecked) override {
        if (verificationChecked)
            *verificationChecked = false;
        TaskDialogIndirectFn taskDialog = LoadTaskDialogIndirect();
        if (!taskDialog)
            return IDCANCEL;
        int button = IDCANCEL;
        BOOL checked = FALSE;
        if (FAILED(taskDialog(&config, &button, nullptr, &checked)))
            return IDCANCEL;
        if (verificationChecked)
            *verificationChecked = checked != FALSE;
        return button;
    }
    int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) override {
        return MessageBoxW(owner, text.c_str(), caption.c_str(), style);
    }
};

cRegistry FlagValue(const std::wstring& sectionKey, const std::wstring& flagName) {
    cRegistry reg;
    reg.ClassKey(HKEY_CURRENT_USER);
    reg.SectionKey(sectionKey);
    reg.ValueKey(flagName);
    reg.ValueType(REG_DWORD);
    reg.Default(std::int32_t{0});
    return reg;
}

void FillCommon(cTaskDialogSpec& spec, HWND owner, const std::wstring& instruction, const std::wstring& content) {
    spec.instruction = instruction;
    spec.content = content;
    spec.config = TASKDIALOGCONFIG{};
    spec.config.cbSize = sizeof(TASKDIALOGCONFIG);
    spec.config.hwndParent = owner;
    spec.title = ResText(IDS_CAPTION);
    spec.config.pszWindowTitle = spec.title.c_str();
    spec.config.pszMainInstruction = spec.instruction.c_str();
    spec.config.pszContent = spec.content.empty() ? nullptr : spec.content.c_str();
}

}  // namespace

bool BalloonTipsEnabledFor(WindowsFamily family, const RegValue& enableBalloonTips) {
    if (family == WindowsFamily::Windows2000)
        return true;
    const auto* number = std::get_if<std::int32_t>(&enableBalloonTips);
    return !(number && *number == 0);
}

bool IsBalloonTipsEnabled() {
    static const bool enabled = [] {
        const WindowsFamily family = GetWindowsFamily();
        if (family == WindowsFamily::Windows2000)
            return true;
        cRegistry reg;
        reg.ClassKey(HKEY_CURRENT_USER);
        reg.SectionKey(kExplorerAdvancedKey);
        reg.ValueKey(L"EnableBalloonTips");
        reg.ValueType(REG_DWORD);
        reg.Default(RegValue{});
        return BalloonTipsEnabledFor(family, reg.Value());
    }();
    return enabled;
}

cImageList
SetButtonImage(HWND button, HICON icon, int marginLeft, int marginTop, UINT alignment, int width, int height) {
    if (!button || !icon)
        return {};
    cImageList images(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 1, 1));
    if (!images || ImageList_AddIcon(images.Get(), icon) < 0)
        return {};
    BUTTON_IMAGELIST info{};
    info.himl = images.Get();
    info.margin = RECT{marginLeft, marginTop, 0, 0};
    info.uAlign = alignment;
    if (!SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&info)))
        return {};
    return images;
}

cImageList
SetButtonImage(HWND button, IPicture* picture, int marginLeft, int marginTop, UINT alignment, int width, int height) {
    if (!picture)
        return {};
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_ICON || FAILED(picture->get_Handle(&handle))) {
        return {};
    }
    return SetButtonImage(button, reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)), marginLeft, marginTop,
                          alignment, width, height);
}

void BuildNoticeDialog(cTaskDialogSpec& spec,
                       HWND owner,
                       const std::wstring& instruction,
                       const std::wstring& content,
                       const std::wstring& checkBoxText) {
    FillCommon(spec, owner, instruction, content);
    spec.buttonText.clear();
    spec.config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW;
    spec.config.pszMainIcon = MAKEINTRESOURCEW(IconResourceId(kTaskDialogInformationIcon));
    spec.verification = checkBoxText;
    spec.config.pszVerificationText = spec.verification.c_str();
    spec.config.cxWidth = kNoticeWidth;
}

void BuildConfirmDialog(cTaskDialogSpec& spec,
                        HWND owner,
                        const std::wstring& instruction,
                        const std::wstring& content,
                        int buttonId,
                        const std::wstring& buttonText) {
    FillCommon(spec, owner, instruction, content);
    spec.buttonText = buttonText;
    spec.button.nButtonID = buttonId;
    spec.button.pszButtonText = spec.buttonText.c_str();
    spec.config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW | TDF_ALLOW_DIALOG_CANCELLATION;
    spec.config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
    spec.config.pszMainIcon = MAKEINTRESOURCEW(IconResourceId(kTaskDialogWarningIcon));
    spec.config.cButtons = 1;
    spec.config.pButtons = &spec.button;
    spec.config.cxWidth = kConfirmWidth;
}

std::wstring MessageBoxText(const std::wstring& instruction, const std::wstring& content) {
    if (content.empty())
        return instruction;
    if (instruction.empty())
        return content;
    return instruction + L"\r\n\r\n" + content;
}

NoticePlan PlanNotice(WindowsFamily family, std::int32_t storedFlag) {
    NoticePlan plan;
    if (storedFlag == 1)
        return plan;
    if (family == WindowsFamily::VistaOrLater) {
        plan.kind = NoticeKind::TaskDialog;
        plan.storeIfTicked = true;
    } else {
        plan.kind = NoticeKind::MessageBox;
        plan.storeBeforeShowing = true;
    }
    return plan;
}

cDialogPresenter& SystemDialogPresenter() {
    static cSystemPresenter presenter;
    return presenter;
}

bool IsTaskDialogAvailable() {
    return LoadTaskDialogIndirect() != nullptr;
}

WindowsFamily DialogFamilyOf(WindowsFamily family) {
    if (family == WindowsFamily::VistaOrLater && !IsTaskDialogAvailable())
        return WindowsFamily::Xp;
    return family;
}

WindowsFamily DialogFamily() {
    return DialogFamilyOf(GetWindowsFamily());
}

bool ShowNoticeWith(cDialogPresenter& presenter,
                    WindowsFamily family,
                    const std::wstring& sectionKey,
                    HWND owner,
                    const std::wstring& flagName,
                    const std::wstring& instruction,
                    const std::wstring& content,
                    const std::wstring& checkBoxText) {
    cRegistry flag = FlagValue(sectionKey, flagName);
    NoticePlan plan = PlanNotice(family, ToLong(flag.Value(), 0));
    switch (plan.kind) {
        case NoticeKind::None:
            return false;
        case NoticeKind::MessageBox:
            // Written first: on these systems a notice is shown once, even if
            // the program ends while the box is open.
            if (plan.storeBeforeShowing)
                flag.Value(std::int32_t{1});
            presenter.ShowMessageBox(owner, MessageBoxText(instruction, content), ResText(IDS_CAPTION),
                                     kNoticeMessageBoxStyle);
            return true;
        case NoticeKind::TaskDialog: {
            cTaskDialogSpec spec;
            BuildNoticeDialog(spec, owner, instruction, content, checkBoxText);
            bool ticked = false;
            presenter.ShowTaskDialog(spec.config, &ticked);
            if (plan.storeIfTicked && ticked)
                flag.Value(std::int32_t{1});
            return true;
        }
    }
    return false;
}

bool ShowNotice(HWND owner,
                const std::wstring& flagName,
                const std::wstring& instruction,
                const std::wstring& content,
                const std::wstring& checkBoxText) {
    return ShowNoticeWith(SystemDialogPresenter(), DialogFamily(), SectionKeyOf(SettingsKey::CurrentSettings), owner,
                          flagName, instruction, content, checkBoxText);
}

bool ShowNotice(HWND owner,
                Setting flag,
                const std::wstring& instruction,
                const std::wstring& content,
                const std::wstring& checkBoxText) {
    return ShowNotice(owner, Def(flag).name, instruction, content, checkBoxText);
}

bool ConfirmWith(cDialogPresenter& presenter,
                 WindowsFamily family,
                 HWND owner,
                 const std::wstring& instruction,
                 const std::wstring& content,
                 int buttonId,
                 const std::wstring& buttonText) {
    if (family == WindowsFamily::VistaOrLater) {
        cTaskDialogSpec spec;
        BuildConfirmDialog(spec, owner, instruction, content, buttonId, buttonText);
        return presenter.ShowTaskDialog(spec.config, nullptr) != IDCANCEL;
    }
    return presenter.ShowMessageBox(owner, MessageBoxText(instruction, content), ResText(IDS_CAPTION),
                                    kConfirmMessageBoxStyle) != IDCANCEL;
}

bool Confirm(HWND owner,
             const std::wstring& instruction,
             const std::wstring& content,
             int buttonId,
             const std::wstring& buttonText) {
    return ConfirmWith(SystemDialogPresenter(), DialogFamily(), owner, instruction, content, buttonId, buttonText);
}

std::wstring BrowseSelectionPath(const std::wstring& pathBoxText) {
    std::wstring path = pathBoxText;
    if (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return path;
}

int CALLBACK BrowseStartFolderCallback(HWND hwnd, UINT message, LPARAM lParam, LPARAM lpData) {
    if (message != BFFM_INITIALIZED || lpData == 0)
        return 0;
    std::wstring path = BrowseSelectionPath(reinterpret_cast<const wchar_t*>(lpData));
    if (!path.empty())
        SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
    return 0;
}

}  // namespace pw
