// "Onda 1" and "Onda 2": one wave alone on a frame scaled to its amplitude.
#pragma once

#include "params/sliders.h"
#include "plot/canvas.h"

#include <string_view>
#include <vector>

namespace vorel {

// Does nothing at all, not even clear the canvas, unless T, the amplitude
// and the angular frequency are all non-zero; the phase may be 0. Returns
// whether it drew. values, if given, receives the wave at every sample.
bool SingleWavePlot(PlotCanvas &canvas, double T, const WaveParams &wave, Colour colour,
                    std::string_view decimalSeparator = ".", std::vector<double> *values = nullptr);

} // namespace vorel
