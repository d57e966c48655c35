// Checks of the data.tdb that horalun-data generated in the program's folder: the ephemeris
// against the Swiss Ephemeris, the summer-time periods, the settings row, the schema, and
// reruns on a copy of the file.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <swephexp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/table_layouts.h"
#include "data/text_format.h"

#include "tests/tools/generator_run.h"

namespace horalun {
namespace {

namespace fs = std::filesystem;

class Db {
  public:
    explicit Db(const std::string& path, bool readOnly = true) {
        const int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
        if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path;
    }
    ~Db() { sqlite3_close(db_); }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    void exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << (error ? error : "");
            sqlite3_free(error);
        }
    }
    // Every row as texts; a null reads as nullopt.
    std::vector<std::vector<std::optional<std::string>>> rows(const std::string& sql) {
        std::vector<std::vector<std::optional<std::string>>> result;
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
            return result;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            auto& row = result.emplace_back();
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const auto* text = sqlite3_column_text(stmt, i);
                if (text)
                    row.emplace_back(reinterpret_cast<const char*>(text));
                else
                    row.emplace_back(std::nullopt);
            }
        }
        sqlite3_finalize(stmt);
        return result;
    }
    std::string value(const std::string& sql) {
        const auto r = rows(sql);
        return r.empty() || r[0].empty() ? "<none>" : r[0][0].value_or("<null>");
    }
    long long count(const std::string& table) {
        return std::stoll(value("SELECT count(*) FROM \"" + table + "\""));
    }

  private:
    sqlite3* db_ = nullptr;
};

// ---- efemeris ----

constexpr int kDays = 146462;
constexpr double kJulianDayOfSerialZero = 2415018.5;

struct ColumnCase {
    const char* field;
    int body;
    double unitDegrees;  // the rounding unit of the text
    bool marksRetrograde;
};

const ColumnCase kColumns[] = {
    {"slunce", SE_SUN, 1.0 / 3600, false},    {"mesic", SE_MOON, 1.0 / 60, false},
    {"merkur", SE_MERCURY, 1.0 / 60, true},   {"venuse", SE_VENUS, 1.0 / 60, true},
    {"mars", SE_MARS, 1.0 / 60, true},        {"jupiter", SE_JUPITER, 1.0 / 60, true},
    {"saturn", SE_SATURN, 1.0 / 60, true},    {"uran", SE_URANUS, 1.0 / 60, true},
    {"neptun", SE_NEPTUNE, 1.0 / 60, true},   {"pluto", SE_PLUTO, 1.0 / 60, true},
    {"s_uzel", SE_MEAN_NODE, 1.0 / 60, true}, {"pravy_uzel", SE_TRUE_NODE, 1.0 / 60, true},
    {"uzel", SE_MEAN_NODE, 1.0 / 60, true},   {"lilith", SE_MEAN_APOG, 1.0 / 60, true},
    {"chiron", SE_CHIRON, 1.0 / 60, true},
};

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}
int two_digits(const std::string& s, size_t at) {
    return (s[at] - '0') * 10 + (s[at + 1] - '0');
}

// "DDsMM" (+ "'SS" when withSeconds) (+ "R" when allowed): the longitude, or nullopt when the
// text does not have that shape.
std::optional<double> parse_position(const std::string& s, bool withSeconds, bool* retrograde) {
    const size_t core = withSeconds ? 8 : 5;
    if (s.size() != core && !(retrograde && s.size() == core + 1 && s.back() == 'R'))
        return std::nullopt;
    if (!is_digit(s[0]) || !is_digit(s[1]) || s[2] < 'a' || s[2] > 'l' || !is_digit(s[3]) ||
        !is_digit(s[4]))
        return std::nullopt;
    if (withSeconds && (s[5] != '\'' || !is_digit(s[6]) || !is_digit(s[7]))) return std::nullopt;
    const int deg = two_digits(s, 0), min = two_digits(s, 3),
              sec = withSeconds ? two_digits(s, 6) : 0;
    if (deg > 29 || min > 59 || sec > 59) return std::nullopt;
    if (retrograde) *retrograde = s.size() == core + 1;
    return (s[2] - 'a') * 30.0 + deg + min / 60.0 + sec / 3600.0;
}

