// Tests of horalun-glyphs: every bitmap the program loads is in its folder at its size, on white
// with the glyph centred and whole; the icon holds several sizes; a re-run rewrites nothing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

struct Expected {
    std::string file;
    int size;
};

// The files the program reads, with the box each must have (written out here rather than
// taken from the tool, so a file it forgets or sizes wrongly is caught).
std::vector<Expected> expected_bitmaps() {
    std::vector<Expected> list;
    static const char* const bodies[] = {"slunce",  "mesic",  "merkur", "venuse", "mars",
                                         "jupiter", "saturn", "uran",   "neptun", "pluto",
                                         "s_uzel",  "j_uzel", "chiron", "lilith", "stesti"};
    static const char* const signs[] = {"beran", "byk",  "blizenci", "rak",     "lev",    "panna",
                                        "vahy",  "stir", "strelec",  "kozoroh", "vodnar", "ryby"};
    auto add = [&](std::string name, int size) { list.push_back({std::move(name), size}); };
    for (const char* b : bodies) {
        add(std::string(b) + ".bmp", 40);
        add(std::string(b) + "1.bmp", 30);
    }
    for (const char* s : signs) {
        add(std::string(s) + ".bmp", 32);
        add(std::string(s) + "_b_20.bmp", 20);
    }
    for (const char* a : {"as_c.bmp", "m_c.bmp", "des_c.bmp", "i_c.bmp"}) add(a, 30);
    add("otec.bmp", 40);
    add("otec1.bmp", 20);
    add("slunce_b_20.bmp", 20);
    add("mesic_b_20.bmp", 20);
    add("sipkad.bmp", 20);
    add("sipkan.bmp", 20);
    return list;
}

// Bounding box of the pixels that are not pure white.
std::optional<QRect> ink_box(const QImage& image) {
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) == 0xffffff) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return std::nullopt;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// Bits per pixel from a BMP file header.
int bmp_bit_count(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray head = file.read(30);
    if (head.size() < 30 || !head.startsWith("BM")) return 0;
    return static_cast<uchar>(head[28]) | (static_cast<uchar>(head[29]) << 8);
}

// Checks one delivered bitmap; returns a description of the first fault, empty when sound.
std::string bitmap_fault(const QDir& dir, const Expected& e) {
    const QString path = dir.filePath(QString::fromStdString(e.file));
    if (!QFileInfo::exists(path)) return "missing";
    const QImage image(path, "BMP");
    if (image.isNull()) return "does not load as BMP";
    if (image.width() != e.size || image.height() != e.size) {
        return "is " + std::to_string(image.width()) + "x" + std::to_string(image.height());
    }
    if (bmp_bit_count(path) != 24) return "is not a 24-bit BMP";
    if (image.pixel(0, e.size - 1) != qRgb(255, 255, 255)) return "bottom-left pixel not white";
    const std::optional<QRect> ink = ink_box(image);
    if (!ink) return "is empty";
    const int left = ink->left();
    const int right = e.size - 1 - ink->right();
    const int top = ink->top();
    const int bottom = e.size - 1 - ink->bottom();
    if (std::min({left, right, top, bottom}) < 1) return "glyph touches the edge";
    if (std::abs(left - right) > 2 || std::abs(top - bottom) > 2) {
        return "glyph off centre: margins l" + std::to_string(left) + " r" + std::to_string(right) +
               " t" + std::to_string(top) + " b" + std::to_string(bottom);
    }
    if (std::max(ink->width(), ink->height()) < e.size / 2) return "glyph too small";
    return {};
}

// Column of the arrow's head: the column holding the most ink.
int tallest_column(const QImage& image) {
    int best = -1, bestCount = -1;
    for (int x = 0; x < image.width(); ++x) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y) count += qGray(image.pixel(x, y)) < 128;
        if (count > bestCount) {
            best = x;
            bestCount = count;
        }
    }
    return best;
}

struct ToolRun {
    int exitCode;
    QString output;
};

