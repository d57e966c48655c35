// The aspect table, the settings dialog and the summer-time table, on the offscreen platform and
// the generated data.tdb of the program's folder. Tests that write settings work on a copy.
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/chart_calculation.h"
#include "core/points.h"
#include "data/settings_record.h"
#include "data/text_format.h"
#include "ui/aspect_table.h"
#include "ui/settings_dialog.h"
#include "ui/summer_time_window.h"

using namespace horalun;

namespace {

const QString kAppData = QStringLiteral(HORALUN_APP_FOLDER "/data.tdb");

QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

void write_file(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

QStringList cells_of(const QTableWidget* grid, int row) {
    QStringList cells;
    for (int col = 0; col < grid->columnCount(); ++col) {
        const QTableWidgetItem* item = grid->item(row, col);
        cells << (item ? item->text() : QString());
    }
    return cells;
}

QColor pixel_in_cell(QAbstractItemView* view, const QModelIndex& index) {
    const QImage image = view->viewport()->grab().toImage();
    const QRect r = view->visualRect(index).intersected(view->viewport()->rect());
    return image.pixelColor(r.right() - 3, r.bottom() - 3);  // away from the text
}

// A session on its own copy of data.tdb, so that saving settings leaves the shared file alone.
struct SettingsFixture {
    SettingsFixture() {
        if (!dir.isValid() || !QFile::copy(kAppData, dir.filePath("data.tdb")))
            qFatal("cannot copy data.tdb");
        db = Database::open(dir.filePath("data.tdb").toStdString());
        session = std::make_unique<ChartSession>(db, prompter, dir.path().toStdString());
    }
    // The record as texts by position, for before/after comparisons.
    QStringList record() const {
        Cursor c(db, "nastaveni_aspektu", true);
        QStringList values;
        for (int i = 0; i < int(c.fields().size()); ++i) values << q(c.asText(i));
        return values;
    }
    void store(int position, const std::string& text) const {
        Cursor c(db, "nastaveni_aspektu");
        c.edit();
        c.setText(position, text);
        c.post();
    }

    QTemporaryDir dir;
    std::shared_ptr<Database> db;
    ScriptedPrompter prompter;
    std::unique_ptr<ChartSession> session;
};

}  // namespace

class TablesAndSettingsTest : public QObject {
    Q_OBJECT

  private slots:
    // ---- the aspect table ----

