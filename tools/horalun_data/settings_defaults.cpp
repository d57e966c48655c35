#include "tools/horalun_data/settings_defaults.h"

namespace horalun {

void insert_default_settings(RowInserter& row) {
    // Orbs in degrees, conjunction then the other aspects: lights, light-inner, light-outer,
    // inner, inner-outer, outer.
    constexpr struct {
        const char* field;
        int orb;
    } kOrbs[] = {{"svetla_cjn", 10},   {"svetla_ost", 8},     {"svetla_in_cjn", 8},
                 {"svetla_in_ost", 7}, {"svetla_out_cjn", 8}, {"svetla_out_ost", 6},
                 {"in_cjn", 7},        {"in_ost", 6},         {"in_out_cjn", 6},
                 {"in_out_ost", 5},    {"out_out_cjn", 5},    {"out_out_ost", 4}};
    for (const auto& [field, orb] : kOrbs) row.set_integer(row.field(field), orb);

    row.set_boolean(row.field("check_ver"), false);
    row.set_null(row.field("ver_datum"));
    row.set_text(row.field("nast_letni_cas"), "3");   // apply summer time automatically
    row.set_text(row.field("nast_bod_stesti"), "1");  // Part of Fortune with night birth
    row.set_integer(row.field("uhel_mezi_planetami"), 5);
    row.set_integer(row.field("nast_jmena"), 1);  // search the names by first name
    for (const char* text : {"datum_solar", "mesic_solar", "posun_direkce", "pocet_let",
                             "datum_orig", "cas_orig", "datum_rev", "cas_rev"})
        row.set_text(row.field(text), "");
    for (const char* body : {"bool_mer", "bool_ven", "bool_mars", "bool_jup", "bool_sat",
                             "bool_uran", "bool_nept", "bool_plut", "bool_chir"})
        row.set_boolean(row.field(body), true);
    row.insert_row();
}

}  // namespace horalun
