#include "core/points.h"

namespace horalun {

namespace {
struct PointNames {
    std::string_view key;
    std::string_view aspectName;
    std::string_view meaningName;
};

// Indexed by PointKey.
constexpr PointNames kNames[kPointKeyCount] = {
    {"slunce", "Slunce    ", "Slunce"},
    {"mesic", "Měsíc     ", "Měsíc"},
    {"merkur", "Merkur    ", "Merkur"},
    {"venuse", "Venuše    ", "Venuše"},
    {"mars", "Mars      ", "Mars"},
    {"jupiter", "Jupiter   ", "Jupiter"},
    {"saturn", "Saturn    ", "Saturn"},
    {"uran", "Uran      ", "Uran"},
    {"neptun", "Neptun    ", "Neptun"},
    {"pluto", "Pluto     ", "Pluto"},
    {"s_uzel", "Sev. Uzel ", "Sev. Uzel"},
    {"j_uzel", "Již. Uzel ", "Již. Uzel"},
    {"chiron", "Chiron    ", "Chiron"},
    {"lilith", "Lilith    ", "Lilith"},
    {"stesti", "Bod štěstí", "Bod štěstí"},
    {"arab_otec", "Bod otce  ", "Bod otce"},
    {"arab_matka", "Bod matky ", "Bod matky"},
    {"arab_sourozenci", "Bod souro.", "Bod sourozenců"},
    {"arab_deti", "Bod dětí  ", "Bod dětí"},
    {"arab_penez", "Bod peněz ", "Bod peněz"},
    {"arab_zdravi", "Bod zdraví", "Bod zdraví"},
    {"arab_lasky", "Bod lásky ", "Bod lásky"},
    {"arab_cest", "Bod cest  ", "Bod cest"},
    {"arab_vzdelani", "Bod vzděl.", "Bod vzdělání"},
    {"arab_slavy", "Bod slávy ", "Bod slávy"},
    {"arab_sporu", "Bod sporů ", "Bod sporů"},
    {"arab_povolani", "Bod povol.", "Bod povolání"},
    {"arab_osudovy", "Bod osud. ", "Bod osudový"},
    {"arab_okultismu", "Bod okult.", "Bod okultismu"},
    {"arab_smrt", "Bod smrti ", "Bod smrti"},
    {"dum1", "1. dům    ", "Ascendent"},
    {"dum2", "2. dům    ", "2. dům"},
    {"dum3", "3. dům    ", "3. dům"},
    {"dum4", "4. dům    ", "Imum Coeli"},
    {"dum5", "5. dům    ", "5. dům"},
    {"dum6", "6. dům    ", "6. dům"},
    {"dum7", "7. dům    ", "Descendent"},
    {"dum8", "8. dům    ", "8. dům"},
    {"dum9", "9. dům    ", "9. dům"},
    {"dum10", "10. dům   ", "Medium Coeli"},
    {"dum11", "11. dům   ", "11. dům"},
    {"dum12", "12. dům   ", "12. dům"},
    {"dum1_tranz", "ASC. par.  ", "Asc. partnera"},
    {"dum4_tranz", "IC. par.  ", "IC. partnera"},
    {"dum7_tranz", "DESC. par.  ", "DESC. partnera"},
    {"dum10_tranz", "MC. par.  ", "MC. partnera"},
};
}  // namespace

std::string_view point_key_text(PointKey key) {
    return kNames[size_t(key)].key;
}

std::optional<PointKey> point_key_from_text(std::string_view text) {
    for (int i = 0; i < kPointKeyCount; ++i)
        if (kNames[i].key == text) return PointKey(i);
    return std::nullopt;
}

std::string_view aspect_line_name(PointKey key) {
    return kNames[size_t(key)].aspectName;
}
std::string_view degree_meaning_name(PointKey key) {
    return kNames[size_t(key)].meaningName;
}

std::string_view natal_cusp_name(int house) {
    if (house < 1 || house > 12) return {};
    return kNames[size_t(PointKey::dum1) + size_t(house - 1)].meaningName;
}

bool has_ephemeris_column(PointKey key) {
    return key <= PointKey::lilith && key != PointKey::j_uzel;
}

bool can_be_retrograde(PointKey key) {
    return (key >= PointKey::merkur && key <= PointKey::pluto) || key == PointKey::lilith ||
           key == PointKey::chiron;
}

BodyClass body_class(PointKey key) {
    if (key == PointKey::slunce || key == PointKey::mesic) return BodyClass::Light;
    if (key == PointKey::merkur || key == PointKey::venuse || key == PointKey::mars)
        return BodyClass::Inner;
    return BodyClass::Outer;
}

}  // namespace horalun
