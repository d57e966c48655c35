// Field types of the tables in data.tdb and their declared SQLite type names.
#pragma once

#include <string>
#include <string_view>

namespace horalun {

// Date, Time and DateTime hold serial days counted from 30.12.1899 (the time as the fraction).
enum class FieldType { String, Memo, Date, Time, DateTime, Float, Word, Integer, Boolean };

// Declared column type written into CREATE TABLE, e.g. "VARCHAR(8)", "DATE", "MEMO".
std::string declared_type(FieldType type, int size = 0);

// Inverse of declared_type; unknown declarations fall back to SQLite's affinity rules
// (anything with INT -> Integer, REAL/FLOA/DOUB -> Float, otherwise String). Sets size for
// VARCHAR(n).
FieldType field_type_from_declared(std::string_view declared, int* size = nullptr);

}  // namespace horalun
