// All fact tables of the degree meanings, in one place. Degrees count as ordinals: degree n of
// a sign covers n-1°00' to n-1°59'. Ranges given in absolute longitude (0..360) belong to the
// sign their middle lies in, so a range ending on a sign boundary is not taken for the next sign.
#include "tools/horalun_data/degree_facts.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace horalun {

namespace {

using P = Planet;

struct Range {
    int from, to;  // absolute degrees, both ends included
    Planet planet;
};

// Decanates by triplicity: each ten degrees ruled by the lord of a sign of the same element, in
// the order of the signs (Varahamihira, Brihat Jataka), with the modern co-rulers of
// Scorpio, Aquarius and Pisces beside the traditional ones. The same ranges as the program's
// planet values use.
constexpr Range kDecanates[] = {
    {11, 20, P::Sun},       {120, 130, P::Sun},     {261, 270, P::Sun},     {90, 100, P::Moon},
    {231, 240, P::Moon},    {341, 350, P::Moon},    {41, 50, P::Mercury},   {60, 70, P::Mercury},
    {150, 160, P::Mercury}, {201, 210, P::Mercury}, {291, 300, P::Mercury}, {311, 320, P::Mercury},
    {30, 40, P::Venus},     {71, 80, P::Venus},     {171, 180, P::Venus},   {180, 190, P::Venus},
    {281, 290, P::Venus},   {321, 330, P::Venus},   {0, 10, P::Mars},       {101, 110, P::Mars},
    {141, 150, P::Mars},    {210, 220, P::Mars},    {251, 260, P::Mars},    {351, 360, P::Mars},
    {21, 30, P::Jupiter},   {111, 120, P::Jupiter}, {131, 140, P::Jupiter}, {221, 230, P::Jupiter},
    {240, 250, P::Jupiter}, {330, 340, P::Jupiter}, {51, 60, P::Saturn},    {81, 90, P::Saturn},
    {161, 170, P::Saturn},  {191, 200, P::Saturn},  {270, 280, P::Saturn},  {300, 310, P::Saturn},
    {81, 90, P::Uranus},    {191, 200, P::Uranus},  {300, 310, P::Uranus},  {111, 120, P::Neptune},
    {221, 230, P::Neptune}, {330, 340, P::Neptune}, {0, 10, P::Pluto},      {210, 220, P::Pluto},
    {250, 260, P::Pluto},
};

// The Egyptian terms (Ptolemy, Tetrabiblos I.20), as the program's planet values count them.
constexpr Range kTerms[] = {
    {1, 5, P::Jupiter},     {44, 51, P::Jupiter},   {66, 71, P::Jupiter},   {109, 115, P::Jupiter},
    {120, 125, P::Jupiter}, {167, 170, P::Jupiter}, {194, 200, P::Jupiter}, {229, 233, P::Jupiter},
    {240, 251, P::Jupiter}, {277, 283, P::Jupiter}, {300, 309, P::Jupiter}, {342, 345, P::Jupiter},
    {6, 11, P::Venus},      {31, 37, P::Venus},     {72, 76, P::Venus},     {97, 102, P::Venus},
    {126, 130, P::Venus},   {157, 166, P::Venus},   {201, 207, P::Venus},   {217, 220, P::Venus},
    {252, 256, P::Venus},   {284, 291, P::Venus},   {307, 312, P::Venus},   {330, 341, P::Venus},
    {12, 19, P::Mercury},   {38, 43, P::Mercury},   {61, 66, P::Mercury},   {103, 108, P::Mercury},
    {138, 143, P::Mercury}, {151, 156, P::Mercury}, {186, 193, P::Mercury}, {221, 228, P::Mercury},
    {257, 260, P::Mercury}, {271, 276, P::Mercury}, {301, 306, P::Mercury}, {346, 348, P::Mercury},
    {20, 24, P::Mars},      {57, 60, P::Mars},      {77, 83, P::Mars},      {90, 96, P::Mars},
    {144, 150, P::Mars},    {171, 177, P::Mars},    {208, 210, P::Mars},    {211, 216, P::Mars},
    {266, 270, P::Mars},    {296, 300, P::Mars},    {320, 324, P::Mars},    {349, 357, P::Mars},
    {25, 30, P::Saturn},    {52, 56, P::Saturn},    {84, 90, P::Saturn},    {116, 120, P::Saturn},
    {131, 137, P::Saturn},  {178, 180, P::Saturn},  {181, 185, P::Saturn},  {234, 240, P::Saturn},
    {261, 265, P::Saturn},  {292, 295, P::Saturn},  {325, 330, P::Saturn},  {358, 360, P::Saturn},
};

// Faces in the Chaldean order from Mars at the start of Aries (W. Lilly, Christian Astrology,
// 1647, p. 104), with the program's ranges as its planet values count them.
constexpr Range kFaces[] = {
    {0, 10, P::Mars},       {71, 80, P::Mars},      {141, 150, P::Mars},    {210, 220, P::Mars},
    {281, 290, P::Mars},    {351, 360, P::Mars},    {10, 20, P::Sun},       {81, 90, P::Sun},
    {150, 160, P::Sun},     {221, 229, P::Sun},     {291, 300, P::Sun},     {21, 30, P::Venus},
    {90, 100, P::Venus},    {161, 170, P::Venus},   {231, 240, P::Venus},   {300, 310, P::Venus},
    {30, 39, P::Mercury},   {101, 110, P::Mercury}, {171, 180, P::Mercury}, {240, 250, P::Mercury},
    {311, 320, P::Mercury}, {41, 49, P::Moon},      {111, 120, P::Moon},    {180, 190, P::Moon},
    {251, 259, P::Moon},    {321, 330, P::Moon},    {21, 30, P::Saturn},    {120, 130, P::Saturn},
    {190, 200, P::Saturn},  {261, 270, P::Saturn},  {330, 340, P::Saturn},  {60, 70, P::Jupiter},
    {131, 140, P::Jupiter}, {201, 210, P::Jupiter}, {270, 280, P::Jupiter}, {341, 350, P::Jupiter},
};

// Critical degrees: the starts of the twenty-eight lunar mansions, every 12°51' from 0° Aries
// (al-Biruni, The Book of Instruction in the Elements of the Art of Astrology, 1029), as whole
// absolute degrees, the same the program's planet values count.
constexpr int kCriticalDegrees[] = {0,   13,  26,  39,  51,  64,  77,  90,  103, 116,
                                    129, 141, 154, 167, 180, 193, 206, 219, 231, 244,
                                    257, 270, 283, 296, 309, 321, 334, 347};

// Masculine and feminine, light, dark, smoky and void, pitted, lame (azimene) and fortune
// increasing degrees (W. Lilly, Christian Astrology, 1647, p. 116, "Two necessary Tables of
// the Signes"). Runs are given by the last degree of each run.
struct Run {
    int last;
    char kind;  // 'M', 'F' or 'L', 'D', 'S', 'V'
};
struct LillySign {
    std::initializer_list<Run> gender;
    std::initializer_list<Run> light;
    std::initializer_list<int> pitted;
    std::initializer_list<int> lame;
    std::initializer_list<int> fortune;
};
const LillySign kLilly[12] = {
    // Beran
    {{{8, 'M'}, {9, 'F'}, {15, 'M'}, {22, 'F'}, {30, 'M'}},
     {{3, 'D'}, {8, 'L'}, {16, 'D'}, {20, 'L'}, {24, 'V'}, {29, 'L'}, {30, 'V'}},
     {6, 11, 16, 23, 29},
     {},
     {19}},
    // Býk
    {{{5, 'F'}, {11, 'M'}, {17, 'F'}, {21, 'M'}, {24, 'F'}, {30, 'M'}},
     {{3, 'D'}, {7, 'L'}, {12, 'V'}, {15, 'L'}, {20, 'V'}, {28, 'L'}, {30, 'D'}},
     {5, 12, 24, 25},
     {6, 7, 8, 9, 10},
     {3, 15, 27}},
    // Blíženci
    {{{5, 'F'}, {16, 'M'}, {22, 'F'}, {26, 'M'}, {30, 'F'}},
     {{4, 'L'}, {7, 'D'}, {12, 'L'}, {16, 'V'}, {22, 'L'}, {27, 'D'}, {30, 'V'}},
     {2, 12, 17, 26, 30},
     {},
     {11}},
    // Rak
    {{{2, 'M'}, {8, 'F'}, {10, 'M'}, {12, 'F'}, {23, 'M'}, {27, 'F'}, {30, 'M'}},
     {{12, 'L'}, {14, 'D'}, {18, 'V'}, {20, 'S'}, {28, 'L'}, {30, 'V'}},
     {12, 17, 23, 26, 30},
     {9, 10, 11, 12, 13, 14, 15},
     {1, 2, 3, 4, 15}},
    // Lev
    {{{5, 'M'}, {8, 'F'}, {15, 'M'}, {23, 'F'}, {30, 'M'}},
     {{10, 'D'}, {20, 'S'}, {25, 'V'}, {30, 'L'}},
     {6, 13, 15, 22, 23, 28},
     {18, 27, 28},
     {2, 5, 7, 19}},
    // Panna
    {{{8, 'F'}, {12, 'M'}, {20, 'F'}, {30, 'M'}},
     {{5, 'D'}, {8, 'L'}, {10, 'V'}, {16, 'L'}, {22, 'S'}, {27, 'V'}, {30, 'D'}},
     {8, 13, 16, 21, 22},
     {},
     {3, 14, 20}},
    // Váhy
    {{{5, 'M'}, {15, 'F'}, {20, 'M'}, {27, 'F'}, {30, 'M'}},
     {{5, 'L'}, {10, 'D'}, {18, 'L'}, {21, 'D'}, {27, 'L'}, {30, 'V'}},
     {1, 7, 20, 30},
     {},
     {3, 15, 21}},
    // Štír
    {{{4, 'M'}, {14, 'F'}, {17, 'M'}, {25, 'F'}, {30, 'M'}},
     {{3, 'D'}, {8, 'L'}, {14, 'V'}, {22, 'L'}, {24, 'S'}, {29, 'V'}, {30, 'D'}},
     {9, 10, 22, 23, 27},
     {19, 28},
     {7, 18, 20}},
    // Střelec
    {{{2, 'M'}, {5, 'F'}, {12, 'M'}, {24, 'F'}, {30, 'M'}},
     {{9, 'L'}, {12, 'D'}, {19, 'L'}, {23, 'S'}, {30, 'L'}},
     {7, 12, 15, 24, 27, 30},
     {1, 7, 8, 18, 19},
     {13, 20}},
    // Kozoroh
    {{{11, 'M'}, {19, 'F'}, {30, 'M'}},
     {{7, 'D'}, {10, 'L'}, {15, 'S'}, {19, 'L'}, {22, 'D'}, {25, 'V'}, {30, 'D'}},
     {7, 17, 22, 24, 29},
     {26, 27, 28, 29},
     {12, 13, 14, 20}},
    // Vodnář
    {{{5, 'M'}, {15, 'F'}, {21, 'M'}, {25, 'F'}, {27, 'M'}, {30, 'F'}},
     {{4, 'S'}, {9, 'L'}, {13, 'D'}, {21, 'L'}, {25, 'V'}, {30, 'L'}},
     {1, 12, 17, 22, 24, 29},
     {18, 19},
     {7, 16, 17, 20}},
    // Ryby
    {{{10, 'M'}, {20, 'F'}, {23, 'M'}, {28, 'F'}, {30, 'M'}},
     {{6, 'D'}, {12, 'L'}, {18, 'D'}, {22, 'L'}, {25, 'V'}, {28, 'L'}, {30, 'D'}},
     {4, 9, 24, 27, 28},
     {},
     {13, 20}},
};

// Sign rulers (Ptolemy, Tetrabiblos I.17), with the modern co-rulers of Scorpio (Pluto),
// Aquarius (Uranus) and Pisces (Neptune).
const std::initializer_list<Planet> kRulers[12] = {{P::Mars},
                                                   {P::Venus},
                                                   {P::Mercury},
                                                   {P::Moon},
                                                   {P::Sun},
                                                   {P::Mercury},
                                                   {P::Venus},
                                                   {P::Mars, P::Pluto},
                                                   {P::Jupiter},
                                                   {P::Saturn},
                                                   {P::Saturn, P::Uranus},
                                                   {P::Jupiter, P::Neptune}};

// The planets of a range table that hold the absolute degree number `number` (30 × sign +
// degree) in the given sign.
std::vector<Planet> rulers_of(const Range* table, size_t count, int sign, int number) {
    std::vector<Planet> out;
    for (size_t i = 0; i < count; ++i) {
        const Range& r = table[i];
        const int middleSign = std::min(11, (r.from + r.to) / 2 / 30);
        if (middleSign == sign && r.from <= number && number <= r.to &&
            std::find(out.begin(), out.end(), r.planet) == out.end())
            out.push_back(r.planet);
    }
    return out;
}

template <size_t N>
std::vector<Planet> rulers_of(const Range (&table)[N], int sign, int number) {
    return rulers_of(table, N, sign, number);
}

char run_kind(std::initializer_list<Run> runs, int degree) {
    for (const Run& r : runs)
        if (degree <= r.last) return r.kind;
    return '?';
}

bool listed(std::initializer_list<int> list, int degree) {
    return std::find(list.begin(), list.end(), degree) != list.end();
}

}  // namespace

