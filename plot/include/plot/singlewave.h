// "Onda 1" and "Onda 2": one wave alone on a frame scaled to its amplitude.
#pragma once

#include "params/sliders.h"
#include "plot/canvas.h"

#include <string_view>

namespace vorel {

// Does nothing at all, not even clear the canvas, unless T, the amplitude
// and the angular frequency are all non-zero; the phase may be 0. Returns
// whether it drew.
bool SingleWavePlot(PlotCanvas &canvas, double T, const WaveParams &wave, Colour colour,
                    std::string_view decimalSeparator = ".");

} // namespace vorel
