// A time zone as a sequence of changes of its offset from Universal Time.
#pragma once

#include <cstdint>
#include <vector>

namespace horalun {

// From `ut` (seconds since 1.1.1970 0 h UT) on, the local clock shows UT + utOffset seconds.
struct OffsetChange {
    std::int64_t ut = 0;
    int utOffset = 0;
};

struct ZoneOffsets {
    int initialOffset = 0;              // before the first change
    std::vector<OffsetChange> changes;  // in time order
};

}  // namespace horalun
