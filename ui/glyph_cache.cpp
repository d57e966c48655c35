#include "ui/glyph_cache.h"

#include <QBitmap>
#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace horalun {

GlyphCache::GlyphCache(QString folder) : folder_(std::move(folder)) {}

const QPixmap& GlyphCache::pixmap(const QString& file) {
    const QFileInfo info(QDir(folder_).filePath(file));
    Entry& e = entries_[file];
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (e.size == size && e.modified == modified && (size < 0 || !e.pixmap.isNull()))
        return e.pixmap;
    e.modified = modified;
    e.size = size;
    e.pixmap = QPixmap();
    QImage image(info.filePath());
    if (image.isNull()) return e.pixmap;
    // The bottom-left pixel's colour is the transparent colour.
    const QRgb key = image.pixel(0, image.height() - 1);
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0x00FFFFFF) == (key & 0x00FFFFFF)) line[x] = 0;
    }
    e.pixmap = QPixmap::fromImage(image);
    return e.pixmap;
}

}  // namespace horalun
