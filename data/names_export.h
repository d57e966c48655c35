// Export of the names table to "jmena_export.txt" (one line of fields per person) and
// "jmena_export1.txt" (the notes), as the program writes them at every exit.
#pragma once

#include <string>

namespace horalun {

class Cursor;

// Rewrites both files in `folder` from every row of the cursor's table, in table order; the
// cursor's own position and order are left alone. False when a file could not be written.
bool export_names(Cursor& names, const std::string& folder = ".");

}  // namespace horalun
