// Every Windows test program runs in a test run of its own (common/TestRun.h):
// its main moves HKEY_CURRENT_USER, the data, Startup and Quick Launch
// folders, the worker's caption, the single-instance names and the hot key
// aside before the first test, for itself and every program it starts, and
// removes what it made afterwards. The user's own places are remembered
// here, read-only, so that a test can prove they were never reached.
#pragma once
#include <windows.h>

#include <string>

namespace pwtest {

struct RealPlaces {
    HKEY software = nullptr;    // the real HKEY_CURRENT_USER\Software, opened before the override
    std::wstring localAppData;  // the real shell folders
    std::wstring appData;
    std::wstring startup;
};

const RealPlaces& UserPlaces();

// Everything of Pfadwerk's in the user's real places as one text: the
// settings key with all its values, the data folder's files with size and
// time, the autostart and Quick Launch shortcuts. Equal before and after a
// test when nothing touched them.
std::wstring SnapshotOfUserData();

}  // namespace pwtest
