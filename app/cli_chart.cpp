// horalun-cli chart: one whole chart calculation with every input the main window offers.
#include <cmath>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/cli_commands.h"
#include "core/arabic_parts.h"
#include "core/chart_calculation.h"
#include "core/chart_input.h"
#include "core/ephemeris.h"
#include "core/notation.h"
#include "core/zodiac.h"

namespace horalun::cli {

namespace {
using json = nlohmann::ordered_json;

double rounded(double v) {
    return std::round(v * 1e6) / 1e6;
}

std::string padded(const std::string& text, size_t width) {
    size_t chars = 0;
    for (unsigned char c : text) chars += (c & 0xC0) != 0x80;
    return chars < width ? text + std::string(width - chars, ' ') : text;
}

const char* kUsage =
    "Použití: horalun-cli chart [--date D] [--time T] [--lon L] [--lat B] [--placidus]\n"
    "  [--summer] [--winter] [--dst-mode 1|2|3] [--answer yes|no] [--night-formula on|off]\n"
    "  [--fortune] [--south-node] [--arabic N] [--death-variant V]\n"
    "  [--no-planet-aspects] [--house-aspects]\n"
    "  [--transit DATUM ČAS DÉLKA ŠÍŘKA] [--partner] [--transit-summer] [--transit-winter]\n"
    "  [--angles ASC,MC,DESC,IC] [--show-transit-values] [--json] [--data SOUBOR]\n";

int usage_error(const std::string& what) {
    std::cerr << what << '\n' << kUsage;
    return 2;
}

// Prints what the calculation asks and answers it from the command line.
class CliPrompter : public Prompter {
  public:
    explicit CliPrompter(bool answer) : answer_(answer) {}
    void message(std::string_view text, MessageKind) override { std::cerr << text << '\n'; }
    bool ask_yes_no(std::string_view text) override {
        std::cerr << text << ' ' << (answer_ ? "Ano" : "Ne") << '\n';
        return answer_;
    }

  private:
    bool answer_;
};

json position_json(double lon) {
    const SignPosition p = sign_position(lon);
    return {{"longitude", rounded(lon)}, {"sign", p.signName()}, {"position", p.text()}};
}
}  // namespace

int run_chart(std::vector<std::string> args) {
    CommonOptions common;
    if (!take_common_options(args, common)) return 2;

    std::map<std::string, std::string> texts = {
        {"--date", "24.4.1966"}, {"--time", "9:03"}, {"--lon", "14E25"}, {"--lat", "50N05"}};
    bool placidus = false, summer = false, winter = false, answer = true;
    bool fortune = false, southNode = false, noPlanets = false, houseAspects = false;
    bool partner = false, transitSummer = false, transitWinter = false, showTransit = false;
    std::optional<char> dstMode;
    std::optional<bool> nightFormula;
    int arabic = 0, deathVariant = 1;
    std::vector<std::string> transit;
    std::vector<Box> angles;

    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (texts.count(a)) {
            if (!value(texts[a])) return usage_error("Volba " + a + " vyžaduje hodnotu.");
        } else if (a == "--placidus") {
            placidus = true;
        } else if (a == "--summer") {
            summer = true;
        } else if (a == "--winter") {
            winter = true;
        } else if (a == "--dst-mode") {
            if (!value(v) || (v != "1" && v != "2" && v != "3"))
                return usage_error("--dst-mode je 1, 2 nebo 3.");
            dstMode = v[0];
        } else if (a == "--answer") {
            if (!value(v) || (v != "yes" && v != "no"))
                return usage_error("--answer je yes nebo no.");
            answer = v == "yes";
        } else if (a == "--night-formula") {
            if (!value(v) || (v != "on" && v != "off"))
                return usage_error("--night-formula je on nebo off.");
            nightFormula = v == "on";
        } else if (a == "--fortune") {
            fortune = true;
        } else if (a == "--south-node") {
            southNode = true;
        } else if (a == "--arabic" || a == "--death-variant") {
            const int max = a == "--arabic" ? 15 : 4;
            int n = 0;
            if (!value(v) || (n = std::atoi(v.c_str())) < 1 || n > max || std::to_string(n) != v)
                return usage_error(a + " je celé číslo 1 až " + std::to_string(max) + ".");
            (a == "--arabic" ? arabic : deathVariant) = n;
        } else if (a == "--no-planet-aspects") {
            noPlanets = true;
        } else if (a == "--house-aspects") {
            houseAspects = true;
        } else if (a == "--transit") {
            if (i + 4 >= args.size())
                return usage_error("--transit vyžaduje datum, čas, délku a šířku.");
            transit.assign(args.begin() + long(i) + 1, args.begin() + long(i) + 5);
            i += 4;
        } else if (a == "--partner") {
            partner = true;
        } else if (a == "--transit-summer") {
            transitSummer = true;
        } else if (a == "--transit-winter") {
            transitWinter = true;
        } else if (a == "--show-transit-values") {
            showTransit = true;
        } else if (a == "--angles") {
            if (!value(v)) return usage_error("--angles vyžaduje seznam úhlů.");
            std::stringstream list(v);
            std::string item;
            while (std::getline(list, item, ',')) {
                if (item == "ASC")
                    angles.push_back(Box::AngleAsc);
                else if (item == "MC")
                    angles.push_back(Box::AngleMc);
                else if (item == "DESC")
                    angles.push_back(Box::AngleDesc);
                else if (item == "IC")
                    angles.push_back(Box::AngleIc);
                else
                    return usage_error("Neznámý úhel „" + item + "“ (ASC, MC, DESC, IC).");
            }
        } else {
            return usage_error("Neznámá volba „" + a + "“.");
        }
    }

