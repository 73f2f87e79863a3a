; The set-up program's own German texts; the page furniture (buttons, titles
; of the standard pages) comes from the German language file of the Modern UI.

LangString PF_WelcomeText ${LANG_GERMAN} "Pfadwerk merkt sich jeden Ordner, den Sie im Windows-Explorer öffnen, und bringt Sie mit einem Klick wieder dorthin.$\r$\n$\r$\nPfadwerk wird nur für Ihr Benutzerkonto installiert; Administratorrechte sind dafür nicht nötig. Läuft Pfadwerk bereits, wird es für die Aktualisierung kurz beendet. Ihr Ordnerverlauf und Ihre Einstellungen bleiben erhalten.$\r$\n$\r$\n$_CLICK"
LangString PF_FinishText ${LANG_GERMAN} "Pfadwerk ist installiert und protokolliert ab sofort die Ordner, die Sie im Windows-Explorer öffnen.$\r$\n$\r$\nKlicken Sie auf Fertigstellen, um den Assistenten zu schließen. Danach zeigt Pfadwerk Ihnen, wie Sie die Pfadwerk-Anwendung starten."
LangString PF_StartMenuDescription ${LANG_GERMAN} "Zeigt die zuletzt und am häufigsten verwendeten Ordner und Ihre Ordnerfavoriten."
LangString PF_FilesNotWritten ${LANG_GERMAN} "Einige Dateien von Pfadwerk konnten nicht geschrieben werden. Bitte beenden Sie Pfadwerk und starten Sie das Setup erneut."
LangString PF_AlreadyRunning ${LANG_GERMAN} "Das Pfadwerk-Setup läuft bereits."

LangString PF_UnHeader ${LANG_GERMAN} "Pfadwerk entfernen"
LangString PF_UnSubheader ${LANG_GERMAN} "Pfadwerk wird von Ihrem Computer entfernt."
LangString PF_UnText ${LANG_GERMAN} "Pfadwerk wird beendet; die Programmdateien und alle Verknüpfungen von Pfadwerk (Startmenü, Autostart, Schnellstartleiste) werden entfernt.$\r$\n$\r$\nIhr Ordnerverlauf und Ihre Einstellungen (Ordnerfavoriten, ignorierte Ordner, Optionen) bleiben erhalten, damit Sie sie nach einer erneuten Installation weiter verwenden können."
LangString PF_UnRemoveData ${LANG_GERMAN} "Auch meinen Ordnerverlauf und alle Pfadwerk-Einstellungen entfernen"
