// The meaning texts of the degrees of the signs (table stup_txt) and the entries of the degree
// meanings file, uhly_prvku.txt.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/table_store.h"
#include "data/text_file.h"

namespace horalun {

inline constexpr const char* kDegreeMeaningsFile = "uhly_prvku.txt";

struct DegreeMeaning {
    std::string name;      // the point's name, at most 20 characters
    std::string position;  // "14° 05'" as the program wrote it
    std::string sign;
    std::string meaning;  // empty when the table has no row for the degree
    std::string next;     // the following row's text, taken when the minutes are above 54
    bool hasNext = false;
};

// stup_txt held in memory, so that a chart's thirty lookups do not scan the table each time.
// The lookup gives what a scan of the table in its natural order gives.
class DegreeMeaningTable {
  public:
    // Reads znameni and text of every row in natural order (the cursor is left on its own index,
    // at the first row). Throws TableError when a field is missing; the table is then unchanged.
    void load(Cursor& stupTxt);
    int size() const { return int(texts_.size()); }

    // The entry of a point: `name` (its first 20 characters), `position` ("14° 05'", or
    // "3° 41' R "), `sign` ("Beran"). The key is the sign, a blank and the degree + 1. The
    // meaning is the matching row's text; with more than 54 minutes the row after the first
    // match gives the next degree's text as well, when there is such a row. A position whose
    // degree is not a number matches no row.
    DegreeMeaning lookup(std::string_view name, std::string_view position,
                         std::string_view sign) const;

  private:
    std::vector<std::string> texts_;                            // in table order
    std::unordered_map<std::string, std::vector<int>> rowsOf_;  // key -> ascending rows
};

// Appends the entry: "name: position sign", then "Význam: " and the meaning; with a next
// degree "Další stupeň:" and its text follow on the same line, and an empty line ends the entry.
void append_degree_meaning(TextFileWriter& file, const DegreeMeaning& meaning);
// The line that precedes the second chart's entries, and an empty line.
void append_transit_meanings_heading(TextFileWriter& file);

}  // namespace horalun
