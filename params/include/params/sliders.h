// The seven parameter sliders: their ranges and steps, the conversion of a
// slider position into a wave parameter, and the text of each readout.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorel {

enum class Quantity { Amplitude, AngularFrequency, Phase, TimeRange };

struct SliderSpec {
    std::string_view caption;
    Quantity quantity;
    int minimum;
    int maximum;
    int singleStep;
    int pageStep;
};

// HScroll1 to HScroll7, in that order. The amplitudes and the time range
// page by 5 in the track; everything else moves by 1.
inline constexpr std::array<SliderSpec, 7> kSliders{{
    {"Amplitud 1", Quantity::Amplitude, 0, 50, 1, 5},
    {"Amplitud 2", Quantity::Amplitude, 0, 50, 1, 5},
    {"Frecuencia 1", Quantity::AngularFrequency, 0, 100, 1, 1},
    {"Frecuencia 2", Quantity::AngularFrequency, 0, 100, 1, 1},
    {"Fase 1", Quantity::Phase, 0, 1000, 1, 1},
    {"Fase 2", Quantity::Phase, 0, 1000, 1, 1},
    {"Rango", Quantity::TimeRange, 0, 1000, 1, 5},
}};

// The slider HScroll<number>, number from 1 to 7.
const SliderSpec &slider(int number);

// Frequencies and the time range are tenths of the position, phases
// hundredths (radians); amplitudes are the position itself.
double angularFrequencyAt(std::int16_t position);
double phaseAt(std::int16_t position);
double timeRangeAt(std::int16_t position);

// A slider in the units its readout shows, for assistive tools that read and
// set a parameter rather than a raw position: the value at a position, and
// the value that one position step adds (1, 0.1 or 0.01).
double valueAt(Quantity quantity, std::int16_t position);
double valueStep(Quantity quantity);

// The position whose value lies nearest to `value`, within the slider's
// range: a value beyond an end gives that end, and one exactly halfway
// between two positions gives the higher. Not a number gives no position.
std::optional<std::int16_t> nearestPosition(const SliderSpec &slider, double value);

// What the readout beside a slider shows for a position.
std::string readoutText(Quantity quantity, std::int16_t position,
                        std::string_view decimalSeparator = ".");

// One wave, A·sin(φ + ω·t): ω multiplies t directly, with no factor 2π.
struct WaveParams {
    std::int16_t amplitude = 0;
    double angularFrequency = 0.0;
    double phase = 0.0;

    double valueAt(double t) const;
};

// The positions of HScroll1 to HScroll7 at one moment.
struct SliderPositions {
    std::int16_t amplitude1 = 0; // HScroll1
    std::int16_t amplitude2 = 0; // HScroll2
    std::int16_t frequency1 = 0; // HScroll3
    std::int16_t frequency2 = 0; // HScroll4
    std::int16_t phase1 = 0;     // HScroll5
    std::int16_t phase2 = 0;     // HScroll6
    std::int16_t range = 0;      // HScroll7
};

WaveParams wave1(const SliderPositions &positions);
WaveParams wave2(const SliderPositions &positions);
double timeRange(const SliderPositions &positions);

} // namespace vorel
