#include <gtest/gtest.h>

#include "core/date_stepping.h"
#include "data/text_format.h"

namespace horalun {
namespace {

int day(int y, int m, int d) { return serial_from_ymd(y, m, d); }

TEST(DateStepping, MonthAndYearStepsClipToTheMonthEnd) {
    // Once clipped, the day stays clipped: 31.1. -> 29.2. -> 29.3.
    EXPECT_EQ(step_date(day(2024, 1, 31), 2, false), day(2024, 2, 29));
    EXPECT_EQ(step_date(day(2024, 2, 29), 2, false), day(2024, 3, 29));
    EXPECT_EQ(step_date(day(2023, 1, 31), 2, false), day(2023, 2, 28));
    EXPECT_EQ(step_date(day(2024, 3, 31), 2, true), day(2024, 2, 29));
    EXPECT_EQ(step_date(day(2024, 2, 29), 3, false), day(2025, 2, 28));
    EXPECT_EQ(step_date(day(2024, 1, 15), 2, true), day(2023, 12, 15));
    EXPECT_EQ(step_date(day(2024, 12, 31), 1, false), day(2025, 1, 1));
}

TEST(DateStepping, ArrowsCycleTheUnitAndReverse) {
    MainWindowState w;
    ChartState st;
    std::vector<int> units;
    for (int i = 0; i < 4; ++i) {
        press_step_arrow(w, st, false, false);
        units.push_back(w.natalStepUnit);
    }
    EXPECT_EQ(units, (std::vector<int>{1, 2, 3, 1}));
    EXPECT_TRUE(st.natalStepping);
    // The other arrow reverses the direction and keeps the unit.
    press_step_arrow(w, st, false, true);
    EXPECT_TRUE(w.natalBackward);
    EXPECT_EQ(w.natalStepUnit, 1);
    press_step_arrow(w, st, false, true);
    EXPECT_EQ(w.natalStepUnit, 2);
    EXPECT_FALSE(st.transitStepping);

    stop_stepping(w, st, false);
    EXPECT_FALSE(st.natalStepping);
    EXPECT_EQ(w.natalStepUnit, 0);
}

TEST(DateStepping, TickMovesActiveRunsIntoTheDateInputs) {
    ChartState st;
    MainInputs in(st);
    MainWindowState w;
    w.natalStepDate = day(2024, 1, 31);
    EXPECT_FALSE(step_tick(w, st, in));
    press_step_arrow(w, st, false, false);
    press_step_arrow(w, st, false, false);  // months
    EXPECT_TRUE(step_tick(w, st, in));
    EXPECT_EQ(in.text(InputField::NatalDate), "29.2.2024");
    EXPECT_EQ(in.text(InputField::TransitDate), "24.4.1966");
}

TEST(DateStepping, MinuteSteppersCrossMidnight) {
    struct Case {
        const char* date;
        const char* time;
        bool back;
        const char* newDate;
        const char* newTime;
    } cases[] = {
        {"24.4.1966", "0:00", true, "23.4.1966", "23:59"},
        {"24.4.1966", "10:00", true, "24.4.1966", "9:59"},
        {"24.4.1966", "23:59", false, "25.4.1966", "0:0"},
        {"24.4.1966", "9:59", false, "24.4.1966", "10:0"},
    };
    for (const auto& c : cases) {
        ChartState st;
        MainInputs in(st);
        MainWindowState w;
        in.setText(InputField::NatalDate, c.date);
        in.setText(InputField::NatalTime, c.time);
        ASSERT_TRUE(c.back ? step_minute_back(w, st, in) : step_minute_forward(w, st, in));
        EXPECT_EQ(in.text(InputField::NatalDate), c.newDate) << c.time;
        EXPECT_EQ(st.timeText, c.newTime) << c.time;
        EXPECT_EQ(in.text(InputField::NatalTime), c.time);  // the time input is not written
    }
}

TEST(DateStepping, Mailbox) {
    ChartState st;
    MainInputs in(st);
    MainWindowState w;
    EXPECT_FALSE(serve_mailbox(w, st, in));

    w.transferCode = "3";
    w.aspectFilter = "7";
    EXPECT_TRUE(serve_mailbox(w, st, in));
    EXPECT_EQ(in.text(InputField::NatalTime), "7:0");
    EXPECT_EQ(w.aspectFilter, "");
    EXPECT_EQ(w.transferCode, "0");

    w.transferCode = "3";
    w.aspectFilter = "Slunce";
    EXPECT_TRUE(serve_mailbox(w, st, in));
    EXPECT_EQ(in.text(InputField::NatalTime), "7:0");
    EXPECT_EQ(w.aspectFilter, "");

    st.transitMode = true;
    w.transferCode = "1";
    w.transferDate = "1.1.2000";
    w.transferTime = "12:30";
    EXPECT_TRUE(serve_mailbox(w, st, in));
    EXPECT_EQ(in.text(InputField::TransitDate), "1.1.2000");
    EXPECT_EQ(in.text(InputField::TransitTime), "12:30");
    EXPECT_EQ(w.transferCode, "0");

    w.transferCode = "2";
    EXPECT_TRUE(serve_mailbox(w, st, in));
    w.transferCode = "9";
    EXPECT_FALSE(serve_mailbox(w, st, in));
}

}  // namespace
}  // namespace horalun
