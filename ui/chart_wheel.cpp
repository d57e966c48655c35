#include "ui/chart_wheel.h"

#include <cmath>

#include <QFont>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include "ui/wheel_geometry.h"

namespace horalun {

namespace {

// The wheel's sizes are pixels at 96 dots per inch: 11 points are 15 pixels, 10 points 13.
QFont label_font(int points) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize((points * 96 + 36) / 72);
    return font;
}

QColor colour(std::uint32_t rgb) {
    return QColor(int(rgb >> 16), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

// Lines end flat at their end pixels (round ends would cost most of the paint's time).
QPen pen(std::uint32_t rgb, int width) {
    return QPen(colour(rgb), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

// A line through the given pixels: odd widths run through the pixel centres, even widths along
// the pixel edges, so that straight lines stay sharp when antialiased.
void draw_line(QPainter& p, const WheelStep& s) {
    const double off = s.width % 2 ? 0.5 : 0.0;
    p.setPen(pen(s.rgb, s.width));
    p.drawLine(QPointF(s.a.x + off, s.a.y + off), QPointF(s.b.x + off, s.b.y + off));
}

// A circle inside its bounding square (the right and bottom edges excluded): the ring covers the
// square's outermost pixels and is centred on the centre pixel.
void draw_circle(QPainter& p, const WheelStep& s) {
    p.setPen(pen(s.rgb, s.width));
    p.setBrush(Qt::NoBrush);
    const double inset = s.width / 2.0;
    p.drawEllipse(
        QRectF(s.a.x + inset, s.a.y + inset, s.b.x - s.a.x - 2 * inset, s.b.y - s.a.y - 2 * inset));
}

// Advance of a label in Arial Bold, for which the label positions were laid out: 1139 font units
// of 2048 for a digit, 569 for the full stop, each rounded to whole pixels.
int arial_bold_advance(const QString& text, int pixelSize) {
    int w = 0;
    for (QChar c : text) w += int(std::lround((c == u'.' ? 569 : 1139) * pixelSize / 2048.0));
    return w;
}

// Text on an opaque white background with its top-left corner at the given pixel. A substitute
// font of another width is centred where the Arial label would stand.
void draw_text(QPainter& p, const WheelStep& s, const QFont& font) {
    const QString text = QString::fromStdString(s.text);
    const QFontMetrics fm(font);
    const int width = fm.horizontalAdvance(text);
    const int x = s.a.x + (arial_bold_advance(text, font.pixelSize()) - width) / 2;
    p.fillRect(QRect(x, s.a.y, width, fm.height()), Qt::white);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(x, s.a.y + fm.ascent(), text);
}

}  // namespace

void paint_chart_wheel(QPainter& painter, const ChartState& state, const MainInputs& inputs,
                       const MainWindowState& window, GlyphCache& glyphs) {
    const std::vector<WheelStep> steps = wheel_steps(state, wheel_options(inputs, window));
    const QFont font11 = label_font(11);
    const QFont font10 = label_font(10);

    painter.save();
    painter.fillRect(QRect(0, 0, kWheelWidth, kWheelHeight), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const WheelStep& s : steps) {
        switch (s.kind) {
            case WheelStep::Kind::Circle:
                draw_circle(painter, s);
                break;
            case WheelStep::Kind::Line:
                draw_line(painter, s);
                break;
            case WheelStep::Kind::Text:
                draw_text(painter, s, s.fontPoints == 10 ? font10 : font11);
                break;
            case WheelStep::Kind::Glyph: {
                const QPixmap& pm = glyphs.pixmap(QString::fromStdString(s.text));
                if (!pm.isNull()) painter.drawPixmap(s.a.x, s.a.y, pm);
                break;
            }
        }
    }
    painter.restore();
}

ChartWheel::ChartWheel(const ChartState& state, const MainInputs& inputs,
                       const MainWindowState& window, GlyphCache& glyphs, QWidget* parent)
    : QWidget(parent), state_(state), inputs_(inputs), window_(window), glyphs_(glyphs) {
    setFixedSize(kWheelWidth, kWheelHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartWheel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint_chart_wheel(painter, state_, inputs_, window_, glyphs_);
}

}  // namespace horalun
