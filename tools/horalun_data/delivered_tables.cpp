#include "tools/horalun_data/delivered_tables.h"

#include "tools/horalun_data/ephemeris_table.h"
#include "tools/horalun_data/summer_time_table.h"

namespace horalun {

const std::vector<DeliveredTable>& delivered_tables() {
    static const std::vector<DeliveredTable> tables{
        {"efemeris", ephemeris_fingerprint, fill_ephemeris},
        {"letnicasy", summer_time_fingerprint, fill_summer_time},
        // Created empty until their builders arrive.
        {"stup_txt", [] { return std::string("stup_txt/0 empty"); }, nullptr},
        {"obce", [] { return std::string("obce/0 empty"); }, nullptr},
    };
    return tables;
}

}  // namespace horalun
