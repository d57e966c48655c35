// The texts of an efemeris row: rounding with carry, the retrograde rule, sidereal time, weekday.
#include <gtest/gtest.h>

#include "data/text_format.h"
#include "tools/horalun_data/position_text.h"

namespace horalun {
namespace {

constexpr double kSecond = 1.0 / 3600.0;
constexpr double kMinute = 1.0 / 60.0;

TEST(PositionText, SecondsRoundAndCarryAcrossSigns) {
    const struct {
        double longitude;
        const char* text;
    } cases[] = {
        {0.0, "00a00'00"},
        {33.0 + 21 * kMinute + 57.4 * kSecond, "03b21'57"},
        {33.0 + 21 * kMinute + 57.6 * kSecond, "03b21'58"},
        {29.0 + 59 * kMinute + 59.6 * kSecond, "00b00'00"},  // carry into the next sign
        {59.0 + 59 * kMinute + 59.6 * kSecond, "00c00'00"},
        {359.0 + 59 * kMinute + 59.7 * kSecond, "00a00'00"},  // carry over 0 degrees Aries
        {345.5, "15l30'00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(seconds_position_text(c.longitude), c.text) << c.longitude;
}

TEST(PositionText, MinutesRoundCarryAndMarkRetrograde) {
    const struct {
        double longitude;
        bool retrograde;
        const char* text;
    } cases[] = {
        {29.0 + 59.7 * kMinute, false, "00b00"},  {29.0 + 59.4 * kMinute, false, "29a59"},
        {359.0 + 59.7 * kMinute, true, "00a00R"}, {359.0 + 59.4 * kMinute, false, "29l59"},
        {100.0 + 0.6 * kMinute, false, "10d01"},  {215.25, true, "05h15R"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(minutes_position_text(c.longitude, c.retrograde), c.text) << c.longitude;
}

TEST(PositionText, RetrogradeFollowsTheShortWayRound) {
    EXPECT_TRUE(moves_backward(10.5, 10.4));
    EXPECT_FALSE(moves_backward(10.4, 10.5));
    EXPECT_FALSE(moves_backward(10.4, 10.4));           // standing still is direct
    EXPECT_TRUE(moves_backward(0.1, 359.9));            // backward across 0 degrees Aries
    EXPECT_FALSE(moves_backward(359.9, 0.1));           // forward across 0 degrees Aries
    EXPECT_TRUE(moves_backward(359.9 + 360.0, 359.8));  // unnormalised input
}

TEST(PositionText, SiderealTimeRoundsToTheSecondAndWraps) {
    EXPECT_EQ(sidereal_time_text(14.0 + 6.0 / 60 + 18.4 / 3600), "14:06:18");
    EXPECT_EQ(sidereal_time_text(14.0 + 6.0 / 60 + 18.6 / 3600), "14:06:19");
    EXPECT_EQ(sidereal_time_text(0.0), "00:00:00");
    EXPECT_EQ(sidereal_time_text(24.0 - 0.4 / 3600), "00:00:00");
    EXPECT_EQ(sidereal_time_text(23.0 + 59.0 / 60 + 59.4 / 3600), "23:59:59");
}

TEST(PositionText, WeekdayLetters) {
    EXPECT_EQ(weekday_letter(serial_from_ymd(1800, 1, 1)), "S");    // Wednesday
    EXPECT_EQ(weekday_letter(serial_from_ymd(1899, 12, 30)), "S");  // Saturday, serial 0
    EXPECT_EQ(weekday_letter(serial_from_ymd(1966, 4, 24)), "N");   // Sunday
    EXPECT_EQ(weekday_letter(serial_from_ymd(2024, 3, 25)), "P");   // Monday
    EXPECT_EQ(weekday_letter(serial_from_ymd(2024, 3, 26)), "Ú");
    EXPECT_EQ(weekday_letter(serial_from_ymd(2024, 3, 28)), "Č");
    EXPECT_EQ(weekday_letter(serial_from_ymd(2024, 3, 29)), "P");  // Friday
}

}  // namespace
}  // namespace horalun
