#include "Window.h"

#include <algorithm>
#include <utility>

namespace pw {

void CentreOnOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    RECT o = work, d{};
    if ((owner && !GetWindowRect(owner, &o)) || !GetWindowRect(dialog, &d))
        return;
    int width = d.right - d.left, height = d.bottom - d.top;
    int x = (o.left + o.right - width) / 2, y = (o.top + o.bottom - height) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateChildControl(HWND parent,
                        UINT id,
                        const wchar_t* className,
                        DWORD style,
                        HFONT font,
                        const wchar_t* text,
                        int x,
                        int y,
                        int width,
                        int height) {
    HWND control =
        CreateWindowExW(0, className, text, style | WS_CHILD, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (control && font)
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

cWindow::~cWindow() {
    // A window outliving its object would hand its messages to freed memory.
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(std::exchange(hwnd_, nullptr));
    }
}

void cWindow::Destroy() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool cWindow::Create(const WindowClass& windowClass,
                     const wchar_t* caption,
                     DWORD style,
                     DWORD exStyle,
                     int x,
                     int y,
                     int width,
                     int height,
                     HWND parent,
                     UINT id) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = windowClass.style;
    wc.lpfnWndProc = &cWindow::Procedure;
    wc.hInstance = module;
    wc.hCursor = windowClass.cursor ? windowClass.cursor : LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = windowClass.background;
    wc.lpszClassName = windowClass.name;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
    CreateWindowExW(exStyle, windowClass.name, caption, style, x, y, width, height, parent, menuOrId, module, this);
    return hwnd_ != nullptr;
}

LRESULT cWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(msg, wParam, lParam);
}

LRESULT cWindow::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT CALLBACK cWindow::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<cWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<cWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg != WM_NCDESTROY)
        return self->OnMessage(msg, wParam, lParam);
    LRESULT result = self->OnMessage(msg, wParam, lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->OnDestroyed();
    return result;
}

cDialog::~cDialog() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(std::exchange(hwnd_, nullptr));
    }
}

INT_PTR cDialog::ShowModal(HWND owner, UINT templateId) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &cDialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool cDialog::CreateModeless(HWND owner, UINT templateId) {
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, &cDialog::Procedure,
                       reinterpret_cast<LPARAM>(this));
    return hwnd_ != nullptr;
}

INT_PTR cDialog::OnMessage(UINT, WPARAM, LPARAM) {
    return FALSE;
}

INT_PTR CALLBACK cDialog::Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<cDialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<cDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR result = self->OnMessage(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

}  // namespace pw
