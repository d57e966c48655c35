// TForm1, the main window: the inputs of the natal and second chart, the switches, the command
// column, the three tables and the chart wheel, with the date-stepping, mailbox and start-up
// timers. The window binds its widgets to the session's MainInputs both ways.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <array>
#include <map>
#include <memory>
#include <vector>

#include "core/chart_calculation.h"
#include "ui/glyph_cache.h"

namespace horalun {

class ChartWheel;

// Message boxes for the calculation's messages and questions.
class MessageBoxPrompter : public Prompter {
  public:
    explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(std::string_view text, MessageKind kind) override;
    bool ask_yes_no(std::string_view text) override;

  private:
    QWidget* parent_;
};

class TForm1 : public QWidget {
    Q_OBJECT
  public:
    // Works on the data.tdb of `folder` (the program's folder) and writes its text files there.
    // Throws TableError when the database or one of its tables is missing.
    explicit TForm1(const QString& folder = QStringLiteral("."), Prompter* prompter = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    ChartSession& session() { return *session_; }
    ChartWheel* wheel() const { return wheel_; }
    QLineEdit* edit(InputField field) const { return edits_.at(field); }
    QCheckBox* box(Box b) const { return boxes_.at(b); }
    QPushButton* command(const QString& caption) const;
    QRadioButton* regiomontanus() const { return regio_; }
    QRadioButton* placidus() const { return placidus_; }
    QLabel* label(const QString& name) const;  // the Label.. of the panels by their names

    // The "&Výpočet" command: computes the chart and shows it.
    void calculate();
    // Lock and unlock the inputs and commands while a date is stepped.
    void zakaz();
    void povol();
    // The date-stepping arrows and "Stop"s.
    void stepArrow(bool transit, bool backward);
    void stopStepping(bool transit);
    // One tick of each timer (also called by the tests).
    void stepTimerTick();
    void mailboxTimerTick();
    void startupTimerTick();
    QTimer* stepTimer() { return &stepTimer_; }
    QTimer* mailboxTimer() { return &mailboxTimer_; }
    QTimer* startupTimer() { return &startupTimer_; }
    QTimer* versionTimer() { return &versionTimer_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildPositionPanel(QWidget* panel);
    void buildHousePanel(QWidget* panel);
    void buildElementPanel(QWidget* panel);
    void buildInputPanel(QWidget* panel);
    void buildCommands();
    QLineEdit* makeEdit(QWidget* parent, InputField field, int x, int y, int w, int maxLength);
    QCheckBox* makeBox(QWidget* parent, Box b, const QString& caption, int x, int y, int w);
    QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int x, int y,
                      int w, bool bold = false);
    QLabel* makeImage(QWidget* parent, const QString& name, int x, int y);
    void onBoxClicked(Box b, bool checked);
    void onTextEdited(InputField field, const QString& text);
    void syncInputsToWidgets();
    void showPanels();
    void layoutOptionalRows();
    void setHoverFilter(const std::string& filter);
    void setTransitGroupEnabled(bool enabled);
    void changeSpacing(int delta);
    bool validateForStepping(bool transit);
    void exportNames();

    QString folder_;
    std::unique_ptr<MessageBoxPrompter> ownPrompter_;
    std::unique_ptr<ChartSession> session_;
    GlyphCache glyphs_;
    ChartWheel* wheel_ = nullptr;

    std::map<InputField, QLineEdit*> edits_;
    std::map<Box, QCheckBox*> boxes_;
    std::map<QString, QLabel*> labels_;
    std::map<QString, QPushButton*> commands_;
    std::vector<QPushButton*> unavailable_;  // commands whose windows are not built yet
    QRadioButton* regio_ = nullptr;
    QRadioButton* placidus_ = nullptr;
    QPushButton* natalBack_ = nullptr;
    QPushButton* natalForward_ = nullptr;
    QPushButton* natalStop_ = nullptr;
    QPushButton* transitBack_ = nullptr;
    QPushButton* transitForward_ = nullptr;
    QPushButton* transitStop_ = nullptr;
    QPushButton* arabicButton_ = nullptr;
    QPushButton* spacingMinus_ = nullptr;
    QPushButton* spacingPlus_ = nullptr;
    QLineEdit* spacingEdit_ = nullptr;
    QCheckBox* smallGlyphs_ = nullptr;
    std::vector<QWidget*> transitGroup_;
    std::map<QObject*, std::string> hoverTargets_;  // widget -> aspect filter text
    std::map<QObject*, Box> angleBoxes_;
    bool syncing_ = false;

    QTimer stepTimer_;
    QTimer mailboxTimer_;
    QTimer startupTimer_;
    QTimer versionTimer_;
};

}  // namespace horalun
