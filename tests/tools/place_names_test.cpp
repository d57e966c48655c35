// The pure parts of the obce builder on small inputs: coordinate texts, Czech names, districts
// and regions, reading the GeoNames files and merging the two place lists.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/horalun_data/generator_error.h"
#include "tools/horalun_data/place_names.h"
#include "tools/horalun_data/places_table.h"

namespace horalun {
namespace {

constexpr double kMinute = 1.0 / 60.0;

TEST(PlaceNames, CoordinatesRoundToTheNearestMinuteWithCarry) {
    const struct {
        double degrees;
        const char* longitude;
        const char* latitude;
    } cases[] = {
        {14.42076, "14E25", "14N25"},  // Praha
        {49.19522, "49E12", "49N12"},  // Brno
        {49.9999, "50E00", "50N00"},   // carry into the degree
        {16.0 + 59.6 * kMinute, "17E00", "17N00"},
        {16.0 + 59.4 * kMinute, "16E59", "16N59"},
        {9.0 + 5 * kMinute, "9E05", "9N05"},  // no leading zero
        {0.0, "0E00", "0N00"},
        {-0.004, "0E00", "0N00"},  // rounds to zero: no west
        {-9.1, "9W06", "9S06"},
        {-179.9999, "180W00", "180S00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(longitude_text(c.degrees), c.longitude) << c.degrees;
        EXPECT_EQ(latitude_text(c.degrees), c.latitude) << c.degrees;
    }
}

TEST(PlaceNames, FoldingDropsCaseAndDiacritics) {
    EXPECT_EQ(folded_name("Žďár nad Sázavou"), "zdar nad sazavou");
    EXPECT_EQ(folded_name("ÚSTÍ NAD LABEM"), "usti nad labem");
    EXPECT_EQ(folded_name("Kostelec nad Černými Lesy"), folded_name("Kostelec nad Černými lesy"));
    EXPECT_EQ(folded_name("Вышеград"), "Вышеград");  // other scripts stay
    EXPECT_EQ(folded_name("a\xff"
                          "b"),
              "a\xff"
              "b");  // a stray byte survives
}

TEST(PlaceNames, CzechSpellingOfGeoNamesNames) {
    const struct {
        const char* name;
        const char* alternates;
        const char* czech;
    } cases[] = {
        {"Prague", "Praag,Praha,Prag", "Praha"},  // exonyms by the table
        {"Pilsen", "", "Plzeň"},
        {"Dolní Loućky", "", "Dolní Loučky"},
        {"Vysehrad", "Vysehrad,Vyshegrad,Vyšehrad,Вышеград", "Vyšehrad"},
        {"Zdar", "Zdár,Žďár", "Žďár"},  // the acute-only spelling is no evidence
        {"Mikulov", "Nikolsburg,Míkulov", "Mikulov"},
        {"Kralovice", "Královice", "Kralovice"},
        {"Valtice", "Feldsberg,Valticė", "Valtice"},  // Lithuanian letters
        {"Lhota", "Lhota,Lhóta", "Lhota"},            // ó alone is not Czech enough
        {"Zdar", "Žďár,Zďár", "Zdar"},                // two spellings: left alone
        {"Zdar", "Zdar nad Sázavou,Žďárek", "Zdar"},  // no alternate of the same name
        {"Brno", "Brünn,Brno", "Brno"},
        {"Žďár nad Sázavou", "Saar", "Žďár nad Sázavou"},  // already Czech
        {"Lichnov (o. Nový Jičín)", "", "Lichnov"},        // the district has its column
        {"  Kladno ", "", "Kladno"},
        {"(Sever)", "", "(Sever)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(czech_place_name(c.name, c.alternates), c.czech) << c.name;
}

TEST(PlaceNames, DistrictsAndRegionsInCzech) {
    EXPECT_EQ(district_name("88", "Okres Kladno"), "Kladno");
    EXPECT_EQ(district_name("87", "Okres Plzeň-město"), "Plzeň-město");
    EXPECT_EQ(district_name("78", "Město Brno"), "Brno-město");
    EXPECT_EQ(district_name("52", "Praha 10"), "Hlavní město Praha");
    EXPECT_EQ(district_name("52", ""), "Hlavní město Praha");
    EXPECT_EQ(district_name("88", "Okresní Lhota"), "Okresní Lhota");

    EXPECT_EQ(region_name("52"), "Hlavní město Praha");
    EXPECT_EQ(region_name("80"), "Kraj Vysočina");
    EXPECT_EQ(region_name("88"), "Středočeský kraj");
    EXPECT_EQ(region_name("89"), "Ústecký kraj");
    EXPECT_EQ(region_name("91"), std::nullopt);
    int regions = 0;
    for (int code = 0; code < 100; ++code) regions += region_name(std::to_string(code)) ? 1 : 0;
    EXPECT_EQ(regions, 14);
}

// One GeoNames line: the columns this builder reads, the rest filled.
std::string geonames_line(const std::string& name, const std::string& alternates,
                          const std::string& latitude, const std::string& longitude,
                          const std::string& featureClass = "P", const std::string& country = "CZ",
                          const std::string& admin2 = "0203") {
    return "1\t" + name + "\t" + name + "\t" + alternates + "\t" + latitude + "\t" + longitude +
           "\t" + featureClass + "\tPPL\t" + country + "\t\t88\t" + admin2 +
           "\t\t\t1000\t\t300\tEurope/Prague\t2024-01-01\n";
}

TEST(PlaceFiles, GeoNamesRowsOfCzechPopulatedPlaces) {
    std::istringstream tsv(geonames_line("Prague", "Praha", "50.08804", "14.42076") +
                           geonames_line("Sněžka", "", "50.73", "15.74", "T") +  // a mountain
                           geonames_line("Dresden", "", "51.05", "13.74", "P", "DE") +
                           geonames_line("Kladno", "", "50.1x", "14.1") +  // bad latitude
                           geonames_line("Kladno", "", "150.1", "14.1") +  // out of range
                           "2\tKladno\tKladno\n" +                         // short line
                           geonames_line("Vysehrad", "Vyšehrad", "50.06509", "14.41711") + "\r\n");
    const GeoPlaces read = read_geonames_places(tsv);
    ASSERT_EQ(read.places.size(), 2u);
    EXPECT_EQ(read.places[0].name, "Praha");
    EXPECT_EQ(read.places[0].admin1, "88");
    EXPECT_EQ(read.places[0].admin2, "0203");
    EXPECT_DOUBLE_EQ(read.places[0].latitude, 50.08804);
    EXPECT_DOUBLE_EQ(read.places[0].longitude, 14.42076);
    EXPECT_EQ(read.places[1].name, "Vyšehrad");
    EXPECT_EQ(read.skipped, 3);
}

TEST(PlaceFiles, CitiesJsonEntriesOfTheCzechRepublic) {
    std::istringstream json(R"([
        {"name":"Pilsen","lat":"49.74747","lng":"13.37759","country":"CZ","admin1":"87","admin2":"0323"},
        {"name":"Wien","lat":"48.2","lng":"16.37","country":"AT","admin1":"09","admin2":""},
        {"name":"Kolín","lat":"50.03","country":"CZ","admin1":"88","admin2":"0204"},
        {"name":"Radim","lat":"50.07006","lng":"15.01244","country":"CZ","admin1":"88","admin2":"0204",
         "extra":{"nested":["a",1]}},
        7
    ])");
    const GeoPlaces read = read_cities_json_places(json);
    ASSERT_EQ(read.places.size(), 2u);
    EXPECT_EQ(read.places[0].name, "Plzeň");
    EXPECT_EQ(read.places[0].admin2, "0323");
    EXPECT_EQ(read.places[1].name, "Radim");
    EXPECT_DOUBLE_EQ(read.places[1].longitude, 15.01244);
    EXPECT_EQ(read.skipped, 1);  // Kolín without longitude

    for (const char* bad : {R"([{"name":"Praha")", R"({"name":"Praha"})", "42", ""}) {
        std::istringstream in(bad);
        EXPECT_THROW(read_cities_json_places(in), GeneratorError) << bad;
    }
}

TEST(PlaceFiles, DistrictNamesOfTheCzechRepublic) {
    std::istringstream json(R"([{"code":"AE.01.101","name":"Abu Dhabi Municipality"},
        {"code":"CZ.78.0642","name":"Město Brno"},{"code":"CZ.88.0203","name":"Okres Kladno"},
        {"code":"CZ.88.0204"}])");
    const std::map<std::string, std::string> expected{{"CZ.78.0642", "Město Brno"},
                                                      {"CZ.88.0203", "Okres Kladno"}};
    EXPECT_EQ(read_district_names(json), expected);
}

GeoPlace place(const std::string& name, double latitude, double longitude,
               const std::string& admin1 = "88", const std::string& admin2 = "0203") {
    return {name, admin1, admin2, latitude, longitude};
}

TEST(PlaceFiles, MergeAddsOnlyPlacesNotListedNearby) {
    // 0.018 degrees of latitude is 2.0 km.
    const std::vector<GeoPlace> base{place("Radím", 50.07, 15.01), place("Lhota", 50.0, 14.0)};
    const std::vector<GeoPlace> extra{
        place("Radim", 50.075, 15.015),  // the same place spelt without diacritics
        place("Lhota", 50.017, 14.0),    // 1.9 km away: the same
        place("Lhota", 50.019, 14.0),    // 2.1 km away: another village
        place("Lhota", 50.02, 14.0),     // next to the one just added
        place("Kyje", 50.1, 14.55),     place("Kyje", 50.1, 14.55),
    };
    const auto merged = merged_places(base, extra);
    ASSERT_EQ(merged.size(), 4u);
    EXPECT_EQ(merged[0].name, "Radím");
    EXPECT_DOUBLE_EQ(merged[2].latitude, 50.019);
    EXPECT_EQ(merged[3].name, "Kyje");
}

TEST(PlaceFiles, RowsInAlphabeticalOrderWithDistrictAndRegion) {
    const std::map<std::string, std::string> districts{
        {"CZ.88.0203", "Okres Kladno"}, {"CZ.78.0642", "Město Brno"}, {"CZ.52.8378769", "Praha 1"}};
    const std::vector<GeoPlace> places{
        place("Kladno", 50.14734, 14.10285),
        place("Čakovice", 50.15128, 14.52393, "52", ""),
        place("Brno", 49.19522, 16.60796, "78", "0642"),
        place("Cvikov", 50.0, 14.0, "88", "9999"),   // unknown district
        place("Ypsilon", 50.0, 14.0, "77", "0203"),  // unknown region
        place("Praha", 50.08804, 14.42076, "52", "8378769"),
        place("Brno", 49.2, 16.6, "78", "0642"),
    };
    long long skipped = 0;
    const auto rows = place_rows(places, districts, skipped);
    EXPECT_EQ(skipped, 2);
    ASSERT_EQ(rows.size(), 5u);
    std::vector<std::string> names;
    for (const auto& row : rows) names.push_back(row.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Brno", "Brno", "Čakovice", "Kladno", "Praha"}));
    EXPECT_EQ(rows[0].district, "Brno-město");
    EXPECT_EQ(rows[0].region, "Jihomoravský kraj");
    EXPECT_EQ(rows[0].longitude, "16E36");
    EXPECT_EQ(rows[0].latitude, "49N12");
    EXPECT_EQ(rows[2].district, "Hlavní město Praha");
    EXPECT_EQ(rows[3].district, "Kladno");
    EXPECT_EQ(rows[3].region, "Středočeský kraj");
    EXPECT_EQ(rows[4].district, "Hlavní město Praha");
}

}  // namespace
}  // namespace horalun
