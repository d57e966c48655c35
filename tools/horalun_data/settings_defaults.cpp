#include "tools/horalun_data/settings_defaults.h"

#include "data/settings_record.h"

namespace horalun {

void insert_default_settings(RowInserter& row) {
    // The program's own initial values, as OrbSettings declares them.
    const OrbSettings s;
    for (size_t i = 0; i < kOrbFieldNames.size(); ++i)
        row.set_integer(row.field(kOrbFieldNames[i]), s.orbs[i]);
    row.set_boolean(row.field("check_ver"), s.checkVersion);
    row.set_null(row.field("ver_datum"));
    row.set_text(row.field("nast_letni_cas"), s.dstMode);
    row.set_text(row.field("nast_bod_stesti"), s.fortuneMode);
    row.set_integer(row.field("uhel_mezi_planetami"), s.planetAngleLimit);
    row.set_integer(row.field("nast_jmena"), s.namesSearchField);
    for (const char* text :
         {"datum_solar", "mesic_solar", "posun_direkce", "pocet_let", "datum_orig", "cas_orig",
          "datum_rev", "cas_rev", "ver_url", "upd_url"})
        row.set_text(row.field(text), "");
    for (size_t i = 0; i < kSignificantBodyFields.size(); ++i)
        row.set_boolean(row.field(kSignificantBodyFields[i]), s.significantBodies[i]);
    row.insert_row();
}

}  // namespace horalun
