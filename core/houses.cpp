#include "core/houses.h"

#include <cmath>
#include <numbers>
#include <string>

#include "core/notation.h"
#include "core/zodiac.h"
#include "data/table_store.h"
#include "data/text_format.h"

namespace horalun {

namespace {

// Trigonometry runs in extended precision; the named intermediate values are kept as doubles.
using Ext = long double;
constexpr Ext kPi = std::numbers::pi_v<long double>;
constexpr Ext kSiderealRate = 1.0027379L;  // sidereal seconds per solar second
constexpr Ext kHourToDay = 0.0416666667L;  // the ten-digit value, not 1/24
constexpr double kDay = 86400.0;

Ext radians(Ext degrees) {
    return degrees * kPi / 180;
}
Ext degrees(Ext radians) {
    return radians * 180 / kPi;
}

Ext arcsin(Ext x) {
    return std::atan2(x, std::sqrt(1 - x * x));
}

// arccot in degrees; a vanishing argument gives 90 instead of dividing by it.
double arccot_degrees(Ext z) {
    if (std::fabs(z) < 1e-16L) return 90.0;
    return double(degrees(std::atan(1 / z)));
}

double opposite_longitude(double longitude) {
    double v = longitude + 180;
    if (v > 360) v -= 360;
    return v;
}

// Whether x lies on the way from a to b in the order of the signs.
bool within_arc(double x, double a, double b) {
    const auto forward = [](double from, double to) {
        const double d = std::fmod(to - from, 360.0);
        return d < 0 ? d + 360.0 : d;
    };
    return forward(a, x) <= forward(a, b);
}

// Puts an arctangent (-90..90) into the quadrant of its cusp, decided by the MC.
// Rule A serves cusps 11 and 12, rule B cusps 2 and 3.
double place_cusp(double v, double mc, bool ruleA) {
    const bool pos = v >= 0;
    if (mc > 270) return ruleA ? (pos ? v : v + 360) : (pos ? v : v + 180);
    if (mc > 180) return ruleA ? (pos ? v + 180 : v + 360) : (pos ? v : v + 360);
    if (mc > 90) return ruleA ? v + 180 : (pos ? v + 180 : v + 360);
    return ruleA ? (pos ? v : v + 180) : v + 180;
}

std::optional<double> regiomontanus_cusp(double houseOffset, double ra, double eps, double phi) {
    const Ext p = std::atan(std::sin(radians(houseOffset)) * std::tan(Ext(phi)));
    const Ext m = std::atan(std::tan(p) / std::cos(Ext(ra)));
    return double(degrees(std::atan(std::tan(Ext(ra)) * std::cos(m) / std::cos(m + eps))));
}

// Three passes of the semi-arc iteration; nullopt when the arcsine leaves its domain.
std::optional<double> placidus_cusp(Ext fraction, double ra, double eps, double phi) {
    const Ext tanPhi = std::tan(Ext(phi));
    Ext delta = arcsin(std::sin(Ext(eps)) * std::sin(Ext(ra)));
    Ext lambda = 0;
    for (int pass = 1; pass <= 3; ++pass) {
        const Ext x = tanPhi * std::tan(delta);
        if (!(std::fabs(x) <= 1)) return std::nullopt;
        const Ext a = arcsin(x) * fraction;
        const Ext m = std::atan(std::sin(a) / (std::tan(delta) * std::cos(Ext(ra))));
        lambda = std::atan(std::tan(Ext(ra)) * std::cos(m) / std::cos(m + eps));
        if (pass < 3) delta = arcsin(std::sin(Ext(eps)) * std::sin(lambda));
    }
    return double(degrees(lambda));
}

// A decimal integer with optional blanks around it.
std::optional<long long> to_integer(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 12) return std::nullopt;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

// Day, month and year of the date text split at the date separator; the row's own date when
// the text does not split into three numbers.
void date_parts(std::string_view text, const Cursor& row, int& d, int& m, int& y) {
    const char sep = date_separator();
    const size_t a = text.find(sep);
    const size_t b = a == std::string_view::npos ? a : text.find(sep, a + 1);
    if (b != std::string_view::npos) {
        const auto dd = to_integer(text.substr(0, a));
        const auto mm = to_integer(text.substr(a + 1, b - a - 1));
        const auto yy = to_integer(text.substr(b + 1));
        if (dd && mm && yy && *dd < 100 && *mm < 100 && *yy < 1000000) {
            d = int(*dd);
            m = int(*mm);
            y = int(*yy);
            return;
        }
    }
    ymd_from_serial(int(std::floor(row.asDateTime("datum"))), y, m, d);
}

}  // namespace

double parse_sidereal_time(std::string_view text) {
    std::string_view parts[3];
    int counter = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || (text[i] == ':' && counter < 2)) {
            parts[counter++] = text.substr(start, i - start);
            start = i + 1;
            if (i == text.size()) break;
        }
    }
    auto value = [](std::string_view part) {
        const auto v = to_integer(part);
        return v ? double(*v) : 0.0;
    };
    double seconds = value(parts[0]) * 3600 + value(parts[1]) * 60 + value(parts[2]);
    if (seconds > kDay) seconds -= kDay;
    return seconds;
}

