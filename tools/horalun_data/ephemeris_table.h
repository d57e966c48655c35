// The efemeris table: one row a day from 1.1.1800 to 31.12.2200 with the positions at 0 h UT
// computed by the Swiss Ephemeris from its files.
#pragma once

#include <ostream>
#include <string>

#include "tools/horalun_data/sqlite_file.h"

namespace horalun {

inline constexpr int kEphemerisFirstYear = 1800;
inline constexpr int kEphemerisLastYear = 2200;
inline constexpr const char* kEphemerisFilesDir = "/usr/share/libswe/ephe";

// Generator format version, library version and the names and sizes of the ephemeris files.
std::string ephemeris_fingerprint();
// Writes every day's row; notes go to `notes`. Throws GeneratorError when the library reports an
// error or falls back to its analytic theory (missing files).
void fill_ephemeris(RowInserter& rows, std::ostream& notes);

}  // namespace horalun
