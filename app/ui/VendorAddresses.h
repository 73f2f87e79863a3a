// The vendor's addresses. The build sets them (CMakeLists.txt at the top);
// a company that mirrors the version file points the program at its copy
// with CurrentSettings\UpdateCheckUrl instead.
#pragma once

#ifndef PFADWERK_UPDATE_CHECK_URL
#error "PFADWERK_UPDATE_CHECK_URL comes from the build"
#endif

namespace pw {

constexpr wchar_t kUpdateCheckUrl[] = L"" PFADWERK_UPDATE_CHECK_URL;

}  // namespace pw
