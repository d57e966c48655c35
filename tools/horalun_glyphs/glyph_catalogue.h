// The bitmap files that horalun-glyphs delivers into the program's folder: for each its name,
// its square size, what is drawn in it and in which colour.
#pragma once

#include <QColor>
#include <QString>
#include <vector>

namespace horalun {

enum class GlyphFont { Regular, Bold };

struct GlyphSpec {
    QString file;  // file name in the program's folder, "slunce.bmp"
    int size = 0;  // width and height in pixels
    QString text;  // the characters drawn, one symbol or a short word
    QColor colour;
    GlyphFont font = GlyphFont::Regular;
    QString fitText;        // characters whose ink sets the scale (a group shares one size);
                            // empty: the glyph's own ink
    double fill = 0.8;      // share of the box that the ink spans in its longer direction
    bool mirrored = false;  // drawn left-right mirrored (the backward arrow)
};

// Every bitmap file, in a stable order (the contact sheet follows it).
std::vector<GlyphSpec> glyph_catalogue();

// The image sizes held by the icon file.
std::vector<int> icon_sizes();

inline const QString kIconFile = QStringLiteral("myicon.ico");

}  // namespace horalun
