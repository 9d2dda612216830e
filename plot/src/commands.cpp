#include "plot/commands.h"

#include "params/numbertext.h"
#include "plot/geometry.h"
#include "plot/scales.h"
#include "plot/singlewave.h"
#include "plot/trace.h"
#include "plot/twowave.h"
#include "vectorstate.h"

#include <algorithm>
#include <cmath>

namespace vorel {

namespace {

// The curves each button draws; the single-wave plots draw theirs alone.
CurveSelection selectionOf(PlotCommand command)
{
    switch (command) {
    case PlotCommand::Wave1: return {true, false, false};
    case PlotCommand::Wave2: return {false, true, false};
    case PlotCommand::BothWaves: return kBothWaves;
    case PlotCommand::Resultant: return kResultantOnly;
    case PlotCommand::All: return kAllCurves;
    }
    return {};
}

// The value in whole tenths, rounded as its one-decimal text rounds it: to
// the nearest, a value exactly halfway going to the even tenth. fma gives
// the sign of v·10 − edge exactly, where v·10 alone would be rounded.
long long tenthsOf(double v)
{
    double k = std::nearbyint(v * 10.0);
    const auto beyond = [v](double edge) { return std::fma(v, 10.0, -edge); };
    const auto odd = [](double n) { return std::fmod(n, 2.0) != 0; };
    while (beyond(k + 0.5) > 0 || (beyond(k + 0.5) == 0 && odd(k)))
        k += 1;
    while (beyond(k - 0.5) < 0 || (beyond(k - 0.5) == 0 && odd(k)))
        k -= 1;
    return static_cast<long long>(k);
}

struct Extreme {
    double value;
    double time;
};

// The smallest and the largest of a curve's values at the plot's sample
// times. Of equal peaks the earliest is given, and peaks that read the same
// to one decimal count as equal, so that the time said never hops between
// two of them.
std::pair<Extreme, Extreme> extremesOf(const std::vector<double> &values, const TimeScale &times)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const auto earliest = [&](double extreme) {
        const long long tenths = tenthsOf(extreme);
        std::size_t i = 0;
        // Only a value within a tenth of the extreme can read the same.
        while (std::abs(values[i] - extreme) > 0.1 || tenthsOf(values[i]) != tenths)
            ++i;
        return Extreme{extreme, times.t(kPlotLeft + static_cast<int>(i))};
    };
    return {earliest(*low), earliest(*high)};
}

} // namespace

std::string curveName(Curve curve, bool startsSentence)
{
    std::string name = curve == Curve::Wave1 ? "onda 1" : curve == Curve::Wave2 ? "onda 2" : "resultante";
    if (startsSentence)
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
}

std::vector<Curve> drawnCurves(PlotCommand command)
{
    const CurveSelection selection = selectionOf(command);
    std::vector<Curve> curves;
    if (selection.wave1)
        curves.push_back(Curve::Wave1);
    if (selection.wave2)
        curves.push_back(Curve::Wave2);
    if (selection.resultant)
        curves.push_back(Curve::Resultant);
    return curves;
}

double curveValue(Curve curve, const SliderPositions &positions, double t)
{
    switch (curve) {
    case Curve::Wave1: return wave1(positions).valueAt(t);
    case Curve::Wave2: return wave2(positions).valueAt(t);
    case Curve::Resultant: return wave1(positions).valueAt(t) + wave2(positions).valueAt(t);
    }
    return 0.0;
}

bool runPlotCommand(PlotCommand command, PlotCanvas &canvas, const SliderPositions &positions,
                    std::string_view decimalSeparator, PlotValues *values)
{
    const double T = timeRange(positions);
    if (values)
        *values = {};
    switch (command) {
    case PlotCommand::Wave1:
        return SingleWavePlot(canvas, T, wave1(positions), kWave1Colour, decimalSeparator,
                              values ? &values->wave1 : nullptr);
    case PlotCommand::Wave2:
        return SingleWavePlot(canvas, T, wave2(positions), kWave2Colour, decimalSeparator,
                              values ? &values->wave2 : nullptr);
    case PlotCommand::BothWaves:
    case PlotCommand::Resultant:
    case PlotCommand::All:
        return TwoWavePlot(canvas, T, wave1(positions), wave2(positions), selectionOf(command), decimalSeparator,
                           values);
    }
    return false;
}

std::string describePlot(PlotCommand command, const SliderPositions &positions,
                         std::string_view decimalSeparator, const PlotValues *values)
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
    std::string text = curves + ". Valores de " + std::to_string(-bound) + " a " + std::to_string(bound)
                     + "; tiempo de 0 a " + generalNumberText(timeRange(positions), decimalSeparator) + ".";
    const auto said = [decimalSeparator](const Extreme &e) {
        return oneDecimalText(e.value, decimalSeparator) + " en t = " + oneDecimalText(e.time, decimalSeparator);
    };
    // Each wave as its plot computed it, or else computed here, once; the
    // resultant is their sum, as drawn.
    const TimeScale times(timeRange(positions));
    PlotValues own;
    const auto wave = [&](bool first) -> const std::vector<double> & {
        const std::vector<double> *given = values ? (first ? &values->wave1 : &values->wave2) : nullptr;
        if (given && given->size() == kPlotWidth + 1)
            return *given;
        std::vector<double> &computed = first ? own.wave1 : own.wave2;
        if (computed.empty()) {
            const WaveParams params = first ? wave1(positions) : wave2(positions);
            clearUpperVectorState();
            for (int x = kPlotLeft; x <= kPlotRight; ++x)
                computed.push_back(params.valueAt(times.t(x)));
        }
        return computed;
    };
    for (Curve curve : drawnCurves(command)) {
        std::vector<double> sum;
        if (curve == Curve::Resultant) {
            const std::vector<double> &s1 = wave(true);
            const std::vector<double> &s2 = wave(false);
            sum.reserve(s1.size());
            for (std::size_t i = 0; i < s1.size(); ++i)
                sum.push_back(s1[i] + s2[i]);
        }
        const auto [low, high] = extremesOf(curve == Curve::Resultant ? sum : wave(curve == Curve::Wave1), times);
        text += " " + curveName(curve, true) + ": mínimo " + said(low) + "; máximo " + said(high) + ".";
    }
    return text;
}

} // namespace vorel
