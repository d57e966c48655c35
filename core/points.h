// The chart points: their text keys and the names under which each output writes them.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace horalun {

// Each key's text is its enumerator name, which is the efemeris column name where there is one.
enum class PointKey : int {
    slunce,
    mesic,
    merkur,
    venuse,
    mars,
    jupiter,
    saturn,
    uran,
    neptun,
    pluto,
    s_uzel,
    j_uzel,
    chiron,
    lilith,
    stesti,
    arab_otec,
    arab_matka,
    arab_sourozenci,
    arab_deti,
    arab_penez,
    arab_zdravi,
    arab_lasky,
    arab_cest,
    arab_vzdelani,
    arab_slavy,
    arab_sporu,
    arab_povolani,
    arab_osudovy,
    arab_okultismu,
    arab_smrt,
    dum1,
    dum2,
    dum3,
    dum4,
    dum5,
    dum6,
    dum7,
    dum8,
    dum9,
    dum10,
    dum11,
    dum12,
    dum1_tranz,
    dum4_tranz,
    dum7_tranz,
    dum10_tranz,
};
inline constexpr int kPointKeyCount = int(PointKey::dum10_tranz) + 1;

std::string_view point_key_text(PointKey key);
std::optional<PointKey> point_key_from_text(std::string_view text);
// Name in aspect lines: ten characters, blank-padded (two exceptions of 11 and 12 characters).
std::string_view aspect_line_name(PointKey key);
// Name in the degree meanings (the natal cusps there use natal_cusp_name instead).
std::string_view degree_meaning_name(PointKey key);
// "Ascendent", "2. dům", ... "Medium Coeli", ... for house 1..12.
std::string_view natal_cusp_name(int house);

// The fourteen bodies in the order they are computed and shown.
inline constexpr std::array<PointKey, 14> kBodyOrder = {
    PointKey::slunce,  PointKey::mesic,  PointKey::merkur, PointKey::venuse, PointKey::mars,
    PointKey::jupiter, PointKey::saturn, PointKey::uran,   PointKey::neptun, PointKey::pluto,
    PointKey::s_uzel,  PointKey::j_uzel, PointKey::lilith, PointKey::chiron};

// The thirteen bodies read from the ephemeris (all but the south node), in the order above.
inline constexpr std::array<PointKey, 13> kEphemerisBodies = {
    PointKey::slunce,  PointKey::mesic,  PointKey::merkur, PointKey::venuse, PointKey::mars,
    PointKey::jupiter, PointKey::saturn, PointKey::uran,   PointKey::neptun, PointKey::pluto,
    PointKey::s_uzel,  PointKey::lilith, PointKey::chiron};

bool has_ephemeris_column(PointKey key);
// Bodies whose ephemeris text may carry a retrograde mark (the planets Mercury..Pluto, Lilith,
// Chiron).
bool can_be_retrograde(PointKey key);

enum class BodyClass { Light, Inner, Outer };
BodyClass body_class(PointKey key);

// Fixed-size table with one entry per point key.
template <typename T>
struct PointMap {
    std::array<T, kPointKeyCount> values{};
    T& operator[](PointKey key) { return values[size_t(key)]; }
    const T& operator[](PointKey key) const { return values[size_t(key)]; }
    void fill(const T& v) { values.fill(v); }
};

}  // namespace horalun
