#include "params/sliders.h"

#include "params/numbertext.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vorel {

namespace {

// Positions per unit of the parameter. Multiplying by these whole numbers,
// rather than dividing by 0.1 or 0.01, keeps 1.57 at position 157.
double positionsPerUnit(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Amplitude:
        return 1.0;
    case Quantity::AngularFrequency:
    case Quantity::TimeRange:
        return 10.0;
    case Quantity::Phase:
        return 100.0;
    }
    return 1.0;
}

} // namespace

const SliderSpec &slider(int number)
{
    if (number < 1 || number > static_cast<int>(kSliders.size()))
        throw std::out_of_range("no slider HScroll" + std::to_string(number));
    return kSliders[static_cast<std::size_t>(number - 1)];
}

double angularFrequencyAt(std::int16_t position) { return static_cast<double>(position) / 10.0; }
double phaseAt(std::int16_t position) { return static_cast<double>(position) / 100.0; }
double timeRangeAt(std::int16_t position) { return static_cast<double>(position) / 10.0; }

double valueAt(Quantity quantity, std::int16_t position)
{
    switch (quantity) {
    case Quantity::Amplitude:
        return position;
    case Quantity::AngularFrequency:
        return angularFrequencyAt(position);
    case Quantity::Phase:
        return phaseAt(position);
    case Quantity::TimeRange:
        return timeRangeAt(position);
    }
    return position;
}

double valueStep(Quantity quantity) { return 1.0 / positionsPerUnit(quantity); }

std::optional<std::int16_t> nearestPosition(const SliderSpec &slider, double value)
{
    if (std::isnan(value))
        return std::nullopt;
    // Clamped before rounding, so that no value, however large, overflows.
    const double position = std::clamp(value * positionsPerUnit(slider.quantity),
                                       static_cast<double>(slider.minimum),
                                       static_cast<double>(slider.maximum));
    // A value written as a half, such as 9.995, arrives as 999.4999999999999
    // positions; to a millionth of a position it is the half it was meant to
    // be. Positions are never negative, so rounding halves away from zero
    // then rounds them up.
    constexpr double kMillionths = 1e6;
    return static_cast<std::int16_t>(std::lround(std::round(position * kMillionths) / kMillionths));
}

std::string readoutText(Quantity quantity, std::int16_t position, std::string_view decimalSeparator)
{
    switch (quantity) {
    case Quantity::Amplitude:
        return std::to_string(position);
    case Quantity::AngularFrequency:
        return generalNumberText(angularFrequencyAt(position), decimalSeparator);
    case Quantity::Phase:
        return generalNumberText(phaseAt(position), decimalSeparator);
    case Quantity::TimeRange:
        return generalNumberText(timeRangeAt(position), decimalSeparator);
    }
    return {};
}

double WaveParams::valueAt(double t) const
{
    return amplitude * std::sin(phase + angularFrequency * t);
}

WaveParams wave1(const SliderPositions &positions)
{
    return {positions.amplitude1, angularFrequencyAt(positions.frequency1), phaseAt(positions.phase1)};
}

WaveParams wave2(const SliderPositions &positions)
{
    return {positions.amplitude2, angularFrequencyAt(positions.frequency2), phaseAt(positions.phase2)};
}

double timeRange(const SliderPositions &positions) { return timeRangeAt(positions.range); }

} // namespace vorel