// The longitude at 0 h UT; `theory` tells which one the library used.
double swe_longitude(int serial, int body, int flags = SEFLG_SWIEPH, int* theory = nullptr) {
    double xx[6] = {};
    char error[AS_MAXCH] = "";
    const int used = swe_calc_ut(kJulianDayOfSerialZero + serial, body, flags, xx, error);
    EXPECT_GE(used, 0) << error;
    if (theory) *theory = used & (SEFLG_SWIEPH | SEFLG_MOSEPH);
    return xx[0];
}

double circular_difference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

std::string expected_weekday(int serial) {
    using namespace std::chrono;
    const sys_days day = sys_days{year{1899} / 12 / 30} + days{serial};
    static const char* letters[] = {"N", "P", "Ú", "S", "Č", "P", "S"};  // from Sunday
    return letters[weekday{day}.c_encoding()];
}

class GeneratedData : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { swe_set_ephe_path("/usr/share/libswe/ephe"); }
    static void TearDownTestSuite() { swe_close(); }
    Db db{HORALUN_DATA_FILE};
};

TEST_F(GeneratedData, EphemerisHasEveryDayFrom1800To2200) {
    const auto rows = db.rows("SELECT datum, den FROM efemeris ORDER BY rowid");
    ASSERT_EQ(rows.size(), static_cast<size_t>(kDays));
    const int first = serial_from_ymd(1800, 1, 1);
    EXPECT_EQ(serial_from_ymd(2200, 12, 31), first + kDays - 1);
    for (int i = 0; i < kDays; ++i) {
        ASSERT_EQ(std::stod(rows[i][0].value_or("0")), first + i) << "row " << i;
        ASSERT_EQ(rows[i][1].value_or(""), expected_weekday(first + i)) << "row " << i;
    }
}

TEST_F(GeneratedData, EphemerisTextsAreWellFormed) {
    std::string select = "SELECT sidt";
    for (const auto& c : kColumns) select += std::string(", ") + c.field;
    const auto rows = db.rows(select + " FROM efemeris ORDER BY rowid");
    ASSERT_EQ(rows.size(), static_cast<size_t>(kDays));
    std::map<std::string, int> retrogradeDays;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string sidt = rows[i][0].value_or("");
        ASSERT_TRUE(sidt.size() == 8 && sidt[2] == ':' && sidt[5] == ':' &&
                    two_digits(sidt, 0) < 24 && two_digits(sidt, 3) < 60 &&
                    two_digits(sidt, 6) < 60)
            << "row " << i << " sidt " << sidt;
        for (size_t c = 0; c < std::size(kColumns); ++c) {
            const std::string text = rows[i][c + 1].value_or("");
            bool retrograde = false;
            ASSERT_TRUE(parse_position(text, kColumns[c].unitDegrees < 1.0 / 60,
                                       kColumns[c].marksRetrograde ? &retrograde : nullptr))
                << "row " << i << " " << kColumns[c].field << " \"" << text << "\"";
            retrogradeDays[kColumns[c].field] += retrograde;
        }
    }
    // The mean node always moves backward; the true node and Mercury only at times.
    EXPECT_EQ(retrogradeDays["s_uzel"], kDays);
    EXPECT_EQ(retrogradeDays["uzel"], kDays);
    EXPECT_GT(retrogradeDays["pravy_uzel"], kDays / 2);
    EXPECT_LT(retrogradeDays["pravy_uzel"], kDays);
    EXPECT_GT(retrogradeDays["merkur"], kDays / 10);
    EXPECT_LT(retrogradeDays["merkur"], kDays / 4);
}

