#include "cTooltips.h"

#include <shlwapi.h>

#include "DynamicProc.h"

#include <vector>

namespace pw {
namespace {

HINSTANCE ProgramInstance() {
    return GetModuleHandleW(nullptr);
}

// comctl32 before v6 refuses tool records larger than it knows; v6 takes the
// full record.
UINT ToolInfoSize() {
    static const UINT size = [] {
        auto getVersion = LoadProc<DLLGETVERSIONPROC>(GetModuleHandleW(L"comctl32.dll"), "DllGetVersion");
        DLLVERSIONINFO version{};
        version.cbSize = sizeof(version);
        if (getVersion && SUCCEEDED(getVersion(&version)) && version.dwMajorVersion >= 6) {
            return static_cast<UINT>(sizeof(TTTOOLINFOW));
        }
        return static_cast<UINT>(TTTOOLINFOW_V2_SIZE);
    }();
    return size;
}

TTTOOLINFOW EmptyToolInfo() {
    TTTOOLINFOW info{};
    info.cbSize = ToolInfoSize();
    return info;
}

}  // namespace

cTooltips::~cTooltips() {
    Destroy();
}

void cTooltips::Destroy() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    enabled_ = false;
}

bool cTooltips::Create(HWND owner, DWORD style) {
    Destroy();
    enabled_ = true;
    icon_ = 0;
    title_.clear();
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, L"", style | WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, ProgramInstance(), nullptr);
    if (!hwnd_)
        return false;
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

bool cTooltips::AddTool(HWND control, UINT flags, const std::wstring& text) {
    if (!hwnd_ || !control)
        return false;
    TTTOOLINFOW info = EmptyToolInfo();
    info.uFlags = flags | TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(control);
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.hinst = ProgramInstance();
    std::wstring copy = text;  // the control copies it; the message wants a non-const pointer
    if (!copy.empty())
        info.lpszText = copy.data();
    return SendMessageW(hwnd_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

std::optional<TTTOOLINFOW> cTooltips::FindTool(HWND control) const {
    if (!hwnd_ || !control)
        return std::nullopt;
    int count = ToolCount();
    for (int i = 0; i < count; ++i) {
        TTTOOLINFOW info = EmptyToolInfo();
        // No text buffer: the control would copy the text without a size limit.
        info.lpszText = nullptr;
        if (!SendMessageW(hwnd_, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info)))
            continue;
        if (info.uId == reinterpret_cast<UINT_PTR>(control)) {
            info.lpszText = nullptr;
            return info;
        }
    }
    return std::nullopt;
}

void cTooltips::DeleteTool(HWND control) {
    if (auto info = FindTool(control))
        SendMessageW(hwnd_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&*info));
}

bool cTooltips::HasTool(HWND control) const {
    return FindTool(control).has_value();
}

std::wstring cTooltips::TipText(HWND control) const {
    auto info = FindTool(control);
    if (!info)
        return L"";
    // TTM_GETTEXTW copies into a caller buffer; with comctl32 v6 wParam gives
    // its size, older versions assume 80 characters, so the buffer is large.
    std::vector<wchar_t> buffer(1024, L'\0');
    info->lpszText = buffer.data();
    SendMessageW(hwnd_, TTM_GETTEXTW, buffer.size(), reinterpret_cast<LPARAM>(&*info));
    buffer.back() = L'\0';
    return info->lpszText && !IS_INTRESOURCE(info->lpszText) && info->lpszText != LPSTR_TEXTCALLBACKW
               ? std::wstring(info->lpszText)
               : std::wstring();
}

void cTooltips::SetTipText(HWND control, const std::wstring& text) {
    auto info = FindTool(control);
    if (!info)
        return;
    std::wstring copy = text;
    info->lpszText = copy.data();
    info->hinst = ProgramInstance();
    SendMessageW(hwnd_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&*info));
}

int cTooltips::ToolCount() const {
    return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, TTM_GETTOOLCOUNT, 0, 0)) : 0;
}

void cTooltips::Enabled(bool enabled) {
    if (!hwnd_)
        return;
    enabled_ = enabled;
    SendMessageW(hwnd_, TTM_ACTIVATE, enabled ? TRUE : FALSE, 0);
}

void cTooltips::SendTitle() {
    SendMessageW(hwnd_, TTM_SETTITLEW, static_cast<WPARAM>(icon_), reinterpret_cast<LPARAM>(title_.c_str()));
}

void cTooltips::Title(const std::wstring& title) {
    if (!hwnd_)
        return;
    title_ = title;
    SendTitle();
}

void cTooltips::Icon(int icon) {
    if (!hwnd_)
        return;
    icon_ = icon;
    SendTitle();
}

int cTooltips::GetDelayTime(DWORD which) const {
    return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, TTM_GETDELAYTIME, which, 0)) : 0;
}

void cTooltips::SetDelayTime(DWORD which, int milliseconds) {
    if (hwnd_)
        SendMessageW(hwnd_, TTM_SETDELAYTIME, which, MAKELPARAM(milliseconds, 0));
}

