// The short texts of one efemeris row: body positions, the retrograde mark, the sidereal time
// and the weekday letter. Pure functions of the computed values.
#pragma once

#include <string>
#include <string_view>

namespace horalun {

// Sign letters "a" (Beran) to "l" (Ryby), 30 degrees each.
inline constexpr std::string_view kSignLetters = "abcdefghijkl";

// "DDsMM'SS": degrees within the sign, sign letter, minutes, "'", seconds; rounded to the
// nearest arc second, a carry moving into the next sign (359.99999 gives "00a00'00").
std::string seconds_position_text(double longitude);
// "DDsMM", plus "R" when retrograde; rounded to the nearest minute with the same carry.
std::string minutes_position_text(double longitude, bool retrograde = false);
// True when the body goes backward from one day's 0 h to the next: the difference, taken
// the short way round the circle (across 0 degrees too), is negative.
bool moves_backward(double longitude, double nextLongitude);
// "HH:MM:SS" of sidereal hours, rounded to the second; 24:00:00 becomes 00:00:00.
std::string sidereal_time_text(double hours);
// Czech weekday letter of a serial day: P, Ú, S, Č, P, S, N for Monday to Sunday.
std::string_view weekday_letter(int serial);

}  // namespace horalun
