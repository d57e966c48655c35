// Shows a sign's 20 x 20 glyph bitmap next to a position.
#pragma once

#include <string_view>

class QLabel;

namespace horalun {

class GlyphCache;

// Puts the glyph file of the named sign into the label; an empty or unknown name, or a missing
// file, leaves the label without a picture.
void load_sign_glyph(std::string_view signName, QLabel* image, GlyphCache& glyphs);

}  // namespace horalun
