#include "MainProgram.h"

#include <windows.h>

#include <memory>

namespace pw {

void RunMainProgram(frmMainSetup setup, const std::function<void(frmMain&)>& onLoaded) {
    // The window's going ends the message loop (the message only wakes it);
    // whether another follows is the window's to say. The weekly update
    // check a closing window starts is let finish first: a quit message
    // would close its notice at once.
    auto previous = setup.onUnloaded;
    setup.onUnloaded = [previous] {
        if (previous)
            previous();
        PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    };
    for (;;) {
        auto form = std::make_unique<frmMain>(setup);
        if (!form->Load())
            return;
        if (onLoaded)
            onLoaded(*form);
        MSG msg;
        while ((form->Hwnd() || UpdateCheckRunning()) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!form->ReloadRequested())
            return;
    }
}

}  // namespace pw
