// The letnicasy table: the summer and winter-time periods of Europe/Prague from the system's
// time-zone database, up to the last year of the ephemeris.
#pragma once

#include <ostream>
#include <string>

#include "tools/horalun_data/sqlite_file.h"

namespace horalun {

inline constexpr const char* kZoneFile = "/usr/share/zoneinfo/Europe/Prague";
inline constexpr const char* kTzdataVersionFile = "/usr/share/zoneinfo/tzdata.zi";

// Generator format version, the tzdata version and the zone file's size and checksum.
std::string summer_time_fingerprint();
void fill_summer_time(RowInserter& rows, std::ostream& notes);

}  // namespace horalun
