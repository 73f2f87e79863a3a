#include "WindowsVersion.h"

#include <windows.h>

namespace pw {
namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

// RtlGetVersion tells the truth even where GetVersionExW is shimmed for
// programs that do not declare the newest systems; GetVersionExW is the
// fallback where ntdll does not export it (Windows 2000).
bool ReadVersion(OSVERSIONINFOW& info) {
    info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
        auto rtlGetVersion =
            reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
        if (rtlGetVersion && rtlGetVersion(&info) == 0)
            return true;
    }
    info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExW(&info) != FALSE;
#pragma GCC diagnostic pop
}

}  // namespace

WindowsFamily WindowsFamilyOf(unsigned long major, unsigned long minor) {
    if (major > 5)
        return WindowsFamily::VistaOrLater;
    if (major == 5 && minor != 0)
        return WindowsFamily::Xp;
    return WindowsFamily::Windows2000;
}

WindowsFamily GetWindowsFamily() {
    static WindowsFamily family = WindowsFamily::Windows2000;
    if (family != WindowsFamily::Windows2000)
        return family;
    OSVERSIONINFOW info;
    if (ReadVersion(info))
        family = WindowsFamilyOf(info.dwMajorVersion, info.dwMinorVersion);
    return family;
}

}  // namespace pw