    CliPrompter prompter(answer);
    ChartSession session(Database::open(common.dataPath), prompter, ".");
    ChartState& st = session.state;
    MainInputs& in = session.inputs;
    if (dstMode) st.dstMode = *dstMode;
    if (nightFormula) st.useNightFormula = *nightFormula;
    st.dstLookupEnabled = true;

    in.setText(InputField::NatalDate, texts["--date"]);
    in.setText(InputField::NatalTime, texts["--time"]);
    in.setText(InputField::NatalLon, texts["--lon"]);
    in.setText(InputField::NatalLat, texts["--lat"]);
    in.setPlacidus(placidus);
    // Boxes ticked by hand settle the chart's summer time, as a click in the window does.
    st.natalDstSettled = false;
    if (summer) in.setBox(Box::NatalSummer, true);
    if (winter) in.setBox(Box::NatalWinter, true);
    in.setBox(Box::Fortune, fortune);
    in.setBox(Box::SouthNode, southNode);
    if (arabic) {
        in.setBox(Box::Arabic, true);
        st.arabicPart = arabic;
        st.deathVariant = deathVariant;
    }
    in.setBox(Box::Planets, !noPlanets);
    in.setBox(Box::Houses, houseAspects);
    if (!transit.empty()) {
        in.setText(InputField::TransitDate, transit[0]);
        in.setText(InputField::TransitTime, transit[1]);
        in.setText(InputField::TransitLon, transit[2]);
        in.setText(InputField::TransitLat, transit[3]);
        in.setBox(Box::Transits, true);
        in.setBox(Box::Partner, partner);
        if (transitSummer) in.setBox(Box::TransitSummer, true);
        if (transitWinter) in.setBox(Box::TransitWinter, true);
        in.setBox(Box::ShowTransitValues, showTransit);
        for (Box b : angles) in.setBox(b, true);
    }

    const CalculationResult result = calculate_chart(session);
    if (result.status == CalculationResult::Status::DateOffTable) {
        std::cerr << kDateNotFoundMessage << '\n';
        return 2;
    }
    if (!result.ok())
        return result.status == CalculationResult::Status::Invalid ||
                       result.focus != InputField::None
                   ? 2
                   : 1;

