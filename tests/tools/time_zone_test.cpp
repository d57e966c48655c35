// Reading compiled time-zone files and their POSIX TZ rule.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "tools/horalun_data/generator_error.h"
#include "tools/horalun_data/posix_tz.h"
#include "tools/horalun_data/summer_time_table.h"
#include "tools/horalun_data/tzif_reader.h"

namespace horalun {
namespace {

std::int64_t ut(int y, unsigned m, unsigned d, int h, int min = 0) {
    using namespace std::chrono;
    return sys_days{year{y} / month{m} / day{d}}.time_since_epoch().count() * 86400LL + h * 3600 +
           min * 60;
}

TEST(PosixTz, ReadsTheCentralEuropeanRule) {
    const auto tz = parse_posix_tz("CET-1CEST,M3.5.0,M10.5.0/3");
    ASSERT_TRUE(tz);
    EXPECT_EQ(tz->standardOffset, 3600);
    EXPECT_TRUE(tz->hasSummer);
    EXPECT_EQ(tz->summerOffset, 7200);
    const auto changes = posix_tz_changes(*tz, 2024);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].ut, ut(2024, 3, 31, 1));
    EXPECT_EQ(changes[0].utOffset, 7200);
    EXPECT_EQ(changes[1].ut, ut(2024, 10, 27, 1));
    EXPECT_EQ(changes[1].utOffset, 3600);
    // The last Sunday of March 2200 is the 30th.
    EXPECT_EQ(posix_tz_changes(*tz, 2200)[0].ut, ut(2200, 3, 30, 1));
}

TEST(PosixTz, ReadsOtherRuleForms) {
    const struct {
        const char* rule;
        std::int64_t into, outOf;
    } cases[] = {
        {"EST5EDT,M3.2.0,M11.1.0", ut(2024, 3, 10, 7), ut(2024, 11, 3, 6)},
        // Thursday 26:00 is Friday 2:00.
        {"IST-2IDT,M3.4.4/26,M10.5.0", ut(2024, 3, 29, 0), ut(2024, 10, 26, 23)},
        // J60 is 1 March also in a leap year; day 59 counted from 0 is 29 February.
        {"AAA0BBB,J60/0,59/0", ut(2024, 3, 1, 0), ut(2024, 2, 29, -1)},
        {"<+03>-3<+04>-4:30,M4.1.0/-1,M9.5.6/24:30", ut(2024, 4, 6, 20), ut(2024, 9, 28, 20)},
    };
    for (const auto& c : cases) {
        const auto tz = parse_posix_tz(c.rule);
        ASSERT_TRUE(tz) << c.rule;
        const auto changes = posix_tz_changes(*tz, 2024);
        ASSERT_EQ(changes.size(), 2u) << c.rule;
        const auto& into = changes[0].utOffset == tz->summerOffset ? changes[0] : changes[1];
        const auto& outOf = changes[0].utOffset == tz->summerOffset ? changes[1] : changes[0];
        EXPECT_EQ(into.ut, c.into) << c.rule;
        EXPECT_EQ(outOf.ut, c.outOf) << c.rule;
        EXPECT_LT(changes[0].ut, changes[1].ut) << c.rule;
    }
    const auto fixed = parse_posix_tz("<+0330>-3:30");
    ASSERT_TRUE(fixed);
    EXPECT_FALSE(fixed->hasSummer);
    EXPECT_EQ(fixed->standardOffset, 3 * 3600 + 1800);
    EXPECT_TRUE(posix_tz_changes(*fixed, 2024).empty());
}

TEST(PosixTz, RejectsMalformedRules) {
    for (const char* bad :
         {"", "CET", "CE-1", "CET-1CEST", "CET-1CEST,M3.5.0", "CET-1CEST,M13.5.0,M10.5.0",
          "CET-1CEST,M3.6.0,M10.5.0", "CET-1CEST,M3.5.7,M10.5.0", "CET-1CEST,M3.5.0,M10.5.0/x",
          "CET-1CEST,J0,J100", "CET-1CEST,M3.5.0,M10.5.0 "})
        EXPECT_FALSE(parse_posix_tz(bad)) << bad;
}

// A TZif file put together byte by byte.
class TzifBuilder {
  public:
    void u32(std::uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) bytes += static_cast<char>(v >> s & 0xff);
    }
    void i64(std::int64_t v) {
        for (int s = 56; s >= 0; s -= 8)
            bytes += static_cast<char>(static_cast<std::uint64_t>(v) >> s & 0xff);
    }
    void header(char version, std::uint32_t timecnt, std::uint32_t typecnt, std::uint32_t charcnt) {
        bytes += "TZif";
        bytes += version;
        bytes += std::string(15, '\0');
        for (std::uint32_t count : {0u, 0u, 0u, timecnt, typecnt, charcnt}) u32(count);
    }
    std::string bytes;
};

