#include "core/arabic_parts.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/zodiac.h"

namespace horalun {

namespace {

struct PartFormula {
    PointKey key;
    std::string_view chooserCaption;
    bool fromMc;  // X is the MC instead of the ASC
    PointKey y;   // X + Y - Z by day, X + Z - Y by night
    PointKey z;
    std::string_view caption;
    std::string_view shortName;
};

// Parts 1..14; part 15 (death) has its own variants below.
constexpr std::array<PartFormula, 14> kParts = {{
    {PointKey::arab_otec, "Bod &otce (Asc, Saturn, Slunce)", false, PointKey::saturn,
     PointKey::slunce, "Otec:", "Bod otce"},
    {PointKey::arab_matka, "Bod &matky (Asc, Měsíc, Venuše)", false, PointKey::mesic,
     PointKey::venuse, "Matka:", "Bod matky"},
    {PointKey::arab_sourozenci, "Bod souroze&nců (Asc, Saturn, Jupiter)", false, PointKey::jupiter,
     PointKey::saturn, "Souro.:", "Bod souro."},
    {PointKey::arab_deti, "Bod &dětí (Asc, Jupiter, Saturn)", false, PointKey::saturn,
     PointKey::jupiter, "Děti:", "Bod dětí"},
    {PointKey::arab_penez, "Bod &peněz (Asc, Měsíc, Saturn)", false, PointKey::mesic,
     PointKey::saturn, "Peníze:", "Bod peněz"},
    {PointKey::arab_zdravi, "Bod &zdraví (Asc, Mars, Saturn)", false, PointKey::mars,
     PointKey::saturn, "Zdraví:", "Bod zdraví"},
    {PointKey::arab_lasky, "Bod &lásky (Asc, Venuše, Slunce)", false, PointKey::venuse,
     PointKey::slunce, "Láska:", "Bod lásky"},
    {PointKey::arab_cest, "Bod &cest (Asc, Merkur, Měsíc)", false, PointKey::merkur,
     PointKey::mesic, "Cesty:", "Bod cest"},
    {PointKey::arab_vzdelani, "Bod &vzdělání (Asc, Měsíc, Merkur)", false, PointKey::mesic,
     PointKey::merkur, "Vzděl.:", "Bod vzděl."},
    {PointKey::arab_slavy, "Bod sláv&y (Asc, Jupiter Slunce)", false, PointKey::jupiter,
     PointKey::slunce, "Sláva:", "Bod slávy"},
    {PointKey::arab_sporu, "Bod spo&rů (Asc, Mars, Jupiter)", false, PointKey::mars,
     PointKey::jupiter, "Spory:", "Bod sporů"},
    {PointKey::arab_povolani, "Bod povol&ání (Desátý, Měsíc, Slunce)", true, PointKey::mesic,
     PointKey::slunce, "Povol.:", "Bod povol."},
    {PointKey::arab_osudovy, "Bod os&udový (Asc, Merkur, Uran)", false, PointKey::merkur,
     PointKey::uran, "Osudo.:", "Bod osud."},
    {PointKey::arab_okultismu, "Bod okul&tismu (Asc, Neptun, Uran)", false, PointKey::neptun,
     PointKey::uran, "Okult.:", "Bod okult."},
}};

constexpr std::array<std::string_view, 4> kDeathCaptions = {
    "Bod &smrti tradiční (Asc, osmý Měsíc)",
    "Bod smrti netradi&ční (denní / noční zrození) í (Asc, osmý Měsíc)",
    "&Bod smrti netradiční (Pluto místo osmého domu a den. / noč.) (Asc, Pluto, Měsíc)",
    "Bod smrti netradiční (vládce osmého místo osmého a den. / noč.) (Asc, regent osmého, "
    "Měsíc)",
};

// Ruler of each sign, by sign index.
constexpr std::array<PointKey, 12> kRulers = {PointKey::mars,   PointKey::venuse, PointKey::merkur,
                                              PointKey::mesic,  PointKey::slunce, PointKey::merkur,
                                              PointKey::venuse, PointKey::pluto,  PointKey::jupiter,
                                              PointKey::saturn, PointKey::uran,   PointKey::neptun};

double reduce(double v) {
    if (v < 0) v += 360;
    if (v > 360) v -= 360;
    return v;
}

// One decimal, ties to even (the default rounding mode).
double tenths(double v) {
    return std::nearbyint(v * 10.0);
}

int clamp_part(int part) {
    return std::clamp(part, 1, 15);
}

int clamp_variant(int variant) {
    return variant >= 1 && variant <= 4 ? variant : 1;
}

}  // namespace

void sun_below_horizon(ChartState& state, double asc, double desc, double sun, bool secondChart) {
    state.nightBirth = false;
    state.transitNightBirth = false;
    const double s = tenths(sun);
    const double d = tenths(desc);
    double b = asc;
    for (int n = 3600;;) {
        if (tenths(b) == s) {
            (secondChart ? state.transitNightBirth : state.nightBirth) = true;
            return;
        }
        b += 0.1;
        if (b > 360) b = 0;
        if (tenths(b) == d) return;
        if (--n == 0) return;
    }
}

double part_of_fortune(ChartState& state, bool secondChart) {
    const double asc = secondChart ? state.transitAngle[0] : state.cusp[1];
    PointMap<double>& lon = secondChart ? state.transitLon : state.natalLon;
    const bool night =
        secondChart ? state.transitNightBirth : state.useNightFormula && state.nightBirth;
    const double sun = lon[PointKey::slunce];
    const double moon = lon[PointKey::mesic];
    const double v = reduce(night ? asc + sun - moon : asc + moon - sun);
    lon[PointKey::stesti] = v;
    return v;
}

double arabic_part(ChartState& state) {
    if (state.arabicPart < 1 || state.arabicPart > 15) return 0;
    const bool night = state.useNightFormula && state.nightBirth;
    const double asc = state.cusp[1];
    const auto& lon = state.natalLon;
    double v;
    if (state.arabicPart <= 14) {
        const PartFormula& f = kParts[size_t(state.arabicPart - 1)];
        const double x = f.fromMc ? state.cusp[10] : asc;
        v = night ? x + lon[f.z] - lon[f.y] : x + lon[f.y] - lon[f.z];
    } else {
        const double moon = lon[PointKey::mesic];
        double other = state.cusp[8];
        const int variant = clamp_variant(state.deathVariant);
        if (variant == 3) other = lon[PointKey::pluto];
        if (variant == 4) {
            const int sign = sign_index(state.eighthCuspSign);
            other = sign < 0 ? 0.0 : lon[kRulers[size_t(sign)]];
        }
        // The traditional part has no night form.
        v = night && variant != 1 ? asc + moon - other : asc + other - moon;
    }
    v = reduce(v);
    state.natalLon[arabic_part_key(state.arabicPart)] = v;
    return v;
}

PointKey arabic_part_key(int part) {
    return PointKey(int(PointKey::arab_otec) + clamp_part(part) - 1);
}

std::string_view arabic_part_caption(int part) {
    part = clamp_part(part);
    return part == 15 ? "Smrt:" : kParts[size_t(part - 1)].caption;
}

std::string_view arabic_part_short_name(int part) {
    part = clamp_part(part);
    return part == 15 ? "Bod smrti" : kParts[size_t(part - 1)].shortName;
}

std::string_view arabic_part_chooser_caption(int part, int deathVariant) {
    part = clamp_part(part);
    if (part == 15) return kDeathCaptions[size_t(clamp_variant(deathVariant) - 1)];
    return kParts[size_t(part - 1)].chooserCaption;
}

std::vector<PointKey> arabic_part_bodies(int part, int deathVariant) {
    if (part == 0) return {PointKey::slunce, PointKey::mesic};
    part = clamp_part(part);
    if (part <= 14) return {kParts[size_t(part - 1)].y, kParts[size_t(part - 1)].z};
    if (clamp_variant(deathVariant) == 3) return {PointKey::mesic, PointKey::pluto};
    return {PointKey::mesic};
}

}  // namespace horalun
