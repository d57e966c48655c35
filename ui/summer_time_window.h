// Tletnicasy, the read-only view of the summer- and winter-time periods of data.tdb (letnicasy).
#pragma once

#include <QDialog>
#include <memory>

#include "data/table_store.h"

class QPushButton;
class QTableView;

namespace horalun {

class Tletnicasy : public QDialog {
    Q_OBJECT

  public:
    // Opens a read-only cursor on letnicasy of `db` (TableError when the table is missing); the
    // cursor closes with the window.
    explicit Tletnicasy(std::shared_ptr<Database> db, QWidget* parent = nullptr);
    ~Tletnicasy() override;

    QTableView* grid() const { return grid_; }
    QPushButton* closeButton() const { return close_; }

  private:
    Cursor periods_;
    QTableView* grid_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace horalun
