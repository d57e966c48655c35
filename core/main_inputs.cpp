#include "core/main_inputs.h"

#include <cctype>

namespace horalun {

MainInputs::MainInputs(ChartState& state) : state_(state) {
    values_.boxes[size_t(Box::Planets)] = true;
    state_.planetAspects = true;
}

void MainInputs::setText(InputField field, std::string_view text) {
    std::string t(text);
    const bool lon = field == InputField::NatalLon || field == InputField::TransitLon;
    const bool lat = field == InputField::NatalLat || field == InputField::TransitLat;
    if (lon || lat) {
        for (char& c : t) c = char(std::toupper(static_cast<unsigned char>(c)));
        // A coordinate always starts with its degrees.
        while (!t.empty() && (lon ? (t[0] == 'E' || t[0] == 'W') : (t[0] == 'N' || t[0] == 'S')))
            t.erase(0, 1);
    }
    std::string& current = values_.texts[size_t(field)];
    if (current == t) return;
    current = std::move(t);
    switch (field) {
        case InputField::NatalDate:
        case InputField::NatalTime:
            state_.natalDstSettled = false;
            if (natalMomentEdited) natalMomentEdited();
            break;
        case InputField::TransitDate:
        case InputField::TransitTime:
            state_.transitDstSettled = false;
            break;
        default:
            break;
    }
}

void MainInputs::setBox(Box b, bool checked) {
    bool& value = values_.boxes[size_t(b)];
    if (value == checked) return;
    value = checked;
    switch (b) {
        case Box::NatalSummer:
        case Box::NatalWinter:
            if (suppressDstClicks) break;
            state_.natalDstSettled = true;
            if (checked) setBox(b == Box::NatalSummer ? Box::NatalWinter : Box::NatalSummer, false);
            break;
        case Box::TransitSummer:
        case Box::TransitWinter:
            state_.transitDstSettled = true;
            if (checked)
                setBox(b == Box::TransitSummer ? Box::TransitWinter : Box::TransitSummer, false);
            break;
        case Box::Transits:
            state_.transitMode = checked;
            if (checked) {
                state_.transitDstSettled = false;
            } else {
                state_.transitStepping = false;
                setBox(Box::ShowTransitValues, false);
            }
            break;
        case Box::Partner:
            state_.partnerMode = checked;
            break;
        case Box::ShowTransitValues:
            state_.showTransitValues = checked;
            break;
        case Box::Planets:
            state_.planetAspects = checked;
            break;
        case Box::Houses:
            state_.houseAspects = checked;
            break;
        case Box::Arabic:
            if (!checked) state_.arabicPart = 0;
            break;
        default:
            break;
    }
}

}  // namespace horalun
