#include "ui/summer_time_window.h"

#include <array>

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>

namespace horalun {

namespace {

const QColor kCurrentColour(192, 220, 192);

constexpr std::array<const char*, 5> kFields = {"typ", "datumod", "casod", "datumdo", "casdo"};

// The rows of the cursor as they stand in the table; dates in the short form, times as hours
// and minutes.
class PeriodModel : public QAbstractTableModel {
  public:
    PeriodModel(Cursor& periods, QObject* parent)
        : QAbstractTableModel(parent), periods_(periods) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : periods_.recordCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(kFields.size());
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        try {
            periods_.moveTo(index.row());
            std::string text = periods_.asText(kFields[size_t(index.column())]);
            // A time reads "2:00:00"; the table shows "2:00".
            if (index.column() == 2 || index.column() == 4) {
                if (const auto colon = text.rfind(':'); colon != text.find(':')) text.erase(colon);
            }
            return QString::fromStdString(text);
        } catch (const TableError&) {
            return {};  // a damaged row shows empty rather than closing the window
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        static const QStringList kCaptions = {QStringLiteral("Typ času"),
                                              QStringLiteral("Datum od"), QStringLiteral("Čas od"),
                                              QStringLiteral("Datum do"), QStringLiteral("Čas do")};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < kCaptions.size())
            return kCaptions[section];
        return QAbstractTableModel::headerData(section, orientation, role);
    }

  private:
    Cursor& periods_;
};

// Paints the current row and the selected or focused cells in the table's own colour, then
// draws the text over it as usual.
class CurrentRowDelegate : public QStyledItemDelegate {
  public:
    explicit CurrentRowDelegate(QTableView* view) : QStyledItemDelegate(view), view_(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool marked = index.row() == view_->currentIndex().row() ||
                            (option.state & (QStyle::State_Selected | QStyle::State_HasFocus));
        if (!marked) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem opt(option);
        opt.state &= ~QStyle::State_Selected;
        opt.backgroundBrush = kCurrentColour;
        painter->fillRect(opt.rect, kCurrentColour);
        QStyledItemDelegate::paint(painter, opt, index);
    }

  private:
    QTableView* view_;
};

}  // namespace

Tletnicasy::Tletnicasy(std::shared_ptr<Database> db, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      periods_(std::move(db), "letnicasy", true) {
    setObjectName(QStringLiteral("letnicasy"));
    setWindowTitle(QStringLiteral("Tabulka letních časů"));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    setFont(font);

    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("DBGrid1"));
    grid_->setGeometry(25, 8, 440, 616);
    QFont gridFont = font;
    gridFont.setBold(true);
    grid_->setFont(gridFont);
    grid_->horizontalHeader()->setFont(gridFont);
    grid_->setModel(new PeriodModel(periods_, grid_));
    grid_->setItemDelegate(new CurrentRowDelegate(grid_));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setTabKeyNavigation(false);
    grid_->setWordWrap(false);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    QHeaderView* header = grid_->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setStretchLastSection(true);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int widths[] = {76, 96, 70, 96};
    for (int col = 0; col < 4; ++col) header->resizeSection(col, widths[col]);
    // A repaint of the whole rows keeps the current row's colour when the current cell moves.
    connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, grid_->viewport(),
            qOverload<>(&QWidget::update));
    if (periods_.recordCount() > 0) grid_->setCurrentIndex(grid_->model()->index(0, 0));

    close_ = new QPushButton(QStringLiteral("&Zavření okna"), this);
    close_->setObjectName(QStringLiteral("Button1"));
    close_->setGeometry(185, 632, 120, 25);
    close_->setAutoDefault(false);  // Escape closes; Enter in the grid does nothing
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(490, 663);
    grid_->setFocus();
}

// The grid goes first: its model reads through the cursor.
Tletnicasy::~Tletnicasy() {
    delete grid_;
}

}  // namespace horalun
