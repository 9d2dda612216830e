// The five plot buttons of the main window, each run against slider
// positions read at the moment of the click.
#pragma once

#include "params/sliders.h"

#include <string>
#include <string_view>

namespace vorel {

class PlotCanvas;

enum class PlotCommand {
    Wave1,     // "Onda 1"
    Wave2,     // "Onda 2"
    BothWaves, // "Vorel 1 y 2"
    Resultant, // "Resultante"
    All,       // "Todas"
};

// Returns whether the command drew: a command whose values include a zero
// leaves the canvas as it was.
bool runPlotCommand(PlotCommand command, PlotCanvas &canvas, const SliderPositions &positions,
                    std::string_view decimalSeparator = ".");

// What a drawn plot shows, in words, for those who cannot see it: its
// curves and colours, the value bounds and the time range.
std::string describePlot(PlotCommand command, const SliderPositions &positions,
                         std::string_view decimalSeparator = ".");

} // namespace vorel
