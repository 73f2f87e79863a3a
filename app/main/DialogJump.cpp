#include "DialogJump.h"

#include <shlwapi.h>

#include <cstdio>
#include <vector>

#include "FolderOpenPlan.h"

namespace pw {
namespace {

// The dialog belongs to another program: every message to it is bounded,
// and one that hangs counts as a dialog that is gone.
constexpr UINT kSendTimeoutMs = 1000;
constexpr UINT_PTR tmrWatch = 1;
constexpr UINT kWatchIntervalMs = 10;
// A dialog that shows no change by then keeps the name the user had typed
// all the same.
constexpr ULONGLONG kWatchLimitMs = 3000;
// Dialogs are small; a window with more controls than this is no file dialog.
constexpr size_t kMaxControls = 2000;
constexpr int kMaxDepth = 12;

// A dialog's tree as the portable plan reads it, with the windows beside it.
struct LiveNode {
    HWND hwnd = nullptr;
    std::vector<LiveNode> children;
};

void ReadTree(HWND hwnd, DialogNode& node, LiveNode& live, int depth, size_t& count) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    node.className = name;
    node.id = GetDlgCtrlID(hwnd);
    node.visible = IsWindowVisible(hwnd) != FALSE;
    live.hwnd = hwnd;
    if (depth >= kMaxDepth)
        return;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child && count < kMaxControls; child = GetWindow(child, GW_HWNDNEXT)) {
        ++count;
        node.children.emplace_back();
        live.children.emplace_back();
        ReadTree(child, node.children.back(), live.children.back(), depth + 1, count);
    }
}

HWND LiveAt(const LiveNode& root, const ControlPath& path) {
    const LiveNode* node = &root;
    for (size_t index : path) {
        if (index >= node->children.size())
            return nullptr;
        node = &node->children[index];
    }
    return node->hwnd;
}

}  // namespace

bool FindFileDialogControls(HWND dialog, FileDialogControls& controls) {
    DialogNode tree;
    LiveNode live;
    size_t count = 0;
    ReadTree(dialog, tree, live, 0, count);
    FileDialogPlan plan = PlanFileDialog(tree);
    if (!plan.Drivable())
        return false;
    controls.nameEdit = LiveAt(live, plan.fileName);
    controls.okButton = LiveAt(live, plan.okButton);
    controls.folderShown = plan.folderShown.empty() ? nullptr : LiveAt(live, plan.folderShown);
    return controls.nameEdit && controls.okButton;
}

namespace {

enum class TextCall { Ok, Denied, Failed };

TextCall CallFailure() {
    // A dialog of a program with higher rights refuses a normal program's
    // messages (user interface privilege isolation).
    return GetLastError() == ERROR_ACCESS_DENIED ? TextCall::Denied : TextCall::Failed;
}

TextCall GetText(HWND hwnd, std::wstring& text) {
    DWORD_PTR length = 0;
    SetLastError(0);
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
        return CallFailure();
    std::vector<wchar_t> buffer(length + 2, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &copied))
        return CallFailure();
    text.assign(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
    return TextCall::Ok;
}

TextCall SetText(HWND hwnd, const std::wstring& text) {
    DWORD_PTR result = 0;
    SetLastError(0);
    if (!SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &result))
        return CallFailure();
    return TextCall::Ok;
}

ULONGLONG NowMs() {
    LARGE_INTEGER now{}, frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart ? static_cast<ULONGLONG>(now.QuadPart * 1000 / frequency.QuadPart) : GetTickCount();
}

}  // namespace

cDialogJump::~cDialogJump() {
    Destroy();
}

void cDialogJump::Attach(HWND dialog) {
    dialog_ = nullptr;
    FileDialogControls controls;
    if (dialog && IsWindow(dialog) && FindFileDialogControls(dialog, controls))
        dialog_ = dialog;
}

bool cDialogJump::Waiting() {
    if (dialog_ && !IsWindow(dialog_))
        dialog_ = nullptr;
    return dialog_ != nullptr;
}

std::wstring cDialogJump::DialogCaption() const {
    std::wstring caption;
    if (dialog_)
        GetText(dialog_, caption);
    return caption;
}

