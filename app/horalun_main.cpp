// horalun: the desktop program. Runs in the program's folder, which holds data.tdb, the bitmaps
// and the icon, and where it writes its text files.
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>

#include "data/table_store.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Horalun"));
    QApplication::setApplicationDisplayName(QStringLiteral("Horalun"));
    if (QFileInfo::exists(QStringLiteral("myicon.ico")))
        QApplication::setWindowIcon(QIcon(QStringLiteral("myicon.ico")));
    try {
        horalun::TForm1 window(QStringLiteral("."));
        window.show();
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Horalun"), QString::fromUtf8(e.what()));
        return 1;
    }
}
