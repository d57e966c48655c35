// TForm7, the version window: the program's name and version, its licence and data sources,
// the logo, and the button that checks for a newer version.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <chrono>

#include "ui/version_check.h"

class QLabel;
class QPushButton;

namespace horalun {

class ChartSession;

// The program's icon from myicon.ico of `folder`; an empty icon when the file is missing or
// unreadable, so the program starts without one.
QIcon program_icon(const QString& folder);
// The largest image of myicon.ico of `folder`; a null pixmap when there is none.
QPixmap program_logo(const QString& folder);

class TForm7 : public QDialog {
    Q_OBJECT
  public:
    // The addresses come from the session's settings record and the archive goes to its
    // working folder (the program's folder); messages go to `prompter`.
    TForm7(ChartSession& session, Prompter& prompter, QWidget* parent = nullptr,
           std::chrono::milliseconds timeout = kVersionTimeout);

    QPushButton* checkButton() const { return checkButton_; }
    QPushButton* closeButton() const { return closeButton_; }
    QLabel* logo() const { return logo_; }
    VersionCheck& check() { return *check_; }

    // "Zjistit novou &verzi": runs the check with the current addresses.
    VersionCheck::Outcome runCheck();

  private:
    ChartSession& session_;
    VersionCheck* check_ = nullptr;
    QPushButton* checkButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QLabel* logo_ = nullptr;
};

}  // namespace horalun
