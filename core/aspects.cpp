#include "core/aspects.h"

#include <cmath>

#include "core/arabic_parts.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "data/table_store.h"
#include "data/text_file.h"
#include "data/text_format.h"

namespace horalun {

namespace {

struct AspectDef {
    std::string_view name;
    double exact;
};
constexpr AspectDef kConjunction{"konjunkce ", 0};
// Tested in this order; a later match replaces an earlier one.
constexpr AspectDef kOthers[] = {
    {"kvadratura", 90}, {"sextil    ", 60}, {"trigon    ", 120}, {"opozice   ", 180}};

enum class Side { Natal, Transit };

bool is_body(PointKey k) {
    return k <= PointKey::lilith;
}
bool is_natal_cusp(PointKey k) {
    return k >= PointKey::dum1 && k <= PointKey::dum12;
}
bool is_transit_angle(PointKey k) {
    return k >= PointKey::dum1_tranz;
}
bool is_arabic(PointKey k) {
    return k >= PointKey::arab_otec && k <= PointKey::arab_smrt;
}

int transit_angle_index(PointKey k) {
    switch (k) {
        case PointKey::dum1_tranz:
            return 0;
        case PointKey::dum4_tranz:
            return 1;
        case PointKey::dum7_tranz:
            return 2;
        default:
            return 3;
    }
}

// Orb sets in the order of the settings fields: lights, lights-inner, lights-outer, inner,
// inner-outer, outer.
int orb_set_of_point(PointKey k) {
    const BodyClass c = body_class(k);
    return c == BodyClass::Light ? 0 : c == BodyClass::Inner ? 3 : 5;
}

constexpr int kSetByPair = -1;
constexpr int kSetBySecond = -2;
constexpr int kSetInForce = -3;

struct PairSpec {
    PointKey first, second;
    int step;
    int orbSet;
    bool secondNatal = false;  // the second point is the natal one even with the second chart on
};

struct PlacidusFailure {};

long long tenths(double d) {
    return std::llround(d * 10.0);
}

class PairTester {
  public:
    explicit PairTester(AspectRun& run) : run_(run), st_(run.state) {}

    void test(const PairSpec& p) {
        const int set = p.orbSet == kSetByPair     ? orb_set_of_pair(p.first, p.second)
                        : p.orbSet == kSetBySecond ? orb_set_of_point(p.second)
                        : p.orbSet == kSetInForce  ? orbSetInForce_
                                                   : p.orbSet;
        orbSetInForce_ = set;
        conj_ = st_.orbSetting[size_t(2 * set)];
        other_ = st_.orbSetting[size_t(2 * set + 1)];
        st_.aspectStep = p.step;

        firstSide_ = is_transit_angle(p.first) ? Side::Transit : Side::Natal;
        secondSide_ = (st_.transitMode && !p.secondNatal &&
                       (is_body(p.second) || p.second == PointKey::stesti))
                          ? Side::Transit
                          : Side::Natal;
        const AspectKind k0 = kind(p);
        if (k0.name == kNoAspect) return;

        double d1 = k0.d;
        bool vanished = false;
        if (!st_.natalStepping && !st_.transitStepping) {
            const Snapshot saved = snapshot();
            try {
                later_angle(p, k0, d1, vanished);
            } catch (...) {
                restore(saved);
                throw;
            }
            restore(saved);
        }
        write(p, k0, aspect_mark(k0, d1, vanished));
    }

  private:
    struct Snapshot {
        PointMap<double> natalLon, transitLon;
        std::array<double, 13> cusp;
        std::array<double, 4> transitAngle;
        bool nightBirth, transitNightBirth;
        std::string eighthCuspSign, dateText, timeText, lonText, latText, positionText, currentSign,
            cuspSign, fieldText;
        int clockSeconds, hours, minutes, lastParsedSign;
        bool dayRetrograde, storeTransit, quiet, storeTransitAngles;
        PointKey currentKey;
        int natalRow, transitRow;
    };

