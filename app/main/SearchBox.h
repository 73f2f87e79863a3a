// The search box of the last-used list (picFindHost): the text box txtFind
// with the grey cue text while it is empty and unfocused, and the pictures
// beside it, the lens while there is no search and the reset cross while
// there is one.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "DisplayLook.h"
#include "Handles.h"
#include "Twips.h"
#include "Window.h"

namespace pw {

class cSearchBox final : public cWindow {
  public:
    // font and cueFont stay the caller's.
    bool Create(HWND parent, const Twips& twips, HFONT font, HFONT cueFont);
    // The look at load: places and frames by the display flags.
    void ApplyLook(const DisplayLook& look);

    HWND Edit() const { return txtFind_; }
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

    // A click on the reset cross.
    std::function<void()> imgFindCancel_Click;

  private:
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void txtFind_GotFocus();
    void SetCue(bool cue);
    void DrawPicture(const DRAWITEMSTRUCT& item) const;

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
