// Reads a compiled time-zone file (TZif, RFC 8536): the 64-bit section of version 2 and later
// files, the 32-bit one of version 1 files, and the POSIX TZ footer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/horalun_data/zone_offsets.h"

namespace horalun {

struct TzifLocalType {
    int utOffset = 0;
    bool isDst = false;
    std::string abbreviation;
};

struct TzifZone {
    std::vector<std::int64_t> times;   // transition moments, seconds since 1970 UT, ascending
    std::vector<int> typeIndexes;      // local type in force from each transition on
    std::vector<TzifLocalType> types;  // types[0] applies before the first transition
    std::string footer;                // POSIX TZ rule for later years, may be empty
};

// Throws GeneratorError for a file that is not TZif or is cut short or inconsistent.
TzifZone parse_tzif(std::string_view bytes);
TzifZone read_tzif_file(const std::string& path);

// The zone's offset changes up to the end of lastYear: the explicit transitions, then those of
// the footer rule for the years after the last of them.
ZoneOffsets zone_offsets(const TzifZone& zone, int lastYear);

}  // namespace horalun
