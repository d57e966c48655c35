#include "data/field_type.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace horalun {

std::string declared_type(FieldType type, int size) {
    switch (type) {
        case FieldType::String:
            return "VARCHAR(" + std::to_string(size > 0 ? size : 255) + ")";
        case FieldType::Memo:
            // "TEXT" in the name gives the column text affinity, so a memo like "0123" stays text.
            return "MEMO TEXT";
        case FieldType::Date:
            return "DATE";
        case FieldType::Time:
            return "TIME";
        case FieldType::DateTime:
            return "DATETIME";
        case FieldType::Float:
            return "FLOAT";
        case FieldType::Word:
            return "WORD";
        case FieldType::Integer:
            return "INTEGER";
        case FieldType::Boolean:
            return "BOOLEAN";
    }
    return "TEXT";
}

FieldType field_type_from_declared(std::string_view declared, int* size) {
    std::string up(declared);
    std::transform(up.begin(), up.end(), up.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (size) *size = 0;
    auto starts = [&](std::string_view p) { return up.rfind(p, 0) == 0; };
    if (starts("VARCHAR") || starts("CHAR")) {
        auto open = up.find('(');
        if (size && open != std::string::npos) {
            int n = 0;
            std::from_chars(up.data() + open + 1, up.data() + up.size(), n);
            *size = n;
        }
        return FieldType::String;
    }
    if (starts("MEMO")) return FieldType::Memo;
    if (up == "DATE") return FieldType::Date;
    if (up == "TIME") return FieldType::Time;
    if (up == "DATETIME") return FieldType::DateTime;
    if (up == "WORD") return FieldType::Word;
    if (up == "BOOLEAN") return FieldType::Boolean;
    if (up.find("INT") != std::string::npos) return FieldType::Integer;
    if (up.find("REAL") != std::string::npos || up.find("FLOA") != std::string::npos ||
        up.find("DOUB") != std::string::npos)
        return FieldType::Float;
    return FieldType::String;
}

}  // namespace horalun