void cTooltips::SetTracking(HWND control, bool on) {
    if (auto info = FindTool(control)) {
        SendMessageW(hwnd_, TTM_TRACKACTIVATE, on ? TRUE : FALSE, reinterpret_cast<LPARAM>(&*info));
    }
}

void cTooltips::SetTrackPosition(HWND control, int x, int y) {
    if (FindTool(control))
        SendMessageW(hwnd_, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
}

void cTooltips::HideTips() {
    if (hwnd_)
        SendMessageW(hwnd_, TTM_POP, 0, 0);
}

bool cTooltips::HitTest(HWND control, int x, int y) const {
    if (!hwnd_ || !control)
        return false;
    TTHITTESTINFOW hit{};
    hit.hwnd = control;
    hit.pt = POINT{x, y};
    hit.ti = EmptyToolInfo();
    return SendMessageW(hwnd_, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)) != 0;
}

RECT cTooltips::Margins() const {
    RECT margins{};
    if (hwnd_)
        SendMessageW(hwnd_, TTM_GETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
    return margins;
}

void cTooltips::SetMargins(const RECT& margins) {
    if (hwnd_)
        SendMessageW(hwnd_, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margins));
}

void cTooltips::MarginLeft(int pixels) {
    RECT margins = Margins();
    margins.left = pixels;
    SetMargins(margins);
}

void cTooltips::MarginTop(int pixels) {
    RECT margins = Margins();
    margins.top = pixels;
    SetMargins(margins);
}

void cTooltips::MarginRight(int pixels) {
    RECT margins = Margins();
    margins.right = pixels;
    SetMargins(margins);
}

void cTooltips::MarginBottom(int pixels) {
    RECT margins = Margins();
    margins.bottom = pixels;
    SetMargins(margins);
}

int cTooltips::GetTooltipWidth(HWND control) const {
    auto info = FindTool(control);
    if (!info)
        return 0;
    return LOWORD(SendMessageW(hwnd_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&*info)));
}

int cTooltips::GetTooltipHeight(HWND control) const {
    auto info = FindTool(control);
    if (!info)
        return 0;
    return HIWORD(SendMessageW(hwnd_, TTM_GETBUBBLESIZE, 0, reinterpret_cast<LPARAM>(&*info)));
}

int cTooltips::MaxTipWidth() const {
    return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, TTM_GETMAXTIPWIDTH, 0, 0)) : 0;
}

void cTooltips::MaxTipWidth(int pixels) {
    if (hwnd_)
        SendMessageW(hwnd_, TTM_SETMAXTIPWIDTH, 0, pixels);
}

void cTooltips::SetToolRect(HWND control, int left, int top, int right, int bottom) {
    auto info = FindTool(control);
    if (!info)
        return;
    info->rect = RECT{left, top, right, bottom};
    SendMessageW(hwnd_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&*info));
}

COLORREF cTooltips::TranslateColor(std::uint32_t colour) {
    if (colour & 0x80000000u)
        return GetSysColor(static_cast<int>(colour & 0xFFu));
    return static_cast<COLORREF>(colour);
}

COLORREF cTooltips::BackColor() const {
    return hwnd_ ? static_cast<COLORREF>(SendMessageW(hwnd_, TTM_GETTIPBKCOLOR, 0, 0)) : 0;
}

void cTooltips::BackColor(std::uint32_t colour) {
    if (hwnd_)
        SendMessageW(hwnd_, TTM_SETTIPBKCOLOR, TranslateColor(colour), 0);
}

COLORREF cTooltips::ForeColor() const {
    return hwnd_ ? static_cast<COLORREF>(SendMessageW(hwnd_, TTM_GETTIPTEXTCOLOR, 0, 0)) : 0;
}

void cTooltips::ForeColor(std::uint32_t colour) {
    if (hwnd_)
        SendMessageW(hwnd_, TTM_SETTIPTEXTCOLOR, TranslateColor(colour), 0);
}

RECT cTooltips::AdjustedRect(HDC dc, const std::wstring& text) const {
    RECT rect{};
    if (!hwnd_ || !dc)
        return rect;
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    rect.right = extent.cx;
    rect.bottom = extent.cy;
    SendMessageW(hwnd_, TTM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

int cTooltips::ToolTipWidthFromText(HDC dc, const std::wstring& text) const {
    RECT rect = AdjustedRect(dc, text);
    return rect.right - rect.left;
}

int cTooltips::ToolTipHeightFromText(HDC dc, const std::wstring& text) const {
    RECT rect = AdjustedRect(dc, text);
    return rect.bottom - rect.top;
}

int cTooltips::TextWidthFromToolTipWidth(int width) const {
    if (!hwnd_)
        return 0;
    RECT rect{0, 0, width, 0};
    SendMessageW(hwnd_, TTM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    return rect.right - rect.left;
}

int cTooltips::TextHeightFromToolTipHeight(int height) const {
    if (!hwnd_)
        return 0;
    RECT rect{0, 0, 0, height};
    SendMessageW(hwnd_, TTM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    return rect.bottom - rect.top;
}

}  // namespace pw
