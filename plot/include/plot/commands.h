// The five plot buttons of the main window, each run against slider
// positions read at the moment of the click.
#pragma once

#include "params/sliders.h"

#include <string>
#include <string_view>
#include <vector>

namespace vorel {

class PlotCanvas;
struct PlotValues;

enum class PlotCommand {
    Wave1,     // "Onda 1"
    Wave2,     // "Onda 2"
    BothWaves, // "Vorel 1 y 2"
    Resultant, // "Resultante"
    All,       // "Todas"
};

enum class Curve { Wave1, Wave2, Resultant };

// The curves a command draws, in the order it draws them.
std::vector<Curve> drawnCurves(PlotCommand command);

// What the words call a curve: "onda 1", "onda 2" or "resultante".
std::string curveName(Curve curve, bool startsSentence = false);

// A curve at time t, from the waves' own formulas: A·sin(φ + ω·t) for a
// wave, the sum of the two for the resultant.
double curveValue(Curve curve, const SliderPositions &positions, double t);

// Returns whether the command drew: a command whose values include a zero
// leaves the canvas as it was. values, if given, receives the waves it
// computed at its samples.
bool runPlotCommand(PlotCommand command, PlotCanvas &canvas, const SliderPositions &positions,
                    std::string_view decimalSeparator = ".", PlotValues *values = nullptr);

// What a drawn plot shows, in words, for those who cannot see it: its
// curves and colours, the value bounds, the time range, and each curve's
// smallest and largest value over the plotted times, with when. With the
// values its plot computed, it computes none of its own.
std::string describePlot(PlotCommand command, const SliderPositions &positions,
                         std::string_view decimalSeparator = ".", const PlotValues *values = nullptr);

} // namespace vorel
