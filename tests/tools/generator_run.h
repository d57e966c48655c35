// Runs of horalun-data on a private copy of the generated data.tdb, for the tests that check
// what a second run keeps, rebuilds or refuses.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace horalun::testing {

struct ToolRun {
    int status = -1;
    std::string output;
};

// horalun-data with the given arguments, its exit status and everything it printed.
inline ToolRun run_tool(const std::string& arguments) {
    ToolRun run;
    FILE* pipe = popen(("'" HORALUN_DATA_TOOL "' " + arguments + " 2>&1").c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A fresh folder per test holding a copy of the generated data.tdb.
class CopiedDataFile : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("horalun_data_copy_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        copy_ = (dir_ / "data.tdb").string();
        std::filesystem::copy_file(HORALUN_DATA_FILE, copy_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    std::string copy_;
};

}  // namespace horalun::testing
