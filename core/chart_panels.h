// The texts the chart calculation leaves for the main window's position, house and element
// panels, the day/night label and the two speeds. The window only renders them.
#pragma once

#include <array>
#include <string>

#include "core/points.h"

namespace horalun {

struct PanelRow {
    std::string position;  // "14° 05'" (" R " appended when retrograde)
    std::string sign;      // "Býk"
    std::string glyph;     // the sign's 20 × 20 bitmap file, "byk_b_20.bmp"
};

struct ChartPanels {
    // Position panel, by point: the thirteen ephemeris bodies, j_uzel, stesti and the chosen
    // Arabic part under its own key.
    PointMap<PanelRow> positions;
    std::string arabicCaption;  // "Otec:" ... "Smrt:"
    std::string arabicPicture;  // "otec1.bmp"
    // House panel, [1] ASC .. [12]; [0] unused.
    std::array<PanelRow, 13> houses;
    // Element panel in ElementCounter order ("Oheň:" ... "Magnetická:").
    std::array<std::string, 9> elements;
    std::string dayNight;  // "Denní" / "Noční"
    std::string moonSpeed;
    std::string mercurySpeed;
};

// Fills a row from a position text and a sign name (the glyph follows from the sign).
void set_panel_row(PanelRow& row, std::string_view position, std::string_view sign);

}  // namespace horalun
