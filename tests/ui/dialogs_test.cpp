// The Arabic part chooser, the degree meanings window and the sign glyphs of the tables.
#include <memory>

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "core/chart_state.h"
#include "ui/arabic_chooser.h"
#include "ui/degree_meanings_window.h"
#include "ui/glyph_cache.h"
#include "ui/sign_glyph.h"

using namespace horalun;

namespace {

QPushButton* button(QWidget* dialog, const char* name) {
    auto* b = dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    if (b == nullptr) qFatal("no button %s", name);
    return b;
}

// A radio reacts to clicks on its indicator and caption only, not on the rest of its row.
QPoint on_indicator(const QRadioButton* radio) {
    return QPoint(6, radio->height() / 2);
}
void click(QRadioButton* radio) {
    QTest::mouseClick(radio, Qt::LeftButton, {}, on_indicator(radio));
}

int checked_radio(const TArabske_body& dialog) {
    for (int i = 0; i < dialog.radios().size(); ++i)
        if (dialog.radios()[i]->isChecked()) return i;
    return -1;
}

// Runs `act` on the modal chooser once exec() is running. The flag tells whether `act` closed
// it; a chooser left open is rejected so that the test cannot hang.
template <typename Act>
std::shared_ptr<bool> when_modal(Act act) {
    auto closed = std::make_shared<bool>(false);
    QTimer::singleShot(0, [act, closed] {
        auto* dialog = qobject_cast<TArabske_body*>(QApplication::activeModalWidget());
        if (dialog == nullptr) qFatal("no modal chooser");
        act(dialog);
        *closed = !dialog->isVisible();
        if (!*closed) dialog->reject();
    });
    return closed;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void chooser_captions() {
        TArabske_body dialog(0, 1);
        const QStringList expected = {
            "Bod &otce (Asc, Saturn, Slunce)",
            "Bod &matky (Asc, Měsíc, Venuše)",
            "Bod souroze&nců (Asc, Saturn, Jupiter)",
            "Bod &dětí (Asc, Jupiter, Saturn)",
            "Bod &peněz (Asc, Měsíc, Saturn)",
            "Bod &zdraví (Asc, Mars, Saturn)",
            "Bod &lásky (Asc, Venuše, Slunce)",
            "Bod &cest (Asc, Merkur, Měsíc)",
            "Bod &vzdělání (Asc, Měsíc, Merkur)",
            "Bod sláv&y (Asc, Jupiter Slunce)",
            "Bod spo&rů (Asc, Mars, Jupiter)",
            "Bod povol&ání (Desátý, Měsíc, Slunce)",
            "Bod os&udový (Asc, Merkur, Uran)",
            "Bod okul&tismu (Asc, Neptun, Uran)",
            "Bod &smrti tradiční (Asc, osmý Měsíc)",
            "Bod smrti netradi&ční (denní / noční zrození) í (Asc, osmý Měsíc)",
            "&Bod smrti netradiční (Pluto místo osmého domu a den. / noč.) (Asc, Pluto, Měsíc)",
            "Bod smrti netradiční (vládce osmého místo osmého a den. / noč.) (Asc, regent "
            "osmého, Měsíc)",
        };
        QCOMPARE(dialog.windowTitle(), QString("Arabské body"));
        QVERIFY(dialog.findChild<QLabel*>() != nullptr);
        QCOMPARE(dialog.findChild<QLabel*>()->text(), QString("Výběr arabského bodu pro výpočet"));
        QCOMPARE(dialog.radios().size(), 18);
        for (int i = 0; i < 18; ++i) QCOMPARE(dialog.radios()[i]->text(), expected[i]);
        QVERIFY(button(&dialog, "confirmButton")->isDefault());
        QCOMPARE(button(&dialog, "cancelButton")->text(), QString("Zrušit"));
    }

    void chooser_preselects_data() {
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("radio");
        QTest::newRow("none") << 0 << 1 << 0;
        QTest::newRow("father") << 1 << 3 << 0;
        QTest::newRow("love") << 7 << 1 << 6;
        QTest::newRow("occultism") << 14 << 4 << 13;
        QTest::newRow("death 1") << 15 << 1 << 14;
        QTest::newRow("death 2") << 15 << 2 << 15;
        QTest::newRow("death 4") << 15 << 4 << 17;
        QTest::newRow("part out of range") << 16 << 1 << 0;
        QTest::newRow("variant out of range") << 15 << 0 << 14;
    }
    void chooser_preselects() {
        QFETCH(int, part);
        QFETCH(int, variant);
        QFETCH(int, radio);
        const TArabske_body dialog(part, variant);
        QCOMPARE(checked_radio(dialog), radio);
    }

    void chooser_confirm_data() {
        QTest::addColumn<int>("radio");
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("variant");
        // The plain parts keep the variant the chooser was opened with (3).
        QTest::newRow("father") << 0 << 1 << 3;
        QTest::newRow("disputes") << 10 << 11 << 3;
        QTest::newRow("occultism") << 13 << 14 << 3;
        QTest::newRow("death 1") << 14 << 15 << 1;
        QTest::newRow("death 2") << 15 << 15 << 2;
        QTest::newRow("death 3") << 16 << 15 << 3;
        QTest::newRow("death 4") << 17 << 15 << 4;
    }
    void chooser_confirm() {
        QFETCH(int, radio);
        QFETCH(int, part);
        QFETCH(int, variant);
        TArabske_body dialog(5, 3);
        dialog.show();
        click(dialog.radios()[radio]);
        QTest::mouseClick(button(&dialog, "confirmButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.part(), part);
        QCOMPARE(dialog.death_variant(), variant);
    }

    void chooser_double_click_accepts() {
        TArabske_body dialog(0, 1);
        dialog.show();
        QTest::mouseDClick(dialog.radios()[2], Qt::LeftButton, {},
                           on_indicator(dialog.radios()[2]));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.part(), 3);
        QCOMPARE(dialog.death_variant(), 1);
    }

    void choose_writes_state_on_confirm() {
        ChartState state;
        state.arabicPart = 2;
        state.deathVariant = 2;
        const auto closed = when_modal([](TArabske_body* d) {
            click(d->radios()[17]);
            QTest::keyClick(d, Qt::Key_Return);  // the default button
        });
        QVERIFY(TArabske_body::choose(nullptr, state));
        QVERIFY(*closed);
        QCOMPARE(state.arabicPart, 15);
        QCOMPARE(state.deathVariant, 4);
    }

    void choose_cancel_leaves_state() {
        ChartState state;
        state.arabicPart = 15;
        state.deathVariant = 3;
        auto closed = when_modal([](TArabske_body* d) {
            click(d->radios()[4]);
            QTest::mouseClick(button(d, "cancelButton"), Qt::LeftButton);
        });
        QVERIFY(!TArabske_body::choose(nullptr, state));
        QVERIFY(*closed);
        QCOMPARE(state.arabicPart, 15);
        QCOMPARE(state.deathVariant, 3);

        closed = when_modal([](TArabske_body* d) {
            click(d->radios()[0]);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QVERIFY(!TArabske_body::choose(nullptr, state));
        QVERIFY(*closed);
        QCOMPARE(state.arabicPart, 15);
        QCOMPARE(state.deathVariant, 3);
    }

    void degree_window_shows_windows1250_file() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath("uhly_prvku.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // "Štír", "°", "ý", "ž", "ť", "č", "ů", "ň" in Windows-1250, CR LF line ends.
        file.write(
            "Slunce: 14\xB0 05' \x8Ament\xEDr\r\n"
            "V\xFDznam: \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n");
        file.close();

        const TStupne window(dir.path());
        QCOMPARE(window.windowTitle(), QString("Popis výynamu jednotlivých stupňů planet a domů"));
        QCOMPARE(window.memo()->toPlainText(),
                 QString("Slunce: 14° 05' Šmentír\nVýznam: žluťoučký kůň"));
        QVERIFY(window.memo()->isReadOnly());
        QVERIFY(window.memo()->font().bold());
        QCOMPARE(window.memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }

    void degree_window_missing_file_is_empty() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const TStupne window(dir.path());
        QVERIFY(window.memo()->toPlainText().isEmpty());
    }

    void degree_window_closes() {
        QTemporaryDir dir;
        TStupne window(dir.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(window.memo(), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));

        window.show();
        QPushButton* close = button(&window, "closeButton");
        QCOMPARE(close->text(), QString("&Uzavření okna"));
        QTest::mouseClick(close, Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }

    void sign_glyph() {
        GlyphCache glyphs(QStringLiteral(HORALUN_APP_FOLDER));
        QLabel image;
        load_sign_glyph("Štír", &image, glyphs);
        QCOMPARE(image.pixmap().size(), QSize(20, 20));
        for (const char* name : {"", "Stir", "Beran "}) {
            load_sign_glyph("Ryby", &image, glyphs);
            QVERIFY(!image.pixmap().isNull());
            load_sign_glyph(name, &image, glyphs);
            QVERIFY2(image.pixmap().isNull(), name);
        }
        load_sign_glyph("Beran", nullptr, glyphs);  // no label: nothing happens
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
