#include "core/chart_calculation.h"

#include <filesystem>

#include "core/arabic_parts.h"
#include "core/chart_input.h"
#include "core/ephemeris.h"
#include "core/houses.h"
#include "core/notation.h"
#include "core/zodiac.h"
#include "data/settings_record.h"
#include "data/text_file.h"
#include "data/text_format.h"

namespace horalun {

ChartSession::ChartSession(std::shared_ptr<Database> database, Prompter& p, std::string dir)
    : db(std::move(database)),
      natalEphemeris(db, "efemeris"),
      transitEphemeris(db, "efemeris"),
      settings(db, "nastaveni_aspektu"),
      summerTimes(db, "letnicasy"),
      degreeTexts(db, "stup_txt"),
      prompter(p),
      workDir(std::move(dir)) {
    natalEphemeris.selectIndex("datum");
    transitEphemeris.selectIndex("datum");
    meanings.load(degreeTexts);
    read_settings();
}

void ChartSession::read_settings() {
    const OrbSettings s = read_orb_settings(settings);
    state.dstMode = s.dstMode.empty() ? '3' : s.dstMode[0];
    state.useNightFormula = s.fortuneMode == "1";
    state.planetAngleLimit = s.planetAngleLimit;
    state.orbSetting = s.orbs;
}

namespace {

struct Failure {
    std::string message;
    InputField focus;
};

class Calculation {
  public:
    explicit Calculation(ChartSession& s)
        : s_(s),
          st_(s.state),
          in_(s.inputs),
          meaningsFile_((std::filesystem::path(s.workDir) / kDegreeMeaningsFile).string()),
          aspectsFile_((std::filesystem::path(s.workDir) / kAspectsFile).string()) {}

    CalculationResult run();

  private:
    void natal_chart();
    void second_chart();
    void aspects();
    void body(PointKey key, bool second);
    void meaning(std::string_view name, std::string_view position, std::string_view sign);
    void count(std::string_view sign, int weight);
    void houses(bool second);