TEST_F(GeneratedData, SampledDaysMatchTheSwissEphemeris) {
    std::string select = "SELECT datum, sidt";
    for (const auto& c : kColumns) select += std::string(", ") + c.field;
    // Every 61st day, the first and the last (whose next day is 1.1.2201).
    const auto rows = db.rows(select + " FROM efemeris WHERE (rowid - 1) % 61 = 0 OR rowid = " +
                              std::to_string(kDays) + " ORDER BY rowid");
    ASSERT_GT(rows.size(), 2000u);
    int retrogradeSeen = 0;
    for (const auto& row : rows) {
        const int serial = static_cast<int>(std::stod(row[0].value_or("0")));
        const std::string day = format_date_text(serial);
        const std::string sidt = row[1].value_or("");
        const double hours =
            two_digits(sidt, 0) + two_digits(sidt, 3) / 60.0 + two_digits(sidt, 6) / 3600.0;
        const double sidDiff =
            std::remainder(hours - swe_sidtime(kJulianDayOfSerialZero + serial), 24.0);
        EXPECT_LE(std::abs(sidDiff) * 3600, 0.5 + 1e-6) << day << " sidt " << sidt;
        for (size_t c = 0; c < std::size(kColumns); ++c) {
            const auto& col = kColumns[c];
            const std::string text = row[c + 2].value_or("");
            bool retrograde = false;
            const auto lon = parse_position(text, col.unitDegrees < 1.0 / 60,
                                            col.marksRetrograde ? &retrograde : nullptr);
            ASSERT_TRUE(lon) << day << " " << col.field << " " << text;
            int theory = 0;
            const double exact = swe_longitude(serial, col.body, SEFLG_SWIEPH, &theory);
            EXPECT_LE(std::abs(circular_difference(*lon, exact)), col.unitDegrees / 2 + 1e-9)
                << day << " " << col.field << " " << text << " exact " << exact;
            if (col.marksRetrograde) {
                // The direction compares values of one theory (1.1.1800 may lack the files).
                const double next = swe_longitude(serial + 1, col.body, theory);
                EXPECT_EQ(retrograde, circular_difference(next, exact) < 0)
                    << day << " " << col.field << " " << text << " " << exact << " -> " << next;
                retrogradeSeen += retrograde;
            }
        }
    }
    EXPECT_GT(retrogradeSeen, 0);
}

// ---- letnicasy ----

struct PeriodCase {
    const char* kind;
    const char* from;
    const char* fromTime;
    const char* to;
    const char* toTime;
};

std::string clock_text(const std::optional<std::string>& fraction) {
    const long long minutes = std::llround(std::stod(fraction.value_or("0")) * 1440);
    return std::to_string(minutes / 60) + ":" + (minutes % 60 < 10 ? "0" : "") +
           std::to_string(minutes % 60);
}

TEST_F(GeneratedData, SummerTimePeriodsOfChosenYears) {
    const std::map<std::string, std::vector<PeriodCase>> expected{
        {"1946",
         {{"Letní", "6.5.1946", "2:00", "6.10.1946", "3:00"},
          {"Zimní", "1.12.1946", "3:00", "31.12.1946", "23:59"}}},
        {"1947",
         {{"Zimní", "1.1.1947", "0:00", "23.2.1947", "2:00"},
          {"Letní", "20.4.1947", "2:00", "5.10.1947", "3:00"}}},
        {"1979", {{"Letní", "1.4.1979", "2:00", "30.9.1979", "3:00"}}},
        {"1995", {{"Letní", "26.3.1995", "2:00", "24.9.1995", "3:00"}}},
        {"1996", {{"Letní", "31.3.1996", "2:00", "27.10.1996", "3:00"}}},
        {"2024", {{"Letní", "31.3.2024", "2:00", "27.10.2024", "3:00"}}},
        {"1978", {}},
    };
    for (const auto& [year, periods] : expected) {
        const auto rows =
            db.rows("SELECT typ, datumod, casod, datumdo, casdo FROM letnicasy WHERE rok = '" +
                    year + "' ORDER BY rowid");
        ASSERT_EQ(rows.size(), periods.size()) << year;
        for (size_t i = 0; i < rows.size(); ++i) {
            const auto& p = periods[i];
            EXPECT_EQ(rows[i][0].value_or(""), p.kind) << year << " row " << i;
            EXPECT_EQ(format_date_text(std::stoi(rows[i][1].value_or("0"))), p.from) << year;
            EXPECT_EQ(clock_text(rows[i][2]), p.fromTime) << year;
            EXPECT_EQ(format_date_text(std::stoi(rows[i][3].value_or("0"))), p.to) << year;
            EXPECT_EQ(clock_text(rows[i][4]), p.toTime) << year;
        }
    }
}

