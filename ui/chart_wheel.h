// The chart wheel of the main window: paints the natal chart, the second chart inside it and the
// aspect lines from the chart state at every repaint.
#pragma once

#include <QWidget>

#include "core/chart_state.h"
#include "core/main_inputs.h"
#include "core/main_window_state.h"
#include "ui/glyph_cache.h"

class QPainter;

namespace horalun {

// One whole paint of the wheel onto a 665 × 672 canvas; reads only its arguments.
void paint_chart_wheel(QPainter& painter, const ChartState& state, const MainInputs& inputs,
                       const MainWindowState& window, GlyphCache& glyphs);

class ChartWheel : public QWidget {
    Q_OBJECT
  public:
    ChartWheel(const ChartState& state, const MainInputs& inputs, const MainWindowState& window,
               GlyphCache& glyphs, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const ChartState& state_;
    const MainInputs& inputs_;
    const MainWindowState& window_;
    GlyphCache& glyphs_;
};

}  // namespace horalun