    Snapshot snapshot() const {
        return {st_.natalLon,
                st_.transitLon,
                st_.cusp,
                st_.transitAngle,
                st_.nightBirth,
                st_.transitNightBirth,
                st_.eighthCuspSign,
                st_.dateText,
                st_.timeText,
                st_.lonText,
                st_.latText,
                st_.positionText,
                st_.currentSign,
                st_.cuspSign,
                st_.fieldText,
                st_.clockSeconds,
                st_.hours,
                st_.minutes,
                st_.lastParsedSign,
                st_.dayRetrograde,
                st_.storeTransit,
                st_.quiet,
                st_.storeTransitAngles,
                st_.currentKey,
                run_.natalEphemeris.recNo(),
                run_.transitEphemeris.recNo()};
    }

    void restore(const Snapshot& s) {
        st_.natalLon = s.natalLon;
        st_.transitLon = s.transitLon;
        st_.cusp = s.cusp;
        st_.transitAngle = s.transitAngle;
        st_.nightBirth = s.nightBirth;
        st_.transitNightBirth = s.transitNightBirth;
        st_.eighthCuspSign = s.eighthCuspSign;
        st_.dateText = s.dateText;
        st_.timeText = s.timeText;
        st_.lonText = s.lonText;
        st_.latText = s.latText;
        st_.positionText = s.positionText;
        st_.currentSign = s.currentSign;
        st_.cuspSign = s.cuspSign;
        st_.fieldText = s.fieldText;
        st_.clockSeconds = s.clockSeconds;
        st_.hours = s.hours;
        st_.minutes = s.minutes;
        st_.lastParsedSign = s.lastParsedSign;
        st_.dayRetrograde = s.dayRetrograde;
        st_.storeTransit = s.storeTransit;
        st_.quiet = s.quiet;
        st_.storeTransitAngles = s.storeTransitAngles;
        st_.currentKey = s.currentKey;
        run_.natalEphemeris.moveTo(s.natalRow);
        if (st_.transitMode) run_.transitEphemeris.moveTo(s.transitRow);
    }

    double longitude(PointKey k, Side side) const {
        if (is_natal_cusp(k)) return st_.cusp[size_t(int(k) - int(PointKey::dum1) + 1)];
        if (is_transit_angle(k)) return st_.transitAngle[size_t(transit_angle_index(k))];
        return side == Side::Transit ? st_.transitLon[k] : st_.natalLon[k];
    }

    AspectKind kind(const PairSpec& p) const {
        return aspect_kind(longitude(p.first, firstSide_), longitude(p.second, secondSide_), other_,
                           conj_);
    }

    // Moves the clocks on until the rounded angle changes; d1 stays d0 when it never does
    // (the table's end, the step bound, or no moving point).
    void later_angle(const PairSpec& p, const AspectKind& k0, double& d1, bool& vanished) {
        ChartClock natal = run_.natal;
        ChartClock transit = run_.transit;
        const bool natalPoint = firstSide_ == Side::Natal || secondSide_ == Side::Natal;
        const bool transitPoint = firstSide_ == Side::Transit || secondSide_ == Side::Transit;
        const bool moveNatal = natalPoint && (!st_.transitMode || st_.partnerMode);
        const bool moveTransit = transitPoint && st_.transitMode;
        if (!moveNatal && !moveTransit) return;
        for (int k = 1; k <= kMaxAspectSteps; ++k) {
            if (moveNatal && !advance(natal, run_.natalEphemeris, st_.aspectStep)) return;
            if (moveTransit && !advance(transit, run_.transitEphemeris, st_.aspectStep + k)) return;
            if (firstSide_ == Side::Natal ? moveNatal : moveTransit)
                recompute(p.first, firstSide_, firstSide_ == Side::Natal ? natal : transit);
            if (secondSide_ == Side::Natal ? moveNatal : moveTransit)
                recompute(p.second, secondSide_, secondSide_ == Side::Natal ? natal : transit);
            const AspectKind k1 = kind(p);
            if (tenths(k1.d) != tenths(k0.d)) {
                d1 = k1.d;
                vanished = k1.name == kNoAspect;
                return;
            }
        }
    }

