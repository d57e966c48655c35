// The check for a newer version: the version page, the Yes/No question and the download of the
// update archive into the program's folder, over Qt Network without freezing the windows; and
// the weekly automatic check.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/prompter.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace horalun {

class ChartSession;

inline constexpr std::string_view kProgramVersion = "Verze 5.1.0.";
inline constexpr const char* kUpdateArchiveFile = "Horalun_update.zip";
inline constexpr const char* kVersionUserAgent = "Mozilla/4.0, Indy Library (Windows; en-US)";
inline constexpr int kVersionMaxRedirects = 5;
// Ten seconds without any data ends a request; a stalled server cannot hold the check longer.
inline constexpr std::chrono::milliseconds kVersionTimeout{10000};
// A version page is a few lines; an archive beyond this size is not ours.
inline constexpr qint64 kVersionPageMaxBytes = 1 << 20;
inline constexpr qint64 kUpdateArchiveMaxBytes = qint64(512) << 20;

inline constexpr std::string_view kVersionPageMissingMessage =
    "Nenalezena stránka s informací o verzi";
inline constexpr std::string_view kVersionCurrentMessage = "Verze 5.1.0. je aktuální";
inline constexpr std::string_view kNewVersionQuestion =
    "Byla nalezena nová verze, přejete si jí stáhnout ?";
inline constexpr std::string_view kDownloadDoneMessage =
    "Stažení dokončeno, soubor horalun_zip naleznete v adresáři s programem";
inline constexpr std::string_view kDownloadFailedMessage =
    "Stažení se nezdařilo, opakujte postup !";

// The last line of `page` that contains "Verze" (case-sensitive); lines end at CR LF, LF or CR.
// nullopt when no line does (an empty page included).
std::optional<std::string> version_line(std::string_view page);

struct VersionUrls {
    QString versionPage;  // ver_url of the settings record
    QString archive;      // upd_url
};
// The two addresses from the session's settings record; empty when the data file has no such
// fields or no settings row.
VersionUrls version_urls(ChartSession& session);

class VersionCheck : public QObject {
    Q_OBJECT
  public:
    enum class Outcome { PageMissing, Current, Declined, Downloaded, DownloadFailed, Busy };

    // Messages and the question go to `prompter`; the archive is saved in `programFolder`.
    VersionCheck(Prompter& prompter, QString programFolder,
                 std::chrono::milliseconds timeout = kVersionTimeout, QObject* parent = nullptr);
    ~VersionCheck() override;

    // The whole check with its messages. The requests wait in a local event loop, so windows
    // keep painting and answering meanwhile; a call while a check runs returns Busy at once.
    Outcome run(const VersionUrls& urls);
    bool busy() const { return busy_; }

    // The version page as bytes; "error" when the address is empty or not http(s), or the
    // request fails in any way (an HTTP error status, too many redirects, the time-out).
    std::string fetch_page(const QString& url);
    // Saves the archive as Horalun_update.zip in the program's folder, replacing an older file
    // (its write protection cleared first). True when the transfer ended without error and the
    // file is not empty; otherwise no file is left behind.
    bool download_archive(const QString& url);

    // The text of the last version page fetched.
    const std::string& lastPage() const { return lastPage_; }

  signals:
    void busyChanged(bool busy);

  private:
    QNetworkReply* start_get(const QString& url);
    void wait_for(QNetworkReply* reply);
    void set_busy(bool busy);

    Prompter& prompter_;
    QString folder_;
    std::chrono::milliseconds timeout_;
    QNetworkAccessManager* manager_;
    std::string lastPage_;
    bool busy_ = false;
};

// The serial date-time (days from 30.12.1899, the time as the fraction) of a local moment.
double serial_date_time(const QDateTime& moment);

// One tick of the main window's version timer. Does nothing once versionChecked is set, and
// sets it; then, when check_ver is on and ver_datum is more than seven days before `now`,
// stores `now` as ver_datum first (so a failed check waits a week too) and runs the check,
// with its messages through `prompter`. Returns true when the check ran.
bool weekly_check(ChartSession& session, Prompter& prompter,
                  std::chrono::milliseconds timeout = kVersionTimeout,
                  const QDateTime& now = QDateTime::currentDateTime());

}  // namespace horalun
