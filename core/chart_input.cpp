#include "core/chart_input.h"

#include <cmath>

#include "core/notation.h"
#include "data/table_store.h"
#include "data/text_format.h"

namespace horalun {

namespace {
InputField date_field(bool second) {
    return second ? InputField::TransitDate : InputField::NatalDate;
}
InputField time_field(bool second) {
    return second ? InputField::TransitTime : InputField::NatalTime;
}

// A coordinate must hold one of its letters, but neither begin nor end with one; its minutes
// stay below 60 and the whole within 180° of longitude or 90° of latitude.
bool coordinate_text_valid(std::string_view text, char a, char b) {
    if (text.find(a) == std::string_view::npos && text.find(b) == std::string_view::npos)
        return false;
    const auto is_letter = [&](char c) { return c == a || c == b; };
    if (is_letter(text.front()) || is_letter(text.back())) return false;
    const auto c = parse_coordinate(text, a == 'N');
    const int limit = a == 'N' ? 90 : 180;
    return c && c->minutes < 60 && c->degrees * 60 + c->minutes <= limit * 60;
}

bool fail(Prompter& prompter, std::string_view message, InputField field, InputField& focus) {
    prompter.message(message, MessageKind::Confirmation);
    focus = field;
    return false;
}

// The five checks of one chart; the focus fields are the chart's date, date, time, lon, lat.
bool validate_one(const std::string& date, const std::string& time, const std::string& lon,
                  const std::string& lat, bool second, bool windowCreating, Cursor& ephemeris,
                  Prompter& prompter, InputField& focus) {
    const InputField dateFocus =
        (!second && windowCreating) ? InputField::None : date_field(second);
    if (!parse_date_text(date)) return fail(prompter, kBadDateMessage, dateFocus, focus);
    ephemeris.selectIndex("datum");
    if (!ephemeris.findKey(date))
        return fail(prompter, kDateNotFoundMessage, date_field(second), focus);
    if (!clock_time_valid(time)) return fail(prompter, kBadTimeMessage, time_field(second), focus);
    if (lon.empty() || !coordinate_text_valid(lon, 'E', 'W'))
        return fail(prompter, kBadLongitudeMessage,
                    second ? InputField::TransitLon : InputField::NatalLon, focus);
    if (lat.empty() || !coordinate_text_valid(lat, 'N', 'S'))
        return fail(prompter, kBadLatitudeMessage,
                    second ? InputField::TransitLat : InputField::NatalLat, focus);
    return true;
}

void shift_clock(ChartState& state, MainInputs& inputs, bool second, int deltaSeconds) {
    const auto serial = parse_date_text(inputs.text(date_field(second)));
    const auto clock = parse_clock_time(inputs.text(time_field(second)));
    if (!serial || !clock) return;
    int day = *serial;
    int t = clock->seconds();
    if (deltaSeconds < 0) {
        // 0:30 becomes 23:30 of the day before; exactly 1:00 becomes 24:0 of the day before.
        if (t > 3600) {
            t -= 3600;
        } else {
            --day;
            t = t - 3600 + 86400;
        }
    } else if (t < 23 * 3600) {
        t += 3600;
    } else {
        ++day;
        t = t + 3600 - 86400;
    }
    inputs.setText(date_field(second), format_date_text(day));
    inputs.setText(time_field(second), format_clock_time(t / 3600, t % 3600 / 60));
    state.dateText = inputs.text(date_field(second));
    state.timeText = inputs.text(time_field(second));
    parse_clock_time(state, state.timeText);
}
}  // namespace

std::string year_of_date(std::string_view dateText) {
    const char sep = date_separator();
    const auto first = dateText.find(sep);
    if (first == std::string_view::npos) return {};
    const auto second = dateText.find(sep, first + 1);
    if (second == std::string_view::npos) return {};
    return std::string(dateText.substr(second + 1, 4));
}

bool validate_chart_input(ChartState& state, Cursor& ephemeris, const MainInputs& inputs,
                          Prompter& prompter, InputField& focus) {
    focus = InputField::None;
    if (!validate_one(state.dateText, state.timeText, state.lonText, state.latText, false,
                      state.windowCreating, ephemeris, prompter, focus))
        return false;
    if (!state.transitMode) return true;
    return validate_one(inputs.text(InputField::TransitDate), inputs.text(InputField::TransitTime),
                        inputs.text(InputField::TransitLon), inputs.text(InputField::TransitLat),
                        true, state.windowCreating, ephemeris, prompter, focus);
}

void decide_summer_time(ChartState& state, Cursor& summerTimes, MainInputs& inputs, bool second,
                        Prompter& prompter) {
    const bool settled = second ? state.transitDstSettled : state.natalDstSettled;
    if (state.dstMode == '1' || !state.dstLookupEnabled || settled) return;
    const Box winterBox = second ? Box::TransitWinter : Box::NatalWinter;
    const Box summerBox = second ? Box::TransitSummer : Box::NatalSummer;

    const std::string& dateText = inputs.text(date_field(second));
    const std::string year = year_of_date(dateText);
    const auto serial = parse_date_text(dateText);
    const auto clock = parse_clock_time(inputs.text(time_field(second)));
    if (!serial || !clock) return;
    const double moment = *serial + clock->seconds() / 86400.0;
    // Compare at whole seconds so that a period's end at 3:00 includes 3:00 itself.
    const auto seconds = [](double serialTime) { return std::llround(serialTime * 86400.0); };

    bool found = false;
    for (int pass = 1; pass <= 2; ++pass) {
        summerTimes.selectIndex("rok");
        if (!summerTimes.findKey(year)) continue;
        // The year's first row, then in pass 2 the row after it when it is of the same year.
        summerTimes.prior();
        if (summerTimes.asText("rok") != year) summerTimes.next();
        if (pass == 2) {
            summerTimes.next();
            if (summerTimes.asText("rok") != year) summerTimes.prior();
        }
        const double start = summerTimes.asDateTime("datumod") + summerTimes.asDateTime("casod");
        const double end = summerTimes.asDateTime("datumdo") + summerTimes.asDateTime("casdo");
        if (seconds(moment) < seconds(start) || seconds(moment) > seconds(end)) continue;
        found = true;
        const Box kindBox = summerTimes.asText("typ") == "Zimní" ? winterBox : summerBox;
        if (inputs.box(kindBox)) return;
        if (state.dstMode == '2' && !prompter.ask_yes_no(kDstQuestion)) return;
        inputs.setBox(kindBox, true);
    }
    if (found) return;
    // No period holds the moment: clear a box that should not be ticked.
    if (inputs.box(winterBox) && state.dstMode == '2') {
        if (prompter.ask_yes_no(kDstQuestion)) inputs.setBox(winterBox, false);
    } else if (inputs.box(summerBox) && state.dstMode == '2') {
        if (prompter.ask_yes_no(kDstQuestion)) inputs.setBox(summerBox, false);
    } else if (inputs.box(winterBox) && state.dstMode == '3') {
        inputs.setBox(winterBox, false);
    } else if (inputs.box(summerBox) && state.dstMode == '3') {
        inputs.setBox(summerBox, false);
    }
}

void shift_clock_back_one_hour(ChartState& state, MainInputs& inputs, bool secondChart) {
    shift_clock(state, inputs, secondChart, -3600);
}

void shift_clock_forward_one_hour(ChartState& state, MainInputs& inputs, bool secondChart) {
    shift_clock(state, inputs, secondChart, 3600);
}

}  // namespace horalun
