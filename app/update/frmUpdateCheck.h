// The update notices before Vista, from the dialog template IDD_UPDATECHECK:
// the offered update with "Download-Webseite öffnen", or that the installed
// version is the current one.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "Handles.h"
#include "Window.h"

namespace pw {

class frmUpdateCheck : public cDialog {
  public:
    // The offered update. cmdOK puts "DOWNLOADNOW" into ownerTag and closes;
    // cmdClose ("Ignorieren" after an automatic check, "Schließen" after a
    // manual one) only closes.
    void ShowUpdate(HWND owner,
                    const std::wstring& installedVersion,
                    const std::wstring& offeredVersion,
                    bool automaticCheck,
                    std::wstring& ownerTag);
    // The installed version is the current one; message is the filled text.
    void ShowUpToDate(HWND owner, const std::wstring& message);

    // Called once the notice is on the screen (tests look at it here).
    std::function<void(HWND)> onShown;

  protected:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void Form_Load();
    void Form_Paint();
    void cmdOK_Click();
    void cmdClose_Click();
    void LayOutUpToDate();
    void FitHeader();
    void CenterOnOwner();
    int TwipsToPixelsX(int twips) const;
    int TwipsToPixelsY(int twips) const;

    bool upToDate_ = false;
    bool automatic_ = false;
    std::wstring installed_, offered_, message_;
    std::wstring* ownerTag_ = nullptr;
    cIcon updateIcon_;
    HICON icon_ = nullptr;  // the one drawn; the system's information icon is shared
    POINT iconAt_{11, 11};  // pixels at 96 dots per inch
    cFont headerFont_;
};

}  // namespace pw
