#include "core/chart_input.h"

#include "tests/core/chart_session_fixture.h"

namespace horalun {
namespace {

using testing::ChartSessionTest;

class ChartInput : public ChartSessionTest {};

TEST_F(ChartInput, ValidationOrderMessagesAndFocus) {
    struct Case {
        const char* date;
        const char* time;
        const char* lon;
        const char* lat;
        std::string_view message;
        InputField focus;
    } cases[] = {
        {"31.4.1966", "25:99", "E14", "N50", kBadDateMessage, InputField::NatalDate},
        {"1.1.1799", "25:99", "E14", "N50", kDateNotFoundMessage, InputField::NatalDate},
        {"24.4.1966", "24:00", "E14", "N50", kBadTimeMessage, InputField::NatalTime},
        {"24.4.1966", "9:60", "14", "N50", kBadTimeMessage, InputField::NatalTime},
        {"24.4.1966", ":30", "14", "N50", kBadTimeMessage, InputField::NatalTime},
        {"24.4.1966", "930", "14", "N50", kBadTimeMessage, InputField::NatalTime},
        {"24.4.1966", "23:59", "14E", "N50", kBadLongitudeMessage, InputField::NatalLon},
        {"24.4.1966", "23:59", "1425", "N50", kBadLongitudeMessage, InputField::NatalLon},
        {"24.4.1966", "23:59", "14E25", "50N", kBadLatitudeMessage, InputField::NatalLat},
        // Out of range: minutes of 60 or more, beyond 180° of longitude or 90° of latitude.
        {"24.4.1966", "23:59", "14E60", "50N05", kBadLongitudeMessage, InputField::NatalLon},
        {"24.4.1966", "23:59", "180W01", "50N05", kBadLongitudeMessage, InputField::NatalLon},
        {"24.4.1966", "23:59", "14E25", "90S01", kBadLatitudeMessage, InputField::NatalLat},
    };
    for (const auto& c : cases) {
        prompter.messages.clear();
        natal(c.date, c.time, c.lon, c.lat);
        const CalculationResult r = calculate();
        EXPECT_EQ(r.status, CalculationResult::Status::Invalid) << c.date << " " << c.time;
        EXPECT_EQ(r.focus, c.focus) << c.date << " " << c.time;
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0], c.message);
        EXPECT_FALSE(st().calculating);
    }
    // Nothing is written for an invalid chart.
    EXPECT_FALSE(file_exists("aspekty.txt"));
    EXPECT_FALSE(file_exists("uhly_prvku.txt"));

    // The second chart's checks come after the natal ones, with its own focus.
    natal("24.4.1966", "9:03");
    transit("24.4.1966", "9:03", "14W", "50N05");
    prompter.messages.clear();
    const CalculationResult r = calculate();
    EXPECT_EQ(r.focus, InputField::TransitLon);
    EXPECT_EQ(prompter.messages.at(0), kBadLongitudeMessage);
}

TEST_F(ChartInput, AutomaticSummerTimeTicksAndClears) {
    st().dstMode = '3';
    natal("24.7.2024", "12:00");
    ASSERT_TRUE(calculate().ok());
    EXPECT_TRUE(in().box(Box::NatalSummer));
    EXPECT_TRUE(prompter.questions.empty());
    // The inputs show the time as entered; the chart was computed for 11:00 CET.
    EXPECT_EQ(in().text(InputField::NatalTime), "12:00");
    const double moonSummer = st().natalLon[PointKey::mesic];

    natal("24.1.2024", "12:00");
    ASSERT_TRUE(calculate().ok());
    EXPECT_FALSE(in().box(Box::NatalSummer));

    // The same moment given as standard time without the lookup.
    st().dstMode = '1';
    natal("24.7.2024", "11:00");
    ASSERT_TRUE(calculate().ok());
    EXPECT_DOUBLE_EQ(st().natalLon[PointKey::mesic], moonSummer);
}

TEST_F(ChartInput, ModeTwoAsksAndModeOneReadsNothing) {
    st().dstMode = '2';
    natal("1.12.1946", "12:00");  // the winter time of 1946/47
    prompter.answers = {false};
    ASSERT_TRUE(calculate().ok());
    EXPECT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0], kDstQuestion);
    EXPECT_FALSE(in().box(Box::NatalWinter));

    st().natalDstSettled = false;
    prompter.answers = {true};
    ASSERT_TRUE(calculate().ok());
    EXPECT_TRUE(in().box(Box::NatalWinter));

    // A hand-ticked box stays in mode 1.
    st().dstMode = '1';
    prompter.questions.clear();
    natal("24.1.2024", "12:00");
    in().setBox(Box::NatalSummer, true);
    ASSERT_TRUE(calculate().ok());
    EXPECT_TRUE(in().box(Box::NatalSummer));
    EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(ChartInput, ClockShiftsAcrossMidnight) {
    struct Case {
        const char* date;
        const char* time;
        bool back;
        const char* newDate;
        const char* newTime;
    } cases[] = {
        {"24.7.2024", "0:30", true, "23.7.2024", "23:30"},
        {"1.3.2024", "1:00", true, "29.2.2024", "24:0"},
        {"24.7.2024", "12:05", true, "24.7.2024", "11:5"},
        {"31.12.1946", "23:30", false, "1.1.1947", "0:30"},
        {"24.1.1947", "22:59", false, "24.1.1947", "23:59"},
    };
    for (const auto& c : cases) {
        natal(c.date, c.time);
        if (c.back)
            shift_clock_back_one_hour(st(), in(), false);
        else
            shift_clock_forward_one_hour(st(), in(), false);
        EXPECT_EQ(in().text(InputField::NatalDate), c.newDate) << c.date << " " << c.time;
        EXPECT_EQ(in().text(InputField::NatalTime), c.newTime) << c.date << " " << c.time;
        EXPECT_EQ(st().dateText, c.newDate);
    }
    EXPECT_EQ(year_of_date("24.4.1966"), "1966");
    EXPECT_EQ(year_of_date("24.4"), "");
}

}  // namespace
}  // namespace horalun
