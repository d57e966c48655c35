#include "core/notation.h"

#include <cmath>
#include <limits>

#include "core/zodiac.h"

namespace horalun {

namespace {
// Whole decimal number of at most ten digits; nullopt for an empty or non-numeric text.
std::optional<int> to_int(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    long long v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v > std::numeric_limits<int>::max()) return std::nullopt;
    return int(v);
}
}  // namespace

std::string format_position(int degrees, int minutes, bool retrograde) {
    std::string out = std::to_string(degrees);
    out += "° ";
    if (minutes < 10) out += '0';
    out += std::to_string(minutes);
    out += '\'';
    if (retrograde) out += " R ";
    return out;
}

std::string_view SignPosition::signName() const {
    return zodiac_signs()[signIndex].name;
}

SignPosition sign_position(double longitude) {
    if (!std::isfinite(longitude)) longitude = 0;
    longitude = std::fmod(longitude, 360.0);
    if (longitude < 0) longitude += 360.0;
    SignPosition p;
    p.signIndex = std::min(11, int(longitude / 30.0));
    p.withinSign = longitude - 30.0 * p.signIndex;
    // Truncated minutes, with a margin far below an arc second so that a value meant as whole
    // minutes (56.65 stored as 56.6499999...) is not shown a minute short; never past 29° 59'.
    const int totalMinutes = std::min(29 * 60 + 59, int(p.withinSign * 60.0 + 1e-7));
    p.degrees = totalMinutes / 60;
    p.minutes = totalMinutes % 60;
    return p;
}

SignPosition sign_of_longitude(ChartState& state, double longitude) {
    const SignPosition p = sign_position(longitude);
    state.signText = p.signName();
    state.positionText = p.text();
    return p;
}

SignPosition sign_of_cusp(ChartState& state, double& longitude) {
    const SignPosition p = sign_position(longitude);
    state.cuspSign = p.signName();
    longitude = p.withinSign;
    return p;
}

std::optional<ClockTime> parse_clock_time(std::string_view text) {
    std::string parts[2];
    int counter = 0;
    for (char c : text) {
        if (c == ':') {
            ++counter;
            continue;
        }
        std::string& part = parts[counter == 0 ? 0 : 1];
        if (part.size() < 10) part += c;
    }
    const auto h = to_int(parts[0]);
    const auto m = to_int(parts[1]);
    if (!h || !m) return std::nullopt;
    return ClockTime{*h, *m};
}

std::optional<ClockTime> parse_clock_time(ChartState& state, std::string_view text) {
    const auto t = parse_clock_time(text);
    if (t) {
        state.hours = t->hours;
        state.minutes = t->minutes;
        state.clockSeconds = t->seconds();
    }
    return t;
}

bool clock_time_valid(std::string_view text) {
    if (text.empty() || text.find(':') == std::string_view::npos || text.front() == ':' ||
        text.back() == ':')
        return false;
    const auto t = parse_clock_time(text);
    return t && t->hours <= 23 && t->minutes < 60;
}

std::string format_clock_time(int hours, int minutes) {
    return std::to_string(hours) + ":" + std::to_string(minutes);
}

std::optional<Coordinate> parse_coordinate(std::string_view text, bool latitude) {
    const char first = latitude ? 'N' : 'E';
    const char second = latitude ? 'S' : 'W';
    Coordinate c;
    if (text.find(first) != std::string_view::npos) c.hemisphere = first;
    if (text.find(second) != std::string_view::npos) c.hemisphere = second;
    std::string deg, min;
    int seen = 0;
    for (char ch : text) {
        if (ch == c.hemisphere) {
            ++seen;
            continue;
        }
        (seen == 0 ? deg : min) += ch;
    }
    const auto d = to_int(deg);
    const auto m = to_int(min);
    if (!d || !m) return std::nullopt;
    c.degrees = *d;
    c.minutes = *m;
    return c;
}

}  // namespace horalun
