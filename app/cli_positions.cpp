// horalun-cli positions: the fourteen bodies at a date and Central European clock time.
#include <cmath>
#include <iomanip>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/cli_commands.h"
#include "core/ephemeris.h"
#include "core/notation.h"
#include "data/table_store.h"
#include "data/text_format.h"

namespace horalun::cli {

namespace {
double rounded(double v, double scale) {
    return std::round(v * scale) / scale;
}

// Pads to a width in characters, not bytes (signs and positions hold UTF-8 letters and "°").
std::string padded(const std::string& text, size_t width) {
    size_t chars = 0;
    for (unsigned char c : text) chars += (c & 0xC0) != 0x80;
    return chars < width ? text + std::string(width - chars, ' ') : text;
}

int invalid(const char* message) {
    std::cerr << message << '\n';
    return 2;
}
}  // namespace

int run_positions(std::vector<std::string> args) {
    CommonOptions options;
    if (!take_common_options(args, options)) return 2;
    if (args.size() != 2) {
        std::cerr << "Použití: horalun-cli positions DATUM ČAS [--json] [--data SOUBOR]\n";
        return 2;
    }
    ChartState state;
    state.dateText = args[0];
    state.timeText = args[1];

    if (!parse_date_text(state.dateText)) return invalid("Nesprávný formát datumu !");
    Cursor ephemeris(Database::open(options.dataPath), "efemeris", true);
    ephemeris.selectIndex("datum");
    if (!ephemeris.findKey(state.dateText)) return invalid("Datum v databázi nenalezeno !");
    if (!clock_time_valid(state.timeText)) return invalid("Nesprávně zadaný čas !");

    std::string moonMotion, mercuryMotion;
    daily_motions(state, ephemeris, moonMotion, mercuryMotion);

    struct Row {
        PointKey key;
        double longitude;
        std::string sign, position;
        bool retrograde;
    };
    std::vector<Row> rows;
    for (PointKey key : kBodyOrder) {
        state.currentKey = key;
        if (key == PointKey::j_uzel) {
            south_node(state);
        } else {
            state.fieldText = ephemeris_text(ephemeris, key);
            body_position(state, ephemeris);
        }
        // The south node shares the north node's day (and its retrograde mark).
        const bool retro = key != PointKey::slunce && key != PointKey::mesic && state.dayRetrograde;
        rows.push_back({key, state.natalLon[key], state.currentSign, state.positionText, retro});
    }

    if (options.json) {
        nlohmann::ordered_json out;
        out["date"] = state.dateText;
        out["time"] = state.timeText;
        out["bodies"] = nlohmann::ordered_json::array();
        for (const Row& r : rows) {
            out["bodies"].push_back({{"key", point_key_text(r.key)},
                                     {"longitude", rounded(r.longitude, 1e6)},
                                     {"sign", r.sign},
                                     {"position", r.position},
                                     {"retrograde", r.retrograde},
                                     {"daily_motion", rounded(state.dailyMotion[r.key], 1e6)}});
        }
        std::cout << out.dump(2) << '\n';
        return 0;
    }
    std::cout << "Polohy pro " << state.dateText << ' ' << state.timeText
              << " (středoevropský čas)\n";
    for (const Row& r : rows) {
        std::cout << padded(std::string(point_key_text(r.key)), 9) << std::fixed
                  << std::setprecision(4) << std::setw(9) << r.longitude << "  "
                  << padded(r.sign, 10) << padded(r.position, 11) << std::setw(8)
                  << state.dailyMotion[r.key] << " °/den\n";
    }
    std::cout << "Rychlosti: Měsíc " << moonMotion << ", Merkur " << mercuryMotion << '\n';
    return 0;
}

}  // namespace horalun::cli
