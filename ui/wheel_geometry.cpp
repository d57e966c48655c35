#include "ui/wheel_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <utility>

namespace horalun {

WheelPixel polar(int cx, int cy, int r, int a) {
    const double d = (a - 135) * std::numbers::pi / 180.0;
    const double c = std::cos(d);
    const double s = std::sin(d);
    return {cx + int(std::trunc(r * (c - s))), cy + int(std::trunc(r * (s + c)))};
}

int round_half_even(double v) {
    if (!std::isfinite(v)) return 0;
    const double lo = std::floor(v);
    const double frac = v - lo;
    double r = lo;
    if (frac > 0.5 || (frac == 0.5 && std::fmod(lo, 2.0) != 0.0)) r = lo + 1.0;
    r = std::clamp(r, -1e9, 1e9);
    return int(r);
}

int wheel_rotation(double ascendant) {
    int r = round_half_even(ascendant - 90.0);
    if (r < 0) r += 360;
    return r;
}

int screen_angle(int rotation, double lon) {
    int a = round_half_even(rotation - lon);
    if (a < 0) a += 360;
    return a;
}

WheelPixel sign_glyph_offset(int angle) {
    // One row per 30° from 1°; the second turn differs only between 660° and 690°.
    static constexpr std::array<WheelPixel, 12> kOffsets = {{{-23, 9},
                                                             {-32, 4},
                                                             {-42, -5},
                                                             {-42, -20},
                                                             {-36, -32},
                                                             {-27, -40},
                                                             {-10, -41},
                                                             {6, -30},
                                                             {7, -16},
                                                             {8, -8},
                                                             {0, -2},
                                                             {-15, 9}}};
    if (angle < 1 || angle > 720) return {};
    const int row = (angle - 1) / 30;
    if (row == 22) return {2, 2};
    return kOffsets[size_t(row % 12)];
}

WheelOptions wheel_options(const MainInputs& inputs, const MainWindowState& window) {
    WheelOptions o;
    o.southNode = inputs.box(Box::SouthNode);
    o.fortune = inputs.box(Box::Fortune);
    o.angles = {inputs.box(Box::AngleAsc), inputs.box(Box::AngleMc), inputs.box(Box::AngleDesc),
                inputs.box(Box::AngleIc)};
    o.smallGlyphs = window.smallGlyphs;
    o.aspectFilter = window.aspectFilter;
    return o;
}

namespace {

bool arabic_chosen(const ChartState& st) {
    return st.arabicPart >= 1 && st.arabicPart <= 15;
}

// The bodies 0..13 and, optionally, the south node and the Part of Fortune.
GlyphSet body_set(const PointMap<double>& lon, const WheelOptions& o) {
    GlyphSet set;
    for (int id = 0; id <= 14; ++id) {
        set.lon[size_t(id)] = lon[PointKey(id)];
        set.member[size_t(id)] = id < 14;
    }
    set.member[wheel_point::SouthNode] = o.southNode;
    set.member[wheel_point::Fortune] = o.fortune;
    return set;
}

}  // namespace

GlyphSet natal_glyph_set(const ChartState& st, const WheelOptions& o) {
    GlyphSet set = body_set(st.natalLon, o);
    if (arabic_chosen(st)) {
        set.member[wheel_point::Arabic] = true;
        set.lon[wheel_point::Arabic] =
            st.natalLon[PointKey(int(PointKey::arab_otec) + st.arabicPart - 1)];
    }
    return set;
}

GlyphSet second_glyph_set(const ChartState& st, const WheelOptions& o) {
    GlyphSet set = body_set(st.transitLon, o);
    // transitAngle holds ASC, IC, DESC, MC; the ids run ASC, MC, DESC, IC.
    static constexpr std::array<size_t, 4> kAngleIndex = {0, 3, 2, 1};
    for (size_t k = 0; k < 4; ++k) {
        set.member[size_t(wheel_point::Asc) + k] = o.angles[k];
        set.lon[size_t(wheel_point::Asc) + k] = st.transitAngle[kAngleIndex[k]];
    }
    return set;
}

int spread_count(const WheelOptions& o) {
    int n = 13 + int(o.fortune) + int(o.southNode);
    for (bool b : o.angles) n += int(b);
    return n;
}

namespace {

constexpr int kSweeps = 45000;

struct SpreadEntry {
    int id;
    double lon;
};

// One relaxation over the first n entries. Each sweep takes the next index i and tests it against
// every later one; a cycle of n sweeps that moves nothing is a fixed point, so the rest of the
// sweeps would change nothing either.
void relax(std::array<SpreadEntry, wheel_point::Count>& list, int n, double limit, double grow,
           double shrink) {
    int quiet = 0;
    for (int sweep = 0; sweep < kSweeps && quiet < n; ++sweep) {
        const int i = sweep % n;
        bool moved = false;
        for (int j = i + 1; j < n; ++j) {
            double& a = list[size_t(i)].lon;
            double& b = list[size_t(j)].lon;
            const double d = std::fabs(a - b);
            if (360.0 - d >= 0.0 && 360.0 - d < limit) {
                (a < b ? a : b) += 360.0;
                moved = true;
            }
            if (d < limit) {
                // On a tie the later entry counts as the larger one.
                if (a > b) {
                    a += grow;
                    b -= shrink;
                } else {
                    b += grow;
                    a -= shrink;
                }
                moved = true;
            }
        }
        quiet = moved ? 0 : quiet + 1;
    }
}

}  // namespace

std::array<double, wheel_point::Count> spread_glyphs(const GlyphSet& set, int count, int limit) {
    // Slot order: the bodies, the second chart's angles, the Part of Fortune, the Arabic part.
    static constexpr std::array<int, wheel_point::Count> kSlotId = {
        0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 14, 19};
    // Where an absent point is parked, beyond the circle.
    auto parked = [](int id) {
        switch (id) {
            case wheel_point::Asc:
                return 495.0;
            case wheel_point::Mc:
                return 501.0;
            case wheel_point::Desc:
                return 502.0;
            case wheel_point::Ic:
                return 503.0;
            case wheel_point::Fortune:
                return 504.0;
            default:
                return 500.0;
        }
    };
    std::array<SpreadEntry, wheel_point::Count> list{};
    for (size_t slot = 0; slot < list.size(); ++slot) {
        const int id = kSlotId[slot];
        list[slot] = {id, set.member[size_t(id)] ? set.lon[size_t(id)] : parked(id)};
    }

    // Cocktail sort, swapping only on strictly greater: equal longitudes keep slot order.
    int lo = 0;
    int hi = int(list.size()) - 1;
    bool swapped = true;
    while (swapped && lo < hi) {
        swapped = false;
        for (int i = lo; i < hi; ++i)
            if (list[size_t(i)].lon > list[size_t(i) + 1].lon) {
                std::swap(list[size_t(i)], list[size_t(i) + 1]);
                swapped = true;
            }
        --hi;
        for (int i = hi - 1; i >= lo; --i)
            if (list[size_t(i)].lon > list[size_t(i) + 1].lon) {
                std::swap(list[size_t(i)], list[size_t(i) + 1]);
                swapped = true;
            }
        ++lo;
    }

    const int n = std::clamp(count, 0, int(list.size()));
    if (n > 0) {
        relax(list, n, 2.0, 0.065, 0.045);
        relax(list, n, double(limit), 0.1, 0.1);
    }

    std::array<double, wheel_point::Count> display{};
    for (const SpreadEntry& e : list) display[size_t(e.id)] = e.lon;
    return display;
}

namespace {

// The first `count` characters of a UTF-8 text.
std::string cut_chars(std::string_view s, size_t count) {
    size_t i = 0;
    size_t chars = 0;
    while (i < s.size() && chars < count) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        ++chars;
    }
    return std::string(s.substr(0, i));
}

bool contains(std::string_view s, std::string_view part) {
    return s.find(part) != std::string_view::npos;
}

}  // namespace

