#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tools/horalun_data/degree_facts.h"
#include "tools/horalun_data/degree_texts.h"

namespace horalun {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(DegreeTexts, EveryDegreeHasItsOwnTextOfTwoToFourSentences) {
    std::set<std::string> texts;
    for (int sign = 0; sign < 12; ++sign)
        for (int degree = 1; degree <= 30; ++degree) {
            const std::string text = degree_meaning_text(sign, degree);
            const auto sentences = std::count(text.begin(), text.end(), '.');
            EXPECT_GE(sentences, 2) << degree_key(sign, degree);
            EXPECT_LE(sentences, 4) << degree_key(sign, degree) << ": " << text;
            EXPECT_EQ(text.back(), '.');
            EXPECT_FALSE(contains(text, "  ")) << text;
            texts.insert(text);
        }
    EXPECT_EQ(texts.size(), 360u);
    EXPECT_EQ(degree_key(0, 1), "Beran 1");
    EXPECT_EQ(degree_key(11, 30), "Ryby 30");
}

TEST(DegreeTexts, StateTheFactsOfTheirDegree) {
    struct Case {
        int sign, degree;
        std::vector<std::string> parts;
    } cases[] = {
        // Mars and Pluto rule the first decanate; Jupiter's term; the first critical degree.
        {0, 1, {"První stupeň Berana", "Mars spolu s Plutem", "Termín Jupitera", "kritický"}},
        {0, 6, {"jamový", "Termín Venuše"}},
        {0, 11, {"druh", "Slunce", "Termín Venuše"}},
        {0, 14, {"kritický", "Termín Merkura"}},
        {0, 19, {"zvyšující štěstí", "světlý"}},
        {0, 30, {"Ryb", "prázdný", "mužský"}},  // the twelfth part of Aries 30 is Pisces
        {1, 6, {"chromý", "Venuše", "mužský (ač znamení je ženské)"}},
        {3, 9, {"chromý", "světlý", "Měsíc"}},
        {4, 5, {"zvyšující štěstí", "temný", "mužský"}},
        {9, 15, {"zakouřený", "Termín Venuše"}},
        {11,
         30,
         {"třicát", "stup", "Ryb", "Mars", "Termín Saturnu", "temný",
          "mužský (ač znamení je ženské)"}},
    };
    for (const auto& c : cases) {
        const std::string text = degree_meaning_text(c.sign, c.degree);
        for (const auto& part : c.parts)
            EXPECT_TRUE(contains(text, part))
                << degree_key(c.sign, c.degree) << " lacks \"" << part << "\": " << text;
    }
    // Without the quality the text does not claim it.
    EXPECT_FALSE(contains(degree_meaning_text(0, 2), "jamový"));
    EXPECT_FALSE(contains(degree_meaning_text(0, 2), "kritický"));
}

TEST(DegreeFacts, TablesCoverTheZodiac) {
    int masculine = 0, decanRulers = 0;
    for (int sign = 0; sign < 12; ++sign)
        for (int degree = 1; degree <= 30; ++degree) {
            const DegreeFacts f = degree_facts(sign, degree);
            masculine += f.masculine;
            decanRulers += !f.decanRulers.empty();
            EXPECT_EQ(f.decanate, (degree - 1) / 10);
        }
    EXPECT_EQ(masculine, 194);  // Lilly's table: 194 masculine and 166 feminine degrees
    EXPECT_EQ(decanRulers, 360);
    EXPECT_EQ(degree_facts(0, 30).twelfthPart, 11);
    EXPECT_EQ(degree_facts(4, 1).twelfthPart, 4);
    EXPECT_EQ(degree_facts(4, 3).twelfthPart, 5);
}

}  // namespace
}  // namespace horalun