    ChartSession& s_;
    ChartState& st_;
    MainInputs& in_;
    TextFileWriter meaningsFile_;
    TextFileWriter aspectsFile_;
    std::vector<DegreeMeaning> meanings_;
    std::vector<AspectLine> lines_;
    ChartClock natalClock_, transitClock_;
    bool transitFound_ = false;
};

// A clock time before 1:00 on the table's first day has no previous day's sidereal time.
bool before_table_start(const Cursor& ephemeris, int clockSeconds) {
    return ephemeris.recNo() == 0 && clockSeconds < 3600;
}

void Calculation::meaning(std::string_view name, std::string_view position, std::string_view sign) {
    DegreeMeaning m = s_.meanings.lookup(name, position, sign);
    append_degree_meaning(meaningsFile_, m);
    meanings_.push_back(std::move(m));
}

void Calculation::count(std::string_view sign, int weight) {
    const int i = sign_index(sign);
    if (i < 0) return;
    for (int c : element_counters(zodiac_signs()[size_t(i)])) st_.elementCount[size_t(c)] += weight;
}

void Calculation::houses(bool second) {
    Cursor& eph = second ? s_.transitEphemeris : s_.natalEphemeris;
    const HouseStatus status = compute_houses(st_, eph, second ? nullptr : &s_.panels);
    if (status == HouseStatus::NoPlacidusSolution)
        throw Failure{std::string(kPlacidusFailedMessage),
                      second ? InputField::TransitLat : InputField::NatalLat};
    if (status == HouseStatus::NoPreviousDay)
        throw Failure{std::string(kDateNotFoundMessage),
                      second ? InputField::TransitDate : InputField::NatalDate};
}

// One body of the natal chart or of the second chart: position, panel, meaning and count.
void Calculation::body(PointKey key, bool second) {
    Cursor& eph = second ? s_.transitEphemeris : s_.natalEphemeris;
    const bool showHere = second ? st_.showTransitValues : !st_.showTransitValues;
    const bool southNode = in_.box(Box::SouthNode);
    st_.currentKey = key;
    if (key == PointKey::j_uzel) {
        south_node(st_);
    } else {
        st_.fieldText = ephemeris_text(eph, key);
        body_position(st_, eph);
        if (can_be_retrograde(key))
            (second ? st_.retroTransit : st_.retroNatal)[key] = st_.dayRetrograde;
    }
    if (showHere) set_panel_row(s_.panels.positions[key], st_.positionText, st_.currentSign);
    if (key == PointKey::j_uzel && !southNode) return;
    if (second && key == PointKey::slunce) append_transit_meanings_heading(meaningsFile_);
    meaning(degree_meaning_name(key), st_.positionText, st_.currentSign);
    if (!second) count(st_.currentSign, key == PointKey::slunce || key == PointKey::mesic ? 2 : 1);
}

void Calculation::natal_chart() {
    ChartPanels& panels = s_.panels;
    // Daily motions of the date as entered, before any summer-time shift.
    s_.natalEphemeris.findKey(st_.natalDateText);
    daily_motions(st_, s_.natalEphemeris, panels.moonSpeed, panels.mercurySpeed);
    s_.natalEphemeris.findKey(st_.dateText);

    parse_clock_time(st_, st_.timeText);
    if (before_table_start(s_.natalEphemeris, st_.clockSeconds))
        throw Failure{std::string(kDateNotFoundMessage), InputField::NatalDate};
    for (PointKey key : kBodyOrder) body(key, false);

    st_.currentSign.clear();
    houses(false);
    sun_below_horizon(st_, st_.cusp[1], st_.cusp[7], st_.natalLon[PointKey::slunce], false);
    panels.dayNight = st_.nightBirth ? "Noční" : "Denní";

    const bool fortune = in_.box(Box::Fortune);
    const bool arabic = st_.arabicPart >= 1 && st_.arabicPart <= 15;
    if (fortune) part_of_fortune(st_, false);
    if (arabic) arabic_part(st_);
    if (fortune) {
        sign_of_longitude(st_, st_.natalLon[PointKey::stesti]);
        if (!st_.showTransitValues)
            set_panel_row(panels.positions[PointKey::stesti], st_.positionText, st_.signText);
        meaning(degree_meaning_name(PointKey::stesti), st_.positionText, st_.signText);
        count(st_.signText, 1);
    }
    if (arabic) {
        const PointKey key = arabic_part_key(st_.arabicPart);
        sign_of_longitude(st_, st_.natalLon[key]);
        if (!st_.showTransitValues) {
            panels.arabicPicture = "otec1.bmp";
            panels.arabicCaption = arabic_part_caption(st_.arabicPart);
            set_panel_row(panels.positions[key], st_.positionText, st_.signText);
        }
        meaning(degree_meaning_name(key), st_.positionText, st_.signText);
    }
    for (int h = 1; h <= 12; ++h)
        meaning(natal_cusp_name(h), panels.houses[size_t(h)].position,
                panels.houses[size_t(h)].sign);
    for (size_t i = 0; i < panels.elements.size(); ++i)
        panels.elements[i] = std::to_string(st_.elementCount[i]);
}

void Calculation::second_chart() {
    st_.storeTransit = true;
    st_.dateText = in_.text(InputField::TransitDate);
    st_.timeText = in_.text(InputField::TransitTime);
    st_.lonText = in_.text(InputField::TransitLon);
    st_.latText = in_.text(InputField::TransitLat);
    st_.transitLonText = st_.lonText;
    st_.transitLatText = st_.latText;
    decide_summer_time(st_, s_.summerTimes, in_, true, s_.prompter);
    if (in_.box(Box::TransitSummer)) shift_clock_back_one_hour(st_, in_, true);
    if (in_.box(Box::TransitWinter)) shift_clock_forward_one_hour(st_, in_, true);
    transitFound_ = s_.transitEphemeris.findKey(st_.dateText);
    if (transitFound_) {
        parse_clock_time(st_, st_.timeText);
        if (before_table_start(s_.transitEphemeris, st_.clockSeconds))
            throw Failure{std::string(kDateNotFoundMessage), InputField::TransitDate};
        transitClock_ = {int(*parse_date_text(st_.dateText)), st_.clockSeconds, st_.lonText,
                         st_.latText};
        st_.quiet = true;
        st_.storeTransitAngles = true;
        houses(true);
        st_.quiet = false;
        st_.storeTransitAngles = false;
        for (PointKey key : kBodyOrder) body(key, true);

        sun_below_horizon(st_, st_.transitAngle[0], st_.transitAngle[2],
                          st_.transitLon[PointKey::slunce], true);
        if (in_.box(Box::Fortune)) {
            part_of_fortune(st_, true);
            sign_of_longitude(st_, st_.transitLon[PointKey::stesti]);
            if (st_.showTransitValues)
                set_panel_row(s_.panels.positions[PointKey::stesti], st_.positionText,
                              st_.signText);
            meaning(degree_meaning_name(PointKey::stesti), st_.positionText, st_.signText);
        }
        const std::pair<Box, PointKey> angles[] = {{Box::AngleAsc, PointKey::dum1_tranz},
                                                   {Box::AngleMc, PointKey::dum10_tranz},
                                                   {Box::AngleDesc, PointKey::dum7_tranz},
                                                   {Box::AngleIc, PointKey::dum4_tranz}};
        const int index[] = {0, 3, 2, 1};
        for (int i = 0; i < 4; ++i) {
            if (!in_.box(angles[i].first)) continue;
            sign_of_longitude(st_, st_.transitAngle[size_t(index[i])]);
            meaning(degree_meaning_name(angles[i].second), st_.positionText, st_.signText);
        }
    }
    st_.storeTransit = false;
}

void Calculation::aspects() {
    st_.orbSetting = read_orb_settings(s_.settings).orbs;
    st_.aspectStep = 5 * 3600;
    AspectRun run{st_,           s_.natalEphemeris, s_.transitEphemeris,
                  in_,           natalClock_,       transitClock_,
                  &aspectsFile_, &lines_,           s_.decimalSeparator};
    // Without its day in the table the second chart is not computed, and not paired.
    const bool transitMode = st_.transitMode;
    if (transitMode && !transitFound_) st_.transitMode = false;
    const AspectStatus status = aspect_list(run);
    st_.transitMode = transitMode;
    if (status == AspectStatus::PlacidusFailed)
        throw Failure{std::string(kPlacidusFailedMessage), InputField::NatalLat};
}

CalculationResult Calculation::run() {
    if (st_.calculating) return {CalculationResult::Status::Busy};
    const ChartState savedState = st_;
    const ChartPanels savedPanels = s_.panels;
    const MainInputs::Values savedInputs = in_.values();
    st_.calculating = true;

    auto undo = [&](CalculationResult::Status status, InputField focus) {
        st_ = savedState;
        s_.panels = savedPanels;
        in_.restore(savedInputs);
        st_.calculating = false;
        return CalculationResult{status, focus};
    };

    if (in_.box(Box::Planets)) st_.planetAspects = true;
    st_.houseSystem = in_.placidus() ? 2 : 1;
    st_.quiet = false;
    st_.aspectPairs.clear();
    st_.elementCount.fill(0);
    st_.cuspSign.clear();
    st_.dateText = st_.natalDateText = in_.text(InputField::NatalDate);
    st_.timeText = in_.text(InputField::NatalTime);
    st_.lonText = st_.natalLonText = in_.text(InputField::NatalLon);
    st_.latText = st_.natalLatText = in_.text(InputField::NatalLat);

    InputField focus = InputField::None;
    if (!validate_chart_input(st_, s_.natalEphemeris, in_, s_.prompter, focus))
        return undo(CalculationResult::Status::Invalid, focus);

    st_.enteredDateText = in_.text(InputField::NatalDate);
    st_.enteredTimeText = in_.text(InputField::NatalTime);
    const std::string transitDate = in_.text(InputField::TransitDate);
    const std::string transitTime = in_.text(InputField::TransitTime);

    try {
        decide_summer_time(st_, s_.summerTimes, in_, false, s_.prompter);
        if (in_.box(Box::NatalSummer)) shift_clock_back_one_hour(st_, in_, false);
        if (in_.box(Box::NatalWinter)) shift_clock_forward_one_hour(st_, in_, false);

        CalculationResult::Status status = CalculationResult::Status::Done;
        if (s_.natalEphemeris.findKey(st_.dateText)) {
            natal_chart();
            natalClock_ = {int(*parse_date_text(st_.dateText)), st_.clockSeconds, st_.lonText,
                           st_.latText};
            const auto natalCusps = st_.cusp;
            const std::string natalTexts[] = {st_.dateText, st_.timeText, st_.lonText, st_.latText};
            if (st_.transitMode) {
                second_chart();
                st_.dateText = natalTexts[0];
                st_.timeText = natalTexts[1];
                st_.lonText = natalTexts[2];
                st_.latText = natalTexts[3];
                parse_clock_time(st_, st_.timeText);
                s_.natalEphemeris.findKey(st_.dateText);
            }
            st_.cusp = natalCusps;
            aspects();
            meaningsFile_.flush();
            aspectsFile_.flush();
            s_.aspectLines = std::move(lines_);
            s_.degreeMeanings = std::move(meanings_);
        } else {
            // Only the summer-time shift can move the date off the table: nothing is computed.
            status = CalculationResult::Status::DateOffTable;
        }

        if (!st_.silentCalculation && s_.redrawWheel) s_.redrawWheel();
        in_.setText(InputField::NatalDate, st_.enteredDateText);
        in_.setText(InputField::NatalTime, st_.enteredTimeText);
        in_.setText(InputField::TransitDate, transitDate);
        in_.setText(InputField::TransitTime, transitTime);
        st_.calculating = false;
        st_.natalDstSettled = true;
        st_.transitDstSettled = true;
        return {status};
    } catch (const Failure& f) {
        s_.prompter.message(f.message, MessageKind::Error);
        return undo(CalculationResult::Status::Failed, f.focus);
    } catch (const std::exception& e) {
        // A table or conversion error of the store ends the calculation with its own message.
        s_.prompter.message(e.what(), MessageKind::Error);
        return undo(CalculationResult::Status::Failed, InputField::None);
    }
}

}  // namespace

CalculationResult calculate_chart(ChartSession& session) {
    return Calculation(session).run();
}

}  // namespace horalun
