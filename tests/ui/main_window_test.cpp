// The main window on the offscreen platform, on the generated data.tdb of the program's folder.
#include <QDate>
#include <QFile>
#include <QtTest>

#include "data/text_format.h"
#include "ui/main_window.h"

using namespace horalun;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPrompter> prompter;
    std::unique_ptr<TForm1> window;

    void typeInto(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }
    void enter(QObject* target) {
        QEvent e(QEvent::Enter);
        QCoreApplication::sendEvent(target, &e);
    }
    void leave(QObject* target) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(target, &e);
    }
    QLabel* nameLabel(const QString& text) {
        for (QLabel* l : window->findChildren<QLabel*>())
            if (l->text() == text) return l;
        return nullptr;
    }

  private slots:
    void init() {
        prompter = std::make_unique<ScriptedPrompter>();
        window = std::make_unique<TForm1>(QStringLiteral(HORALUN_APP_FOLDER), prompter.get());
        window->stepTimer()->stop();
        window->mailboxTimer()->stop();
        window->startupTimer()->stop();
        window->versionTimer()->stop();
        window->show();
    }
    void cleanup() { window.reset(); }

    void startsWithTodayInBothCharts() {
        const QDate d = QDate::currentDate();
        const QString today = QString("%1.%2.%3").arg(d.day()).arg(d.month()).arg(d.year());
        QCOMPARE(window->edit(InputField::NatalDate)->text(), today);
        QCOMPARE(window->edit(InputField::TransitDate)->text(), today);
        QVERIFY(!window->edit(InputField::NatalTime)->text().isEmpty());
        QCOMPARE(window->edit(InputField::NatalLon)->text(), QStringLiteral("14E25"));
        QVERIFY(!window->label("Label46")->text().isEmpty());  // the ASC was computed
        QVERIFY(!window->edit(InputField::TransitDate)->isEnabled());
    }

    void keyFiltersAndTheFirstLetterRule() {
        QLineEdit* date = window->edit(InputField::NatalDate);
        date->clear();
        typeInto(date, "2a4.4x.19 66");
        QCOMPARE(date->text(), QStringLiteral("24.4.19 66"));
        QLineEdit* time = window->edit(InputField::NatalTime);
        time->clear();
        typeInto(time, "9h:03");
        QCOMPARE(time->text(), QStringLiteral("9:03"));
        QLineEdit* lon = window->edit(InputField::NatalLon);
        lon->clear();
        typeInto(lon, "e");
        QCOMPARE(lon->text(), QString());  // a coordinate never starts with its letter
        typeInto(lon, "14e25n");
        QCOMPARE(lon->text(), QStringLiteral("14E25"));
        QCOMPARE(window->session().inputs.text(InputField::NatalLon), std::string("14E25"));
        QLineEdit* lat = window->edit(InputField::NatalLat);
        lat->clear();
        typeInto(lat, "50s05w");
        QCOMPARE(lat->text(), QStringLiteral("50S05"));
    }

    void switchesRecompute() {
        ChartSession& s = window->session();
        s.inputs.setText(InputField::NatalDate, "24.4.1966");
        s.inputs.setText(InputField::NatalTime, "9:03");
        window->calculate();
        const QString regio = window->label("Label52")->text();  // the 3rd house
        window->placidus()->click();
        QCOMPARE(s.state.houseSystem, 2);
        QVERIFY(window->label("Label52")->text() != regio);

        QVERIFY(!window->label("Label110")->isVisible());
        window->box(Box::Fortune)->click();
        QVERIFY(window->label("Label110")->isVisible());
        QVERIFY(!window->label("Label110")->text().isEmpty());
        // Summer and winter time exclude each other.
        window->box(Box::NatalSummer)->click();
        window->box(Box::NatalWinter)->click();
        QVERIFY(!window->box(Box::NatalSummer)->isChecked());
        QVERIFY(s.state.natalDstSettled);
    }

    void hoveringSetsAndClearsTheFilter() {
        MainWindowState& w = window->session().window;
        QLabel* sun = nameLabel(QStringLiteral("Slunce:"));
        QVERIFY(sun);
        enter(sun);
        QCOMPARE(w.aspectFilter, std::string("Slunce"));
        leave(sun);
        QCOMPARE(w.aspectFilter, std::string());
        // House rows need "Dom&y".
        QLabel* asc = nameLabel(QStringLiteral("ASC:"));
        enter(asc);
        QCOMPARE(w.aspectFilter, std::string());
        window->box(Box::Houses)->click();
        enter(asc);
        QCOMPARE(w.aspectFilter, std::string("1. dům"));
        leave(asc);
        // With both aspect switches off nothing happens.
        window->box(Box::Houses)->click();
        window->box(Box::Planets)->click();
        enter(sun);
        QCOMPARE(w.aspectFilter, std::string());
        QVERIFY(!window->command("Tabulka &aspektů")->isEnabled());
    }

    void steppingLocksAndUnlocks() {
        ChartSession& s = window->session();
        s.inputs.setText(InputField::NatalDate, "31.1.2024");
        window->calculate();
        window->stepArrow(false, false);
        QVERIFY(s.state.natalStepping);
        QVERIFY(!window->command("&Výpočet")->isEnabled());
        QVERIFY(window->edit(InputField::NatalDate)->isReadOnly());
        QVERIFY(!window->box(Box::Planets)->isEnabled());
        window->stepTimerTick();
        QCOMPARE(window->edit(InputField::NatalDate)->text(), QStringLiteral("1.2.2024"));
        window->stepArrow(false, false);  // months
        window->stepTimerTick();
        QCOMPARE(window->edit(InputField::NatalDate)->text(), QStringLiteral("1.3.2024"));
        window->stepArrow(false, true);  // reversed, still months
        window->stepTimerTick();
        QCOMPARE(window->edit(InputField::NatalDate)->text(), QStringLiteral("1.2.2024"));
        window->stopStepping(false);
        QVERIFY(!s.state.natalStepping);
        QVERIFY(window->command("&Výpočet")->isEnabled());
        QVERIFY(!window->edit(InputField::NatalDate)->isReadOnly());
        QVERIFY(!window->command("Natální / vypočtený")->isEnabled());
        QVERIFY(window->box(Box::Planets)->isEnabled());
    }

    void mailboxSetsAnHour() {
        MainWindowState& w = window->session().window;
        w.transferCode = "3";
        w.aspectFilter = "7";
        window->mailboxTimerTick();
        QCOMPARE(window->edit(InputField::NatalTime)->text(), QStringLiteral("7:0"));
        QCOMPARE(w.transferCode, std::string("0"));
    }

    void closingExportsTheNames() {
        const QString folder = QStringLiteral(HORALUN_APP_FOLDER);
        QFile::remove(folder + "/jmena_export.txt");
        window->close();
        QVERIFY(QFile::exists(folder + "/jmena_export.txt"));
        QVERIFY(QFile::exists(folder + "/jmena_export1.txt"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