    void conversion_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<bool>("exact");
        QTest::newRow("trine under ten minutes")
            << "Slunce     trigon     Mars        0°05'  A"
            << QStringList{"Slunce", "trigon", "Mars", "0°05'", "A"} << true;
        QTest::newRow("negative orb")
            << "Slunce     trigon     Mars       -0°05'  A"
            << QStringList{"Slunce", "trigon", "Mars", "-0°05'", "A"} << false;
        QTest::newRow("ten minutes and more")
            << "Slunce     sextil     Venuše      0°10'  S"
            << QStringList{"Slunce", "sextil", "Venuše", "0°10'", "S"} << false;
        QTest::newRow("nodes stay one cell")
            << "Sev. Uzel  sextil     Již. Uzel   3°10'  S"
            << QStringList{"Sev. Uzel", "sextil", "Již. Uzel", "3°10'", "S"} << false;
        QTest::newRow("fortune and a house")
            << "Bod štěstí opozice    11. dům     0°00'  S"
            << QStringList{"Bod štěstí", "opozice", "11. dům", "0°00'", "S"} << true;
        QTest::newRow("houses 1 and 12")
            << "1. dům     kvadratura 12. dům     2°00'  A"
            << QStringList{"1. dům", "kvadratura", "12. dům", "2°00'", "A"} << false;
        // The joins match in any letter case and put in their own spelling.
        QTest::newRow("joins ignore letter case")
            << "bod štěstí konjunkce  JIŽ. UZEL   0°01'  A"
            << QStringList{"Bod štěstí", "konjunkce", "Již. UZEL", "0°01'", "A"} << true;
        // A second-chart angle falls apart into two cells and pushes the mark out.
        QTest::newRow("angle of the second chart")
            << "ASC. par.   konjunkce  12. dům     0°01'  A"
            << QStringList{"ASC.", "par.", "konjunkce", "12. dům", "0°01'"} << false;
        QTest::newRow("twelve-character angle")
            << "DESC. par.   trigon     Slunce      0°03'  S"
            << QStringList{"DESC.", "par.", "trigon", "Slunce", "0°03'"} << false;
        // Ten characters, not ten bytes.
        QTest::newRow("cells keep ten characters")
            << "ěščřžýáíéůú kvadratura123 x y z extra"
            << QStringList{"ěščřžýáíéů", "kvadratura", "x", "y", "z"} << false;
        QTest::newRow("short line")
            << "Slunce trigon" << QStringList{"Slunce", "trigon", "", "", ""} << false;
        QTest::newRow("empty line") << "" << QStringList{"", "", "", "", ""} << false;
        // A hundred blanks shrink to fifteen separators: the shortening has its limits.
        QTest::newRow("very long run")
            << "a" + QString(100, ' ') + "b" << QStringList{"a", "", "", "", ""} << false;
        QTest::newRow("eight blanks are one separator")
            << "a" + QString(8, ' ') + "b" + QString(7, ' ') + "c" + QString(6, ' ') + "d" +
                   QString(5, ' ') + "e"
            << QStringList{"a", "b", "c", "d", "e"} << false;
    }
    void conversion() {
        QFETCH(QString, line);
        QFETCH(QStringList, cells);
        QFETCH(bool, exact);
        const std::array<QString, 5> got = convert_aspect_line(line);
        QCOMPARE(QStringList(got.begin(), got.end()), cells);
        QCOMPARE(is_exact_aspect_row(got), exact);
    }

    void aspect_window_shape() {
        QTemporaryDir dir;
        write_file(dir.filePath("aspekty.txt"),
                   "Slunce     trigon     Mars        0\xB0"
                   "05'  A\r\n");
        TForm3 w(dir.path());
        QCOMPARE(w.windowTitle(), QString("Tabulka aspektů"));
        QCOMPARE(w.size(), QSize(541, 694));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(!(w.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(w.windowFlags() & Qt::WindowSystemMenuHint));
        QVERIFY(w.findChild<QLabel*>() != nullptr);
        QCOMPARE(w.findChild<QLabel*>()->text(), QString("Tabulka jednotlivých aspektů"));
        QTableWidget* grid = w.grid();
        QCOMPARE(grid->geometry(), QRect(24, 37, 497, 604));
        QCOMPARE(grid->columnCount(), 5);
        for (int col = 0; col < 5; ++col) QCOMPARE(grid->columnWidth(col), 100);
        QCOMPARE(grid->rowHeight(0), 25);
        QVERIFY(grid->horizontalHeader()->isHidden());
        QVERIFY(grid->verticalHeader()->isHidden());
        QVERIFY(grid->showGrid());
        QVERIFY(grid->font().bold());
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!(grid->item(0, 0)->flags() & Qt::ItemIsEditable));
        QCOMPARE(cells_of(grid, 0), (QStringList{"Slunce", "trigon", "Mars", "0°05'", "A"}));
        QCOMPARE(w.closeButton()->text(), QString("Zavřít"));
        QVERIFY(w.closeButton()->isDefault());
        QCOMPARE(w.closeButton()->geometry(), QRect(232, 661, 75, 25));
    }