    const ChartPanels& panels = session.panels;
    const bool withTransit = st.transitMode;
    if (common.json) {
        auto chart_inputs = [&](InputField date, InputField time, InputField lon, InputField lat,
                                Box s, Box w) {
            return json{{"date", in.text(date)}, {"time", in.text(time)}, {"lon", in.text(lon)},
                        {"lat", in.text(lat)},   {"summer", in.box(s)},   {"winter", in.box(w)}};
        };
        json out;
        out["inputs"] =
            chart_inputs(InputField::NatalDate, InputField::NatalTime, InputField::NatalLon,
                         InputField::NatalLat, Box::NatalSummer, Box::NatalWinter);
        out["inputs"]["transit"] =
            withTransit ? chart_inputs(InputField::TransitDate, InputField::TransitTime,
                                       InputField::TransitLon, InputField::TransitLat,
                                       Box::TransitSummer, Box::TransitWinter)
                        : json(nullptr);
        auto bodies = [&](const PointMap<double>& lon, const PointMap<bool>& retro,
                          const Cursor& day) {
            // The nodes carry the ephemeris mark of the north node's day.
            const bool nodeRetro =
                parse_position_text(ephemeris_text(day, PointKey::s_uzel)).retrograde;
            json list = json::array();
            for (PointKey k : kBodyOrder) {
                json b = {{"key", point_key_text(k)}};
                b.update(position_json(lon[k]));
                const bool node = k == PointKey::s_uzel || k == PointKey::j_uzel;
                b["retrograde"] = node ? nodeRetro : bool(retro[k]);
                list.push_back(b);
            }
            return list;
        };
        json natal;
        natal["bodies"] = bodies(st.natalLon, st.retroNatal, session.natalEphemeris);
        natal["cusps"] = json::array();
        for (int h = 1; h <= 12; ++h) {
            json c = {{"house", h}, {"longitude", rounded(st.cusp[size_t(h)])}};
            c["sign"] = panels.houses[size_t(h)].sign;
            c["position"] = panels.houses[size_t(h)].position;
            natal["cusps"].push_back(c);
        }
        natal["night"] = st.nightBirth;
        natal["fortune"] =
            in.box(Box::Fortune) ? position_json(st.natalLon[PointKey::stesti]) : json(nullptr);
        if (st.arabicPart >= 1 && st.arabicPart <= 15) {
            const PointKey key = arabic_part_key(st.arabicPart);
            json a = {{"part", st.arabicPart}, {"key", point_key_text(key)}};
            a.update(position_json(st.natalLon[key]));
            natal["arabic"] = a;
        } else {
            natal["arabic"] = nullptr;
        }
        const char* elementNames[] = {"fire",  "water",   "air",      "earth",   "cardinal",
                                      "fixed", "mutable", "electric", "magnetic"};
        natal["elements"] = json::object();
        for (size_t i = 0; i < 9; ++i) natal["elements"][elementNames[i]] = st.elementCount[i];
        natal["daily_motion"] = {{"mesic", rounded(st.dailyMotion[PointKey::mesic])},
                                 {"merkur", rounded(st.dailyMotion[PointKey::merkur])}};
        out["natal"] = natal;
        if (withTransit) {
            json t;
            t["bodies"] = bodies(st.transitLon, st.retroTransit, session.transitEphemeris);
            t["angles"] = {{"dum1_tranz", rounded(st.transitAngle[0])},
                           {"dum4_tranz", rounded(st.transitAngle[1])},
                           {"dum7_tranz", rounded(st.transitAngle[2])},
                           {"dum10_tranz", rounded(st.transitAngle[3])}};
            t["night"] = st.transitNightBirth;
            t["fortune"] = in.box(Box::Fortune) ? position_json(st.transitLon[PointKey::stesti])
                                                : json(nullptr);
            out["transit"] = t;
        } else {
            out["transit"] = nullptr;
        }
        out["aspects"] = json::array();
        for (const AspectLine& l : session.aspectLines)
            out["aspects"].push_back({{"line", l.line},
                                      {"first", point_key_text(l.first)},
                                      {"aspect", l.aspect},
                                      {"second", point_key_text(l.second)},
                                      {"deviation", l.deviation},
                                      {"mark", std::string(1, l.mark)}});
        out["degree_meanings"] = json::array();
        for (const DegreeMeaning& m : session.degreeMeanings)
            out["degree_meanings"].push_back({{"name", m.name},
                                              {"position", m.position},
                                              {"sign", m.sign},
                                              {"meaning", m.meaning},
                                              {"next", m.hasNext ? json(m.next) : json(nullptr)}});
        std::cout << out.dump(2) << '\n';
        return 0;
    }

