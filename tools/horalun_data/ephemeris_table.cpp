#include "tools/horalun_data/ephemeris_table.h"

#include <swephexp.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/text_format.h"
#include "tools/horalun_data/generator_error.h"
#include "tools/horalun_data/position_text.h"

namespace horalun {

namespace {

// Bump when the rows written change for the same inputs.
constexpr const char* kFormatVersion = "efemeris/4";

// Julian day of serial day 0 (30.12.1899) at 0 h.
constexpr double kJulianDayOfSerialZero = 2415018.5;

// The basic files begin at 1.1.1800 0 h TT, but an apparent place of that day also needs the
// planets a few light minutes earlier, which only the previous century's file (sepl_12.se1)
// holds. Without it the library uses its analytic Moshier theory for that day (within a few arc
// seconds; the rows come out as with the file); this is accepted for 1.1.1800 alone and
// reported. Any later fallback is an error.
constexpr double kMoshierAcceptedBefore = 2378497.5;  // 2.1.1800 0 h UT

enum class Style { Seconds, Minutes, MinutesRetrograde };

struct Body {
    const char* name;
    int sweBody;
};

constexpr std::array<Body, 14> kBodies{{{"Sun", SE_SUN},
                                        {"Moon", SE_MOON},
                                        {"Mercury", SE_MERCURY},
                                        {"Venus", SE_VENUS},
                                        {"Mars", SE_MARS},
                                        {"Jupiter", SE_JUPITER},
                                        {"Saturn", SE_SATURN},
                                        {"Uranus", SE_URANUS},
                                        {"Neptune", SE_NEPTUNE},
                                        {"Pluto", SE_PLUTO},
                                        {"mean node", SE_MEAN_NODE},
                                        {"true node", SE_TRUE_NODE},
                                        {"mean apogee", SE_MEAN_APOG},
                                        {"Chiron", SE_CHIRON}}};

struct Column {
    const char* field;
    size_t body;  // index into kBodies
    Style style;
};

constexpr std::array<Column, 15> kColumns{{{"slunce", 0, Style::Seconds},
                                           {"mesic", 1, Style::Minutes},
                                           {"merkur", 2, Style::MinutesRetrograde},
                                           {"venuse", 3, Style::MinutesRetrograde},
                                           {"mars", 4, Style::MinutesRetrograde},
                                           {"jupiter", 5, Style::MinutesRetrograde},
                                           {"saturn", 6, Style::MinutesRetrograde},
                                           {"uran", 7, Style::MinutesRetrograde},
                                           {"neptun", 8, Style::MinutesRetrograde},
                                           {"pluto", 9, Style::MinutesRetrograde},
                                           {"s_uzel", 10, Style::MinutesRetrograde},
                                           {"pravy_uzel", 11, Style::MinutesRetrograde},
                                           {"uzel", 10, Style::MinutesRetrograde},
                                           {"lilith", 12, Style::MinutesRetrograde},
                                           {"chiron", 13, Style::MinutesRetrograde}}};

// The library's message on one line.
std::string one_line(const char* message) {
    std::string text = message;
    std::replace(text.begin(), text.end(), '\n', ' ');
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

struct Day {
    std::array<double, kBodies.size()> longitude{};
    std::array<bool, kBodies.size()> fromMoshier{};
    double siderealHours = 0;
};

class EphemerisComputer {
  public:
    explicit EphemerisComputer(std::ostream& notes) : notes_(notes) {
        if (!std::filesystem::is_directory(kEphemerisFilesDir))
            throw GeneratorError(std::string("the Swiss Ephemeris files are missing: no folder ") +
                                 kEphemerisFilesDir + " (Debian package swe-basic-data)");
        swe_set_ephe_path(kEphemerisFilesDir);
    }
    ~EphemerisComputer() { swe_close(); }
    EphemerisComputer(const EphemerisComputer&) = delete;
    EphemerisComputer& operator=(const EphemerisComputer&) = delete;

    Day compute(int serial) {
        const double jd = kJulianDayOfSerialZero + serial;
        Day day;
        for (size_t b = 0; b < kBodies.size(); ++b)
            day.longitude[b] = longitude(jd, serial, b, day.fromMoshier[b]);
        day.siderealHours = swe_sidtime(jd);
        return day;
    }

    // The longitude of the day after `serial` to compare a body's day with: from the same theory
    // as the day's own, since two theories differ by more than a slow body moves in a day.
    double next_for_direction(const Day& today, const Day& tomorrow, int serial, size_t body) {
        if (!today.fromMoshier[body]) return tomorrow.longitude[body];
        double xx[6] = {};
        char error[AS_MAXCH] = "";
        if (swe_calc_ut(kJulianDayOfSerialZero + serial + 1, kBodies[body].sweBody, SEFLG_MOSEPH,
                        xx, error) < 0)
            throw GeneratorError(std::string("Moshier theory error for the ") + kBodies[body].name +
                                 ": " + one_line(error));
        return xx[0];
    }

    void report_fallbacks() {
        if (moshierBodies_.empty()) return;
        std::string names;
        for (const auto& name : moshierBodies_) names += (names.empty() ? "" : ", ") + name;
        notes_ << "  note: 1.1.1800 uses the Moshier theory for " << names
               << " (sepl_12.se1 of the standard file set is not installed)\n";
    }

  private:
    double longitude(double jd, int serial, size_t body, bool& fromMoshier) {
        double xx[6] = {};
        char error[AS_MAXCH] = "";
        const int flags = swe_calc_ut(jd, kBodies[body].sweBody, SEFLG_SWIEPH, xx, error);
        if (flags < 0)
            throw GeneratorError(std::string("Swiss Ephemeris error for the ") +
                                 kBodies[body].name + " on " + format_date_text(serial) + ": " +
                                 one_line(error));
        if (!(flags & SEFLG_SWIEPH)) {
            if (jd >= kMoshierAcceptedBefore)
                throw GeneratorError(
                    std::string("the Swiss Ephemeris fell back to the Moshier theory for the ") +
                    kBodies[body].name + " on " + format_date_text(serial) + "; are the files in " +
                    kEphemerisFilesDir + " complete? (" + one_line(error) + ")");
            moshierBodies_.push_back(kBodies[body].name);
            fromMoshier = true;
        }
        return xx[0];
    }

    std::ostream& notes_;
    std::vector<std::string> moshierBodies_;
};

}  // namespace

std::string ephemeris_fingerprint() {
    char version[AS_MAXCH] = "";
    swe_version(version);
    std::string print = std::string(kFormatVersion) + " swe=" + version + " files=";
    std::vector<std::pair<std::string, std::uintmax_t>> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(kEphemerisFilesDir, ec))
        if (entry.is_regular_file(ec))
            files.emplace_back(entry.path().filename().string(), entry.file_size(ec));
    std::sort(files.begin(), files.end());
    for (const auto& [name, size] : files) print += name + ":" + std::to_string(size) + ";";
    return print + " years=" + std::to_string(kEphemerisFirstYear) + "-" +
           std::to_string(kEphemerisLastYear);
}

void fill_ephemeris(RowInserter& rows, std::ostream& notes) {
    const int first = serial_from_ymd(kEphemerisFirstYear, 1, 1);
    const int last = serial_from_ymd(kEphemerisLastYear, 12, 31);
    const int den = rows.field("den"), datum = rows.field("datum"), sidt = rows.field("sidt");
    std::array<int, kColumns.size()> columnField{};
    for (size_t c = 0; c < kColumns.size(); ++c) columnField[c] = rows.field(kColumns[c].field);

    EphemerisComputer computer(notes);
    // The retrograde mark compares each day with the next, so one day is computed ahead.
    Day today = computer.compute(first);
    for (int serial = first; serial <= last; ++serial) {
        const Day tomorrow = computer.compute(serial + 1);
        rows.set_text(den, weekday_letter(serial));
        rows.set_real(datum, serial);
        rows.set_text(sidt, sidereal_time_text(today.siderealHours));
        for (size_t c = 0; c < kColumns.size(); ++c) {
            const double lon = today.longitude[kColumns[c].body];
            switch (kColumns[c].style) {
                case Style::Seconds:
                    rows.set_text(columnField[c], seconds_position_text(lon));
                    break;
                case Style::Minutes:
                    rows.set_text(columnField[c], minutes_position_text(lon));
                    break;
                case Style::MinutesRetrograde: {
                    const double next =
                        computer.next_for_direction(today, tomorrow, serial, kColumns[c].body);
                    rows.set_text(columnField[c],
                                  minutes_position_text(lon, moves_backward(lon, next)));
                    break;
                }
            }
        }
        rows.insert_row();
        today = tomorrow;
    }
    computer.report_fallbacks();
}

}  // namespace horalun
