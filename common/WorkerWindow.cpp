#include "WorkerWindow.h"

#include "TestRun.h"
#include "WorkerProtocol.h"

namespace pw {

std::wstring WorkerCaption() {
    return RunScopedName(kWorkerCaption);
}

HWND FindWorkerWindow() {
    return FindWindowW(nullptr, WorkerCaption().c_str());
}

bool SendToWorker(HWND worker, std::wstring_view payload, DWORD timeoutMs) {
    COPYDATASTRUCT data{};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(payload.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(payload.data());
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(worker, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, timeoutMs,
                               &answer) != 0;
}

HotKey WorkerHotKey() {
    if (CurrentTestRun())
        return {MOD_CONTROL | MOD_WIN, VK_F24};
    return {kHotKeyModifiers, kHotKeyVirtualKey};
}

}  // namespace pw
