#include "FolderListPane.h"

#include "Text.h"
#include "app_res.h"

namespace pw {

MessagePaneContent MessagePaneFor(FolderView view,
                                  std::wstring_view findText,
                                  int timeframeIndex,
                                  std::wstring_view timeframeText,
                                  const TextSource& text) {
    MessagePaneContent pane;
    switch (view) {
        case FolderView::LastUsed:
            if (IsSearchActive(findText)) {
                pane.header = text(IDS_PANE_NOTFOUND_HEADER);
                pane.headerColour = kPaneRed;
                pane.message = FillPlaceholders(text(IDS_PANE_NOTFOUND_TEXT), {findText});
                pane.nothingFound = true;
            } else {
                pane.header = text(IDS_PANE_WELCOME_HEADER);
                pane.headerColour = kPaneBlue;
                pane.message = text(IDS_PANE_LASTUSED_TEXT);
                pane.line = true;
            }
            break;
        case FolderView::MostUsed:
            if (NormalizeTimeframe(timeframeIndex) != 0) {
                pane.header = text(IDS_PANE_TIMEFRAME_HEADER);
                pane.headerColour = kPaneRed;
                pane.message = FillPlaceholders(text(IDS_PANE_TIMEFRAME_TEXT), {timeframeText});
                pane.hint = text(IDS_PANE_TIMEFRAME_HINT);
                pane.tipPicture = true;
            } else {
                pane.header = text(IDS_PANE_WELCOME_HEADER);
                pane.headerColour = kPaneBlue;
                pane.message = text(IDS_PANE_MOSTUSED_TEXT);
                pane.line = true;
            }
            break;
        case FolderView::Favorites:
            pane.header = text(IDS_PANE_FAVORITES_HEADER);
            pane.headerColour = kPaneBlue;
            pane.message = text(IDS_PANE_FAVORITES_TEXT);
            pane.hint = text(IDS_PANE_FAVORITES_HINT);
            pane.tipPicture = true;
            pane.line = true;
            break;
    }
    return pane;
}

}  // namespace pw
