// Subcommands of horalun-cli. Each returns the exit status: 0 success, 2 invalid input (Czech
// message on standard error), 1 any other failure.
#pragma once

#include <string>
#include <vector>

namespace horalun::cli {

// Options common to every subcommand, taken out of the argument list.
struct CommonOptions {
    bool json = false;
    std::string dataPath = "data.tdb";
};

// Removes --json and --data PATH from args. Returns false (and prints why) on a malformed option.
bool take_common_options(std::vector<std::string>& args, CommonOptions& options);

int run_positions(std::vector<std::string> args);
int run_chart(std::vector<std::string> args);

}  // namespace horalun::cli
