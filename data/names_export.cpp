#include "data/names_export.h"

#include <filesystem>

#include "data/table_store.h"
#include "data/text_file.h"

namespace horalun {

bool export_names(Cursor& names, const std::string& folder) {
    const std::filesystem::path dir(folder);
    TextFileWriter lines((dir / "jmena_export.txt").string());
    TextFileWriter notes((dir / "jmena_export1.txt").string());
    Cursor all(names.sharedDatabase(), names.tableName(), true);
    for (int row = 0; row < all.recordCount(); ++row) {
        all.moveTo(row);
        std::string line;
        for (const char* field :
             {"jmeno", "prijmeni", "datum", "cas", "delka", "sirka", "mesto", "email", "letni_cas"})
            line += all.asText(field) + "|";
        lines.append_line(line);
        notes.append_line("/*p*" + all.asText("poznamka") + "*p*/");
    }
    const bool a = lines.flush();
    const bool b = notes.flush();
    return a && b;
}

}  // namespace horalun
