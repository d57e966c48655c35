// The settings record: the one row of nastaveni_aspektu (orbs, options, remembered dialog values).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace horalun {

class Cursor;

// Orb fields at positions 0..11, in this order.
inline constexpr std::array<std::string_view, 12> kOrbFieldNames = {
    "svetla_cjn",     "svetla_ost",     "svetla_in_cjn", "svetla_in_ost",
    "svetla_out_cjn", "svetla_out_ost", "in_cjn",        "in_ost",
    "in_out_cjn",     "in_out_ost",     "out_out_cjn",   "out_out_ost"};
inline constexpr int kDstModeField = 14;      // nast_letni_cas: "1", "2" or "3"
inline constexpr int kFortuneModeField = 15;  // nast_bod_stesti: "1" or "2"

// Bodies remembered for the significant dates, in field order.
inline constexpr std::array<std::string_view, 9> kSignificantBodyFields = {
    "bool_mer",  "bool_ven",  "bool_mars", "bool_jup", "bool_sat",
    "bool_uran", "bool_nept", "bool_plut", "bool_chir"};

// The values a new data file starts with are the defaults below.
struct OrbSettings {
    std::array<int, 12> orbs{10, 8, 8, 7, 8, 6, 7, 6, 6, 5, 5, 4};
    std::string dstMode = "3";
    std::string fortuneMode = "1";
    bool checkVersion = false;
    double versionDate = 0;  // serial date-time of the last version check, 0 = never
    int planetAngleLimit = 5;
    int namesSearchField = 1;
    std::string solarYear, lunarMonth, directionYears, significantYears;
    std::array<bool, 9> significantBodies{true, true, true, true, true, true, true, true, true};
    std::string origDate, origTime, revDate, revTime;
    // Addresses of the version page and the update archive; a file from before these fields
    // reads them as empty, and writing skips them there.
    std::string versionUrl, updateUrl;
};

// Reads the record under the cursor (orbs and the two modes by position, the rest by name).
// Throws TableError when the table has no row or an orb or mode field does not hold a number.
OrbSettings read_orb_settings(Cursor& settings);
// Changes the record in place (edit, assign, post); never adds a row.
void write_orb_settings(Cursor& settings, const OrbSettings& values);

}  // namespace horalun
