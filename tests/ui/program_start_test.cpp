// Program start and version check: the single-instance count, the version check against a small
// HTTP server of the test's own on 127.0.0.1, the weekly rule and the version window.
#include <sqlite3.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QNetworkProxy>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <map>
#include <memory>

#include "core/chart_calculation.h"
#include "data/settings_record.h"
#include "ui/single_instance.h"
#include "ui/version_check.h"
#include "ui/version_window.h"

using namespace horalun;
using namespace std::chrono_literals;

namespace {

// A tiny HTTP/1.1 responder: one answer per path, the connection closed after it. A path it
// does not know gets 404; a stalling path reads the request and never answers.
class TinyHttpServer : public QObject {
  public:
    struct Answer {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        bool stall = false;
    };

    TinyHttpServer() {
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                ++connections;
                socket->setParent(this);
                QObject::connect(socket, &QTcpSocket::readyRead, this,
                                 [this, socket] { serve(socket); });
            }
        });
        if (!server_.listen(QHostAddress::LocalHost)) qFatal("the test server cannot listen");
    }

    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    // Paths /r1 .. /r<n> redirect each to the next; /r<n+1> is `final`.
    void add_redirect_chain(int links, const Answer& final) {
        for (int i = 1; i <= links; ++i)
            answers["/r" + QByteArray::number(i)] =
                Answer{302, {}, {{"Location", "/r" + QByteArray::number(i + 1)}}, false};
        answers["/r" + QByteArray::number(links + 1)] = final;
    }

    std::map<QByteArray, Answer> answers;
    int connections = 0;
    QList<QByteArray> paths;
    QByteArray userAgent;
    std::function<void()> onRequest;  // called as each request arrives

  private:
    void serve(QTcpSocket* socket) {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        const qsizetype end = request.indexOf("\r\n\r\n");
        if (end < 0) return;
        const QList<QByteArray> lines = request.left(end).split('\n');
        const QByteArray path = lines.value(0).split(' ').value(1);
        paths << path;
        if (onRequest) onRequest();
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("user-agent:")) userAgent = line.mid(11).trimmed();
        pending_.erase(socket);
        const auto found = answers.find(path);
        const Answer answer =
            found == answers.end() ? Answer{404, "nic", {}, false} : found->second;
        if (answer.stall) return;
        QByteArray response = "HTTP/1.1 " + QByteArray::number(answer.status) +
                              (answer.status == 200 ? " OK" : " Other") +
                              "\r\nContent-Length: " + QByteArray::number(answer.body.size()) +
                              "\r\nConnection: close\r\n";
        for (const auto& [name, value] : answer.headers) response += name + ": " + value + "\r\n";
        socket->write(response + "\r\n" + answer.body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    std::map<QTcpSocket*, QByteArray> pending_;
};

TinyHttpServer::Answer page(const QByteArray& body) {
    return {200, body, {}, false};
}

