// horalun-glyphs: renders the bitmap files and the icon into the program's folder.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <exception>
#include <iostream>
#include <string_view>

#include "tools/horalun_glyphs/contact_sheet.h"
#include "tools/horalun_glyphs/glyph_catalogue.h"
#include "tools/horalun_glyphs/glyph_renderer.h"
#include "tools/horalun_glyphs/image_files.h"

namespace {

constexpr const char* kUsage =
    "usage: horalun-glyphs [--out DIR] [--sheet FILE.png] [--fonts DIR]\n"
    "Renders the glyph bitmaps and myicon.ico into DIR (default: the working directory),\n"
    "rewriting only files whose content changed. --sheet also writes an overview of all\n"
    "images. --fonts names the folder of DejaVuSans.ttf (default " HORALUN_FONT_DIR ").\n";

struct Options {
    QString out = ".";
    QString sheet;
    QString fonts = HORALUN_FONT_DIR;
};

int run(const Options& options) {
    using namespace horalun;
    const std::vector<GlyphSpec> catalogue = glyph_catalogue();
    const GlyphRenderer renderer(options.fonts, catalogue);
    if (!QDir().mkpath(options.out)) {
        throw std::runtime_error("cannot create the folder " + options.out.toStdString());
    }
    const QDir out(options.out);
    int written = 0;
    std::vector<SheetEntry> sheet;
    for (const GlyphSpec& spec : catalogue) {
        const QImage image = renderer.render(spec);
        if (write_if_changed(out.filePath(spec.file), encode_bmp(image))) {
            std::cout << "  " << spec.file.toStdString() << "\n";
            ++written;
        }
        sheet.push_back({spec.file, image});
    }
    std::vector<QImage> icons;
    for (const int size : icon_sizes()) {
        icons.push_back(renderer.render_icon(size));
        sheet.push_back({QString("%1 (%2 px)").arg(kIconFile).arg(size), icons.back()});
    }
    if (write_if_changed(out.filePath(kIconFile), encode_ico(icons))) {
        std::cout << "  " << kIconFile.toStdString() << "\n";
        ++written;
    }
    std::cout << "horalun-glyphs: " << catalogue.size() + 1 << " files in "
              << QDir::toNativeSeparators(out.absolutePath()).toStdString() << ", " << written
              << " rewritten\n";
    if (!options.sheet.isEmpty()) {
        if (!contact_sheet(sheet).save(options.sheet, "PNG")) {
            throw std::runtime_error("cannot write " + options.sheet.toStdString());
        }
        std::cout << "contact sheet: " << options.sheet.toStdString() << "\n";
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Rendering needs no display; an explicit choice of the caller still wins.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Options options;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--out" && hasValue) {
            options.out = args[++i];
        } else if (arg == "--sheet" && hasValue) {
            options.sheet = args[++i];
        } else if (arg == "--fonts" && hasValue) {
            options.fonts = args[++i];
        } else if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        } else {
            std::cerr << "horalun-glyphs: unexpected argument \"" << arg.toStdString() << "\"\n"
                      << kUsage;
            return 1;
        }
    }
    try {
        return run(options);
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "horalun-glyphs: " << e.what() << "\n";
        return 1;
    }
}
