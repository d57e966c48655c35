// horalun: the desktop program. Runs in the program's folder, which holds data.tdb, the bitmaps
// and the icon, and where it writes its text files. Only one copy runs at a time.
#include <QApplication>
#include <QMessageBox>

#include "data/table_store.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"
#include "ui/version_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (horalun::another_copy_running()) {
        QMessageBox::critical(nullptr, QStringLiteral("Horalun"),
                              QStringLiteral("Aplikace je již spuštěná!!"));
        return 0;
    }
    QApplication::setApplicationName(QStringLiteral("Horalun"));
    QApplication::setApplicationDisplayName(QStringLiteral("Horalun"));
    // A missing or unreadable icon file leaves the program without an icon.
    QApplication::setWindowIcon(horalun::program_icon(QStringLiteral(".")));
    try {
        horalun::TForm1 window(QStringLiteral("."));
        window.show();
        return app.exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Horalun"), QString::fromUtf8(e.what()));
        return 1;
    }
}
