// The main window's inputs as a model: the eight date, time and place texts, the check boxes and
// the house system. The setters carry the effects of the window's change and click handlers that
// the computations rely on; the Qt window binds its widgets to this model both ways.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "core/chart_state.h"

namespace horalun {

// The eight edits, also used to say which input takes the focus after a failed validation.
enum class InputField {
    None,
    NatalDate,    // Edit1
    NatalTime,    // Edit2
    NatalLon,     // Edit3
    NatalLat,     // Edit4
    TransitDate,  // Edit8
    TransitTime,  // Edit7
    TransitLon,   // Edit6
    TransitLat,   // Edit5
};

enum class Box {
    NatalSummer,        // CheckBox6 "Letní čas"
    NatalWinter,        // CheckBox14 "Zimní čas"
    TransitSummer,      // CheckBox7
    TransitWinter,      // CheckBox15
    Transits,           // CheckBox3 "&Tranzity"
    Partner,            // CheckBox16 "Partnerský"
    ShowTransitValues,  // CheckBox5 "&Zobrazit hodnoty tranzitů"
    Planets,            // CheckBox1 "&Planety"
    Houses,             // CheckBox2 "Dom&y"
    Fortune,            // CheckBox12 "Bod štěstí"
    SouthNode,          // CheckBox13 "Jižní. Uzel"
    Arabic,             // CheckBox17 "Arabské body"
    AngleAsc,           // CheckBox8 "ASC"
    AngleMc,            // CheckBox9 "MC"
    AngleDesc,          // CheckBox10 "Desc."
    AngleIc,            // CheckBox11 "IC."
};
inline constexpr int kBoxCount = int(Box::AngleIc) + 1;

class MainInputs {
  public:
    // The inputs' own values, copyable as a whole (a failed calculation puts them back).
    struct Values {
        std::array<std::string, 9> texts{"",          "24.4.1966", "9:03",  "14E25", "50N05",
                                         "24.4.1966", "9:03",      "14E25", "50N05"};
        std::array<bool, kBoxCount> boxes{};
        bool placidus = false;  // "Plac&idus" instead of "Re&giomontanus"
    };

    explicit MainInputs(ChartState& state);

    const std::string& text(InputField field) const { return values_.texts[size_t(field)]; }
    // Coordinates become upper case and lose a leading hemisphere letter; a change of a date or
    // time clears that chart's summer-time settled flag.
    void setText(InputField field, std::string_view text);

    bool box(Box b) const { return values_.boxes[size_t(b)]; }
    // Runs the box's click effect when its state changes.
    void setBox(Box b, bool checked);

    bool placidus() const { return values_.placidus; }
    void setPlacidus(bool placidus) { values_.placidus = placidus; }

    // While set, the natal summer and winter boxes change without their click effects.
    bool suppressDstClicks = false;
    // Called after a natal date or time text changed (the window hides "Natální / vypočtený").
    std::function<void()> natalMomentEdited;

    const Values& values() const { return values_; }
    void restore(const Values& v) { values_ = v; }

  private:
    ChartState& state_;
    Values values_;
};

}  // namespace horalun
