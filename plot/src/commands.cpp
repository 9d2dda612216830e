#include "plot/commands.h"

#include "plot/singlewave.h"
#include "plot/twowave.h"

namespace vorel {

bool runPlotCommand(PlotCommand command, PlotCanvas &canvas, const SliderPositions &positions,
                    std::string_view decimalSeparator)
{
    const double T = timeRange(positions);
    switch (command) {
    case PlotCommand::Wave1:
        return SingleWavePlot(canvas, T, wave1(positions), kWave1Colour, decimalSeparator);
    case PlotCommand::Wave2:
        return SingleWavePlot(canvas, T, wave2(positions), kWave2Colour, decimalSeparator);
    case PlotCommand::BothWaves:
        return TwoWavePlot(canvas, T, wave1(positions), wave2(positions), kBothWaves, decimalSeparator);
    case PlotCommand::Resultant:
        return TwoWavePlot(canvas, T, wave1(positions), wave2(positions), kResultantOnly, decimalSeparator);
    case PlotCommand::All:
        return TwoWavePlot(canvas, T, wave1(positions), wave2(positions), kAllCurves, decimalSeparator);
    }
    return false;
}

} // namespace vorel
