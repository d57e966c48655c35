#include "data/table_layouts.h"

namespace horalun {

namespace {

using F = FieldType;

FieldInfo str(const char* name, int size) {
    return FieldInfo{name, F::String, size};
}
FieldInfo of(const char* name, FieldType type) {
    return FieldInfo{name, type, 0};
}

std::vector<TableLayout> make_layouts() {
    std::vector<TableLayout> t;

    TableLayout efemeris{"efemeris",
                         {str("den", 1), of("datum", F::DateTime), str("sidt", 8), str("slunce", 8),
                          str("mesic", 5)},
                         {{"datum", "datum", true}}};
    for (const char* body : {"merkur", "venuse", "mars", "jupiter", "saturn", "uran", "neptun",
                             "pluto", "s_uzel", "pravy_uzel", "uzel", "lilith", "chiron"})
        efemeris.fields.push_back(str(body, 7));
    t.push_back(std::move(efemeris));

    t.push_back(
        {"letnicasy",
         {str("typ", 5), of("datumod", F::Date), of("casod", F::Time), of("datumdo", F::Date),
          of("casdo", F::Time), str("rok", 4)},
         {{"datumod", "datumod", false}, {"datumdo", "datumdo", false}, {"rok", "rok", false}}});

    t.push_back(
        {"stup_txt", {str("znameni", 20), of("text", F::Memo)}, {{"text", "znameni", true}}});

    // The first twelve fields and positions 14 and 15 are also read by position.
    TableLayout settings{"nastaveni_aspektu", {}, {}};
    for (const char* orb : {"svetla_cjn", "svetla_ost", "svetla_in_cjn", "svetla_in_ost",
                            "svetla_out_cjn", "svetla_out_ost", "in_cjn", "in_ost", "in_out_cjn",
                            "in_out_ost", "out_out_cjn", "out_out_ost"})
        settings.fields.push_back(of(orb, F::Word));
    settings.fields.insert(
        settings.fields.end(),
        {of("check_ver", F::Boolean), of("ver_datum", F::DateTime), str("nast_letni_cas", 1),
         str("nast_bod_stesti", 1), of("uhel_mezi_planetami", F::Integer),
         of("nast_jmena", F::Integer), str("datum_solar", 10), str("mesic_solar", 10),
         str("posun_direkce", 10), str("pocet_let", 10)});
    for (const char* body : {"bool_mer", "bool_ven", "bool_mars", "bool_jup", "bool_sat",
                             "bool_uran", "bool_nept", "bool_plut", "bool_chir"})
        settings.fields.push_back(of(body, F::Boolean));
    settings.fields.insert(settings.fields.end(), {str("datum_orig", 12), str("cas_orig", 5),
                                                   str("datum_rev", 12), str("cas_rev", 5)});
    // Addresses of the version page and of the update archive (empty: no version check).
    settings.fields.insert(settings.fields.end(), {str("ver_url", 255), str("upd_url", 255)});
    t.push_back(std::move(settings));

    t.push_back({"jmena",
                 {str("jmeno", 18), str("prijmeni", 18), of("datum", F::DateTime), str("cas", 5),
                  str("delka", 5), str("sirka", 5), str("mesto", 35), str("email", 35),
                  of("letni_cas", F::Boolean), of("poznamka", F::Memo)},
                 {{"jmeno", "jmeno", true},
                  {"prijmeni", "prijmeni", true},
                  {"mesto", "mesto", true},
                  {"email", "email", true}}});

    t.push_back({"obce",
                 {str("OBEC", 60), str("OKRES", 40), str("KRAJ", 40), str("PSC", 6),
                  str("DELKA", 10), str("SIRKA", 10)},
                 {{"obec", "OBEC", true},
                  {"okres", "OKRES", true},
                  {"kraj", "KRAJ", true},
                  {"psc", "PSC", true},
                  {"delka", "DELKA", true},
                  {"sirka", "SIRKA", true}}});

    t.push_back({"direkce",
                 {str("metoda", 5), of("roky", F::Float), str("domy", 200), str("aspekty", 1000)},
                 {{"roky", "roky", true}}});
    return t;
}

}  // namespace

const std::vector<TableLayout>& table_layouts() {
    static const std::vector<TableLayout> layouts = make_layouts();
    return layouts;
}

const TableLayout* find_table_layout(std::string_view table) {
    for (const auto& layout : table_layouts())
        if (layout.name == table) return &layout;
    return nullptr;
}

std::vector<std::string> create_index_sql(const TableLayout& layout) {
    std::vector<std::string> sql;
    for (const auto& index : layout.indexes)
        sql.push_back("CREATE INDEX " + sql_identifier(index.name) + " ON " +
                      sql_identifier(layout.name) + " (" + sql_identifier(index.field) +
                      (index.caseInsensitive ? " COLLATE NOCASE" : "") + ")");
    return sql;
}

std::vector<std::string> create_table_sql(const TableLayout& layout) {
    std::string table = "CREATE TABLE " + sql_identifier(layout.name) + " (";
    for (size_t i = 0; i < layout.fields.size(); ++i) {
        const auto& f = layout.fields[i];
        if (i) table += ", ";
        table += sql_identifier(f.name) + " " + declared_type(f.type, f.size);
    }
    table += ")";
    std::vector<std::string> sql{table};
    for (auto& s : create_index_sql(layout)) sql.push_back(std::move(s));
    return sql;
}

}  // namespace horalun
