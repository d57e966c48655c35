#include "data/text_format.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace horalun {

namespace {
char g_dateSep = '.';
char g_decimalSep = '.';

constexpr std::chrono::sys_days kEpoch{std::chrono::year{1899} / 12 / 30};

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

int current_year() {
    const auto now = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    return int(std::chrono::year_month_day{now}.year());
}

// Reads an unsigned number of at most maxDigits digits, skipping blanks around it.
bool read_number(std::string_view text, size_t& pos, int& value, int& digits, int maxDigits) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    value = 0;
    digits = 0;
    while (pos < text.size() && is_digit(text[pos])) {
        if (++digits > maxDigits) return false;
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    while (pos < text.size() && text[pos] == ' ') ++pos;
    return digits > 0;
}
}  // namespace

char date_separator() {
    return g_dateSep;
}
void set_date_separator(char sep) {
    g_dateSep = sep;
}
void set_date_separator_from_locale(std::string_view localeSeparator) {
    const auto first = localeSeparator.find_first_not_of(' ');
    g_dateSep = first == std::string_view::npos ? '.' : localeSeparator[first];
}

char decimal_separator() {
    return g_decimalSep;
}
void set_decimal_separator(char sep) {
    g_decimalSep = sep;
}

int serial_from_ymd(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days d{std::chrono::year{year} / month / day};
    return int((d - kEpoch).count());
}

void ymd_from_serial(int serial, int& year, int& month, int& day) {
    using namespace std::chrono;
    const year_month_day ymd{kEpoch + days{serial}};
    year = int(ymd.year());
    month = int(unsigned(ymd.month()));
    day = int(unsigned(ymd.day()));
}

std::optional<int> parse_date_text(std::string_view text) {
    size_t pos = 0;
    int day = 0, month = 0, year = 0, digits = 0;
    if (!read_number(text, pos, day, digits, 2)) return std::nullopt;
    if (pos >= text.size() || text[pos] != g_dateSep) return std::nullopt;
    ++pos;
    if (!read_number(text, pos, month, digits, 2)) return std::nullopt;
    if (pos == text.size()) {
        year = current_year();
    } else {
        if (text[pos] != g_dateSep) return std::nullopt;
        ++pos;
        if (!read_number(text, pos, year, digits, 4)) return std::nullopt;
        if (pos != text.size()) return std::nullopt;
        if (digits <= 2) {
            const int pivot = current_year() - 50;
            year += pivot / 100 * 100;
            if (year < pivot) year += 100;
        }
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year{year} / month / day};
    if (!ymd.ok()) return std::nullopt;
    return serial_from_ymd(year, month, day);
}

std::string format_date_text(int serial) {
    int y, m, d;
    ymd_from_serial(serial, y, m, d);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d%c%d%c%d", d, g_dateSep, m, g_dateSep, y);
    return buf;
}

std::optional<double> parse_time_text(std::string_view text) {
    size_t pos = 0;
    int parts[3] = {0, 0, 0};
    int count = 0, digits = 0;
    while (count < 3) {
        if (!read_number(text, pos, parts[count], digits, 2)) return std::nullopt;
        ++count;
        if (pos == text.size()) break;
        if (text[pos] != ':') return std::nullopt;
        ++pos;
    }
    if (pos != text.size() || count < 2) return std::nullopt;
    if (parts[0] > 24 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
    return (parts[0] * 3600.0 + parts[1] * 60.0 + parts[2]) / 86400.0;
}

std::string format_time_text(double dayFraction) {
    long secs = std::lround(dayFraction * 86400.0);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", secs / 3600, secs / 60 % 60, secs % 60);
    return buf;
}

std::optional<double> parse_date_time_text(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const auto blank = text.find(' ');
    const auto date = parse_date_text(text.substr(0, blank));
    if (!date) return std::nullopt;
    if (blank == std::string_view::npos) return double(*date);
    const auto time = parse_time_text(text.substr(blank + 1));
    if (!time) return std::nullopt;
    return *date + *time;
}

std::string format_date_time_text(double serial) {
    // Round to the second first so that 23:59:59.7 carries into the next day.
    const double secs = std::round(serial * 86400.0);
    const double day = std::floor(secs / 86400.0);
    const double frac = (secs - day * 86400.0) / 86400.0;
    std::string out = format_date_text(int(day));
    if (frac > 0) {
        out += ' ';
        out += format_time_text(frac);
    }
    return out;
}

std::string format_float_text(double value) {
    // to_chars gives the shortest text that reads back exactly, independent of the C locale.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    std::string out(buf, res.ptr);
    if (g_decimalSep != '.')
        for (char& c : out)
            if (c == '.') c = g_decimalSep;
    return out;
}

std::optional<double> parse_float_text(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    std::string s(text);
    for (char& c : s)
        if (c == g_decimalSep) c = '.';
    if (!s.empty() && s.front() == '+') s.erase(0, 1);
    double v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || res.ec != std::errc() || res.ptr != s.data() + s.size()) return std::nullopt;
    // from_chars also reads "nan" and "inf", which no number field may take.
    if (!std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace horalun