bool cDialogJump::EnsureWindow() {
    return Hwnd() || Create(WindowClass{L"PfadwerkDialogJump"}, L"", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
}

DialogJumpResult cDialogJump::Jump(const std::wstring& folder) {
    pickedAt_ = NowMs();
    if (!Waiting() || IsShellNamespacePath(folder))
        return DialogJumpResult::NoDialog;
    // A network path is not asked for: a server that is away would hold the
    // window for as long as the network takes to say so; the dialog asks.
    if (!PathIsNetworkPathW(folder.c_str())) {
        DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return DialogJumpResult::MissingFolder;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return DialogJumpResult::NotAFolder;
    }
    // The dialog may have changed since the hot key (a view switched, a
    // second dialog on top): its controls are looked up anew.
    FileDialogControls controls;
    if (!FindFileDialogControls(dialog_, controls) || !EnsureWindow()) {
        dialog_ = nullptr;
        return DialogJumpResult::NoDialog;
    }
    // A jump still watched ends here: its name goes back before the next.
    if (watching_)
        EndWatch(false);

    std::wstring typed;
    switch (GetText(controls.nameEdit, typed)) {
        case TextCall::Denied:
            return DialogJumpResult::Elevated;
        case TextCall::Failed:
            return DialogJumpResult::NoDialog;
        case TextCall::Ok:
            break;
    }
    std::wstring shownBefore;
    if (controls.folderShown)
        GetText(controls.folderShown, shownBefore);
    std::wstring jumpText = FolderJumpText(folder);
    TextCall set = SetText(controls.nameEdit, jumpText);
    if (set == TextCall::Failed)
        return DialogJumpResult::NoDialog;
    std::wstring readBack;
    if (set == TextCall::Denied || GetText(controls.nameEdit, readBack) != TextCall::Ok || readBack != jumpText)
        return DialogJumpResult::Elevated;
    // Posted, as a click of the button would come: the dialog works through
    // it on its own thread while this one goes on.
    if (!PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(kOkButtonId, BN_CLICKED),
                      reinterpret_cast<LPARAM>(controls.okButton))) {
        SetText(controls.nameEdit, typed);
        return GetLastError() == ERROR_ACCESS_DENIED ? DialogJumpResult::Elevated : DialogJumpResult::NoDialog;
    }
    watching_ = true;
    nameEdit_ = controls.nameEdit;
    folderShown_ = controls.folderShown;
    typedName_ = std::move(typed);
    jumpText_ = std::move(jumpText);
    shownBefore_ = std::move(shownBefore);
    SetTimer(Hwnd(), tmrWatch, kWatchIntervalMs, nullptr);
    return DialogJumpResult::Jumped;
}

LRESULT cDialogJump::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == tmrWatch) {
        tmrWatch_Timer();
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

// The dialog has gone to the folder once it has taken the text out of its
// name box, or once it names another folder than before.
void cDialogJump::tmrWatch_Timer() {
    if (!watching_)
        return;
    if (!IsWindow(dialog_) || !IsWindow(nameEdit_)) {
        EndWatch(false);
        return;
    }
    std::wstring name, shown;
    bool nameRead = GetText(nameEdit_, name) == TextCall::Ok;
    bool changed = nameRead && name != jumpText_;
    if (!changed && folderShown_ && GetText(folderShown_, shown) == TextCall::Ok)
        changed = shown != shownBefore_;
    if (changed || NowMs() - pickedAt_ >= kWatchLimitMs)
        EndWatch(changed);
}

void cDialogJump::EndWatch(bool folderChanged) {
    KillTimer(Hwnd(), tmrWatch);
    if (!watching_)
        return;
    watching_ = false;
    ULONGLONG seen = NowMs();
    if (IsWindow(nameEdit_))
        SetText(nameEdit_, typedName_);
    nameEdit_ = folderShown_ = nullptr;
    // For tools/dialog-jump-bench.sh: the pick and the moment the watch saw
    // the change, on the performance counter that the dialog's own log uses.
    wchar_t bench[MAX_PATH] = {};
    if (folderChanged && GetEnvironmentVariableW(L"PFADWERK_DIALOGJUMP_BENCH", bench, MAX_PATH) > 0) {
        if (FILE* out = _wfopen(bench, L"a")) {
            std::fprintf(out, "pick %llu seen %llu\n", pickedAt_, seen);
            std::fclose(out);
        }
    }
    events_.DialogJumpWatchEnded();
}

}  // namespace pw
