// Aspects between chart points: the kind and orb test, the applying/separating test by moving
// the clocks on, the ordered pair lists, and the lines of aspekty.txt and ChartState.aspectPairs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/chart_state.h"
#include "core/main_inputs.h"

namespace horalun {

class Cursor;
class TextFileWriter;

inline constexpr std::string_view kNoAspect = "0";

struct AspectKind {
    std::string_view name = kNoAspect;  // "konjunkce ", "kvadratura", ... or "0"
    double d = 0;                       // the angle it was judged at
    double exact = 0;                   // 0, 60, 90, 120 or 180
};

// The kind for two longitudes with the orb for the other aspects and the conjunction orb.
AspectKind aspect_kind(double lon1, double lon2, int otherOrb, int conjunctionOrb);

// Orb set of a pair of points by their classes, as an index into the settings' orb pairs:
// 0 lights, 1 light-inner, 2 light-outer, 3 inner, 4 inner-outer, 5 outer (ChartState::orbSetting
// holds the conjunction orb of set i at 2i and the other orb at 2i + 1).
int orb_set_of_pair(PointKey a, PointKey b);

// 'S' or 'A' from the angle at the start (k0) and the later angle d1: a vanished aspect
// separates; below the exact angle a shrinking angle separates, above it a shrinking one applies.
char aspect_mark(const AspectKind& k0, double d1, bool vanished);

// "-2°05' " style deviation field: sign, whole degrees, "°", two-digit minutes, "'", blanks to
// seven characters.
std::string deviation_field(double deviation);

struct AspectLine {
    PointKey first, second;
    std::string aspect;     // ten characters
    std::string deviation;  // the seven-character field
    char mark = 'S';        // 'S' separating, 'A' applying
    std::string line;       // the exact line of aspekty.txt (UTF-8, without line end)
};

// The moment of one chart the pair tests start from (after the summer-time shifts).
struct ChartClock {
    int serialDay = 0;
    int seconds = 0;
    std::string lonText, latText;
};

enum class AspectStatus { Ok, PlacidusFailed };

// Everything the pair lists read besides ChartState.
struct AspectRun {
    ChartState& state;
    Cursor& natalEphemeris;    // on the natal day's row
    Cursor& transitEphemeris;  // on the second chart's day's row (when it is on)
    const MainInputs& inputs;
    ChartClock natal;
    ChartClock transit;
    TextFileWriter* file = nullptr;  // aspekty.txt
    std::vector<AspectLine>* lines = nullptr;
    char decimalSeparator = '.';
};

// Runs the planet and house sections in order; every position, cusp, cursor and working text
// is as before when it returns.
AspectStatus aspect_list(AspectRun& run);

// Upper bound of the clock steps of one applying/separating test.
inline constexpr int kMaxAspectSteps = 20000;

}  // namespace horalun
