#include "tools/horalun_data/degree_texts.h"

#include <array>
#include <vector>

#include "tools/horalun_data/degree_facts.h"

namespace horalun {

namespace {

struct PlanetWords {
    const char* nom;
    const char* gen;
    const char* ins;    // the planet's name in the instrumental case
    const char* with;   // "s" or "se" before `theme`
    const char* theme;  // instrumental: what the planet lends ("odvahou a průbojností")
    const char* term;   // accusative: what its term brings
    const char* face;   // accusative: what its face gives
};

// Indexed by Planet.
constexpr PlanetWords kPlanets[] = {
    {"Slunce", "Slunce", "Sluncem", "se", "sebevědomím a tvořivostí", "",
     "důstojnost a touhu vyniknout"},
    {"Měsíc", "Měsíce", "Měsícem", "s", "citlivostí a pečovatelským instinktem", "",
     "citovou vnímavost a proměnlivost nálad"},
    {"Merkur", "Merkura", "Merkurem", "s", "bystrostí a výřečností",
     "obratnost v řeči, obchodu a učení", "pohotovost a praktický důvtip"},
    {"Venuše", "Venuše", "Venuší", "s", "půvabem a smyslem pro harmonii",
     "vlídnost, smysl pro krásu a dar získávat si přízeň", "půvab a společenský takt"},
    {"Mars", "Marsu", "Marsem", "s", "odvahou a průbojností",
     "rozhodnost a odvahu, ale také sklon k unáhlenosti a sporům", "bojovnost a tělesnou zdatnost"},
    {"Jupiter", "Jupitera", "Jupiterem", "s", "optimismem a štědrostí",
     "důvěru druhých, zdravý úsudek a štěstí v podnikání", "velkorysost a dobrou pověst"},
    {"Saturn", "Saturnu", "Saturnem", "s", "kázní a vytrvalostí",
     "trpělivost a smysl pro řád, ale i sklon k zádumčivosti a zdržením",
     "vážnost a schopnost nést odpovědnost"},
    {"Uran", "Uranu", "Uranem", "s", "originalitou a touhou po nezávislosti", "", ""},
    {"Neptun", "Neptunu", "Neptunem", "s", "intuicí a fantazií", "", ""},
    {"Pluto", "Pluta", "Plutem", "s", "hloubkou a proměňující silou", "", ""},
};

struct SignWords {
    const char* gen;     // "Berana"
    const char* acc;     // "Berana" (připadá na ...)
    const char* in;      // "v Beranu"
    const char* nature;  // "ohnivý a průbojný ráz znamení"
    const char* gift;    // accusative: what the sign adds as a twelfth-part
    bool masculine;      // a masculine (electric) sign
};

constexpr SignWords kSigns[] = {
    {"Berana", "Berana", "v Beranu", "ohnivý a průbojný ráz znamení", "chuť jednat bez otálení",
     true},
    {"Býka", "Býka", "v Býku", "zemitý a vytrvalý ráz znamení",
     "potřebu jistoty a hmatatelných výsledků", false},
    {"Blíženců", "Blížence", "v Blížencích", "vzdušný a zvídavý ráz znamení",
     "zvídavost a potřebu sdílet myšlenky", true},
    {"Raka", "Raka", "v Raku", "vodní a citlivý ráz znamení", "citovou vazbu k domovu a blízkým",
     false},
    {"Lva", "Lva", "ve Lvu", "ohnivý a hrdý ráz znamení", "touhu tvořit a být oceněn", true},
    {"Panny", "Pannu", "v Panně", "zemitý a pečlivý ráz znamení",
     "smysl pro detail a užitečnou práci", false},
    {"Vah", "Váhy", "ve Vahách", "vzdušný a smířlivý ráz znamení", "diplomacii a touhu po souladu",
     true},
    {"Štíra", "Štíra", "ve Štíru", "vodní a vášnivý ráz znamení",
     "vytrvalost a sklon jít věcem na kořen", false},
    {"Střelce", "Střelce", "ve Střelci", "ohnivý a idealistický ráz znamení",
     "rozhled a touhu po poznání", true},
    {"Kozoroha", "Kozoroha", "v Kozorohu", "zemitý a ctižádostivý ráz znamení",
     "cílevědomost a smysl pro odpovědnost", false},
    {"Vodnáře", "Vodnáře", "ve Vodnáři", "vzdušný a nezávislý ráz znamení",
     "nezávislé myšlení a zájem o společenství", true},
    {"Ryb", "Ryby", "v Rybách", "vodní a vnímavý ráz znamení",
     "soucit a otevřenost vnitřním obrazům", false},
};

constexpr const char* kSignNames[] = {"Beran", "Býk",  "Blíženci", "Rak",     "Lev",    "Panna",
                                      "Váhy",  "Štír", "Střelec",  "Kozoroh", "Vodnář", "Ryby"};

constexpr const char* kUnits[] = {"první", "druhý", "třetí", "čtvrtý", "pátý",
                                  "šestý", "sedmý", "osmý",  "devátý"};
constexpr const char* kTeens[] = {"desátý",   "jedenáctý", "dvanáctý",  "třináctý", "čtrnáctý",
                                  "patnáctý", "šestnáctý", "sedmnáctý", "osmnáctý", "devatenáctý"};

// Ordinal of 1..30 in the nominative ("dvacátý první").
std::string ordinal(int n) {
    if (n < 10) return kUnits[n - 1];
    if (n < 20) return kTeens[n - 10];
    if (n == 20) return "dvacátý";
    if (n < 30) return std::string("dvacátý ") + kUnits[n - 21];
    return "třicátý";
}

// The same in the locative ("dvacátém prvním"): -ý becomes -ém, -í becomes -ím.
std::string ordinal_locative(int n) {
    std::string out;
    std::string word;
    const std::string nom = ordinal(n) + " ";
    for (char c : nom) {
        if (c != ' ') {
            word += c;
            continue;
        }
        if (word.size() >= 2 && word.compare(word.size() - 2, 2, "ý") == 0)
            word.replace(word.size() - 2, 2, "ém");
        else if (word.size() >= 2 && word.compare(word.size() - 2, 2, "í") == 0)
            word.replace(word.size() - 2, 2, "ím");
        out += (out.empty() ? "" : " ") + word;
        word.clear();
    }
    return out;
}

std::string capitalised(std::string s) {
    // The ordinals start with an ASCII letter, "č" or "š".
    if (s.rfind("č", 0) == 0) return "Č" + s.substr(2);
    if (s.rfind("š", 0) == 0) return "Š" + s.substr(2);
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = char(s[0] - 'a' + 'A');
    return s;
}

// "v" or "ve" before a word, as Czech pronounces it ("ve dvanáctém", "v pátém").
std::string in_prefix(const std::string& word, bool capital) {
    const bool ve = word.rfind("dv", 0) == 0 || word.rfind("tř", 0) == 0 ||
                    word.rfind("čt", 0) == 0 || word.rfind("v", 0) == 0;
    return std::string(capital ? "V" : "v") + (ve ? "e " : " ") + word;
}

const PlanetWords& words(Planet p) {
    return kPlanets[int(p)];
}

// "Mars" or "Mars spolu s Plutem".
std::string rulers_nominative(const std::vector<Planet>& rulers) {
    std::string out = words(rulers[0]).nom;
    for (size_t i = 1; i < rulers.size(); ++i)
        out += std::string(" spolu s ") + words(rulers[i]).ins;
    return out;
}

// "Marsu" or "Marsu a Pluta".
std::string rulers_genitive(const std::vector<Planet>& rulers) {
    std::string out;
    for (size_t i = 0; i < rulers.size(); ++i)
        out += std::string(i == 0 ? "" : " a ") + words(rulers[i]).gen;
    return out;
}

// "odvahou a průbojností Marsu i hloubkou a proměňující silou Pluta", optionally with its
// preposition ("s odvahou ...").
std::string themes(const std::vector<Planet>& rulers, bool withPreposition) {
    std::string out = withPreposition ? std::string(words(rulers[0]).with) + " " : std::string();
    for (size_t i = 0; i < rulers.size(); ++i)
        out +=
            std::string(i == 0 ? "" : " i ") + words(rulers[i]).theme + " " + words(rulers[i]).gen;
    return out;
}

const char* kDecanLocative[] = {"v prvním", "ve druhém", "ve třetím"};
const char* kDecanGenitive[] = {"prvního", "druhého", "třetího"};

// The sign, its decanate and the decanate's ruler.
std::string decanate_sentence(const DegreeFacts& f, bool variant) {
    const SignWords& s = kSigns[f.sign];
    const std::vector<Planet> signRulers = sign_rulers(f.sign);
    if (f.decanRulers.empty()) {
        return capitalised(ordinal(f.degree)) + " stupeň " + s.gen + " nese " + s.nature +
               " pod vládou " + rulers_genitive(signRulers) + ".";
    }
    if (f.decanRulers.front() == signRulers.front()) {
        if (!variant)
            return capitalised(ordinal(f.degree)) + " stupeň " + s.gen + " leží " +
                   kDecanLocative[f.decanate] + " dekanátu, kterému vládne sám pán znamení " +
                   rulers_nominative(f.decanRulers) + "; " + s.nature +
                   " se tu projevuje v nejčistší podobě, nesený " + themes(f.decanRulers, false) +
                   ".";
        return capitalised(ordinal(f.degree)) + " stupeň " + s.gen + " patří do " +
               kDecanGenitive[f.decanate] + " dekanátu, v němž vládne sám pán znamení " +
               rulers_nominative(f.decanRulers) + ", takže " + s.nature +
               " zde vyniká nejvýrazněji, prostoupen " + themes(f.decanRulers, false) + ".";
    }
    if (!variant)
        return capitalised(ordinal(f.degree)) + " stupeň " + s.gen + " leží " +
               kDecanLocative[f.decanate] + " dekanátu, kterému vládne " +
               rulers_nominative(f.decanRulers) + "; " + s.nature + " se tu snoubí " +
               themes(f.decanRulers, true) + ".";
    return in_prefix(ordinal_locative(f.degree), true) + " stupni " + s.gen + ", který patří do " +
           kDecanGenitive[f.decanate] + " dekanátu pod vládou " + rulers_genitive(f.decanRulers) +
           ", se " + s.nature + " pojí " + themes(f.decanRulers, true) + ".";
}

// The term and the face.
std::string term_sentence(const DegreeFacts& f) {
    std::string out;
    std::vector<Planet> terms;
    for (Planet p : f.termRulers)
        if (*words(p).term) terms.push_back(p);
    std::vector<Planet> faces;
    for (Planet p : f.faceRulers)
        if (*words(p).face) faces.push_back(p);
    if (!terms.empty()) {
        out = std::string("Termín ") + words(terms[0]).gen + " sem vnáší " + words(terms[0]).term;
        for (size_t i = 1; i < terms.size(); ++i)
            out += std::string(", termín ") + words(terms[i]).gen + " pak " + words(terms[i]).term;
    }
    if (faces.size() == 1) {
        out += out.empty() ? "Tvář " : "; tvář ";
        out += std::string(words(faces[0]).gen) + " dodává " + words(faces[0]).face;
    } else if (faces.size() > 1) {
        out += out.empty() ? "Tváře " : "; tváře ";
        out += std::string(words(faces[0]).gen) + " a " + words(faces[1]).gen + " dodávají " +
               words(faces[0]).face + " i " + words(faces[1]).face;
    } else if (!out.empty()) {
        out += ", žádná tvář planety se tu neuplatňuje";
    }
    if (out.empty()) out = "Tento stupeň nepatří do termínu ani tváře žádné planety";
    return out + ".";
}

const char* kBrightness[] = {"světlý", "temný", "zakouřený", "prázdný"};
const char* kBrightnessEffect[] = {
    "což přeje jasnému úsudku, otevřenosti a tomu, aby schopnosti byly vidět",
    "což naznačuje, že síly zůstávají zpočátku skryté a úspěch přichází pozvolna",
    "což zamlžuje úmysly i okolnosti, a proto je dobré dbát na jasné dohody",
    "což může vést k roztěkanosti a plýtvání silou, chybí-li jasný cíl",
};

// The twelfth-part, and the degree's own sex and brightness.
std::string quality_sentence(const DegreeFacts& f, bool variant) {
    const SignWords& twelfth = kSigns[f.twelfthPart];
    std::string gender = f.masculine ? "mužský" : "ženský";
    if (f.masculine != kSigns[f.sign].masculine)
        gender += f.masculine ? " (ač znamení je ženské)" : " (ač znamení je mužské)";
    gender +=
        f.masculine ? ", tedy činný a obrácený navenek" : ", tedy přijímavý a obrácený do nitra";
    const int b = int(f.brightness);
    if (!variant)
        return std::string("Dvanáctina stupně připadá na ") + twelfth.acc + " a přidává " +
               twelfth.gift + "; sám stupeň je " + gender + ", a " + kBrightness[b] + ", " +
               kBrightnessEffect[b] + ".";
    return std::string("S dvanáctinou ") + twelfth.in + " získává stupeň " + twelfth.gift +
           "; je přitom " + gender + ", a " + kBrightness[b] + ", " + kBrightnessEffect[b] + ".";
}

// The degrees of fortune, the pitted and lame degrees and the critical degrees.
std::string special_sentence(const DegreeFacts& f) {
    std::vector<std::string> clauses;
    if (f.increasesFortune)
        clauses.push_back(
            "patří mezi stupně zvyšující štěstí a přeje úspěchu, majetku i dobré "
            "pověsti");
    if (f.critical)
        clauses.push_back(
            "je kritický, takže se v něm události lámou a věci se dávají rychle "
            "do pohybu");
    if (f.pitted)
        clauses.push_back(
            "je jamový a varuje před uvíznutím v nejasných situacích a před "
            "ztrátami z nepozornosti");
    if (f.lame)
        clauses.push_back(
            "je chromý (azimene) a upozorňuje na citlivé místo zdraví, proto "
            "radí šetřit síly a nepodceňovat drobné potíže");
    if (clauses.empty()) return {};
    std::string out = "Tento stupeň " + clauses[0];
    for (size_t i = 1; i < clauses.size(); ++i) out += (i == 1 ? "; zároveň " : " a ") + clauses[i];
    return out + ".";
}

}  // namespace

std::string degree_key(int sign, int degree) {
    return std::string(kSignNames[sign]) + " " + std::to_string(degree);
}

std::string degree_meaning_text(int sign, int degree) {
    const DegreeFacts f = degree_facts(sign, degree);
    // Alternate the sentence forms so that neighbouring degrees do not read alike.
    const bool variant = (sign * 7 + degree) % 2 == 1;
    std::string text = decanate_sentence(f, variant) + " " + term_sentence(f) + " " +
                       quality_sentence(f, !variant);
    const std::string special = special_sentence(f);
    if (!special.empty()) text += " " + special;
    return text;
}

}  // namespace horalun
