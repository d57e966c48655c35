#include "tools/horalun_data/dst_periods.h"

#include <cstdint>
#include <map>

#include "data/text_format.h"
#include "tools/horalun_data/generator_error.h"

namespace horalun {

namespace {

constexpr int kSerialOf1970 = 25569;  // serial day of 1.1.1970
constexpr int kYearEndSeconds = 23 * 3600 + 59 * 60;

const char* kind_of(int utOffset) {
    if (utOffset == 2 * 3600) return kSummerKind;
    if (utOffset == 0) return kWinterKind;
    return nullptr;
}

struct LocalClock {
    int day = 0;  // serial
    int seconds = 0;
};

LocalClock local_clock(std::int64_t ut, int utOffset) {
    const std::int64_t local = ut + utOffset;
    std::int64_t days = local / 86400;
    if (local % 86400 < 0) --days;
    return {static_cast<int>(days + kSerialOf1970), static_cast<int>(local - days * 86400)};
}

int year_of(int serial) {
    int y, m, d;
    ymd_from_serial(serial, y, m, d);
    return y;
}

// Appends the period as one row per calendar year, none after lastYear.
void add_period(std::vector<DstPeriodRow>& rows, const char* kind, LocalClock start, LocalClock end,
                int lastYear) {
    const int endYear = year_of(end.day);
    if (endYear > lastYear) end = {serial_from_ymd(lastYear, 12, 31), kYearEndSeconds};
    for (int year = year_of(start.day); year <= std::min(endYear, lastYear); ++year) {
        const bool last = year == year_of(end.day);
        const LocalClock to =
            last ? end : LocalClock{serial_from_ymd(year, 12, 31), kYearEndSeconds};
        rows.push_back({kind, start.day, start.seconds, to.day, to.seconds, year});
        start = {serial_from_ymd(year + 1, 1, 1), 0};
    }
}

}  // namespace

std::vector<DstPeriodRow> dst_period_rows(const ZoneOffsets& zone, int lastYear) {
    std::vector<DstPeriodRow> rows;
    int offset = zone.initialOffset;
    // A period needs a change into it: one in force from the beginning has no start.
    bool open = false;
    LocalClock start;
    for (const auto& change : zone.changes) {
        const char* oldKind = kind_of(offset);
        const char* newKind = kind_of(change.utOffset);
        if (oldKind != newKind) {
            if (oldKind && open) {
                add_period(rows, oldKind, start, local_clock(change.ut, offset), lastYear);
                open = false;
            }
            if (newKind) {
                start = local_clock(change.ut, offset);
                open = true;
            }
        }
        offset = change.utOffset;
    }
    if (open && kind_of(offset))
        add_period(rows, kind_of(offset), start,
                   {serial_from_ymd(lastYear, 12, 31), kYearEndSeconds}, lastYear);

    std::map<int, int> perYear;
    for (const auto& row : rows)
        if (++perYear[row.year] > 2)
            throw GeneratorError(
                "the time-zone data give more than two summer/winter-time periods "
                "in " +
                std::to_string(row.year) + "; the summer-time lookup reads at most two a year");
    return rows;
}

}  // namespace horalun
