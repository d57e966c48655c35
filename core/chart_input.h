// Validation of the date, time and place inputs, the summer-time decision from letnicasy, and
// the clock shifts to Central European standard time.
#pragma once

#include <string>
#include <string_view>

#include "core/chart_state.h"
#include "core/main_inputs.h"
#include "core/prompter.h"

namespace horalun {

class Cursor;

inline constexpr std::string_view kBadDateMessage = "Nesprávný formát datumu !";
inline constexpr std::string_view kDateNotFoundMessage = "Datum v databázi nenalezeno !";
inline constexpr std::string_view kBadTimeMessage = "Nesprávně zadaný čas !";
inline constexpr std::string_view kBadLongitudeMessage = "Nesprávně zadaná zeměpisná délka !";
inline constexpr std::string_view kBadLatitudeMessage = "Nesprávně zadaná zeměpisná šířka !";
inline constexpr std::string_view kDstQuestion = "Nalezena změna času, započítat?";

// All characters after the second date separator, at most four.
std::string year_of_date(std::string_view dateText);

// The checks in their order, the natal chart from state.dateText/timeText/lonText/latText and
// the second chart (when state.transitMode) from its inputs. The first failure is shown through
// the prompter, `focus` names the input that takes the focus, and false is returned. Leaves the
// cursor on the last validated date's row.
bool validate_chart_input(ChartState& state, Cursor& ephemeris, const MainInputs& inputs,
                          Prompter& prompter, InputField& focus);

// Ticks or clears the chart's summer and winter boxes from the periods of letnicasy, under
// state.dstMode ('2' asks through the prompter).
void decide_summer_time(ChartState& state, Cursor& summerTimes, MainInputs& inputs,
                        bool secondChart, Prompter& prompter);

// Move the chart's clock one hour back (summer time) or forward (winter time), across midnight
// when needed; rewrite its date and time inputs and state.dateText, timeText, hours, minutes,
// clockSeconds.
void shift_clock_back_one_hour(ChartState& state, MainInputs& inputs, bool secondChart);
void shift_clock_forward_one_hour(ChartState& state, MainInputs& inputs, bool secondChart);

}  // namespace horalun
