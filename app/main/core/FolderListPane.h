// What the message pane over an empty list says, by situation.
#pragma once
#include <string>
#include <string_view>

#include "FolderListQuery.h"
#include "ListTexts.h"

namespace pw {

struct PaneColour {
    unsigned char r = 0, g = 0, b = 0;
    friend bool operator==(const PaneColour&, const PaneColour&) = default;
};
inline constexpr PaneColour kPaneBlue{0, 51, 153};
inline constexpr PaneColour kPaneRed{170, 63, 60};

struct MessagePaneContent {
    std::wstring header;
    PaneColour headerColour;
    std::wstring message;       // lblMessage; CR separates paragraphs
    std::wstring hint;          // lblMessageTip; shown only when not empty
    bool tipPicture = false;    // imgMessageTip
    bool line = false;          // imgMessageLine
    bool nothingFound = false;  // imgMessageNothingFound
};

// findText is the search box text (without its cue words), timeframeIndex and timeframeText
// the selected entry of the time-frame box.
MessagePaneContent MessagePaneFor(FolderView view,
                                  std::wstring_view findText,
                                  int timeframeIndex,
                                  std::wstring_view timeframeText,
                                  const TextSource& text);

}  // namespace pw
