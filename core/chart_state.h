// ChartState: the inputs, working registers, modes and results of the chart computation.
// One lives in the program's session object; tests make their own.
#pragma once

#include <array>
#include <string>

#include "core/points.h"

namespace horalun {

struct ChartState {
    // Positions and results (degrees, 0..360).
    PointMap<double> natalLon;             // the fourteen bodies, stesti and the Arabic parts
    PointMap<double> transitLon;           // the second chart's bodies and stesti
    std::array<double, 13> cusp{};         // natal cusps, [1] ASC .. [4] IC .. [7] DESC .. [10] MC
    std::array<double, 4> transitAngle{};  // second chart's ASC, IC, DESC, MC
    PointMap<bool> retroNatal;
    PointMap<bool> retroTransit;
    PointMap<double> dailyMotion;       // degrees per day
    std::array<int, 9> elementCount{};  // indexed by ElementCounter
    bool nightBirth = false;
    bool transitNightBirth = false;
    std::string aspectPairs;
    std::string eighthCuspSign;

    // Inputs and working texts.
    std::string dateText, timeText, lonText, latText;
    std::string natalLonText, natalLatText, transitLonText, transitLatText;
    std::string natalDateText;
    std::string enteredDateText, enteredTimeText;
    int clockSeconds = 0;  // hours * 3600 + minutes * 60 of the last parsed clock time
    int hours = 0;
    int minutes = 0;
    PointKey currentKey = PointKey::slunce;
    PointKey partnerKey = PointKey::slunce;
    std::string fieldText;     // the day row's ephemeris text of currentKey
    std::string positionText;  // "14° 05'" of the last computed point
    std::string currentSign;
    std::string cuspSign;
    std::string oppositeSign;
    std::string signText;
    bool dayRetrograde = false;  // retrograde mark of the last parsed ephemeris day
    int lastParsedSign = 0;      // sign kept when an ephemeris text carries no sign letter

    // Modes and settings.
    int houseSystem = 1;  // 1 Regiomontanus, 2 Placidus
    bool transitMode = false;
    bool partnerMode = false;
    bool showTransitValues = false;
    bool planetAspects = false;
    bool houseAspects = false;
    bool storeTransit = false;
    bool quiet = false;
    bool storeTransitAngles = false;
    bool natalStepping = false;
    bool transitStepping = false;
    bool calculating = false;
    bool windowCreating = false;
    bool silentCalculation = false;
    bool useNightFormula = true;
    char dstMode = '3';  // '1' nothing, '2' ask, '3' automatic
    bool natalDstSettled = false;
    bool transitDstSettled = false;
    bool dstLookupEnabled = false;
    int arabicPart = 0;    // 0 none, 1..15
    int deathVariant = 1;  // 1..4
    std::array<int, 12> orbSetting{};
    int aspectStep = 5 * 3600;  // seconds
    int planetAngleLimit = 5;

    // Longitudes of the chart being computed now (natal, or the second chart while storeTransit).
    PointMap<double>& currentLon() { return storeTransit ? transitLon : natalLon; }
};

}  // namespace horalun
