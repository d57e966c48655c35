// The table layouts create a working schema in which every index has its own name.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <set>
#include <string>

#include "data/table_layouts.h"

namespace horalun {
namespace {

TEST(TableLayouts, AllSevenTablesCreateTogether) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    // Index names are global in an SQLite file: a repeated one would fail here.
    for (const auto& layout : table_layouts())
        for (const auto& sql : create_table_sql(layout))
            EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
                << sql << ": " << sqlite3_errmsg(db);
    sqlite3_close(db);

    std::set<std::string> names;
    for (const auto& layout : table_layouts()) names.insert(layout.name);
    EXPECT_EQ(names, (std::set<std::string>{"efemeris", "letnicasy", "stup_txt",
                                            "nastaveni_aspektu", "jmena", "obce", "direkce"}));
}

TEST(TableLayouts, StatementsCarryTypesAndCollation) {
    const TableLayout* efemeris = find_table_layout("efemeris");
    ASSERT_NE(efemeris, nullptr);
    const auto sql = create_table_sql(*efemeris);
    ASSERT_EQ(sql.size(), 2u);
    EXPECT_NE(sql[0].find("\"sidt\" VARCHAR(8), \"slunce\" VARCHAR(8), \"mesic\" VARCHAR(5)"),
              std::string::npos)
        << sql[0];
    EXPECT_EQ(sql[1], "CREATE INDEX \"datum\" ON \"efemeris\" (\"datum\" COLLATE NOCASE)");
    EXPECT_EQ(create_table_sql(*find_table_layout("letnicasy")).back(),
              "CREATE INDEX \"rok\" ON \"letnicasy\" (\"rok\")");
    EXPECT_EQ(find_table_layout("Efemeris"), nullptr);
    EXPECT_EQ(find_table_layout("horalun_meta"), nullptr);
}

TEST(TableLayouts, SettingsFieldsReadByPositionStayInPlace) {
    const auto& fields = find_table_layout("nastaveni_aspektu")->fields;
    ASSERT_GE(fields.size(), 16u);
    EXPECT_EQ(fields[0].name, "svetla_cjn");
    EXPECT_EQ(fields[11].name, "out_out_ost");
    for (int i = 0; i < 12; ++i) EXPECT_EQ(fields[i].type, FieldType::Word) << i;
    EXPECT_EQ(fields[14].name, "nast_letni_cas");
    EXPECT_EQ(fields[15].name, "nast_bod_stesti");
}

}  // namespace
}  // namespace horalun
