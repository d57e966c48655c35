#include "tools/horalun_data/place_names.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace horalun {

namespace {

// Base letters of U+00C0 to U+017F (Latin-1 letters and Latin Extended-A).
constexpr std::string_view kBaseLetters =
    "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuyty"
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiIiJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";
static_assert(kBaseLetters.size() == 0x180 - 0xC0);

// Exonyms and misspellings of the GeoNames data, with the names Czech maps use.
constexpr std::pair<std::string_view, std::string_view> kNameOverrides[] = {
    {"Prague", "Praha"},
    {"Pilsen", "Plzeň"},
    {"Dolní Loućky", "Dolní Loučky"},
    {"Brno střed", "Brno-střed"},
};

constexpr std::pair<std::string_view, std::string_view> kRegions[] = {
    {"52", "Hlavní město Praha"}, {"78", "Jihomoravský kraj"}, {"79", "Jihočeský kraj"},
    {"80", "Kraj Vysočina"},      {"81", "Karlovarský kraj"},  {"82", "Královéhradecký kraj"},
    {"83", "Liberecký kraj"},     {"84", "Olomoucký kraj"},    {"85", "Moravskoslezský kraj"},
    {"86", "Pardubický kraj"},    {"87", "Plzeňský kraj"},     {"88", "Středočeský kraj"},
    {"89", "Ústecký kraj"},       {"90", "Zlínský kraj"},
};

constexpr std::u32string_view kCzechLetters = U"áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ";
// Letters no neighbouring language writes: an alternate name with one of them is Czech.
constexpr std::u32string_view kCzechOnlyLetters = U"čďěňřšťůžČĎĚŇŘŠŤŮŽ";

// The code point at `i`, moving `i` past it; a byte that starts no valid sequence gives the
// replacement character U+FFFD, so that it never passes for a letter.
char32_t next_code_point(std::string_view utf8, std::size_t& i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    const int length = byte < 0x80 ? 1 : (byte >> 5) == 6 ? 2 : (byte >> 4) == 14 ? 3 : 4;
    char32_t cp = length == 1 ? byte : byte & (0x7F >> length);
    bool valid = byte < 0x80 || (byte >= 0xC2 && byte <= 0xF4 && i + length <= utf8.size());
    for (int k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(utf8[i + k]);
        valid = (next & 0xC0) == 0x80;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (!valid) {
        ++i;
        return 0xFFFD;
    }
    i += length;
    return cp;
}

bool is_ascii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// True for a name in Czech letters with at least one letter only Czech uses.
bool written_in_czech(std::string_view utf8) {
    bool czechOnly = false;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = next_code_point(utf8, i);
        if (cp < 0x80) continue;
        if (kCzechLetters.find(cp) == std::u32string_view::npos) return false;
        if (kCzechOnlyLetters.find(cp) != std::u32string_view::npos) czechOnly = true;
    }
    return czechOnly;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string coordinate_text(double degrees, char positive, char negative) {
    if (!std::isfinite(degrees)) return {};
    const long long minutes = std::llround(std::fabs(degrees) * 60.0);
    char text[32];
    std::snprintf(text, sizeof text, "%lld%c%02lld", minutes / 60,
                  degrees < 0 && minutes > 0 ? negative : positive, minutes % 60);
    return text;
}

}  // namespace

std::string folded_name(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        char32_t cp = next_code_point(utf8, i);
        if (cp >= 0xC0 && cp < 0x180) cp = static_cast<unsigned char>(kBaseLetters[cp - 0xC0]);
        if (cp < 0x80)
            out.push_back(static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp + ('a' - 'A') : cp));
        else
            out.append(utf8.substr(start, i - start));  // other letters stay as they are
    }
    return out;
}

std::string czech_place_name(std::string_view name, std::string_view alternateNames) {
    name = trimmed(name);
    // "Lichnov (o. Nový Jičín)": the district stands in its own column.
    if (const auto open = name.rfind(" (");
        open != std::string_view::npos && open > 0 && name.back() == ')')
        name = trimmed(name.substr(0, open));
    for (const auto& [from, to] : kNameOverrides)
        if (name == from) return std::string(to);
    if (!is_ascii(name)) return std::string(name);

    const std::string folded = folded_name(name);
    std::string_view found;
    while (!alternateNames.empty()) {
        const auto comma = alternateNames.find(',');
        const std::string_view alternate = trimmed(alternateNames.substr(0, comma));
        alternateNames.remove_prefix(comma == std::string_view::npos ? alternateNames.size()
                                                                     : comma + 1);
        if (alternate.empty() || !written_in_czech(alternate) || folded_name(alternate) != folded)
            continue;
        // Two different Czech spellings leave the name as it is.
        if (!found.empty() && found != alternate) return std::string(name);
        found = alternate;
    }
    return std::string(found.empty() ? name : found);
}

std::string district_name(std::string_view admin1, std::string_view admin2Name) {
    if (admin1 == "52") return "Hlavní město Praha";
    admin2Name = trimmed(admin2Name);
    constexpr std::string_view district = "Okres ", city = "Město ";
    if (admin2Name.starts_with(district)) return std::string(admin2Name.substr(district.size()));
    // The statutory cities that form a district of their own: "Město Brno" is "Brno-město".
    if (admin2Name.starts_with(city)) return std::string(admin2Name.substr(city.size())) + "-město";
    return std::string(admin2Name);
}

std::optional<std::string> region_name(std::string_view admin1) {
    for (const auto& [code, name] : kRegions)
        if (code == admin1) return std::string(name);
    return std::nullopt;
}

std::string longitude_text(double degrees) {
    return coordinate_text(degrees, 'E', 'W');
}

std::string latitude_text(double degrees) {
    return coordinate_text(degrees, 'N', 'S');
}

}  // namespace horalun
