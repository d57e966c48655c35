// The twelve zodiac signs with their letter codes and classes, and moves between signs.
#pragma once

#include <array>
#include <string_view>

namespace horalun {

enum class Element { Fire, Water, Air, Earth };
enum class Quality { Cardinal, Fixed, Mutable };
enum class Polarity { Electric, Magnetic };

// Index of each class in ChartState::elementCount, and the panel captions in that order.
enum ElementCounter {
    kFire,
    kWater,
    kAir,
    kEarth,
    kCardinal,
    kFixed,
    kMutable,
    kElectric,
    kMagnetic
};
inline constexpr std::array<std::string_view, 9> kElementCaptions = {
    "Oheň", "Voda", "Vzduch", "Země", "Základní", "Pevná", "Pohyblivá", "Elektrická", "Magnetická"};

struct ZodiacSign {
    int index;
    std::string_view name;
    char letter;  // code inside ephemeris texts, 'a' .. 'l'
    int start;    // degrees
    Element element;
    Quality quality;
    Polarity polarity;
    std::string_view glyphFile;
    std::string_view opposite;
};

const std::array<ZodiacSign, 12>& zodiac_signs();
// -1 when the name is not a sign.
int sign_index(std::string_view name);
// Start degree of the named sign; 0 for an empty or unknown name.
int sign_base(std::string_view name);
// Neighbouring and opposite signs; "" for an unknown name.
std::string_view next_sign(std::string_view name);
std::string_view previous_sign(std::string_view name);
std::string_view opposite_sign(std::string_view name);

// The counters (see ElementCounter) a point in this sign adds to.
std::array<int, 3> element_counters(const ZodiacSign& sign);

}  // namespace horalun
