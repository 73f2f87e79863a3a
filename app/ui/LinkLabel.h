// A label of a dialog that reads as a web link: link colour, underlined and
// with the hand cursor while the pointer is on it. The label is a static
// control with SS_NOTIFY; a click reaches the dialog as STN_CLICKED.
#pragma once
#include <windows.h>

#include "Handles.h"

namespace pw {

// The colour of the program's links: the system's hot-track colour, unless a
// colour scheme made it too pale to read on the window face.
COLORREF LinkColour();
// The answer to WM_CTLCOLORSTATIC for a label in link colour on the dialog face.
HBRUSH LinkLabelColours(HDC dc);

class cLinkLabel {
  public:
    cLinkLabel() = default;
    cLinkLabel(const cLinkLabel&) = delete;
    cLinkLabel& operator=(const cLinkLabel&) = delete;

    // Takes the label over for its whole life; its font is the one it has now.
    bool Attach(HWND label);
    HWND Hwnd() const { return label_; }
    // The owner's answer to WM_CTLCOLORSTATIC for the label.
    HBRUSH OnCtlColor(HDC dc) const;
    // Underline on or off.
    void SetHover(bool hover);
    bool Hover() const { return hover_; }

    LRESULT OnControlMessage(HWND control, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    HWND label_ = nullptr;
    HFONT plain_ = nullptr;  // the label's own; not ours to delete
    cFont underlined_;
    bool hover_ = false;
};

}  // namespace pw
