// The chart wheel: its pixel geometry, the spreading of crowded glyphs, the drawing steps of the
// aspect lines, and a rendered wheel of a real chart.
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cmath>
#include <filesystem>
#include <memory>
#include <numbers>
#include <set>

#include "core/chart_calculation.h"
#include "ui/chart_wheel.h"
#include "ui/wheel_geometry.h"

using namespace horalun;

namespace {

// Bodies 30° apart from 10°, so that none of them crowds another.
GlyphSet spread_apart() {
    GlyphSet set;
    for (int id = 0; id < 14; ++id) {
        set.member[size_t(id)] = id != wheel_point::SouthNode;
        set.lon[size_t(id)] = 10.0 + 25.0 * id;
    }
    return set;
}

std::vector<WheelStep> steps_of(const std::vector<WheelStep>& all, WheelStep::Kind kind) {
    std::vector<WheelStep> out;
    for (const WheelStep& s : all)
        if (s.kind == kind) out.push_back(s);
    return out;
}

const WheelStep* glyph_step(const std::vector<WheelStep>& steps, const std::string& file) {
    for (const WheelStep& s : steps)
        if (s.kind == WheelStep::Kind::Glyph && s.text == file) return &s;
    return nullptr;
}

// Aspect lines are the coloured lines drawn after the last glyph.
std::vector<WheelStep> aspect_lines(const std::vector<WheelStep>& steps) {
    std::vector<WheelStep> out;
    for (const WheelStep& s : steps) {
        if (s.kind == WheelStep::Kind::Glyph) out.clear();
        if (s.kind == WheelStep::Kind::Line) out.push_back(s);
    }
    return out;
}

QImage render(const ChartState& st, const MainInputs& in, const MainWindowState& win,
              GlyphCache& glyphs) {
    QImage image(kWheelWidth, kWheelHeight, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter p(&image);
    paint_chart_wheel(p, st, in, win, glyphs);
    return image;
}

bool dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 110;
}
bool white(const QImage& image, int x, int y) {
    return image.pixel(x, y) == qRgb(255, 255, 255);
}

// Share of the bitmap's opaque pixels found unchanged at the step's place.
double glyph_match(const QImage& image, const WheelStep& step, GlyphCache& glyphs) {
    const QImage bitmap = glyphs.pixmap(QString::fromStdString(step.text)).toImage();
    int opaque = 0;
    int same = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            if (qAlpha(bitmap.pixel(x, y)) == 0) continue;
            ++opaque;
            same += (image.pixel(step.a.x + x, step.a.y + y) & 0xFFFFFF) ==
                    (bitmap.pixel(x, y) & 0xFFFFFF);
        }
    return opaque ? double(same) / opaque : 0.0;
}

QRgb aspect_colour(const std::string& aspect) {
    if (aspect.starts_with("konjunkce")) return qRgb(229, 103, 1);
    if (aspect.starts_with("trigon")) return qRgb(0, 255, 0);
    if (aspect.starts_with("sextil")) return qRgb(0, 255, 255);
    if (aspect.starts_with("kvadratura")) return qRgb(255, 0, 0);
    return qRgb(0, 0, 255);
}

// Pixels of about that colour inside the aspect area of the natal wheel.
int pixels_of(const QImage& image, QRgb c) {
    int n = 0;
    for (int y = 180; y < 480; ++y)
        for (int x = 180; x < 480; ++x) {
            if (std::hypot(x - 330, y - 330) > 148) continue;
            const QRgb p = image.pixel(x, y);
            n += std::abs(qRed(p) - qRed(c)) < 40 && std::abs(qGreen(p) - qGreen(c)) < 40 &&
                 std::abs(qBlue(p) - qBlue(c)) < 40;
        }
    return n;
}

}  // namespace

class ChartWheelTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY2(std::filesystem::exists(HORALUN_APP_FOLDER "/data.tdb"),
                 "run horalun-data and horalun-glyphs in the program folder first");
        dir_ = std::filesystem::temp_directory_path() /
               ("horalun_wheel_" + std::to_string(QCoreApplication::applicationPid()));
        std::filesystem::create_directories(dir_);
        session_ = std::make_unique<ChartSession>(Database::open(HORALUN_APP_FOLDER "/data.tdb"),
                                                  prompter_, dir_.string());
        session_->state.dstLookupEnabled = true;
        MainInputs& in = session_->inputs;
        in.setText(InputField::NatalDate, "24.4.1966");
        in.setText(InputField::NatalTime, "9:03");
        in.setText(InputField::NatalLon, "14E25");
        in.setText(InputField::NatalLat, "50N05");
        QVERIFY(calculate_chart(*session_).ok());
        glyphs_ = std::make_unique<GlyphCache>(HORALUN_APP_FOLDER);
    }
    void cleanupTestCase() {
        session_.reset();
        std::filesystem::remove_all(dir_);
    }

    void polar_truncates_toward_zero_data() {
        QTest::addColumn<int>("r");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("up") << 100 << 0 << 330 << 189;  // 100·√2 = 141.4
        QTest::newRow("right") << 100 << 90 << 471 << 330;
        QTest::newRow("down") << 100 << 180 << 330 << 471;
        QTest::newRow("left, tick inner end") << 102 << 270 << 186 << 330;
        QTest::newRow("300: -122.47, -70.71") << 100 << 300 << 208 << 260;  // not 207, 259
        QTest::newRow("a beyond 360") << 100 << 660 << 208 << 260;
        QTest::newRow("negative a") << 100 << -60 << 208 << 260;
        QTest::newRow("sign glyph at 285") << 220 << 285 << 30 << 250;
    }
    void polar_truncates_toward_zero() {
        QFETCH(int, r);
        QFETCH(int, a);
        QFETCH(int, x);
        QFETCH(int, y);
        QCOMPARE(polar(330, 330, r, a), (WheelPixel{x, y}));
    }

    void screen_angle_rounds_halves_to_even_data() {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<double>("lon");
        QTest::addColumn<int>("angle");
        QTest::newRow("4.5 down") << 10 << 5.5 << 4;
        QTest::newRow("5.5 up") << 10 << 4.5 << 6;
        QTest::newRow("-0.5 is 0, not 360") << 0 << 0.5 << 0;
        QTest::newRow("-1.5 is -2") << 0 << 1.5 << 358;
        QTest::newRow("-2.5 is -2") << 0 << 2.5 << 358;
        QTest::newRow("negative plus 360") << 10 << 200.0 << 170;
        QTest::newRow("lifted display longitude") << 270 << 361.15 << 269;
        QTest::newRow("below 0") << 270 << -1.4 << 271;
    }
    void screen_angle_rounds_halves_to_even() {
        QFETCH(int, rotation);
        QFETCH(double, lon);
        QFETCH(int, angle);
        QCOMPARE(screen_angle(rotation, lon), angle);
    }

    void ascendant_stands_at_the_left() {
        QCOMPARE(wheel_rotation(0.0), 270);
        QCOMPARE(wheel_rotation(90.5), 0);
        QCOMPARE(wheel_rotation(91.5), 2);
        QCOMPARE(wheel_rotation(89.5), 0);
        for (double asc = 0.0; asc <= 360.0; asc += 0.125)
            QCOMPARE(screen_angle(wheel_rotation(asc), asc), 270);
    }

    void sign_glyph_offsets_data() {
        QTest::addColumn<int>("angle");
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::newRow("0 none") << 0 << 0 << 0;
        QTest::newRow("1") << 1 << -23 << 9;
        QTest::newRow("30 first range") << 30 << -23 << 9;
        QTest::newRow("31") << 31 << -32 << 4;
        QTest::newRow("360 from 330-360") << 360 << -15 << 9;
        QTest::newRow("361") << 361 << -23 << 9;
        QTest::newRow("660") << 660 << 8 << -8;
        QTest::newRow("661 second turn") << 661 << 2 << 2;
        QTest::newRow("690") << 690 << 2 << 2;
        QTest::newRow("720") << 720 << -15 << 9;
        QTest::newRow("721 none") << 721 << 0 << 0;
    }
    void sign_glyph_offsets() {
        QFETCH(int, angle);
        QFETCH(int, dx);
        QFETCH(int, dy);
        QCOMPARE(sign_glyph_offset(angle), (WheelPixel{dx, dy}));
    }

    // Ascendant at 0° Aries: the ring starts at the left and runs Pisces, Aquarius, ...
    // clockwise.
    void zodiac_ring_with_ascendant_at_aries() {
        ChartState st;
        for (int i = 1; i <= 12; ++i) st.cusp[size_t(i)] = (i - 1) * 30.0;
        const auto glyphs = steps_of(wheel_steps(st, {}), WheelStep::Kind::Glyph);
        const std::vector<std::string> order = {
            "ryby.bmp",  "vodnar.bmp", "kozoroh.bmp", "strelec.bmp",  "stir.bmp", "vahy.bmp",
            "panna.bmp", "lev.bmp",    "rak.bmp",     "blizenci.bmp", "byk.bmp",  "beran.bmp"};
        QVERIFY(glyphs.size() >= order.size());
        for (size_t k = 0; k < order.size(); ++k) {
            QCOMPARE(glyphs[k].text, order[k]);
            const int a = 270 + 15 + 30 * int(k);
            const WheelPixel p = polar(330, 330, 220, a);
            const WheelPixel d = sign_glyph_offset(a + 1);
            QCOMPARE(glyphs[k].a, (WheelPixel{p.x + d.x, p.y + d.y}));
        }
        QVERIFY(glyphs[0].a.x < 60 && glyphs[0].a.y < 330);  // Pisces just above the left end
    }

    // Bodies at 359.5° and 0.5°: the smaller is lifted by 360 and both move apart above 359°.
    void glyphs_across_aries_go_to_one_side() {
        GlyphSet set = spread_apart();
        set.lon[0] = 359.5;
        set.lon[1] = 0.5;
        const auto two = spread_glyphs(set, 13, 2);
        QVERIFY(std::abs(two[0] - 359.05) < 1e-9);  // ten pushes of 0.045 and 0.065
        QVERIFY(std::abs(two[1] - 361.15) < 1e-9);
        const auto five = spread_glyphs(set, 13, 5);
        QVERIFY(std::abs(five[0] - 357.55) < 1e-9);  // then fifteen of 0.1 each way
        QVERIFY(std::abs(five[1] - 362.65) < 1e-9);
        for (int id : {2, 3, 4, 12, 13}) QCOMPARE(five[size_t(id)], set.lon[size_t(id)]);
    }

    // 1.5° apart: the first relaxation alone reaches 2°, so limits 1 and 2 agree.
    void spacing_below_two_changes_nothing() {
        GlyphSet set = spread_apart();
        set.lon[4] = 100.0;
        set.lon[5] = 101.5;
        const auto one = spread_glyphs(set, 13, 1);
        const auto two = spread_glyphs(set, 13, 2);
        QCOMPARE(one, two);
        QVERIFY(std::abs(one[5] - one[4] - 2.05) < 1e-9);
        const auto three = spread_glyphs(set, 13, 3);
        QVERIFY(three[5] - three[4] >= 3.0 && three[5] - three[4] < 3.2);
    }

    // Equal longitudes keep slot order: the later one is pushed up. The Part of Fortune's slot
    // comes after the second chart's angles.
    void equal_longitudes_keep_slot_order() {
        GlyphSet set = spread_apart();
        set.lon[0] = 200.0;
        set.lon[9] = 200.0;
        set.member[wheel_point::Fortune] = true;
        set.lon[wheel_point::Fortune] = 300.0;
        set.member[wheel_point::Asc] = true;
        set.lon[wheel_point::Asc] = 300.0;
        const auto d = spread_glyphs(set, 15, 5);
        QVERIFY(d[9] > 202.0 && d[0] < 198.0);
        QVERIFY(d[wheel_point::Fortune] > 302.0 && d[wheel_point::Asc] < 298.0);
    }

    // Parsing, filter, colours and widths of the aspect lines, on a hand-made list.
    void aspect_lines_pens_and_filter() {
        ChartState st;
        for (int i = 1; i <= 12; ++i) st.cusp[size_t(i)] = (i - 1) * 30.0;
        for (int id = 0; id < 14; ++id) st.natalLon[PointKey(id)] = 5.0 + 25.0 * id;
        st.planetAspects = true;
        st.aspectPairs =
            "Slunce    |Měsíc     |trigon    |0,40|"  // comma separator: 0.40, width 4
            "Mars      |Jupiter   |kvadratura|5,10|"  // 5.10: width 1
            "Venuše    |Mars      |neznámý   |2.5|"   // unknown aspect keeps red; 2.5: width 3
            "Merkur    |Saturn    |sextil    | |"     // a blank orb keeps the width
            "Slunce    |Již. Uzel |opozice   |1.0|"   // south node unticked: no line
            "3. dům    |Slunce    |konjunkce |3.0|"   // house aspects off: no line
            "Mars      |Uran      |trigon    |4.";    // incomplete entry
        WheelOptions o;
        auto lines = aspect_lines(wheel_steps(st, o));
        QCOMPARE(lines.size(), size_t(4));
        QCOMPARE(lines[0].rgb, 0x00FF00u);
        QCOMPARE(lines[0].width, 4);
        QCOMPARE(lines[0].a, polar(330, 330, 102, screen_angle(270, 5.0)));
        QCOMPARE(lines[0].b, polar(330, 330, 102, screen_angle(270, 30.0)));
        QCOMPARE(lines[1].rgb, 0xFF0000u);
        QCOMPARE(lines[1].width, 1);
        QCOMPARE(lines[2].rgb, 0xFF0000u);
        QCOMPARE(lines[2].width, 3);
        QCOMPARE(lines[3].rgb, 0x00FFFFu);
        QCOMPARE(lines[3].width, 3);

        o.aspectFilter = "Mars";
        lines = aspect_lines(wheel_steps(st, o));
        QCOMPARE(lines.size(), size_t(2));  // Mars first, and Mars second
        QCOMPARE(lines[1].width, 3);        // the filtered entries still set the pen

        o.aspectFilter.clear();
        o.southNode = true;
        st.houseAspects = true;
        lines = aspect_lines(wheel_steps(st, o));
        QCOMPARE(lines.size(), size_t(6));
        QCOMPARE(lines[5].a, polar(330, 330, 102, screen_angle(270, 60.0)));  // 3rd cusp
        QCOMPARE(lines[5].rgb, 0xE56701u);
        QCOMPARE(lines[5].width, 2);
    }

    // The real chart: the horizon, a circle, the Sun's glyph on its tick, and the filter.
    void rendered_natal_wheel() {
        const ChartState& st = session_->state;
        const int rotation = wheel_rotation(st.cusp[1]);
        QCOMPARE(screen_angle(rotation, st.cusp[1]), 270);
        const QImage image = render(st, session_->inputs, session_->window, *glyphs_);

        QVERIFY(dark(image, 8, 329) && dark(image, 8, 330));  // the horizon, pen width 2
        QVERIFY(white(image, 8, 326) && white(image, 8, 334));
        QVERIFY(dark(image, 330, 19) && dark(image, 330, 20));  // the outer circle at the top
        QVERIFY(white(image, 330, 12) && white(image, 12, 12));

        // A body whose glyph no other glyph overlaps: drawn unchanged, centred near its exact
        // direction, its tick running out from its exact place (the aspect lines run inward).
        const auto steps = wheel_steps(st, wheel_options(session_->inputs, session_->window));
        const std::array<const char*, 13> bodies = {
            "slunce", "mesic",  "merkur", "venuse", "mars",   "jupiter", "saturn",
            "uran",   "neptun", "pluto",  "s_uzel", "chiron", "lilith"};
        int checked = 0;
        for (const char* body : bodies) {
            const WheelStep* g = glyph_step(steps, std::string(body) + ".bmp");
            QVERIFY2(g, body);
            bool alone = true;
            for (const WheelStep& other : steps_of(steps, WheelStep::Kind::Glyph))
                if (other.text != g->text && std::abs(other.a.x - g->a.x) < 40 &&
                    std::abs(other.a.y - g->a.y) < 40)
                    alone = false;
            if (!alone) continue;
            ++checked;
            QVERIFY2(glyph_match(image, *g, *glyphs_) > 0.95, body);
            const int e = screen_angle(rotation, st.natalLon[*point_key_from_text(body)]);
            const double seen =
                std::atan2(g->a.x + 20 - 330, 330 - (g->a.y + 20)) * 180 / std::numbers::pi;
            QVERIFY2(std::abs(std::remainder(seen - e, 360.0)) < 8.0,
                     qPrintable(QString("%1 glyph at %2°, exact %3°").arg(body).arg(seen).arg(e)));
            const WheelPixel inner = polar(330, 330, 102, e);
            const WheelPixel outer = polar(330, 330, 115, e);
            QVERIFY2(
                dark(image, inner.x + (outer.x - inner.x) / 4, inner.y + (outer.y - inner.y) / 4),
                body);
        }
        QVERIFY(checked >= 2);
        QVERIFY(!glyph_step(steps, "otec.bmp") && !glyph_step(steps, "as_c.bmp"));
    }

    // With the filter only the aspects of that point stay: every colour that only other aspects
    // use disappears.
    void aspect_filter_hides_other_aspects() {
        MainWindowState win = session_->window;
        win.aspectFilter = "Mars";
        std::set<QRgb> kept, others;
        for (const AspectPairEntry& e : parse_aspect_pairs(session_->state.aspectPairs))
            (e.first.starts_with("Mars") || e.second.starts_with("Mars") ? kept : others)
                .insert(aspect_colour(e.aspect));
        for (QRgb c : kept) others.erase(c);
        QVERIFY(!kept.empty() && !others.empty());

        const QImage all = render(session_->state, session_->inputs, session_->window, *glyphs_);
        const QImage mars = render(session_->state, session_->inputs, win, *glyphs_);
        int shown = 0;  // a conjunction's line may be only a few pixels long
        for (QRgb c : kept) shown += pixels_of(mars, c);
        QVERIFY(shown > 20);
        for (QRgb c : others) {
            QVERIFY(pixels_of(all, c) > 20);
            QCOMPARE(pixels_of(mars, c), 0);
        }
    }

    // The second chart inside, with its ascendant and every optional point; small glyphs drop
    // the Arabic part's glyph.
    void rendered_second_chart() {
        ChartSession& s = *session_;
        MainInputs& in = s.inputs;
        in.setText(InputField::TransitDate, "11.12.2026");
        in.setText(InputField::TransitTime, "14:00");
        in.setText(InputField::TransitLon, "14E25");
        in.setText(InputField::TransitLat, "50N05");
        in.setBox(Box::Transits, true);
        for (Box b : {Box::Fortune, Box::SouthNode, Box::AngleAsc}) in.setBox(b, true);
        in.setBox(Box::Arabic, true);
        s.state.arabicPart = 1;
        QVERIFY(calculate_chart(s).ok());

        const QImage image = render(s.state, in, s.window, *glyphs_);
        auto steps = wheel_steps(s.state, wheel_options(in, s.window));
        for (const char* file : {"as_c.bmp", "slunce1.bmp", "stesti1.bmp", "otec.bmp"}) {
            const WheelStep* g = glyph_step(steps, file);
            QVERIFY2(g, file);
            QVERIFY2(glyph_match(image, *g, *glyphs_) > 0.8, file);
        }
        QVERIFY(!glyph_step(steps, "m_c.bmp"));
        const WheelStep* asc = glyph_step(steps, "as_c.bmp");
        QVERIFY(std::hypot(asc->a.x + 15 - 330, asc->a.y + 15 - 330) < 145);  // the inner ring

        s.window.smallGlyphs = true;
        steps = wheel_steps(s.state, wheel_options(in, s.window));
        QVERIFY(!glyph_step(steps, "otec.bmp") && glyph_step(steps, "slunce1.bmp"));
        s.window.smallGlyphs = false;
    }

  private:
    std::filesystem::path dir_;
    ScriptedPrompter prompter_;
    std::unique_ptr<ChartSession> session_;
    std::unique_ptr<GlyphCache> glyphs_;
};

QTEST_MAIN(ChartWheelTest)
#include "chart_wheel_test.moc"
