// "Info": the product's logo, its version and a link to the vendor's site.
// Reads and writes no settings.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "Handles.h"
#include "DisplayLook.h"
#include "LinkLabel.h"
#include "Window.h"

namespace pw {

class frmAbout final : public cDialog {
  public:
    // openAddress hands the vendor's site to the shell ("open", owned by the
    // window); a themed Vista look gives the footer the look of Vista's
    // dialogs.
    frmAbout(std::function<void(HWND owner, const std::wstring& address)> openAddress, const DisplayLook& look);
    INT_PTR Show(HWND owner);

    // The OK button is subclassed: Esc reaches the window through it.
    LRESULT OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Form_Load();
    void LayOutDividers();
    void DrawLogo(const DRAWITEMSTRUCT& item) const;
    INT_PTR OnCtlColor(HDC dc, HWND control);
    void lblLink_Click();

    std::function<void(HWND, const std::wstring&)> openAddress_;
    bool vistaThemed_ = false;
    cLinkLabel link_;
    cBrush body_, footer_, divider_, divider2_;
    cFont logoFont_;
    cIcon logoIcon_;
};

}  // namespace pw
