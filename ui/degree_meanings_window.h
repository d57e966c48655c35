// The window that shows the degree meanings file written by the last chart calculation.
#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace horalun {

class TStupne : public QDialog {
    Q_OBJECT

  public:
    // Reads uhly_prvku.txt of `folder` (the working directory by default); a missing file
    // leaves the memo empty.
    explicit TStupne(const QString& folder = QStringLiteral("."), QWidget* parent = nullptr);

    QPlainTextEdit* memo() const { return memo_; }

  private:
    QPlainTextEdit* memo_ = nullptr;
};

}  // namespace horalun
