#include "core/date_stepping.h"

#include <chrono>

#include "core/notation.h"
#include "data/text_format.h"

namespace horalun {

int step_date(int serial, int unit, bool backward) {
    const int sign = backward ? -1 : 1;
    if (unit == 1) return serial + sign;
    if (unit != 2 && unit != 3) return serial;
    int y, m, d;
    ymd_from_serial(serial, y, m, d);
    int months = (unit == 2 ? 1 : 12) * sign;
    int total = y * 12 + (m - 1) + months;
    y = total / 12;
    m = total % 12 + 1;
    using namespace std::chrono;
    const unsigned last = unsigned((year{y} / month(unsigned(m)) / std::chrono::last).day());
    if (unsigned(d) > last) d = int(last);
    return serial_from_ymd(y, m, d);
}

void press_step_arrow(MainWindowState& w, ChartState& st, bool transit, bool backward) {
    bool& stepping = transit ? st.transitStepping : st.natalStepping;
    bool& runBackward = transit ? w.transitBackward : w.natalBackward;
    bool& reversal = transit ? w.transitReversal : w.natalReversal;
    int& unit = transit ? w.transitStepUnit : w.natalStepUnit;
    if (stepping && runBackward != backward) reversal = true;
    stepping = true;
    runBackward = backward;
    if (reversal) {
        reversal = false;
    } else {
        unit = unit == 3 ? 1 : unit + 1;
    }
}

bool step_tick(MainWindowState& w, ChartState& st, MainInputs& in) {
    if (st.natalStepping) {
        w.natalStepDate = step_date(w.natalStepDate, w.natalStepUnit, w.natalBackward);
        in.setText(InputField::NatalDate, format_date_text(w.natalStepDate));
    }
    if (st.transitStepping) {
        w.transitStepDate = step_date(w.transitStepDate, w.transitStepUnit, w.transitBackward);
        in.setText(InputField::TransitDate, format_date_text(w.transitStepDate));
    }
    return st.natalStepping || st.transitStepping;
}

void stop_stepping(MainWindowState& w, ChartState& st, bool transit) {
    (transit ? st.transitStepping : st.natalStepping) = false;
    (transit ? w.transitStepUnit : w.natalStepUnit) = 0;
    (transit ? w.transitReversal : w.natalReversal) = false;
}

namespace {
// Reads the natal date and time inputs into the state; false when they do not parse.
bool read_natal_moment(MainWindowState& w, ChartState& st, MainInputs& in) {
    st.dateText = in.text(InputField::NatalDate);
    st.timeText = in.text(InputField::NatalTime);
    const auto serial = parse_date_text(st.dateText);
    const auto clock = parse_clock_time(st, st.timeText);
    if (!serial || !clock) return false;
    w.natalStepDate = *serial;
    w.savedHours = st.hours;
    w.savedMinutes = st.minutes;
    return true;
}

void move_natal_day(MainWindowState& w, ChartState& st, MainInputs& in, int days) {
    w.natalStepDate += days;
    in.setText(InputField::NatalDate, format_date_text(w.natalStepDate));
    st.dateText = in.text(InputField::NatalDate);
}
}  // namespace

bool step_minute_back(MainWindowState& w, ChartState& st, MainInputs& in) {
    if (!read_natal_moment(w, st, in)) return false;
    if (st.minutes > 0) {
        --st.minutes;
    } else if (st.hours > 0) {
        --st.hours;
        st.minutes = 59;
    } else {
        st.hours = 23;
        st.minutes = 59;
        move_natal_day(w, st, in, -1);
    }
    st.clockSeconds = st.hours * 3600 + st.minutes * 60;
    st.timeText = format_clock_time(st.hours, st.minutes);
    return true;
}

bool step_minute_forward(MainWindowState& w, ChartState& st, MainInputs& in) {
    if (!read_natal_moment(w, st, in)) return false;
    if (st.minutes != 59) {
        ++st.minutes;
    } else if (st.hours == 23) {
        st.hours = 0;
        st.minutes = 0;
        move_natal_day(w, st, in, 1);
    } else {
        ++st.hours;
        st.minutes = 0;
    }
    st.clockSeconds = st.hours * 3600 + st.minutes * 60;
    st.timeText = format_clock_time(st.hours, st.minutes);
    return true;
}

bool serve_mailbox(MainWindowState& w, ChartState& st, MainInputs& in) {
    if (w.transferCode == "1") {
        w.transferCode = "0";
        in.setText(st.transitMode ? InputField::TransitDate : InputField::NatalDate,
                   w.transferDate);
        in.setText(st.transitMode ? InputField::TransitTime : InputField::NatalTime,
                   w.transferTime);
        return true;
    }
    if (w.transferCode == "2") {
        w.transferCode = "0";
        return true;
    }
    if (w.transferCode == "3") {
        int hour = 0;
        bool isHour = !w.aspectFilter.empty() && w.aspectFilter.size() <= 2;
        for (char c : w.aspectFilter) {
            if (c < '0' || c > '9') isHour = false;
            else hour = hour * 10 + (c - '0');
        }
        if (isHour && hour >= 1 && hour <= 23 && w.aspectFilter[0] != '0')
            in.setText(st.transitMode ? InputField::TransitTime : InputField::NatalTime,
                       std::to_string(hour) + ":0");
        w.aspectFilter.clear();
        w.transferCode = "0";
        return true;
    }
    return false;
}

}  // namespace horalun
