#include "FolderListPane.h"

namespace pw {

MessagePaneContent MessagePaneFor(FolderView view, std::wstring_view findText, int timeframeIndex) {
    MessagePaneContent pane;
    switch (view) {
        case FolderView::LastUsed:
            if (IsSearchActive(findText)) {
                pane.header = L"Kein verwendeter Ordner gefunden!";
                pane.headerColour = kPaneRed;
                pane.message = L"Es wurde kein verwendeter Ordner gefunden, in dessen Namen oder Pfad '" +
                               std::wstring(findText) + L"' vorkommt.\r\rEsc = Suche zurücksetzen";
                pane.nothingFound = true;
            } else {
                pane.header = L"Willkommen bei Pfadwerk!";
                pane.headerColour = kPaneBlue;
                pane.message =
                    L"Hier werden in Zukunft automatisch diejenigen Ordner aufgelistet, die Sie im "
                    L"Windows-Explorer zuletzt verwendet haben.\r\rEin Mausklick genügt, um diese jederzeit "
                    L"wieder zu öffnen.";
                pane.line = true;
            }
            break;
        case FolderView::MostUsed:
            if (NormalizeTimeframe(timeframeIndex) != 0) {
                pane.header = L"Keine verwendeten Ordner im ausgewählten Zeitraum";
                pane.headerColour = kPaneRed;
                pane.message = L"\r\rPfadwerk kann keine Ordner feststellen, die im Zeitraum '" +
                               std::wstring(TimeframeText(timeframeIndex)) + L"' verwendet wurden.";
                pane.hint = L"Wählen Sie einen anderen Zeitraum, um verwendete Ordner anzuzeigen.";
                pane.tipPicture = true;
            } else {
                pane.header = L"Willkommen bei Pfadwerk!";
                pane.headerColour = kPaneBlue;
                pane.message =
                    L"Hier werden in Zukunft automatisch diejenigen Ordner aufgelistet, die Sie im "
                    L"Windows-Explorer am häufigsten verwendet haben.\r\rEin Mausklick genügt, um diese "
                    L"jederzeit wieder zu öffnen.";
                pane.line = true;
            }
            break;
        case FolderView::Favorites:
            pane.header = L"Ordnerfavoriten festlegen";
            pane.headerColour = kPaneBlue;
            pane.message =
                L"Hier werden zukünftig Verknüpfungen mit bestimmten Ordnern angezeigt, die Sie selbst "
                L"auswählen.\r\rSomit haben Sie stets direkten Zugriff auf Ihre bevorzugten Ordner.";
            pane.hint = L"Klicken Sie hierauf, um Ordnerfavoriten jetzt festzulegen.";
            pane.tipPicture = true;
            pane.line = true;
            break;
    }
    return pane;
}

}  // namespace pw
