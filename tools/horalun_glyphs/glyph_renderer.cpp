// Glyphs are filled from the font's own outlines (never through a font fallback), scaled so
// that their ink fills a fixed share of the box and centred on that ink.
#include "tools/horalun_glyphs/glyph_renderer.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace horalun {

namespace {

// Outlines are taken at a large size so their bounding boxes are exact before scaling down.
constexpr double kReferencePixels = 256.0;

QRawFont load_font(const QString& path) {
    QRawFont font(path, kReferencePixels, QFont::PreferNoHinting);
    if (!font.isValid()) throw std::runtime_error("cannot load the font " + path.toStdString());
    return font;
}

// Ink extent for a box filled to `fill`, with an even margin on each side so the ink's edges
// fall on whole pixels.
double ink_extent(int box, double fill) {
    return box - 2 * std::lround(box * (1 - fill) / 2);
}

// The thinnest stroke a glyph may show, in pixels, for a given ink extent: thin designs (the
// Sun's ring, the Moon's crescent) are thickened to this so all glyphs look of one weight.
double min_stroke(double extent) {
    return std::max(0.09 * extent, 1.7);
}

// Mean stroke width of an outline: twice its area over its perimeter (exact for long strokes).
double mean_stroke(const QPainterPath& path) {
    double area = 0;
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
        double twice = 0;
        for (qsizetype i = 0; i < poly.size(); ++i) {
            const QPointF a = poly[i];
            const QPointF b = poly[(i + 1) % poly.size()];
            twice += a.x() * b.y() - b.x() * a.y();
        }
        area += twice / 2;  // holes run the other way round and subtract
    }
    return 2 * std::fabs(area) / path.length();
}

// Where a glyph's outline lands: its scale, the widening pen for thin strokes, and the point
// its ink is centred on.
struct Placement {
    double scale = 1;
    double widen = 0;
    QPointF centre;
};

// Fits the ink of `fit` (an outline at the same reference size as the drawn one) into a square
// of `extent` pixels; thin strokes are widened by an outline pen.
Placement fit_placement(const QPainterPath& fit, double extent, QPointF centre) {
    const QRectF fitInk = fit.boundingRect();
    const double size = std::max(fitInk.width(), fitInk.height());
    const double stroke = mean_stroke(fit);
    const double minStroke = min_stroke(extent);
    Placement place{extent / size, 0, centre};
    if (place.scale * stroke < minStroke) {
        // The pen adds to the ink on both sides, so the outline shrinks to keep the extent:
        // scale * size + widen == extent.
        place.scale = (extent - minStroke) / (size - stroke);
        place.widen = minStroke - place.scale * stroke;
    }
    return place;
}

void draw_placed(QPainter& painter, const QPainterPath& path, const Placement& place,
                 const QColor& colour) {
    const QRectF ink = path.boundingRect();
    QTransform t;
    t.translate(place.centre.x(), place.centre.y());
    t.scale(place.scale, place.scale);
    t.translate(-ink.center().x(), -ink.center().y());
    painter.setBrush(colour);
    painter.setPen(place.widen > 0
                       ? QPen(colour, place.widen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                       : QPen(Qt::NoPen));
    painter.drawPath(t.map(path));
}

// Share of the ink that lies in partly covered pixels: low when stems sit on whole pixels.
double blur(const QPainterPath& path, const Placement& place, int box) {
    QImage probe(box, box, QImage::Format_Grayscale8);
    probe.fill(0);
    QPainter painter(&probe);
    painter.setRenderHint(QPainter::Antialiasing);
    draw_placed(painter, path, place, Qt::white);
    painter.end();
    double ink = 0;
    double grey = 0;
    for (int y = 0; y < box; ++y) {
        const uchar* line = probe.constScanLine(y);
        for (int x = 0; x < box; ++x) {
            const double c = line[x] / 255.0;
            ink += c;
            grey += c * (1 - c);
        }
    }
    return ink > 0 ? grey / ink : 0;
}

// A light grid fitting, in place of font hinting (symbol outlines carry none): tries shifts of
// up to 3/8 pixel and, unless a group must share one size, scales within a few per cent, and
// keeps the crispest rendering.
Placement sharpest(const QPainterPath& path, Placement base, int box, bool fixedSize) {
    Placement best = base;
    double bestBlur = blur(path, base, box);
    const std::vector<double> factors =
        fixedSize ? std::vector<double>{1.0} : std::vector<double>{0.95, 0.97, 1.0, 1.02};
    for (const double factor : factors) {
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -3; dx <= 3; ++dx) {
                Placement p = base;
                p.scale *= factor;
                p.centre += QPointF(dx / 8.0, dy / 8.0);
                const double b = blur(path, p, box);
                // A clearly crisper rendering must pay for leaving the exact size and centre.
                if (b < bestBlur - 0.01) {
                    best = p;
                    bestBlur = b;
                }
            }
        }
    }
    return best;
}

}  // namespace

