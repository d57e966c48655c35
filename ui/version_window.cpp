#include "ui/version_window.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/chart_calculation.h"
#include "ui/single_instance.h"

namespace horalun {

namespace {

QString icon_path(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kIconFile));
}

QLabel* text_label(QWidget* parent, const QString& name, const QString& text, int pixelSize,
                   bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

}  // namespace

QIcon program_icon(const QString& folder) {
    const QPixmap logo = program_logo(folder);
    if (logo.isNull()) return {};
    return QIcon(icon_path(folder));
}

QPixmap program_logo(const QString& folder) {
    const QString path = icon_path(folder);
    if (!QFileInfo(path).isFile()) return {};
    QImageReader reader(path);
    QImage largest;
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) break;
        const QImage image = reader.read();
        if (!image.isNull() &&
            qint64(image.width()) * image.height() > qint64(largest.width()) * largest.height())
            largest = image;
    }
    return QPixmap::fromImage(largest);
}

TForm7::TForm7(ChartSession& session, Prompter& prompter, QWidget* parent,
               std::chrono::milliseconds timeout)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      session_(session) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Informace o verzi"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    setFont(font);
    check_ = new VersionCheck(prompter, QString::fromStdString(session.workDir), timeout, this);

    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("Image1"));
    logo_->setFixedSize(80, 80);
    logo_->setAlignment(Qt::AlignCenter);
    const QPixmap logo = program_logo(QString::fromStdString(session.workDir));
    if (!logo.isNull())
        logo_->setPixmap(logo.scaled(logo_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));

    auto* heading = new QVBoxLayout;
    heading->setSpacing(2);
    heading->addWidget(text_label(this, QStringLiteral("Label1"),
                                  QStringLiteral("Program Horalun pro astrologické výpočty"), 14,
                                  true));
    heading->addWidget(
        text_label(this, QStringLiteral("Label2"), QString::fromUtf8(kProgramVersion), 13));
    heading->addWidget(text_label(this, QStringLiteral("Label3"),
                                  QStringLiteral("_____________________________________________"),
                                  12));
    heading->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(logo_, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    auto* about = new QVBoxLayout;
    about->setSpacing(5);
    const QString lines[][2] = {
        {QStringLiteral("Label4"),
         QStringLiteral("Horoskop a tranzity, aspekty a jejich vyhledávání v čase, lunace, "
                        "direkce, revoluce a významné datumy.")},
        {QStringLiteral("Label5"), QStringLiteral("Licence: GNU AGPL verze 3 nebo novější")},
        {QStringLiteral("Label6"),
         QStringLiteral("Efemeridy: Swiss Ephemeris, Astrodienst AG (AGPL)")},
        {QStringLiteral("Label7"),
         QStringLiteral("Obsahuje data GeoNames (geonames.org), CC BY 4.0")},
    };
    for (const auto& [name, text] : lines) about->addWidget(text_label(this, name, text, 12));

    checkButton_ = new QPushButton(QStringLiteral("Zjistit novou &verzi"), this);
    checkButton_->setObjectName(QStringLiteral("Button2"));
    checkButton_->setAutoDefault(false);
    closeButton_ = new QPushButton(QStringLiteral("&Zavřít okno"), this);
    closeButton_->setObjectName(QStringLiteral("Button1"));
    closeButton_->setAutoDefault(false);
    for (QPushButton* b : {checkButton_, closeButton_}) b->setMinimumSize(150, 30);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);  // Escape too
    connect(checkButton_, &QPushButton::clicked, this, [this] { runCheck(); });
    // One check at a time; the window itself stays usable meanwhile.
    connect(check_, &VersionCheck::busyChanged, checkButton_, &QWidget::setDisabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(checkButton_);
    buttons->addStretch(1);
    buttons->addWidget(closeButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 14);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addLayout(about);
    layout->addStretch(1);
    layout->addLayout(buttons);

    setFixedSize(484, 325);
    closeButton_->setFocus();
}

VersionCheck::Outcome TForm7::runCheck() {
    return check_->run(version_urls(session_));
}

}  // namespace horalun
