#include "core/ephemeris.h"

#include <cstdlib>

#include "core/notation.h"
#include "core/zodiac.h"
#include "data/table_store.h"

namespace horalun {

namespace {
constexpr long long kSignSeconds = 30LL * 3600;

// Moves to the next row and reports whether the cursor actually moved (not on the last row).
bool step_forward(Cursor& c) {
    const int before = c.recNo();
    c.next();
    return c.recNo() != before;
}

}  // namespace

std::string_view ParsedPosition::signName() const {
    return zodiac_signs()[signIndex].name;
}

ParsedPosition parse_position_text(std::string_view text, int previousSign) {
    ParsedPosition p;
    p.signIndex = previousSign;
    int counter = 0;
    int* parts[3] = {&p.degrees, &p.minutes, &p.seconds};
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            if (counter < 3) *parts[counter] = *parts[counter] * 10 + (c - '0');
        } else if (c >= 'a' && c <= 'l') {
            p.signIndex = c - 'a';
            p.hasSign = true;
            ++counter;
        } else if (c == '\'') {
            ++counter;
        } else if (c == 'R') {
            p.retrograde = true;
        } else if (c == 'X') {
            p.retrograde = true;
            if (counter == 0) ++counter;
        }
    }
    return p;
}

std::string ephemeris_text(const Cursor& ephemeris, PointKey key) {
    return ephemeris.asText(point_key_text(key));
}

double body_position(ChartState& state, Cursor& ephemeris) {
    const auto clock = parse_clock_time(state, state.timeText);
    return body_position_at(state, ephemeris, clock ? clock->seconds() : 0);
}

double body_position_at(ChartState& state, Cursor& ephemeris, int clockSeconds) {
    const PointKey key = state.currentKey;
    // 1. The day's text.
    const ParsedPosition day = parse_position_text(state.fieldText, state.lastParsedSign);
    state.lastParsedSign = day.signIndex;
    const long long Y = day.withinSign();
    const bool r = day.retrograde;
    state.dayRetrograde = r;

    // 2. Universal time of the clock.
    const long long u = clockSeconds - 3600LL;

    // 3. The next day's text; on the last row the body stays where it is.
    long long T = Y;
    int dT = day.degrees;
    if (step_forward(ephemeris)) {
        const ParsedPosition next =
            parse_position_text(ephemeris_text(ephemeris, key), day.signIndex);
        T = next.withinSign();
        dT = next.degrees;
        ephemeris.prior();
    }
    const int dY = day.degrees;

    // 4. Daily motion in arc seconds, across a sign boundary where the degrees jump.
    long long a = 0;
    if (key == PointKey::slunce || key == PointKey::mesic) {
        if (T > Y)
            a = T - Y;
        else if (T < Y)
            a = T + kSignSeconds - Y;
    } else if (T > Y) {
        a = (dT - dY > 3) ? Y + kSignSeconds - T : T - Y;
    } else if (T < Y) {
        a = (!r && dY - dT > 3) ? T + kSignSeconds - Y : Y - T;
    }

    // 5.-7. Whole arc seconds moved since 0 h UT, truncated toward zero.
    const long long i = u * a / 86400;
    long long q = r ? Y - i : Y + i;
    int sign = day.signIndex;
    if (q < 0) {
        q += kSignSeconds;
        sign = (sign + 11) % 12;
    } else if (q > kSignSeconds) {
        q -= kSignSeconds;
        sign = (sign + 1) % 12;
    }

    // 8. Absolute longitude.
    const double longitude = q / 3600.0 + zodiac_signs()[sign].start;
    state.currentLon()[key] = longitude;

    // 9.-10. Position text, truncated; exactly 30° is 0° 00' of the next sign.
    int d = int(q / 3600);
    int m = int(q % 3600 / 60);
    if (d == 30) {
        d = 0;
        m = 0;
        sign = (sign + 1) % 12;
    }
    state.currentSign = zodiac_signs()[sign].name;
    state.positionText = format_position(d, m, r);
    return longitude;
}

void south_node(ChartState& state) {
    auto& lon = state.currentLon();
    double v = lon[PointKey::s_uzel] + 180.0;
    if (v > 360.0) v -= 360.0;
    lon[PointKey::j_uzel] = v;
    state.currentSign = std::string(opposite_sign(state.currentSign));
}

void daily_motions(ChartState& state, Cursor& ephemeris, std::string& moonLabel,
                   std::string& mercuryLabel) {
    // Absolute arc seconds with the minutes rounded by the seconds.
    auto absolute = [](std::string_view text) {
        const ParsedPosition p = parse_position_text(text);
        int deg = p.degrees + zodiac_signs()[p.signIndex].start;
        int min = p.minutes + (p.seconds > 30 ? 1 : 0);
        if (min == 60) {
            ++deg;
            min = 0;
        }
        return deg * 3600LL + min * 60LL;
    };
    long long today[kEphemerisBodies.size()];
    for (size_t b = 0; b < kEphemerisBodies.size(); ++b)
        today[b] = absolute(ephemeris_text(ephemeris, kEphemerisBodies[b]));
    const bool moved = step_forward(ephemeris);
    for (size_t b = 0; b < kEphemerisBodies.size(); ++b) {
        const long long next =
            moved ? absolute(ephemeris_text(ephemeris, kEphemerisBodies[b])) : today[b];
        long long diff = std::llabs(next - today[b]);
        if (diff > 50 * 3600) diff = 360 * 3600 - diff;
        state.dailyMotion[kEphemerisBodies[b]] = diff / 3600.0;
        if (kEphemerisBodies[b] == PointKey::mesic)
            moonLabel = format_position(int(diff / 3600), int(diff % 3600 / 60));
        if (kEphemerisBodies[b] == PointKey::merkur)
            mercuryLabel = format_position(int(diff / 3600), int(diff % 3600 / 60));
    }
    if (moved) ephemeris.prior();
    state.dailyMotion[PointKey::j_uzel] = state.dailyMotion[PointKey::s_uzel];
}

}  // namespace horalun