std::vector<Planet> sign_rulers(int sign) {
    return {kRulers[sign].begin(), kRulers[sign].end()};
}

DegreeFacts degree_facts(int sign, int degree) {
    DegreeFacts f;
    f.sign = sign;
    f.degree = degree;
    f.decanate = (degree - 1) / 10;
    const int number = 30 * sign + degree;
    f.decanRulers = rulers_of(kDecanates, sign, number);
    f.termRulers = rulers_of(kTerms, sign, number);
    f.faceRulers = rulers_of(kFaces, sign, number);
    // Twelve parts of 2°30' each, the first belonging to the sign itself and the others following
    // in the order of the signs (Paulus Alexandrinus, Eisagogika).
    f.twelfthPart = (sign + int((degree - 0.5) / 2.5)) % 12;
    const LillySign& l = kLilly[sign];
    f.masculine = run_kind(l.gender, degree) == 'M';
    switch (run_kind(l.light, degree)) {
        case 'D':
            f.brightness = Brightness::Dark;
            break;
        case 'S':
            f.brightness = Brightness::Smoky;
            break;
        case 'V':
            f.brightness = Brightness::Void;
            break;
        default:
            f.brightness = Brightness::Light;
            break;
    }
    f.pitted = listed(l.pitted, degree);
    f.lame = listed(l.lame, degree);
    f.increasesFortune = listed(l.fortune, degree);
    for (int k : kCriticalDegrees)
        if (k == number - 1) f.critical = true;
    return f;
}

}  // namespace horalun
