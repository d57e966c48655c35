// Brings a data.tdb up to date: creates the file and the user's tables when missing and
// rebuilds each delivered table whose inputs changed.
#pragma once

#include <ostream>
#include <string>

namespace horalun {

// Writes one line per table to `report`. Throws GeneratorError on any failure; each table is
// written in its own transaction, so a failure leaves every table whole.
void update_data_file(const std::string& path, std::ostream& report);

}  // namespace horalun