    // Adds seconds to a clock; past midnight the chart's cursor moves to the next day. False at
    // the end of the table.
    static bool advance(ChartClock& clock, Cursor& ephemeris, int seconds) {
        clock.seconds += seconds;
        while (clock.seconds > 86400) {
            const int before = ephemeris.recNo();
            ephemeris.next();
            if (ephemeris.recNo() == before) return false;
            clock.seconds -= 86400;
            ++clock.serialDay;
        }
        return true;
    }

    Cursor& cursor(Side side) const {
        return side == Side::Natal ? run_.natalEphemeris : run_.transitEphemeris;
    }

    void body(PointKey k, Side side, const ChartClock& clock) {
        if (k == PointKey::j_uzel) {
            body(PointKey::s_uzel, side, clock);
            st_.storeTransit = side == Side::Transit;
            south_node(st_);
            return;
        }
        st_.storeTransit = side == Side::Transit;
        st_.currentKey = k;
        st_.fieldText = ephemeris_text(cursor(side), k);
        body_position_at(st_, cursor(side), clock.seconds);
    }

    void houses(Side side, const ChartClock& clock) {
        st_.dateText = format_date_text(clock.serialDay);
        st_.clockSeconds = clock.seconds;
        st_.lonText = clock.lonText;
        st_.latText = clock.latText;
        st_.quiet = true;
        st_.storeTransitAngles = side == Side::Transit;
        // The second chart's houses overwrite the cusps; only its angles are kept.
        const auto natalCusps = st_.cusp;
        const HouseStatus status = compute_houses(st_, cursor(side), nullptr);
        if (side == Side::Transit) st_.cusp = natalCusps;
        st_.storeTransitAngles = false;
        if (status != HouseStatus::Ok) throw PlacidusFailure{};
    }

    void recompute(PointKey k, Side side, const ChartClock& clock) {
        if (is_natal_cusp(k) || is_transit_angle(k)) {
            houses(side, clock);
        } else if (k == PointKey::stesti || is_arabic(k)) {
            houses(side, clock);
            body(PointKey::slunce, side, clock);
            if (k == PointKey::stesti) {
                body(PointKey::mesic, side, clock);
            } else {
                for (PointKey b : arabic_part_bodies(st_.arabicPart, st_.deathVariant))
                    body(b, side, clock);
            }
            const bool second = side == Side::Transit;
            const double asc = second ? st_.transitAngle[0] : st_.cusp[1];
            const double desc = second ? st_.transitAngle[2] : st_.cusp[7];
            const double sun =
                second ? st_.transitLon[PointKey::slunce] : st_.natalLon[PointKey::slunce];
            sun_below_horizon(st_, asc, desc, sun, second);
            if (k == PointKey::stesti)
                part_of_fortune(st_, second);
            else
                arabic_part(st_);
        } else {
            body(k, side, clock);
        }
    }

    void write(const PairSpec& p, const AspectKind& k0, char letter) {
        const double deviation = k0.d - k0.exact;
        AspectLine line;
        line.first = p.first;
        line.second = p.second;
        line.aspect = k0.name;
        line.deviation = deviation_field(deviation);
        line.mark = letter;
        line.line = std::string(aspect_line_name(p.first)) + ' ' + line.aspect + ' ' +
                    std::string(aspect_line_name(p.second)) + ' ' + line.deviation + ' ' + letter;
        if (run_.file) run_.file->append_line(line.line);

        const double magnitude = std::fabs(deviation);
        const int deg = int(magnitude);
        const int min = int((magnitude - deg) * 60.0);
        st_.aspectPairs += std::string(aspect_line_name(p.first)) + '|' +
                           std::string(aspect_line_name(p.second)) + '|' + line.aspect + '|' +
                           std::to_string(deg) + run_.decimalSeparator + std::to_string(min) + '|';
        if (run_.lines) run_.lines->push_back(std::move(line));
    }

