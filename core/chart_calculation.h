// The chart calculation: from the main window's inputs to the complete chart in ChartState, the
// panel texts, uhly_prvku.txt and aspekty.txt. ChartSession holds everything one program run
// (or one test) needs: the open tables, the chart state, the inputs and the prompter.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/aspects.h"
#include "core/chart_panels.h"
#include "core/chart_state.h"
#include "core/degree_meanings.h"
#include "core/main_inputs.h"
#include "core/main_window_state.h"
#include "core/prompter.h"
#include "data/table_store.h"

namespace horalun {

inline constexpr std::string_view kPlacidusFailedMessage =
    "Pro tuto zeměpisnou šířku nelze domy Placidus spočítat !";
inline constexpr const char* kAspectsFile = "aspekty.txt";

class ChartSession {
  public:
    // Opens the cursors on the tables of `db` and reads the settings the calculation mirrors
    // (summer-time mode, night formula, glyph spacing). Throws TableError for a missing table.
    ChartSession(std::shared_ptr<Database> db, Prompter& prompter, std::string workDir = ".");

    std::shared_ptr<Database> db;
    Cursor natalEphemeris;
    Cursor transitEphemeris;
    Cursor settings;     // nastaveni_aspektu
    Cursor summerTimes;  // letnicasy
    Cursor degreeTexts;  // stup_txt
    DegreeMeaningTable meanings;

    ChartState state;
    MainInputs inputs{state};
    MainWindowState window;
    ChartPanels panels;
    Prompter& prompter;
    std::string workDir;  // where aspekty.txt and uhly_prvku.txt are written
    char decimalSeparator = '.';

    // What the last successful calculation wrote, for the command line.
    std::vector<AspectLine> aspectLines;
    std::vector<DegreeMeaning> degreeMeanings;

    // Repaints the chart wheel at the end of a calculation (unless silentCalculation).
    std::function<void()> redrawWheel;

    // Reads the summer-time mode and the night-formula switch from the settings record.
    void read_settings();
};

struct CalculationResult {
    enum class Status {
        Done,
        Busy,          // a calculation was already running: nothing done
        Invalid,       // an input failed validation (message shown)
        DateOffTable,  // the summer-time shift moved the date off the table: nothing computed
        Failed,        // Placidus has no solution, the settings do not convert, ...
    };
    Status status = Status::Done;
    InputField focus = InputField::None;
    bool ok() const { return status == Status::Done; }
};

// One whole chart calculation. On any failure the chart, the panels, the inputs and the files
// stay as they were, and `calculating` is cleared.
CalculationResult calculate_chart(ChartSession& session);

}  // namespace horalun
