#include "plot/singlewave.h"

#include "plot/frame.h"
#include "plot/geometry.h"
#include "plot/int16.h"
#include "plot/trace.h"

namespace vorel {

bool SingleWavePlot(PlotCanvas &canvas, double T, const WaveParams &wave, Colour colour,
                    std::string_view decimalSeparator, std::vector<double> *values)
{
    const std::int16_t upper = wave.amplitude;
    const std::int16_t lower = negate16(wave.amplitude);
    if (T == 0 || lower == 0 || upper == 0 || wave.angularFrequency == 0)
        return false;

    const PlotFrame frame{ValueScale(upper, lower), TimeScale(T)};
    frame.draw(canvas, decimalSeparator);
    if (values) {
        values->clear();
        values->reserve(kPlotWidth + 1);
    }
    WaveTrace(canvas, [&wave, values](double t) {
        const double v = wave.valueAt(t);
        if (values)
            values->push_back(v);
        return v;
    }, frame, colour);
    return true;
}

} // namespace vorel
