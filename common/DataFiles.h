// Where the history lives and how the file is compacted; both programs.
#pragma once
#include <string>

namespace pw {

std::wstring DataFolder();        // …\Local Settings\Application Data\Pfadwerk
std::wstring DatabasePath();      // DataFolder() + "\Pfadwerk.dat"
std::wstring CompactTargetPath(); // DataFolder() + "\PfadwerkC.dat"

// Compacts the history into PfadwerkC.dat and puts that in place of
// Pfadwerk.dat in one atomic replace, so no failing step can lose the
// history. Silent: a busy or missing file leaves things as they were.
void CompressDatabase();

// Same, on explicit paths (tests use a scratch folder).
bool CompressDatabaseFile(const std::wstring& source, const std::wstring& target);

}  // namespace pw
