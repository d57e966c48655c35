// The settings record a new data file starts with.
#pragma once

#include "tools/horalun_data/sqlite_file.h"

namespace horalun {

// Writes the one row of nastaveni_aspektu with the initial orbs and options.
void insert_default_settings(RowInserter& row);

}  // namespace horalun
