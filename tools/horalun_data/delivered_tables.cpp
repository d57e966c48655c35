#include "tools/horalun_data/delivered_tables.h"

#include "tools/horalun_data/degree_table.h"
#include "tools/horalun_data/ephemeris_table.h"
#include "tools/horalun_data/places_table.h"
#include "tools/horalun_data/summer_time_table.h"

namespace horalun {

const std::vector<DeliveredTable>& delivered_tables() {
    static const std::vector<DeliveredTable> tables{
        {"efemeris", ephemeris_fingerprint, fill_ephemeris},
        {"letnicasy", summer_time_fingerprint, fill_summer_time},
        {"stup_txt", degree_texts_fingerprint, fill_degree_texts},
        {"obce", places_fingerprint, fill_places},
    };
    return tables;
}

}  // namespace horalun
