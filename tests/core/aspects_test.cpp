#include <gtest/gtest.h>

#include "core/aspects.h"

namespace horalun {
namespace {

TEST(AspectKind, OrbsReflectionsAndOrder) {
    struct Case {
        double a, b;
        int other, conj;
        const char* kind;
        double d;
    } cases[] = {
        {359, 1, 4, 3, "konjunkce ", 2},    // across 0° Aries
        {10, 280, 0, 0, "kvadratura", 90},  // 270 reflects to 90
        {0, 117.9, 8, 10, "trigon    ", 117.9}, {0, 185, 8, 10, "opozice   ", 175},
        {100, 100, 8, 10, "konjunkce ", 0},     {0, 45, 8, 10, "0", 45},
        {0, 70, 20, 10, "sextil    ", 70},  // overlapping orbs: the sextile replaces the square
        {0, 100, 20, 10, "trigon    ", 100},
    };
    for (const auto& c : cases) {
        const AspectKind k = aspect_kind(c.a, c.b, c.other, c.conj);
        EXPECT_EQ(k.name, c.kind) << c.a << " " << c.b;
        EXPECT_NEAR(k.d, c.d, 1e-9) << c.a << " " << c.b;
    }
}

TEST(AspectOrbs, SetFollowsTheClassesOfBothPoints) {
    using P = PointKey;
    struct Case {
        P a, b;
        int set;
    } cases[] = {
        {P::slunce, P::mesic, 0},          {P::mesic, P::venuse, 1}, {P::merkur, P::slunce, 1},
        {P::slunce, P::pluto, 2},          {P::stesti, P::mesic, 2}, {P::mars, P::venuse, 3},
        {P::mars, P::s_uzel, 4},           {P::dum1, P::merkur, 4},  {P::chiron, P::lilith, 5},
        {P::arab_smrt, P::dum10_tranz, 5},
    };
    for (const auto& c : cases) EXPECT_EQ(orb_set_of_pair(c.a, c.b), c.set);
}

TEST(AspectMark, LetterRule) {
    const AspectKind trine{"trigon    ", 120.0, 120.0};
    EXPECT_EQ(aspect_mark(trine, 120.2, false), 'A');  // exact and growing: applying
    EXPECT_EQ(aspect_mark(trine, 119.8, false), 'S');
    const AspectKind below{"trigon    ", 117.9, 120.0};
    EXPECT_EQ(aspect_mark(below, 118.0, false), 'A');  // growing towards 120
    EXPECT_EQ(aspect_mark(below, 117.8, false), 'S');
    const AspectKind above{"opozice   ", 178.0, 180.0};
    EXPECT_EQ(aspect_mark(above, 177.9, false), 'S');  // 178 is below 180: moving away
    const AspectKind conj{"konjunkce ", 1.5, 0.0};
    EXPECT_EQ(aspect_mark(conj, 1.4, false), 'A');
    EXPECT_EQ(aspect_mark(conj, 1.6, false), 'S');
    EXPECT_EQ(aspect_mark(conj, 1.4, true), 'S');   // vanished at the last step
    EXPECT_EQ(aspect_mark(conj, 1.5, false), 'S');  // never changed: as d1 = d0
    EXPECT_EQ(aspect_mark(below, 117.9, false), 'A');
}

TEST(AspectLine, DeviationField) {
    EXPECT_EQ(deviation_field(-0.5), "-0°30' ");
    EXPECT_EQ(deviation_field(-(2 + 5 / 60.0)), "-2°05' ");
    EXPECT_EQ(deviation_field(1 + 8.5 / 60), " 1°08' ");
    EXPECT_EQ(deviation_field(10.25), " 10°15'");
    EXPECT_EQ(deviation_field(0), " 0°00' ");
}

}  // namespace
}  // namespace horalun
