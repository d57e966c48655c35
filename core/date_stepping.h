// Date stepping of the natal and transit charts, the minute steppers and the mailbox: the
// logic of the main window's timers, without the timers themselves.
#pragma once

#include "core/chart_state.h"
#include "core/main_inputs.h"
#include "core/main_window_state.h"

namespace horalun {

// The serial day one unit (1 day, 2 month, 3 year) before or after `serial`; a month or year
// step keeps the day of the month where the target month has it, else takes its last day.
int step_date(int serial, int unit, bool backward);

// An arrow press on a chart's stepping run (after the window validated its inputs): reversal
// mark, direction and the unit's advance 0 -> 1 -> 2 -> 3 -> 1.
void press_step_arrow(MainWindowState& window, ChartState& state, bool transit, bool backward);

// One tick of the stepping timer: moves every active run by its unit and writes the dates into
// the date inputs. Returns true when a run is active (the chart is then to be computed).
bool step_tick(MainWindowState& window, ChartState& state, MainInputs& inputs);

// "Stop" of one run.
void stop_stepping(MainWindowState& window, ChartState& state, bool transit);

// One minute back or forward from the natal date and time inputs, as the primary directions
// step: sets state.dateText/timeText/hours/minutes, window.natalStepDate and the saved hour and
// minute, and rewrites the natal date input when the day changes (never the time input).
// False when the inputs do not parse.
bool step_minute_back(MainWindowState& window, ChartState& state, MainInputs& inputs);
bool step_minute_forward(MainWindowState& window, ChartState& state, MainInputs& inputs);

// One tick of the mailbox timer; true when the chart is to be computed.
bool serve_mailbox(MainWindowState& window, ChartState& state, MainInputs& inputs);

}  // namespace horalun
