#include "data/table_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "data/collation.h"
#include "data/text_format.h"

namespace horalun {
namespace {

// ---------------------------------------------------------------------------------------------
// Collation

TEST(Collation, SortsInCzechAlphabeticalOrder) {
    // Each text sorts strictly before the next one.
    const std::vector<std::string> ordered = {
        "",   " ",    "!",    "0",     "10",  "9",   "a b",  "ab",    "áb",  "Abc",   "abd",
        "Ač", "b",    "Cukr", "cz",    "čaj", "Čáp", "ďas",  "dům",   "e",   "é",     "ě",
        "ez", "Hrad", "hz",   "Chata", "chz", "i",   "Ida",  "ňadra", "nos", "Nov",   "Novák",
        "ó",  "Rum",  "rz",   "Řím",   "řz",  "sud", "sz",   "Šum",   "šz",  "Ťava",  "tuk",
        "u",  "ú",    "ů",    "uz",    "ý",   "z",   "Zdar", "zz",    "ž",   "Žatec", "α",
    };
    for (size_t i = 0; i + 1 < ordered.size(); ++i)
        EXPECT_LT(collation_key(ordered[i]), collation_key(ordered[i + 1]))
            << '"' << ordered[i] << "\" < \"" << ordered[i + 1] << '"';

    std::vector<std::string> shuffled = ordered;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    std::sort(shuffled.begin(), shuffled.end(), [](const std::string& a, const std::string& b) {
        return collation_key(a) < collation_key(b);
    });
    EXPECT_EQ(shuffled, ordered);
}

TEST(Collation, MarksCountOnlyAfterTheWholeWord) {
    // The first letter's acute loses against a later base letter.
    EXPECT_LT(collation_key("áa"), collation_key("ab"));
    EXPECT_LT(collation_key("ďa"), collation_key("db"));
    // Equal base letters: the first difference in marks decides, unmarked first.
    EXPECT_LT(collation_key("Časlav"), collation_key("Čáslav"));
    EXPECT_LT(collation_key("dá"), collation_key("ďa"));
    // Other Latin marks stay with the base letter.
    EXPECT_LT(collation_key("a"), collation_key("ä"));
    EXPECT_LT(collation_key("ä"), collation_key("b"));
}

TEST(Collation, CaseNeverCounts) {
    const std::pair<const char*, const char*> same[] = {
        {"ČÁSLAV", "čáslav"}, {"Žatec", "žATEC"}, {"ŘEVNICE", "řevnice"}, {"ÚŮÝÍÉĚ", "úůýíéě"},
        {"CH", "ch"},         {"Ch", "cH"},       {"ĎŤŇ", "ďťň"},         {"ÄÖÜ", "äöü"},
        {"ĽŔĹ", "ľŕĺ"},       {"ŁŚŹŻ", "łśźż"},   {"ΑΒΓ", "αβγ"},         {"ЖЯ", "жя"},
    };
    for (const auto& [a, b] : same) {
        EXPECT_EQ(collation_key(a), collation_key(b)) << a << " / " << b;
        EXPECT_TRUE(equal_ignoring_case(a, b)) << a << " / " << b;
    }
}

TEST(Collation, EqualKeysExactlyWhenEqualIgnoringCase) {
    const std::pair<const char*, const char*> different[] = {
        {"Caslav", "Čáslav"}, {"Časlav", "Čáslav"}, {"e", "é"},   {"é", "ě"},  {"u", "ů"},
        {"ú", "ů"},           {"c h", "ch"},        {"a", "a "},  {"ss", "ß"}, {"i", "ı"},
        {"\xff", "\xfe"},     {"\xc3", "\xc3\xa1"}, {"1", "1.0"},
    };
    for (const auto& [a, b] : different) {
        EXPECT_NE(collation_key(a), collation_key(b)) << a << " / " << b;
        EXPECT_FALSE(equal_ignoring_case(a, b)) << a << " / " << b;
    }
    EXPECT_TRUE(equal_ignoring_case("Čáslav", "čÁSLAV"));
    EXPECT_TRUE(equal_ignoring_case("", ""));
}

// ---------------------------------------------------------------------------------------------
// Fixtures

void exec(sqlite3* db, const std::string& sql) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
        const std::string msg = err ? err : "?";
        sqlite3_free(err);
        throw std::runtime_error(msg + " in " + sql);
    }
}

std::string day(int y, int m, int d) {
    return std::to_string(serial_from_ymd(y, m, d));
}
std::string clock(int h, int m) {
    return format_float_text((h * 3600 + m * 60) / 86400.0);
}

