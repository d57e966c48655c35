#include "tools/horalun_data/posix_tz.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace horalun {

namespace {

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}
    bool done() const { return pos_ == text_.size(); }
    bool peek(char c) const { return pos_ < text_.size() && text_[pos_] == c; }
    bool take(char c) {
        if (!peek(c)) return false;
        ++pos_;
        return true;
    }
    bool name() {
        if (take('<')) {
            while (pos_ < text_.size() && text_[pos_] != '>') ++pos_;
            return take('>');
        }
        const size_t start = pos_;
        while (pos_ < text_.size() && std::isalpha(static_cast<unsigned char>(text_[pos_]))) ++pos_;
        return pos_ - start >= 3;
    }
    std::optional<int> number(int maxValue) {
        const size_t start = pos_;
        int value = 0;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            value = value * 10 + (text_[pos_++] - '0');
            if (value > maxValue) return std::nullopt;
        }
        if (pos_ == start) return std::nullopt;
        return value;
    }
    // [+-]hh[:mm[:ss]] in seconds.
    std::optional<int> clock(int maxHours) {
        int sign = 1;
        if (take('-'))
            sign = -1;
        else
            take('+');
        const auto h = number(maxHours);
        if (!h) return std::nullopt;
        int seconds = *h * 3600;
        if (take(':')) {
            const auto m = number(59);
            if (!m) return std::nullopt;
            seconds += *m * 60;
            if (take(':')) {
                const auto s = number(59);
                if (!s) return std::nullopt;
                seconds += *s;
            }
        }
        return sign * seconds;
    }
    std::optional<PosixTzDate> date() {
        PosixTzDate d;
        if (take('M')) {
            const auto m = number(12);
            if (!m || *m < 1 || !take('.')) return std::nullopt;
            const auto w = number(5);
            if (!w || *w < 1 || !take('.')) return std::nullopt;
            const auto wd = number(6);
            if (!wd) return std::nullopt;
            d.kind = PosixTzDate::Kind::MonthWeekDay;
            d.month = *m;
            d.week = *w;
            d.weekday = *wd;
        } else if (take('J')) {
            const auto n = number(365);
            if (!n || *n < 1) return std::nullopt;
            d.kind = PosixTzDate::Kind::JulianNoLeap;
            d.day = *n;
        } else {
            const auto n = number(365);
            if (!n) return std::nullopt;
            d.kind = PosixTzDate::Kind::DayOfYear;
            d.day = *n;
        }
        if (take('/')) {
            const auto t = clock(167);
            if (!t) return std::nullopt;
            d.seconds = *t;
        }
        return d;
    }

  private:
    std::string_view text_;
    size_t pos_ = 0;
};

bool is_leap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days since 1.1.1970 of the rule's date in `year`.
long long rule_day(const PosixTzDate& d, int year) {
    using namespace std::chrono;
    const auto jan1 = sys_days{std::chrono::year{year} / January / 1}.time_since_epoch().count();
    switch (d.kind) {
        case PosixTzDate::Kind::JulianNoLeap:
            return jan1 + d.day - 1 + (is_leap(year) && d.day >= 60 ? 1 : 0);
        case PosixTzDate::Kind::DayOfYear:
            return jan1 + d.day;
        case PosixTzDate::Kind::MonthWeekDay:
            break;
    }
    const year_month first{std::chrono::year{year}, month{static_cast<unsigned>(d.month)}};
    const sys_days day1{first / 1};
    const unsigned wd1 = weekday{day1}.c_encoding();
    long long day = day1.time_since_epoch().count() + (d.weekday - static_cast<int>(wd1) + 7) % 7 +
                    7LL * (d.week - 1);
    const long long lastOfMonth = sys_days{first / last}.time_since_epoch().count();
    while (day > lastOfMonth) day -= 7;
    return day;
}

}  // namespace

std::optional<PosixTz> parse_posix_tz(std::string_view text) {
    Reader r(text);
    PosixTz tz;
    if (!r.name()) return std::nullopt;
    const auto west = r.clock(24);
    if (!west) return std::nullopt;
    tz.standardOffset = -*west;
    if (r.done()) return tz;
    if (!r.name()) return std::nullopt;
    tz.hasSummer = true;
    tz.summerOffset = tz.standardOffset + 3600;
    if (!r.peek(',')) {
        const auto summerWest = r.clock(24);
        if (!summerWest) return std::nullopt;
        tz.summerOffset = -*summerWest;
    }
    if (!r.take(',')) return std::nullopt;
    const auto start = r.date();
    if (!start || !r.take(',')) return std::nullopt;
    const auto end = r.date();
    if (!end || !r.done()) return std::nullopt;
    tz.start = *start;
    tz.end = *end;
    return tz;
}

std::vector<OffsetChange> posix_tz_changes(const PosixTz& tz, int year) {
    if (!tz.hasSummer) return {};
    // A change's clock time is read on the clock that runs before it.
    const std::int64_t intoSummer =
        rule_day(tz.start, year) * 86400 + tz.start.seconds - tz.standardOffset;
    const std::int64_t outOfSummer =
        rule_day(tz.end, year) * 86400 + tz.end.seconds - tz.summerOffset;
    std::vector<OffsetChange> changes{{intoSummer, tz.summerOffset},
                                      {outOfSummer, tz.standardOffset}};
    std::sort(changes.begin(), changes.end(),
              [](const OffsetChange& a, const OffsetChange& b) { return a.ut < b.ut; });
    return changes;
}

}  // namespace horalun
