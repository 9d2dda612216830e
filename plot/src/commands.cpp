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
// times, value(i) for i from 0 to count − 1. Of equal peaks the earliest is
// given, and peaks that read the same to one decimal count as equal, so
// that the time said never hops between two of them.
template <typename Value>
std::pair<Extreme, Extreme> extremesOf(std::size_t count, const Value &value, const TimeScale &times)
{
    // Four running extremes side by side, so that each comparison need not
    // wait for the one before. The values are finite, and the extremes are
    // the values themselves, whatever the order they are compared in; only
    // a zero may be a zero of either sign, and then the first zero is the
    // smallest and the last the largest, as a search in order takes them.
    double low[4], high[4];
    for (int k = 0; k < 4; ++k)
        low[k] = high[k] = value(0);
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4)
        for (int k = 0; k < 4; ++k) {
            const double v = value(i + std::size_t(k));
            low[k] = v < low[k] ? v : low[k];
            high[k] = v > high[k] ? v : high[k];
        }
    for (; i < count; ++i) {
        const double v = value(i);
        low[0] = v < low[0] ? v : low[0];
        high[0] = v > high[0] ? v : high[0];
    }
    double lowest = std::min({low[0], low[1], low[2], low[3]});
    double highest = std::max({high[0], high[1], high[2], high[3]});
    if (lowest == 0) {
        std::size_t first = 0;
        while (value(first) != 0)
            ++first;
        lowest = value(first);
    }
    if (highest == 0) {
        std::size_t last = count - 1;
        while (value(last) != 0)
            --last;
        highest = value(last);
    }
    const auto earliest = [&](double extreme) {
        const long long tenths = tenthsOf(extreme);
        std::size_t at = 0;
        // Only a value within a tenth of the extreme can read the same.
        while (std::abs(value(at) - extreme) > 0.1 || tenthsOf(value(at)) != tenths)
            ++at;
        return Extreme{extreme, times.t(kPlotLeft + static_cast<int>(at))};
    };
    return {earliest(lowest), earliest(highest)};
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
        std::pair<Extreme, Extreme> extremes;
        if (curve == Curve::Resultant) {
            const double *s1 = wave(true).data(), *s2 = wave(false).data();
            extremes = extremesOf(wave(true).size(), [=](std::size_t i) { return s1[i] + s2[i]; }, times);
        } else {
            const double *s = wave(curve == Curve::Wave1).data();
            extremes = extremesOf(wave(curve == Curve::Wave1).size(), [=](std::size_t i) { return s[i]; }, times);
        }
        text += " " + curveName(curve, true) + ": mínimo " + said(extremes.first) + "; máximo " + said(extremes.second)
              + ".";
    }
    return text;
}

} // namespace vorel
