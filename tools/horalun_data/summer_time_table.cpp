#include "tools/horalun_data/summer_time_table.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tools/horalun_data/dst_periods.h"
#include "tools/horalun_data/ephemeris_table.h"
#include "tools/horalun_data/tzif_reader.h"

namespace horalun {

namespace {

// Bump when the rows written change for the same inputs.
constexpr const char* kFormatVersion = "letnicasy/1";

std::string tzdata_version() {
    std::ifstream zi(kTzdataVersionFile);
    std::string line;
    if (zi && std::getline(zi, line) && line.rfind("# version ", 0) == 0) return line.substr(10);
    return "unknown";
}

std::string zone_file_print() {
    std::ifstream file(kZoneFile, std::ios::binary);
    if (!file) return "missing";
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ULL;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return std::to_string(bytes.size()) + ":" + hex;
}

}  // namespace

std::string summer_time_fingerprint() {
    return std::string(kFormatVersion) + " tzdata=" + tzdata_version() + " zone=" + kZoneFile +
           ":" + zone_file_print() + " until=" + std::to_string(kEphemerisLastYear);
}

void fill_summer_time(RowInserter& rows, std::ostream&) {
    const auto periods = dst_period_rows(
        zone_offsets(read_tzif_file(kZoneFile), kEphemerisLastYear), kEphemerisLastYear);
    const int typ = rows.field("typ"), datumod = rows.field("datumod"), casod = rows.field("casod"),
              datumdo = rows.field("datumdo"), casdo = rows.field("casdo"), rok = rows.field("rok");
    for (const auto& p : periods) {
        rows.set_text(typ, p.kind);
        rows.set_real(datumod, p.firstDay);
        rows.set_real(casod, p.startSeconds / 86400.0);
        rows.set_real(datumdo, p.lastDay);
        rows.set_real(casdo, p.endSeconds / 86400.0);
        rows.set_text(rok, std::to_string(p.year));
        rows.insert_row();
    }
}

}  // namespace horalun
