// horalun-data: creates or refreshes data.tdb, the program's database file.
#include <chrono>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "tools/horalun_data/data_file_update.h"
#include "tools/horalun_data/places_table.h"

namespace {

constexpr const char* kUsage =
    "usage: horalun-data [--out PATH] [--downloads DIR]\n"
    "Creates PATH (default ./data.tdb) when missing, adds missing tables and rebuilds the\n"
    "delivered tables whose inputs changed. The user's tables are never rewritten.\n"
    "DIR holds the place data fetched by scripts/fetch-places (default " HORALUN_DOWNLOADS_DIR
    ").\n";

}  // namespace

int main(int argc, char** argv) {
    std::string out = "data.tdb";
    std::string downloads = HORALUN_DOWNLOADS_DIR;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else if (arg == "--downloads" && i + 1 < argc) {
            downloads = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << "horalun-data: unexpected argument \"" << arg << "\"\n" << kUsage;
            return 1;
        }
    }
    horalun::set_places_folder(downloads);
    const auto began = std::chrono::steady_clock::now();
    try {
        horalun::update_data_file(out, std::cout);
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "horalun-data: " << e.what() << "\n";
        return 1;
    }
    std::printf("%s ready in %.2f s\n", out.c_str(),
                std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
    return 0;
}
