#include <gtest/gtest.h>

#include "core/ephemeris.h"
#include "core/notation.h"
#include "core/points.h"
#include "core/zodiac.h"

namespace horalun {
namespace {

size_t utf8_chars(std::string_view s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

TEST(SignPosition, TruncatesAndSplitsAtSignBoundaries) {
    struct Case {
        double lon;
        const char* sign;
        const char* text;
    } cases[] = {
        {59.99, "Býk", "29° 59'"},
        {60.0, "Blíženci", "0° 00'"},
        {0.0, "Beran", "0° 00'"},
        {29.9999, "Beran", "29° 59'"},
        {360.0, "Beran", "0° 00'"},
        {345.5, "Ryby", "15° 30'"},
        {120.0 + 5.0 / 60 + 0.001, "Lev", "0° 05'"},
        // 56°39' from whole arc seconds is 56.6499999... in binary: still 39 minutes.
        {203940 / 3600.0, "Býk", "26° 39'"},
    };
    for (const auto& c : cases) {
        ChartState st;
        sign_of_longitude(st, c.lon);
        EXPECT_EQ(st.signText, c.sign) << c.lon;
        EXPECT_EQ(st.positionText, c.text) << c.lon;
    }
}

TEST(SignPosition, CuspKeepsSignAndWithinSignValue) {
    ChartState st;
    double lon = 275.25;
    sign_of_cusp(st, lon);
    EXPECT_EQ(st.cuspSign, "Kozoroh");
    EXPECT_DOUBLE_EQ(lon, 5.25);
}

TEST(Notation, PositionAndClockTexts) {
    EXPECT_EQ(format_position(0, 5), "0° 05'");
    EXPECT_EQ(format_position(3, 41, true), "3° 41' R ");
    EXPECT_EQ(format_clock_time(8, 5), "8:5");
    EXPECT_EQ(format_clock_time(0, 0), "0:0");
}

TEST(Notation, ParseClockTime) {
    ChartState st;
    auto t = parse_clock_time(st, "9:03");
    ASSERT_TRUE(t);
    EXPECT_EQ(st.hours, 9);
    EXPECT_EQ(st.minutes, 3);
    EXPECT_EQ(st.clockSeconds, 9 * 3600 + 180);
    // No range check here: the shifted clock "24:0" parses.
    EXPECT_EQ(parse_clock_time("24:0")->seconds(), 24 * 3600);
    // Every ":" only counts; later digits keep going to the minutes.
    EXPECT_EQ(parse_clock_time("1:2:3")->minutes, 23);
    EXPECT_FALSE(parse_clock_time("9:"));
    EXPECT_FALSE(parse_clock_time("x9:00"));
}

TEST(Notation, ClockTimeValidity) {
    for (const char* ok : {"23:59", "0:0", "9:03", "00:00"})
        EXPECT_TRUE(clock_time_valid(ok)) << ok;
    for (const char* bad : {"24:00", "9:60", ":30", "9:", "930", "", "a:10"})
        EXPECT_FALSE(clock_time_valid(bad)) << bad;
}

TEST(Notation, ParseCoordinate) {
    auto lon = parse_coordinate("14E25", false);
    ASSERT_TRUE(lon);
    EXPECT_EQ(lon->hemisphere, 'E');
    EXPECT_EQ(lon->degrees, 14);
    EXPECT_EQ(lon->minutes, 25);
    EXPECT_NEAR(lon->signedValue(), 14 + 25 / 60.0, 1e-12);

    auto west = parse_coordinate("74W00", false);
    ASSERT_TRUE(west);
    EXPECT_EQ(west->hemisphere, 'W');
    EXPECT_LT(west->signedValue(), 0);

    auto lat = parse_coordinate("33S52", true);
    ASSERT_TRUE(lat);
    EXPECT_EQ(lat->hemisphere, 'S');
    EXPECT_NEAR(lat->signedValue(), -(33 + 52 / 60.0), 1e-12);

    // Both letters: the later search ("W") wins and the "E" is then an invalid digit.
    EXPECT_FALSE(parse_coordinate("1E2W3", false));
    EXPECT_FALSE(parse_coordinate("1425", false));
}

TEST(Zodiac, NeighboursOppositesAndBases) {
    EXPECT_EQ(next_sign("Ryby"), "Beran");
    EXPECT_EQ(previous_sign("Beran"), "Ryby");
    EXPECT_EQ(next_sign("Rak"), "Lev");
    EXPECT_EQ(opposite_sign("Štír"), "Býk");
    EXPECT_EQ(sign_base("Kozoroh"), 270);
    EXPECT_EQ(sign_base(""), 0);
    EXPECT_EQ(sign_base("Hadonoš"), 0);
    EXPECT_EQ(next_sign("Hadonoš"), "");
    for (const auto& s : zodiac_signs()) {
        EXPECT_EQ(s.start, s.index * 30);
        EXPECT_EQ(s.letter, 'a' + s.index);
        EXPECT_EQ(opposite_sign(s.opposite), s.name);
        EXPECT_EQ(sign_index(s.name), s.index);
    }
}

TEST(Zodiac, EachSignCountsOneElementQualityAndPolarity) {
    std::array<int, 9> counts{};
    for (const auto& s : zodiac_signs())
        for (int c : element_counters(s)) ++counts[c];
    EXPECT_EQ(counts, (std::array<int, 9>{3, 3, 3, 3, 4, 4, 4, 6, 6}));
    EXPECT_EQ(element_counters(zodiac_signs()[3]),
              (std::array<int, 3>{kWater, kCardinal, kMagnetic}));
}

TEST(Points, KeysAndOutputNames) {
    for (int i = 0; i < kPointKeyCount; ++i) {
        const PointKey k = PointKey(i);
        EXPECT_EQ(point_key_from_text(point_key_text(k)), k);
        const size_t expected = k == PointKey::dum1_tranz   ? 11
                                : k == PointKey::dum7_tranz ? 12
                                                            : 10;
        EXPECT_EQ(utf8_chars(aspect_line_name(k)), expected) << point_key_text(k);
    }
    EXPECT_EQ(aspect_line_name(PointKey::dum7_tranz), "DESC. par.  ");
    EXPECT_EQ(aspect_line_name(PointKey::dum3), "3. dům    ");
    EXPECT_EQ(natal_cusp_name(1), "Ascendent");
    EXPECT_EQ(natal_cusp_name(10), "Medium Coeli");
    EXPECT_EQ(natal_cusp_name(11), "11. dům");
    EXPECT_FALSE(point_key_from_text("Slunce"));
    EXPECT_EQ(body_class(PointKey::mesic), BodyClass::Light);
    EXPECT_EQ(body_class(PointKey::mars), BodyClass::Inner);
    EXPECT_EQ(body_class(PointKey::stesti), BodyClass::Outer);
}

TEST(PositionText, ParsesEveryForm) {
    auto sun = parse_position_text("03b41'23");
    EXPECT_EQ(sun.signName(), "Býk");
    EXPECT_EQ(sun.withinSign(), 3 * 3600 + 41 * 60 + 23);
    EXPECT_FALSE(sun.retrograde);

    auto mars = parse_position_text("02h10R");
    EXPECT_EQ(mars.signName(), "Štír");
    EXPECT_EQ(mars.withinSign(), 2 * 3600 + 600);
    EXPECT_TRUE(mars.retrograde);

    // "X" stands in the sign letter's place: retrograde, the previous sign is kept.
    auto x = parse_position_text("12X30", 4);
    EXPECT_TRUE(x.retrograde);
    EXPECT_EQ(x.signName(), "Lev");
    EXPECT_EQ(x.minutes, 30);

    auto partial = parse_position_text("7c");
    EXPECT_EQ(partial.withinSign(), 7 * 3600);
    EXPECT_EQ(parse_position_text("").withinSign(), 0);
}

TEST(SouthNode, OppositeTheNorthNodeWithTheSameText) {
    ChartState st;
    st.natalLon[PointKey::s_uzel] = 350.5;
    st.currentSign = "Ryby";
    st.positionText = "20° 30' R ";
    south_node(st);
    EXPECT_DOUBLE_EQ(st.natalLon[PointKey::j_uzel], 170.5);
    EXPECT_EQ(st.currentSign, "Panna");
    EXPECT_EQ(st.positionText, "20° 30' R ");

    st.natalLon[PointKey::s_uzel] = 180.0;
    south_node(st);
    EXPECT_DOUBLE_EQ(st.natalLon[PointKey::j_uzel], 360.0);
}

}  // namespace
}  // namespace horalun