    void aspect_window_closes_with_enter_escape_and_button_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Enter in the grid") << 0;
        QTest::newRow("Escape in the grid") << 1;
        QTest::newRow("the button") << 2;
    }
    void aspect_window_closes_with_enter_escape_and_button() {
        QFETCH(int, how);
        QTemporaryDir dir;
        write_file(dir.filePath("aspekty.txt"),
                   "Slunce trigon Mars 1\xB0"
                   "00' A\r\n");
        TForm3 w(dir.path());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.grid()->setFocus();
        if (how == 0) QTest::keyClick(w.grid(), Qt::Key_Return);
        if (how == 1) QTest::keyClick(w.grid(), Qt::Key_Escape);
        if (how == 2) QTest::mouseClick(w.closeButton(), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }

    void aspect_window_reads_missing_and_empty_files() {
        QTemporaryDir dir;
        QCOMPARE(TForm3(dir.path()).grid()->rowCount(), 0);  // no aspekty.txt
        write_file(dir.filePath("aspekty.txt"), "");
        QCOMPARE(TForm3(dir.path()).grid()->rowCount(), 0);
        // The last line needs no line end; an inner empty line is an empty row.
        write_file(dir.filePath("aspekty.txt"), "Slunce trigon Mars\r\n\r\nMars sextil Pluto");
        const TForm3 w(dir.path());
        QCOMPARE(w.grid()->rowCount(), 3);
        QCOMPARE(cells_of(w.grid(), 1), (QStringList{"", "", "", "", ""}));
        QCOMPARE(cells_of(w.grid(), 2), (QStringList{"Mars", "sextil", "Pluto", "", ""}));
    }

    void aspect_window_highlights_up_to_row_300() {
        QTemporaryDir dir;
        QByteArray text;
        for (int i = 0; i < 303; ++i)
            text += (i == 5 ? "Slunce trigon Mars -0\xB0"
                              "05' A\r\n"
                            : "Slunce trigon Mars 0\xB0"
                              "05' A\r\n");
        write_file(dir.filePath("aspekty.txt"), text);
        TForm3 w(dir.path());
        QCOMPARE(w.grid()->rowCount(), 303);
        QVERIFY(w.isHighlighted(0));
        QVERIFY(!w.isHighlighted(5));
        QVERIFY(w.isHighlighted(300));
        QVERIFY(!w.isHighlighted(301));
        QVERIFY(!w.isHighlighted(302));

        // The exact rows are painted in their colour even when selected; the others are not.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTableWidget* grid = w.grid();
        grid->setCurrentCell(0, 2);
        QCOMPARE(pixel_in_cell(grid, grid->model()->index(0, 2)), QColor(208, 190, 241));
        QCOMPARE(pixel_in_cell(grid, grid->model()->index(1, 4)), QColor(208, 190, 241));
        QVERIFY(pixel_in_cell(grid, grid->model()->index(5, 1)) != QColor(208, 190, 241));
    }

    // Lines the chart calculation writes: a second chart with its four angles, house aspects,
    // the south node and the Part of Fortune, in Windows-1250.
    void aspect_window_shows_calculated_lines() {
        QTemporaryDir dir;
        ScriptedPrompter prompter;
        ChartSession session(Database::open(kAppData.toStdString()), prompter,
                             dir.path().toStdString());
        session.state.dstLookupEnabled = true;
        session.state.dstMode = '1';
        MainInputs& in = session.inputs;
        in.setText(InputField::NatalDate, "24.4.1966");
        in.setText(InputField::NatalTime, "9:03");
        in.setText(InputField::NatalLon, "14E25");
        in.setText(InputField::NatalLat, "50N05");
        in.setText(InputField::TransitDate, "11.12.2026");
        in.setText(InputField::TransitTime, "14:00");
        in.setText(InputField::TransitLon, "14E25");
        in.setText(InputField::TransitLat, "50N05");
        for (Box b : {Box::Transits, Box::Planets, Box::Houses, Box::Fortune, Box::SouthNode,
                      Box::AngleAsc, Box::AngleMc, Box::AngleDesc, Box::AngleIc})
            in.setBox(b, true);
        QVERIFY(calculate_chart(session).ok());
        QVERIFY(!session.aspectLines.empty());

        TForm3 w(dir.path());
        QCOMPARE(w.grid()->rowCount(), int(session.aspectLines.size()));
        QSet<QString> firstCells;
        for (int row = 0; row < int(session.aspectLines.size()); ++row) {
            const AspectLine& l = session.aspectLines[size_t(row)];
            // Expected cells from the line's parts: an angle of the second chart is two words.
            QStringList words;
            const QString first = q(aspect_line_name(l.first)).trimmed();
            const bool angle = l.first == PointKey::dum1_tranz || l.first == PointKey::dum4_tranz ||
                               l.first == PointKey::dum7_tranz || l.first == PointKey::dum10_tranz;
            words << (angle ? first.split(' ') : QStringList{first});
            words << q(l.aspect).trimmed() << q(aspect_line_name(l.second)).trimmed()
                  << q(l.deviation).trimmed() << QString(QChar(l.mark));
            const QStringList expected = words.mid(0, 5);
            QCOMPARE(cells_of(w.grid(), row), expected);
            QCOMPARE(w.isHighlighted(row), row <= 300 && expected[3].startsWith("0°0"));
            firstCells << expected[0];
        }
        for (const char* seen : {"ASC.", "MC.", "DESC.", "IC.", "Bod štěstí", "Sev. Uzel",
                                 "Již. Uzel", "1. dům", "11. dům"})
            QVERIFY2(firstCells.contains(seen), seen);
    }

    // ---- the settings dialog ----

    void settings_shape_and_captions() {
        SettingsFixture f;
        TForm2 d(*f.session);
        QCOMPARE(d.windowTitle(), QString("Systémová nastavení"));
        QCOMPARE(d.size(), QSize(680, 421));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
        QStringList labels;
        for (const QLabel* l : d.findChildren<QLabel*>()) labels << l->text();
        for (const char* caption :
             {"CJN:", "Ostatní:", "&Nebeská světla mezi sebou:", "Ne&beská světla vůči vnitřním:",
              "Nebeská &světla vůči vnějším:", "&Vnitřní mezi sebou:", "Vni&třní vůči vnějším:",
              "Vnější vůči vnější&m:"})
            QVERIFY2(labels.contains(caption), caption);
        QStringList groups;
        for (const QGroupBox* g : d.findChildren<QGroupBox*>()) groups << g->title();
        QCOMPARE(
            groups,
            (QStringList{"Nastavení &orbisu aspektů:", "Nastavení výpočtu letního č&asu:",
                         "Nastavení vý&počtu bodu štěstí:", "Nastavení &zjišťování nové verze"}));
        QCOMPARE(d.dstItem(0)->text(), QString("Nedělat nic"));
        QCOMPARE(d.dstItem(1)->text(), QString("Upozornit na změněný čas"));
        QCOMPARE(d.dstItem(2)->text(), QString("Automaticky počítat se změnou času"));
        QCOMPARE(d.fortuneItem(0)->text(), QString("Počítat s nočním zrozením"));
        QCOMPARE(d.fortuneItem(1)->text(), QString("Ignorovat noční zrození"));
        QCOMPARE(d.versionBox()->text(), QString("Zjišťovat automaticky jednou týdně"));
        QCOMPARE(d.saveButton()->text(), QString("&Uložit"));
        QVERIFY(d.saveButton()->isDefault());
        QCOMPARE(d.cancelButton()->text(), QString("U&končit"));
        // Every control lies inside the dialog.
        for (const QWidget* child : d.findChildren<QWidget*>())
            if (child->parentWidget() == &d)
                QVERIFY2(d.rect().contains(child->geometry()), qPrintable(child->objectName()));
    }

    void settings_edits_take_two_digits() {
        SettingsFixture f;
        TForm2 d(*f.session);
        d.show();
        QLineEdit* edit = d.orbEdit(7);
        edit->clear();
        edit->setFocus();
        QTest::keyClicks(edit, "a1-b2 34");
        QCOMPARE(edit->text(), QString("12"));
    }

    // Each accelerator focuses its control: targets 0..11 are the orb edits, 12 the chosen
    // summer-time item, 13 the chosen Part of Fortune item, 14 the version box.
    void settings_accelerators_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("target");
        QTest::newRow("N") << int(Qt::Key_N) << 0;
        QTest::newRow("B") << int(Qt::Key_B) << 2;
        QTest::newRow("S") << int(Qt::Key_S) << 4;
        QTest::newRow("V") << int(Qt::Key_V) << 6;
        QTest::newRow("T") << int(Qt::Key_T) << 8;
        QTest::newRow("M") << int(Qt::Key_M) << 10;
        QTest::newRow("O") << int(Qt::Key_O) << 0;
        QTest::newRow("A") << int(Qt::Key_A) << 12;
        QTest::newRow("P") << int(Qt::Key_P) << 13;
        QTest::newRow("Z") << int(Qt::Key_Z) << 14;
    }
    void settings_accelerators() {
        QFETCH(int, key);
        QFETCH(int, target);
        SettingsFixture f;
        f.store(kDstModeField, "2");
        TForm2 d(*f.session);
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.cancelButton()->setFocus();
        QTest::keyClick(&d, Qt::Key(key), Qt::AltModifier);
        QWidget* expected = target < 12    ? d.orbEdit(target)
                            : target == 12 ? d.dstItem(1)
                            : target == 13 ? d.fortuneItem(0)
                                           : static_cast<QWidget*>(d.versionBox());
        QCOMPARE(QApplication::focusWidget(), expected);
        QVERIFY(d.isVisible());
    }

    void settings_button_accelerators() {
        SettingsFixture f;
        TForm2 d(*f.session);
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        d.setResult(-1);
        QTest::keyClick(&d, Qt::Key_K, Qt::AltModifier);
        QTRY_VERIFY(!d.isVisible());  // a mnemonic clicks after a short press animation
        QCOMPARE(d.result(), int(QDialog::Rejected));
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTest::keyClick(&d, Qt::Key_U, Qt::AltModifier);
        QTRY_VERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(f.session->window.useAsNatal);
    }

    void settings_show_the_record() {
        SettingsFixture f;
        for (int i = 0; i < 12; ++i) f.store(i, std::to_string(i + 1));
        f.store(kDstModeField, "2");
        f.store(kFortuneModeField, "2");
        {
            Cursor c(f.db, "nastaveni_aspektu");
            c.edit();
            c.setBoolean("check_ver", true);
            c.post();
        }
        QVERIFY(!f.session->state.natalDstSettled);
        TForm2 d(*f.session);
        for (int i = 0; i < 12; ++i) QCOMPARE(d.orbEdit(i)->text(), QString::number(i + 1));
        QVERIFY(d.dstItem(1)->isChecked());
        QVERIFY(d.fortuneItem(1)->isChecked());
        QVERIFY(d.versionBox()->isChecked());
        QVERIFY(f.session->state.natalDstSettled);
    }

    void settings_save() {
        SettingsFixture f;
        f.session->state.dstMode = '3';
        f.session->state.useNightFormula = true;
        {
            TForm2 d(*f.session);
            d.show();
            d.orbEdit(3)->clear();
            d.orbEdit(10)->setText("42");
            QTest::mouseClick(d.dstItem(1), Qt::LeftButton, {}, QPoint(6, 12));
            QTest::mouseClick(d.fortuneItem(1), Qt::LeftButton, {}, QPoint(6, 12));
            QTest::mouseClick(d.versionBox(), Qt::LeftButton, {}, QPoint(6, 12));
            QTest::mouseClick(d.saveButton(), Qt::LeftButton);
            QCOMPARE(d.result(), int(QDialog::Accepted));
            QVERIFY(!d.isVisible());
        }
        QVERIFY(f.session->window.useAsNatal);
        QCOMPARE(f.session->state.dstMode, '2');
        QVERIFY(!f.session->state.useNightFormula);

        Cursor c(f.db, "nastaveni_aspektu", true);
        QCOMPARE(c.recordCount(), 1);
        QVERIFY(c.isNull(kOrbFieldNames[3]));  // an emptied orb stores no value
        QCOMPARE(c.asText(10), std::string("42"));
        QCOMPARE(c.asText(0), std::string("10"));
        QCOMPARE(c.asText(kDstModeField), std::string("2"));
        QCOMPARE(c.asText(kFortuneModeField), std::string("2"));
        QVERIFY(c.asBoolean("check_ver"));
        // The calculation reads the empty orb as 0; the dialog shows it empty again.
        f.session->settings.refresh();
        f.session->read_settings();
        QCOMPARE(f.session->state.orbSetting[3], 0);
        TForm2 again(*f.session);
        QCOMPARE(again.orbEdit(3)->text(), QString());
        QCOMPARE(again.orbEdit(10)->text(), QString("42"));
    }

    void settings_enter_saves() {
        SettingsFixture f;
        TForm2 d(*f.session);
        d.show();
        d.orbEdit(0)->setFocus();
        d.orbEdit(0)->setText("9");
        QTest::keyClick(d.orbEdit(0), Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(f.record()[0], QString("9"));
    }

    void settings_unknown_mode_opens_as_first_item() {
        SettingsFixture f;
        f.store(kDstModeField, "4");
        TForm2 d(*f.session);
        QVERIFY(d.dstItem(0)->isChecked());
        d.show();
        QTest::mouseClick(d.saveButton(), Qt::LeftButton);
        QCOMPARE(f.record()[kDstModeField], QString("1"));
        QCOMPARE(f.session->state.dstMode, '1');
    }

    void settings_leaving_changes_nothing_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("U&končit") << false;
        QTest::newRow("Escape") << true;
    }
    void settings_leaving_changes_nothing() {
        QFETCH(bool, escape);
        SettingsFixture f;
        const QStringList before = f.record();
        f.session->window.useAsNatal = true;
        f.session->state.dstMode = '3';
        TForm2 d(*f.session);
        d.show();
        d.orbEdit(0)->setText("1");
        QTest::mouseClick(d.dstItem(0), Qt::LeftButton, {}, QPoint(6, 12));
        QVERIFY(!f.session->state.natalDstSettled);
        if (escape)
            QTest::keyClick(d.orbEdit(0), Qt::Key_Escape);
        else
            QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        QVERIFY(!d.isVisible());
        QCOMPARE(f.record(), before);
        QVERIFY(!f.session->window.useAsNatal);
        QVERIFY(f.session->state.natalDstSettled);
        QCOMPARE(f.session->state.dstMode, '3');
    }

    void settings_summer_time_clicks() {
        SettingsFixture f;
        f.store(kDstModeField, "3");
        {
            // Saving without touching the items keeps the chart's summer time settled.
            TForm2 d(*f.session);
            d.show();
            QTest::mouseClick(d.saveButton(), Qt::LeftButton);
            QVERIFY(f.session->state.natalDstSettled);
        }
        TForm2 d(*f.session);
        d.show();
        QVERIFY(f.session->state.natalDstSettled);
        QTest::mouseClick(d.dstItem(2), Qt::LeftButton, {}, QPoint(6, 12));  // the chosen one
        QVERIFY(d.dstItem(2)->isChecked());
        QVERIFY(!f.session->state.natalDstSettled);
        QTest::mouseClick(d.saveButton(), Qt::LeftButton);
        QVERIFY(!f.session->state.natalDstSettled);
    }

    void settings_version_box_click() {
        SettingsFixture f;
        f.session->window.versionChecked = true;
        TForm2 d(*f.session);
        d.show();
        QVERIFY(f.session->window.versionChecked);
        QTest::mouseClick(d.versionBox(), Qt::LeftButton, {}, QPoint(6, 12));
        QVERIFY(!f.session->window.versionChecked);
    }

    void settings_save_failure_keeps_dialog_open() {
        SettingsFixture f;
        TForm2 d(*f.session);
        d.show();
        d.orbEdit(0)->setText("ab");  // put there by code, past the digit filter
        const QStringList before = f.record();
        QTest::mouseClick(d.saveButton(), Qt::LeftButton);
        QVERIFY(d.isVisible());
        QCOMPARE(f.prompter.messages.size(), size_t(1));
        QCOMPARE(f.record(), before);
        QVERIFY(!f.session->window.useAsNatal);
        // After correcting the edit the save goes through.
        d.orbEdit(0)->setText("7");
        QTest::mouseClick(d.saveButton(), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(f.record()[0], QString("7"));
    }

    // ---- the summer-time table ----

    void summer_times_show_the_table() {
        const auto db = Database::open(kAppData.toStdString());
        const int rows = Cursor(db, "letnicasy", true).recordCount();
        QVERIFY(rows > 50);
        set_date_separator_from_locale(". ");  // a locale's dot and blank
        Tletnicasy w(db);
        QCOMPARE(w.windowTitle(), QString("Tabulka letních časů"));
        QCOMPARE(w.size(), QSize(490, 663));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(w.grid()->geometry(), QRect(25, 8, 440, 616));
        QAbstractItemModel* m = w.grid()->model();
        QCOMPARE(m->rowCount(), rows);
        QCOMPARE(m->columnCount(), 5);
        QStringList headers;
        for (int col = 0; col < 5; ++col) headers << m->headerData(col, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{"Typ času", "Datum od", "Čas od", "Datum do", "Čas do"}));
        QStringList row2024;
        for (int row = 0; row < rows && row2024.isEmpty(); ++row)
            if (m->index(row, 1).data().toString() == "31.3.2024")
                for (int col = 0; col < 5; ++col) row2024 << m->index(row, col).data().toString();
        set_date_separator('.');
        QCOMPARE(row2024, (QStringList{"Letní", "31.3.2024", "2:00", "27.10.2024", "3:00"}));
        QCOMPARE(w.closeButton()->text(), QString("&Zavření okna"));
    }

    void summer_times_are_read_only() {
        const auto db = Database::open(kAppData.toStdString());
        Tletnicasy w(db);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTableView* grid = w.grid();
        QAbstractItemModel* m = grid->model();
        const QModelIndex cell = m->index(3, 1);
        const QString before = cell.data().toString();
        QVERIFY(!(m->flags(cell) & Qt::ItemIsEditable));
        grid->setCurrentIndex(cell);
        QTest::keyClicks(grid, "1.1.2000");
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClick(grid, Qt::Key_Return);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        QVERIFY(!m->setData(cell, "1.1.2000"));
        QCOMPARE(cell.data().toString(), before);
        QCOMPARE(q(Cursor(db, "letnicasy", true).asText("typ")), m->index(0, 0).data().toString());
    }

    void summer_times_paint_the_current_row() {
        const auto db = Database::open(kAppData.toStdString());
        Tletnicasy w(db);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTableView* grid = w.grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(2, 1));
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentIndex().row(), 3);
        const QColor green(192, 220, 192);
        QCOMPARE(pixel_in_cell(grid, grid->model()->index(3, 0)), green);
        QCOMPARE(pixel_in_cell(grid, grid->model()->index(3, 4)), green);
        QVERIFY(pixel_in_cell(grid, grid->model()->index(2, 0)) != green);
        QVERIFY(pixel_in_cell(grid, grid->model()->index(4, 3)) != green);

        QTest::keyClick(grid, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TablesAndSettingsTest)
#include "tables_and_settings_test.moc"