ToolRun run_tool(const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(HORALUN_GLYPHS_TOOL, args);
    if (!process.waitForFinished(60000)) return {-1, "did not finish"};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

std::map<QString, QDateTime> modification_times(const QDir& dir) {
    std::map<QString, QDateTime> times;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files)) {
        times[info.fileName()] = info.lastModified();
    }
    return times;
}

// The program's folder, filled by the horalun_glyphs fixture.
const QDir kAppDir(HORALUN_APP_DIR);

TEST(GlyphFiles, EveryBitmapIsPresentAtItsSizeCentredOnWhite) {
    for (const Expected& e : expected_bitmaps()) {
        EXPECT_EQ(bitmap_fault(kAppDir, e), "") << e.file;
    }
}

TEST(GlyphFiles, NoTwoBitmapsAreTheSamePicture) {
    // A symbol given to the wrong file usually shows up as a duplicate (the Arabic part drawn
    // as the Part of Fortune, two signs swapped into one).
    std::map<QByteArray, std::string> seen;
    for (const Expected& e : expected_bitmaps()) {
        QFile file(kAppDir.filePath(QString::fromStdString(e.file)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << e.file;
        const auto [it, fresh] = seen.emplace(file.readAll(), e.file);
        EXPECT_TRUE(fresh) << e.file << " repeats " << it->second;
    }
}

TEST(GlyphFiles, ForwardArrowPointsRightAndBackwardIsItsMirror) {
    const QImage forward(kAppDir.filePath("sipkad.bmp"));
    const QImage backward(kAppDir.filePath("sipkan.bmp"));
    ASSERT_FALSE(forward.isNull());
    ASSERT_FALSE(backward.isNull());
    EXPECT_GT(tallest_column(forward), forward.width() / 2);
    EXPECT_EQ(backward, forward.mirrored(true, false));
}

TEST(GlyphFiles, IconHoldsSeveralSizesWithATransparentCorner) {
    QImageReader reader(kAppDir.filePath("myicon.ico"), "ico");
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    std::set<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << "image " << i;
        EXPECT_EQ(image.width(), image.height());
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << image.width() << " px";
        EXPECT_GT(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 0);
        sizes.insert(image.width());
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
}

TEST(GlyphTool, RerunRewritesOnlyChangedFilesAndWritesTheSheet) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir out(temp.filePath("app"));
    const QString sheet = temp.filePath("sheet.png");
    const ToolRun first = run_tool({"--out", out.path(), "--sheet", sheet});
    ASSERT_EQ(first.exitCode, 0) << first.output.toStdString();
    for (const Expected& e : expected_bitmaps()) EXPECT_EQ(bitmap_fault(out, e), "") << e.file;
    EXPECT_TRUE(QFileInfo::exists(out.filePath("myicon.ico")));
    EXPECT_FALSE(QImage(sheet).isNull());

    const auto before = modification_times(out);
    QFile damaged(out.filePath("mars.bmp"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a bitmap");
    damaged.close();

    const ToolRun second = run_tool({"--out", out.path()});
    ASSERT_EQ(second.exitCode, 0) << second.output.toStdString();
    EXPECT_TRUE(second.output.contains("1 rewritten")) << second.output.toStdString();
    EXPECT_EQ(bitmap_fault(out, {"mars.bmp", 40}), "");
    auto after = modification_times(out);
    EXPECT_EQ(after.size(), before.size());
    after.erase("mars.bmp");
    auto unchanged = before;
    unchanged.erase("mars.bmp");
    EXPECT_EQ(after, unchanged);
}

TEST(GlyphTool, FailsCleanlyWithoutItsFont) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir out(temp.filePath("app"));
    const ToolRun run = run_tool({"--out", out.path(), "--fonts", temp.filePath("no-fonts")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains("DejaVuSans.ttf")) << run.output.toStdString();
    EXPECT_FALSE(out.exists());
}

TEST(GlyphTool, RejectsAnUnknownArgument) {
    const ToolRun run = run_tool({"--bogus"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains("usage:")) << run.output.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    // Image format plugins (the icon reader) are found through the application object.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