// A data file made with raw SQL in the temporary folder, removed at the end.
class TempFile {
  public:
    explicit TempFile(const std::string& sql) {
        static int counter = 0;
        path_ = (std::filesystem::temp_directory_path() /
                 ("horalun_store_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) +
                  ".tdb"))
                    .string();
        std::filesystem::remove(path_);
        sqlite3* db = nullptr;
        sqlite3_open(path_.c_str(), &db);
        try {
            exec(db, sql);
        } catch (...) {
            sqlite3_close(db);
            throw;
        }
        sqlite3_close(db);
    }
    ~TempFile() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove(path_, ec);
        std::filesystem::remove(path_ + "-journal", ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Persons with every field type; rowids 1..10 in this order. Hradec has only a name.
std::string persons_sql() {
    auto row = [](const std::string& vals) { return "INSERT INTO lide VALUES (" + vals + ");"; };
    return "CREATE TABLE lide (jmeno VARCHAR(18), datum DATE, cas TIME, okamzik DATETIME,"
           " poznamka MEMO, letni BOOLEAN, delka FLOAT, pocet WORD, kod INTEGER);"
           "CREATE INDEX jmeno ON lide(jmeno COLLATE NOCASE);"
           "CREATE INDEX datum ON lide(datum);"
           "CREATE INDEX pocet ON lide(pocet);"
           "CREATE INDEX letni ON lide(letni);"
           "CREATE INDEX cas ON lide(cas);"
           "CREATE TABLE prazdna (a VARCHAR(5));" +
           row("'Novák', " + day(1966, 4, 24) + ", " + clock(9, 3) + ", " + day(1966, 4, 24) +
               " + " + clock(9, 3) + ", 'první řádek', 1, 14.25, 3, -7") +
           row("'čáslav', " + day(1800, 1, 1) + ", 0, " + day(1800, 1, 1) +
               ", NULL, 0, -0.5, 0, 0") +
           row("'Chrudim', " + day(2200, 12, 31) + ", " + clock(23, 59) + ", " + day(2200, 12, 31) +
               ", 'x', 1, 0.1, 65535, 9000000000") +
           row("'Caslav', " + day(2000, 2, 29) + ", " + clock(12, 0) + ", " + day(2000, 2, 29) +
               ", '', 0, 1e-3, 7, 1") +
           row("'Hradec', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL") +
           row("'Řevnice', " + day(1950, 3, 15) + ", 0, 0, NULL, 1, 2, 5, 2") +
           row("'ahoj', " + day(1990, 1, 1) + ", 0, 0, NULL, 0, 3, 5, 3") +
           row("'Žatec', " + day(2002, 2, 2) + ", 0, 0, NULL, 0, 4, 9, 4") +
           row("'Zdar', " + day(2003, 3, 3) + ", 0, 0, NULL, 0, 5, 11, 5") +
           row("'Novák', " + day(1966, 4, 24) + ", 0, 0, 'druhý', 0, 6, 12, 6");
}

class StoreTest : public ::testing::Test {
  protected:
    StoreTest() : file_(persons_sql()), db_(Database::open(file_.path())) {}

    // The key field of every record in the cursor's order, first to last.
    static std::vector<std::string> walk(Cursor& c, const char* field = "jmeno") {
        std::vector<std::string> out;
        for (c.first(); !c.eof(); c.next()) out.push_back(c.asText(field));
        return out;
    }

    TempFile file_;
    std::shared_ptr<Database> db_;
};

// ---------------------------------------------------------------------------------------------
// Opening

TEST(Database, MissingFileNotADatabaseAndMissingTableAreReported) {
    const std::string missing =
        (std::filesystem::temp_directory_path() / "horalun_nothing_here.tdb").string();
    try {
        Database::open(missing);
        FAIL() << "no error for a missing file";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("„" + missing + "“"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("neexistuje"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(missing));  // never created

    const std::string text = missing + ".txt";
    std::ofstream(text) << "tohle není databáze, jen text o nějaké délce, aby ho SQLite četl\n";
    EXPECT_THROW(Database::open(text), TableError);
    std::filesystem::remove(text);
    EXPECT_THROW(Database::open(std::filesystem::temp_directory_path().string()), TableError);

    TempFile file("CREATE TABLE t (a VARCHAR(5));");
    auto db = Database::open(file.path());
    EXPECT_TRUE(db->writable());
    EXPECT_TRUE(db->hasTable("T"));
    EXPECT_FALSE(db->hasTable("jmena"));
    try {
        Cursor c(db, "jmena");
        FAIL() << "no error for a missing table";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("„jmena“"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(file.path()), std::string::npos) << e.what();
    }
}

// Opens the write-protected file and checks it behaves read-only; true when it does.
bool opens_read_only(const std::string& path) {
    try {
        auto db = Database::open(path);
        if (db->writable()) return false;
        Cursor c(db, "t");
        if (c.asText("a") != "x") return false;
        c.edit();
        return false;
    } catch (const TableError&) {
        return true;
    }
}

TEST(Database, WriteProtectedFileOpensReadOnly) {
    TempFile file("CREATE TABLE t (a VARCHAR(5)); INSERT INTO t VALUES ('x');");
    ::chmod(file.path().c_str(), 0444);
    if (::geteuid() != 0) {
        EXPECT_TRUE(opens_read_only(file.path()));
        return;
    }
    // Root may write any file, so the check runs in a child as an ordinary user.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::_exit(opens_read_only(file.path()) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(StoreTest, FieldsAndIndexesComeFromTheFile) {
    Cursor c(db_, "lide");
    ASSERT_EQ(c.fields().size(), 9u);
    const std::pair<const char*, FieldType> expected[] = {
        {"jmeno", FieldType::String},  {"datum", FieldType::Date},
        {"cas", FieldType::Time},      {"okamzik", FieldType::DateTime},
        {"poznamka", FieldType::Memo}, {"letni", FieldType::Boolean},
        {"delka", FieldType::Float},   {"pocet", FieldType::Word},
        {"kod", FieldType::Integer},
    };
    for (size_t i = 0; i < c.fields().size(); ++i) {
        EXPECT_EQ(c.fields()[i].name, expected[i].first);
        EXPECT_EQ(c.fields()[i].type, expected[i].second) << expected[i].first;
    }
    EXPECT_EQ(c.fields()[0].size, 18);
    EXPECT_EQ(c.fieldIndex("OKAMZIK"), 3);
    EXPECT_EQ(c.fieldIndex("nic"), -1);
    EXPECT_THROW(c.asText("nic"), TableError);
    EXPECT_THROW(c.asText(9), TableError);
    EXPECT_THROW(c.asText(-1), TableError);

    c.selectIndex("JMENO");
    EXPECT_EQ(c.activeIndex(), "jmeno");
    EXPECT_EQ(c.indexField(), "jmeno");
    try {
        c.selectIndex("podle_mesta");
        FAIL() << "no error for a missing index";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("„podle_mesta“"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("„lide“"), std::string::npos);
    }
    EXPECT_EQ(c.activeIndex(), "jmeno");  // a failed selection changes nothing
}

// ---------------------------------------------------------------------------------------------
// Order and navigation

TEST_F(StoreTest, EndsOfTheTableKeepTheCursorOnTheLastOrFirstRecord) {
    Cursor c(db_, "lide");
    EXPECT_EQ(c.recordCount(), 10);
    EXPECT_EQ(c.recNo(), 0);
    EXPECT_TRUE(c.bof());
    EXPECT_FALSE(c.eof());
    c.prior();
    EXPECT_EQ(c.recNo(), 0);
    EXPECT_TRUE(c.bof());
    c.next();
    EXPECT_FALSE(c.bof());
    EXPECT_EQ(c.asText("jmeno"), "čáslav");

    c.last();
    EXPECT_TRUE(c.eof());
    EXPECT_FALSE(c.bof());
    EXPECT_EQ(c.recNo(), 9);
    c.prior();
    EXPECT_FALSE(c.eof());
    EXPECT_EQ(c.recNo(), 8);
    c.next();
    EXPECT_FALSE(c.eof());  // moved onto the last record, not past it
    c.next();
    EXPECT_TRUE(c.eof());
    EXPECT_EQ(c.recNo(), 9);
    EXPECT_EQ(c.rowId(), 10);
    EXPECT_EQ(c.asText("poznamka"), "druhý");

    c.moveTo(100);
    EXPECT_EQ(c.recNo(), 9);
    EXPECT_TRUE(c.eof());
    c.moveTo(-5);
    EXPECT_EQ(c.recNo(), 0);
    EXPECT_TRUE(c.bof());
    c.moveTo(4);
    EXPECT_EQ(c.asText("jmeno"), "Hradec");
    EXPECT_FALSE(c.bof() || c.eof());

    // A loop to the end sees each record once; so does one back to the beginning.
    EXPECT_EQ(walk(c).size(), 10u);
    int seen = 0;
    for (c.last(); !c.bof(); c.prior()) ++seen;
    EXPECT_EQ(seen, 10);

    int scrolls = 0;
    c.afterScroll = [&] { ++scrolls; };
    c.last();
    c.next();  // stays on the last record: no scroll
    c.prior();
    EXPECT_EQ(scrolls, 2);
}

TEST_F(StoreTest, EmptyTableIsAtBothEnds) {
    Cursor c(db_, "prazdna");
    for (int step = 0; step < 5; ++step) {
        EXPECT_TRUE(c.eof());
        EXPECT_TRUE(c.bof());
        EXPECT_TRUE(c.isEmpty());
        EXPECT_EQ(c.recNo(), -1);
        EXPECT_EQ(c.rowId(), 0);
        EXPECT_EQ(c.asText("a"), "");
        EXPECT_EQ(c.asInteger(0), 0);
        switch (step) {
            case 0:
                c.next();
                break;
            case 1:
                c.prior();
                break;
            case 2:
                c.last();
                break;
            case 3:
                c.first();
                break;
            default:
                break;
        }
    }
    EXPECT_THROW(c.remove(), TableError);
}

TEST_F(StoreTest, TextIndexFollowsTheCzechAlphabetAndTiesFollowRowIds) {
    Cursor c(db_, "lide");
    c.moveTo(5);
    c.selectIndex("jmeno");
    EXPECT_EQ(c.recNo(), 0);
    EXPECT_TRUE(c.bof());
    EXPECT_EQ(walk(c), (std::vector<std::string>{"ahoj", "Caslav", "čáslav", "Hradec", "Chrudim",
                                                 "Novák", "Novák", "Řevnice", "Zdar", "Žatec"}));
    c.findKey("novák");
    EXPECT_EQ(c.rowId(), 1);
    c.next();
    EXPECT_EQ(c.rowId(), 10);

    c.selectIndex("");
    EXPECT_EQ(c.activeIndex(), "");
    EXPECT_EQ(walk(c).front(), "Novák");
    EXPECT_EQ(c.rowId(), 10);
}

TEST_F(StoreTest, NumberAndDateIndexesOrderByValueWithNullsFirst) {
    Cursor c(db_, "lide");
    c.selectIndex("datum");
    EXPECT_EQ(walk(c, "datum"), (std::vector<std::string>{"", "1.1.1800", "15.3.1950", "24.4.1966",
                                                          "24.4.1966", "1.1.1990", "29.2.2000",
                                                          "2.2.2002", "3.3.2003", "31.12.2200"}));
    c.selectIndex("pocet");
    EXPECT_EQ(walk(c, "pocet"),
              (std::vector<std::string>{"", "0", "3", "5", "5", "7", "9", "11", "12", "65535"}));
}

TEST_F(StoreTest, FindKeyOnTextIndexIgnoresCaseButNotMarks) {
    Cursor c(db_, "lide");
    c.selectIndex("jmeno");
    const struct {
        const char* key;
        const char* found;  // nullptr = no match
    } cases[] = {
        {"ČÁSLAV", "čáslav"},   {"caslav", "Caslav"}, {"Časlav", nullptr},
        {"chrudim", "Chrudim"}, {"ŽATEC", "Žatec"},   {"řevnice", "Řevnice"},
        {"Zdar ", nullptr},     {"Nov", nullptr},     {"", nullptr},
    };
    for (const auto& k : cases) {
        c.moveTo(3);
        EXPECT_EQ(c.findKey(k.key), k.found != nullptr) << k.key;
        EXPECT_EQ(c.asText("jmeno"), k.found ? k.found : "Hradec") << k.key;
        if (k.found) {
            EXPECT_FALSE(c.bof() || c.eof());
        }
    }
}

TEST_F(StoreTest, FindNearestMovesToTheFirstKeyNotBelow) {
    Cursor c(db_, "lide");
    c.selectIndex("jmeno");
    const std::pair<const char*, const char*> cases[] = {
        {"a", "ahoj"},     {"C", "Caslav"}, {"cb", "čáslav"}, {"čáslav", "čáslav"}, {"d", "Hradec"},
        {"hz", "Chrudim"}, {"i", "Novák"},  {"Ř", "Řevnice"}, {"ž", "Žatec"},
    };
    for (const auto& [key, found] : cases) {
        EXPECT_TRUE(c.findNearest(key)) << key;
        EXPECT_EQ(c.asText("jmeno"), found) << key;
        EXPECT_FALSE(c.eof()) << key;
    }
    EXPECT_FALSE(c.findNearest("žz"));
    EXPECT_EQ(c.asText("jmeno"), "Žatec");
    EXPECT_TRUE(c.eof());

    c.selectIndex("datum");
    EXPECT_TRUE(c.findNearest("1.1.1900"));
    EXPECT_EQ(c.asText("datum"), "15.3.1950");
    c.first();
    EXPECT_FALSE(c.findNearest("1.1.1966x"));  // no date: stays
    EXPECT_EQ(c.recNo(), 0);
}

TEST_F(StoreTest, FindKeyConvertsTheKeyToTheFieldType) {
    Cursor c(db_, "lide");
    c.selectIndex("datum");
    const struct {
        const char* index;
        const char* key;
        const char* found;
    } cases[] = {
        {"datum", "24.4.1966", "Novák"},    {"datum", "1.1.1800", "čáslav"},
        {"datum", "31.12.2200", "Chrudim"}, {"datum", "29.2.2000", "Caslav"},
        {"datum", "31.4.2024", nullptr},    {"datum", "29.2.2023", nullptr},
        {"datum", "25.4.1966", nullptr},    {"datum", "Novák", nullptr},
        {"pocet", "65535", "Chrudim"},      {"pocet", " 7 ", "Caslav"},
        {"pocet", "7.5", nullptr},          {"pocet", "sedm", nullptr},
        {"letni", "True", "Novák"},         {"letni", "false", "čáslav"},
        {"letni", "ano", nullptr},          {"cas", "9:03", "Novák"},
        {"cas", "9:03:00", "Novák"},        {"cas", "23:59", "Chrudim"},
        {"cas", "9:04", nullptr},
    };
    for (const auto& k : cases) {
        c.selectIndex(k.index);
        c.moveTo(4);
        const std::string before = c.asText("jmeno");
        EXPECT_EQ(c.findKey(k.key), k.found != nullptr) << k.index << " " << k.key;
        EXPECT_EQ(c.asText("jmeno"), k.found ? k.found : before) << k.index << " " << k.key;
    }
    c.selectIndex("");
    EXPECT_THROW(c.findKey("1"), TableError);  // no index to search
}

TEST_F(StoreTest, SeveralCursorsKeepTheirOwnOrderAndPosition) {
    Cursor a(db_, "lide");
    Cursor b(db_, "lide", true);
    a.selectIndex("datum");
    ASSERT_TRUE(a.findKey("31.12.2200"));
    b.selectIndex("jmeno");
    ASSERT_TRUE(b.findKey("ahoj"));
    b.next();
    EXPECT_EQ(a.asText("jmeno"), "Chrudim");
    EXPECT_EQ(b.asText("jmeno"), "Caslav");
    a.prior();
    EXPECT_EQ(a.asText("datum"), "3.3.2003");
    EXPECT_EQ(b.asText("jmeno"), "Caslav");
    EXPECT_EQ(a.activeIndex(), "datum");
    EXPECT_EQ(b.activeIndex(), "jmeno");
}

TEST_F(StoreTest, CursorsOnOneIndexShareItsOrderUntilAWrite) {
    Cursor a(db_, "lide");
    a.selectIndex("jmeno");
    Cursor b(db_, "lide", true);
    b.selectIndex("jmeno");  // takes the order a read
    EXPECT_EQ(walk(b), walk(a));
    a.insert();
    a.setText("jmeno", "Aš");
    a.post();
    // A new cursor sees the written row at once; an open one after its refresh.
    Cursor c(db_, "lide", true);
    c.selectIndex("jmeno");
    EXPECT_EQ(walk(c), walk(a));
    const int before = b.recordCount();
    b.refresh();
    EXPECT_EQ(b.recordCount(), before + 1);
    EXPECT_EQ(walk(b), walk(a));
}

// ---------------------------------------------------------------------------------------------
// Field access

TEST_F(StoreTest, FieldsReadAsEveryTypeByNameAndPosition) {
    Cursor c(db_, "lide");
    ASSERT_EQ(c.rowId(), 1);
    const std::pair<const char*, const char*> texts[] = {
        {"jmeno", "Novák"},
        {"datum", "24.4.1966"},
        {"cas", "9:03:00"},
        {"okamzik", "24.4.1966 9:03:00"},
        {"poznamka", "první řádek"},
        {"letni", "True"},
        {"delka", "14.25"},
        {"pocet", "3"},
        {"kod", "-7"},
    };
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(c.asText(texts[i].first), texts[i].second);
        EXPECT_EQ(c.asText(i), texts[i].second);
    }
    const double date = serial_from_ymd(1966, 4, 24);
    EXPECT_EQ(c.asDateTime("datum"), date);
    EXPECT_NEAR(c.asDateTime("okamzik"), date + (9 * 60 + 3) / 1440.0, 1e-9);
    EXPECT_NEAR(c.asDateTime(2), (9 * 60 + 3) / 1440.0, 1e-9);
    EXPECT_TRUE(c.asBoolean("letni"));
    EXPECT_EQ(c.asFloat("delka"), 14.25);
    EXPECT_EQ(c.asInteger("delka"), 14);
    EXPECT_EQ(c.asInteger("pocet"), 3);
    EXPECT_EQ(c.asFloat(7), 3.0);
    EXPECT_EQ(c.asInteger("kod"), -7);
    EXPECT_EQ(c.asInteger("letni"), 1);
    EXPECT_FALSE(c.isNull("poznamka"));

    set_decimal_separator(',');
    EXPECT_EQ(c.asText("delka"), "14,25");
    set_decimal_separator('.');

    c.next();  // čáslav: dates before 1900, false, negative float
    EXPECT_EQ(c.asText("datum"), "1.1.1800");
    EXPECT_EQ(c.asText("cas"), "0:00:00");
    EXPECT_EQ(c.asText("okamzik"), "1.1.1800");
    EXPECT_EQ(c.asText("letni"), "False");
    EXPECT_FALSE(c.asBoolean(5));
    EXPECT_EQ(c.asText("delka"), "-0.5");
    EXPECT_TRUE(c.isNull("poznamka"));
    c.next();  // Chrudim: the largest word and an integer beyond 32 bits
    EXPECT_EQ(c.asInteger("pocet"), 65535);
    EXPECT_EQ(c.asInteger("kod"), 9000000000LL);
    EXPECT_EQ(c.asText("cas"), "23:59:00");

    c.moveTo(4);  // Hradec: nulls read as empty, zero and false
    for (int i = 1; i < 9; ++i) {
        EXPECT_EQ(c.asText(i), "") << i;
        EXPECT_EQ(c.asInteger(i), 0) << i;
        EXPECT_EQ(c.asFloat(i), 0.0) << i;
        EXPECT_FALSE(c.asBoolean(i)) << i;
        EXPECT_EQ(c.asDateTime(i), 0.0) << i;
    }
    EXPECT_TRUE(c.isNull("DATUM"));
    EXPECT_THROW(c.asInteger("jmeno"), TableError);  // "Hradec" is no number
    EXPECT_THROW(c.asFloat("jmeno"), TableError);
}

// ---------------------------------------------------------------------------------------------
// Editing

TEST_F(StoreTest, PostLeavesTheCursorOnTheWrittenRecordInItsOrder) {
    Cursor c(db_, "lide");
    int posts = 0, inserts = 0;
    c.afterPost = [&] { ++posts; };
    c.afterInsert = [&] { ++inserts; };
    c.selectIndex("jmeno");
    ASSERT_TRUE(c.findKey("Zdar"));
    const long long row = c.rowId();
    EXPECT_THROW(c.setText("jmeno", "Adam"), TableError);  // not editing
    c.edit();
    EXPECT_EQ(c.state(), Cursor::State::Edit);
    c.setText("jmeno", "Adam");
    c.setText("datum", "1.2.2003");
    c.setText(6, "7.5");
    EXPECT_EQ(c.asText("jmeno"), "Adam");  // reads show the pending values
    c.post();
    EXPECT_EQ(c.state(), Cursor::State::Browse);
    EXPECT_EQ(posts, 1);
    EXPECT_EQ(inserts, 0);
    EXPECT_EQ(c.rowId(), row);
    EXPECT_EQ(c.recNo(), 0);
    EXPECT_EQ(c.asText("datum"), "1.2.2003");
    EXPECT_EQ(c.asFloat("delka"), 7.5);

    c.insert();
    EXPECT_EQ(c.state(), Cursor::State::Insert);
    EXPECT_EQ(c.asText("jmeno"), "");
    c.setText("jmeno", "Lucie");
    c.setText("datum", "24.4.1966");
    c.setText("cas", "9:03");
    c.setText("okamzik", "24.4.1966 9:03");
    c.setText("letni", "True");
    c.setText("pocet", "65535");
    c.setText("kod", "-12");
    c.setText("poznamka", "řádek\nna dva");
    c.post();
    EXPECT_EQ(inserts, 1);
    EXPECT_EQ(posts, 2);
    EXPECT_EQ(c.recordCount(), 11);
    EXPECT_EQ(c.asText("jmeno"), "Lucie");
    EXPECT_EQ(c.recNo(), 6);  // after Chrudim, before Novák
    c.prior();
    EXPECT_EQ(c.asText("jmeno"), "Chrudim");

    // What was posted reads back through a fresh cursor with its types.
    Cursor d(db_, "lide");
    d.last();
    EXPECT_EQ(d.asText("okamzik"), "24.4.1966 9:03:00");
    EXPECT_TRUE(d.asBoolean("letni"));
    EXPECT_EQ(d.asInteger("pocet"), 65535);
    EXPECT_EQ(d.asInteger("kod"), -12);
    EXPECT_EQ(d.asText("poznamka"), "řádek\nna dva");
    EXPECT_EQ(d.asText("cas"), "9:03:00");
}

TEST_F(StoreTest, TextThatDoesNotConvertThrowsAndKeepsThePendingValue) {
    Cursor c(db_, "lide");
    c.edit();
    const struct {
        const char* field;
        const char* text;
    } bad[] = {
        {"datum", "31.4.2024"}, {"datum", "24.4.1966 9:03"},
        {"cas", "25:00"},       {"okamzik", "x"},
        {"delka", "1,5"},       {"delka", "nan"},
        {"pocet", "65536"},     {"pocet", "-1"},
        {"pocet", "1.5"},       {"kod", "12abc"},
        {"letni", "ano"},
    };
    for (const auto& b : bad) {
        const std::string before = c.asText(b.field);
        try {
            c.setText(b.field, b.text);
            ADD_FAILURE() << b.field << " took " << b.text;
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("„") + b.field + "“"),
                      std::string::npos)
                << e.what();
        }
        EXPECT_EQ(c.asText(b.field), before) << b.field;
    }
    c.setText("datum", "");  // an empty text clears a non-text field
    EXPECT_TRUE(c.isNull("datum"));
    c.cancel();
    EXPECT_EQ(c.asText("datum"), "24.4.1966");
}

TEST_F(StoreTest, TypedSettersStoreInTheFieldsOwnType) {
    Cursor c(db_, "lide");
    c.edit();
    c.setInteger("jmeno", 42);
    c.setFloat("pocet", 6.6);
    c.setBoolean("letni", false);
    c.setDateTime("datum", serial_from_ymd(2024, 3, 31) + 0.75);  // a date keeps the day
    c.setDateTime("cas", serial_from_ymd(2024, 3, 31) + 0.75);    // a time keeps the clock
    c.setNull("delka");
    EXPECT_THROW(c.setInteger("pocet", 70000), TableError);
    c.post();
    Cursor d(db_, "lide");
    EXPECT_EQ(d.asText("jmeno"), "42");
    EXPECT_EQ(d.asInteger("pocet"), 7);
    EXPECT_EQ(d.asText("letni"), "False");
    EXPECT_EQ(d.asText("datum"), "31.3.2024");
    EXPECT_EQ(d.asText("cas"), "18:00:00");
    EXPECT_TRUE(d.isNull("delka"));
}

TEST_F(StoreTest, CancelDropsPendingValuesAndNavigationPostsThem) {
    Cursor c(db_, "lide");
    c.insert();
    c.setText("jmeno", "Nikdo");
    c.cancel();
    EXPECT_EQ(c.recordCount(), 10);
    EXPECT_EQ(c.asText("jmeno"), "Novák");

    c.edit();
    c.setText("poznamka", "změna");
    c.next();  // leaving the record writes it
    EXPECT_EQ(c.state(), Cursor::State::Browse);
    Cursor d(db_, "lide");
    EXPECT_EQ(d.asText("poznamka"), "změna");
}

TEST_F(StoreTest, RemoveAsksFirstAndMovesToTheFollowingRecord) {
    Cursor c(db_, "lide");
    c.selectIndex("jmeno");
    bool allow = false;
    int asked = 0, deleted = 0;
    c.beforeDelete = [&] {
        ++asked;
        return allow;
    };
    c.afterDelete = [&] { ++deleted; };
    ASSERT_TRUE(c.findKey("chrudim"));
    c.remove();  // refused: nothing happens, no error
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(c.recordCount(), 10);
    EXPECT_EQ(c.asText("jmeno"), "Chrudim");

    allow = true;
    c.remove();
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(c.recordCount(), 9);
    EXPECT_EQ(c.asText("jmeno"), "Novák");
    EXPECT_FALSE(c.findKey("Chrudim"));

    c.last();
    c.remove();  // the last record: the new last one follows
    EXPECT_EQ(c.asText("jmeno"), "Zdar");
    EXPECT_TRUE(c.eof());

    Cursor d(db_, "lide");
    EXPECT_EQ(d.recordCount(), 8);
    // Deleting everything in a loop ends on an empty table.
    while (!d.isEmpty()) d.remove();
    EXPECT_TRUE(d.eof() && d.bof());
    EXPECT_EQ(d.recNo(), -1);
}

TEST_F(StoreTest, ReadOnlyCursorRefusesWritesUntilSwitched) {
    Cursor c(db_, "lide", true);
    EXPECT_TRUE(c.readOnly());
    const std::function<void()> writes[] = {[&] { c.edit(); }, [&] { c.insert(); },
                                            [&] { c.remove(); }, [&] { c.emptyTable(); }};
    for (const auto& w : writes) {
        try {
            w();
            ADD_FAILURE() << "a read-only cursor wrote";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find("„lide“"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(c.recordCount(), 10);
    EXPECT_EQ(c.state(), Cursor::State::Browse);

    c.setReadOnly(false);
    c.edit();
    c.setText("jmeno", "Odemčeno");
    c.setReadOnly(true);  // locking drops the pending edit
    EXPECT_EQ(c.state(), Cursor::State::Browse);
    EXPECT_EQ(c.asText("jmeno"), "Novák");
    c.setReadOnly(false);
    c.edit();
    c.setText("jmeno", "Odemčeno");
    c.post();
    EXPECT_EQ(c.asText("jmeno"), "Odemčeno");
}

TEST_F(StoreTest, EmptyTableDeletesEveryRow) {
    Cursor c(db_, "lide");
    Cursor other(db_, "lide");
    c.emptyTable();
    EXPECT_TRUE(c.isEmpty());
    EXPECT_TRUE(c.eof() && c.bof());
    other.refresh();
    EXPECT_EQ(other.recordCount(), 0);
    c.insert();
    c.setText("jmeno", "Nový");
    c.post();
    EXPECT_EQ(c.recordCount(), 1);
    EXPECT_EQ(c.recNo(), 0);
}

TEST_F(StoreTest, CachedRowsFollowWritesThroughAnotherCursor) {
    Cursor reader(db_, "lide");
    Cursor writer(db_, "lide");
    reader.moveTo(2);
    EXPECT_EQ(reader.asText("jmeno"), "Chrudim");  // now cached
    writer.moveTo(2);
    writer.edit();
    writer.setText("jmeno", "Chrast");
    writer.post();
    EXPECT_EQ(reader.asText("jmeno"), "Chrast");
    reader.next();
    EXPECT_EQ(reader.asText("jmeno"), "Caslav");

    // refresh() sees a new record and stays on the same one.
    reader.selectIndex("jmeno");
    ASSERT_TRUE(reader.findKey("Novák"));
    const long long row = reader.rowId();
    writer.insert();
    writer.setText("jmeno", "Adéla");
    writer.post();
    EXPECT_EQ(reader.recordCount(), 10);
    reader.refresh();
    EXPECT_EQ(reader.recordCount(), 11);
    EXPECT_EQ(reader.rowId(), row);
    EXPECT_EQ(reader.asText("jmeno"), "Novák");
    reader.first();
    EXPECT_EQ(reader.asText("jmeno"), "Adéla");

    // A record deleted elsewhere: refresh keeps the position.
    reader.moveTo(3);
    writer.selectIndex("jmeno");
    writer.moveTo(3);
    ASSERT_EQ(writer.rowId(), reader.rowId());
    writer.remove();
    reader.refresh();
    EXPECT_EQ(reader.recNo(), 3);
    EXPECT_EQ(reader.asText("jmeno"), writer.asText("jmeno"));
}

// Many rows: the walk crosses blocks in both directions, in row id and in key order.
TEST(StoreBlocks, WalksThroughManyRowsInEitherDirection) {
    std::string sql =
        "CREATE TABLE t (n INTEGER, s VARCHAR(10), k FLOAT); CREATE INDEX k ON t(k); BEGIN;";
    const int rows = 1500;
    for (int i = 1; i <= rows; ++i)
        sql += "INSERT INTO t VALUES (" + std::to_string(i) + ", 'r" + std::to_string(i) + "', " +
               std::to_string(rows - i) + ");";
    sql += "DELETE FROM t WHERE n % 97 = 0; COMMIT;";  // gaps in the row ids
    TempFile file(sql);
    auto db = Database::open(file.path());
    Cursor c(db, "t");
    std::vector<long long> expected;
    for (int i = 1; i <= rows; ++i)
        if (i % 97) expected.push_back(i);
    ASSERT_EQ(c.recordCount(), int(expected.size()));

    std::vector<long long> seen;
    for (c.first(); !c.eof(); c.next()) {
        seen.push_back(c.asInteger(0));
        ASSERT_EQ(c.asText(1), "r" + std::to_string(seen.back()));
    }
    EXPECT_EQ(seen, expected);

    c.selectIndex("k");  // descending row ids
    seen.clear();
    for (c.last(); !c.bof(); c.prior()) seen.push_back(c.asInteger("n"));
    EXPECT_EQ(seen, expected);

    std::mt19937 rng(3);
    for (int i = 0; i < 200; ++i) {
        const int at = int(rng() % expected.size());
        c.moveTo(at);
        ASSERT_EQ(c.asInteger("n"), expected[expected.size() - 1 - size_t(at)]);
    }
    ASSERT_TRUE(c.findKey("0"));
    EXPECT_EQ(c.asText("n"), "1500");
}

TEST(StoreClose, ClosedCursorRefusesAccessAndReopens) {
    TempFile file("CREATE TABLE t (a VARCHAR(5)); INSERT INTO t VALUES ('x'), ('y');");
    Cursor c(Database::open(file.path()), "t");
    c.next();
    c.close();
    EXPECT_FALSE(c.isOpen());
    EXPECT_THROW(c.asText("a"), TableError);
    EXPECT_THROW(c.next(), TableError);
    c.open();
    EXPECT_EQ(c.recNo(), 0);
    EXPECT_EQ(c.asText("a"), "x");
}

}  // namespace
}  // namespace horalun
