// One tooltip window and the tools on it. A tool always describes one control
// and is known by that control's window handle. Hover tips on the main window,
// a tracking balloon in the favorites dialogs.
//
// Texts go through the wide messages, so German texts show right whatever the
// system's ANSI code page is.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <string>

namespace pw {

class cTooltips {
  public:
    cTooltips() = default;
    ~cTooltips();
    cTooltips(const cTooltips&) = delete;
    cTooltips& operator=(const cTooltips&) = delete;

    // Replaces any window this object has by a new topmost tooltip window
    // owned by owner; style is OR-ed with WS_POPUP (TTS_BALLOON, TTS_ALWAYSTIP,
    // TTS_NOPREFIX …). Resets Enabled to true, Icon to 0 and Title to "".
    bool Create(HWND owner, DWORD style);
    void Destroy();
    HWND hwnd() const { return hwnd_; }

    // A tool for control (uId = control, hwnd = its parent); TTF_IDISHWND and
    // TTF_SUBCLASS are always added to flags.
    bool AddTool(HWND control, UINT flags, const std::wstring& text);
    void DeleteTool(HWND control);
    bool HasTool(HWND control) const;
    // The text the control's tool holds ("" when there is none).
    std::wstring TipText(HWND control) const;
    void SetTipText(HWND control, const std::wstring& text);
    int ToolCount() const;

    bool Enabled() const { return hwnd_ != nullptr && enabled_; }
    void Enabled(bool enabled);
    const std::wstring& Title() const { return title_; }
    void Title(const std::wstring& title);
    // 0 none, 1 information, 2 warning, 3 error (TTI_*).
    int Icon() const { return icon_; }
    void Icon(int icon);

    int GetDelayTime(DWORD which) const;  // TTDT_*
    void SetDelayTime(DWORD which, int milliseconds);

    // Tracking tips (TTF_TRACK tools): shown, hidden and placed by the program.
    void SetTracking(HWND control, bool on);
    void SetTrackPosition(HWND control, int x, int y);  // screen pixels
    void HideTips();

    // Whether a tool of control lies under (x, y), control's client pixels.
    bool HitTest(HWND control, int x, int y) const;

    int MarginLeft() const { return Margins().left; }
    int MarginTop() const { return Margins().top; }
    int MarginRight() const { return Margins().right; }
    int MarginBottom() const { return Margins().bottom; }
    void MarginLeft(int pixels);
    void MarginTop(int pixels);
    void MarginRight(int pixels);
    void MarginBottom(int pixels);

    int GetTooltipWidth(HWND control) const;
    int GetTooltipHeight(HWND control) const;
    int MaxTipWidth() const;
    void MaxTipWidth(int pixels);
    void SetToolRect(HWND control, int left, int top, int right, int bottom);

    // Colours; a value with the high bit set is a system colour index
    // (0x80000000 | COLOR_INFOBK) and is resolved before it is sent.
    COLORREF BackColor() const;
    void BackColor(std::uint32_t colour);
    COLORREF ForeColor() const;
    void ForeColor(std::uint32_t colour);
    static COLORREF TranslateColor(std::uint32_t colour);

    // Window size for a text measured on dc, and back.
    int ToolTipWidthFromText(HDC dc, const std::wstring& text) const;
    int ToolTipHeightFromText(HDC dc, const std::wstring& text) const;
    int TextWidthFromToolTipWidth(int width) const;
    int TextHeightFromToolTipHeight(int height) const;

  private:
    std::optional<TTTOOLINFOW> FindTool(HWND control) const;
    RECT Margins() const;
    void SetMargins(const RECT& margins);
    RECT AdjustedRect(HDC dc, const std::wstring& text) const;
    void SendTitle();

    HWND hwnd_ = nullptr;
    bool enabled_ = false;
    int icon_ = 0;
    std::wstring title_;
};

}  // namespace pw
