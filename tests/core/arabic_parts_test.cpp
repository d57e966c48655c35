#include "core/arabic_parts.h"

#include <gtest/gtest.h>

namespace horalun {
namespace {

TEST(SunBelowHorizon, WalksFromAscendantToDescendant) {
    struct Case {
        double asc, desc, sun;
        bool night;
    } cases[] = {
        {100.0, 280.0, 100.0, true},   // on the ascendant: night
        {100.0, 280.0, 100.04, true},  // the same to one decimal
        {100.0, 280.0, 280.0, false},  // on the descendant: day
        {100.0, 280.0, 279.94, true},  // just above it in tenths
        {100.0, 280.0, 99.9, false},   // just above the ascendant
        {100.0, 280.0, 190.0, true},   // at the IC
        {100.0, 280.0, 10.0, false},   // at the MC
        {300.0, 120.0, 359.93, true},  // the walk passes 360 and starts again at 0
        {300.0, 120.0, 30.0, true},    //
        {300.0, 120.0, 200.0, false},  //
        {180.0, 360.0, 270.0, true},   // DESC written as 360
    };
    for (const auto& c : cases) {
        for (bool second : {false, true}) {
            ChartState s;
            s.nightBirth = s.transitNightBirth = true;
            sun_below_horizon(s, c.asc, c.desc, c.sun, second);
            EXPECT_EQ(second ? s.transitNightBirth : s.nightBirth, c.night)
                << c.asc << " " << c.desc << " " << c.sun;
            EXPECT_FALSE(second ? s.nightBirth : s.transitNightBirth);
        }
    }
}

TEST(SunBelowHorizon, RoundsTiesToEven) {
    // 100.25 and 100.35 are exact halves in tenths: they round to 100.2 and 100.4.
    ChartState s;
    sun_below_horizon(s, 100.25, 280.0, 100.2, false);
    EXPECT_TRUE(s.nightBirth);
    // A descendant of 100.25 reads 100.2 too, and the descendant is tested first.
    sun_below_horizon(s, 280.0, 100.25, 100.2, false);
    EXPECT_FALSE(s.nightBirth);
}

// ASC 100, Sun 30, Moon 250: by day 100 + 250 - 30 = 320, by night 100 + 30 - 250 = -120 -> 240.
ChartState fortune_chart() {
    ChartState s;
    s.cusp[1] = 100;
    s.natalLon[PointKey::slunce] = 30;
    s.natalLon[PointKey::mesic] = 250;
    s.transitAngle = {100, 0, 0, 0};
    s.transitLon[PointKey::slunce] = 30;
    s.transitLon[PointKey::mesic] = 250;
    return s;
}

TEST(FortunePart, NightFormulaOnlyWhenWanted) {
    struct Case {
        bool useNight, night;
        double value;
    } cases[] = {{true, false, 320}, {true, true, 240}, {false, true, 320}, {false, false, 320}};
    for (const auto& c : cases) {
        ChartState s = fortune_chart();
        s.useNightFormula = c.useNight;
        s.nightBirth = c.night;
        EXPECT_EQ(part_of_fortune(s, false), c.value);
        EXPECT_EQ(s.natalLon[PointKey::stesti], c.value);
        EXPECT_EQ(s.transitLon[PointKey::stesti], 0);
    }
}

TEST(FortunePart, SecondChartSwapsAtNightWhateverTheSetting) {
    ChartState s = fortune_chart();
    s.cusp[1] = 0;  // the natal ASC must not be used
    s.useNightFormula = false;
    s.transitNightBirth = true;
    EXPECT_EQ(part_of_fortune(s, true), 240);
    EXPECT_EQ(s.transitLon[PointKey::stesti], 240);
    EXPECT_EQ(s.natalLon[PointKey::stesti], 0);
    s.transitNightBirth = false;
    s.nightBirth = true;  // the natal flag does not count for the second chart
    EXPECT_EQ(part_of_fortune(s, true), 320);
}

TEST(FortunePart, ReducesOnceEachWay) {
    ChartState s = fortune_chart();
    s.cusp[1] = 350;
    s.natalLon[PointKey::mesic] = 40;  // 350 + 40 - 30 = 360 stays 360
    EXPECT_EQ(part_of_fortune(s, false), 360);
    s.natalLon[PointKey::mesic] = 45;
    EXPECT_EQ(part_of_fortune(s, false), 5);
}

// Distinct longitudes so that every term of every formula shows in the result.
ChartState parts_chart() {
    ChartState s;
    s.cusp[1] = 100;
    s.cusp[8] = 140;
    s.cusp[10] = 10;
    const std::pair<PointKey, double> bodies[] = {{PointKey::slunce, 1},   {PointKey::mesic, 2},
                                                  {PointKey::merkur, 4},   {PointKey::venuse, 8},
                                                  {PointKey::mars, 16},    {PointKey::jupiter, 32},
                                                  {PointKey::saturn, 64},  {PointKey::uran, 128},
                                                  {PointKey::neptun, 256}, {PointKey::pluto, 0.5}};
    for (auto [key, lon] : bodies) s.natalLon[key] = lon;
    return s;
}

TEST(ArabicParts, FormulasByDayAndNight) {
    struct Case {
        int part;
        double day, night;
    } cases[] = {
        {1, 100 + 64 - 1, 100 + 1 - 64},
        {2, 100 + 2 - 8, 100 + 8 - 2},
        {3, 100 + 32 - 64, 100 + 64 - 32},
        {4, 100 + 64 - 32, 100 + 32 - 64},
        {5, 100 + 2 - 64, 100 + 64 - 2},
        {6, 100 + 16 - 64, 100 + 64 - 16},
        {7, 100 + 8 - 1, 100 + 1 - 8},
        {8, 100 + 4 - 2, 100 + 2 - 4},
        {9, 100 + 2 - 4, 100 + 4 - 2},
        {10, 100 + 32 - 1, 100 + 1 - 32},
        {11, 100 + 16 - 32, 100 + 32 - 16},
        {12, 10 + 2 - 1, 10 + 1 - 2},
        {13, 100 + 4 - 128 + 360, 100 + 128 - 4},
        {14, 100 + 256 - 128, 100 + 128 - 256 + 360},
    };
    for (const auto& c : cases) {
        ChartState s = parts_chart();
        s.arabicPart = c.part;
        EXPECT_EQ(arabic_part(s), c.day) << c.part;
        EXPECT_EQ(s.natalLon[arabic_part_key(c.part)], c.day) << c.part;
        s.nightBirth = true;
        EXPECT_EQ(arabic_part(s), c.night) << c.part;
        s.useNightFormula = false;
        EXPECT_EQ(arabic_part(s), c.day) << c.part;
    }
}

TEST(ArabicParts, PartOfDeathVariants) {
    struct Case {
        int variant;
        std::string eighth;
        double day, night;
    } cases[] = {
        {1, "", 100 + 140 - 2, 100 + 140 - 2},
        {2, "", 100 + 140 - 2, 100 + 2 - 140 + 360},
        {3, "", 100 + 0.5 - 2, 100 + 2 - 0.5},
        {4, "Štír", 100 + 0.5 - 2, 100 + 2 - 0.5},          // Pluto rules
        {4, "Vodnář", 100 + 128 - 2, 100 + 2 - 128 + 360},  // Uranus rules
        {4, "Rak", 100 + 2 - 2, 100 + 2 - 2},               // the Moon rules
        {4, "", 100 + 0 - 2, 100 + 2 - 0},
        {4, "nic", 100 + 0 - 2, 100 + 2 - 0},
    };
    for (const auto& c : cases) {
        ChartState s = parts_chart();
        s.arabicPart = 15;
        s.deathVariant = c.variant;
        s.eighthCuspSign = c.eighth;
        EXPECT_EQ(arabic_part(s), c.day) << c.variant << " " << c.eighth;
        EXPECT_EQ(s.natalLon[PointKey::arab_smrt], c.day);
        s.nightBirth = true;
        EXPECT_EQ(arabic_part(s), c.night) << c.variant << " " << c.eighth;
    }
}

TEST(ArabicParts, NoPartChosenWritesNothing) {
    ChartState s = parts_chart();
    const auto before = s.natalLon.values;
    for (int part : {0, 16, -1}) {
        s.arabicPart = part;
        EXPECT_EQ(arabic_part(s), 0);
        EXPECT_EQ(s.natalLon.values, before);
    }
}

TEST(ArabicParts, NamesCaptionsAndBodies) {
    EXPECT_EQ(arabic_part_key(1), PointKey::arab_otec);
    EXPECT_EQ(arabic_part_key(15), PointKey::arab_smrt);
    EXPECT_EQ(arabic_part_caption(3), "Souro.:");
    EXPECT_EQ(arabic_part_caption(15), "Smrt:");
    EXPECT_EQ(arabic_part_short_name(9), "Bod vzděl.");
    EXPECT_EQ(arabic_part_short_name(15), "Bod smrti");
    EXPECT_EQ(arabic_part_chooser_caption(12, 1), "Bod povol&ání (Desátý, Měsíc, Slunce)");
    EXPECT_EQ(arabic_part_chooser_caption(15, 2),
              "Bod smrti netradi&ční (denní / noční zrození) í (Asc, osmý Měsíc)");
    EXPECT_EQ(arabic_part_chooser_caption(15, 4),
              "Bod smrti netradiční (vládce osmého místo osmého a den. / noč.) (Asc, regent "
              "osmého, Měsíc)");

    using V = std::vector<PointKey>;
    EXPECT_EQ(arabic_part_bodies(0, 1), (V{PointKey::slunce, PointKey::mesic}));
    EXPECT_EQ(arabic_part_bodies(3, 1), (V{PointKey::jupiter, PointKey::saturn}));
    EXPECT_EQ(arabic_part_bodies(12, 1), (V{PointKey::mesic, PointKey::slunce}));
    EXPECT_EQ(arabic_part_bodies(15, 2), (V{PointKey::mesic}));
    EXPECT_EQ(arabic_part_bodies(15, 3), (V{PointKey::mesic, PointKey::pluto}));
    EXPECT_EQ(arabic_part_bodies(15, 4), (V{PointKey::mesic}));
}

}  // namespace
}  // namespace horalun
