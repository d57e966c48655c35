#include "ui/degree_meanings_window.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/degree_meanings.h"
#include "data/text_file.h"

namespace horalun {

TStupne::TStupne(const QString& folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("Stupne"));
    setWindowTitle(QStringLiteral("Popis výynamu jednotlivých stupňů planet a domů"));

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont font = memo_->font();
    font.setPointSize(12);
    font.setBold(true);
    memo_->setFont(font);

    const QString path = QDir(folder).filePath(QString::fromLatin1(kDegreeMeaningsFile));
    QString text = QString::fromStdString(read_text_file(path.toStdString()));
    // The file ends with a line end; loaded line by line it has no empty last line.
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    memo_->setPlainText(text);

    auto* close = new QPushButton(QStringLiteral("&Uzavření okna"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(memo_, 1);
    layout->addLayout(buttons);

    setFixedSize(760, 560);
    memo_->setFocus();
}

}  // namespace horalun
