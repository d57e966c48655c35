#include "tools/horalun_data/position_text.h"

#include <cmath>
#include <cstdio>

namespace horalun {

namespace {
// Rounds a longitude to whole units (unitsPerDegree per degree) within one full circle.
long long rounded_units(double longitude, long long unitsPerDegree) {
    const long long circle = 360 * unitsPerDegree;
    long long units = std::llround(longitude * static_cast<double>(unitsPerDegree)) % circle;
    if (units < 0) units += circle;
    return units;
}
}  // namespace

std::string seconds_position_text(double longitude) {
    const long long units = rounded_units(longitude, 3600);
    const long long inSign = units % (30 * 3600);
    char text[16];
    std::snprintf(text, sizeof text, "%02lld%c%02lld'%02lld", inSign / 3600,
                  kSignLetters[static_cast<size_t>(units / (30 * 3600))], inSign % 3600 / 60,
                  inSign % 60);
    return text;
}

std::string minutes_position_text(double longitude, bool retrograde) {
    const long long units = rounded_units(longitude, 60);
    const long long inSign = units % (30 * 60);
    char text[16];
    std::snprintf(text, sizeof text, "%02lld%c%02lld%s", inSign / 60,
                  kSignLetters[static_cast<size_t>(units / (30 * 60))], inSign % 60,
                  retrograde ? "R" : "");
    return text;
}

bool moves_backward(double longitude, double nextLongitude) {
    double diff = std::fmod(nextLongitude - longitude, 360.0);
    if (diff > 180.0) diff -= 360.0;
    if (diff <= -180.0) diff += 360.0;
    return diff < 0.0;
}

std::string sidereal_time_text(double hours) {
    long long seconds = std::llround(hours * 3600.0) % 86400;
    if (seconds < 0) seconds += 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds % 3600 / 60,
                  seconds % 60);
    return text;
}

std::string_view weekday_letter(int serial) {
    static constexpr std::string_view letters[] = {"P", "Ú", "S", "Č", "P", "S", "N"};
    // Serial day 0, 30.12.1899, was a Saturday.
    return letters[((serial + 5) % 7 + 7) % 7];
}

}  // namespace horalun
