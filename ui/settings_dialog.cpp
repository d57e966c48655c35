#include "ui/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "core/chart_calculation.h"
#include "data/settings_record.h"

namespace horalun {

namespace {

constexpr const char* kSettingsTable = "nastaveni_aspektu";
constexpr const char* kCheckVersionField = "check_ver";

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// Text of the field at `position`, or empty when the record has no such field.
QString text_at(const Cursor& c, int position) {
    if (position >= int(c.fields().size())) return {};
    return q(c.asText(position)).trimmed();
}

}  // namespace

TForm2::TForm2(ChartSession& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session),
      settings_(session.db, kSettingsTable) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Systémová nastavení"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    setFont(font);

    // The orbs: a label and two edits (conjunctions, other aspects) per pair of classes.
    auto* orbGroup = new QGroupBox(QStringLiteral("Nastavení &orbisu aspektů:"), this);
    orbGroup->setGeometry(16, 12, 360, 300);
    constexpr int kEditX[2] = {236, 296};
    auto* cjnTitle = new QLabel(QStringLiteral("CJN:"), orbGroup);
    cjnTitle->setGeometry(kEditX[0], 30, 56, 20);
    auto* otherTitle = new QLabel(QStringLiteral("Ostatní:"), orbGroup);
    otherTitle->setGeometry(kEditX[1], 30, 60, 20);
    // "Ne&beská &světla vůči vnějším:" takes its key from its last marked letter; the first
    // would collide with the row above.
    const QStringList rowCaptions = {
        QStringLiteral("&Nebeská světla mezi sebou:"),
        QStringLiteral("Ne&beská světla vůči vnitřním:"),
        QStringLiteral("Nebeská &světla vůči vnějším:"),
        QStringLiteral("&Vnitřní mezi sebou:"),
        QStringLiteral("Vni&třní vůči vnějším:"),
        QStringLiteral("Vnější vůči vnější&m:"),
    };
    const auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,2}")), this);
    for (int row = 0; row < 6; ++row) {
        const int y = 58 + row * 38;
        auto* label = new QLabel(rowCaptions[row], orbGroup);
        label->setGeometry(16, y, 214, 24);
        for (int col = 0; col < 2; ++col) {
            auto* edit = new QLineEdit(orbGroup);
            edit->setObjectName(QStringLiteral("Edit%1").arg(row * 2 + col + 1));
            edit->setGeometry(kEditX[col], y, 44, 24);
            edit->setMaxLength(2);
            edit->setValidator(digits);
            orbs_[size_t(row * 2 + col)] = edit;
        }
        label->setBuddy(orbs_[size_t(row * 2)]);
    }

    auto* dstGroup = new QGroupBox(QStringLiteral("Nastavení výpočtu letního č&asu:"), this);
    dstGroup->setObjectName(QStringLiteral("RadioGroup1"));
    dstGroup->setGeometry(392, 12, 272, 122);
    const QStringList dstCaptions = {QStringLiteral("Nedělat nic"),
                                     QStringLiteral("Upozornit na změněný čas"),
                                     QStringLiteral("Automaticky počítat se změnou času")};
    auto* dstButtons = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(dstCaptions[i], dstGroup);
        radio->setGeometry(16, 30 + i * 28, 248, 24);
        dstButtons->addButton(radio, i);
        dst_[size_t(i)] = radio;
        // Any click, even on the chosen item, asks for a new summer-time lookup.
        connect(radio, &QRadioButton::clicked, this,
                [this] { session_.state.natalDstSettled = false; });
    }

    auto* fortuneGroup = new QGroupBox(QStringLiteral("Nastavení vý&počtu bodu štěstí:"), this);
    fortuneGroup->setObjectName(QStringLiteral("RadioGroup2"));
    fortuneGroup->setGeometry(392, 146, 272, 94);
    const QStringList fortuneCaptions = {QStringLiteral("Počítat s nočním zrozením"),
                                         QStringLiteral("Ignorovat noční zrození")};
    auto* fortuneButtons = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(fortuneCaptions[i], fortuneGroup);
        radio->setGeometry(16, 30 + i * 28, 248, 24);
        fortuneButtons->addButton(radio, i);
        fortune_[size_t(i)] = radio;
    }

    auto* versionGroup = new QGroupBox(QStringLiteral("Nastavení &zjišťování nové verze"), this);
    versionGroup->setGeometry(392, 252, 272, 60);
    version_ = new QCheckBox(QStringLiteral("Zjišťovat automaticky jednou týdně"), versionGroup);
    version_->setObjectName(QStringLiteral("CheckBox1"));
    version_->setGeometry(16, 28, 248, 24);
    connect(version_, &QCheckBox::clicked, this,
            [this] { session_.window.versionChecked = false; });

    save_ = new QPushButton(QStringLiteral("&Uložit"), this);
    save_->setObjectName(QStringLiteral("Button1"));
    save_->setGeometry(456, 364, 100, 30);
    save_->setDefault(true);
    connect(save_, &QPushButton::clicked, this, &TForm2::save);
    cancel_ = new QPushButton(QStringLiteral("U&končit"), this);
    cancel_->setObjectName(QStringLiteral("Button2"));
    cancel_->setGeometry(564, 364, 100, 30);
    connect(cancel_, &QPushButton::clicked, this, &TForm2::reject);

    load();
    session_.state.natalDstSettled = true;  // closing alone asks for no new lookup

    setFixedSize(680, 421);
    orbs_[0]->setFocus();
}

void TForm2::load() {
    dst_[0]->setChecked(true);
    fortune_[0]->setChecked(true);
    try {
        for (int i = 0; i < 12; ++i) orbs_[size_t(i)]->setText(text_at(settings_, i));
        const QString dst = text_at(settings_, kDstModeField);
        dst_[dst == QLatin1String("2") ? 1 : dst == QLatin1String("3") ? 2 : 0]->setChecked(true);
        fortune_[text_at(settings_, kFortuneModeField) == QLatin1String("2") ? 1 : 0]->setChecked(
            true);
        if (settings_.fieldIndex(kCheckVersionField) >= 0)
            version_->setChecked(settings_.asBoolean(kCheckVersionField));
    } catch (const TableError& e) {
        session_.prompter.message(e.what(), MessageKind::Error);
    }
}

void TForm2::save() {
    const int dst = dst_[1]->isChecked() ? 2 : dst_[2]->isChecked() ? 3 : 1;
    const int fortune = fortune_[1]->isChecked() ? 2 : 1;
    try {
        settings_.edit();
        // An emptied edit stores no value, which reads back as 0.
        for (int i = 0; i < 12; ++i) settings_.setText(i, orbs_[size_t(i)]->text().toStdString());
        settings_.setText(kDstModeField, std::to_string(dst));
        settings_.setText(kFortuneModeField, std::to_string(fortune));
        settings_.setBoolean(kCheckVersionField, version_->isChecked());
        settings_.post();
    } catch (const TableError& e) {
        if (settings_.state() == Cursor::State::Edit || settings_.state() == Cursor::State::Insert)
            settings_.cancel();
        session_.prompter.message(e.what(), MessageKind::Error);
        return;
    }
    session_.state.dstMode = char('0' + dst);
    session_.state.useNightFormula = fortune == 1;
    session_.window.useAsNatal = true;
    accept();
}

void TForm2::reject() {
    session_.state.natalDstSettled = true;
    session_.window.useAsNatal = false;
    QDialog::reject();
}

}  // namespace horalun