// Version 2 file: an empty version 1 block, then LMT, CET, CEST and GMT with four transitions
// and the Central European rule.
std::string sample_tzif() {
    TzifBuilder b;
    b.header('2', 0, 1, 4);
    b.u32(0);                         // offset
    b.bytes += std::string(2, '\0');  // isdst, abbreviation index
    b.bytes += std::string("LMT\0", 4);
    const std::int64_t times[] = {ut(1891, 9, 30, 23, 2), ut(1946, 12, 1, 2), ut(1947, 2, 23, 2),
                                  ut(1996, 10, 27, 1)};
    const char types[] = {1, 3, 1, 1};
    b.header('2', 4, 4, 18);
    for (auto t : times) b.i64(t);
    b.bytes.append(types, 4);
    const struct {
        std::int32_t offset;
        char dst, name;
    } infos[] = {{3464, 0, 0}, {3600, 0, 4}, {7200, 1, 8}, {0, 1, 13}};
    for (const auto& info : infos) {
        b.u32(static_cast<std::uint32_t>(info.offset));
        b.bytes += info.dst;
        b.bytes += info.name;
    }
    b.bytes += std::string("LMT\0CET\0CEST\0GMT\0\0", 18);
    b.bytes += "\nCET-1CEST,M3.5.0,M10.5.0/3\n";
    return b.bytes;
}

TEST(Tzif, ReadsTheSixtyFourBitSectionAndTheFooter) {
    const TzifZone zone = parse_tzif(sample_tzif());
    ASSERT_EQ(zone.times.size(), 4u);
    EXPECT_EQ(zone.times[1], ut(1946, 12, 1, 2));
    ASSERT_EQ(zone.types.size(), 4u);
    EXPECT_EQ(zone.types[0].abbreviation, "LMT");
    EXPECT_EQ(zone.types[2].abbreviation, "CEST");
    EXPECT_EQ(zone.types[3].utOffset, 0);
    EXPECT_TRUE(zone.types[3].isDst);
    EXPECT_EQ(zone.typeIndexes, (std::vector<int>{1, 3, 1, 1}));
    EXPECT_EQ(zone.footer, "CET-1CEST,M3.5.0,M10.5.0/3");
}

TEST(Tzif, FooterRuleContinuesAfterTheLastTransition) {
    const ZoneOffsets offsets = zone_offsets(parse_tzif(sample_tzif()), 1998);
    EXPECT_EQ(offsets.initialOffset, 3464);
    ASSERT_EQ(offsets.changes.size(), 8u);
    EXPECT_EQ(offsets.changes[1].utOffset, 0);
    // 1996's own changes lie before the last transition and are not repeated.
    EXPECT_EQ(offsets.changes[3].ut, ut(1996, 10, 27, 1));
    EXPECT_EQ(offsets.changes[4].ut, ut(1997, 3, 30, 1));
    EXPECT_EQ(offsets.changes[4].utOffset, 7200);
    EXPECT_EQ(offsets.changes[7].ut, ut(1998, 10, 25, 1));
    EXPECT_EQ(offsets.changes[7].utOffset, 3600);
}

TEST(Tzif, RejectsDamagedFiles) {
    const std::string good = sample_tzif();
    std::string badType = good;
    // The first transition's type index sits after the second header and the four times.
    badType[44 + 6 + 4 + 44 + 4 * 8] = 9;
    std::string badMagic = good;
    badMagic[0] = 'X';
    for (const std::string& bad :
         {good.substr(0, 30), good.substr(0, good.size() - 40), badType, badMagic})
        EXPECT_THROW(parse_tzif(bad), GeneratorError);
    EXPECT_THROW(read_tzif_file("/nonexistent/zone"), GeneratorError);
}

TEST(Tzif, SystemZoneHasTheChangesOf2024) {
    const ZoneOffsets offsets = zone_offsets(read_tzif_file(kZoneFile), 2030);
    int found = 0;
    for (const auto& c : offsets.changes) {
        if (c.ut == ut(2024, 3, 31, 1) && c.utOffset == 7200) ++found;
        if (c.ut == ut(2024, 10, 27, 1) && c.utOffset == 3600) ++found;
    }
    EXPECT_EQ(found, 2);
    for (size_t i = 1; i < offsets.changes.size(); ++i)
        EXPECT_LT(offsets.changes[i - 1].ut, offsets.changes[i].ut);
}

}  // namespace
}  // namespace horalun
