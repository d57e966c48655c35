#include "ui/version_check.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <memory>

#include "core/chart_calculation.h"

namespace horalun {

namespace {

// Deletes a reply; its handlers, which captured the caller's locals, are dropped first.
struct ReplyDeleter {
    void operator()(QNetworkReply* reply) const {
        reply->disconnect();
        delete reply;
    }
};
using ReplyPtr = std::unique_ptr<QNetworkReply, ReplyDeleter>;

QString settings_text(Cursor& settings, std::string_view field) {
    if (settings.isEmpty() || settings.fieldIndex(field) < 0) return {};
    return QString::fromStdString(settings.asText(field)).trimmed();
}

// Clears the write protection of an older archive and deletes it. A link is removed itself,
// never followed, so nothing outside the program's folder changes.
bool remove_old_archive(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return true;
    if (!info.isSymLink() && info.isFile())
        QFile::setPermissions(path, info.permissions() | QFile::WriteOwner | QFile::WriteUser);
    return QFile::remove(path);
}

}  // namespace

std::optional<std::string> version_line(std::string_view page) {
    std::optional<std::string> found;
    size_t start = 0;
    while (start < page.size()) {
        size_t end = page.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = page.size();
        const std::string_view line = page.substr(start, end - start);
        if (line.find("Verze") != std::string_view::npos) found = std::string(line);
        start = end;
        if (start < page.size() && page[start] == '\r') ++start;
        if (start < page.size() && page[start] == '\n') ++start;
    }
    return found;
}

VersionUrls version_urls(ChartSession& session) {
    return {settings_text(session.settings, "ver_url"), settings_text(session.settings, "upd_url")};
}

VersionCheck::VersionCheck(Prompter& prompter, QString programFolder,
                           std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent),
      prompter_(prompter),
      folder_(std::move(programFolder)),
      timeout_(timeout),
      manager_(new QNetworkAccessManager(this)) {}

VersionCheck::~VersionCheck() = default;

void VersionCheck::set_busy(bool busy) {
    busy_ = busy;
    emit busyChanged(busy);
}

QNetworkReply* VersionCheck::start_get(const QString& url) {
    const QUrl address(url.trimmed(), QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || address.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return nullptr;
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, QString::fromLatin1(kVersionUserAgent));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kVersionMaxRedirects);
    request.setTransferTimeout(int(timeout_.count()));
    return manager_->get(request);
}

void VersionCheck::wait_for(QNetworkReply* reply) {
    if (reply->isFinished()) return;
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
}

std::string VersionCheck::fetch_page(const QString& url) {
    const std::string failed = "error";
    ReplyPtr reply(start_get(url));
    if (!reply) return failed;
    QByteArray body;
    connect(reply.get(), &QNetworkReply::readyRead, this, [&] {
        body += reply->readAll();
        if (body.size() > kVersionPageMaxBytes) reply->abort();
    });
    wait_for(reply.get());
    if (reply->error() != QNetworkReply::NoError) return failed;
    body += reply->readAll();
    if (body.size() > kVersionPageMaxBytes) return failed;
    return body.toStdString();
}

bool VersionCheck::download_archive(const QString& url) {
    const QString path = QDir(folder_).filePath(QString::fromLatin1(kUpdateArchiveFile));
    if (!remove_old_archive(path)) return false;
    QFile file(path);
    // NewOnly: never write through a link or a file that appeared meanwhile.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
    bool ok = false;
    if (ReplyPtr reply{start_get(url)}) {
        bool writeFailed = false;
        auto save = [&] {
            const QByteArray chunk = reply->readAll();
            if (file.write(chunk) != chunk.size() || file.size() > kUpdateArchiveMaxBytes) {
                writeFailed = true;
                reply->abort();
            }
        };
        connect(reply.get(), &QNetworkReply::readyRead, this, save);
        wait_for(reply.get());
        if (reply->error() == QNetworkReply::NoError && !writeFailed) save();
        ok = reply->error() == QNetworkReply::NoError && !writeFailed && file.flush() &&
             file.size() > 0;
    }
    file.close();
    if (!ok) file.remove();
    return ok;
}

VersionCheck::Outcome VersionCheck::run(const VersionUrls& urls) {
    if (busy_) return Outcome::Busy;
    set_busy(true);
    struct Done {
        VersionCheck* check;
        ~Done() { check->set_busy(false); }
    } done{this};

    lastPage_ = fetch_page(urls.versionPage);
    const std::optional<std::string> line = version_line(lastPage_);
    if (!line) {
        prompter_.message(kVersionPageMissingMessage, MessageKind::Information);
        return Outcome::PageMissing;
    }
    if (*line == kProgramVersion) {
        prompter_.message(kVersionCurrentMessage, MessageKind::Information);
        return Outcome::Current;
    }
    if (!prompter_.ask_yes_no(kNewVersionQuestion)) return Outcome::Declined;
    if (download_archive(urls.archive)) {
        prompter_.message(kDownloadDoneMessage, MessageKind::Information);
        return Outcome::Downloaded;
    }
    prompter_.message(kDownloadFailedMessage, MessageKind::Information);
    return Outcome::DownloadFailed;
}

double serial_date_time(const QDateTime& moment) {
    static const QDate dayZero(1899, 12, 30);
    return double(dayZero.daysTo(moment.date())) +
           moment.time().msecsSinceStartOfDay() / 86'400'000.0;
}

bool weekly_check(ChartSession& session, Prompter& prompter, std::chrono::milliseconds timeout,
                  const QDateTime& now) {
    if (session.window.versionChecked) return false;
    session.window.versionChecked = true;
    Cursor& settings = session.settings;
    const double moment = serial_date_time(now);
    try {
        if (settings.isEmpty() || !settings.asBoolean("check_ver")) return false;
        if (settings.asDateTime("ver_datum") + 7 >= moment) return false;
    } catch (const TableError&) {
        return false;  // a data file without these fields never checks automatically
    }
    try {
        settings.edit();
        settings.setDateTime("ver_datum", moment);
        settings.post();
    } catch (const TableError&) {
        // A read-only data file: check anyway; versionChecked keeps it to once per run.
        settings.cancel();
    }
    VersionCheck check(prompter, QString::fromStdString(session.workDir), timeout);
    check.run(version_urls(session));
    return true;
}

}  // namespace horalun