GlyphRenderer::GlyphRenderer(const QString& fontDir, const std::vector<GlyphSpec>& catalogue)
    : regular_(load_font(fontDir + "/DejaVuSans.ttf")),
      bold_(load_font(fontDir + "/DejaVuSans-Bold.ttf")) {
    for (const GlyphSpec& spec : catalogue) {
        const QRawFont& font = spec.font == GlyphFont::Bold ? bold_ : regular_;
        for (const QString& text : {spec.text, spec.fitText}) {
            for (const char32_t code : text.toUcs4()) {
                if (!font.supportsCharacter(code)) {
                    const QString hex =
                        QString("%1").arg(static_cast<uint>(code), 4, 16, QChar('0')).toUpper();
                    throw std::runtime_error(QString("DejaVu Sans lacks U+%1 needed for %2")
                                                 .arg(hex, spec.file)
                                                 .toStdString());
                }
            }
        }
    }
}

QPainterPath GlyphRenderer::outline(const QString& text, GlyphFont which) const {
    const QRawFont& font = which == GlyphFont::Bold ? bold_ : regular_;
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    QPainterPath path;
    QPointF pen(0, 0);
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        path.addPath(font.pathForGlyph(glyphs[i]).translated(pen));
        pen += advances[i];
    }
    return path;
}

QImage GlyphRenderer::render(const GlyphSpec& spec) const {
    const QPainterPath path = outline(spec.text, spec.font);
    const QPainterPath fit = spec.fitText.isEmpty() ? path : outline(spec.fitText, spec.font);
    const QPointF centre(spec.size / 2.0, spec.size / 2.0);
    const Placement place =
        sharpest(path, fit_placement(fit, ink_extent(spec.size, spec.fill), centre), spec.size,
                 !spec.fitText.isEmpty());
    QImage image(spec.size, spec.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw_placed(painter, path, place, spec.colour);
    painter.end();
    // Mirroring the finished pixels keeps a mirrored pair exactly symmetric.
    return spec.mirrored ? image.mirrored(true, false) : image;
}

QImage GlyphRenderer::render_icon(int size) const {
    const QColor navy(0x1a, 0x2b, 0x6d);
    const QColor cream(0xff, 0xf8, 0xe7);
    const QColor gold(0xc7, 0x7c, 0x02);
    const std::array<QColor, 4> elementLight = {QColor(0xff, 0x8a, 0x80), QColor(0xa5, 0xd6, 0xa7),
                                                QColor(0xff, 0xe0, 0x82), QColor(0x90, 0xca, 0xf9)};

    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size / 2.0, size / 2.0);
    const double outer = size * 0.5 - std::max(0.5, size / 64.0);
    const double inner = size < 32 ? 4.5 : outer * (size >= 128 ? 0.64 : 0.62);

    // The zodiac band: a navy ring with the twelve sign boundaries.
    painter.setPen(Qt::NoPen);
    painter.setBrush(navy);
    painter.drawEllipse(c, outer, outer);
    if (size >= 32) {
        painter.setPen(QPen(QColor(0x8a, 0x99, 0xd0), std::max(1.0, size / 128.0)));
        for (int k = 0; k < 12; ++k) {
            const double a = k * std::numbers::pi / 6;
            const QPointF dir(std::cos(a), std::sin(a));
            painter.drawLine(c + dir * inner, c + dir * (outer - size / 64.0));
        }
    }
    // At the large size the band carries the sign glyphs, Aries at the left as on the wheel.
    if (size >= 128) {
        painter.setPen(Qt::NoPen);
        const double mid = (outer + inner) / 2;
        const double extent = (outer - inner) * 0.56;
        for (int k = 0; k < 12; ++k) {
            const double a = std::numbers::pi + (k * 30 + 15) * std::numbers::pi / 180;
            const QPointF at = c + QPointF(std::cos(a), -std::sin(a)) * mid;
            const char32_t code = U'\u2648' + static_cast<char32_t>(k);
            const QPainterPath glyph = outline(QString::fromUcs4(&code, 1), GlyphFont::Regular);
            draw_placed(painter, glyph, fit_placement(glyph, extent, at), elementLight[k % 4]);
        }
    }
    // The centre: a cream disc with the Sun; at the smallest size its ring would blur into the
    // dot, so the cream disc with a dot stands for it.
    painter.setPen(Qt::NoPen);
    painter.setBrush(cream);
    painter.drawEllipse(c, inner, inner);
    if (size < 32) {
        painter.setBrush(gold);
        painter.drawEllipse(c, inner * 0.45, inner * 0.45);
    } else {
        const char32_t sun = U'\u2609';
        const QPainterPath glyph = outline(QString::fromUcs4(&sun, 1), GlyphFont::Regular);
        draw_placed(painter, glyph, fit_placement(glyph, inner * 1.3, c), gold);
    }
    painter.end();
    return image;
}

}  // namespace horalun
