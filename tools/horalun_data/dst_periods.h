// The rows of letnicasy from a zone's offset changes: every period with the clock two hours
// ahead of UT (summer time) or at UT (the winter time), split at year ends.
#pragma once

#include <string>
#include <vector>

#include "tools/horalun_data/zone_offsets.h"

namespace horalun {

inline constexpr const char* kSummerKind = "Letní";
inline constexpr const char* kWinterKind = "Zimní";

// One row: local clock at the start and the end, as serial days and seconds of the day.
struct DstPeriodRow {
    std::string kind;  // kSummerKind or kWinterKind
    int firstDay = 0;
    int startSeconds = 0;
    int lastDay = 0;
    int endSeconds = 0;
    int year = 0;
};

// Rows in date order up to the end of lastYear. The start is the clock just before the change
// into the period, the end the clock just before the change out; a period over a year end
// gives a row ending 31.12. 23:59 and one starting 1.1. 0:00. Offsets other than UT+1 (normal
// time), UT+2 and UT+0 start no period (local mean time). Throws GeneratorError when a year
// gets more than two rows, which the summer-time lookup cannot read.
std::vector<DstPeriodRow> dst_period_rows(const ZoneOffsets& zone, int lastYear);

}  // namespace horalun
