// The meaning texts of the 360 degrees (table stup_txt): our own Czech sentences composed from
// the traditional facts of each degree (degree_facts.h).
#pragma once

#include <string>

namespace horalun {

// "Beran 1" ... "Ryby 30": the key of a degree in stup_txt.
std::string degree_key(int sign, int degree);
// Two to four sentences on what the degree favours and what it warns of.
std::string degree_meaning_text(int sign, int degree);

}  // namespace horalun
