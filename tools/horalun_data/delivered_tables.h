// The tables delivered with the program and how each is built. A table is rebuilt when its
// fingerprint (generator format version plus inputs) differs from the one stored in the file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/horalun_data/sqlite_file.h"

namespace horalun {

struct DeliveredTable {
    const char* name;  // a table of table_layouts()
    std::string (*fingerprint)();
    // Writes every row into the freshly created, empty table; nullptr leaves it empty.
    void (*fill)(RowInserter& rows, std::ostream& notes);
};

// efemeris, letnicasy, stup_txt, obce. To deliver a table's contents, give its entry a
// fingerprint with the builder's version and inputs and a fill function.
const std::vector<DeliveredTable>& delivered_tables();

}  // namespace horalun
