// First-run welcome window of the set-up run ("/setupnow").
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Handles.h"
#include "Window.h"
#include "WindowsVersion.h"

namespace pw::worker {

class frmMain;

// Control ids of the welcome window; cmdOK is IDOK.
enum WelcomeControl : int {
    lblWelcome = 1001,
    lblIntroduction,
    lblAppHeader,
    lblAppStartHeader,
    lblHowToStart,
    imgStartIcon,
    linDivider,
    linDivider2,
    picFooter,
    chkImport,
};

// The how-to text for a Windows family, with carriage returns alone
// as line breaks; from Vista on it adds the note on when the hot key works.
std::wstring HowToStartText(WindowsFamily family);

// A static control breaks lines only at CR LF: every lone CR or LF becomes
// CR LF, existing pairs stay as they are.
std::wstring LineBreaksForDisplay(std::wstring_view text);

// What the window adapts to.
struct WelcomeSystem {
    WindowsFamily family = WindowsFamily::Windows2000;
    bool visualStyles = false;
    int dpiX = 96;
    int dpiY = 96;
};

// The running system: Windows family, visual styles, screen dpi.
WelcomeSystem CurrentWelcomeSystem();

class frmWelcome final : public cWindow {
  public:
    explicit frmWelcome(frmMain& worker) : worker_(worker) {}
    // For tests: behave as on the given system instead of the running one.
    frmWelcome(frmMain& worker, const WelcomeSystem& system) : worker_(worker), forcedSystem_(system) {}
    ~frmWelcome() override;

    // Shows the window non-modally and brings it to the foreground.
    bool Load();
    void Unload();
    // Gives the window its keyboard handling (Enter and Esc close it); true
    // when the message was used.
    bool PreTranslateMessage(MSG& msg);
    // Called once the window has gone, whatever closed it.
    std::function<void()> onUnloaded;
    // Called when OK closes the window with "Verlauf aus Windows übernehmen"
    // ticked; the box is there until the user has answered it once.
    std::function<void()> onImportChosen;

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override;
    void CreateControls();
    void PlaceStartIcon();
    LRESULT OnCtlColor(HDC dc, HWND control);
    void cmdOK_Click();
    void AnswerImportOffer(bool ok);
    void Form_Unload();

    int Px(int twips) const;  // horizontal
    int Py(int twips) const;  // vertical

    frmMain& worker_;
    std::optional<WelcomeSystem> forcedSystem_;
    WelcomeSystem system_;
    bool vistaLook_ = false;  // Vista or later with visual styles
    cFont headingFont_;
    cFont textFont_;
    cFont boldFont_;
    cBrush footerBrush_;
    cBrush dividerBrush_;
    cBrush divider2Brush_;
    cBitmap startPicture_;
    cIcon bigIcon_;
    cIcon smallIcon_;
};

}  // namespace pw::worker