    AspectRun& run_;
    ChartState& st_;
    int orbSetInForce_ = 0;
    int conj_ = 0, other_ = 0;
    Side firstSide_ = Side::Natal, secondSide_ = Side::Natal;
};

// The pair lists in their order.
std::vector<PairSpec> pair_lists(const AspectRun& run) {
    const ChartState& st = run.state;
    const bool N = run.inputs.box(Box::SouthNode);
    const bool F = run.inputs.box(Box::Fortune);
    const bool A = st.arabicPart >= 1 && st.arabicPart <= 15;
    const PointKey arab = A ? arabic_part_key(st.arabicPart) : PointKey::stesti;
    using P = PointKey;
    std::vector<PairSpec> out;
    auto add = [&](P first, P second, int step, int set = kSetByPair, bool secondNatal = false) {
        out.push_back({first, second, step, set, secondNatal});
    };
    const P planets[] = {P::slunce,  P::mesic,  P::merkur, P::venuse, P::mars,
                         P::jupiter, P::saturn, P::uran,   P::neptun, P::pluto};
    // slunce ... pluto, s_uzel, j_uzel (+N), chiron, lilith
    std::vector<P> bodies(std::begin(planets), std::end(planets));
    bodies.push_back(P::s_uzel);
    if (N) bodies.push_back(P::j_uzel);
    bodies.push_back(P::chiron);
    bodies.push_back(P::lilith);
    std::vector<P> nodes{P::s_uzel};
    if (N) nodes.push_back(P::j_uzel);

    if (st.planetAspects && !st.transitMode) {
        std::vector<P> partners = bodies;
        if (F) partners.push_back(P::stesti);
        if (A) partners.push_back(arab);
        auto step_for = [&](P second) {
            return (second == P::stesti || second == arab) ? 60 : 1800;
        };
        auto derived = [&](P first) {
            if (F) add(first, P::stesti, 60);
            if (A) add(first, arab, 60);
        };
        for (size_t i = 0; i < std::size(planets); ++i)
            for (size_t j = i + 1; j < partners.size(); ++j)
                add(planets[i], partners[j], step_for(partners[j]));
        for (P n : nodes)
            for (P s : {P::chiron, P::lilith}) add(n, s, 1800);
        for (P n : nodes) derived(n);
        add(P::chiron, P::lilith, 1800);
        derived(P::chiron);
        derived(P::lilith);
    } else if (st.planetAspects) {
        std::vector<P> fifteen = bodies;
        if (F) fifteen.push_back(P::stesti);
        auto step_for = [&](P first, P second) {
            if (first == P::stesti || second == P::stesti || first == arab || second == arab)
                return 60;
            if ((first == P::slunce && second == P::mesic) || first == P::mesic) return 1800;
            return 5 * 3600;
        };
        auto row = [&](P first, std::initializer_list<P> seconds, int set = kSetByPair) {
            for (P s : seconds)
                if (s != P::j_uzel || N) add(first, s, step_for(first, s), set);
        };
        for (P first : planets)
            for (P s : fifteen) add(first, s, step_for(first, s));
        for (P n : nodes) row(n, {P::slunce, P::mesic});
        for (P n : nodes) row(n, {P::merkur, P::venuse, P::mars});
        row(P::s_uzel, {P::jupiter, P::saturn, P::uran, P::neptun, P::pluto, P::s_uzel});
        if (N)
            row(P::j_uzel,
                {P::jupiter, P::saturn, P::uran, P::neptun, P::pluto, P::s_uzel, P::j_uzel});
        for (P n : nodes) row(n, {P::chiron, P::lilith});
        if (F)
            for (P n : nodes) row(n, {P::stesti});
        for (P first : {P::chiron, P::lilith})
            for (P s : fifteen) add(first, s, step_for(first, s));
        if (F) {
            for (P s : bodies) add(P::stesti, s, 60, 5);
            add(P::stesti, P::stesti, 60, 5);
        }
        if (A)
            for (P s : bodies) add(arab, s, 60, 5);
    }

    // House section.
    const std::pair<Box, P> angles[] = {{Box::AngleAsc, P::dum1_tranz},
                                        {Box::AngleMc, P::dum10_tranz},
                                        {Box::AngleDesc, P::dum7_tranz},
                                        {Box::AngleIc, P::dum4_tranz}};
    std::vector<P> pointList = bodies;
    if (F) pointList.push_back(P::stesti);
    if (st.houseAspects && st.transitMode)
        for (const auto& [box, angle] : angles)
            if (run.inputs.box(box))
                for (int h = 0; h < 12; ++h) add(angle, P(int(P::dum1) + h), 60, kSetInForce);
    if (st.transitMode)
        for (const auto& [box, angle] : angles)
            if (run.inputs.box(box)) {
                for (P s : pointList) add(angle, s, 240, kSetBySecond, true);
                if (A) add(angle, arab, 240, kSetBySecond, true);
            }
    if (st.houseAspects)
        for (int h = 0; h < 12; ++h) {
            const P cusp = P(int(P::dum1) + h);
            for (P s : pointList) add(cusp, s, 240, kSetBySecond);
            if (A && !st.transitMode) add(cusp, arab, 240, kSetBySecond);
        }
    return out;
}

}  // namespace

AspectKind aspect_kind(double lon1, double lon2, int otherOrb, int conjunctionOrb) {
    AspectKind k;
    double d = std::fabs(lon1 - lon2);
    if (360.0 - d <= conjunctionOrb) d = 360.0 - d;
    if (d <= conjunctionOrb) {
        k.name = kConjunction.name;
        k.exact = kConjunction.exact;
    }
    for (const AspectDef& a : kOthers) {
        if (a.exact - otherOrb <= d && d <= a.exact + otherOrb) {
            k.name = a.name;
            k.exact = a.exact;
        }
        if (a.exact - otherOrb <= 360.0 - d && 360.0 - d <= a.exact + otherOrb) {
            d = 360.0 - d;
            k.name = a.name;
            k.exact = a.exact;
        }
    }
    k.d = d;
    return k;
}

int orb_set_of_pair(PointKey a, PointKey b) {
    BodyClass x = body_class(a), y = body_class(b);
    if (int(x) > int(y)) std::swap(x, y);
    if (x == BodyClass::Light) return y == BodyClass::Light ? 0 : y == BodyClass::Inner ? 1 : 2;
    if (x == BodyClass::Inner) return y == BodyClass::Inner ? 3 : 4;
    return 5;
}
char aspect_mark(const AspectKind& k0, double d1, bool vanished) {
    if (vanished) return 'S';
    const double d0 = k0.d;
    if (d0 > k0.exact) return d0 > d1 ? 'A' : 'S';
    return d0 > d1 ? 'S' : 'A';
}

std::string deviation_field(double deviation) {
    const double magnitude = std::fabs(deviation);
    const int deg = int(magnitude);
    const int min = int((magnitude - deg) * 60.0);
    std::string out(1, deviation < 0 ? '-' : ' ');
    out += std::to_string(deg) + "°" + (min < 10 ? "0" : "") + std::to_string(min) + "'";
    // "°" is one character (two bytes in UTF-8).
    while (out.size() - 1 < 7) out += ' ';
    return out;
}

AspectStatus aspect_list(AspectRun& run) {
    PairTester tester(run);
    try {
        for (const PairSpec& p : pair_lists(run)) tester.test(p);
    } catch (const PlacidusFailure&) {
        return AspectStatus::PlacidusFailed;
    }
    return AspectStatus::Ok;
}

}  // namespace horalun
