// Czech collation keys: a primary level of letters (base letters, č, ch, ř, š, ž on their own),
// then a secondary level of the acute, caron and ring marks, case folded away entirely.
#include "data/collation.h"

#include <array>
#include <cstdint>

namespace horalun {

namespace {

// Weight bytes. The level separator is below every weight so that a shorter word sorts first.
constexpr unsigned char kLevelSeparator = 0x01;
constexpr unsigned char kNoMark = 0x02;
constexpr unsigned char kPunctuationBase = 0x02;  // blank, then punctuation, then controls
constexpr unsigned char kDigitBase = 0x50;
constexpr unsigned char kLetterBase = 0x60;   // 31 letters of the Czech alphabet
constexpr unsigned char kOtherPrefix = 0xF0;  // followed by the code point in three bytes

// Diacritic marks in their secondary order: unmarked < acute < caron < ring < the rest.
enum Mark : unsigned char {
    None,
    Acute,
    Caron,
    Ring,
    Grave,
    Circumflex,
    Diaeresis,
    Tilde,
    Cedilla,
    Ogonek,
    Macron,
    Breve,
    Dot,
    DoubleAcute,
    Stroke
};

// Letter units of the alphabet: a b c č d e f g h ch i j k l m n o p q r ř s š t u v w x y z ž.
// clang-format off
enum Unit : unsigned char {
    UA, UB, UC, UCaron_C, UD, UE, UF, UG, UH, UCH, UI, UJ, UK, UL, UM, UN,
    UO, UP, UQ, UR, UCaron_R, US, UCaron_S, UT, UU, UV, UW, UX, UY, UZ, UCaron_Z,
    NoUnit = 0xFF
};
// clang-format on

constexpr Unit ascii_unit(char c) {
    constexpr Unit units[26] = {UA, UB, UC, UD, UE, UF, UG, UH, UI, UJ, UK, UL, UM,
                                UN, UO, UP, UQ, UR, US, UT, UU, UV, UW, UX, UY, UZ};
    return units[c - 'a'];
}

struct Letter {
    Unit unit = NoUnit;
    Mark mark = None;
};

// Lower-case letters of Latin-1 and Latin Extended-A (U+00E0 to U+017F) as unit and mark.
constexpr char32_t kTableFirst = 0xE0;
constexpr char32_t kTableLast = 0x17F;

struct LetterEntry {
    char32_t cp;
    char base;  // ASCII base letter, or 0 for č ř š ž
    Unit own;
    Mark mark;
};

constexpr LetterEntry kLetters[] = {
    {0xE0, 'a', NoUnit, Grave},        {0xE1, 'a', NoUnit, Acute},
    {0xE2, 'a', NoUnit, Circumflex},   {0xE3, 'a', NoUnit, Tilde},
    {0xE4, 'a', NoUnit, Diaeresis},    {0xE5, 'a', NoUnit, Ring},
    {0xE7, 'c', NoUnit, Cedilla},      {0xE8, 'e', NoUnit, Grave},
    {0xE9, 'e', NoUnit, Acute},        {0xEA, 'e', NoUnit, Circumflex},
    {0xEB, 'e', NoUnit, Diaeresis},    {0xEC, 'i', NoUnit, Grave},
    {0xED, 'i', NoUnit, Acute},        {0xEE, 'i', NoUnit, Circumflex},
    {0xEF, 'i', NoUnit, Diaeresis},    {0xF1, 'n', NoUnit, Tilde},
    {0xF2, 'o', NoUnit, Grave},        {0xF3, 'o', NoUnit, Acute},
    {0xF4, 'o', NoUnit, Circumflex},   {0xF5, 'o', NoUnit, Tilde},
    {0xF6, 'o', NoUnit, Diaeresis},    {0xF8, 'o', NoUnit, Stroke},
    {0xF9, 'u', NoUnit, Grave},        {0xFA, 'u', NoUnit, Acute},
    {0xFB, 'u', NoUnit, Circumflex},   {0xFC, 'u', NoUnit, Diaeresis},
    {0xFD, 'y', NoUnit, Acute},        {0xFF, 'y', NoUnit, Diaeresis},
    {0x101, 'a', NoUnit, Macron},      {0x103, 'a', NoUnit, Breve},
    {0x105, 'a', NoUnit, Ogonek},      {0x107, 'c', NoUnit, Acute},
    {0x109, 'c', NoUnit, Circumflex},  {0x10B, 'c', NoUnit, Dot},
    {0x10D, 0, UCaron_C, None},        {0x10F, 'd', NoUnit, Caron},
    {0x111, 'd', NoUnit, Stroke},      {0x113, 'e', NoUnit, Macron},
    {0x115, 'e', NoUnit, Breve},       {0x117, 'e', NoUnit, Dot},
    {0x119, 'e', NoUnit, Ogonek},      {0x11B, 'e', NoUnit, Caron},
    {0x11D, 'g', NoUnit, Circumflex},  {0x11F, 'g', NoUnit, Breve},
    {0x121, 'g', NoUnit, Dot},         {0x123, 'g', NoUnit, Cedilla},
    {0x125, 'h', NoUnit, Circumflex},  {0x127, 'h', NoUnit, Stroke},
    {0x129, 'i', NoUnit, Tilde},       {0x12B, 'i', NoUnit, Macron},
    {0x12D, 'i', NoUnit, Breve},       {0x12F, 'i', NoUnit, Ogonek},
    {0x130, 'i', NoUnit, Dot},         {0x135, 'j', NoUnit, Circumflex},
    {0x137, 'k', NoUnit, Cedilla},     {0x13A, 'l', NoUnit, Acute},
    {0x13C, 'l', NoUnit, Cedilla},     {0x13E, 'l', NoUnit, Caron},
    {0x140, 'l', NoUnit, Dot},         {0x142, 'l', NoUnit, Stroke},
    {0x144, 'n', NoUnit, Acute},       {0x146, 'n', NoUnit, Cedilla},
    {0x148, 'n', NoUnit, Caron},       {0x14D, 'o', NoUnit, Macron},
    {0x14F, 'o', NoUnit, Breve},       {0x151, 'o', NoUnit, DoubleAcute},
    {0x155, 'r', NoUnit, Acute},       {0x157, 'r', NoUnit, Cedilla},
    {0x159, 0, UCaron_R, None},        {0x15B, 's', NoUnit, Acute},
    {0x15D, 's', NoUnit, Circumflex},  {0x15F, 's', NoUnit, Cedilla},
    {0x161, 0, UCaron_S, None},        {0x163, 't', NoUnit, Cedilla},
    {0x165, 't', NoUnit, Caron},       {0x167, 't', NoUnit, Stroke},
    {0x169, 'u', NoUnit, Tilde},       {0x16B, 'u', NoUnit, Macron},
    {0x16D, 'u', NoUnit, Breve},       {0x16F, 'u', NoUnit, Ring},
    {0x171, 'u', NoUnit, DoubleAcute}, {0x173, 'u', NoUnit, Ogonek},
    {0x175, 'w', NoUnit, Circumflex},  {0x177, 'y', NoUnit, Circumflex},
    {0x17A, 'z', NoUnit, Acute},       {0x17C, 'z', NoUnit, Dot},
    {0x17E, 0, UCaron_Z, None},
};

using LetterTable = std::array<Letter, kTableLast - kTableFirst + 1>;

const LetterTable& letter_table() {
    static const LetterTable table = [] {
        LetterTable t{};
        for (const auto& e : kLetters)
            t[e.cp - kTableFirst] = Letter{e.base ? ascii_unit(e.base) : e.own, e.mark};
        return t;
    }();
    return table;
}

// Rank of an ASCII character that is neither a digit nor a letter: the blank first, then the
// printable punctuation in code order, then the control characters.
unsigned char punctuation_rank(unsigned char c) {
    if (c == ' ') return 0;
    if (c > ' ' && c < 0x7F) {
        unsigned char rank = 1;
        for (unsigned char p = '!'; p < c; ++p)
            if (!((p >= '0' && p <= '9') || (p >= 'A' && p <= 'Z') || (p >= 'a' && p <= 'z')))
                ++rank;
        return rank;
    }
    return c == 0x7F ? 33 + 32 : 33 + c;
}

// Decodes one code point; a byte that does not start a valid sequence stands for itself as
// U+DC80..U+DCFF so that different invalid texts stay different.
char32_t next_code_point(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int len = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
    }
    if (len == 0 || i + len > s.size()) {
        ++i;
        return 0xDC00 + b0;
    }
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xDC00 + b0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += len;
    return cp;
}

Letter letter_of(char32_t folded) {
    if (folded >= 'a' && folded <= 'z') return Letter{ascii_unit(char(folded)), None};
    if (folded >= kTableFirst && folded <= kTableLast) return letter_table()[folded - kTableFirst];
    return Letter{};
}

}  // namespace

