// A small hand-written efemeris table in a temporary data file, for exact position tests.
#pragma once

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/table_store.h"
#include "data/text_format.h"

namespace horalun::testing {

// Days given as column -> text; columns left out hold a resting body ("00a00"). A "sidt" entry
// sets the day's sidereal time (default "00:00:00").
using FixtureDay = std::map<std::string, std::string>;

class EphemerisFixture {
  public:
    // Rows start at `firstDay` (d, m, y) and follow day by day.
    EphemerisFixture(int year, int month, int day, const std::vector<FixtureDay>& days) {
        path_ =
            std::filesystem::temp_directory_path() / ("horalun_eph_" + std::to_string(::getpid()) +
                                                      "_" + std::to_string(counter()++) + ".tdb");
        std::filesystem::remove(path_);
        sqlite3* db = nullptr;
        if (sqlite3_open(path_.c_str(), &db) != SQLITE_OK) throw std::runtime_error("fixture");
        std::string create =
            "CREATE TABLE efemeris (den VARCHAR(1), datum DATETIME, sidt VARCHAR(8)";
        for (const char* c : kColumns) create += std::string(", ") + c + " VARCHAR(8)";
        create += "); CREATE INDEX datum ON efemeris(datum COLLATE NOCASE);";
        exec(db, create);
        const int first = serial_from_ymd(year, month, day);
        for (size_t i = 0; i < days.size(); ++i) {
            auto sidt = days[i].find("sidt");
            std::string sql =
                "INSERT INTO efemeris VALUES ('P', " + std::to_string(first + int(i)) + ", " +
                quoted(sidt == days[i].end() ? std::string("00:00:00") : sidt->second);
            for (const char* c : kColumns) {
                auto it = days[i].find(c);
                sql += ", " + quoted(it == days[i].end() ? std::string("00a00") : it->second);
            }
            exec(db, sql + ")");
        }
        sqlite3_close(db);
        cursor_ = std::make_unique<Cursor>(Database::open(path_.string()), "efemeris");
        cursor_->selectIndex("datum");
    }
    ~EphemerisFixture() {
        cursor_.reset();
        std::filesystem::remove(path_);
    }
    Cursor& cursor() { return *cursor_; }
    std::string path() const { return path_.string(); }

  private:
    static constexpr const char* kColumns[] = {
        "slunce", "mesic", "merkur", "venuse",     "mars", "jupiter", "saturn", "uran",
        "neptun", "pluto", "s_uzel", "pravy_uzel", "uzel", "lilith",  "chiron"};
    static int& counter() {
        static int n = 0;
        return n;
    }
    static std::string quoted(const std::string& text) {
        std::string out = "'";
        for (char ch : text) out += ch == '\'' ? std::string("''") : std::string(1, ch);
        return out + "'";
    }
    static void exec(sqlite3* db, const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::string msg = err ? err : "sqlite";
            sqlite3_free(err);
            throw std::runtime_error(msg);
        }
    }
    std::filesystem::path path_;
    std::unique_ptr<Cursor> cursor_;
};

}  // namespace horalun::testing
