// Text forms of positions, clock times and coordinates, and the reduction of a longitude to a
// sign and a position inside it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/chart_state.h"

namespace horalun {

// "14° 05'" (degrees as given, minutes two digits), followed by " R " when retrograde.
std::string format_position(int degrees, int minutes, bool retrograde = false);

struct SignPosition {
    int signIndex = 0;
    double withinSign = 0;  // degrees from the start of the sign
    int degrees = 0;
    int minutes = 0;
    std::string_view signName() const;
    std::string text() const { return format_position(degrees, minutes); }
};

// Sign and truncated degree and minute of an absolute longitude. 360 (and any value outside
// 0..360) is reduced first, so 360 reads as 0° 00' Beran.
SignPosition sign_position(double longitude);
// The same, leaving the sign name in state.signText and the text in state.positionText.
SignPosition sign_of_longitude(ChartState& state, double longitude);
// The same reduction for a house cusp: the sign name goes to state.cuspSign and the longitude is
// replaced by its value within the sign.
SignPosition sign_of_cusp(ChartState& state, double& longitude);

struct ClockTime {
    int hours = 0;
    int minutes = 0;
    int seconds() const { return hours * 3600 + minutes * 60; }
};
// Hour digits before the first ":", minute digits after it (at most ten characters each);
// no range check. nullopt when a part is empty or not a decimal number.
std::optional<ClockTime> parse_clock_time(std::string_view text);
// The same, setting state.hours, state.minutes and state.clockSeconds on success.
std::optional<ClockTime> parse_clock_time(ChartState& state, std::string_view text);
// A clock time as the inputs accept it: a ":" neither first nor last, hours 0..23, minutes 0..59.
bool clock_time_valid(std::string_view text);
// "8:3" style, without leading zeros.
std::string format_clock_time(int hours, int minutes);

struct Coordinate {
    char hemisphere = 0;  // 'E', 'W', 'N' or 'S'; 0 when the text has none
    int degrees = 0;
    int minutes = 0;
    double value() const { return degrees + minutes / 60.0; }
    // Degrees with west and south negative.
    double signedValue() const {
        return (hemisphere == 'W' || hemisphere == 'S') ? -value() : value();
    }
};
// "14E25" / "50N05". The later letter of the pair wins when both occur. nullopt when a part is
// not a decimal number.
std::optional<Coordinate> parse_coordinate(std::string_view text, bool latitude);

}  // namespace horalun
