#include "tools/horalun_data/tzif_reader.h"

#include <chrono>
#include <fstream>
#include <limits>
#include <sstream>

#include "tools/horalun_data/generator_error.h"
#include "tools/horalun_data/posix_tz.h"

namespace horalun {

namespace {

class Bytes {
  public:
    explicit Bytes(std::string_view data) : data_(data) {}
    size_t pos() const { return pos_; }
    std::string_view take(size_t n) {
        if (n > data_.size() - pos_) throw GeneratorError("time-zone file is cut short");
        const auto part = data_.substr(pos_, n);
        pos_ += n;
        return part;
    }
    std::uint32_t u32() { return static_cast<std::uint32_t>(big_endian(take(4))); }
    std::int64_t i64() { return static_cast<std::int64_t>(big_endian(take(8))); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)[0]); }
    std::string_view rest() const { return data_.substr(pos_); }

  private:
    static std::uint64_t big_endian(std::string_view b) {
        std::uint64_t v = 0;
        for (char c : b) v = v << 8 | static_cast<std::uint8_t>(c);
        return v;
    }
    std::string_view data_;
    size_t pos_ = 0;
};

struct Header {
    char version = 0;
    std::uint32_t isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt;
};

Header read_header(Bytes& in) {
    if (in.take(4) != "TZif") throw GeneratorError("not a TZif time-zone file");
    Header h;
    h.version = in.take(1)[0];
    in.take(15);
    h.isutcnt = in.u32();
    h.isstdcnt = in.u32();
    h.leapcnt = in.u32();
    h.timecnt = in.u32();
    h.typecnt = in.u32();
    h.charcnt = in.u32();
    if (h.typecnt == 0 || h.charcnt == 0 || (h.isutcnt && h.isutcnt != h.typecnt) ||
        (h.isstdcnt && h.isstdcnt != h.typecnt))
        throw GeneratorError("inconsistent TZif header");
    return h;
}

// Reads one data block; timeSize is 4 (version 1 section) or 8.
TzifZone read_block(Bytes& in, const Header& h, int timeSize) {
    TzifZone zone;
    for (std::uint32_t i = 0; i < h.timecnt; ++i) {
        zone.times.push_back(timeSize == 8 ? in.i64() : in.i32());
        if (i && zone.times[i] <= zone.times[i - 1])
            throw GeneratorError("TZif transitions are not in time order");
    }
    for (std::uint32_t i = 0; i < h.timecnt; ++i) {
        const int type = in.u8();
        if (static_cast<std::uint32_t>(type) >= h.typecnt)
            throw GeneratorError("TZif transition names an unknown local time type");
        zone.typeIndexes.push_back(type);
    }
    std::vector<int> nameIndexes;
    for (std::uint32_t i = 0; i < h.typecnt; ++i) {
        TzifLocalType type;
        type.utOffset = in.i32();
        type.isDst = in.u8() != 0;
        nameIndexes.push_back(in.u8());
        zone.types.push_back(type);
    }
    const std::string_view names = in.take(h.charcnt);
    for (size_t i = 0; i < zone.types.size(); ++i) {
        const size_t at = static_cast<size_t>(nameIndexes[i]);
        if (at >= names.size()) throw GeneratorError("TZif abbreviation out of range");
        const auto end = names.find('\0', at);
        zone.types[i].abbreviation = std::string(names.substr(at, end - at));
    }
    in.take(static_cast<size_t>(h.leapcnt) * (timeSize + 4) + h.isstdcnt + h.isutcnt);
    return zone;
}

int year_of(std::int64_t ut) {
    using namespace std::chrono;
    const auto day = ut >= 0 ? ut / 86400 : -((-ut + 86399) / 86400);
    return int(year_month_day{sys_days{days{day}}}.year());
}

}  // namespace

TzifZone parse_tzif(std::string_view bytes) {
    Bytes in(bytes);
    const Header first = read_header(in);
    TzifZone zone = read_block(in, first, 4);
    if (first.version == 0) return zone;

    const Header second = read_header(in);
    zone = read_block(in, second, 8);
    const auto rest = in.rest();
    if (rest.size() >= 2 && rest[0] == '\n') {
        const auto end = rest.find('\n', 1);
        if (end == std::string_view::npos) throw GeneratorError("TZif footer is not terminated");
        zone.footer = std::string(rest.substr(1, end - 1));
    }
    return zone;
}

TzifZone read_tzif_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw GeneratorError("cannot read the time-zone file " + path);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    try {
        return parse_tzif(bytes.str());
    } catch (const GeneratorError& e) {
        throw GeneratorError(path + ": " + e.what());
    }
}

ZoneOffsets zone_offsets(const TzifZone& zone, int lastYear) {
    ZoneOffsets offsets;
    offsets.initialOffset = zone.types.at(0).utOffset;
    for (size_t i = 0; i < zone.times.size(); ++i)
        offsets.changes.push_back(
            {zone.times[i], zone.types[static_cast<size_t>(zone.typeIndexes[i])].utOffset});
    if (zone.footer.empty()) return offsets;

    const auto rule = parse_posix_tz(zone.footer);
    if (!rule) throw GeneratorError("unsupported TZ rule in the time-zone file: " + zone.footer);
    const std::int64_t lastExplicit =
        zone.times.empty() ? std::numeric_limits<std::int64_t>::min() : zone.times.back();
    const int fromYear = zone.times.empty() ? 1970 : year_of(lastExplicit);
    for (int year = fromYear; year <= lastYear; ++year)
        for (const auto& change : posix_tz_changes(*rule, year))
            if (change.ut > lastExplicit) offsets.changes.push_back(change);
    return offsets;
}

}  // namespace horalun
