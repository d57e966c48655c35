#include "core/degree_meanings.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace horalun {
namespace {

namespace fs = std::filesystem;

// A temporary data file with a small stup_txt table, rows in the given order.
class StupTxtFixture {
  public:
    explicit StupTxtFixture(const std::vector<std::pair<std::string, std::string>>& rows,
                            const char* create =
                                "CREATE TABLE stup_txt (znameni VARCHAR(20), "
                                "text MEMO TEXT)") {
        static int counter = 0;
        path_ = fs::temp_directory_path() / ("horalun_stup_" + std::to_string(::getpid()) + "_" +
                                             std::to_string(counter++) + ".tdb");
        fs::remove(path_);
        sqlite3* db = nullptr;
        if (sqlite3_open(path_.c_str(), &db) != SQLITE_OK) throw std::runtime_error("fixture");
        exec(db, create);
        exec(db, "CREATE INDEX text ON stup_txt(znameni COLLATE NOCASE)");
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO stup_txt VALUES (?, ?)", -1, &insert, nullptr);
        for (const auto& [key, text] : rows) {
            sqlite3_bind_text(insert, 1, key.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, text.c_str(), -1, SQLITE_TRANSIENT);
            if (sqlite3_step(insert) != SQLITE_DONE) throw std::runtime_error("fixture insert");
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_close(db);
        cursor_ = std::make_unique<Cursor>(Database::open(path_.string()), "stup_txt");
    }
    ~StupTxtFixture() {
        cursor_.reset();
        fs::remove(path_);
    }
    Cursor& cursor() { return *cursor_; }

  private:
    static void exec(sqlite3* db, const char* sql) {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    fs::path path_;
    std::unique_ptr<Cursor> cursor_;
};

const std::vector<std::pair<std::string, std::string>> kRows = {
    {"Beran 11", "Jedenáctý stupeň Berana"},
    {"Beran 12", "Dvanáctý stupeň Berana"},
    {"Beran 30", "Poslední stupeň Berana"},
    {"Býk 1", "První stupeň Býka\nna dvou řádcích"},
    {"Lev 5", "A"},  // duplicate keys: the scan decides which text counts
    {"Lev 5", "B"},
    {"Lev 6", "C"},
    {"Lev 5", "D"},
    {"Rak 3", "X"},
    {"Rak 3", "Y"},
    {"Ryby 30", "Konec tabulky"},
};

// The scan over the table in natural order, step by step, as the reference.
DegreeMeaning scan(Cursor& c, const std::string& sign, int degrees, int minutes) {
    DegreeMeaning m;
    const std::string key = sign + " " + std::to_string(degrees + 1);
    c.selectIndex("");
    for (c.first(); !c.eof(); c.next()) {
        if (c.asText("znameni") != key) continue;
        m.meaning = c.asText("text");
        if (minutes > 54 && !m.hasNext) {
            c.next();
            if (c.eof()) break;
            m.next = c.asText("text");
            m.hasNext = true;
        }
    }
    return m;
}

TEST(DegreeMeaning, LookupFindsDegreePlusOneAndTheNextRow) {
    StupTxtFixture fixture(kRows);
    DegreeMeaningTable table;
    table.load(fixture.cursor());
    EXPECT_EQ(table.size(), int(kRows.size()));

    struct Case {
        const char* position;
        const char* sign;
        const char* meaning;
        const char* next;  // nullptr: no next-degree text
    };
    const Case cases[] = {
        {"29° 58'", "Beran", "Poslední stupeň Berana", "První stupeň Býka\nna dvou řádcích"},
        {"10° 54'", "Beran", "Jedenáctý stupeň Berana", nullptr},
        {"10° 55'", "Beran", "Jedenáctý stupeň Berana", "Dvanáctý stupeň Berana"},
        {"10° 59' R ", "Beran", "Jedenáctý stupeň Berana", "Dvanáctý stupeň Berana"},
        {"0° 00'", "Býk", "První stupeň Býka\nna dvou řádcích", nullptr},
        {"4° 00'", "Beran", "", nullptr},                          // no row for the degree
        {"4° 59'", "Beran", "", nullptr},                          // nor a next one without a match
        {"29° 59'", "Ryby", "Konec tabulky", nullptr},             // last row: nothing follows
        {"10° 55'", "beran", "", nullptr},                         // the key compares exactly
        {"10 55'", "Beran", "", nullptr},                          // no degree mark
        {"x° 55'", "Beran", "", nullptr},                          // degree not a number
        {"10° xx'", "Beran", "Jedenáctý stupeň Berana", nullptr},  // minutes unreadable
        {"", "", "", nullptr},
    };
    for (const Case& c : cases) {
        const DegreeMeaning m = table.lookup("Slunce", c.position, c.sign);
        SCOPED_TRACE(std::string(c.position) + " " + c.sign);
        EXPECT_EQ(m.name, "Slunce");
        EXPECT_EQ(m.position, c.position);
        EXPECT_EQ(m.sign, c.sign);
        EXPECT_EQ(m.meaning, c.meaning);
        EXPECT_EQ(m.hasNext, c.next != nullptr);
        EXPECT_EQ(m.next, c.next ? c.next : "");
    }
}

TEST(DegreeMeaning, LookupAgreesWithTheTableScan) {
    StupTxtFixture fixture(kRows);
    DegreeMeaningTable table;
    table.load(fixture.cursor());
    for (const char* sign : {"Beran", "Býk", "Rak", "Lev", "Ryby"})
        for (int degrees = 0; degrees < 31; ++degrees)
            for (int minutes : {0, 54, 55, 59}) {
                const std::string position = std::to_string(degrees) + "° " +
                                             (minutes < 10 ? "0" : "") + std::to_string(minutes) +
                                             "'";
                const DegreeMeaning want = scan(fixture.cursor(), sign, degrees, minutes);
                const DegreeMeaning got = table.lookup("Bod", position, sign);
                SCOPED_TRACE(position + " " + sign);
                EXPECT_EQ(got.meaning, want.meaning);
                EXPECT_EQ(got.hasNext, want.hasNext);
                EXPECT_EQ(got.next, want.next);
            }
    // The duplicates spelled out: the last match is the meaning unless the scan passed over it.
    EXPECT_EQ(table.lookup("", "4° 10'", "Lev").meaning, "D");
    const DegreeMeaning lev = table.lookup("", "4° 57'", "Lev");
    EXPECT_EQ(lev.meaning, "D");
    EXPECT_EQ(lev.next, "B");
    const DegreeMeaning rak = table.lookup("", "2° 57'", "Rak");
    EXPECT_EQ(rak.meaning, "X");
    EXPECT_EQ(rak.next, "Y");
}

TEST(DegreeMeaning, NameIsCutToTwentyCharacters) {
    StupTxtFixture fixture(kRows);
    DegreeMeaningTable table;
    table.load(fixture.cursor());
    EXPECT_EQ(table.lookup("Arabský bod úspěšného řízení", "1° 00'", "Beran").name,
              "Arabský bod úspěšnéh");
    EXPECT_EQ(table.lookup("Medium Coeli", "1° 00'", "Beran").name, "Medium Coeli");
}

TEST(DegreeMeaning, LoadReadsNaturalOrderAndKeepsTheCursorsIndex) {
    StupTxtFixture fixture(kRows);
    fixture.cursor().selectIndex("text");  // index order would put "Beran 30" after "Beran 12"
    DegreeMeaningTable table;
    table.load(fixture.cursor());
    EXPECT_EQ(fixture.cursor().activeIndex(), "text");
    EXPECT_EQ(table.lookup("", "29° 58'", "Beran").next, "První stupeň Býka\nna dvou řádcích");

    StupTxtFixture empty({});
    table.load(empty.cursor());
    EXPECT_EQ(table.size(), 0);
    EXPECT_EQ(table.lookup("", "10° 55'", "Beran").meaning, "");

    StupTxtFixture wrong({}, "CREATE TABLE stup_txt (znameni VARCHAR(20), popis MEMO TEXT)");
    table.load(fixture.cursor());
    EXPECT_THROW(table.load(wrong.cursor()), TableError);
    EXPECT_EQ(table.size(), int(kRows.size()));  // unchanged by the failed load
}

TEST(DegreeMeaning, EntriesAndHeadingHaveTheirExactBytes) {
    StupTxtFixture fixture(kRows);
    DegreeMeaningTable table;
    table.load(fixture.cursor());
    const fs::path path =
        fs::temp_directory_path() / ("horalun_uhly_prvku_" + std::to_string(::getpid()) + ".txt");
    TextFileWriter file(path.string());
    append_degree_meaning(file, table.lookup("Slunce", "10° 54'", "Beran"));
    append_degree_meaning(file, table.lookup("Ascendent", "4° 00'", "Beran"));
    append_transit_meanings_heading(file);
    append_degree_meaning(file, table.lookup("Měsíc", "29° 58' R ", "Beran"));
    append_degree_meaning(file, table.lookup("Pluto", "10° 55'", "Beran"));
    ASSERT_TRUE(file.flush());

    std::ifstream in(path, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    fs::remove(path);
    EXPECT_EQ(bytes,
              // without a next degree: the entry ends with the meaning's line
              "Slunce: 10\xB0 54' Beran\r\n"
              "V\xFDznam: Jeden\xE1"
              "ct\xFD stupe\xF2 Berana\r\n"
              // no row for the degree: an empty meaning
              "Ascendent: 4\xB0 00' Beran\r\n"
              "V\xFDznam: \r\n"
              // the heading and its empty line
              "V\xFDznamy stup\xF2\xF9 tranzitn\xED"
              "ch planet\r\n"
              "\r\n"
              // with a next degree: on the meaning's line, then an empty line
              "M\xECs\xED"
              "c: 29\xB0 58' R  Beran\r\n"
              "V\xFDznam: Posledn\xED stupe\xF2 Berana"
              "Dal\x9A\xED stupe\xF2:Prvn\xED stupe\xF2 B\xFDka\r\n"
              "na dvou \xF8\xE1"
              "dc\xED"
              "ch\r\n"
              "\r\n"
              "Pluto: 10\xB0 55' Beran\r\n"
              "V\xFDznam: Jeden\xE1"
              "ct\xFD stupe\xF2 Berana"
              "Dal\x9A\xED stupe\xF2:Dvan\xE1"
              "ct\xFD stupe\xF2 Berana\r\n"
              "\r\n");
}

}  // namespace
}  // namespace horalun
