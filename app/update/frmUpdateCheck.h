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

// The offered update.
struct UpdateNotice {
    std::wstring installedVersion, offeredVersion;
    bool automaticCheck = false;  // cmdClose says "Ignorieren", else "Schließen"
};
enum class UpdateNoticeAnswer { Download, Close };

// The installed version is the current one; message is the filled text.
struct UpToDateNotice {
    std::wstring message;
};

class frmUpdateCheck : public cDialog {
  public:
    // Download: cmdOK ("Download-Webseite öffnen"); Close: cmdClose or Esc.
    UpdateNoticeAnswer Show(HWND owner, const UpdateNotice& notice);
    void Show(HWND owner, const UpToDateNotice& notice);

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
    UpdateNotice update_;
    std::wstring message_;
    cIcon updateIcon_;
    HICON icon_ = nullptr;  // the one drawn; the system's information icon is shared
    POINT iconAt_{11, 11};  // pixels at 96 dots per inch
    cFont headerFont_;
};

}  // namespace pw