TEST_F(GeneratedData, SummerTimeRowsAreOrderedAndAtMostTwoAYear) {
    const auto rows =
        db.rows("SELECT typ, datumod + casod, datumdo + casdo, rok FROM letnicasy ORDER BY rowid");
    ASSERT_GT(rows.size(), 200u);
    std::map<std::string, int> perYear;
    double previousEnd = -1e9;
    for (const auto& row : rows) {
        const std::string kind = row[0].value_or(""), year = row[3].value_or("");
        const double start = std::stod(row[1].value_or("0")), end = std::stod(row[2].value_or("0"));
        EXPECT_TRUE(kind == "Letní" || kind == "Zimní") << kind;
        EXPECT_LE(previousEnd, start) << year;
        EXPECT_LT(start, end) << year;
        int y, m, d;
        ymd_from_serial(static_cast<int>(std::floor(start)), y, m, d);
        EXPECT_EQ(std::to_string(y), year);
        ymd_from_serial(static_cast<int>(std::floor(end)), y, m, d);
        EXPECT_EQ(std::to_string(y), year);
        EXPECT_LE(++perYear[year], 2) << year;
        previousEnd = end;
    }
    EXPECT_EQ(rows.front()[3].value_or(""), "1916");
    EXPECT_EQ(rows.back()[3].value_or(""), "2200");
}

// ---- settings and schema ----

TEST_F(GeneratedData, SettingsRowHoldsTheDefaults) {
    ASSERT_EQ(db.count("nastaveni_aspektu"), 1);
    const auto row = db.rows("SELECT * FROM nastaveni_aspektu")[0];
    const char* byPosition[] = {"10", "8", "8", "7", "8", "6", "7", "6", "6", "5", "5", "4", "0"};
    for (size_t i = 0; i < std::size(byPosition); ++i)
        EXPECT_EQ(row[i].value_or("<null>"), byPosition[i]) << "position " << i;
    EXPECT_FALSE(row[13].has_value());  // ver_datum
    EXPECT_EQ(row[14].value_or(""), "3");
    EXPECT_EQ(row[15].value_or(""), "1");
    EXPECT_EQ(db.value("SELECT uhel_mezi_planetami || '/' || nast_jmena FROM nastaveni_aspektu"),
              "5/1");
    EXPECT_EQ(db.value("SELECT datum_solar || mesic_solar || posun_direkce || pocet_let || "
                       "datum_orig || cas_orig || datum_rev || cas_rev || ver_url || upd_url "
                       "FROM nastaveni_aspektu"),
              "");
    EXPECT_EQ(db.value("SELECT bool_mer + bool_ven + bool_mars + bool_jup + bool_sat + bool_uran + "
                       "bool_nept + bool_plut + bool_chir FROM nastaveni_aspektu"),
              "9");
}

