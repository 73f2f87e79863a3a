// A test run: everything a test of either program could reach that belongs
// to the person running it — the settings under HKEY_CURRENT_USER, the
// history folder, the Startup and Quick Launch folders, the worker's window,
// the single-instance names and the hot key — moved aside for the run.
//
// A test's main sets it up for itself and hands it to every program it
// starts through the environment variable PFADWERK_TEST_RUN (the run's
// scratch folder). The programs honour the variable for nothing else; in
// ordinary use it is not set and every function here gives the real thing.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace pw {

constexpr wchar_t kTestRunVariable[] = L"PFADWERK_TEST_RUN";
// Below HKEY_CURRENT_USER; each run's settings root is a subkey named by
// its tag.
constexpr wchar_t kTestRunRegistryRoot[] = L"Software\\PfadwerkTest";

struct TestRun {
    std::wstring folder;  // scratch folder of the run, absolute, without a trailing backslash
    std::wstring tag;     // its last part: letters, digits and '-' only
    std::wstring RegistryKey() const { return std::wstring(kTestRunRegistryRoot) + L"\\" + tag; }
};

// The run this process belongs to, read once from the environment; nothing
// for a value that is no absolute path to an existing folder with a
// well-formed last part.
const std::optional<TestRun>& CurrentTestRun();

// Called first thing by every program's entry point and by a test's main:
// within a run, HKEY_CURRENT_USER of this process becomes the run's key.
// False only when a run is asked for and cannot be set up; the program must
// then not go on, or it would work on the real places.
bool JoinTestRun();

// Names shared across processes (mutexes, registered messages, window
// captions): unchanged in ordinary use, with the run's tag within a run, so
// that a test never meets the user's running programs.
std::wstring RunScopedName(const std::wstring& name);

// The folder standing in for a shell folder within a run (created when
// missing), or nothing when the id is not one of the user's folders that
// the programs write to or read the user's history from.
std::optional<std::wstring> TestRunShellFolder(int csidl);

}  // namespace pw
