// Short date, time and number text forms, and serial day numbers (days from 30.12.1899).
// The date and decimal separators are decided here and nowhere else.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace horalun {

char date_separator();
void set_date_separator(char sep);
// Makes the date separator one character from the locale's: blanks trimmed, the first character
// kept (". " becomes "."); an empty text keeps ".".
void set_date_separator_from_locale(std::string_view localeSeparator);
char decimal_separator();
void set_decimal_separator(char sep);

// Serial day of a calendar date (30.12.1899 is 0, 31.12.2199 is 109574).
int serial_from_ymd(int year, int month, int day);
void ymd_from_serial(int serial, int& year, int& month, int& day);

// "24.4.1966" -> serial day. Blanks around the numbers are skipped; a missing year is the
// current one; a one- or two-digit year falls in the fifty years before the current one or the
// forty-nine after it. nullopt when the text does not name a calendar date.
std::optional<int> parse_date_text(std::string_view text);
// Serial day -> "24.4.1966" (no leading zeros).
std::string format_date_text(int serial);

// "9:03" or "9:03:15" -> fraction of a day. nullopt on anything else (hours 0..24, minutes
// and seconds 0..59).
std::optional<double> parse_time_text(std::string_view text);
// Fraction of a day -> "9:03:00" (rounded to the second).
std::string format_time_text(double dayFraction);
// "24.4.1966" or "24.4.1966 9:03[:00]" -> serial date-time.
std::optional<double> parse_date_time_text(std::string_view text);
// Serial date-time -> "24.4.1966" when the time is 0:00:00, else "24.4.1966 9:03:00".
std::string format_date_time_text(double serial);

// Number text with the decimal separator; shortest form that reads back exactly.
std::string format_float_text(double value);
std::optional<double> parse_float_text(std::string_view text);

}  // namespace horalun
