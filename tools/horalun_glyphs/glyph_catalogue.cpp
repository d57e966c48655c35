// The list of delivered bitmaps with their sizes, symbols and colours.
#include "tools/horalun_glyphs/glyph_catalogue.h"

#include <array>

namespace horalun {

namespace {

// Wheel glyph boxes: natal glyphs, the small natal and second-chart glyphs, the zodiac ring,
// and the pictures of the table rows.
constexpr int kWheel = 40;
constexpr int kSmall = 30;
constexpr int kRing = 32;
constexpr int kTable = 20;

const QColor kBodyColour(0x1a, 0x2b, 0x6d);   // navy
const QColor kPartColour(0x6a, 0x1b, 0x9a);   // purple: Part of Fortune and the Arabic part
const QColor kAngleColour(0x8b, 0x12, 0x3a);  // wine red: the second chart's angles
const QColor kArrowColour(0x1a, 0x2b, 0x6d);
const std::array<QColor, 4> kElementColour = {
    QColor(0xc6, 0x28, 0x28),  // fire
    QColor(0x2e, 0x7d, 0x32),  // earth
    QColor(0x9a, 0x6a, 0x00),  // air, a dark ochre
    QColor(0x15, 0x65, 0xc0),  // water
};

struct Body {
    const char* name;
    char32_t symbol;
};

// Bodies of the wheel in the order of their point ids, the Part of Fortune last.
constexpr std::array<Body, 15> kBodies = {{
    {"slunce", U'\u2609'},
    {"mesic", U'\u263D'},
    {"merkur", U'\u263F'},
    {"venuse", U'\u2640'},
    {"mars", U'\u2642'},
    {"jupiter", U'\u2643'},
    {"saturn", U'\u2644'},
    {"uran", U'\u2645'},
    {"neptun", U'\u2646'},
    {"pluto", U'\u2647'},
    {"s_uzel", U'\u260A'},
    {"j_uzel", U'\u260B'},
    {"chiron", U'\u26B7'},
    {"lilith", U'\u26B8'},
    {"stesti", U'\u2295'},
}};

// Aries to Pisces; the element cycles fire, earth, air, water.
constexpr std::array<const char*, 12> kSigns = {"beran",   "byk",     "blizenci", "rak",
                                                "lev",     "panna",   "vahy",     "stir",
                                                "strelec", "kozoroh", "vodnar",   "ryby"};

constexpr char32_t kArabicPart = U'\u2297';  // circled times, unlike the Fortune's circled plus
constexpr char32_t kArrow = U'\u27A1';       // heavy rightwards arrow

QString symbol(char32_t code) {
    return QString::fromUcs4(&code, 1);
}

GlyphSpec glyph(const QString& file, int size, char32_t code, const QColor& colour) {
    GlyphSpec spec;
    spec.file = file;
    spec.size = size;
    spec.text = symbol(code);
    spec.colour = colour;
    return spec;
}

}  // namespace

std::vector<GlyphSpec> glyph_catalogue() {
    std::vector<GlyphSpec> list;
    for (const int size : {kWheel, kSmall}) {
        const QString suffix = size == kWheel ? ".bmp" : "1.bmp";
        for (const Body& b : kBodies) {
            const QColor colour = b.symbol == U'\u2295' ? kPartColour : kBodyColour;
            list.push_back(glyph(b.name + suffix, size, b.symbol, colour));
        }
    }
    // The second chart's angles share one letter size, set by the widest word.
    for (const auto& [file, word] : std::array<std::pair<const char*, const char*>, 4>{
             {{"as_c.bmp", "AC"}, {"m_c.bmp", "MC"}, {"des_c.bmp", "DC"}, {"i_c.bmp", "IC"}}}) {
        GlyphSpec spec = glyph(file, kSmall, 0, kAngleColour);
        spec.text = word;
        spec.font = GlyphFont::Bold;
        spec.fitText = "MC";
        spec.fill = 0.87;  // short words read better a little larger than symbols
        list.push_back(spec);
    }
    list.push_back(glyph("otec.bmp", kWheel, kArabicPart, kPartColour));
    list.push_back(glyph("otec1.bmp", kTable, kArabicPart, kPartColour));
    for (const int size : {kRing, kTable}) {
        const QString suffix = size == kRing ? ".bmp" : "_b_20.bmp";
        for (std::size_t i = 0; i < kSigns.size(); ++i) {
            const char32_t code = U'\u2648' + static_cast<char32_t>(i);
            list.push_back(glyph(kSigns[i] + suffix, size, code, kElementColour[i % 4]));
        }
    }
    list.push_back(glyph("slunce_b_20.bmp", kTable, U'\u2609', kBodyColour));
    list.push_back(glyph("mesic_b_20.bmp", kTable, U'\u263D', kBodyColour));
    list.push_back(glyph("sipkad.bmp", kTable, kArrow, kArrowColour));
    GlyphSpec backward = glyph("sipkan.bmp", kTable, kArrow, kArrowColour);
    backward.mirrored = true;
    list.push_back(backward);
    return list;
}

std::vector<int> icon_sizes() {
    return {16, 32, 48, 256};
}

}  // namespace horalun
