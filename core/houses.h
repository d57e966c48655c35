// House cusps and the four angles (ASC, IC, DESC, MC) in the Regiomontanus or Placidus system,
// from the clock time, the place and the day's sidereal time in the ephemeris table.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "core/chart_panels.h"
#include "core/chart_state.h"

namespace horalun {

class Cursor;

// "HH:MM:SS" -> seconds (hours, minutes and seconds split at the first two colons), less 86400
// when above a whole day. Parts that are not numbers count as zero.
double parse_sidereal_time(std::string_view text);

// Julian day of a civil date at a Universal Time given in seconds of the day (may be negative).
double julian_day(int day, int month, int year, double utSeconds);
// Mean obliquity of the ecliptic in degrees at a Julian day.
double obliquity_of_ecliptic(double julianDay);

// Cusps [1] ASC .. [12] (index 0 unused), in degrees 0..360, from the right ascension of the
// medium coeli and the obliquity (degrees) at a latitude (degrees, south negative).
// houseSystem 2 is Placidus, anything else Regiomontanus. nullopt when Placidus has no
// solution (inside the polar circles) or the arithmetic gives no finite value.
std::optional<std::array<double, 13>> house_cusps(double ramc, double obliquity, double latitude,
                                                  int houseSystem);

enum class HouseStatus {
    Ok,
    NoPlacidusSolution,  // polar latitude: Placidus undefined; nothing was written
    NoPreviousDay,       // before 1:00 on the table's first day: no sidereal time; nothing written
};

// Computes the cusps of state.dateText at state.clockSeconds (Central European time) for
// state.lonText / state.latText in state.houseSystem. The cursor stands on the day's row and
// ends there. Writes state.cusp, state.eighthCuspSign, state.cuspSign / oppositeSign, the four
// angles into state.transitAngle when storeTransitAngles, and unless state.quiet the house
// panel rows (when panels is given) and the counts of the four angles' signs (2 each).
// On failure nothing in the state or the panels changes.
HouseStatus compute_houses(ChartState& state, Cursor& ephemeris, ChartPanels* panels);

}  // namespace horalun
