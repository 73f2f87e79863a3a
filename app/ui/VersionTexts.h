// The program's version as its windows show it; the numbers come from the
// one place that sets them (CMakeLists.txt), as do the version resources.
#pragma once
#include <string>

#include "PfadwerkVersion.h"

namespace pw {

// "1.00.837": major, the minor in two digits, the revision (build number).
inline std::wstring RevisionVersionText(int revision = PFADWERK_VERSION_BUILD) {
    std::wstring minor = std::to_wstring(PFADWERK_VERSION_MINOR);
    if (minor.size() < 2)
        minor.insert(0, 2 - minor.size(), L'0');
    return std::to_wstring(PFADWERK_VERSION_MAJOR) + L"." + minor + L"." + std::to_wstring(revision);
}

}  // namespace pw
