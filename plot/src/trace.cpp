#include "plot/trace.h"

#include "plot/frame.h"
#include "plot/geometry.h"
#include "plot/int16.h"

namespace vorel {

void WaveTrace(PlotCanvas &canvas, const std::function<double(double)> &s,
               const PlotFrame &frame, Colour colour)
{
    int prevX = kPlotLeft;
    std::int16_t prevY = toInt16(frame.values.y(s(frame.times.t(kPlotLeft))));
    for (int x = kPlotLeft + 1; x <= kPlotRight; ++x) {
        const std::int16_t y = toInt16(frame.values.y(s(frame.times.t(x))));
        if (!TraceWindow::contains(x, y))
            continue;
        canvas.Line(prevX, prevY, x, y, colour);
        prevX = x;
        prevY = y;
    }
}

} // namespace vorel
