// horalun-cli: one computation per call on data.tdb, printed as text or JSON.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_commands.h"

namespace {
void print_usage(std::ostream& out) {
    out << "Použití: horalun-cli PŘÍKAZ [VOLBY]\n"
           "\n"
           "Příkazy:\n"
           "  positions DATUM ČAS [--json] [--data SOUBOR]\n"
           "      polohy čtrnácti těles pro datum (např. 24.4.1966) a středoevropský čas (9:03)\n"
           "  chart [VOLBY]\n"
           "      celý horoskop: polohy, domy, živly, aspekty a významy stupňů\n"
           "      (horalun-cli chart --help vypíše všechny volby)\n"
           "\n"
           "Volby:\n"
           "  --json          výstup ve formátu JSON (UTF-8)\n"
           "  --data SOUBOR   databáze místo data.tdb v pracovním adresáři\n";
}
}  // namespace

namespace horalun::cli {

bool take_common_options(std::vector<std::string>& args, CommonOptions& options) {
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            options.json = true;
        } else if (args[i] == "--data") {
            if (i + 1 >= args.size()) {
                std::cerr << "Volba --data vyžaduje cestu k souboru.\n";
                return false;
            }
            options.dataPath = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    args = std::move(rest);
    return true;
}

}  // namespace horalun::cli

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        print_usage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    try {
        if (command == "positions") return horalun::cli::run_positions(std::move(args));
        if (command == "chart") return horalun::cli::run_chart(std::move(args));
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    std::cerr << "Neznámý příkaz „" << command << "“.\n";
    print_usage(std::cerr);
    return 2;
}
