// The pop-up behaviour of the main window: its replacement window procedure
// (deactivation, the activation by a second start, the minimum size) and the
// hover underline of the favorites link.
#include <cwctype>

#include "AppFlags.h"
#include "Placement.h"
#include "frmMain.h"
#include "modTaskDialog.h"

namespace pw {
namespace {

// Posted to the window by the deactivation: closing or minimizing a window
// from inside its own WM_ACTIVATE would re-enter the activation.
constexpr UINT kDeferredUnload = WM_APP + 10;
constexpr UINT kDeferredMinimize = WM_APP + 11;

bool IsTooltipClass(HWND hwnd) {
    wchar_t name[101] = {};
    if (!hwnd || GetClassNameW(hwnd, name, 101) == 0) return false;
    constexpr wchar_t kPrefix[] = L"tooltips_class";
    for (size_t i = 0; kPrefix[i]; ++i) {
        if (std::towlower(name[i]) != kPrefix[i]) return false;
    }
    return true;
}

}  // namespace

void frmMain::InstallHook() {
    if (!hwnd_ || lOriginalWindowProcAddress) return;
    lOriginalWindowProcAddress = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frmMain::MainWindowProc)));
}

void frmMain::RemoveHook() {
    if (!hwnd_ || !lOriginalWindowProcAddress) return;
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lOriginalWindowProcAddress));
    lOriginalWindowProcAddress = nullptr;
}

void frmMain::RemoveAllHooks() {
    RemoveHook();
    if (lOriginalMouseLeaveWindowProcAddress && picManageFavoritesHost) {
        SetWindowLongPtrW(picManageFavoritesHost, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(lOriginalMouseLeaveWindowProcAddress));
    }
    lOriginalMouseLeaveWindowProcAddress = nullptr;
}

LRESULT CALLBACK frmMain::MainWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->lOriginalWindowProcAddress) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->OnHookMessage(msg, wParam, lParam);
}

LRESULT frmMain::OnHookMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) return OnDeactivate(reinterpret_cast<HWND>(lParam));
    if (msg == lActivationMessage && lActivationMessage != 0) {
        if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
        ForceForeground(hwnd_, true);
        return 0;
    }
    if (msg == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        PixelSize minimum = MinimumWindowSize(bVistaThemed, bLargeFonts);
        info->ptMinTrackSize.x = minimum.width;
        info->ptMinTrackSize.y = minimum.height;
        return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
    if (msg == kDeferredUnload) {
        Unload();
        return 0;
    }
    if (msg == kDeferredMinimize) {
        if (!IsIconic(hwnd_)) ShowWindow(hwnd_, SW_MINIMIZE);
        return 0;
    }
    return CallWindowProcW(lOriginalWindowProcAddress, hwnd_, msg, wParam, lParam);
}

LRESULT frmMain::OnDeactivate(HWND activated) {
    if (bMustIgnoreSearchBalloonTipClick) {
        // A click on the search tip balloon keeps the window once.
        if (IsTooltipClass(activated)) {
            bMustIgnoreSearchBalloonTipClick = false;
            return 0;
        }
    }
    if (bFolderOpened) return 0;  // the mouse-leave watch decides
    if (bOptions_ExitBehavior == 4 || bOptions_ExitBehavior == 2) {
        PostMessageW(hwnd_, kDeferredMinimize, 0, 0);
    } else if (bOptions_ExitBehavior != 3 && !IsIconic(hwnd_)) {
        PostMessageW(hwnd_, kDeferredUnload, 0, 0);
    }
    return 0;
}

void frmMain::lblManageFavorites_MouseMove() {
    if (!lOriginalMouseLeaveWindowProcAddress) {
        SendMessageW(lblManageFavorites, WM_SETFONT, reinterpret_cast<WPARAM>(fontLinkHover_.Get()), TRUE);
        lOriginalMouseLeaveWindowProcAddress = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            picManageFavoritesHost, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frmMain::LinkHoverProc)));
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = picManageFavoritesHost;
        TrackMouseEvent(&track);
    }
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

LRESULT CALLBACK frmMain::LinkHoverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<frmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->lOriginalMouseLeaveWindowProcAddress) return DefWindowProcW(hwnd, msg, wParam, lParam);
    WNDPROC original = self->lOriginalMouseLeaveWindowProcAddress;
    if (msg == WM_MOUSELEAVE) {
        SendMessageW(self->lblManageFavorites, WM_SETFONT, reinterpret_cast<WPARAM>(self->fontLink_.Get()), TRUE);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        self->lOriginalMouseLeaveWindowProcAddress = nullptr;
        return 0;
    }
    return CallWindowProcW(original, hwnd, msg, wParam, lParam);
}

}  // namespace pw
