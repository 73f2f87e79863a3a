// The link "Favoriten verwalten..." of the favorites tab
// (picManageFavoritesHost with lblManageFavorites): the hand cursor over it,
// underlined while the mouse is on it. A click on it goes to its owner.
#pragma once
#include <windows.h>

#include "Handles.h"
#include "Twips.h"
#include "Window.h"

namespace pw {

class cFavoritesLink final : public cWindow {
  public:
    // What the link raises.
    class Events {
      public:
        virtual void ManageFavoritesClicked() = 0;

      protected:
        ~Events() = default;
    };

    // The fonts stay the caller's; hoverFont is the underlined one. events
    // must outlive the link.
    bool Create(HWND parent, Events& events, const Twips& twips, HFONT font, HFONT hoverFont);
    HWND Label() const { return lblManageFavorites_; }

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void lblManageFavorites_MouseMove();
    void OnMouseLeave();
    int TextWidthPixels() const;  // in the wider of the two fonts

    Events* events_ = nullptr;
    HWND lblManageFavorites_ = nullptr;
    HFONT font_ = nullptr;
    HFONT hoverFont_ = nullptr;
    bool underlined_ = false;
};

}  // namespace pw
