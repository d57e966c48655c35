#include "data/settings_record.h"

#include <charconv>

#include "data/table_store.h"

namespace horalun {

namespace {
// A field's whole number; an empty field (an orb emptied in the settings dialog) reads as 0.
int whole_number(const Cursor& c, int position) {
    const std::string text = c.asText(position);
    if (text.empty()) return 0;
    int value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size())
        throw TableError("Nastavení v tabulce „nastaveni_aspektu“: pole „" +
                         c.fields().at(position).name + "“ neobsahuje platné číslo („" + text +
                         "“).");
    return value;
}

void require_row(Cursor& c) {
    if (c.isEmpty())
        throw TableError("Tabulka „nastaveni_aspektu“ v souboru „" + c.database().path() +
                         "“ neobsahuje záznam nastavení.");
}
}  // namespace

OrbSettings read_orb_settings(Cursor& c) {
    require_row(c);
    if (c.fields().size() <= size_t(kFortuneModeField))
        throw TableError("Tabulka „nastaveni_aspektu“ nemá všechna pole nastavení.");
    OrbSettings s;
    for (int i = 0; i < 12; ++i) s.orbs[i] = whole_number(c, i);
    s.dstMode = std::to_string(whole_number(c, kDstModeField));
    s.fortuneMode = std::to_string(whole_number(c, kFortuneModeField));
    s.checkVersion = c.asBoolean("check_ver");
    s.versionDate = c.asDateTime("ver_datum");
    s.planetAngleLimit = int(c.asInteger("uhel_mezi_planetami"));
    s.namesSearchField = int(c.asInteger("nast_jmena"));
    s.solarYear = c.asText("datum_solar");
    s.lunarMonth = c.asText("mesic_solar");
    s.directionYears = c.asText("posun_direkce");
    s.significantYears = c.asText("pocet_let");
    for (size_t i = 0; i < kSignificantBodyFields.size(); ++i)
        s.significantBodies[i] = c.asBoolean(kSignificantBodyFields[i]);
    s.origDate = c.asText("datum_orig");
    s.origTime = c.asText("cas_orig");
    s.revDate = c.asText("datum_rev");
    s.revTime = c.asText("cas_rev");
    if (c.fieldIndex("ver_url") >= 0) s.versionUrl = c.asText("ver_url");
    if (c.fieldIndex("upd_url") >= 0) s.updateUrl = c.asText("upd_url");
    return s;
}

void write_orb_settings(Cursor& c, const OrbSettings& s) {
    require_row(c);
    c.edit();
    try {
        for (int i = 0; i < 12; ++i) c.setText(i, std::to_string(s.orbs[i]));
        c.setText(kDstModeField, s.dstMode);
        c.setText(kFortuneModeField, s.fortuneMode);
        c.setBoolean("check_ver", s.checkVersion);
        if (s.versionDate == 0)
            c.setNull("ver_datum");
        else
            c.setDateTime("ver_datum", s.versionDate);
        c.setInteger("uhel_mezi_planetami", s.planetAngleLimit);
        c.setInteger("nast_jmena", s.namesSearchField);
        c.setText("datum_solar", s.solarYear);
        c.setText("mesic_solar", s.lunarMonth);
        c.setText("posun_direkce", s.directionYears);
        c.setText("pocet_let", s.significantYears);
        for (size_t i = 0; i < kSignificantBodyFields.size(); ++i)
            c.setBoolean(kSignificantBodyFields[i], s.significantBodies[i]);
        c.setText("datum_orig", s.origDate);
        c.setText("cas_orig", s.origTime);
        c.setText("datum_rev", s.revDate);
        c.setText("cas_rev", s.revTime);
        if (c.fieldIndex("ver_url") >= 0) c.setText("ver_url", s.versionUrl);
        if (c.fieldIndex("upd_url") >= 0) c.setText("upd_url", s.updateUrl);
        c.post();
    } catch (...) {
        c.cancel();
        throw;
    }
}

}  // namespace horalun
