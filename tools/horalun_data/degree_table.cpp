#include "tools/horalun_data/degree_table.h"

#include <cstdint>
#include <cstdio>

#include "tools/horalun_data/degree_texts.h"

namespace horalun {

std::string degree_texts_fingerprint() {
    std::uint64_t hash = 1469598103934665603ULL;  // FNV-1a
    for (int sign = 0; sign < 12; ++sign)
        for (int degree = 1; degree <= 30; ++degree)
            for (unsigned char c : degree_key(sign, degree) + degree_meaning_text(sign, degree)) {
                hash ^= c;
                hash *= 1099511628211ULL;
            }
    char text[40];
    std::snprintf(text, sizeof text, "stup_txt/1 %016llx", static_cast<unsigned long long>(hash));
    return text;
}

void fill_degree_texts(RowInserter& rows, std::ostream&) {
    const int key = rows.field("znameni");
    const int text = rows.field("text");
    for (int sign = 0; sign < 12; ++sign)
        for (int degree = 1; degree <= 30; ++degree) {
            rows.set_text(key, degree_key(sign, degree));
            rows.set_text(text, degree_meaning_text(sign, degree));
            rows.insert_row();
        }
}

}  // namespace horalun
