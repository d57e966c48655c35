// Geometry of the chart wheel: the polar pixel grid, screen angles, the spreading of glyphs that
// stand too close, and the ordered drawing steps of one paint. Computation only; no painting.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/chart_state.h"
#include "core/main_inputs.h"
#include "core/main_window_state.h"

namespace horalun {

inline constexpr int kWheelWidth = 665;
inline constexpr int kWheelHeight = 672;

struct WheelPixel {
    int x = 0;
    int y = 0;
    bool operator==(const WheelPixel&) const = default;
};

// The pixel r·√2 away from (cx, cy) in the direction a, in degrees clockwise from straight up;
// both offsets are truncated toward zero.
WheelPixel polar(int cx, int cy, int r, int a);

// Nearest integer, halves to even.
int round_half_even(double v);

// The rotation R of the wheel for an ascendant; the ascendant then stands at screen angle 270.
int wheel_rotation(double ascendant);

// Screen angle of a longitude: round(R − lon), plus 360 when negative. Longitudes grow
// counter-clockwise on the screen.
int screen_angle(int rotation, double lon);

// How far a sign glyph's top-left corner lies from polar(220, a); looked up by a + 1, which the
// caller passes. Angles outside 1..720 have no offset.
WheelPixel sign_glyph_offset(int angle);

// Ids of the points on the wheel; 0..13 are the bodies in PointKey order (slunce .. lilith).
namespace wheel_point {
inline constexpr int SouthNode = 11;
inline constexpr int Fortune = 14;
inline constexpr int Asc = 15;  // the second chart's angles
inline constexpr int Mc = 16;
inline constexpr int Desc = 17;
inline constexpr int Ic = 18;
inline constexpr int Arabic = 19;  // the chosen Arabic part, natal only
inline constexpr int Count = 20;
}  // namespace wheel_point

// One set of points drawn around the wheel (the natal chart, or the second chart inside it).
struct GlyphSet {
    std::array<bool, wheel_point::Count> member{};
    std::array<double, wheel_point::Count> lon{};  // exact longitudes by id
};

// What the wheel reads besides ChartState: the main window's boxes and switches.
struct WheelOptions {
    bool southNode = false;        // "Jižní. Uzel"
    bool fortune = false;          // "Bod štěstí"
    std::array<bool, 4> angles{};  // "ASC", "MC", "Desc.", "IC."
    bool smallGlyphs = false;
    std::string aspectFilter;
};
WheelOptions wheel_options(const MainInputs& inputs, const MainWindowState& window);

GlyphSet natal_glyph_set(const ChartState& state, const WheelOptions& options);
GlyphSet second_glyph_set(const ChartState& state, const WheelOptions& options);

// How many of the sorted points take part in the spreading: 13 and one for each ticked box
// among the four angles, the Part of Fortune and the south node (for both sets).
int spread_count(const WheelOptions& options);

// Display longitudes by id: the points sorted by longitude (ties in slot order), then pushed
// apart in two relaxations of 45000 sweeps over the first `count` of them, first to 2° and then
// to `limit`. Points close across 0° Aries are brought to one side by adding 360 to the smaller.
// The results are not reduced to 0..360.
std::array<double, wheel_point::Count> spread_glyphs(const GlyphSet& set, int count, int limit);

// One entry of ChartState::aspectPairs, the names cut to 20 characters, the orb to 7 without "-".
struct AspectPairEntry {
    std::string first, second, aspect, orb;
};
std::vector<AspectPairEntry> parse_aspect_pairs(std::string_view list);

// One drawing step of a paint, in fixed pixel coordinates.
struct WheelStep {
    enum class Kind { Circle, Line, Text, Glyph };
    Kind kind = Kind::Line;
    WheelPixel a, b;        // line ends; a circle's bounding square; a text's or glyph's top-left
    int width = 1;          // pen width
    std::uint32_t rgb = 0;  // pen colour, 0xRRGGBB
    int fontPoints = 0;     // text: bold Arial of this size
    std::string text;       // the text, or the bitmap file of a glyph
};

// Every step of one paint after the white background, in drawing order.
std::vector<WheelStep> wheel_steps(const ChartState& state, const WheelOptions& options);

}  // namespace horalun
