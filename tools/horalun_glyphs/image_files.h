// Encodes the delivered images (BMP files and a multi-size ICO file) and writes a file only
// when its content changed.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace horalun {

// A 24-bit BMP of `image`.
QByteArray encode_bmp(const QImage& image);

// An ICO file holding `images` (square, at most 256 pixels): 32-bit bitmaps with an AND mask
// for the small sizes, PNG for 256 pixels, as Windows and Qt both read them.
QByteArray encode_ico(const std::vector<QImage>& images);

// Writes `bytes` to `path` unless the file already holds exactly them; true when written.
// Throws std::runtime_error when the file cannot be written.
bool write_if_changed(const QString& path, const QByteArray& bytes);

}  // namespace horalun
