#include "MenuCommands.h"

#include "Text.h"

namespace pw {

MenuDrop ButtonMenuDrop(const MenuDropInput& in) {
    const TwipRect& b = in.button;
    const bool nearRightEdge = in.screenWidth - 2500 < in.windowLeft + b.left;
    if (!in.themed) {
        if (nearRightEdge)
            return {b.left + b.width, b.top + b.height, true};
        return {b.left, b.top + b.height, false};
    }
    if (nearRightEdge)
        return {b.left + b.width - 15, b.top + b.height - 15, true};
    return {b.left + 15, b.top + b.height - 15, false};
}

FeedbackWindows FeedbackWindowsOf(WindowsFamily family, bool themed, bool vistaThemed, bool composition) {
    switch (family) {
        case WindowsFamily::Windows2000:
            return FeedbackWindows::Windows2000;
        case WindowsFamily::Xp:
            return themed ? FeedbackWindows::XP : FeedbackWindows::XPClassic;
        case WindowsFamily::VistaOrLater:
            break;
    }
    if (!vistaThemed)
        return FeedbackWindows::VistaClassic;
    return composition ? FeedbackWindows::VistaAero : FeedbackWindows::VistaBasic;
}

std::wstring MailtoWithSubject(const std::wstring& address, const std::wstring& subject) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::wstring encoded;
    for (unsigned char c : ToUtf8(subject)) {
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '.' || c == '_' || c == '~';
        if (plain) {
            encoded += static_cast<wchar_t>(c);
        } else {
            encoded += L'%';
            encoded += static_cast<wchar_t>(kHex[c >> 4]);
            encoded += static_cast<wchar_t>(kHex[c & 15]);
        }
    }
    return L"mailto:" + address + L"?subject=" + encoded;
}

}  // namespace pw
