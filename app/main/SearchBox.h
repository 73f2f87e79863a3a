// The search box of the last-used list (picFindHost): the text box txtFind
// with the grey cue text while it is empty and unfocused, and the pictures
// beside it, the lens while there is no search and the reset cross while
// there is one. The box acts on its own keys and tells its owner what the
// user did with it.
#pragma once
#include <windows.h>

#include <string>

#include "DisplayLook.h"
#include "Handles.h"
#include "Twips.h"
#include "Window.h"
#include "WindowKeys.h"

namespace pw {

class cSearchBox final : public cWindow {
  public:
    // What the box raises. Its key messages go to the window's keys first.
    class Events : public cWindowKeys {
      public:
        // A key was released that may have changed the text: the search is
        // to be run again.
        virtual void SearchChanged() = 0;
        // Enter: the search is done, the user wants its result.
        virtual void SearchSubmitted() = 0;
        // Down arrow: the user goes on to the entries found.
        virtual void SearchMovedDown() = 0;
        // The reset cross emptied the box.
        virtual void SearchCleared() = 0;

      protected:
        ~Events() = default;
    };

    // font and cueFont stay the caller's; events must outlive the box.
    bool Create(HWND parent, Events& events, const Twips& twips, HFONT font, HFONT cueFont);
    // The look at load: places and frames by the display flags.
    void ApplyLook(const DisplayLook& look);

    HWND Edit() const { return txtFind_; }
    void Focus() const { SetFocus(txtFind_); }
    bool HasFocus() const { return GetFocus() == txtFind_; }
    // Part of the typed text is selected (Ctrl+C copies that, not an entry).
    bool HasSelection() const;
    // A balloon tip at the box; systems without one (comctl32 before
    // version 6) just go on.
    void ShowTip(const std::wstring& title, const std::wstring& text) const;
    // The text as typed; empty while the cue shows.
    std::wstring Text() const;
    // What the history is searched for: the typed text, unless it is the cue
    // text itself.
    std::wstring SearchText() const;
    bool CueShown() const { return cue_; }

    void Clear();
    // As when the box loses the focus: the cue text while it is empty.
    void txtFind_LostFocus();
    // The lens while there is no search, the reset cross while there is one.
    void UpdatePictures();
    void PutCaretAtEnd();

    // The edit's messages, by its subclass.
    LRESULT OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void txtFind_GotFocus();
    void txtFind_KeyUp(WORD keyCode);
    void imgFindCancel_Click();
    void SetCue(bool cue);
    void DrawPicture(const DRAWITEMSTRUCT& item) const;

    Events* events_ = nullptr;
    Twips twips_;
    HWND txtFind_ = nullptr;
    HWND imgFind_ = nullptr;
    HWND imgFindCancel_ = nullptr;
    HFONT font_ = nullptr;
    HFONT cueFont_ = nullptr;
    bool cue_ = false;
    bool italicCue_ = false;
    bool thinFrame_ = false;
};

}  // namespace pw
