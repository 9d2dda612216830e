// The backdrop of every plot: a value axis with six labelled ticks at the
// left and a time axis with eleven labelled ticks across the middle.
#pragma once

#include "plot/scales.h"

#include <string_view>

namespace vorel {

class PlotCanvas;

struct PlotFrame {
    ValueScale values;
    TimeScale times;

    // Clears the canvas, then draws the axes, ticks and labels in the
    // foreground colour. Labels use the pattern "0.0" with the given
    // decimal separator.
    void draw(PlotCanvas &canvas, std::string_view decimalSeparator = ".") const;
};

} // namespace vorel
