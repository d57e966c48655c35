// The traditional facts behind the degree meanings: for each of the 360 degrees its sign's
// classes and rulers, decanate, term, face, twelfth-part and the qualities of the degree itself.
// The tables themselves, each with its source, are in degree_facts.cpp.
#pragma once

#include <string_view>
#include <vector>

namespace horalun {

enum class Planet { Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto };

enum class Brightness { Light, Dark, Smoky, Void };

struct DegreeFacts {
    int sign = 0;                     // 0 Beran .. 11 Ryby
    int degree = 1;                   // 1..30; degree n covers n-1°00' to n-1°59'
    int decanate = 0;                 // 0, 1, 2
    std::vector<Planet> decanRulers;  // the decanate's ruler(s), empty where none is listed
    std::vector<Planet> termRulers;
    std::vector<Planet> faceRulers;
    int twelfthPart = 0;  // sign of the dodecatemorion
    bool masculine = false;
    Brightness brightness = Brightness::Light;
    bool pitted = false;
    bool lame = false;  // azimene
    bool increasesFortune = false;
    bool critical = false;
};

// The facts of degree `degree` (1..30) of sign `sign` (0..11).
DegreeFacts degree_facts(int sign, int degree);

// Rulers of a sign: the traditional one first, then the modern co-ruler where there is one.
std::vector<Planet> sign_rulers(int sign);

}  // namespace horalun
