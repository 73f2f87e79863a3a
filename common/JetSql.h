// The history queries are kept in the Jet dialect the rest of the program
// speaks; this one step turns them into SQLite's.
#pragma once
#include <string>
#include <string_view>

namespace pw {

// "DELETE * From …" → "DELETE FROM …"; "SELECT TOP n … ;" → "SELECT … LIMIT n;".
// Everything else (Like, Not Like, Count, DateAdd, Now()) stands unchanged:
// the functions are registered on every connection.
std::wstring TranslateJetSql(std::wstring_view jet);

}  // namespace pw
