#include "core/chart_panels.h"

#include "core/zodiac.h"

namespace horalun {

void set_panel_row(PanelRow& row, std::string_view position, std::string_view sign) {
    row.position = position;
    row.sign = sign;
    const int i = sign_index(sign);
    row.glyph = i < 0 ? std::string() : std::string(zodiac_signs()[i].glyphFile);
}

}  // namespace horalun
