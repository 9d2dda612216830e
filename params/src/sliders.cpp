#include "params/sliders.h"

#include "params/numbertext.h"

#include <cmath>
#include <stdexcept>

namespace vorel {

const SliderSpec &slider(int number)
{
    if (number < 1 || number > static_cast<int>(kSliders.size()))
        throw std::out_of_range("no slider HScroll" + std::to_string(number));
    return kSliders[static_cast<std::size_t>(number - 1)];
}

double angularFrequencyAt(std::int16_t position) { return static_cast<double>(position) / 10.0; }
double phaseAt(std::int16_t position) { return static_cast<double>(position) / 100.0; }
double timeRangeAt(std::int16_t position) { return static_cast<double>(position) / 10.0; }

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
