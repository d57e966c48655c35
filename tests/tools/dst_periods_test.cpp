// Summer and winter-time periods from offset changes: the clock at both ends, year splitting,
// the offsets that start no period, and the two-rows-a-year limit.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

#include "data/text_format.h"
#include "tools/horalun_data/dst_periods.h"
#include "tools/horalun_data/generator_error.h"

namespace horalun {
namespace {

std::int64_t ut(int y, unsigned m, unsigned d, int h, int min = 0) {
    using namespace std::chrono;
    return sys_days{year{y} / month{m} / day{d}}.time_since_epoch().count() * 86400LL + h * 3600 +
           min * 60;
}

constexpr int kCet = 3600, kCest = 7200, kGmt = 0;

struct Expected {
    const char* kind;
    const char* from;
    int fromMinutes;
    const char* to;
    int toMinutes;
    int year;
};

void expect_rows(const std::vector<DstPeriodRow>& rows, const std::vector<Expected>& expected) {
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        const auto& e = expected[i];
        EXPECT_EQ(r.kind, e.kind) << "row " << i;
        EXPECT_EQ(format_date_text(r.firstDay), e.from) << "row " << i;
        EXPECT_EQ(r.startSeconds, e.fromMinutes * 60) << "row " << i;
        EXPECT_EQ(format_date_text(r.lastDay), e.to) << "row " << i;
        EXPECT_EQ(r.endSeconds, e.toMinutes * 60) << "row " << i;
        EXPECT_EQ(r.year, e.year) << "row " << i;
    }
}

TEST(DstPeriods, EndsAreTheClockJustBeforeEachChange) {
    const ZoneOffsets zone{kCet, {{ut(2024, 3, 31, 1), kCest}, {ut(2024, 10, 27, 1), kCet}}};
    expect_rows(dst_period_rows(zone, 2200),
                {{kSummerKind, "31.3.2024", 2 * 60, "27.10.2024", 3 * 60, 2024}});
}

TEST(DstPeriods, WinterTimeOverTheYearEndIsSplit) {
    const ZoneOffsets zone{kCet,
                           {{ut(1946, 5, 6, 1), kCest},
                            {ut(1946, 10, 6, 1), kCet},
                            {ut(1946, 12, 1, 2), kGmt},
                            {ut(1947, 2, 23, 2), kCet},
                            {ut(1947, 4, 20, 1), kCest},
                            {ut(1947, 10, 5, 1), kCet}}};
    expect_rows(dst_period_rows(zone, 2200),
                {{kSummerKind, "6.5.1946", 2 * 60, "6.10.1946", 3 * 60, 1946},
                 {kWinterKind, "1.12.1946", 3 * 60, "31.12.1946", 23 * 60 + 59, 1946},
                 {kWinterKind, "1.1.1947", 0, "23.2.1947", 2 * 60, 1947},
                 {kSummerKind, "20.4.1947", 2 * 60, "5.10.1947", 3 * 60, 1947}});
}

TEST(DstPeriods, SummerOverSeveralYearsGivesOneRowAYear) {
    const ZoneOffsets zone{kCet, {{ut(1940, 4, 1, 1), kCest}, {ut(1942, 11, 2, 1), kCet}}};
    expect_rows(dst_period_rows(zone, 2200),
                {{kSummerKind, "1.4.1940", 2 * 60, "31.12.1940", 23 * 60 + 59, 1940},
                 {kSummerKind, "1.1.1941", 0, "31.12.1941", 23 * 60 + 59, 1941},
                 {kSummerKind, "1.1.1942", 0, "2.11.1942", 3 * 60, 1942}});
}

TEST(DstPeriods, KindFollowsTheOffsetAlone) {
    // Local mean time and normal time start nothing; a change between two kinds closes one
    // period and opens the next at the same moment; a change that keeps the offset (a new
    // abbreviation) does not cut a period.
    const ZoneOffsets zone{3464,
                           {{ut(1891, 9, 30, 23, 2), kCet},
                            {ut(1950, 5, 1, 1), kCest},
                            {ut(1950, 6, 1, 0), kCest},
                            {ut(1950, 9, 1, 1), kGmt},
                            {ut(1950, 11, 1, 1), kCet},
                            {ut(1951, 1, 1, 0), 5400}}};
    expect_rows(dst_period_rows(zone, 2200),
                {{kSummerKind, "1.5.1950", 2 * 60, "1.9.1950", 3 * 60, 1950},
                 {kWinterKind, "1.9.1950", 3 * 60, "1.11.1950", 1 * 60, 1950}});
}

TEST(DstPeriods, NothingPastTheLastYear) {
    // An open period ends with the last year; one starting later is left out.
    const ZoneOffsets open{kCet, {{ut(2199, 3, 31, 1), kCest}}};
    expect_rows(dst_period_rows(open, 2200),
                {{kSummerKind, "31.3.2199", 2 * 60, "31.12.2199", 23 * 60 + 59, 2199},
                 {kSummerKind, "1.1.2200", 0, "31.12.2200", 23 * 60 + 59, 2200}});
    const ZoneOffsets late{kCet, {{ut(2201, 3, 31, 1), kCest}, {ut(2201, 10, 27, 1), kCet}}};
    EXPECT_TRUE(dst_period_rows(late, 2200).empty());
}

TEST(DstPeriods, MoreThanTwoRowsInAYearFail) {
    const ZoneOffsets zone{kCet,
                           {{ut(1950, 3, 1, 1), kCest},
                            {ut(1950, 4, 1, 1), kCet},
                            {ut(1950, 5, 1, 1), kCest},
                            {ut(1950, 6, 1, 1), kCet},
                            {ut(1950, 7, 1, 1), kCest},
                            {ut(1950, 8, 1, 1), kCet}}};
    EXPECT_THROW(dst_period_rows(zone, 2200), GeneratorError);
}

}  // namespace
}  // namespace horalun
