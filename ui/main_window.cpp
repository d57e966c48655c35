#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFrame>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QTime>

#include "core/arabic_parts.h"
#include "core/chart_input.h"
#include "core/date_stepping.h"
#include "core/notation.h"
#include "core/zodiac.h"
#include "data/names_export.h"
#include "data/text_format.h"
#include "ui/arabic_chooser.h"
#include "ui/aspect_table.h"
#include "ui/chart_wheel.h"
#include "ui/degree_meanings_window.h"
#include "ui/settings_dialog.h"
#include "ui/sign_glyph.h"
#include "ui/summer_time_window.h"
#include "ui/version_check.h"
#include "ui/version_window.h"

namespace horalun {

namespace {

QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

constexpr int kRow = 26;  // the rows of the position and house tables
constexpr int kOptionalTop = 345;

// The position table's rows: point, name, glyph bitmap, position label, sign label, sign image.
struct PositionRow {
    PointKey key;
    const char* name;
    const char* glyph;
    const char* positionLabel;
    const char* signLabel;
    const char* signImage;
    const char* filter;
};
constexpr PositionRow kPositionRows[] = {
    {PointKey::slunce, "Slunce:", "slunce1.bmp", "Label2", "Label33", "Image14", "Slunce"},
    {PointKey::mesic, "Měsíc:", "mesic1.bmp", "Label4", "Label34", "Image15", "Měsíc"},
    {PointKey::merkur, "Merkur:", "merkur1.bmp", "Label6", "Label35", "Image16", "Merkur"},
    {PointKey::venuse, "Venuše:", "venuse1.bmp", "Label8", "Label36", "Image17", "Venuše"},
    {PointKey::mars, "Mars:", "mars1.bmp", "Label10", "Label37", "Image18", "Mars"},
    {PointKey::jupiter, "Jupiter:", "jupiter1.bmp", "Label12", "Label38", "Image19", "Jupiter"},
    {PointKey::saturn, "Saturn:", "saturn1.bmp", "Label14", "Label39", "Image20", "Saturn"},
    {PointKey::uran, "Uran:", "uran1.bmp", "Label16", "Label40", "Image21", "Uran"},
    {PointKey::neptun, "Neptun:", "neptun1.bmp", "Label18", "Label41", "Image22", "Neptun"},
    {PointKey::pluto, "Pluto:", "pluto1.bmp", "Label20", "Label42", "Image23", "Pluto"},
    {PointKey::s_uzel, "S. Uzel:", "s_uzel1.bmp", "Label22", "Label43", "Image24", "Sev. Uzel"},
    {PointKey::lilith, "Lilith:", "lilith1.bmp", "Label24", "Label44", "Image25", "Lilith"},
    {PointKey::chiron, "Chiron:", "chiron1.bmp", "Label26", "Label45", "Image26", "Chiron"},
};
// The optional rows, stacked below Chiron in this order when shown.
struct OptionalRow {
    const char* picture;  // image name
    const char* name;     // name label
    const char* caption;
    const char* glyph;
    const char* positionLabel;
    const char* signLabel;
    const char* signImage;
};
constexpr OptionalRow kOptionalRows[] = {
    {"Image40", "Label111", "B. štěs.:", "stesti1.bmp", "Label110", "Label109", "Image39"},
    {"Image41", "Label114", "J. Uzel.:", "j_uzel1.bmp", "Label113", "Label112", "Image42"},
    {"Image44", "Label117", "", "otec1.bmp", "Label116", "Label115", "Image43"},
};

struct HouseRow {
    const char* caption;
    const char* degreeLabel;
    const char* signLabel;
    const char* image;
};
constexpr HouseRow kHouseRows[] = {
    {"ASC:", "Label46", "Label47", "Image27"},     {"2. dům:", "Label49", "Label50", "Image28"},
    {"3. dům:", "Label52", "Label53", "Image29"},  {"IC:", "Label55", "Label56", "Image30"},
    {"5. dům:", "Label58", "Label59", "Image31"},  {"6. dům:", "Label61", "Label62", "Image32"},
    {"DESC:", "Label64", "Label65", "Image33"},    {"8. dům:", "Label67", "Label68", "Image34"},
    {"9. dům:", "Label70", "Label71", "Image35"},  {"MC:", "Label73", "Label74", "Image36"},
    {"11. dům:", "Label76", "Label77", "Image37"}, {"12. dům:", "Label79", "Label80", "Image38"},
};

constexpr const char* kElementLabels[] = {"Label30", "Label32", "Label82", "Label84", "Label86",
                                          "Label88", "Label90", "Label92", "Label94"};

// Commands: caption, available now, and for the others what they will open.
struct Command {
    const char* caption;
    const char* pending;  // nullptr when the command works
};
constexpr Command kCommands[] = {
    {"&Výpočet", nullptr},
    {"Tabulka &aspektů", nullptr},
    {"Významy &stupňů", nullptr},
    {"Hodnota planet", "Otevře hodnocení planet a živlů (připravuje se)."},
    {"&Jména", "Otevře databázi jmen, datumů a souřadnic (připravuje se)."},
    {"&Města", "Otevře zeměpisné souřadnice obcí ČR (připravuje se)."},
    {"Uložit &horoskop", "Uloží horoskop do databáze jmen (připravuje se)."},
    {"Uložit t&ranzity", "Uloží tranzity do databáze jmen (připravuje se)."},
    {"Astrologic&ké výpočty", "Otevře astrologické výpočty a hledání aspektů (připravuje se)."},
    {"Ta&bul. letních časů", nullptr},
    {"Sek&undární direkce", "Otevře sekundární direkce (připravuje se)."},
    {"Sol. / Lun. &revoluce", "Otevře solární a lunární revoluce (připravuje se)."},
    {"Vý&znamné datumy", "Otevře významné datumy a retrográdní pohyby (připravuje se)."},
    {"Natální / vypočtený", "Přepne mezi natálním a vypočteným horoskopem (připravuje se)."},
    {"&Nastavení výpočtů", nullptr},
    {"V&erze programu", nullptr},
    {"Primární direkce", "Otevře primární direkce (připravuje se)."},
};

bool allowed_key(InputField field, const QKeyEvent* e) {
    const int k = e->key();
    if (k == Qt::Key_Backspace || k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Return ||
        k == Qt::Key_Enter || k == Qt::Key_Delete || k == Qt::Key_Left || k == Qt::Key_Right ||
        k == Qt::Key_Home || k == Qt::Key_End)
        return true;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return true;  // copy, paste
    const QString t = e->text();
    if (t.size() != 1) return t.isEmpty() ? true : false;
    const QChar c = t[0];
    if (c.isDigit()) return true;
    switch (field) {
        case InputField::NatalDate:
        case InputField::TransitDate:
            return c == ' ' || c == QChar(date_separator());
        case InputField::NatalTime:
        case InputField::TransitTime:
            return c == ':';
        case InputField::NatalLon:
        case InputField::TransitLon:
            return QString("EWew").contains(c);
        case InputField::NatalLat:
        case InputField::TransitLat:
            return QString("NSns").contains(c);
        default:
            return false;
    }
}

}  // namespace

void MessageBoxPrompter::message(std::string_view text, MessageKind kind) {
    const QString t = q(text);
    switch (kind) {
        case MessageKind::Error:
            QMessageBox::critical(parent_, QStringLiteral("Horalun"), t);
            break;
        case MessageKind::Warning:
            QMessageBox::warning(parent_, QStringLiteral("Horalun"), t);
            break;
        default:
            QMessageBox::information(parent_, QStringLiteral("Horalun"), t);
            break;
    }
}

bool MessageBoxPrompter::ask_yes_no(std::string_view text) {
    return QMessageBox::question(parent_, QStringLiteral("Horalun"), q(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

TForm1::TForm1(const QString& folder, Prompter* prompter, QWidget* parent)
    : QWidget(parent), folder_(folder), glyphs_(folder) {
    if (!prompter) {
        ownPrompter_ = std::make_unique<MessageBoxPrompter>(this);
        prompter = ownPrompter_.get();
    }
    session_ = std::make_unique<ChartSession>(
        Database::open(QDir(folder).filePath("data.tdb").toStdString()), *prompter,
        folder.toStdString());
    ChartState& st = session_->state;
    MainInputs& in = session_->inputs;
    MainWindowState& win = session_->window;
    // Numbers the program writes use the locale's decimal separator; dates always use ".".
    const QString decimalPoint = QLocale().decimalPoint();
    if (decimalPoint.size() == 1 && decimalPoint[0].unicode() < 128) {
        set_decimal_separator(char(decimalPoint[0].unicode()));
        session_->decimalSeparator = char(decimalPoint[0].unicode());
    }

    setWindowTitle(QStringLiteral("Horalun - program pro astrologické výpočty    verze 5.1.0"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(1289, 707);

    wheel_ = new ChartWheel(st, in, win, glyphs_);
    wheel_->setParent(this);
    wheel_->move(8, 8);
    session_->redrawWheel = [this] { wheel_->update(); };

    auto panel = [this](int x, int y, int w, int h, bool white) {
        auto* p = new QFrame(this);
        p->setGeometry(x, y, w, h);
        p->setFrameShape(QFrame::StyledPanel);
        if (white) {
            p->setAutoFillBackground(true);
            QPalette pal = p->palette();
            pal.setColor(QPalette::Window, Qt::white);
            p->setPalette(pal);
        }
        return p;
    };
    buildPositionPanel(panel(993, 8, 265, 437, true));
    buildHousePanel(panel(690, 8, 287, 329, true));
    buildElementPanel(panel(1146, 450, 112, 227, false));
    buildInputPanel(panel(690, 347, 287, 355, false));
    buildCommands();

    // Creation, in the order of the main window's start.
    commands_.at("Natální / vypočtený")->hide();
    st.arabicPart = 0;
    st.deathVariant = 1;
    st.partnerMode = false;
    win.versionChecked = false;
    in.suppressDstClicks = false;
    st.dstLookupEnabled = false;
    layoutOptionalRows();
    st.natalStepping = st.transitStepping = false;
    win.aspectFilter.clear();
    st.planetAspects = true;
    setTransitGroupEnabled(false);
    arabicButton_->hide();
    win.useAsNatal = win.useAsTransit = false;
    spacingEdit_->setText(QString::number(st.planetAngleLimit));

    const QDate today = QDate::currentDate();
    const QTime now = QTime::currentTime();
    const std::string date =
        format_date_text(serial_from_ymd(today.year(), today.month(), today.day()));
    const std::string time = format_clock_time(now.hour(), now.minute());
    in.setText(InputField::NatalDate, date);
    in.setText(InputField::TransitDate, date);
    in.setText(InputField::NatalTime, time);
    in.setText(InputField::TransitTime, time);
    syncInputsToWidgets();

    st.windowCreating = true;
    calculate();
    st.windowCreating = false;
    st.dstLookupEnabled = true;
    st.natalDstSettled = st.transitDstSettled = false;

    connect(&stepTimer_, &QTimer::timeout, this, &TForm1::stepTimerTick);
    connect(&mailboxTimer_, &QTimer::timeout, this, &TForm1::mailboxTimerTick);
    connect(&startupTimer_, &QTimer::timeout, this, &TForm1::startupTimerTick);
    connect(&versionTimer_, &QTimer::timeout, this,
            [this] { weekly_check(*session_, session_->prompter); });
    versionTimer_.start(10000);
    stepTimer_.start(800);
    mailboxTimer_.start(300);
    startupTimer_.setSingleShot(true);
    startupTimer_.start(700);
    installEventFilter(this);
}

TForm1::~TForm1() = default;

QPushButton* TForm1::command(const QString& caption) const {
    const auto it = commands_.find(caption);
    return it == commands_.end() ? nullptr : it->second;
}

QLabel* TForm1::label(const QString& name) const {
    const auto it = labels_.find(name);
    return it == labels_.end() ? nullptr : it->second;
}

QLabel* TForm1::makeLabel(QWidget* parent, const QString& name, const QString& text, int x, int y,
                          int w, bool bold) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, 16);
    if (bold) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    if (!name.isEmpty()) {
        l->setObjectName(name);
        labels_[name] = l;
    }
    return l;
}

QLabel* TForm1::makeImage(QWidget* parent, const QString& name, int x, int y) {
    auto* l = new QLabel(parent);
    l->setGeometry(x, y, 20, 20);
    l->setObjectName(name);
    labels_[name] = l;
    return l;
}

QLineEdit* TForm1::makeEdit(QWidget* parent, InputField field, int x, int y, int w, int maxLength) {
    auto* e = new QLineEdit(parent);
    e->setGeometry(x, y, w, 20);
    e->setMaxLength(maxLength);
    e->installEventFilter(this);
    edits_[field] = e;
    connect(e, &QLineEdit::textEdited, this,
            [this, field](const QString& text) { onTextEdited(field, text); });
    connect(e, &QLineEdit::returnPressed, this, [this] { calculate(); });
    return e;
}

QCheckBox* TForm1::makeBox(QWidget* parent, Box b, const QString& caption, int x, int y, int w) {
    auto* c = new QCheckBox(caption, parent);
    c->setGeometry(x, y, w, 18);
    boxes_[b] = c;
    connect(c, &QCheckBox::clicked, this, [this, b](bool checked) { onBoxClicked(b, checked); });
    return c;
}

void TForm1::buildPositionPanel(QWidget* panel) {
    for (size_t i = 0; i < std::size(kPositionRows); ++i) {
        const PositionRow& r = kPositionRows[i];
        const int y = 7 + kRow * int(i);
        QLabel* glyph = makeImage(panel, QString("Glyph_%1").arg(r.name), 8, y);
        glyph->setPixmap(
            glyphs_.pixmap(r.glyph).scaled(20, 20, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        QLabel* name = makeLabel(panel, QString(), QString::fromUtf8(r.name), 34, y + 3, 62, true);
        makeLabel(panel, r.positionLabel, QString(), 98, y + 3, 72, true);
        makeLabel(panel, r.signLabel, QString(), 170, y + 3, 62);
        makeImage(panel, r.signImage, 236, y);
        hoverTargets_[name] = r.filter;
        hoverTargets_[glyph] = r.filter;
        name->installEventFilter(this);
        glyph->installEventFilter(this);
    }
    for (const OptionalRow& r : kOptionalRows) {
        QLabel* picture = makeImage(panel, r.picture, 8, kOptionalTop);
        picture->setPixmap(
            glyphs_.pixmap(r.glyph).scaled(20, 20, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        QLabel* name =
            makeLabel(panel, r.name, QString::fromUtf8(r.caption), 34, kOptionalTop + 3, 62, true);
        makeLabel(panel, r.positionLabel, QString(), 98, kOptionalTop + 3, 72, true);
        makeLabel(panel, r.signLabel, QString(), 170, kOptionalTop + 3, 62);
        makeImage(panel, r.signImage, 236, kOptionalTop);
        name->installEventFilter(this);
        picture->installEventFilter(this);
    }
    hoverTargets_[labels_.at("Label111")] = "Bod štěstí";
    hoverTargets_[labels_.at("Image40")] = "Bod štěstí";
    hoverTargets_[labels_.at("Label114")] = "Již. Uzel";
    hoverTargets_[labels_.at("Image41")] = "Již. Uzel";
    makeBox(panel, Box::ShowTransitValues, QStringLiteral("&Zobrazit hodnoty tranzitů"), 8, 414,
            250);
}

void TForm1::buildHousePanel(QWidget* panel) {
    for (size_t i = 0; i < std::size(kHouseRows); ++i) {
        const HouseRow& r = kHouseRows[i];
        const int y = 8 + kRow * int(i);
        QLabel* caption =
            makeLabel(panel, QString(), QString::fromUtf8(r.caption), 10, y + 3, 70, true);
        makeLabel(panel, r.degreeLabel, QString(), 90, y + 3, 80, true);
        makeLabel(panel, r.signLabel, QString(), 175, y + 3, 75);
        makeImage(panel, r.image, 255, y);
        hoverTargets_[caption] = std::to_string(i + 1) + ". dům";
        caption->installEventFilter(this);
    }
}

void TForm1::buildElementPanel(QWidget* panel) {
    const char* captions[] = {"Oheň:",  "Voda:",      "Vzduch:",     "Země:",      "Základní:",
                              "Pevná:", "Pohyblivá:", "Elektrická:", "Magnetická:"};
    for (int i = 0; i < 9; ++i) {
        makeLabel(panel, QString(), QString::fromUtf8(captions[i]), 4, 3 + 16 * i, 74);
        makeLabel(panel, kElementLabels[i], QString(), 80, 3 + 16 * i, 28, true);
    }
    makeLabel(panel, QString(), QStringLiteral("Rychlosti:"), 4, 150, 100, true);
    makeLabel(panel, QString(), QStringLiteral("Měsíc:"), 4, 166, 48);
    makeLabel(panel, QStringLiteral("Label104"), QString(), 52, 166, 58, true);
    makeLabel(panel, QString(), QStringLiteral("Merkur:"), 4, 182, 48);
    makeLabel(panel, QStringLiteral("Label106"), QString(), 52, 182, 58, true);
    makeLabel(panel, QString(), QStringLiteral("Zrození:"), 4, 204, 54, true);
    makeLabel(panel, QStringLiteral("Label107"), QString(), 58, 204, 52, true);
}

void TForm1::buildInputPanel(QWidget* p) {
    auto button = [this, p](const QString& caption, int x, int y, int w) {
        auto* b = new QPushButton(caption, p);
        b->setGeometry(x, y, w, 20);
        return b;
    };
    makeLabel(p, QString(), QStringLiteral("&Datum a čas:"), 6, 6, 80, true)
        ->setBuddy(makeEdit(p, InputField::NatalDate, 88, 4, 78, 12));
    makeEdit(p, InputField::NatalTime, 168, 4, 44, 5);
    makeLabel(p, QString(), QStringLiteral("S&ouřadnice:"), 6, 28, 80, true)
        ->setBuddy(makeEdit(p, InputField::NatalLon, 88, 26, 60, 5));
    makeEdit(p, InputField::NatalLat, 150, 26, 62, 5);
    natalBack_ = button(QStringLiteral("<<"), 216, 4, 32);
    natalForward_ = button(QStringLiteral(">>"), 250, 4, 32);
    natalStop_ = button(QStringLiteral("Stop"), 216, 26, 66);
    makeBox(p, Box::NatalSummer, QStringLiteral("Letní čas"), 6, 48, 80);
    makeBox(p, Box::NatalWinter, QStringLiteral("Zimní čas"), 88, 48, 80);
    makeBox(p, Box::Arabic, QStringLiteral("Arabské body"), 6, 68, 110);
    arabicButton_ = button(QStringLiteral(">"), 118, 67, 24);
    makeBox(p, Box::Fortune, QStringLiteral("Bod štěstí"), 150, 68, 90);
    makeBox(p, Box::SouthNode, QStringLiteral("Jižní. Uzel"), 6, 88, 110);

    makeBox(p, Box::Transits, QStringLiteral("&Tranzity"), 150, 88, 90);
    QLabel* tl = makeLabel(p, QString(), QStringLiteral("Dat&um a čas:"), 6, 112, 80, true);
    tl->setBuddy(makeEdit(p, InputField::TransitDate, 88, 110, 78, 12));
    makeEdit(p, InputField::TransitTime, 168, 110, 44, 5);
    QLabel* cl = makeLabel(p, QString(), QStringLiteral("Souřadnic&e:"), 6, 134, 80, true);
    cl->setBuddy(makeEdit(p, InputField::TransitLon, 88, 132, 60, 5));
    makeEdit(p, InputField::TransitLat, 150, 132, 62, 5);
    transitBack_ = button(QStringLiteral("<<"), 216, 110, 32);
    transitForward_ = button(QStringLiteral(">>"), 250, 110, 32);
    transitStop_ = button(QStringLiteral("Stop"), 216, 132, 66);
    makeBox(p, Box::TransitSummer, QStringLiteral("Letní čas"), 6, 154, 80);
    makeBox(p, Box::TransitWinter, QStringLiteral("Zimní čas"), 88, 154, 80);
    makeBox(p, Box::Partner, QStringLiteral("Partnerský"), 176, 154, 100);
    makeBox(p, Box::AngleAsc, QStringLiteral("ASC"), 6, 174, 56);
    makeBox(p, Box::AngleMc, QStringLiteral("MC"), 66, 174, 56);
    makeBox(p, Box::AngleDesc, QStringLiteral("Desc."), 126, 174, 64);
    makeBox(p, Box::AngleIc, QStringLiteral("IC."), 194, 174, 56);
    transitGroup_ = {tl,
                     cl,
                     edits_.at(InputField::TransitDate),
                     edits_.at(InputField::TransitTime),
                     edits_.at(InputField::TransitLon),
                     edits_.at(InputField::TransitLat),
                     transitBack_,
                     transitForward_,
                     boxes_.at(Box::ShowTransitValues),
                     boxes_.at(Box::TransitSummer),
                     boxes_.at(Box::TransitWinter),
                     boxes_.at(Box::AngleAsc),
                     boxes_.at(Box::AngleMc),
                     boxes_.at(Box::AngleDesc),
                     boxes_.at(Box::AngleIc),
                     boxes_.at(Box::Partner)};
    angleBoxes_ = {{boxes_.at(Box::AngleAsc), Box::AngleAsc},
                   {boxes_.at(Box::AngleMc), Box::AngleMc},
                   {boxes_.at(Box::AngleDesc), Box::AngleDesc},
                   {boxes_.at(Box::AngleIc), Box::AngleIc}};
    for (const auto& [widget, b] : angleBoxes_) widget->installEventFilter(this);

    makeLabel(p, QString(), QStringLiteral("____________Typy domů__________"), 6, 196, 270);
    regio_ = new QRadioButton(QStringLiteral("Re&giomontanus"), p);
    regio_->setGeometry(6, 212, 130, 18);
    regio_->setChecked(true);
    placidus_ = new QRadioButton(QStringLiteral("Plac&idus"), p);
    placidus_->setGeometry(150, 212, 120, 18);
    connect(regio_, &QRadioButton::clicked, this, [this] {
        session_->inputs.setPlacidus(false);
        calculate();
    });
    connect(placidus_, &QRadioButton::clicked, this, [this] {
        session_->inputs.setPlacidus(true);
        calculate();
    });
    makeLabel(p, QString(), QStringLiteral("_________Zobrazení aspektů_______"), 6, 234, 270);
    makeBox(p, Box::Planets, QStringLiteral("&Planety"), 6, 250, 110)->setChecked(true);
    makeBox(p, Box::Houses, QStringLiteral("Dom&y"), 150, 250, 110);
    makeLabel(p, QString(), QStringLiteral("_________Zobrazení planet_________"), 6, 272, 270);
    smallGlyphs_ = new QCheckBox(QStringLiteral("Menší p&lanety"), p);
    smallGlyphs_->setGeometry(6, 288, 130, 18);
    connect(smallGlyphs_, &QCheckBox::clicked, this, [this](bool checked) {
        session_->window.smallGlyphs = checked;
        calculate();
    });
    makeLabel(p, QString(), QStringLiteral("Úhel mezi planetami:"), 6, 314, 130);
    spacingMinus_ = button(QStringLiteral("-"), 140, 311, 24);
    spacingEdit_ = new QLineEdit(p);
    spacingEdit_->setGeometry(166, 311, 32, 20);
    spacingEdit_->setReadOnly(true);
    spacingEdit_->setAlignment(Qt::AlignCenter);
    spacingPlus_ = button(QStringLiteral("+"), 200, 311, 24);
    connect(spacingMinus_, &QPushButton::clicked, this, [this] { changeSpacing(-1); });
    connect(spacingPlus_, &QPushButton::clicked, this, [this] { changeSpacing(1); });
    connect(spacingEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.isEmpty()) return;
        Cursor& settings = session_->settings;
        settings.edit();
        settings.setText("uhel_mezi_planetami", text.toStdString());
        settings.post();
    });

    connect(natalBack_, &QPushButton::clicked, this, [this] { stepArrow(false, true); });
    connect(natalForward_, &QPushButton::clicked, this, [this] { stepArrow(false, false); });
    connect(transitBack_, &QPushButton::clicked, this, [this] { stepArrow(true, true); });
    connect(transitForward_, &QPushButton::clicked, this, [this] { stepArrow(true, false); });
    connect(natalStop_, &QPushButton::clicked, this, [this] { stopStepping(false); });
    connect(transitStop_, &QPushButton::clicked, this, [this] { stopStepping(true); });
    connect(arabicButton_, &QPushButton::clicked, this, [this] {
        if (TArabske_body::choose(this, session_->state)) calculate();
    });
}

void TForm1::buildCommands() {
    int y = 446;
    for (const Command& c : kCommands) {
        auto* b = new QPushButton(QString::fromUtf8(c.caption), this);
        b->setGeometry(993, y, 148, 15);
        QFont f = b->font();
        f.setBold(true);
        f.setPixelSize(10);
        b->setFont(f);
        commands_[b->text()] = b;
        if (c.pending) {
            b->setEnabled(false);
            b->setToolTip(QString::fromUtf8(c.pending));
            unavailable_.push_back(b);
        }
        y += 15;
    }
    connect(commands_.at("&Výpočet"), &QPushButton::clicked, this, [this] { calculate(); });
    connect(commands_.at("Významy &stupňů"), &QPushButton::clicked, this, [this] {
        TStupne window(folder_, this);
        window.exec();
    });
    connect(commands_.at("Tabulka &aspektů"), &QPushButton::clicked, this, [this] {
        TForm3 window(folder_, this);
        window.exec();
    });
    connect(commands_.at("Ta&bul. letních časů"), &QPushButton::clicked, this, [this] {
        Tletnicasy window(session_->db, this);
        window.exec();
    });
    connect(commands_.at("&Nastavení výpočtů"), &QPushButton::clicked, this, [this] {
        TForm2 dialog(*session_, this);
        dialog.exec();
        if (!session_->window.useAsNatal) return;
        // Saved: every value is read again from the record.
        session_->window.useAsNatal = false;
        session_->settings.refresh();
        session_->read_settings();
        spacingEdit_->setText(QString::number(session_->state.planetAngleLimit));
        session_->window.keepComputedButton = false;
        calculate();
    });
    connect(commands_.at("V&erze programu"), &QPushButton::clicked, this, [this] {
        TForm7 window(*session_, session_->prompter, this);
        window.exec();
    });
}

void TForm1::calculate() {
    const CalculationResult r = calculate_chart(*session_);
    syncInputsToWidgets();
    if (r.status == CalculationResult::Status::Busy) return;
    if (r.ok()) showPanels();
    if (r.focus != InputField::None) edits_.at(r.focus)->setFocus();
    wheel_->update();
}

void TForm1::showPanels() {
    const ChartPanels& p = session_->panels;
    const ChartState& st = session_->state;
    for (const PositionRow& r : kPositionRows) {
        labels_.at(r.positionLabel)->setText(q(p.positions[r.key].position));
        labels_.at(r.signLabel)->setText(q(p.positions[r.key].sign));
        load_sign_glyph(p.positions[r.key].sign, labels_.at(r.signImage), glyphs_);
    }
    const PanelRow& fortune = p.positions[PointKey::stesti];
    labels_.at("Label110")->setText(q(fortune.position));
    labels_.at("Label109")->setText(q(fortune.sign));
    load_sign_glyph(fortune.sign, labels_.at("Image39"), glyphs_);
    const PanelRow& south = p.positions[PointKey::j_uzel];
    labels_.at("Label113")->setText(q(south.position));
    labels_.at("Label112")->setText(q(south.sign));
    load_sign_glyph(south.sign, labels_.at("Image42"), glyphs_);
    if (st.arabicPart >= 1 && st.arabicPart <= 15) {
        const PanelRow& arabic = p.positions[arabic_part_key(st.arabicPart)];
        labels_.at("Label117")->setText(q(p.arabicCaption));
        labels_.at("Label116")->setText(q(arabic.position));
        labels_.at("Label115")->setText(q(arabic.sign));
        load_sign_glyph(arabic.sign, labels_.at("Image43"), glyphs_);
        hoverTargets_[labels_.at("Label117")] = std::string(arabic_part_short_name(st.arabicPart));
        hoverTargets_[labels_.at("Image44")] = std::string(arabic_part_short_name(st.arabicPart));
    }
    for (int h = 1; h <= 12; ++h) {
        const HouseRow& r = kHouseRows[h - 1];
        labels_.at(r.degreeLabel)->setText(q(p.houses[size_t(h)].position));
        labels_.at(r.signLabel)->setText(q(p.houses[size_t(h)].sign));
        load_sign_glyph(p.houses[size_t(h)].sign, labels_.at(r.image), glyphs_);
    }
    for (int i = 0; i < 9; ++i) labels_.at(kElementLabels[i])->setText(q(p.elements[size_t(i)]));
    labels_.at("Label104")->setText(q(p.moonSpeed));
    labels_.at("Label106")->setText(q(p.mercurySpeed));
    labels_.at("Label107")->setText(q(p.dayNight));
}

// Shows the optional rows that are on, each in the next free slot below Chiron.
void TForm1::layoutOptionalRows() {
    const MainInputs& in = session_->inputs;
    const bool on[] = {in.box(Box::Fortune), in.box(Box::SouthNode), in.box(Box::Arabic)};
    int slot = 0;
    for (int i = 0; i < 3; ++i) {
        const OptionalRow& r = kOptionalRows[i];
        for (const char* name : {r.picture, r.name, r.positionLabel, r.signLabel, r.signImage}) {
            QLabel* l = labels_.at(name);
            l->setVisible(on[i]);
            const bool image = QString(name).startsWith("Image");
            l->move(l->x(), kOptionalTop + kRow * slot + (image ? 0 : 3));
        }
        if (on[i]) ++slot;
    }
}

void TForm1::syncInputsToWidgets() {
    syncing_ = true;
    const MainInputs& in = session_->inputs;
    for (const auto& [field, e] : edits_) {
        const QString text = q(in.text(field));
        if (e->text() != text) e->setText(text);
    }
    for (const auto& [b, c] : boxes_) {
        QSignalBlocker block(c);
        c->setChecked(in.box(b));
    }
    QSignalBlocker r1(regio_), r2(placidus_);
    (in.placidus() ? placidus_ : regio_)->setChecked(true);
    syncing_ = false;
}

void TForm1::onTextEdited(InputField field, const QString& text) {
    if (syncing_) return;
    MainInputs& in = session_->inputs;
    in.setText(field, text.toStdString());
    QLineEdit* e = edits_.at(field);
    const QString model = q(in.text(field));
    if (e->text() != model) {
        const int cursor = e->cursorPosition() - (e->text().size() - model.size());
        e->setText(model);
        e->setCursorPosition(std::max(0, cursor));
    }
}

void TForm1::onBoxClicked(Box b, bool checked) {
    ChartState& st = session_->state;
    MainInputs& in = session_->inputs;
    MainWindowState& win = session_->window;
    if (b == Box::Arabic) {
        if (checked) {
            if (!TArabske_body::choose(this, st)) {
                boxes_.at(Box::Arabic)->setChecked(false);
                return;
            }
            in.setBox(Box::Arabic, true);
            arabicButton_->show();
        } else {
            in.setBox(Box::Arabic, false);
            arabicButton_->hide();
        }
        layoutOptionalRows();
        calculate();
        return;
    }
    in.setBox(b, checked);
    switch (b) {
        case Box::Planets:
        case Box::Houses: {
            const bool any = in.box(Box::Planets) || in.box(Box::Houses);
            QPushButton* table = commands_.at("Tabulka &aspektů");
            if (std::find(unavailable_.begin(), unavailable_.end(), table) == unavailable_.end())
                table->setEnabled(any);
            break;
        }
        case Box::Fortune:
        case Box::SouthNode:
            layoutOptionalRows();
            break;
        case Box::Transits:
            setTransitGroupEnabled(checked);
            if (checked) win.keepComputedButton = true;
            break;
        case Box::AngleAsc:
        case Box::AngleMc:
        case Box::AngleDesc:
        case Box::AngleIc: {
            // A click acts as entering the box, and clears the filter when it unticks it.
            const bool aspects = st.planetAspects || st.houseAspects;
            QCheckBox* c = boxes_.at(b);
            if (in.box(Box::Transits) && checked && aspects) {
                setHoverFilter(hoverTargets_.count(c) ? hoverTargets_.at(c) : std::string());
                return;
            }
            if (!checked && aspects) {
                win.aspectFilter.clear();
                calculate();
            }
            return;
        }
        default:
            break;
    }
    syncInputsToWidgets();
    calculate();
}

void TForm1::setTransitGroupEnabled(bool enabled) {
    for (QWidget* w : transitGroup_) w->setEnabled(enabled);
    transitStop_->setEnabled(enabled && session_->state.transitStepping);
    QPushButton* save =
        commands_.count("Uložit t&ranzity") ? commands_.at("Uložit t&ranzity") : nullptr;
    if (save && std::find(unavailable_.begin(), unavailable_.end(), save) == unavailable_.end())
        save->setEnabled(enabled);
    if (!enabled) {
        QSignalBlocker block(boxes_.at(Box::ShowTransitValues));
        boxes_.at(Box::ShowTransitValues)->setChecked(false);
    }
}

void TForm1::setHoverFilter(const std::string& filter) {
    session_->window.aspectFilter = filter;
    calculate();
}

void TForm1::changeSpacing(int delta) {
    int& limit = session_->state.planetAngleLimit;
    if ((delta > 0 && limit >= 13) || (delta < 0 && limit <= 1)) return;
    limit += delta;
    spacingEdit_->setText(QString::number(limit));
    calculate();
}

void TForm1::zakaz() {
    for (const auto& [field, e] : edits_) e->setReadOnly(true);
    for (const auto& [caption, b] : commands_) b->setEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(spacingMinus_), static_cast<QWidget*>(spacingPlus_),
                       static_cast<QWidget*>(natalBack_), static_cast<QWidget*>(natalForward_),
                       static_cast<QWidget*>(smallGlyphs_), static_cast<QWidget*>(regio_),
                       static_cast<QWidget*>(placidus_)})
        w->setEnabled(false);
    for (Box b : {Box::Planets, Box::Houses, Box::Transits, Box::NatalSummer, Box::NatalWinter,
                  Box::TransitSummer, Box::TransitWinter})
        boxes_.at(b)->setEnabled(false);
}

void TForm1::povol() {
    for (const auto& [field, e] : edits_) e->setReadOnly(false);
    for (const auto& [caption, b] : commands_)
        if (caption != "Natální / vypočtený" &&
            std::find(unavailable_.begin(), unavailable_.end(), b) == unavailable_.end())
            b->setEnabled(true);
    for (QWidget* w : {static_cast<QWidget*>(spacingMinus_), static_cast<QWidget*>(spacingPlus_),
                       static_cast<QWidget*>(smallGlyphs_), static_cast<QWidget*>(regio_),
                       static_cast<QWidget*>(placidus_)})
        w->setEnabled(true);
    for (Box b : {Box::Planets, Box::Houses, Box::Transits, Box::NatalSummer, Box::NatalWinter})
        boxes_.at(b)->setEnabled(true);
    const bool transits = boxes_.at(Box::Transits)->isChecked();
    boxes_.at(Box::TransitSummer)->setEnabled(transits);
    boxes_.at(Box::TransitWinter)->setEnabled(transits);
    MainWindowState& win = session_->window;
    if (win.restoreTransits) {
        win.restoreTransits = false;
        boxes_.at(Box::Transits)->setChecked(true);
        onBoxClicked(Box::Transits, true);
    }
}

bool TForm1::validateForStepping(bool transit) {
    // The natal inputs and, with the second chart on, the transit ones are validated first.
    ChartState& st = session_->state;
    MainInputs& in = session_->inputs;
    st.dateText = in.text(InputField::NatalDate);
    st.timeText = in.text(InputField::NatalTime);
    st.lonText = in.text(InputField::NatalLon);
    st.latText = in.text(InputField::NatalLat);
    InputField focus = InputField::None;
    if (!validate_chart_input(st, session_->natalEphemeris, in, session_->prompter, focus)) {
        st.calculating = false;
        if (focus != InputField::None) edits_.at(focus)->setFocus();
        return false;
    }
    const auto serial =
        parse_date_text(in.text(transit ? InputField::TransitDate : InputField::NatalDate));
    if (!serial) return false;
    (transit ? session_->window.transitStepDate : session_->window.natalStepDate) = *serial;
    return true;
}

void TForm1::stepArrow(bool transit, bool backward) {
    if (!validateForStepping(transit)) return;
    press_step_arrow(session_->window, session_->state, transit, backward);
    zakaz();
    natalBack_->setEnabled(true);
    natalForward_->setEnabled(true);
    if (boxes_.at(Box::Transits)->isChecked()) {
        transitBack_->setEnabled(true);
        transitForward_->setEnabled(true);
    }
}

void TForm1::stopStepping(bool transit) {
    povol();
    stop_stepping(session_->window, session_->state, transit);
    stepTimer_.stop();
    calculate();
    stepTimer_.start(800);
}

void TForm1::stepTimerTick() {
    ChartState& st = session_->state;
    natalStop_->setEnabled(st.natalStepping);
    transitStop_->setEnabled(st.transitStepping);
    if (step_tick(session_->window, st, session_->inputs)) {
        syncInputsToWidgets();
        calculate();
    }
}

void TForm1::mailboxTimerTick() {
    if (serve_mailbox(session_->window, session_->state, session_->inputs)) {
        syncInputsToWidgets();
        calculate();
    }
}

void TForm1::startupTimerTick() {
    if (!session_->state.dstLookupEnabled) return;
    startupTimer_.stop();
    calculate();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // Key filtering of the eight edits; Enter computes.
    if (event->type() == QEvent::KeyPress) {
        for (const auto& [field, e] : edits_) {
            if (e != watched) continue;
            auto* key = static_cast<QKeyEvent*>(event);
            session_->window.keepComputedButton = false;
            if (!allowed_key(field, key)) return true;
            return false;
        }
    }
    // Hovering over a row sets the aspect filter, leaving clears it.
    if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        const bool enter = event->type() == QEvent::Enter;
        const ChartState& st = session_->state;
        const auto angle = angleBoxes_.find(watched);
        if (angle != angleBoxes_.end()) {
            const char* filters[] = {"ASC. par.", "MC. par.", "DESC. par.", "IC. par."};
            const int i = angle->second == Box::AngleAsc    ? 0
                          : angle->second == Box::AngleMc   ? 1
                          : angle->second == Box::AngleDesc ? 2
                                                            : 3;
            hoverTargets_[watched] = filters[i];
            if (boxes_.at(angle->second)->isChecked() && (st.planetAspects || st.houseAspects))
                setHoverFilter(enter ? filters[i] : std::string());
            return false;
        }
        const auto it = hoverTargets_.find(watched);
        if (it != hoverTargets_.end()) {
            const bool house = QString::fromStdString(it->second).endsWith(QStringLiteral("dům"));
            const bool allowed = house ? st.houseAspects : (st.planetAspects || st.houseAspects);
            if (allowed) setHoverFilter(enter ? it->second : std::string());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::keyReleaseEvent(QKeyEvent* event) {
    // Ctrl+H opens the planet values once that window exists; until then nothing happens.
    QWidget::keyReleaseEvent(event);
}

void TForm1::exportNames() {
    try {
        Cursor names(session_->db, "jmena", true);
        export_names(names, folder_.toStdString());
    } catch (const std::exception&) {
        // Text files are written without error reports; a missing table exports nothing.
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    exportNames();
    QWidget::closeEvent(event);
}

}  // namespace horalun