std::vector<AspectPairEntry> parse_aspect_pairs(std::string_view list) {
    std::vector<AspectPairEntry> entries;
    std::array<std::string_view, 4> fields;
    size_t n = 0;
    size_t start = 0;
    for (size_t bar = list.find('|'); bar != std::string_view::npos; bar = list.find('|', start)) {
        fields[n++] = list.substr(start, bar - start);
        start = bar + 1;
        if (n < 4) continue;
        n = 0;
        AspectPairEntry e{cut_chars(fields[0], 20), cut_chars(fields[1], 20),
                          cut_chars(fields[2], 20), cut_chars(fields[3], 7)};
        std::erase(e.orb, '-');
        entries.push_back(std::move(e));
    }
    return entries;
}

namespace {

constexpr std::array<const char*, wheel_point::Count> kGlyphName = {
    "slunce", "mesic",  "merkur", "venuse", "mars",   "jupiter", "saturn",
    "uran",   "neptun", "pluto",  "s_uzel", "j_uzel", "chiron",  "lilith",
    "stesti", "as_c",   "m_c",    "des_c",  "i_c",    "otec"};

// Zodiac ring sectors run from Pisces (0) back to Aries (11).
constexpr std::array<const char*, 12> kSectorSign = {
    "ryby.bmp",  "vodnar.bmp", "kozoroh.bmp", "strelec.bmp",  "stir.bmp", "vahy.bmp",
    "panna.bmp", "lev.bmp",    "rak.bmp",     "blizenci.bmp", "byk.bmp",  "beran.bmp"};

// Names of the bodies in aspect entries, by id (natal_point adds the south node, the Part of
// Fortune and the Arabic parts under their conditions).
constexpr std::array<std::pair<std::string_view, int>, 13> kBodyNames = {{{"Slunce", 0},
                                                                          {"Měsíc", 1},
                                                                          {"Merkur", 2},
                                                                          {"Venuše", 3},
                                                                          {"Mars", 4},
                                                                          {"Jupiter", 5},
                                                                          {"Saturn", 6},
                                                                          {"Uran", 7},
                                                                          {"Neptun", 8},
                                                                          {"Pluto", 9},
                                                                          {"Sev. Uzel", 10},
                                                                          {"Chiron", 12},
                                                                          {"Lilith", 13}}};
constexpr std::array<std::string_view, 15> kArabicNames = {
    "otce",   "matky", "souro.", "dětí",   "peněz", "zdraví", "lásky", "cest",
    "vzděl.", "slávy", "sporů",  "povol.", "osud.", "okult.", "smrti"};
constexpr std::array<std::string_view, 4> kAngleNames = {"ASC. par.", "MC. par.", "DESC. par.",
                                                         "IC. par."};

constexpr std::uint32_t kBlack = 0x000000;

class StepWriter {
  public:
    StepWriter(const ChartState& st, const WheelOptions& o) : st_(st), o_(o) {
        rotation_ = wheel_rotation(st.cusp[1]);
    }

