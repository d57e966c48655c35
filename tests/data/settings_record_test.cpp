#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "data/settings_record.h"
#include "data/table_layouts.h"
#include "data/table_store.h"

namespace horalun {
namespace {

class SettingsRecord : public ::testing::Test {
  protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("horalun_settings_" + std::to_string(::getpid()) + ".tdb");
        std::filesystem::remove(path);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        for (const auto& sql : create_table_sql(*find_table_layout("nastaveni_aspektu")))
            ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        cursor = std::make_unique<Cursor>(Database::open(path.string()), "nastaveni_aspektu");
    }
    void TearDown() override {
        cursor.reset();
        std::filesystem::remove(path);
    }
    void add_row() {
        cursor->insert();
        cursor->post();
    }
    std::filesystem::path path;
    std::unique_ptr<Cursor> cursor;
};

TEST_F(SettingsRecord, WritesInPlaceAndReadsBack) {
    add_row();
    write_orb_settings(*cursor, OrbSettings{});
    OrbSettings s = read_orb_settings(*cursor);
    EXPECT_EQ(s.orbs, (std::array<int, 12>{10, 8, 8, 7, 8, 6, 7, 6, 6, 5, 5, 4}));
    EXPECT_EQ(s.dstMode, "3");
    EXPECT_EQ(s.fortuneMode, "1");
    EXPECT_FALSE(s.checkVersion);

    s.orbs[11] = 2;
    s.dstMode = "2";
    s.solarYear = "2027";
    s.significantBodies[8] = false;
    s.versionDate = 46000.5;
    write_orb_settings(*cursor, s);
    EXPECT_EQ(cursor->recordCount(), 1);

    Cursor other(Database::open(path.string()), "nastaveni_aspektu", true);
    const OrbSettings back = read_orb_settings(other);
    EXPECT_EQ(back.orbs[11], 2);
    EXPECT_EQ(back.dstMode, "2");
    EXPECT_EQ(back.solarYear, "2027");
    EXPECT_FALSE(back.significantBodies[8]);
    EXPECT_TRUE(back.significantBodies[0]);
    EXPECT_DOUBLE_EQ(back.versionDate, 46000.5);
    // The modes are read by position as well.
    EXPECT_EQ(other.asText(kDstModeField), "2");
    EXPECT_EQ(other.fields()[kFortuneModeField].name, "nast_bod_stesti");
}

TEST_F(SettingsRecord, EmptyOrbReadsAsZeroButMissingRowOrTextIsAnError) {
    EXPECT_THROW(read_orb_settings(*cursor), TableError);
    add_row();
    write_orb_settings(*cursor, OrbSettings{});
    cursor->edit();
    cursor->setNull("in_ost");
    cursor->post();
    EXPECT_EQ(read_orb_settings(*cursor).orbs[7], 0);
    // Only the text form "1".."3" of the modes can be set as text; a word is refused.
    cursor->edit();
    cursor->setText(kDstModeField, "x");
    cursor->post();
    try {
        read_orb_settings(*cursor);
        FAIL() << "a mode that is not a number must not read";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("nast_letni_cas"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace horalun
