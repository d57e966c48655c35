// TForm2, the settings dialog: the twelve orbs, the summer-time rule, the Part of Fortune rule and
// the weekly version check, edited in the settings record of data.tdb.
#pragma once

#include <QDialog>
#include <array>

#include "data/table_store.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace horalun {

class ChartSession;

class TForm2 : public QDialog {
    Q_OBJECT

  public:
    // Opens its own cursor on nastaveni_aspektu of session.db (TableError when the table is
    // missing), shows the record and marks the natal summer time as settled. "&Uložit" writes
    // the record, the summer-time and night-formula modes and sets useAsNatal; "U&končit" and
    // Escape change nothing and clear useAsNatal.
    explicit TForm2(ChartSession& session, QWidget* parent = nullptr);

    QLineEdit* orbEdit(int position) const { return orbs_.at(size_t(position)); }
    QRadioButton* dstItem(int i) const { return dst_.at(size_t(i)); }          // "1", "2", "3"
    QRadioButton* fortuneItem(int i) const { return fortune_.at(size_t(i)); }  // "1", "2"
    QCheckBox* versionBox() const { return version_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }

  public slots:
    void reject() override;

  private:
    void load();
    void save();

    ChartSession& session_;
    Cursor settings_;
    std::array<QLineEdit*, 12> orbs_{};
    std::array<QRadioButton*, 3> dst_{};
    std::array<QRadioButton*, 2> fortune_{};
    QCheckBox* version_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace horalun
