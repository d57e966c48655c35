#include "data/text_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace horalun {
namespace {

namespace fs = std::filesystem;

// The Czech letters in both encodings, byte for byte.
constexpr std::string_view kCzechUtf8 = "ěščřžýáíéúůďťňĚŠČŘŽÝÁÍÉÚŮĎŤŇ°";
constexpr std::string_view kCzech1250 =
    "\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xFA\xF9\xEF\x9D\xF2"
    "\xCC\x8A\xC8\xD8\x8E\xDD\xC1\xCD\xC9\xDA\xD9\xCF\x8D\xD2\xB0";

TEST(Windows1250, CzechLettersConvertBothWays) {
    EXPECT_EQ(utf8_to_windows1250(kCzechUtf8), kCzech1250);
    EXPECT_EQ(windows1250_to_utf8(kCzech1250), kCzechUtf8);
    EXPECT_EQ(utf8_to_windows1250("Slunce: 14° 05' Beran"), "Slunce: 14\xB0 05' Beran");
    EXPECT_EQ(utf8_to_windows1250(""), "");
}

TEST(Windows1250, WhatDoesNotConvertBecomesQuestionMarks) {
    const std::pair<std::string_view, std::string_view> toCodePage[] = {
        {"a\u03B1b\u00F1c\U0001F600d\u2192", "a?b?c?d?"},  // Greek, ñ, emoji, arrow: one each
        {"x\xFFy", "x?y"},                                 // a byte that is never UTF-8
        {"\xC4"
         "a",
         "?a"},                                 // a cut-off sequence mid-text
        {"ab\xE2\x82", "ab??"},                 // and at the end
        {"\xC0\xAF", "??"},                     // an overlong form
        {"\xED\xA0\x80", "???"},                // an encoded surrogate
        {"\xC4\x8D\x80\xC5\xA1", "\xE8?\x9A"},  // a stray continuation byte
        {"€", "\x80"},                          // present in the code page
    };
    for (const auto& [in, out] : toCodePage) EXPECT_EQ(utf8_to_windows1250(in), out) << in;

    // Bytes the code page leaves undefined.
    EXPECT_EQ(windows1250_to_utf8("a\x81"
                                  "b\x83\x88\x90\x98"),
              "a?b????");
}

class TextFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("horalun_text_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const char* name) const { return (dir_ / name).string(); }
    static std::string bytes_of(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void put_bytes(const std::string& path, std::string_view bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::vector<std::string> folder_contents() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_))
            names.push_back(e.path().filename().string());
        return names;
    }

    fs::path dir_;
};

TEST_F(TextFile, WritesCodePageBytesWithCrLf) {
    TextFileWriter file(path("uhly_prvku.txt"));
    file.append_line("Slunce: 14° 05' Beran");
    file.append("Význam: ě\nřádek\r\ndva\rtři");  // a text with its own line breaks
    file.append_line();
    file.append_line();
    ASSERT_TRUE(file.flush());
    EXPECT_EQ(bytes_of(path("uhly_prvku.txt")),
              "Slunce: 14\xB0 05' Beran\r\n"
              "V\xFDznam: \xEC\r\n"
              "\xF8\xE1"
              "dek\r\n"
              "dva\r\n"
              "t\xF8i\r\n"
              "\r\n");
    EXPECT_EQ(file.utf8(), "Slunce: 14° 05' Beran\nVýznam: ě\nřádek\r\ndva\rtři\n\n");
}

TEST_F(TextFile, FlushReplacesTheWholeFileAndLeavesNothingElse) {
    put_bytes(path("aspekty.txt"), std::string(10000, 'x'));
    TextFileWriter file(path("aspekty.txt"));
    file.append_line("krátký");
    ASSERT_TRUE(file.flush());
    ASSERT_TRUE(file.flush());  // the text stays collected; a second flush writes it again
    EXPECT_EQ(bytes_of(path("aspekty.txt")), "kr\xE1tk\xFD\r\n");
    EXPECT_EQ(folder_contents(), std::vector<std::string>{"aspekty.txt"});

    file.clear();
    ASSERT_TRUE(file.flush());
    EXPECT_EQ(bytes_of(path("aspekty.txt")), "");
}

TEST_F(TextFile, FailedWriteReturnsFalseAndKeepsWhatWasThere) {
    TextFileWriter missingFolder(path("chybi/uhly_prvku.txt"));
    missingFolder.append_line("text");
    bool written = true;
    EXPECT_NO_THROW(written = missingFolder.flush());
    EXPECT_FALSE(written);

    // The target is a folder: the rename fails and the temporary file goes away.
    fs::create_directory(path("slozka"));
    TextFileWriter overFolder(path("slozka"));
    overFolder.append_line("text");
    EXPECT_FALSE(overFolder.flush());
    EXPECT_EQ(folder_contents(), std::vector<std::string>{"slozka"});
    EXPECT_TRUE(fs::is_directory(path("slozka")));
}

TEST_F(TextFile, EveryCzechLetterRoundTripsThroughAFile) {
    TextFileWriter file(path("retro.txt"));
    file.append_line(kCzechUtf8);
    file.append("bez konce řádku");
    ASSERT_TRUE(file.flush());
    EXPECT_EQ(bytes_of(path("retro.txt")), std::string(kCzech1250) +
                                               "\r\nbez konce \xF8\xE1"
                                               "dku");
    EXPECT_EQ(read_text_file(path("retro.txt")), std::string(kCzechUtf8) + "\nbez konce řádku");
}

TEST_F(TextFile, ReadsTolerantly) {
    EXPECT_EQ(read_text_file(path("neni.txt")), "");
    EXPECT_EQ(read_text_file(dir_.string()), "");  // a folder reads as empty too

    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"a\r\nb\nc\rd\r\n\r\n", "a\nb\nc\nd\n\n"},  // every line end as "\n"
        {"\xC8"
         "ech\r\n",
         "Čech\n"},                          // Windows-1250
        {"Čech\r\nžena\n", "Čech\nžena\n"},  // UTF-8 taken as it is
        {"\xEF\xBB\xBFŘím\r\n", "Řím\n"},    // with a byte order mark
        {"\xC8"
         "e\xB0 \xC4\x8D",
         "Če° ÄŤ"},         // not valid UTF-8: code page
        {"x\x81y", "x?y"},  // undefined byte
    };
    for (const auto& [bytes, text] : cases) {
        put_bytes(path("f.txt"), bytes);
        EXPECT_EQ(read_text_file(path("f.txt")), text) << bytes;
    }
}

}  // namespace
}  // namespace horalun
