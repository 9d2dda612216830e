#include "plot/audiotrace.h"

#include "params/numbertext.h"
#include "vectorstate.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorel {

namespace {

int sampleCount(double seconds) { return static_cast<int>(std::lround(seconds * kSoundRate)); }

// A point's time with at least one decimal, as the ticks show it, but with
// every decimal it has: a short range is walked in steps finer than a tenth.
std::string timeText(double t, std::string_view decimalSeparator)
{
    std::string text = generalNumberText(t, decimalSeparator);
    if (text.find(decimalSeparator) == std::string::npos)
        text.append(decimalSeparator).append("0");
    return text;
}

} // namespace

std::string plotBoxDescription(std::string_view plotText)
{
    if (plotText.empty())
        return std::string(kPlotBoxKeys);
    return std::string(plotText) + " " + std::string(kPlotBoxKeys);
}

std::vector<float> plotSound(PlotCommand command, const SliderPositions &positions)
{
    clearUpperVectorState();
    const int length = sampleCount(kCurveSeconds);
    const int gap = sampleCount(kGapSeconds);
    const double fade = kFadeSeconds * kSoundRate;
    const double plotTimePerSample = 2.0 * std::numbers::pi * kHertzPerAngularFrequency / kSoundRate;
    const std::vector<Curve> curves = drawnCurves(command);

    // Each wave is computed once, when a curve first needs it; the
    // resultant is the sum of the two, sample by sample.
    const WaveParams waves[] = {wave1(positions), wave2(positions)};
    std::vector<double> waveSamples[2];
    const auto wave = [&](int i) -> const std::vector<double> & {
        std::vector<double> &samples = waveSamples[i];
        if (samples.empty()) {
            samples.resize(static_cast<std::size_t>(length));
            for (int n = 0; n < length; ++n)
                samples[static_cast<std::size_t>(n)] = waves[i].valueAt(n * plotTimePerSample);
        }
        return samples;
    };

    std::vector<float> sound;
    sound.reserve(curves.size() * static_cast<std::size_t>(length + gap));
    for (Curve curve : curves) {
        if (!sound.empty())
            sound.insert(sound.end(), static_cast<std::size_t>(gap), 0.0f);
        const std::vector<double> &first = wave(curve == Curve::Wave2 ? 1 : 0);
        const std::vector<double> *second = curve == Curve::Resultant ? &wave(1) : nullptr;
        for (int n = 0; n < length; ++n) {
            const auto i = static_cast<std::size_t>(n);
            const double gain = std::min({1.0, n / fade, (length - 1 - n) / fade});
            const double value = second ? first[i] + (*second)[i] : first[i];
            sound.push_back(static_cast<float>(gain * value / kFullScale));
        }
    }
    return sound;
}

void AudioTrace::plotted(PlotCommand command, const SliderPositions &positions)
{
    m_plot = Plot{command, positions};
    m_point.reset();
}

KeyAnswer AudioTrace::key(PlotKey key, std::string_view decimalSeparator, bool held)
{
    if (held && (key == PlotKey::AudioMode || (key == PlotKey::Play && m_on)))
        return {true, {}, false, false};
    if (key == PlotKey::AudioMode) {
        m_on = !m_on;
        return {true, std::string(m_on ? kAudioModeOn : kAudioModeOff), false, !m_on};
    }
    if (!m_on)
        return {};
    if (!m_plot)
        return {true, std::string(kNoPlot), false, false};
    if (key == PlotKey::Stop)
        return {true, {}, false, true};
    if (key == PlotKey::Play)
        return {true, {}, true, false};

    if (!m_point) {
        m_point = 0; // the first key after a plot starts at its beginning
    } else {
        int moved = *m_point;
        switch (key) {
        case PlotKey::Forward: moved += 1; break;
        case PlotKey::Back: moved -= 1; break;
        case PlotKey::TickForward: moved += kPointSteps / 10; break;
        case PlotKey::TickBack: moved -= kPointSteps / 10; break;
        case PlotKey::Start: moved = 0; break;
        case PlotKey::End: moved = kPointSteps; break;
        default: break;
        }
        m_point = std::clamp(moved, 0, kPointSteps);
    }
    return {true, pointText(decimalSeparator), false, false};
}

std::vector<float> AudioTrace::sound() const
{
    return m_plot ? plotSound(m_plot->command, m_plot->positions) : std::vector<float>{};
}

// "t = 2,5: onda 1, 12,3; onda 2, -4,1; resultante, 8,2"
std::string AudioTrace::pointText(std::string_view decimalSeparator) const
{
    // T is tenths of the slider's position, so the point's time is exact in
    // thousandths of it.
    const double t = m_plot->positions.range * *m_point / (10.0 * kPointSteps);
    std::string text = "t = " + timeText(t, decimalSeparator) + ":";
    const char *separator = " ";
    for (Curve curve : drawnCurves(m_plot->command)) {
        text.append(separator).append(curveName(curve)).append(", ");
        text += oneDecimalText(curveValue(curve, m_plot->positions, t), decimalSeparator);
        separator = "; ";
    }
    return text;
}

} // namespace vorel