    std::vector<WheelStep> run() {
        out_.reserve(800);
        // Bounding squares of the four circles (the innermost one is a pixel wider).
        for (auto [from, to] : {std::pair{19, 642}, {70, 591}, {97, 564}, {119, 543}}) {
            WheelStep s;
            s.kind = WheelStep::Kind::Circle;
            s.a = {from, from};
            s.b = {to, to};
            s.width = 2;
            out_.push_back(std::move(s));
        }
        house_numbers();
        axes();
        zodiac();
        const GlyphSet natal = natal_glyph_set(st_, o_);
        const GlyphSet second = second_glyph_set(st_, o_);
        glyph_pass(natal, false);
        if (st_.transitMode) glyph_pass(second, true);
        for (int id = 0; id < wheel_point::Count; ++id) {
            natalAngle_[size_t(id)] = screen_angle(rotation_, natal.lon[size_t(id)]);
            secondAngle_[size_t(id)] = screen_angle(rotation_, second.lon[size_t(id)]);
        }
        aspect_lines();
        return std::move(out_);
    }

  private:
    void line(WheelPixel a, WheelPixel b, int width, std::uint32_t rgb = kBlack) {
        WheelStep s;
        s.a = a;
        s.b = b;
        s.width = width;
        s.rgb = rgb;
        out_.push_back(std::move(s));
    }
    void text(int x, int y, const char* label, int points) {
        WheelStep s;
        s.kind = WheelStep::Kind::Text;
        s.a = {x, y};
        s.fontPoints = points;
        s.text = label;
        out_.push_back(std::move(s));
    }
    void glyph(WheelPixel at, std::string file) {
        WheelStep s;
        s.kind = WheelStep::Kind::Glyph;
        s.a = at;
        s.text = std::move(file);
        out_.push_back(std::move(s));
    }
    WheelPixel at(int r, int a) const { return polar(330, 330, r, a); }

