// Body positions read from the daily ephemeris table and interpolated for a clock time.
#pragma once

#include <string>
#include <string_view>

#include "core/chart_state.h"

namespace horalun {

class Cursor;

struct ParsedPosition {
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
    int signIndex = 0;
    bool retrograde = false;
    bool hasSign = false;  // the text carried a sign letter
    // Arc seconds from the start of the sign.
    long long withinSign() const { return degrees * 3600LL + minutes * 60LL + seconds; }
    std::string_view signName() const;
};

// Reads an ephemeris text such as "03b41'23", "14c05" or "02h10R". A text without a sign letter
// keeps `previousSign`; missing parts count as zero.
ParsedPosition parse_position_text(std::string_view text, int previousSign = 0);

// Text of `key`'s column in the cursor's current row.
std::string ephemeris_text(const Cursor& ephemeris, PointKey key);

// Longitude of state.currentKey at the clock time state.timeText (Central European time) on
// the cursor's day, from state.fieldText (that day's text) and the next row. Writes the
// longitude into natalLon or, while storeTransit, transitLon; sets positionText, currentSign
// and dayRetrograde. The cursor ends on the same row; on the table's last row the body keeps
// its day's position.
double body_position(ChartState& state, Cursor& ephemeris);
// The same at a clock given in seconds of the day (the aspect tests advance clocks by seconds).
double body_position_at(ChartState& state, Cursor& ephemeris, int clockSeconds);

// The south node: opposite the north node, with the north node's position text.
void south_node(ChartState& state);

// Daily motions of the thirteen ephemeris bodies between the cursor's day and the next, into
// state.dailyMotion (j_uzel gets the node's); the Moon's and Mercury's as position texts.
void daily_motions(ChartState& state, Cursor& ephemeris, std::string& moonLabel,
                   std::string& mercuryLabel);

}  // namespace horalun
