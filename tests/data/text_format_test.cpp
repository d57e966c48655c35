#include "data/text_format.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

namespace horalun {
namespace {

int this_year() {
    const auto now = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    return int(std::chrono::year_month_day{now}.year());
}

TEST(SerialDays, FixedPoints) {
    EXPECT_EQ(serial_from_ymd(1899, 12, 30), 0);
    EXPECT_EQ(serial_from_ymd(1900, 1, 1), 2);
    EXPECT_EQ(serial_from_ymd(2199, 12, 31), 109574);
    EXPECT_EQ(serial_from_ymd(1800, 1, 1), -36522);
    int y, m, d;
    ymd_from_serial(0, y, m, d);
    EXPECT_EQ((std::array{y, m, d}), (std::array{1899, 12, 30}));
    ymd_from_serial(-36522, y, m, d);
    EXPECT_EQ((std::array{y, m, d}), (std::array{1800, 1, 1}));
}

TEST(SerialDays, EveryDayOfTheEphemerisSpanRoundTrips) {
    const int first = serial_from_ymd(1800, 1, 1);
    const int last = serial_from_ymd(2200, 12, 31);
    EXPECT_EQ(last - first + 1, 146462);
    for (int s = first; s <= last; ++s) {
        const std::string text = format_date_text(s);
        const auto back = parse_date_text(text);
        ASSERT_TRUE(back.has_value()) << text;
        ASSERT_EQ(*back, s) << text;
    }
    EXPECT_EQ(format_date_text(first), "1.1.1800");
    EXPECT_EQ(format_date_text(last), "31.12.2200");
    EXPECT_EQ(format_date_text(serial_from_ymd(1966, 4, 24)), "24.4.1966");
}

TEST(DateText, RejectsTextsThatNameNoDate) {
    for (const char* bad : {"31.4.2024",  "29.2.2023", "29.2.1900", "0.1.2000",
                            "32.1.2000",  "1.13.2000", "1.0.2000",  "",
                            " ",          "24",        "24.",       "24.4.",
                            "24.4.1966x", "24-4-1966", "a.b.c",     "24.4.1966 9:03",
                            "123.4.1966", "1.1.0000",  "1.1.19660", "-1.1.2000"})
        EXPECT_FALSE(parse_date_text(bad).has_value()) << '"' << bad << '"';
}

TEST(DateText, AcceptsLeapDaysBlanksAndShortYears) {
    EXPECT_EQ(parse_date_text("29.2.2000"), serial_from_ymd(2000, 2, 29));
    EXPECT_EQ(parse_date_text("29.2.2024"), serial_from_ymd(2024, 2, 29));
    EXPECT_EQ(parse_date_text(" 24 . 4 . 1966 "), serial_from_ymd(1966, 4, 24));
    EXPECT_EQ(parse_date_text("01.04.1966"), serial_from_ymd(1966, 4, 1));
    // "24.4" is this year; "24.4." (separator but no year) names no date.
    EXPECT_EQ(parse_date_text("24.4"), serial_from_ymd(this_year(), 4, 24));
    EXPECT_FALSE(parse_date_text("24.4.").has_value());
    // One- and two-digit years fall in the window from fifty years back to 49 ahead.
    const int y = this_year();
    for (int year : {y - 50, y - 1, y, y + 1, y + 49}) {
        const std::string two = std::to_string(year % 100);
        EXPECT_EQ(parse_date_text("1.1." + two), serial_from_ymd(year, 1, 1)) << two;
    }
    EXPECT_EQ(parse_date_text("1.1.0" + std::to_string((y + 1) % 10)),
              parse_date_text("1.1." + std::to_string((y + 1) % 10)));
}

TEST(DateText, FollowsTheDateSeparator) {
    set_date_separator('/');
    EXPECT_EQ(format_date_text(serial_from_ymd(1966, 4, 24)), "24/4/1966");
    EXPECT_EQ(parse_date_text("24/4/1966"), serial_from_ymd(1966, 4, 24));
    EXPECT_FALSE(parse_date_text("24.4.1966").has_value());
    // A locale separator of several characters is cut to its first non-blank one.
    set_date_separator_from_locale(" - ");
    EXPECT_EQ(date_separator(), '-');
    set_date_separator_from_locale(". ");
    EXPECT_EQ(date_separator(), '.');
    set_date_separator_from_locale("");
    EXPECT_EQ(date_separator(), '.');
}

TEST(TimeText, ParsesHoursMinutesAndSeconds) {
    struct Case {
        const char* text;
        int seconds;  // -1 = rejected
    } cases[] = {
        {"9:03", 9 * 3600 + 180},
        {"9:03:15", 9 * 3600 + 195},
        {"0:0", 0},
        {"9:3", 9 * 3600 + 180},
        {"23:59:59", 86399},
        {"24:00", 86400},  // the clock shifts may produce 24:0
        {"25:00", -1},
        {"9:60", -1},
        {"9:03:60", -1},
        {"9", -1},
        {":03", -1},
        {"9:", -1},
        {"9:03:", -1},
        {"9:03:15:00", -1},
        {"9.03", -1},
        {"", -1},
        {"123:00", -1},
    };
    for (const auto& c : cases) {
        const auto v = parse_time_text(c.text);
        if (c.seconds < 0) {
            EXPECT_FALSE(v.has_value()) << c.text;
        } else {
            ASSERT_TRUE(v.has_value()) << c.text;
            EXPECT_NEAR(*v * 86400.0, c.seconds, 1e-6) << c.text;
        }
    }
}

TEST(TimeText, FormatsRoundedToTheSecond) {
    EXPECT_EQ(format_time_text(0.0), "0:00:00");
    EXPECT_EQ(format_time_text((9 * 3600 + 180) / 86400.0), "9:03:00");
    EXPECT_EQ(format_time_text((9 * 3600 + 180 - 0.4) / 86400.0), "9:03:00");
    EXPECT_EQ(format_time_text(0.5), "12:00:00");
    EXPECT_EQ(format_time_text(86399.0 / 86400.0), "23:59:59");
}

TEST(DateTimeText, RoundTripsAndCarriesIntoTheNextDay) {
    const int day = serial_from_ymd(1966, 4, 24);
    const auto v = parse_date_time_text("24.4.1966 9:03");
    ASSERT_TRUE(v.has_value());
    EXPECT_NEAR(*v, day + (9 * 3600 + 180) / 86400.0, 1e-9);
    EXPECT_EQ(format_date_time_text(*v), "24.4.1966 9:03:00");
    EXPECT_EQ(format_date_time_text(day), "24.4.1966");
    EXPECT_EQ(parse_date_time_text(" 24.4.1966 "), double(day));
    EXPECT_EQ(format_date_time_text(day + 86399.7 / 86400.0), "25.4.1966");
    // Before 30.12.1899 the serial is negative; the time still reads forward from midnight.
    const auto early = parse_date_time_text("1.1.1800 6:00");
    ASSERT_TRUE(early.has_value());
    EXPECT_EQ(format_date_time_text(*early), "1.1.1800 6:00:00");
    EXPECT_EQ(parse_date_time_text("31.12.2200 23:59:59").value(),
              serial_from_ymd(2200, 12, 31) + 86399.0 / 86400.0);
    for (const char* bad : {"24.4.1966 25:00", "24.4.1966 9", "31.4.2024 9:03", "9:03", ""})
        EXPECT_FALSE(parse_date_time_text(bad).has_value()) << bad;
}

TEST(FloatText, ShortestFormAndDecimalSeparator) {
    EXPECT_EQ(format_float_text(0.1), "0.1");
    EXPECT_EQ(format_float_text(-14.25), "-14.25");
    EXPECT_EQ(format_float_text(3.0), "3");
    for (double v : {0.1, 1.0 / 3.0, -123456.789, 1e-7, 2.5e20})
        EXPECT_EQ(parse_float_text(format_float_text(v)), v);
    EXPECT_EQ(parse_float_text(" 2.25 "), 2.25);
    EXPECT_EQ(parse_float_text("+3"), 3.0);

    set_decimal_separator(',');
    EXPECT_EQ(format_float_text(1.5), "1,5");
    EXPECT_EQ(parse_float_text("1,5"), 1.5);
    set_decimal_separator('.');
}

TEST(FloatText, RejectsTextsThatAreNoNumber) {
    for (const char* bad :
         {"", " ", "abc", "1.2.3", "1,5", "12a", "--1", "+", "nan", "inf", "-infinity", "1e400"})
        EXPECT_FALSE(parse_float_text(bad).has_value()) << '"' << bad << '"';
}

}  // namespace
}  // namespace horalun