    void house_numbers() {
        static constexpr std::array<const char*, 13> kLabel = {
            "", "1.", "2.", "3.", "4.", "5.", "6.", "7.", "8.", "9.", "10.", "11.", "12."};
        for (int i = 1; i <= 12; ++i) {
            const double from = st_.cusp[size_t(i)];
            const double to = st_.cusp[size_t(i == 12 ? 1 : i + 1)];
            int w = round_half_even(to - from);
            if (w < 0) w += 360;
            int angle = round_half_even(rotation_ - (from + w / 2.0));
            if (angle < 0) angle += 360;
            const WheelPixel p = polar(332, 332, 161, angle);
            const int x = p.x;
            const int y = p.y;
            const char* label = kLabel[size_t(i)];
            const int pt = i <= 9 ? 11 : 10;
            // Later drawings cover earlier ones with their white background.
            switch (i) {
                case 1:
                    text(x - 3, y - 10, label, pt);
                    break;
                case 2:
                    text(x - 4 + int(x < 220), y - 14, label, pt);
                    break;
                case 3:
                    text(x - 6, y - 16 + int(x >= 220), label, pt);
                    break;
                case 4:
                    text(x - 9 + 3 * int(x < 390), y - 15, label, pt);
                    break;
                case 5:
                    text(x - 9, y - 15, label, pt);
                    break;
                case 6:
                    text(x - 11, y - 13, label, pt);
                    break;
                case 7:
                    text(x - 11 - 2 * int(x < 540), y - 11, label, pt);
                    break;
                case 8:
                    text(x - 11 + int(x <= 480), y - 7 + int(x <= 480), label, pt);
                    break;
                default: {
                    const int dx = i <= 10 ? -11 : i == 11 ? -10 : -7;
                    text(x + dx + int(i <= 10 && x <= 470), y - 9 + 4 * int(x <= 470), label, pt);
                    if (x < 280) text(x + dx, y - 3, label, pt);
                    if (x < 260) text(x + dx, y - 2, label, pt);
                    break;
                }
            }
        }
    }

    // Short strokes across the house ring at angle a and its opposite.
    void cusp_strokes(int a) {
        line(at(165, a), at(150, a), 2);
        line(at(165, a + 180), at(150, a + 180), 2);
    }

    void axes() {
        line({0, 330}, {665, 330}, 2);
        const int mc = screen_angle(rotation_, st_.cusp[10]);
        cuspAngle_[10] = mc;
        cuspAngle_[4] = mc + 180;
        line(at(233, mc), at(232, mc + 180), 2);

        const int b = screen_angle(rotation_, st_.cusp[2]);
        cuspAngle_[2] = b;
        cuspAngle_[8] = b + 180;
        line(at(184, b), at(183, b + 180), 1);
        cusp_strokes(b);

        for (auto [cusp, opposite] : {std::pair{3, 9}, {11, 5}, {12, 6}}) {
            const int c = screen_angle(rotation_, st_.cusp[size_t(cusp)]);
            cuspAngle_[size_t(cusp)] = c;
            cuspAngle_[size_t(opposite)] = c + 180;
            line(at(165, c), at(164, c + 180), 1);
            cusp_strokes(c);
        }
    }

    void zodiac() {
        for (int k = 0; k < 360; ++k) {
            const int a = rotation_ + k;
            if (k % 30 == 0) line(at(220, a), at(184, a), 2);
            if (k % 30 == 15) {
                const WheelPixel p = at(220, a);
                const WheelPixel d = sign_glyph_offset(a + 1);
                glyph({p.x + d.x, p.y + d.y}, kSectorSign[size_t(k / 30)]);
            }
            line(at(184, a), at(165, a), k % 5 == 0 ? 2 : 1);
        }
    }

