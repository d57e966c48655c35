#include "core/zodiac.h"

namespace horalun {

namespace {
using E = Element;
using Q = Quality;
using P = Polarity;
constexpr std::array<ZodiacSign, 12> kSigns = {{
    {0, "Beran", 'a', 0, E::Fire, Q::Cardinal, P::Electric, "beran_b_20.bmp", "Váhy"},
    {1, "Býk", 'b', 30, E::Earth, Q::Fixed, P::Magnetic, "byk_b_20.bmp", "Štír"},
    {2, "Blíženci", 'c', 60, E::Air, Q::Mutable, P::Electric, "blizenci_b_20.bmp", "Střelec"},
    {3, "Rak", 'd', 90, E::Water, Q::Cardinal, P::Magnetic, "rak_b_20.bmp", "Kozoroh"},
    {4, "Lev", 'e', 120, E::Fire, Q::Fixed, P::Electric, "lev_b_20.bmp", "Vodnář"},
    {5, "Panna", 'f', 150, E::Earth, Q::Mutable, P::Magnetic, "panna_b_20.bmp", "Ryby"},
    {6, "Váhy", 'g', 180, E::Air, Q::Cardinal, P::Electric, "vahy_b_20.bmp", "Beran"},
    {7, "Štír", 'h', 210, E::Water, Q::Fixed, P::Magnetic, "stir_b_20.bmp", "Býk"},
    {8, "Střelec", 'i', 240, E::Fire, Q::Mutable, P::Electric, "strelec_b_20.bmp", "Blíženci"},
    {9, "Kozoroh", 'j', 270, E::Earth, Q::Cardinal, P::Magnetic, "kozoroh_b_20.bmp", "Rak"},
    {10, "Vodnář", 'k', 300, E::Air, Q::Fixed, P::Electric, "vodnar_b_20.bmp", "Lev"},
    {11, "Ryby", 'l', 330, E::Water, Q::Mutable, P::Magnetic, "ryby_b_20.bmp", "Panna"},
}};
}  // namespace

const std::array<ZodiacSign, 12>& zodiac_signs() {
    return kSigns;
}

int sign_index(std::string_view name) {
    for (const auto& s : kSigns)
        if (s.name == name) return s.index;
    return -1;
}

int sign_base(std::string_view name) {
    const int i = sign_index(name);
    return i < 0 ? 0 : kSigns[i].start;
}

std::string_view next_sign(std::string_view name) {
    const int i = sign_index(name);
    return i < 0 ? std::string_view{} : kSigns[(i + 1) % 12].name;
}

std::string_view previous_sign(std::string_view name) {
    const int i = sign_index(name);
    return i < 0 ? std::string_view{} : kSigns[(i + 11) % 12].name;
}

std::string_view opposite_sign(std::string_view name) {
    const int i = sign_index(name);
    return i < 0 ? std::string_view{} : kSigns[i].opposite;
}

std::array<int, 3> element_counters(const ZodiacSign& sign) {
    static constexpr int kElem[] = {kFire, kWater, kAir, kEarth};
    static constexpr int kQual[] = {kCardinal, kFixed, kMutable};
    static constexpr int kPol[] = {kElectric, kMagnetic};
    return {kElem[int(sign.element)], kQual[int(sign.quality)], kPol[int(sign.polarity)]};
}

}  // namespace horalun