double julian_day(int day, int month, int year, double utSeconds) {
    long long m = month;
    long long y = year;
    if (m < 3) {
        m += 12;
        y -= 1;
    }
    // One rounding of the whole leap-day sum, not of each term.
    Ext c = Ext(y) / 4 - Ext(y) / 100 + Ext(y) / 400;
    c = c >= 0 ? std::trunc(c) : std::nearbyint(c);
    const Ext f = Ext(utSeconds) / 3600 * kHourToDay;
    const Ext jd = day + std::trunc(Ext(153 * m - 457) / 5) + 365 * Ext(y) + c + 1721118.5L + f;
    return double(jd);
}

double obliquity_of_ecliptic(double julianDay) {
    const double t = (julianDay - 2451545) / 36525;
    const Ext eps = 23.43929111L - 0.013004166667L * t - 1.638888889e-7L * std::pow(Ext(t), 2) +
                    5.0361111e-7L * std::pow(Ext(t), 3);
    return double(eps);
}

std::optional<std::array<double, 13>> house_cusps(double ramc, double obliquity, double latitude,
                                                  int houseSystem) {
    const double r = double(radians(ramc));
    const double eps = double(radians(obliquity));
    const double phi = double(radians(latitude));
    std::array<double, 13> c{};

    // Medium coeli, placed by the quadrant of the RAMC.
    const double m = double(degrees(std::atan(std::tan(Ext(r)) / std::cos(Ext(eps)))));
    const double q = ramc > 270 ? 360 : ramc > 90 ? 180 : ramc >= 45 ? ramc : 0;
    const double mc = q > m ? m + q : m;
    c[10] = mc;
    c[4] = opposite_longitude(mc);

    // Ascendant, placed by the MC.
    const Ext x =
        -(std::cos(Ext(eps)) * std::sin(Ext(r)) + std::sin(Ext(eps)) * std::tan(Ext(phi)));
    const Ext y = std::cos(Ext(r));
    const double a = arccot_degrees(x / y);
    double asc;
    if (mc > 270 || mc <= 90)
        asc = a >= 0 ? a : a + 180;
    else
        asc = a >= 0 ? a + 180 : a + 360;
    c[1] = asc;
    c[7] = opposite_longitude(asc);

    struct Intermediate {
        int cusp;
        int opposite;
        double offset;  // equatorial distance from the meridian, degrees
        Ext fraction;   // Placidus: share of the semi-arc
        bool ruleA;
    };
    static const Intermediate kCusps[] = {{2, 8, 120, 2.0L / 3, false},
                                          {3, 9, 150, 1.0L / 3, false},
                                          {11, 5, 30, 1.0L / 3, true},
                                          {12, 6, 60, 2.0L / 3, true}};
    for (const auto& ic : kCusps) {
        const double ra = double(radians(Ext(ramc) + ic.offset));
        const auto v = houseSystem == 2 ? placidus_cusp(ic.fraction, ra, eps, phi)
                                        : regiomontanus_cusp(ic.offset, ra, eps, phi);
        if (!v) return std::nullopt;
        c[ic.cusp] = place_cusp(*v, mc, ic.ruleA);
        // Far from the equator the MC alone can pick the wrong half: cusps 11 and 12 lie between
        // MC and ASC, cusps 2 and 3 between ASC and IC; otherwise the cusp is the other root.
        if (!within_arc(c[ic.cusp], ic.ruleA ? mc : asc, ic.ruleA ? asc : c[4]))
            c[ic.cusp] = opposite_longitude(c[ic.cusp]);
        c[ic.opposite] = opposite_longitude(c[ic.cusp]);
    }
    for (int i = 1; i <= 12; ++i)
        if (!std::isfinite(c[i])) return std::nullopt;
    return c;
}

