#include "tools/horalun_data/data_file_update.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "data/table_layouts.h"
#include "tools/horalun_data/delivered_tables.h"
#include "tools/horalun_data/generator_error.h"
#include "tools/horalun_data/settings_defaults.h"
#include "tools/horalun_data/sqlite_file.h"

namespace horalun {

namespace {

// The user's tables: created once, never rebuilt.
constexpr const char* kUserTables[] = {"nastaveni_aspektu", "jmena", "direkce"};

// Fingerprints of the delivered tables as last built.
constexpr const char* kMetaTable = "horalun_meta";

const TableLayout& layout_of(const char* table) {
    const TableLayout* layout = find_table_layout(table);
    if (!layout) throw GeneratorError(std::string("no layout for table ") + table);
    return *layout;
}

std::optional<std::string> stored_fingerprint(SqliteFile& file, const char* table) {
    Statement q(file, std::string("SELECT otisk FROM ") + kMetaTable + " WHERE tabulka = ?");
    q.bind(0, std::string_view(table));
    if (!q.step()) return std::nullopt;
    return q.column_text(0);
}

std::string seconds_text(std::chrono::steady_clock::duration d) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", std::chrono::duration<double>(d).count());
    return text;
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The layout's fields that an older file's table lacks.
std::vector<const FieldInfo*> missing_columns(SqliteFile& file, const TableLayout& layout) {
    std::vector<std::string> present;
    Statement columns(file, "PRAGMA table_info(" + sql_identifier(layout.name) + ")");
    while (columns.step()) present.push_back(columns.column_text(1).value_or(""));
    std::vector<const FieldInfo*> missing;
    for (const auto& field : layout.fields) {
        bool found = false;
        for (const auto& name : present) found = found || same_name(name, field.name);
        if (!found) missing.push_back(&field);
    }
    return missing;
}

void update_user_table(SqliteFile& file, const char* table, std::ostream& report) {
    const TableLayout& layout = layout_of(table);
    const bool settings = layout.name == "nastaveni_aspektu";
    if (file.has_table(table)) {
        const std::vector<const FieldInfo*> missing = missing_columns(file, layout);
        const bool rowMissing = settings && file.row_count(table) == 0;
        if (missing.empty() && !rowMissing) {
            report << table << ": kept\n";
            return;
        }
        // New fields go to the end of the table; the rows keep their values and read the new
        // fields as empty.
        Transaction tx(file);
        std::string what;
        for (const FieldInfo* field : missing) {
            // Text columns start empty in the rows already there, as in a new file.
            const bool text = field->type == FieldType::String || field->type == FieldType::Memo;
            file.exec("ALTER TABLE " + sql_identifier(layout.name) + " ADD COLUMN " +
                      sql_identifier(field->name) + " " + declared_type(field->type, field->size) +
                      (text ? " DEFAULT ''" : ""));
            what += (what.empty() ? "columns added (" : ", ") + field->name;
        }
        if (!what.empty()) what += ")";
        if (rowMissing) {
            RowInserter row(file, layout);
            insert_default_settings(row);
            what += std::string(what.empty() ? "" : ", ") + "default row added";
        }
        tx.commit();
        report << table << ": " << what << "\n";
        return;
    }
    Transaction tx(file);
    for (const auto& sql : create_table_sql(layout)) file.exec(sql);
    if (settings) {
        RowInserter row(file, layout);
        insert_default_settings(row);
    }
    tx.commit();
    report << table << ": created\n";
}

void update_delivered_table(SqliteFile& file, const DeliveredTable& table, std::ostream& report) {
    const auto began = std::chrono::steady_clock::now();
    const std::string fingerprint = table.fingerprint();
    if (file.has_table(table.name) && stored_fingerprint(file, table.name) == fingerprint) {
        report << table.name << ": up to date\n";
        return;
    }
    const TableLayout& layout = layout_of(table.name);
    // Dropping and creating inside the transaction also brings a changed layout in.
    Transaction tx(file);
    file.exec("DROP TABLE IF EXISTS \"" + layout.name + "\"");
    file.exec(create_table_sql(layout).front());
    long long rows = 0;
    if (table.fill) {
        RowInserter inserter(file, layout);
        table.fill(inserter, report);
        rows = inserter.rows();
    }
    // Indexes after the rows: one sort instead of an update per row.
    for (const auto& sql : create_index_sql(layout)) file.exec(sql);
    Statement store(file, std::string("INSERT OR REPLACE INTO ") + kMetaTable +
                              " (tabulka, otisk) VALUES (?, ?)");
    store.bind(0, std::string_view(table.name));
    store.bind(1, fingerprint);
    store.step();
    tx.commit();
    report << table.name << ": built, " << rows << " rows in "
           << seconds_text(std::chrono::steady_clock::now() - began) << "\n";
}

}  // namespace

void update_data_file(const std::string& path, std::ostream& report) {
    SqliteFile file(path);
    file.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kMetaTable +
              " (tabulka TEXT PRIMARY KEY, otisk TEXT)");
    for (const char* table : kUserTables) update_user_table(file, table, report);
    for (const auto& table : delivered_tables()) update_delivered_table(file, table, report);
}

}  // namespace horalun
