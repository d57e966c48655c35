// Draws the glyph bitmaps and the icon images from the DejaVu Sans outlines.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRawFont>
#include <QString>
#include <vector>

#include "tools/horalun_glyphs/glyph_catalogue.h"

namespace horalun {

class GlyphRenderer {
  public:
    // Loads DejaVuSans.ttf and DejaVuSans-Bold.ttf from `fontDir`. Throws std::runtime_error
    // when a font cannot be loaded or lacks a character that `catalogue` draws.
    GlyphRenderer(const QString& fontDir, const std::vector<GlyphSpec>& catalogue);

    // The glyph on white, centred on its ink and filling about four fifths of the box (RGB32).
    QImage render(const GlyphSpec& spec) const;

    // The program's icon at `size` pixels, a small zodiac wheel on a transparent ground (ARGB32).
    QImage render_icon(int size) const;

  private:
    // The outline of `text` at the reference pixel size, its baseline at y = 0.
    QPainterPath outline(const QString& text, GlyphFont font) const;

    QRawFont regular_;
    QRawFont bold_;
};

}  // namespace horalun
