// MainWindowState: the main window's own switches, the hand-over flags and values between
// windows, the date-stepping runs and the mailbox served by the main window's timer.
#pragma once

#include <string>

namespace horalun {

struct MainWindowState {
    bool smallGlyphs = false;  // "Menší p&lanety"
    // Prefix of a point's aspect-line name ("Slunce", "1. dům", "ASC. par."); when not empty
    // the wheel draws only that point's aspects.
    std::string aspectFilter;

    // Hand-over from the names and towns windows.
    bool useAsNatal = false;
    bool useAsTransit = false;
    bool townsForNames = false;
    bool natalDstHandover = false;
    bool transitDstHandover = false;
    std::string townText;  // at most 35 characters

    bool keepComputedButton = false;  // "Natální / vypočtený" stays while the program edits
    bool restoreTransits = false;     // tick "&Tranzity" again when the inputs are unlocked
    bool versionChecked = false;

    // Date stepping: unit 0 none, 1 day, 2 month, 3 year; the date is a serial day.
    bool natalBackward = false;
    int natalStepUnit = 0;
    int natalStepDate = 0;
    bool natalReversal = false;
    bool transitBackward = false;
    int transitStepUnit = 0;
    int transitStepDate = 0;
    bool transitReversal = false;

    // The mailbox: "0" idle, "1" load transferDate/transferTime, "2" recompute, "3" set an hour.
    std::string transferCode = "0";
    std::string transferDate;
    std::string transferTime;

    // The hour and minute step_minute_back/forward parsed, for their caller.
    int savedHours = 0;
    int savedMinutes = 0;
};

}  // namespace horalun
