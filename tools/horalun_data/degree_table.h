// The stup_txt table: the meaning text of every degree of every sign, in sign and degree order.
#pragma once

#include <ostream>
#include <string>

#include "tools/horalun_data/sqlite_file.h"

namespace horalun {

// A checksum of all 360 texts, so any change of the facts or the wording rebuilds the table.
std::string degree_texts_fingerprint();
void fill_degree_texts(RowInserter& rows, std::ostream& notes);

}  // namespace horalun
