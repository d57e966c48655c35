// BMP and ICO encoding and the write that leaves unchanged files (and their times) alone.
#include "tools/horalun_glyphs/image_files.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QSaveFile>
#include <stdexcept>

namespace horalun {

namespace {

// Larger icon images are stored as PNG, which keeps the file small.
constexpr int kPngFromSize = 128;

QByteArray encode_with(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) {
        throw std::runtime_error(std::string("cannot encode an image as ") + format);
    }
    return bytes;
}

// BITMAPINFOHEADER, the colour rows bottom-up as BGRA, then the 1-bit AND mask (1 where
// transparent), each mask row padded to four bytes.
QByteArray icon_dib(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(32) << quint32(0)
        << quint32(w * h * 4 + maskStride * h) << qint32(0) << qint32(0) << quint32(0)
        << quint32(0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) out << quint32(line[x]);
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(line[x]) == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.writeRawData(row.constData(), row.size());
    }
    return bytes;
}

}  // namespace

QByteArray encode_bmp(const QImage& image) {
    return encode_with(image.convertToFormat(QImage::Format_RGB32), "BMP");
}

QByteArray encode_ico(const std::vector<QImage>& images) {
    std::vector<QByteArray> data;
    for (const QImage& image : images) {
        if (image.width() != image.height() || image.width() > 256 || image.width() < 1) {
            throw std::runtime_error("icon images must be squares of 1 to 256 pixels");
        }
        data.push_back(image.width() >= kPngFromSize ? encode_with(image, "PNG") : icon_dib(image));
    }
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        const quint8 side = size == 256 ? 0 : static_cast<quint8>(size);  // 0 stands for 256
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(data[i].size()) << offset;
        offset += static_cast<quint32>(data[i].size());
    }
    for (const QByteArray& d : data) out.writeRawData(d.constData(), d.size());
    return bytes;
}

bool write_if_changed(const QString& path, const QByteArray& bytes) {
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == bytes.size() &&
        existing.readAll() == bytes) {
        return false;
    }
    existing.close();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
    }
    return true;
}

}  // namespace horalun
