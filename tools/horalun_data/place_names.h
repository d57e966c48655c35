// The texts of an obce row made from GeoNames values: the Czech spelling of a place name, the
// district and region names in Czech, and the coordinate texts ("14E25", "50N05").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace horalun {

// Lower case without diacritics ("Žďár" gives "zdar"), for comparing names. Letters outside
// Latin-1 and Latin Extended-A are kept as they are.
std::string folded_name(std::string_view utf8);

// The Czech name of a GeoNames place: exonyms and misspellings from a fixed table ("Prague"
// gives "Praha"), a bracketed qualifier dropped, and a name written without diacritics taken
// from the comma-separated alternate names when one of them is the same name in Czech letters.
std::string czech_place_name(std::string_view name, std::string_view alternateNames = {});

// The district of an admin2 name: "Okres Kladno" gives "Kladno", "Město Brno" gives
// "Brno-město"; every place of Praha (admin1 "52") lies in "Hlavní město Praha".
std::string district_name(std::string_view admin1, std::string_view admin2Name);

// The Czech name of a region by its GeoNames admin1 code ("88" is "Středočeský kraj").
std::optional<std::string> region_name(std::string_view admin1);

// Degrees, hemisphere letter and two-digit minutes, rounded to the nearest minute with a carry
// into the degree: 14.4208 gives "14E25", 49.9999 gives "50N00", -9.1 gives "9W06".
std::string longitude_text(double degrees);
std::string latitude_text(double degrees);

}  // namespace horalun
