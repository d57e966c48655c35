// The chooser of the Arabic part: fifteen parts, the last in four variants, one radio each.
#pragma once

#include <QDialog>
#include <QList>

class QButtonGroup;
class QRadioButton;

namespace horalun {

struct ChartState;

class TArabske_body : public QDialog {
    Q_OBJECT

  public:
    // Preselects the radio of arabicPart (and, for part 15, of deathVariant); a part outside
    // 1..15 preselects the first radio.
    TArabske_body(int arabicPart, int deathVariant, QWidget* parent = nullptr);

    // The selected part, 1..15, and the variant of part 15, 1..4. For parts 1..14 the variant
    // stays the one given to the constructor. Meaningful once the dialog was accepted.
    int part() const;
    int death_variant() const;

    // The eighteen radios in their order: parts 1..14, then the four variants of part 15.
    const QList<QRadioButton*>& radios() const { return radios_; }

    // Runs the chooser modally; on confirmation writes arabicPart and deathVariant. Returns
    // whether the user confirmed.
    static bool choose(QWidget* parent, ChartState& state);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QButtonGroup* group_ = nullptr;
    QList<QRadioButton*> radios_;
    int initialVariant_ = 1;
};

}  // namespace horalun