    void glyph_pass(const GlyphSet& set, bool second) {
        const std::array<double, wheel_point::Count> display =
            spread_glyphs(set, spread_count(o_), st_.planetAngleLimit);
        static constexpr std::array<int, 16> kNatalOrder = {0, 1, 2,  3,  4,  5,  6,  7,
                                                            8, 9, 12, 13, 10, 11, 14, 19};
        static constexpr std::array<int, 19> kSecondOrder = {0,  1,  2,  3,  4,  5,  6,  7,  8, 9,
                                                             12, 13, 10, 11, 15, 16, 17, 18, 14};
        const bool small = o_.smallGlyphs;
        const bool transit = st_.transitMode;
        auto draw = [&](int id) {
            if (!set.member[size_t(id)]) return;
            if (id == wheel_point::Arabic && small) return;
            const int d = screen_angle(rotation_, display[size_t(id)]);
            const int e = screen_angle(rotation_, set.lon[size_t(id)]);
            WheelPixel spot, outer, inner;
            if (!second && !small) {
                spot = polar(332, 332, 131, d);
                spot = {spot.x - 20, spot.y - 20};
                outer = polar(330, 330, 115, d);
                inner = transit ? polar(326, 326, 68, e) : polar(330, 330, 102, e);
            } else if (!second) {
                spot = polar(330, 330, 135, d);
                spot = {spot.x - 15, spot.y - 15};
                outer = polar(330, 330, 122, d);
                inner = transit ? polar(326, 326, 78, e) : polar(330, 330, 112, e);
            } else if (!small) {
                spot = polar(314, 314, 90, d);
                outer = polar(326, 326, 77, d);
                inner = polar(326, 326, 68, e);
            } else {
                spot = polar(314, 314, 100, d);
                outer = polar(326, 326, 87, d);
                inner = polar(326, 326, 78, e);
            }
            line(outer, inner, 2);
            // The second chart always uses the small bitmaps; its angles and the Arabic part have
            // one size only.
            std::string file = kGlyphName[size_t(id)];
            if ((small || second) && id < wheel_point::Asc) file += '1';
            glyph(spot, file + ".bmp");
        };
        if (second)
            for (int id : kSecondOrder) draw(id);
        else
            for (int id : kNatalOrder) draw(id);
    }

    // The natal point a field names (-1 for none). The Arabic part's names count while a part is
    // chosen; in the second field only the chosen part's name, and only without a second chart.
    int natal_point(std::string_view field, bool secondField) const {
        int id = -1;
        for (const auto& [name, bodyId] : kBodyNames)
            if (contains(field, name)) id = bodyId;
        if (o_.southNode && contains(field, "Již. Uzel")) id = wheel_point::SouthNode;
        if (o_.fortune && contains(field, "štěstí")) id = wheel_point::Fortune;
        if (arabic_chosen(st_))
            for (size_t p = 0; p < kArabicNames.size(); ++p) {
                if (!contains(field, kArabicNames[p])) continue;
                if (!secondField || (int(p) + 1 == st_.arabicPart && !st_.transitMode))
                    id = wheel_point::Arabic;
            }
        return id;
    }

    // The house number of a field "1. dům" .. "12. dům", or 0.
    static int house_of(std::string_view field) {
        if (!contains(field, "dům")) return 0;
        size_t i = 0;
        while (i < field.size() && field[i] == ' ') ++i;
        int h = 0;
        const auto r = std::from_chars(field.data() + i, field.data() + field.size(), h);
        if (r.ec != std::errc() || h < 1 || h > 12) return 0;
        return h;
    }

    WheelPixel house_point(int h, int radius) const {
        const bool small = o_.smallGlyphs;
        const bool transit = st_.transitMode;
        if (h == 1)
            return transit ? WheelPixel{small ? 222 : 236, 330}
                           : WheelPixel{small ? 173 : 187, 330};
        if (h == 7)
            return transit ? WheelPixel{small ? 434 : 420, 330}
                           : WheelPixel{small ? 485 : 472, 330};
        return polar(330, 330, radius, cuspAngle_[size_t(h)]);
    }

