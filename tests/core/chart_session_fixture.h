// A chart session on the generated data.tdb, writing its files into a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "core/chart_calculation.h"

namespace horalun::testing {

class ChartSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        static int n = 0;
        dir = std::filesystem::temp_directory_path() /
              ("horalun_chart_" + std::to_string(::getpid()) + "_" + std::to_string(n++));
        std::filesystem::create_directories(dir);
        session = std::make_unique<ChartSession>(Database::open(HORALUN_GENERATED_DATA), prompter,
                                                 dir.string());
        session->state.dstLookupEnabled = true;
        session->state.dstMode = '1';
    }
    void TearDown() override {
        session.reset();
        std::filesystem::remove_all(dir);
    }

    ChartState& st() { return session->state; }
    MainInputs& in() { return session->inputs; }

    void natal(const char* date, const char* time, const char* lon = "14E25",
               const char* lat = "50N05") {
        in().setText(InputField::NatalDate, date);
        in().setText(InputField::NatalTime, time);
        in().setText(InputField::NatalLon, lon);
        in().setText(InputField::NatalLat, lat);
    }
    void transit(const char* date, const char* time, const char* lon = "14E25",
                 const char* lat = "50N05") {
        in().setText(InputField::TransitDate, date);
        in().setText(InputField::TransitTime, time);
        in().setText(InputField::TransitLon, lon);
        in().setText(InputField::TransitLat, lat);
        in().setBox(Box::Transits, true);
    }
    CalculationResult calculate() { return calculate_chart(*session); }

    std::string file_bytes(const char* name) const {
        std::ifstream f(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    bool file_exists(const char* name) const { return std::filesystem::exists(dir / name); }

    std::filesystem::path dir;
    ScriptedPrompter prompter;
    std::unique_ptr<ChartSession> session;
};

}  // namespace horalun::testing
