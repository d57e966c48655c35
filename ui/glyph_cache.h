// Bitmaps of the program's folder, loaded once and kept in memory; a file that changed on disk
// is read again. Drawn transparently: the colour of the bottom-left pixel is the transparent one.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QPixmap>
#include <QString>

namespace horalun {

class GlyphCache {
  public:
    explicit GlyphCache(QString folder = QStringLiteral("."));
    const QString& folder() const { return folder_; }
    // The bitmap with its bottom-left colour made transparent; a null pixmap when the file is
    // missing or unreadable.
    const QPixmap& pixmap(const QString& file);

  private:
    struct Entry {
        QDateTime modified;
        qint64 size = -1;
        QPixmap pixmap;
    };
    QString folder_;
    QHash<QString, Entry> entries_;
};

}  // namespace horalun
