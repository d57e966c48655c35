#include <gtest/gtest.h>

#include "core/ephemeris.h"
#include "tests/core/ephemeris_fixture.h"

namespace horalun {
namespace {

using testing::EphemerisFixture;

struct Computed {
    double longitude;
    std::string sign, text;
    bool retro;
    int recNoAfter;
};

// Positions `key` on the fixture's first day at `clock` and reports what body_position left.
Computed compute(EphemerisFixture& fx, PointKey key, const std::string& clock, int row = 0) {
    Cursor& c = fx.cursor();
    c.first();
    c.moveTo(row);
    ChartState st;
    st.currentKey = key;
    st.timeText = clock;
    st.fieldText = ephemeris_text(c, key);
    const double lon = body_position(st, c);
    EXPECT_DOUBLE_EQ(st.natalLon[key], lon);
    return {lon, st.currentSign, st.positionText, st.dayRetrograde, c.recNo()};
}

TEST(BodyPosition, SunCrossingIntoTheNextSign) {
    // 3550" a day; at 12 h UT the Sun has moved 1775" and stands 1175" into Býk.
    EphemerisFixture fx(2000, 4, 19, {{{"slunce", "29a50'00"}}, {{"slunce", "00b49'10"}}});
    const auto r = compute(fx, PointKey::slunce, "13:00");
    EXPECT_EQ(r.sign, "Býk");
    EXPECT_EQ(r.text, "0° 19'");
    EXPECT_NEAR(r.longitude, 30 + 1175 / 3600.0, 1e-12);
    EXPECT_EQ(r.recNoAfter, 0);
}

TEST(BodyPosition, RetrogradeCases) {
    struct Case {
        const char* today;
        const char* tomorrow;
        const char* sign;
        const char* text;
        double longitude;
    } cases[] = {
        // Moving back inside a sign: halfway between 2°10' and 1°50'.
        {"02h10R", "01h50R", "Štír", "2° 00' R ", 212.0},
        // Moving back across a sign boundary: 0°05' Býk to 29°55' Beran is 600" a day.
        {"00b05R", "29a55R", "Býk", "0° 00' R ", 30.0},
        // A direct planet moving on into the next sign.
        {"29c50", "00d10", "Rak", "0° 00'", 90.0},
    };
    for (const auto& c : cases) {
        EphemerisFixture fx(1990, 1, 1, {{{"mars", c.today}}, {{"mars", c.tomorrow}}});
        const auto r = compute(fx, PointKey::mars, "13:00");
        EXPECT_EQ(r.sign, c.sign) << c.today;
        EXPECT_EQ(r.text, c.text) << c.today;
        EXPECT_NEAR(r.longitude, c.longitude, 1e-12) << c.today;
        EXPECT_EQ(r.retro, std::string(c.today).back() == 'R');
    }
}

TEST(BodyPosition, RetrogradeStepBackAcrossTheSignStart) {
    // 0°02' Býk going back 600" a day: at 12 h it stands at 29°57' Beran.
    EphemerisFixture fx(1990, 1, 1, {{{"venuse", "00b02R"}}, {{"venuse", "29a52R"}}});
    const auto r = compute(fx, PointKey::venuse, "13:00");
    EXPECT_EQ(r.sign, "Beran");
    EXPECT_EQ(r.text, "29° 57' R ");
    EXPECT_NEAR(r.longitude, 29 + 57 / 60.0, 1e-12);
}

TEST(BodyPosition, ClockBeforeOneAndAfterMidnightShift) {
    // The Moon moves 12° a day = 1800" an hour.
    EphemerisFixture fx(1966, 4, 24, {{{"mesic", "10e00"}}, {{"mesic", "22e00"}}});
    // 0:30 CET is half an hour before 0 h UT.
    auto early = compute(fx, PointKey::mesic, "0:30");
    EXPECT_NEAR(early.longitude, 130.0 - 900 / 3600.0, 1e-12);
    EXPECT_EQ(early.text, "9° 45'");
    // 24:0 after a summer-time shift is 23 h UT of the same day.
    auto late = compute(fx, PointKey::mesic, "24:0");
    EXPECT_NEAR(late.longitude, 130.0 + 23 * 0.5, 1e-12);
}

TEST(BodyPosition, LastRowKeepsTheDayPositionAndTheRow) {
    EphemerisFixture fx(2200, 12, 30, {{{"merkur", "10a00"}}, {{"merkur", "11a30"}}});
    const auto r = compute(fx, PointKey::merkur, "18:00", 1);
    EXPECT_EQ(r.text, "11° 30'");
    EXPECT_EQ(r.recNoAfter, 1);
    EXPECT_FALSE(fx.cursor().bof());
}

TEST(BodyPosition, WritesTheSecondChartWhileStoringTransits) {
    EphemerisFixture fx(2000, 1, 1, {{{"pluto", "11i00"}}, {{"pluto", "11i02"}}});
    Cursor& c = fx.cursor();
    ChartState st;
    st.storeTransit = true;
    st.currentKey = PointKey::pluto;
    st.timeText = "1:00";
    st.fieldText = ephemeris_text(c, PointKey::pluto);
    body_position(st, c);
    EXPECT_DOUBLE_EQ(st.transitLon[PointKey::pluto], 251.0);
    EXPECT_DOUBLE_EQ(st.natalLon[PointKey::pluto], 0.0);
}

TEST(DailyMotions, AbsoluteDifferencesAcrossAries) {
    EphemerisFixture fx(
        2000, 1, 1,
        {{{"slunce", "10j00'40"}, {"mesic", "05a10"}, {"merkur", "20c00"}, {"pluto", "29l40"}},
         {{"slunce", "11j01'10"}, {"mesic", "18a25"}, {"merkur", "18c45R"}, {"pluto", "00a20"}}});
    ChartState st;
    std::string moon, mercury;
    daily_motions(st, fx.cursor(), moon, mercury);
    // Seconds above 30 round the minute up: 10°01' to 11°01'.
    EXPECT_DOUBLE_EQ(st.dailyMotion[PointKey::slunce], 1.0);
    EXPECT_DOUBLE_EQ(st.dailyMotion[PointKey::mesic], 13.25);
    EXPECT_DOUBLE_EQ(st.dailyMotion[PointKey::merkur], 1.25);
    EXPECT_NEAR(st.dailyMotion[PointKey::pluto], 40 / 60.0, 1e-12);
    EXPECT_EQ(moon, "13° 15'");
    EXPECT_EQ(mercury, "1° 15'");
    EXPECT_EQ(fx.cursor().recNo(), 0);
}

}  // namespace
}  // namespace horalun
