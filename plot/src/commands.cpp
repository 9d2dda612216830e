#include "plot/commands.h"

#include "params/numbertext.h"
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

std::string describePlot(PlotCommand command, const SliderPositions &positions,
                         std::string_view decimalSeparator)
{
    std::string curves;
    int bound = positions.amplitude1 + positions.amplitude2;
    switch (command) {
    case PlotCommand::Wave1:
        curves = "Onda 1, en azul";
        bound = positions.amplitude1;
        break;
    case PlotCommand::Wave2:
        curves = "Onda 2, en verde";
        bound = positions.amplitude2;
        break;
    case PlotCommand::BothWaves:
        curves = "Onda 1, en azul, y onda 2, en verde";
        break;
    case PlotCommand::Resultant:
        curves = "Resultante, en rojo";
        break;
    case PlotCommand::All:
        curves = "Onda 1, en azul, onda 2, en verde, y resultante, en rojo";
        break;
    }
    return curves + ". Valores de " + std::to_string(-bound) + " a " + std::to_string(bound)
         + "; tiempo de 0 a " + generalNumberText(timeRange(positions), decimalSeparator) + ".";
}

} // namespace vorel
