#include "ui/arabic_chooser.h"

#include <algorithm>

#include <QButtonGroup>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/arabic_parts.h"
#include "core/chart_state.h"

namespace horalun {

namespace {

constexpr int kPlainParts = 14;
constexpr int kDeathVariants = 4;
constexpr int kRadioCount = kPlainParts + kDeathVariants;

// Radio index 0..17 of a part and variant; anything outside 1..15 is the first radio.
int radio_of(int part, int variant) {
    if (part >= 1 && part <= kPlainParts) return part - 1;
    if (part == kPlainParts + 1) return kPlainParts + std::clamp(variant, 1, kDeathVariants) - 1;
    return 0;
}

}  // namespace

TArabske_body::TArabske_body(int arabicPart, int deathVariant, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      initialVariant_(std::clamp(deathVariant, 1, kDeathVariants)) {
    setObjectName(QStringLiteral("Arabske_body"));
    setWindowTitle(QStringLiteral("Arabské body"));

    auto* layout = new QVBoxLayout(this);

    auto* heading = new QLabel(QStringLiteral("Výběr arabského bodu pro výpočet"), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    layout->addWidget(heading);

    group_ = new QButtonGroup(this);
    auto* radioLayout = new QVBoxLayout;
    radioLayout->setSpacing(2);
    radioLayout->setContentsMargins(8, 4, 8, 4);
    for (int i = 0; i < kRadioCount; ++i) {
        const int part = i < kPlainParts ? i + 1 : kPlainParts + 1;
        const int variant = i < kPlainParts ? 1 : i - kPlainParts + 1;
        const std::string_view caption = arabic_part_chooser_caption(part, variant);
        auto* radio =
            new QRadioButton(QString::fromUtf8(caption.data(), qsizetype(caption.size())), this);
        radio->installEventFilter(this);
        group_->addButton(radio, i);
        radioLayout->addWidget(radio);
        radios_.append(radio);
    }
    radios_[radio_of(arabicPart, deathVariant)]->setChecked(true);
    layout->addLayout(radioLayout);

    auto* confirm = new QPushButton(QStringLiteral("Potvrdit"), this);
    confirm->setObjectName(QStringLiteral("confirmButton"));
    confirm->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Zrušit"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(confirm, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

int TArabske_body::part() const {
    const int i = std::max(group_->checkedId(), 0);
    return i < kPlainParts ? i + 1 : kPlainParts + 1;
}

int TArabske_body::death_variant() const {
    const int i = std::max(group_->checkedId(), 0);
    return i < kPlainParts ? initialVariant_ : i - kPlainParts + 1;
}

bool TArabske_body::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto* radio = qobject_cast<QRadioButton*>(watched); radio && radios_.contains(radio)) {
            radio->setChecked(true);
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TArabske_body::choose(QWidget* parent, ChartState& state) {
    TArabske_body dialog(state.arabicPart, state.deathVariant, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    state.arabicPart = dialog.part();
    state.deathVariant = dialog.death_variant();
    return true;
}

}  // namespace horalun