TEST_F(GeneratedData, TablesAndIndexesFollowTheLayouts) {
    for (const auto& layout : table_layouts()) {
        const auto columns = db.rows("PRAGMA table_info(\"" + layout.name + "\")");
        ASSERT_EQ(columns.size(), layout.fields.size()) << layout.name;
        for (size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(columns[i][1].value_or(""), layout.fields[i].name) << layout.name;
            EXPECT_EQ(columns[i][2].value_or(""),
                      declared_type(layout.fields[i].type, layout.fields[i].size))
                << layout.name << "." << layout.fields[i].name;
        }
        for (const auto& index : layout.indexes) {
            EXPECT_EQ(
                db.value("SELECT tbl_name FROM sqlite_master WHERE type = 'index' AND name = '" +
                         index.name + "'"),
                layout.name)
                << index.name;
            // index_xinfo: seqno, cid, name, desc, coll, key
            const auto keys = db.rows("PRAGMA index_xinfo(\"" + index.name + "\")");
            ASSERT_FALSE(keys.empty()) << index.name;
            EXPECT_EQ(keys[0][2].value_or(""), index.field) << index.name;
            EXPECT_EQ(keys[0][4].value_or(""), index.caseInsensitive ? "NOCASE" : "BINARY")
                << index.name;
        }
    }
}

// ---- reruns on a copy ----

using testing::contains;
using testing::run_tool;
using testing::ToolRun;

class CopiedData : public testing::CopiedDataFile {
  protected:
    ToolRun rerun() { return run_tool("--out '" + copy_ + "'"); }
};

TEST_F(CopiedData, SecondRunKeepsTheUserTablesAndRebuildsNothing) {
    {
        Db db(copy_, false);
        db.exec(
            "INSERT INTO jmena (jmeno, prijmeni, datum, cas, letni_cas) "
            "VALUES ('Jan', 'Novák', 24221, '9:03', 1)");
        db.exec("INSERT INTO direkce (metoda, roky) VALUES ('Asc.K', 1976.5)");
        db.exec("UPDATE nastaveni_aspektu SET svetla_cjn = 3, nast_letni_cas = '1'");
    }
    const ToolRun run = rerun();
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line :
         {"efemeris: up to date", "letnicasy: up to date", "stup_txt: up to date",
          "obce: up to date", "jmena: kept", "direkce: kept", "nastaveni_aspektu: kept"})
        EXPECT_TRUE(contains(run.output, line)) << line << " in\n" << run.output;
    EXPECT_FALSE(contains(run.output, "built")) << run.output;

    Db db(copy_);
    EXPECT_EQ(db.value("SELECT prijmeni FROM jmena"), "Novák");
    EXPECT_EQ(db.count("jmena"), 1);
    EXPECT_EQ(db.count("direkce"), 1);
    EXPECT_EQ(db.value("SELECT svetla_cjn || nast_letni_cas FROM nastaveni_aspektu"), "31");
    EXPECT_EQ(db.count("efemeris"), kDays);
}

TEST_F(CopiedData, ChangedOrMissingTablesAreRebuiltAlone) {
    Db original(HORALUN_DATA_FILE);
    const long long periods = original.count("letnicasy");
    {
        Db db(copy_, false);
        db.exec("INSERT INTO jmena (jmeno) VALUES ('Eva')");
        db.exec("UPDATE horalun_meta SET otisk = 'letnicasy/0' WHERE tabulka = 'letnicasy'");
        db.exec("DELETE FROM letnicasy WHERE rok > '2000'");
        db.exec("DROP TABLE stup_txt");
        db.exec("DROP TABLE direkce");
        db.exec("DELETE FROM nastaveni_aspektu");
    }
    const ToolRun run = rerun();
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line :
         {"letnicasy: built", "stup_txt: built", "efemeris: up to date", "obce: up to date",
          "direkce: created", "jmena: kept", "nastaveni_aspektu: default row added"})
        EXPECT_TRUE(contains(run.output, line)) << line << " in\n" << run.output;

    Db db(copy_);
    EXPECT_EQ(db.count("letnicasy"), periods);
    EXPECT_EQ(db.value("SELECT jmeno FROM jmena"), "Eva");
    EXPECT_EQ(db.count("stup_txt"), 360);
    EXPECT_EQ(db.value("SELECT count(*) FROM sqlite_master WHERE name = 'text'"), "1");
    EXPECT_EQ(db.count("nastaveni_aspektu"), 1);
    EXPECT_EQ(db.value("SELECT svetla_cjn FROM nastaveni_aspektu"), "10");
}