// Drops the two address fields, as a data file from before them lacks them.
void drop_address_fields(const QString& path) {
    auto db = Database::open(path.toStdString());
    for (const char* sql : {"ALTER TABLE nastaveni_aspektu DROP COLUMN ver_url",
                            "ALTER TABLE nastaveni_aspektu DROP COLUMN upd_url"})
        if (sqlite3_exec(db->handle(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            qFatal("%s", sqlite3_errmsg(db->handle()));
}

QByteArray file_content(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write_file(const QString& path, const QByteArray& content) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write a fixture");
    f.write(content);
}

}  // namespace

class ProgramStartTest : public QObject {
    Q_OBJECT

    QTemporaryDir temp;
    QString dataFile;  // a copy of the generated data.tdb, for anything that writes settings
    std::unique_ptr<TinyHttpServer> server;

    QString programFolder() const { return temp.filePath(QStringLiteral("program")); }
    QString archive() const { return QDir(programFolder()).filePath(kUpdateArchiveFile); }

    // A session on the copied data file, with the two addresses and the weekly switch set.
    std::unique_ptr<ChartSession> session(ScriptedPrompter& prompter, const QString& versionUrl,
                                          bool checkWeekly = false, double versionDate = 0) {
        auto s = std::make_unique<ChartSession>(Database::open(dataFile.toStdString()), prompter,
                                                programFolder().toStdString());
        OrbSettings settings = read_orb_settings(s->settings);
        settings.versionUrl = versionUrl.toStdString();
        settings.updateUrl = server->url(QStringLiteral("/archive")).toStdString();
        settings.checkVersion = checkWeekly;
        settings.versionDate = versionDate;
        write_orb_settings(s->settings, settings);
        return s;
    }

  private slots:
    void initTestCase() {
        // Requests to the test's own server must not go through a proxy of the environment.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QVERIFY(temp.isValid());
        QVERIFY(QDir(temp.path()).mkpath(QStringLiteral("program")));
        dataFile = temp.filePath(QStringLiteral("data.tdb"));
        QVERIFY(QFile::copy(QStringLiteral(HORALUN_APP_FOLDER "/data.tdb"), dataFile));
        QFile::setPermissions(dataFile, QFile::ReadOwner | QFile::WriteOwner);
    }
    void init() {
        server = std::make_unique<TinyHttpServer>();
        QDir program(programFolder());
        for (const QString& name : program.entryList(QDir::Files | QDir::System | QDir::Hidden))
            program.remove(name);
    }
    void cleanup() { server.reset(); }

    // ---- the single-instance rule ----

    void copiesAreCountedByTheirExecutableName() {
        const QString own = own_executable_name();
        QCOMPARE(own, QFileInfo(QCoreApplication::applicationFilePath()).fileName());
        QCOMPARE(count_running_copies(own), 1);
        QVERIFY(!another_copy_running());
        QCOMPARE(count_running_copies(QString()), 0);

        // Two copies of one program under names of our own: they do not see each other.
        const QString tag = QString::number(QCoreApplication::applicationPid());
        const QString first = temp.filePath("horalun_first_" + tag);
        const QString second = temp.filePath("horalun_second_" + tag);
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), first));
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), second));
        QFile::setPermissions(first, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(second, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString firstName = QFileInfo(first).fileName();
        const QString secondName = QFileInfo(second).fileName();

        std::vector<std::unique_ptr<QProcess>> running;
        auto start = [&](const QString& program) {
            running.push_back(std::make_unique<QProcess>());
            running.back()->start(program, {QStringLiteral("60")});
            return running.back()->waitForStarted(5000);
        };
        QVERIFY(start(first));
        QCOMPARE(count_running_copies(firstName), 1);
        QCOMPARE(count_running_copies(firstName.toUpper()), 1);  // compared in capitals
        QCOMPARE(count_running_copies(first), 1);                // the whole path counts too
        QCOMPARE(count_running_copies(secondName), 0);
        QCOMPARE(count_running_copies(QStringLiteral("horalun_first_")), 0);  // no prefixes

        QVERIFY(start(first));
        QVERIFY(start(second));
        QCOMPARE(count_running_copies(firstName), 2);
        QCOMPARE(count_running_copies(secondName), 1);
        // A copy whose file was deleted while it runs still counts.
        QVERIFY(QFile::remove(second));
        QCOMPARE(count_running_copies(secondName), 1);

        for (auto& process : running) {
            process->kill();
            process->waitForFinished(5000);
        }
        QCOMPARE(count_running_copies(firstName), 0);
    }

    // ---- the version page ----

    void versionPageDecidesTheAnswer_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");  // empty: no message
        QTest::addColumn<bool>("asked");
        using O = VersionCheck::Outcome;
        const QString missing = QString::fromUtf8(kVersionPageMissingMessage);
        const QString current = QString::fromUtf8(kVersionCurrentMessage);
        QTest::newRow("last Verze line is ours")
            << "/current" << int(O::Current) << current << false;
        QTest::newRow("old Mac line ends") << "/cr" << int(O::Current) << current << false;
        QTest::newRow("trailing space is a new version")
            << "/space" << int(O::Declined) << "" << true;
        QTest::newRow("newer earlier line loses to the last")
            << "/older-last" << int(O::Declined) << "" << true;
        QTest::newRow("verze in lower case") << "/lower" << int(O::PageMissing) << missing << false;
        QTest::newRow("empty body") << "/empty" << int(O::PageMissing) << missing << false;
        QTest::newRow("missing page") << "/nowhere" << int(O::PageMissing) << missing << false;
        QTest::newRow("five redirects are followed")
            << "/r1" << int(O::Current) << current << false;
        QTest::newRow("six redirects are too many")
            << "/long/r1" << int(O::PageMissing) << missing << false;
    }
    void versionPageDecidesTheAnswer() {
        QFETCH(QString, path);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        QFETCH(bool, asked);
        server->answers["/current"] =
            page("Horalun\r\nVerze 5.0.0.\r\nnovinky\r\nVerze 5.1.0.\r\n");
        server->answers["/cr"] = page("Verze 4.0.\rVerze 5.1.0.");
        server->answers["/space"] = page("Verze 5.1.0. \n");
        server->answers["/older-last"] = page("Verze 5.1.0.\nVerze 5.2.0.\n");
        server->answers["/lower"] = page("verze 5.1.0.\n");
        server->answers["/empty"] = page("");
        server->add_redirect_chain(5, page("Verze 5.1.0."));
        TinyHttpServer::Answer last = page("Verze 5.1.0.");
        for (int i = 1; i <= 6; ++i)
            server->answers["/long/r" + QByteArray::number(i)] = {
                302, {}, {{"Location", "/long/r" + QByteArray::number(i + 1)}}, false};
        server->answers["/long/r7"] = last;

        ScriptedPrompter prompter(false);
        VersionCheck check(prompter, programFolder());
        QCOMPARE(int(check.run({server->url(path), server->url(QStringLiteral("/archive"))})),
                 outcome);
        QCOMPARE(prompter.messages.size(), size_t(message.isEmpty() ? 0 : 1));
        if (!message.isEmpty()) QCOMPARE(QString::fromStdString(prompter.messages[0]), message);
        QCOMPARE(prompter.questions.size(), size_t(asked ? 1 : 0));
        if (asked) QCOMPARE(prompter.questions[0], std::string(kNewVersionQuestion));
        QCOMPARE(server->userAgent, QByteArray(kVersionUserAgent));
        QVERIFY(!server->paths.contains("/archive"));  // declined or no new version: no download
        QVERIFY(!QFile::exists(archive()));
    }

    void addressesThatAreNotHttpMakeNoConnection() {
        for (const QString& url :
             {QString(), QStringLiteral("   "), QStringLiteral("file:///etc/hostname"),
              QStringLiteral("ftp://127.0.0.1/verze.txt"), QStringLiteral("http://")}) {
            ScriptedPrompter prompter;
            VersionCheck check(prompter, programFolder());
            QCOMPARE(check.run({url, server->url(QStringLiteral("/archive"))}),
                     VersionCheck::Outcome::PageMissing);
            QCOMPARE(prompter.messages,
                     std::vector<std::string>{std::string(kVersionPageMissingMessage)});
            QCOMPARE(check.lastPage(), std::string("error"));
        }
        QCoreApplication::processEvents();
        QCOMPARE(server->connections, 0);
    }

    // ---- the download ----

    void newVersionIsDownloadedIntoTheProgramFolder_data() {
        QTest::addColumn<QByteArray>("archivePath");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("old");  // "", "file" (read-only) or "link" (to a file outside)
        QTest::addColumn<bool>("saved");
        const QByteArray zip("PK\x03\x04 horalun archive \x00\x01\x02", 25);
        QTest::newRow("replaces a read-only older file")
            << QByteArray("/archive") << zip << "file" << true;
        QTest::newRow("replaces a link, not its target")
            << QByteArray("/archive") << zip << "link" << true;
        QTest::newRow("empty body fails")
            << QByteArray("/archive") << QByteArray() << "file" << false;
        QTest::newRow("missing archive fails") << QByteArray("/gone") << zip << "" << false;
    }
    void newVersionIsDownloadedIntoTheProgramFolder() {
        QFETCH(QByteArray, archivePath);
        QFETCH(QByteArray, body);
        QFETCH(QString, old);
        QFETCH(bool, saved);
        server->answers["/verze"] = page("Verze 6.0.0.\r\n");
        // Whatever name the server suggests, the file is ours and stays in the program's folder.
        server->answers["/archive"] = {
            200, body, {{"Content-Disposition", "attachment; filename=\"../escaped.zip\""}}, false};
        const QString outside = temp.filePath(QStringLiteral("outside.zip"));
        write_file(outside, "outside");
        if (old == QLatin1String("file")) {
            write_file(archive(), "old archive");
            QFile::setPermissions(archive(), QFile::ReadOwner);
        } else if (old == QLatin1String("link")) {
            QVERIFY(QFile::link(outside, archive()));
        }

        ScriptedPrompter prompter(true);
        VersionCheck check(prompter, programFolder());
        const auto outcome = check.run(
            {server->url(QStringLiteral("/verze")), server->url(QString::fromLatin1(archivePath))});
        QCOMPARE(prompter.questions, std::vector<std::string>{std::string(kNewVersionQuestion)});
        QCOMPARE(prompter.messages, std::vector<std::string>{std::string(
                                        saved ? kDownloadDoneMessage : kDownloadFailedMessage)});
        QCOMPARE(outcome,
                 saved ? VersionCheck::Outcome::Downloaded : VersionCheck::Outcome::DownloadFailed);
        const QFileInfo info(archive());
        QCOMPARE(info.exists(), saved);  // a failed download leaves no file, not even the old one
        QVERIFY(!info.isSymLink());
        if (saved) QCOMPARE(file_content(archive()), body);
        QCOMPARE(file_content(outside), QByteArray("outside"));
        QCOMPARE(QDir(programFolder()).entryList(QDir::Files | QDir::System).size(),
                 qsizetype(saved ? 1 : 0));
        QVERIFY(!QFile::exists(temp.filePath(QStringLiteral("escaped.zip"))));
    }

    void emptyArchiveAddressFailsTheDownload() {
        server->answers["/verze"] = page("Verze 6.0.0.");
        ScriptedPrompter prompter(true);
        VersionCheck check(prompter, programFolder());
        QCOMPARE(check.run({server->url(QStringLiteral("/verze")), QString()}),
                 VersionCheck::Outcome::DownloadFailed);
        QCOMPARE(prompter.messages, std::vector<std::string>{std::string(kDownloadFailedMessage)});
        QVERIFY(!QFile::exists(archive()));
    }

    // ---- a stalling server ----

    void stallingServerEndsAfterTheTimeOutAndTheWindowStaysUsable() {
        server->answers["/stall"] = {200, {}, {}, true};
        ScriptedPrompter prompter;
        auto s = session(prompter, server->url(QStringLiteral("/stall")));
        TForm7 window(*s, prompter, nullptr, 700ms);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // While the check waits, timers run, a second check is refused and the window closes.
        int ticks = 0;
        bool buttonDisabled = false, closedWhileWaiting = false;
        VersionCheck::Outcome nested{};
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (++ticks != 3) return;
            buttonDisabled = !window.checkButton()->isEnabled();
            nested = window.runCheck();
            QTest::mouseClick(window.closeButton(), Qt::LeftButton);
            closedWhileWaiting = !window.isVisible();
        });
        ticker.start(50);
        QTest::mouseClick(window.checkButton(), Qt::LeftButton);
        ticker.stop();

        QVERIFY(ticks >= 5);
        QVERIFY(buttonDisabled);
        QCOMPARE(nested, VersionCheck::Outcome::Busy);
        QVERIFY(closedWhileWaiting);
        QVERIFY(window.checkButton()->isEnabled());
        QCOMPARE(prompter.messages,
                 std::vector<std::string>{std::string(kVersionPageMissingMessage)});
        QCOMPARE(server->paths, QList<QByteArray>{"/stall"});
    }

    // ---- the weekly rule ----

    void weeklyCheckRunsOnceWhenTheLastIsAWeekOld() {
        server->answers["/verze"] = page("Verze 5.1.0.");
        const QDateTime now = QDateTime::currentDateTime();
        const double today = serial_date_time(now);
        ScriptedPrompter prompter;

        // Switched off: nothing, however old the last check.
        auto s = session(prompter, server->url(QStringLiteral("/verze")), false, today - 30);
        QVERIFY(!weekly_check(*s, prompter, kVersionTimeout, now));
        QVERIFY(s->window.versionChecked);

        s = session(prompter, server->url(QStringLiteral("/verze")), true, today - 6);
        QVERIFY(!weekly_check(*s, prompter, kVersionTimeout, now));
        QVERIFY(s->window.versionChecked);
        QCOMPARE(server->connections, 0);
        QVERIFY(prompter.messages.empty());

        s = session(prompter, server->url(QStringLiteral("/verze")), true, today - 8);
        // The moment is stored before the server is asked, so a failed check waits a week too.
        double storedWhenAsked = 0;
        server->onRequest = [&] {
            Cursor fresh(Database::open(dataFile.toStdString()), "nastaveni_aspektu", true);
            storedWhenAsked = read_orb_settings(fresh).versionDate;
        };
        QVERIFY(weekly_check(*s, prompter, kVersionTimeout, now));
        QVERIFY(std::abs(storedWhenAsked - today) < 1e-6);
        QCOMPARE(prompter.messages, std::vector<std::string>{std::string(kVersionCurrentMessage)});
        QCOMPARE(server->paths.size(), qsizetype(1));
        QVERIFY(!weekly_check(*s, prompter, kVersionTimeout, now));  // once per run
        s->window.versionChecked = false;
        QVERIFY(!weekly_check(*s, prompter, kVersionTimeout, now.addDays(6)));
        QCOMPARE(server->paths.size(), qsizetype(1));
    }

    void dataFileWithoutTheAddressesReadsThemEmpty() {
        const QString old = temp.filePath(QStringLiteral("old.tdb"));
        QFile::remove(old);
        QVERIFY(QFile::copy(dataFile, old));
        {
            ScriptedPrompter prompter;
            ChartSession s(Database::open(old.toStdString()), prompter);
            OrbSettings settings = read_orb_settings(s.settings);
            settings.checkVersion = true;
            settings.versionDate = 0;
            settings.versionUrl = server->url(QStringLiteral("/verze")).toStdString();
            write_orb_settings(s.settings, settings);
        }
        drop_address_fields(old);

        ScriptedPrompter prompter;
        ChartSession s(Database::open(old.toStdString()), prompter, programFolder().toStdString());
        OrbSettings settings = read_orb_settings(s.settings);
        QVERIFY(settings.versionUrl.empty() && settings.updateUrl.empty());
        settings.versionUrl = "http://127.0.0.1:1/";
        write_orb_settings(s.settings, settings);  // the absent fields are skipped
        QVERIFY(weekly_check(s, prompter));
        QCOMPARE(prompter.messages,
                 std::vector<std::string>{std::string(kVersionPageMissingMessage)});
        QCOMPARE(server->connections, 0);
    }

    // ---- the version window and the icon ----

    void versionWindowOpensWithOrWithoutTheIcon() {
        ScriptedPrompter prompter;
        auto s = session(prompter, QString());
        {
            TForm7 window(*s, prompter);  // the program folder has no icon
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.windowTitle(), QStringLiteral("Informace o verzi"));
            QCOMPARE(window.size(), QSize(484, 325));
            QVERIFY(window.logo()->pixmap().isNull());
            QStringList texts;
            for (const QLabel* label : window.findChildren<QLabel*>()) texts << label->text();
            for (const char* line : {"Program Horalun pro astrologické výpočty", "Verze 5.1.0.",
                                     "Licence: GNU AGPL verze 3 nebo novější",
                                     "Efemeridy: Swiss Ephemeris, Astrodienst AG (AGPL)",
                                     "Obsahuje data GeoNames (geonames.org), CC BY 4.0"})
                QVERIFY2(texts.contains(QString::fromUtf8(line)), line);
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(!window.isVisible());
        }
        QVERIFY(program_icon(programFolder()).isNull());
        write_file(QDir(programFolder()).filePath(kIconFile), "not an icon");
        QVERIFY(program_icon(programFolder()).isNull());

        const QPixmap logo = program_logo(QStringLiteral(HORALUN_APP_FOLDER));
        QVERIFY(!logo.isNull());
        QCOMPARE(logo.width(), 256);  // the largest of the icon's images
        QVERIFY(!program_icon(QStringLiteral(HORALUN_APP_FOLDER)).isNull());
    }
};

QTEST_MAIN(ProgramStartTest)
#include "program_start_test.moc"