HouseStatus compute_houses(ChartState& state, Cursor& ephemeris, ChartPanels* panels) {
    // Local sidereal time: the day's sidereal time at 0 h UT advanced by the UT elapsed; before
    // 0 h UT the previous day's value with a whole day added.
    const long long u = (long long)state.clockSeconds - 3600;
    double s0;
    double k;
    if (u >= 0) {
        s0 = parse_sidereal_time(ephemeris.asText("sidt"));
        k = double(u * kSiderealRate);
    } else {
        if (ephemeris.recNo() <= 0) return HouseStatus::NoPreviousDay;
        ephemeris.prior();
        s0 = parse_sidereal_time(ephemeris.asText("sidt"));
        ephemeris.next();
        k = double((u + 86400) * kSiderealRate);
    }
    double lst = k + s0;
    const Coordinate lon = parse_coordinate(state.lonText, false).value_or(Coordinate{});
    const double s = double(Ext(lon.degrees * 3600.0 + lon.minutes * 60.0) * 3600 / (15 * 3600));
    lst = lon.hemisphere == 'E' ? lst + s : lst - s;
    if (!std::isfinite(lst)) lst = 0;
    if (std::fabs(lst) > 1e9) lst = std::fmod(lst, kDay);  // bounds the loops on absurd input
    while (lst < 0) lst += kDay;
    while (lst >= kDay) lst -= kDay;
    const double ramc = lst / 3600 * 15;

    int d = 0, m = 0, y = 0;
    date_parts(state.dateText, ephemeris, d, m, y);
    const double jd = julian_day(d, m, y, double(u));
    const double eps = obliquity_of_ecliptic(jd);

    const Coordinate lat = parse_coordinate(state.latText, true).value_or(Coordinate{});
    const auto cusps = house_cusps(ramc, eps, lat.signedValue(), state.houseSystem);
    if (!cusps) return HouseStatus::NoPlacidusSolution;
    const auto& c = *cusps;

    for (int i = 1; i <= 12; ++i) state.cusp[i] = c[i];
    if (state.storeTransitAngles) state.transitAngle = {c[1], c[4], c[7], c[10]};

    // Each cusp's sign and text; its opposite takes the opposite sign and the same text.
    std::array<std::string, 13> sign;
    std::array<std::string, 13> text;
    static constexpr int kPairs[6][2] = {{10, 4}, {1, 7}, {2, 8}, {3, 9}, {11, 5}, {12, 6}};
    for (const auto& pair : kPairs) {
        double v = c[pair[0]];
        const SignPosition p = sign_of_cusp(state, v);
        state.oppositeSign = std::string(opposite_sign(state.cuspSign));
        sign[pair[0]] = state.cuspSign;
        sign[pair[1]] = state.oppositeSign;
        text[pair[0]] = text[pair[1]] = p.text();
    }
    state.eighthCuspSign = sign[8];

    if (state.quiet) return HouseStatus::Ok;
    if (panels)
        for (int i = 1; i <= 12; ++i) set_panel_row(panels->houses[i], text[i], sign[i]);
    for (int angle : {10, 4, 1, 7}) {
        const int index = sign_index(sign[angle]);
        if (index < 0) continue;
        for (int counter : element_counters(zodiac_signs()[index]))
            state.elementCount[counter] += 2;
    }
    return HouseStatus::Ok;
}

}  // namespace horalun