TEST_F(CopiedData, OlderSettingsTableGetsTheNewFieldsAndKeepsItsValues) {
    {
        Db db(copy_, false);
        db.exec(
            "UPDATE nastaveni_aspektu SET svetla_ost = 2, check_ver = 1, datum_rev = '1.2.2003'");
        db.exec("ALTER TABLE nastaveni_aspektu DROP COLUMN upd_url");
        db.exec("ALTER TABLE nastaveni_aspektu DROP COLUMN ver_url");
    }
    const ToolRun run = rerun();
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_TRUE(contains(run.output, "nastaveni_aspektu: columns added (ver_url, upd_url)\n"))
        << run.output;
    EXPECT_TRUE(contains(run.output, "jmena: kept")) << run.output;
    {
        Db db(copy_);
        const auto& fields = find_table_layout("nastaveni_aspektu")->fields;
        const auto columns = db.rows("PRAGMA table_info(nastaveni_aspektu)");
        ASSERT_EQ(columns.size(), fields.size());
        for (size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(columns[i][1].value_or(""), fields[i].name);
            EXPECT_EQ(columns[i][2].value_or(""), declared_type(fields[i].type, fields[i].size));
        }
        EXPECT_EQ(db.count("nastaveni_aspektu"), 1);
        EXPECT_EQ(db.value("SELECT svetla_cjn || '/' || svetla_ost || '/' || check_ver || '/' || "
                           "datum_rev || '/' || coalesce(ver_url, '') || coalesce(upd_url, '') "
                           "FROM nastaveni_aspektu"),
                  "10/2/1/1.2.2003/");
    }
    const ToolRun again = rerun();
    ASSERT_EQ(again.status, 0) << again.output;
    EXPECT_TRUE(contains(again.output, "nastaveni_aspektu: kept")) << again.output;
}

TEST_F(CopiedData, FailuresExitWithOneAndLeaveFilesAlone) {
    const ToolRun missingFolder = run_tool("--out '" + (dir_ / "no" / "data.tdb").string() + "'");
    EXPECT_EQ(missingFolder.status, 1);
    EXPECT_TRUE(contains(missingFolder.output, "horalun-data: cannot open"))
        << missingFolder.output;

    const std::string junk = (dir_ / "junk.tdb").string();
    const std::string content(5000, 'x');
    std::ofstream(junk, std::ios::binary) << content;
    const ToolRun notDatabase = run_tool("--out '" + junk + "'");
    EXPECT_EQ(notDatabase.status, 1);
    EXPECT_TRUE(contains(notDatabase.output, "horalun-data:")) << notDatabase.output;
    std::ifstream in(junk, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);

    const ToolRun badArgument = run_tool("--bogus");
    EXPECT_EQ(badArgument.status, 1);
    EXPECT_TRUE(contains(badArgument.output, "usage:")) << badArgument.output;
}

// ---- stup_txt ----

TEST_F(GeneratedData, DegreeTextsInSignAndDegreeOrder) {
    const auto rows = db.rows("SELECT znameni, text FROM stup_txt ORDER BY rowid");
    ASSERT_EQ(rows.size(), 360u);
    const char* signs[] = {"Beran", "Býk",  "Blíženci", "Rak",     "Lev",    "Panna",
                           "Váhy",  "Štír", "Střelec",  "Kozoroh", "Vodnář", "Ryby"};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0].value_or(""),
                  std::string(signs[i / 30]) + " " + std::to_string(i % 30 + 1));
        EXPECT_GT(rows[i][1].value_or("").size(), 100u) << rows[i][0].value_or("");
    }
}

}  // namespace
}  // namespace horalun
