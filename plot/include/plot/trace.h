// How every curve is drawn: sampled at each canvas unit from x = 500 to
// x = 10000 and joined from sample to sample by straight segments, but only
// between samples inside the trace window.
#pragma once

#include "plot/canvas.h"

#include <functional>
#include <vector>

namespace vorel {

struct PlotFrame;

// Samples are joined only inside 500 < x <= 10000, 500 <= y <= 6000; the
// bottom edge of the drawing area counts as inside.
struct TraceWindow {
    static constexpr int kLeft = 500;
    static constexpr int kRight = 10000;
    static constexpr int kTop = 500;
    static constexpr int kBottom = 6000;

    static constexpr bool contains(int x, double y)
    {
        return x > kLeft && x <= kRight && y >= kTop && y <= kBottom;
    }
};

// The waves' values at the samples, x = 500 to 10000, as a plot computes
// them: whatever describes the plot afterwards needs no sine of its own.
struct PlotValues {
    std::vector<double> wave1;
    std::vector<double> wave2;
};

// Traces s(t) across the frame in the given colour: 9501 samples, each
// rounded to a whole canvas y (ties to even). A sample outside the window
// is skipped, and the next one inside is joined to the last one inside by a
// single chord.
void WaveTrace(PlotCanvas &canvas, const std::function<double(double)> &s,
               const PlotFrame &frame, Colour colour);

} // namespace vorel
