// TForm3, the aspect table: the lines of aspekty.txt written by the last chart calculation, five
// cells a line, with the rows of nearly exact aspects painted in a colour of their own.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <set>

class QLabel;
class QPushButton;
class QTableWidget;

namespace horalun {

// One line of aspekty.txt split into its five cells: blanks become separators, runs of them are
// shortened, the blanks inside two-word names ("Sev. Uzel", "Bod štěstí", "11. dům") are put
// back, and each cell keeps its first 10 characters. Cells the line does not reach stay empty.
std::array<QString, 5> convert_aspect_line(const QString& line);

// Whether a row with these cells is painted: its orb cell begins with "0°0" (under ten minutes).
bool is_exact_aspect_row(const std::array<QString, 5>& cells);

// Rows after this one are never painted, however exact their aspect.
inline constexpr int kLastHighlightedRow = 300;

class TForm3 : public QDialog {
    Q_OBJECT

  public:
    // Reads aspekty.txt of `folder` (the working directory by default) once; a missing or empty
    // file leaves the grid without rows.
    explicit TForm3(const QString& folder = QStringLiteral("."), QWidget* parent = nullptr);

    QTableWidget* grid() const { return grid_; }
    QPushButton* closeButton() const { return close_; }
    bool isHighlighted(int row) const { return highlighted_.count(row) > 0; }

  private:
    void fill(const QString& path);

    QLabel* title_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QPushButton* close_ = nullptr;
    std::set<int> highlighted_;  // painted rows, all at most kLastHighlightedRow
};

}  // namespace horalun
