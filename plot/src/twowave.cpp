#include "plot/twowave.h"

#include "plot/frame.h"
#include "plot/geometry.h"
#include "plot/int16.h"
#include "plot/trace.h"

namespace vorel {

TwoWaveSample twoWaveSampleAt(int x, const PlotFrame &frame, const WaveParams &wave1,
                              const WaveParams &wave2)
{
    TwoWaveSample sample{};
    sample.t = frame.times.t(x);
    sample.s1 = wave1.valueAt(sample.t);
    sample.s2 = wave2.valueAt(sample.t);
    sample.sR = sample.s1 + sample.s2;
    sample.y1 = frame.values.y(sample.s1);
    sample.y2 = frame.values.y(sample.s2);
    sample.yR = toInt16(frame.values.y(sample.sR));
    return sample;
}

bool TwoWavePlot(PlotCanvas &canvas, double T, const WaveParams &wave1, const WaveParams &wave2,
                 CurveSelection selection, std::string_view decimalSeparator, PlotValues *values)
{
    const std::int16_t upper = add16(wave1.amplitude, wave2.amplitude);
    const std::int16_t lower = negate16(upper);
    if (T == 0 || lower == 0 || upper == 0 || wave1.angularFrequency == 0
        || wave2.angularFrequency == 0)
        return false;

    const PlotFrame frame{ValueScale(upper, lower), TimeScale(T)};
    frame.draw(canvas, decimalSeparator);

    const auto keep = [values](const TwoWaveSample &sample) {
        if (!values)
            return;
        values->wave1.push_back(sample.s1);
        values->wave2.push_back(sample.s2);
    };
    if (values) {
        // One value a sample: grown once, not copied over as it fills.
        *values = {};
        values->wave1.reserve(kPlotWidth + 1);
        values->wave2.reserve(kPlotWidth + 1);
    }
    TwoWaveSample prev = twoWaveSampleAt(kPlotLeft, frame, wave1, wave2);
    keep(prev);
    int prevX = kPlotLeft;
    for (int x = kPlotLeft + 1; x <= kPlotRight; ++x) {
        const TwoWaveSample now = twoWaveSampleAt(x, frame, wave1, wave2);
        keep(now);
        if (!TraceWindow::contains(x, now.y1) || !TraceWindow::contains(x, now.y2)
            || !TraceWindow::contains(x, now.yR))
            continue;
        const auto fx0 = static_cast<float>(prevX);
        const auto fx1 = static_cast<float>(x);
        if (selection.wave1)
            canvas.Line(fx0, static_cast<float>(prev.y1), fx1, static_cast<float>(now.y1), kWave1Colour);
        if (selection.wave2)
            canvas.Line(fx0, static_cast<float>(prev.y2), fx1, static_cast<float>(now.y2), kWave2Colour);
        if (selection.resultant)
            canvas.Line(fx0, prev.yR, fx1, now.yR, kResultantColour);
        prev = now;
        prevX = x;
    }
    return true;
}

} // namespace vorel
