#include "ui/single_instance.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>

namespace horalun {

namespace {

// The executable behind /proc/<pid>/exe, "" when it cannot be read.
QString executable_of(const QString& procEntry) {
    const QByteArray link = QFile::encodeName(procEntry + QStringLiteral("/exe"));
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(link.constData(), buffer, sizeof buffer);
    if (length <= 0 || size_t(length) >= sizeof buffer) return {};
    QString path = QFile::decodeName(QByteArray(buffer, qsizetype(length)));
    // A running program whose file was replaced still counts as that program.
    const QString deleted = QStringLiteral(" (deleted)");
    if (path.endsWith(deleted)) path.chop(deleted.size());
    return path;
}

}  // namespace

int count_running_copies(const QString& executableName) {
    const QString wanted = executableName.toUpper();
    if (wanted.isEmpty()) return 0;
    const QDir proc(QStringLiteral("/proc"));
    int count = 0;
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        entry.toLongLong(&numeric);
        if (!numeric) continue;
        const QString path = executable_of(proc.filePath(entry));
        if (path.isEmpty()) continue;
        if (QFileInfo(path).fileName().toUpper() == wanted || path.toUpper() == wanted) ++count;
    }
    return count;
}

QString own_executable_name() {
    const QString path = executable_of(QStringLiteral("/proc/self"));
    if (!path.isEmpty()) return QFileInfo(path).fileName();
    if (QCoreApplication::instance())
        return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return {};
}

bool another_copy_running() {
    return count_running_copies(own_executable_name()) >= 2;
}

}  // namespace horalun
