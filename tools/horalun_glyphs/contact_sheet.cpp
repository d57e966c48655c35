// Lays the images out in labelled cells; the enlargement shows every pixel.
#include "tools/horalun_glyphs/contact_sheet.h"

#include <QFont>
#include <QPainter>
#include <algorithm>

namespace horalun {

namespace {

constexpr int kSheetWidth = 1400;
constexpr int kPad = 12;
constexpr int kLabelHeight = 18;
constexpr int kZoom = 4;
constexpr int kMaxZoomed = 64;

int zoom_for(const QImage& image) {
    return image.width() <= kMaxZoomed ? kZoom : 0;
}

QSize cell_size(const QImage& image) {
    const int zoom = zoom_for(image);
    const int w = image.width() + (zoom ? kPad + zoom * image.width() : 0);
    const int h = std::max(image.height(), zoom * image.height());
    return {std::max(w, 150) + 2 * kPad, kLabelHeight + h + 2 * kPad};
}

// The enlarged copy with a one-pixel grid line between source pixels, and a frame.
void draw_zoomed(QPainter& p, const QImage& image, QPoint at, int zoom) {
    const QSize size = image.size() * zoom;
    p.drawImage(QRect(at, size), image);
    p.setPen(QColor(0xd8, 0xdc, 0xe6));
    for (int i = 1; i < image.width(); ++i) {
        p.drawLine(at.x() + i * zoom, at.y(), at.x() + i * zoom, at.y() + size.height() - 1);
    }
    for (int i = 1; i < image.height(); ++i) {
        p.drawLine(at.x(), at.y() + i * zoom, at.x() + size.width() - 1, at.y() + i * zoom);
    }
    p.setPen(QColor(0x90, 0x98, 0xa8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(at - QPoint(1, 1), size + QSize(1, 1)));
}

}  // namespace

QImage contact_sheet(const std::vector<SheetEntry>& entries) {
    // First pass places the cells, the second draws them.
    std::vector<QRect> cells;
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    for (const SheetEntry& e : entries) {
        const QSize s = cell_size(e.image);
        if (x > 0 && x + s.width() > kSheetWidth) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        cells.emplace_back(QPoint(x, y), s);
        x += s.width();
        rowHeight = std::max(rowHeight, s.height());
    }
    QImage sheet(kSheetWidth, y + rowHeight, QImage::Format_RGB32);
    sheet.fill(QColor(0xf4, 0xf5, 0xf8));
    QPainter p(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(12);
    p.setFont(font);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QImage& image = entries[i].image;
        const QRect cell = cells[i].adjusted(kPad / 2, kPad / 2, -kPad / 2, -kPad / 2);
        p.fillRect(cell, Qt::white);
        p.setPen(QColor(0x30, 0x30, 0x30));
        p.drawText(cell.left() + kPad / 2, cell.top() + kLabelHeight - 4, entries[i].label);
        const QPoint at(cell.left() + kPad / 2, cell.top() + kLabelHeight + kPad / 2);
        // The image itself sits on a faint frame so its box is visible.
        p.setPen(QColor(0xc0, 0xc4, 0xcc));
        p.drawRect(QRect(at - QPoint(1, 1), image.size() + QSize(1, 1)));
        p.drawImage(at, image);
        if (const int zoom = zoom_for(image)) {
            draw_zoomed(p, image, at + QPoint(image.width() + kPad, 0), zoom);
        }
    }
    return sheet;
}

}  // namespace horalun