char32_t fold_case(char32_t cp) {
    if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
    if (cp < 0x100) return cp;
    if (cp <= 0x17F) {
        if (cp == 0x130 || cp == 0x131 || cp == 0x138 || cp == 0x149 || cp == 0x17F) return cp;
        if (cp == 0x178) return 0xFF;
        // Latin Extended-A pairs an upper-case letter with the lower-case one after it; the
        // pairs start on an odd code point in U+0139..U+0148 and U+0179..U+017E.
        const bool oddUpper = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
        const bool isUpper = oddUpper ? (cp % 2 == 1) : (cp % 2 == 0);
        return isUpper ? cp + 1 : cp;
    }
    if (cp >= 0x391 && cp <= 0x3A9 && cp != 0x3A2) return cp + 32;  // Greek
    if (cp >= 0x410 && cp <= 0x42F) return cp + 32;                 // Cyrillic
    if (cp >= 0x400 && cp <= 0x40F) return cp + 80;
    return cp;
}

std::string collation_key(std::string_view utf8) {
    std::string primary;
    std::string secondary;
    primary.reserve(utf8.size() + 2);
    secondary.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const char32_t cp = fold_case(next_code_point(utf8, i));
        unsigned char mark = kNoMark;
        if (cp == 'c' && i < utf8.size() && (utf8[i] == 'h' || utf8[i] == 'H')) {
            ++i;  // "ch" is one letter, between h and i
            primary += char(kLetterBase + UCH);
        } else if (cp >= '0' && cp <= '9') {
            primary += char(kDigitBase + (cp - '0'));
        } else if (const Letter l = letter_of(cp); l.unit != NoUnit) {
            primary += char(kLetterBase + l.unit);
            mark = static_cast<unsigned char>(kNoMark + l.mark);
        } else if (cp < 0x80) {
            primary += char(kPunctuationBase + punctuation_rank(static_cast<unsigned char>(cp)));
        } else {
            primary += char(kOtherPrefix);
            primary += char((cp >> 16) & 0xFF);
            primary += char((cp >> 8) & 0xFF);
            primary += char(cp & 0xFF);
        }
        secondary += char(mark);
    }
    // Trailing unmarked letters are the lowest secondary weight, so dropping them keeps the
    // order and leaves words without marks with just their primary level.
    while (!secondary.empty() && static_cast<unsigned char>(secondary.back()) == kNoMark)
        secondary.pop_back();
    if (!secondary.empty()) {
        primary += char(kLevelSeparator);
        primary += secondary;
    }
    return primary;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (fold_case(next_code_point(a, i)) != fold_case(next_code_point(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}

}  // namespace horalun
