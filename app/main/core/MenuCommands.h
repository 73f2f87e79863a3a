// Decisions of the main window's menus that need no window: where the menu
// button drops its menu, which Windows a feedback mail names, and the mail
// address that carries the subject.
#pragma once
#include <string>

#include "MainLayout.h"
#include "WindowsVersion.h"

namespace pw {

// The menu button's drop-down, in the window's client coordinates (twips).
struct MenuDropInput {
    bool themed = false;  // visual styles active
    int screenWidth = 0;  // twips
    int windowLeft = 0;   // the window's left edge on the screen, twips
    TwipRect button;      // cmdShowMenu in the window
};
struct MenuDrop {
    int x = 0, y = 0;
    bool rightAligned = false;  // the menu's right edge at x
    bool operator==(const MenuDrop&) const = default;
};
// Near the right edge of the screen the menu opens leftwards from the
// button's right edge; a themed button's rounded frame is left out.
MenuDrop ButtonMenuDrop(const MenuDropInput& in);

// The Windows a feedback mail names, by family and look.
enum class FeedbackWindows { Windows2000, XP, XPClassic, VistaAero, VistaBasic, VistaClassic };
FeedbackWindows FeedbackWindowsOf(WindowsFamily family, bool themed, bool vistaThemed, bool composition);

// "mailto:" address + "?subject=" + the subject, percent-encoded as a mail
// address's query must be (UTF-8; letters, digits and -._~ stay).
std::wstring MailtoWithSubject(const std::wstring& address, const std::wstring& subject);

}  // namespace pw
