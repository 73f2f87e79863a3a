// The pane that lies over the folder list instead of an empty list
// (picMessagePane): a header, a text, a hint with its arrow, a line under the
// header and a crossed-out lens after a search without hits. It only shows
// what it is given and raises nothing: clicks on it do nothing.
#pragma once
#include <windows.h>

#include "DisplayLook.h"
#include "FolderListPane.h"
#include "Handles.h"
#include "MainLayout.h"
#include "Twips.h"
#include "Window.h"

namespace pw {

class cMessagePane final : public cWindow {
  public:
    // The fonts stay the caller's.
    bool Create(HWND parent, const Twips& twips, const DisplayLook& look, HFONT font, HFONT headerFont);
    // Shows the pane (if it is not shown yet) with these texts and pictures.
    void Show(const MessagePaneContent& content);
    void Hide();
    bool Shown() const { return shown_; }
    // Where the hint and the pictures stand, from the window's layout.
    void Layout(const MainLayout& layout);

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DrawPicture(const DRAWITEMSTRUCT& item) const;

    Twips twips_;
    DisplayLook look_;
    HFONT headerFont_ = nullptr;
    HWND lblMessageHeader_ = nullptr;
    HWND lblMessage_ = nullptr;
    HWND lblMessageTip_ = nullptr;
    HWND imgMessageTip_ = nullptr;
    HWND imgMessageLine_ = nullptr;
    HWND imgMessageNothingFound_ = nullptr;
    COLORREF headerColour_ = RGB(0, 51, 153);
    MainLayout layout_;
    bool shown_ = false;
};

}  // namespace pw
