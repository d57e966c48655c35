// Czech alphabetical order without regard to letter case, for the keys of text indexes.
#pragma once

#include <string>
#include <string_view>

namespace horalun {

// Sort key of a UTF-8 text: comparing two keys byte by byte (memcmp, std::string's <) gives the
// Czech alphabetical order. Case never counts. Letters with acute, caron or ring (á, ď, é, ě,
// í, ň, ó, ť, ú, ů, ý) sort with their base letter and count only when the words are otherwise
// equal; č, ch, ř, š and ž are letters of their own (c < č < d, h < ch < i, r < ř < s,
// s < š < t, z < ž). Blanks and punctuation sort before digits, digits before letters, other
// scripts after them. Two texts have equal keys exactly when equal_ignoring_case holds.
std::string collation_key(std::string_view utf8);

// Equality without regard to case ("Čáslav" equals "čÁSLAV"); diacritics count ("Caslav"
// differs from "Čáslav").
bool equal_ignoring_case(std::string_view a, std::string_view b);

// Lower-case form of one code point (Latin, Czech letters included, Greek and Cyrillic);
// other code points are returned unchanged.
char32_t fold_case(char32_t cp);

}  // namespace horalun
