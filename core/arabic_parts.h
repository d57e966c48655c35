// Day or night birth, the Part of Fortune and the fifteen Arabic parts: sums and differences of
// the chart's angles and bodies, with two terms swapped for a night birth.
#pragma once

#include <string_view>
#include <vector>

#include "core/chart_state.h"
#include "core/points.h"

namespace horalun {

// Walks from the ASC toward the DESC in steps of 0.1° (all compared at one decimal): a Sun met
// on the way is below the horizon. Clears both night flags, then sets nightBirth, or
// transitNightBirth for the second chart, when it is night.
void sun_below_horizon(ChartState& state, double asc, double desc, double sun, bool secondChart);

// ASC + Moon - Sun, or ASC + Sun - Moon at night. Natal: cusp 1 and natalLon, night only when
// useNightFormula; second chart: transitAngle ASC and transitLon, night whenever
// transitNightBirth. Stores into stesti of natalLon or transitLon and returns the value.
double part_of_fortune(ChartState& state, bool secondChart);

// The natal Arabic part state.arabicPart (1..15; 15 in state.deathVariant 1..4), stored under
// its key in natalLon and returned. Does nothing and returns 0 when arabicPart is not 1..15.
double arabic_part(ChartState& state);

// Key, main-window caption ("Otec:"), short name ("Bod otce") of part 1..15; parts outside
// that range are clamped into it.
PointKey arabic_part_key(int part);
std::string_view arabic_part_caption(int part);
std::string_view arabic_part_short_name(int part);
// The chooser's radio caption; deathVariant picks one of the four captions of part 15.
std::string_view arabic_part_chooser_caption(int part, int deathVariant);

// The bodies whose positions the formula reads, to be recomputed when a clock moves: part 0
// stands for the Part of Fortune (Sun, Moon); parts 1..14 give their two bodies in formula
// order; part 15 the Moon, and Pluto too in variant 3.
std::vector<PointKey> arabic_part_bodies(int part, int deathVariant);

}  // namespace horalun
