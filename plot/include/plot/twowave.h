// "Vorel 1 y 2", "Resultante" and "Todas": one procedure that draws a
// selection out of wave 1, wave 2 and their sum on a frame scaled to the sum
// of the amplitudes.
#pragma once

#include "params/sliders.h"
#include "plot/canvas.h"

#include <cstdint>
#include <string_view>

namespace vorel {

struct PlotFrame;
struct PlotValues;

struct CurveSelection {
    bool wave1 = false;
    bool wave2 = false;
    bool resultant = false;
};

inline constexpr CurveSelection kBothWaves{true, true, false};
inline constexpr CurveSelection kResultantOnly{false, false, true};
inline constexpr CurveSelection kAllCurves{true, true, true};

// The values at one sample. The two waves keep the fraction of their
// position; only the resultant is rounded to a whole canvas y.
struct TwoWaveSample {
    double t;
    double s1;
    double s2;
    double sR;
    double y1;
    double y2;
    std::int16_t yR;
};

TwoWaveSample twoWaveSampleAt(int x, const PlotFrame &frame, const WaveParams &wave1,
                              const WaveParams &wave2);

// Does nothing at all unless T, A1 + A2 and both angular frequencies are
// non-zero: either amplitude alone may be 0, no frequency may. Every step
// is joined only when all three positions lie inside the trace window,
// whichever curves are selected, and then draws wave 1, wave 2 and the
// resultant in that order. Returns whether it drew. values, if given,
// receives both waves at every sample.
bool TwoWavePlot(PlotCanvas &canvas, double T, const WaveParams &wave1, const WaveParams &wave2,
                 CurveSelection selection, std::string_view decimalSeparator = ".", PlotValues *values = nullptr);

} // namespace vorel
