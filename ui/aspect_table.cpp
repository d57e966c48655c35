#include "ui/aspect_table.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "core/chart_calculation.h"
#include "data/text_file.h"

namespace horalun {

namespace {

const QColor kExactColour(208, 190, 241);
constexpr int kColumnWidth = 100;
constexpr int kRowHeight = 25;

// The first `count` characters of `s`; a surrogate pair counts as one character.
QString first_characters(const QString& s, int count) {
    qsizetype i = 0;
    for (int n = 0; n < count && i < s.size(); ++n)
        i += (s.at(i).isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
    return s.left(i);
}

// Paints the cells of the exact rows over their normal look, selection and focus included.
class ExactRowDelegate : public QStyledItemDelegate {
  public:
    ExactRowDelegate(const std::set<int>& rows, QObject* parent)
        : QStyledItemDelegate(parent), rows_(rows) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (rows_.count(index.row()) == 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt(option);
        opt.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        opt.backgroundBrush = kExactColour;
        painter->fillRect(opt.rect, kExactColour);
        QStyledItemDelegate::paint(painter, opt, index);
    }

  private:
    const std::set<int>& rows_;
};

}  // namespace

std::array<QString, 5> convert_aspect_line(const QString& line) {
    QString t = line;
    t.replace(QLatin1Char(' '), QLatin1Char('|'));

    // Shorten the runs of separators: each length from 8 down to 3 three times, then pairs four
    // times, always the first run found.
    for (int length = 8; length >= 3; --length) {
        const QString run(length, QLatin1Char('|'));
        for (int k = 0; k < 3; ++k)
            if (const qsizetype at = t.indexOf(run); at >= 0) t.remove(at, length - 1);
    }
    for (int k = 0; k < 4; ++k)
        if (const qsizetype at = t.indexOf(QStringLiteral("||")); at >= 0) t.remove(at, 1);

    // Two-word names keep their blank.
    static const QStringList kJoined = [] {
        QStringList words = {QStringLiteral("Bod"), QStringLiteral("Sev."), QStringLiteral("Již.")};
        for (int house = 1; house <= 12; ++house) words << QStringLiteral("%1.").arg(house);
        return words;
    }();
    for (const QString& word : kJoined)
        t.replace(word + QLatin1Char('|'), word + QLatin1Char(' '), Qt::CaseInsensitive);

    std::array<QString, 5> cells;
    const QStringList parts = t.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size() && i < qsizetype(cells.size()); ++i)
        cells[size_t(i)] = first_characters(parts[i], 10);
    return cells;
}

bool is_exact_aspect_row(const std::array<QString, 5>& cells) {
    return cells[3].startsWith(QStringLiteral("0°0"));
}

TForm3::TForm3(const QString& folder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Tabulka aspektů"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    setFont(font);

    title_ = new QLabel(QStringLiteral("Tabulka jednotlivých aspektů"), this);
    title_->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = font;
    titleFont.setPixelSize(18);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    title_->move(24, 8);
    title_->adjustSize();

    grid_ = new QTableWidget(0, 5, this);
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    grid_->setGeometry(24, 37, 497, 604);
    // DejaVu Sans is wider than the grid's classic face: at 13 px bold ten characters still
    // fit a 100-pixel column.
    QFont gridFont = font;
    gridFont.setPixelSize(13);
    gridFont.setBold(true);
    grid_->setFont(gridFont);
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setMinimumSectionSize(0);
    grid_->verticalHeader()->setMinimumSectionSize(0);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->setShowGrid(true);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The five columns overrun the grid by a few pixels; the last one holds only the short
    // mark, so its edge is cut off rather than adding a scroll bar.
    grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setTabKeyNavigation(false);  // Tab moves on to the button
    grid_->setWordWrap(false);
    grid_->setItemDelegate(new ExactRowDelegate(highlighted_, grid_));

    close_ = new QPushButton(QStringLiteral("Zavřít"), this);
    close_->setObjectName(QStringLiteral("Button1"));
    close_->setGeometry(232, 661, 75, 25);
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    fill(QDir(folder).filePath(QString::fromLatin1(kAspectsFile)));

    setFixedSize(541, 694);
    grid_->setFocus();
}

void TForm3::fill(const QString& path) {
    highlighted_.clear();
    const QString text = QString::fromStdString(read_text_file(path.toStdString()));
    QStringList lines = text.split(QLatin1Char('\n'));
    // The line end of the last line does not start another one.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();

    grid_->setRowCount(int(lines.size()));
    for (int row = 0; row < int(lines.size()); ++row) {
        const std::array<QString, 5> cells = convert_aspect_line(lines[row]);
        for (int col = 0; col < 5; ++col) {
            auto* item = new QTableWidgetItem(cells[size_t(col)]);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid_->setItem(row, col, item);
        }
        if (row <= kLastHighlightedRow && is_exact_aspect_row(cells)) highlighted_.insert(row);
    }
}

}  // namespace horalun
