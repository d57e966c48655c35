// The POSIX TZ rule that ends a TZif file ("CET-1CEST,M3.5.0,M10.5.0/3"); it gives the
// changes of the years after the file's last explicit transition.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "tools/horalun_data/zone_offsets.h"

namespace horalun {

struct PosixTzDate {
    enum class Kind { MonthWeekDay, JulianNoLeap, DayOfYear };
    Kind kind = Kind::MonthWeekDay;
    int month = 0, week = 0, weekday = 0;  // Mm.w.d: week 5 is the last, weekday 0 Sunday
    int day = 0;                           // Jn (1-365, no 29 February) or n (0-365)
    int seconds = 7200;                    // local clock time of the change, may pass 24 h
};

struct PosixTz {
    int standardOffset = 0;  // seconds east of UT (the text counts west)
    bool hasSummer = false;
    int summerOffset = 0;
    PosixTzDate start, end;  // into and out of summer time
};

// nullopt when the text is not a rule this reader understands.
std::optional<PosixTz> parse_posix_tz(std::string_view text);
// The changes of one year in time order; none when the rule has no summer time.
std::vector<OffsetChange> posix_tz_changes(const PosixTz& tz, int year);

}  // namespace horalun