    // The running pen: a colour for each of the five aspects, a width by the orb; anything else
    // keeps the previous value.
    void update_pen(const AspectPairEntry& e) {
        if (contains(e.aspect, "konjunkce")) penRgb_ = 0xE56701;
        if (contains(e.aspect, "trigon")) penRgb_ = 0x00FF00;
        if (contains(e.aspect, "sextil")) penRgb_ = 0x00FFFF;
        if (contains(e.aspect, "kvadratura")) penRgb_ = 0xFF0000;
        if (contains(e.aspect, "opozice")) penRgb_ = 0x0000FF;

        if (contains(e.orb, "dům") || e.orb.empty() || e.orb == " ") return;
        // Degrees, the decimal separator (either, as the list was written), minutes; read as
        // one decimal number.
        std::string number = e.orb;
        std::replace(number.begin(), number.end(), ',', '.');
        const auto first = number.find_first_not_of(' ');
        const auto last = number.find_last_not_of(' ');
        if (first == std::string::npos) return;
        number = number.substr(first, last - first + 1);
        double v = 0;
        const auto r = std::from_chars(number.data(), number.data() + number.size(), v,
                                       std::chars_format::fixed);
        if (r.ec != std::errc() || r.ptr != number.data() + number.size()) return;
        penWidth_ = v >= 5 ? 1 : v >= 3 ? 2 : v > 1 ? 3 : 4;
    }

    bool passes_filter(const AspectPairEntry& e) const {
        const std::string& f = o_.aspectFilter;
        return f.empty() || e.first.starts_with(f) || e.second.starts_with(f);
    }

    void aspect_lines() {
        const bool small = o_.smallGlyphs;
        const bool transit = st_.transitMode;
        const int centre = transit ? 326 : 330;
        const int radius = transit ? (small ? 75 : 65) : (small ? 112 : 102);
        auto point_at = [&](int angle) { return polar(centre, centre, radius, angle); };

        for (const AspectPairEntry& e : parse_aspect_pairs(st_.aspectPairs)) {
            update_pen(e);
            const bool firstIsHouse = contains(e.first, "dům");
            // An end whose point is not on the wheel (its box was unticked after the calculation)
            // stays unknown, and the entry draws nothing.
            WheelPixel a, b;
            bool haveA = false;
            bool haveB = false;
            if (!firstIsHouse || st_.houseAspects) {
                const int id = natal_point(e.first, false);
                if (id >= 0) a = point_at(natalAngle_[size_t(id)]), haveA = true;
            }
            if (const int id = natal_point(e.second, true); id >= 0) {
                b = point_at(transit ? secondAngle_[size_t(id)] : natalAngle_[size_t(id)]);
                haveB = true;
            }
            for (size_t k = 0; k < 4; ++k) {
                if (!o_.angles[k] || !contains(e.first, kAngleNames[k])) continue;
                a = point_at(secondAngle_[size_t(wheel_point::Asc) + k]);
                haveA = true;
                haveB = false;
                if (const int h = house_of(e.second); h > 0) {
                    b = house_point(h, radius);
                    haveB = true;
                } else if (const int id = natal_point(e.second, false); id >= 0) {
                    b = point_at(natalAngle_[size_t(id)]);
                    haveB = true;
                }
            }
            if (st_.houseAspects && firstIsHouse) {
                const int h = house_of(e.first);
                haveA = h > 0;
                if (haveA) a = house_point(h, radius);
            }
            const bool wanted = firstIsHouse ? st_.houseAspects : st_.planetAspects;
            if (wanted && haveA && haveB && passes_filter(e)) line(a, b, penWidth_, penRgb_);
        }
    }

    const ChartState& st_;
    const WheelOptions& o_;
    int rotation_ = 0;
    std::array<int, 13> cuspAngle_{};
    std::array<int, wheel_point::Count> natalAngle_{};
    std::array<int, wheel_point::Count> secondAngle_{};
    std::uint32_t penRgb_ = kBlack;
    int penWidth_ = 1;
    std::vector<WheelStep> out_;
};

}  // namespace

std::vector<WheelStep> wheel_steps(const ChartState& state, const WheelOptions& options) {
    return StepWriter(state, options).run();
}

}  // namespace horalun
