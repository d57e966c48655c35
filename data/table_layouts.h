// The layouts of the seven tables of data.tdb: fields in their order, named indexes, and the SQL
// that creates them. The generator and the program share these definitions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/table_store.h"

namespace horalun {

struct IndexLayout {
    std::string name;   // the index's own name, unique in the file
    std::string field;  // the key field
    bool caseInsensitive = false;
};

struct TableLayout {
    std::string name;
    std::vector<FieldInfo> fields;
    std::vector<IndexLayout> indexes;
};

// efemeris, letnicasy, stup_txt, nastaveni_aspektu, jmena, obce, direkce.
const std::vector<TableLayout>& table_layouts();
// nullptr for a table that is not one of the seven (the name compares exactly).
const TableLayout* find_table_layout(std::string_view table);

// CREATE TABLE followed by one CREATE INDEX per named index; a case-insensitive index collates
// NOCASE. Names are quoted, so the statements run as they are.
std::vector<std::string> create_table_sql(const TableLayout& layout);
// Only the CREATE INDEX statements (a bulk load creates them after its rows).
std::vector<std::string> create_index_sql(const TableLayout& layout);

}  // namespace horalun
