#include "ui/sign_glyph.h"

#include <QLabel>

#include "core/zodiac.h"
#include "ui/glyph_cache.h"

namespace horalun {

void load_sign_glyph(std::string_view signName, QLabel* image, GlyphCache& glyphs) {
    if (image == nullptr) return;
    const int index = sign_index(signName);
    if (index < 0) {
        image->setPixmap(QPixmap());
        return;
    }
    const std::string_view file = zodiac_signs()[size_t(index)].glyphFile;
    image->setPixmap(glyphs.pixmap(QString::fromLatin1(file.data(), qsizetype(file.size()))));
}

}  // namespace horalun