    // The three panels as the main window shows them.
    const char* names[] = {
        "Slunce:", "Měsíc:",  "Merkur:", "Venuše:",  "Mars:",     "Jupiter:", "Saturn:",
        "Uran:",   "Neptun:", "Pluto:",  "S. Uzel:", "J. Uzel.:", "Lilith:",  "Chiron:"};
    std::cout << (st.showTransitValues ? "Polohy (druhý horoskop)\n" : "Polohy\n");
    for (size_t i = 0; i < kBodyOrder.size(); ++i) {
        const PointKey k = kBodyOrder[i];
        if (k == PointKey::j_uzel && !in.box(Box::SouthNode)) continue;
        const PanelRow& r = panels.positions[k];
        std::cout << "  " << padded(names[i], 10) << padded(r.position, 11) << r.sign << '\n';
    }
    if (in.box(Box::Fortune)) {
        const PanelRow& r = panels.positions[PointKey::stesti];
        std::cout << "  " << padded("B. štěs.:", 10) << padded(r.position, 11) << r.sign << '\n';
    }
    // The Arabic part exists only in the natal chart: no row while the second chart is shown.
    if (st.arabicPart >= 1 && st.arabicPart <= 15 && !st.showTransitValues) {
        const PanelRow& r = panels.positions[arabic_part_key(st.arabicPart)];
        std::cout << "  " << padded(panels.arabicCaption, 10) << padded(r.position, 11) << r.sign
                  << '\n';
    }
    const char* houseNames[] = {
        "",      "ASC:",    "2. dům:", "3. dům:", "IC:",      "5. dům:", "6. dům:",
        "DESC:", "8. dům:", "9. dům:", "MC:",     "11. dům:", "12. dům:"};
    std::cout << (st.houseSystem == 2 ? "Domy (Placidus)\n" : "Domy (Regiomontanus)\n");
    for (int h = 1; h <= 12; ++h)
        std::cout << "  " << padded(houseNames[h], 10)
                  << padded(panels.houses[size_t(h)].position, 11) << panels.houses[size_t(h)].sign
                  << '\n';
    std::cout << "Živly\n";
    for (size_t i = 0; i < 9; ++i)
        std::cout << "  " << padded(std::string(kElementCaptions[i]) + ":", 12)
                  << panels.elements[i] << '\n';
    std::cout << "Rychlosti:\n  " << padded("Měsíc:", 12) << panels.moonSpeed << "\n  "
              << padded("Merkur:", 12) << panels.mercurySpeed << '\n';
    std::cout << padded("Zrození:", 14) << panels.dayNight << '\n';
    std::cout << "Aspekty\n";
    for (const AspectLine& l : session.aspectLines) std::cout << "  " << l.line << '\n';
    std::cout << "Významy stupňů\n";
    for (const DegreeMeaning& m : session.degreeMeanings) {
        std::cout << "  " << m.name << ": " << m.position << ' ' << m.sign << '\n';
        if (!m.meaning.empty()) std::cout << "    " << m.meaning << '\n';
    }
    return 0;
}

}  // namespace horalun::cli
